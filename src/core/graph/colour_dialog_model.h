#pragma once
// The rules of the colour dialog, without widgets: the eight item panels, the
// selected item, the captions, and what OK, Load and Save As do to the
// scheme and to the settings' colour file.

#include "graph/colour_scheme.h"
#include "util/user_dialog.h"

#include <QString>
#include <array>
#include <cstdint>

namespace tamble {

inline constexpr int kColourDialogHelpContext = 10;

class ColourDialogModel {
public:
    ColourDialogModel(ColourScheme& scheme, QString& colourFile, MessageService& messages);

    // Each time the dialog comes up: panels from the scheme, "Channel 1"
    // selected, its caption the channel 1 label without trailing blanks
    // ("Channel 1" when there is no label).
    void refresh(const QByteArray& channel1Label);

    void selectItem(int item);
    int selectedItem() const { return m_selected; }
    // A swatch click colours the selected item's panel.
    void pickSwatch(int code);
    std::uint32_t panelRgb(int item) const { return m_panels.at(static_cast<std::size_t>(item)); }
    QString caption(int item) const;

    // OK: the panels become the scheme. The caller then applies it.
    void accept();

    // "&Load...": `path` chosen by the user. A good file becomes the scheme at
    // once and is remembered as the colour file; a bad one is reported and the
    // factory scheme is taken. True when the file was good.
    bool load(const QString& path);

    // "&Save As... ": the panels become the scheme, then it is written under
    // the chosen name with the extension ".GCF", which is remembered. Returns
    // the path written, empty on failure (reported).
    QString saveAs(const QString& chosen);

private:
    void panelsFromScheme();

    ColourScheme& m_scheme;
    QString& m_colourFile;
    MessageService& m_messages;
    std::array<std::uint32_t, kColourSchemeItems> m_panels{};
    QString m_channel1Caption;
    int m_selected = 0;
};

} // namespace tamble
