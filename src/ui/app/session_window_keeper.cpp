#include "ui/app/session_window_keeper.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tamble {

SessionWindowKeeper::SessionWindowKeeper(QWidget* session, QWidget* home)
    : m_session(session), m_home(home)
{
    qApp->installEventFilter(this);
}

SessionWindowKeeper::~SessionWindowKeeper()
{
    qApp->removeEventFilter(this);
}

bool SessionWindowKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow()) {
            if (event->type() == QEvent::Show)
                shown(widget);
            else
                hidden(widget);
        }
    }
    return false;
}

void SessionWindowKeeper::shown(QWidget* shown)
{
    if (!m_session || shown == m_session || !m_session->isVisible())
        return;
    const Qt::WindowType type = shown->windowType();
    if ((type != Qt::Window && type != Qt::Dialog) || shown->isModal() || shown->parentWidget() == m_session)
        return;
    QWindow* session = m_session->windowHandle();
    QWindow* over = shown->windowHandle();
    if (!session || !over || session == over)
        return;
    // The window manager reads the transient parent when a window is mapped: the session window is
    // shown again once the other window is up, which also puts it on top.
    const QPointer<QWidget> other = shown;
    QTimer::singleShot(0, m_session, [this, other] {
        if (!other || !other->isVisible() || !m_session->isVisible())
            return;
        m_session->windowHandle()->setTransientParent(other->windowHandle());
        if (m_session->testAttribute(Qt::WA_Mapped)) {
            m_session->hide();
            m_session->show();
        }
        m_session->raise();
    });
    session->setTransientParent(over);
}

void SessionWindowKeeper::hidden(QWidget* hidden)
{
    QWindow* session = m_session ? m_session->windowHandle() : nullptr;
    if (session && hidden->windowHandle() && session->transientParent() == hidden->windowHandle())
        session->setTransientParent(m_home->windowHandle());
}


} // namespace tamble
