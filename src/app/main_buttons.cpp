#include "app/main_buttons.h"

namespace lensora {

std::string ButtonTooltip(const MainButton& button, bool snapButtonOn) {
    if (button.command == command::kSnapSwitch && snapButtonOn) {
        return GetText(kTipSwitchEnable, 128);
    }
    return GetText(button.tooltip, 128);
}

}  // namespace lensora
