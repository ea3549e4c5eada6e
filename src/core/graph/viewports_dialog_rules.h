#pragma once
// The rules of the "Set Viewports" dialog: the count label and its spinner,
// the list of visible channels with a dashed line between bands, the two
// boundary spinners, the "Hide" boxes with the list of hidden channels and
// "View all". Every action changes the settings' viewport mode and
// assignment and the window's visible flags at once; OK only lays the chart
// out again, Cancel keeps what was changed for the next rebuild.

#include "graph/viewports.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace tamble {

class MessageService;

inline constexpr int kViewportsHelpContext = 9;

struct ViewportsDialogView {
    QString countLabel;                    // "1 Viewport" .. "4 Viewports"
    QStringList channelLines;              // visible channels and the separators
    QStringList hiddenLines;
    bool spinner1 = false;                 // boundary between bands 1 and 2
    bool spinner2 = false;                 // boundary between bands 2 and 3
    std::array<bool, 4> hideBoxShown{};
    std::array<bool, 4> hideBoxChecked{};
    bool hiddenSectionShown = false;       // the "Hide" label, the hidden list and "View all"
};

class ViewportsDialogRules {
public:
    // The separator line between bands in the channel list.
    static QString separatorLine();

    ViewportsDialogRules(SettingsRecord& settings, ChannelVisibility& visibility, MessageService& messages);

    // What the load tells the dialog: C, the channel number and label of
    // each display position, and whether the real-time graph runs.
    void prepare(const std::array<int, 4>& channelList, const std::array<QByteArray, 4>& labelsByChannel,
                 bool realTime);

    // Showing the dialog: the lists from the stored split, then the default
    // split for the count found.
    void show();
    void countUp();
    void countDown();
    void spinner1Up();
    void spinner1Down();
    void spinner2Up();
    void spinner2Down();
    // A "Hide" box of display position 0..3 checked or unchecked by the user.
    void setHidden(int position, bool hidden);
    void viewAll();

    const ViewportsDialogView& view() const { return m_view; }

private:
    void fillLists(bool reset);
    void defaultAssignment();
    QString lineOf(int position) const;
    int visibleCount() const { return m_visibility.visibleCount(); }
    std::uint8_t& a(int i) { return m_settings.viewportAssignment[static_cast<std::size_t>(i)]; }

    SettingsRecord& m_settings;
    ChannelVisibility& m_visibility;
    MessageService& m_messages;
    std::array<int, 4> m_channelList{};
    std::array<QByteArray, 4> m_labels;    // by channel 1..4
    bool m_realTime = false;
    ViewportsDialogView m_view;
};

} // namespace tamble
