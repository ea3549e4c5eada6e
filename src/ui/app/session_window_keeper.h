#pragma once
// While a session runs its window stays in front of every other window of the program: a window
// that shows meanwhile (the Status window of a download, the graph) becomes the session window's
// transient parent, so the window manager keeps it above, and the session window is raised.
// Message boxes and other modal dialogs are questions about the session and stay on top.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tamble {

class SessionWindowKeeper : public QObject {
public:
    // Watches every window of the application; `home` takes the session window back when the
    // window it stood over hides.
    SessionWindowKeeper(QWidget* session, QWidget* home);
    ~SessionWindowKeeper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void shown(QWidget* window);
    void hidden(QWidget* window);

    QPointer<QWidget> m_session;
    QPointer<QWidget> m_home;
};

} // namespace tamble
