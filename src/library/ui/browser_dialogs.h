// The file choosers of the strip's Save as and Save all commands, over QFileDialog.
#pragma once

#include <QPointer>
#include <QWidget>

#include "library/browser_commands.h"

namespace lensora {

class QtBrowserDialogs : public BrowserDialogs {
  public:
    explicit QtBrowserDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> AskSaveAs(const std::string& defaultName, bool video) override;
    std::optional<std::string> AskSaveAllFolder(const std::string& defaultName,
                                                bool video) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace lensora
