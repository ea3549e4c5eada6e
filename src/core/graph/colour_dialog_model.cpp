#include "graph/colour_dialog_model.h"

#include "util/file_write.h"

#include <QFileInfo>

namespace tamble {

ColourDialogModel::ColourDialogModel(ColourScheme& scheme, QString& colourFile, MessageService& messages)
    : m_scheme(scheme), m_colourFile(colourFile), m_messages(messages)
{
    panelsFromScheme();
}

void ColourDialogModel::panelsFromScheme()
{
    for (std::size_t k = 0; k < m_panels.size(); ++k)
        m_panels[k] = ColourCodeRgb(m_scheme.codes[k]);
}

void ColourDialogModel::refresh(const QByteArray& channel1Label)
{
    panelsFromScheme();
    m_selected = 0;
    QString label = QString::fromLatin1(channel1Label);
    while (!label.isEmpty() && label.back() == QLatin1Char(' '))
        label.chop(1);
    m_channel1Caption = label;
}

void ColourDialogModel::selectItem(int item)
{
    if (item >= 0 && item < kColourSchemeItems)
        m_selected = item;
}

void ColourDialogModel::pickSwatch(int code)
{
    m_panels[static_cast<std::size_t>(m_selected)] = ColourCodeRgb(code);
}

QString ColourDialogModel::caption(int item) const
{
    if (item == 0 && !m_channel1Caption.isEmpty())
        return m_channel1Caption;
    return ColourItemCaption(item);
}

void ColourDialogModel::accept()
{
    for (std::size_t k = 0; k < m_panels.size(); ++k)
        m_scheme.codes[k] = static_cast<std::uint8_t>(RgbColourCode(m_panels[k]));
}

bool ColourDialogModel::load(const QString& path)
{
    const GcfReadResult read = ReadColourFile(path);
    m_scheme = read.scheme;
    panelsFromScheme();
    if (read.ok()) {
        m_colourFile = path;
        return true;
    }
    UserMessage m;
    m.kind = DialogKind::Error;
    m.text = ColourFileErrorText(read, QFileInfo(path).fileName());
    m_messages.ask(m);
    return false;
}

QString ColourDialogModel::saveAs(const QString& chosen)
{
    accept();
    const QString path = ColourFileSavePath(chosen);
    if (!WriteColourFile(path, m_scheme)) {
        UserMessage m;
        m.kind = DialogKind::Error;
        m.text = UnableToWriteText(path);
        m_messages.ask(m);
        return {};
    }
    m_colourFile = path;
    return path;
}

} // namespace tamble
