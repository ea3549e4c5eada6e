#include "graph/viewports_dialog_rules.h"

#include "util/user_dialog.h"

#include <algorithm>

namespace tamble {

QString ViewportsDialogRules::separatorLine()
{
    return QString(38, QLatin1Char('-'));
}

ViewportsDialogRules::ViewportsDialogRules(SettingsRecord& settings, ChannelVisibility& visibility,
                                           MessageService& messages)
    : m_settings(settings), m_visibility(visibility), m_messages(messages)
{
}

void ViewportsDialogRules::prepare(const std::array<int, 4>& channelList,
                                   const std::array<QByteArray, 4>& labelsByChannel, bool realTime)
{
    m_channelList = channelList;
    m_labels = labelsByChannel;
    m_realTime = realTime;
}

QString ViewportsDialogRules::lineOf(int position) const
{
    const int c = m_channelList[static_cast<std::size_t>(position)];
    const QByteArray label = c >= 1 && c <= 4 ? m_labels[static_cast<std::size_t>(c - 1)] : QByteArray();
    QString text = QString::number(c) + QLatin1Char(' ') + QString::fromLatin1(label);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

void ViewportsDialogRules::defaultAssignment()
{
    DefaultAssignment(m_settings.viewportMode, visibleCount(), m_settings.viewportAssignment);
}

// The list follows the stored split: a dashed line after each band. A band
// left open at the end (a split that does not add up to the visible
// channels) still counts as one, so no channel drops out of the list.
void ViewportsDialogRules::fillLists(bool reset)
{
    ViewportsDialogView& v = m_view;
    v.channelLines.clear();
    v.hiddenLines.clear();
    const int c = std::clamp(m_visibility.channelCount, 0, 4);
    int boundary = a(0);
    int next = 1;
    int groups = 0;
    for (int j = 0; j < c; ++j) {
        if (!m_visibility.visible[static_cast<std::size_t>(j)]) {
            ++boundary;
            v.hiddenLines << lineOf(j);
            continue;
        }
        v.channelLines << lineOf(j);
        if (j + 1 == boundary) {
            v.channelLines << separatorLine();
            boundary += a(next);
            if (next < 3)
                ++next;
            ++groups;
        }
    }
    if (!v.channelLines.isEmpty() && v.channelLines.last() == separatorLine())
        v.channelLines.removeLast();
    else if (!v.channelLines.isEmpty())
        ++groups;
    const int count = std::max(groups, 1);
    m_settings.viewportMode = static_cast<std::uint8_t>(count);
    if (reset)
        defaultAssignment();

    const int n = visibleCount();
    v.countLabel = count == 1 ? QStringLiteral("1 Viewport") : QString::number(count) + QStringLiteral(" Viewports");
    v.spinner1 = false;
    v.spinner2 = false;
    if (count == 2) {
        v.spinner1 = n >= 3;
    } else if (count == 3 && n >= 4) {
        v.spinner2 = a(0) == 1;
        v.spinner1 = !(a(0) == 1 && a(1) == 1);
    }
    for (int p = 0; p < 4; ++p) {
        v.hideBoxShown[static_cast<std::size_t>(p)] = p < c;
        v.hideBoxChecked[static_cast<std::size_t>(p)] = p < c && !m_visibility.visible[static_cast<std::size_t>(p)];
    }
    v.hiddenSectionShown = c > 1;
}

void ViewportsDialogRules::show()
{
    fillLists(true);
}

void ViewportsDialogRules::countUp()
{
    int count = m_settings.viewportMode + 1;
    if (count > visibleCount())
        count = 1;
    m_settings.viewportMode = static_cast<std::uint8_t>(count);
    defaultAssignment();
    fillLists(false);
}

void ViewportsDialogRules::countDown()
{
    int count = m_settings.viewportMode - 1;
    if (count < 1)
        count = std::max(visibleCount(), 1);
    m_settings.viewportMode = static_cast<std::uint8_t>(count);
    defaultAssignment();
    fillLists(false);
}

void ViewportsDialogRules::spinner1Up()
{
    if (a(0) > 1) {
        --a(0);
        ++a(1);
    }
    fillLists(false);
}

void ViewportsDialogRules::spinner1Down()
{
    ++a(0);
    const int limit = m_settings.viewportMode == 2 && visibleCount() == 4 ? 4 : 3;
    if (a(0) < limit) {
        if (a(1) > 0)
            --a(1);
    }
    else
        a(0) = static_cast<std::uint8_t>(limit - 1);
    fillLists(false);
}

void ViewportsDialogRules::spinner2Up()
{
    if (a(1) == 2) {
        a(1) = 1;
        a(2) = 2;
    }
    fillLists(false);
}

void ViewportsDialogRules::spinner2Down()
{
    if (a(1) == 1) {
        a(1) = 2;
        a(2) = 1;
    }
    fillLists(false);
}

void ViewportsDialogRules::setHidden(int position, bool hidden)
{
    if (position < 0 || position >= std::clamp(m_visibility.channelCount, 0, 4))
        return;
    bool& visible = m_visibility.visible[static_cast<std::size_t>(position)];
    if (hidden && visible) {
        if (m_realTime) {
            Tell(m_messages, DialogKind::Information,
                 QStringLiteral("Hiding channels is not available with Real Time Graph"));
        } else if (visibleCount() == 1) {
            Tell(m_messages, DialogKind::Warning, QStringLiteral("At least one channel must be visible."));
        } else {
            visible = false;
            defaultAssignment();
        }
    } else if (!hidden && !visible) {
        visible = true;
        defaultAssignment();
    }
    fillLists(false);
}

void ViewportsDialogRules::viewAll()
{
    m_visibility.showAll(m_visibility.channelCount);
    m_settings.viewportMode = 1;
    // One band holding every channel: the list shows it so.
    DefaultAssignment(1, visibleCount(), m_settings.viewportAssignment);
    fillLists(true);
}

} // namespace tamble
