#pragma once
// Buttons as every dialog makes them: named for tests, with an accessible name without the "&".

#include <QString>
#include <functional>

class QPushButton;
class QWidget;

namespace tamble {

class HelpService;

QPushButton* NewButton(QWidget* parent, const QString& caption, const QString& name);

// The row "OK", "Cancel", "&Help" at the bottom of a dialog: OK runs `ok`, Cancel `cancel`, Help
// opens the help at `helpContext`.
QWidget* OkCancelHelpRow(QWidget* parent, HelpService& help, int helpContext, std::function<void()> ok,
                         std::function<void()> cancel);

} // namespace tamble
