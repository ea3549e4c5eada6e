#pragma once
// Help/About: the program's name and version, a line on what it is, and OK.

#include <QDialog>

namespace tamble {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // "Version " + the version the program was built as.
    static QString versionText();
};

} // namespace tamble
