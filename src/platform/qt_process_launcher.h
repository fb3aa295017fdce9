// Starts helper programs (the mail client hand-over) detached from Lensora, from an argument
// vector and never through a shell.
#pragma once

#include "library/file_ops.h"

namespace lensora {

class QtProcessLauncher : public ProcessLauncher {
  public:
    bool Start(const std::vector<std::string>& argv) override;
};

}  // namespace lensora
