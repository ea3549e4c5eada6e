#include "setup/setup_window_model.h"

#include "datafiles/timebase.h"
#include "format/logger_info.h"
#include "setup/setup_file.h"
#include "setup/start_field.h"

#include <QFileInfo>

namespace tamble {

namespace {

// A stored label or description as the logger will get it, without its padding.
QString shownText(const QByteArray& stored) { return LoggerText(QString::fromLatin1(TrimTrailingSpaces(stored))); }

// A dialog's value as one half of LinearValues: exactly six characters.
QString sixCharacters(const QString& value) { return value.left(6).leftJustified(6, QLatin1Char(' ')); }

} // namespace

SetupWindowModel::SetupWindowModel(SetupRecord& setup) : m_setup(setup), m_shown(built()) {}

SetupWindowModel::SetupWindowModel(SetupRecord& setup, std::int32_t& memoryCapacity)
    : m_setup(setup), m_capacity(&memoryCapacity), m_shown(built())
{
    keepCapacity();
}

void SetupWindowModel::keepCapacity()
{
    if (m_capacity)
        *m_capacity = memoryCapacity();
}

QString SetupWindowModel::totalLogTime() const
{
    int on = 0;
    for (bool b : m_state.on)
        on += b ? 1 : 0;
    return TotalLogTimeText(RateCodeAt(m_state.rate), m_state.model, memoryCapacity(), on);
}

QStringList SetupWindowModel::scalingEntries(int channel) const
{
    QStringList out;
    const ScalingListState& list = m_state.scaling[static_cast<std::size_t>(channel - 1)];
    for (int i = 0; i < ScalingEntryCount(channel); ++i) {
        switch (i) {
        case kLinearEntry: out << LinearEntryText(list.linear); break;
        case kTableEntry: out << TableEntryText(list.table); break;
        case kContactEntry: out << ContactEntryText(list.contact); break;
        default: out << FixedScalingText(channel, i); break;
        }
    }
    return out;
}

bool SetupWindowModel::modified() const { return !(built() == m_shown); }

void SetupWindowModel::markUnmodified()
{
    for (ScalingListState& list : m_state.scaling)
        list.lastIndex = list.index;
    m_shown = built();
}

void SetupWindowModel::showScalingCode(int channel, char code, const QByteArray& table, const QByteArray& linear)
{
    const std::optional<int> index = ScalingIndexOf(channel, code);
    if (!index)
        return;  // a code the list does not know leaves the selection
    ScalingListState& list = m_state.scaling[static_cast<std::size_t>(channel - 1)];
    if (code == '1')
        list.table = QString::fromLatin1(table) + QStringLiteral(".rvt");
    else if (code == '3')
        list.linear = QString::fromLatin1(linear);
    else if (code == 'X')
        list.contact = QString::fromLatin1(linear);
    list.index = *index;
}

void SetupWindowModel::setupToWindow(const QDate& today, const QLocale& locale)
{
    const SetupRecord& r = m_setup;
    const StartEntry entry = StartEntryText(r.startChoice(), ScheduleOf(r), SetupDayNumber(today), locale);
    if (entry.text)
        m_state.startEntries[entry.entry] = *entry.text;
    if (entry.clearDialOutKind)
        m_setup.setDialOutKind(0);
    m_state.start = r.startChoice() <= 3 ? r.startChoice() : 0;
    m_state.run = r.runChoice() <= 2 ? r.runChoice() : 0;
    m_startBefore = m_state.start;
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        m_state.on[i] = r.channelOn(ch);
        showScalingCode(ch, r.scalingCode(ch), r.tableName(ch), r.linearValues(ch));
        m_state.labels[i] = shownText(r.channelLabel(ch));
        if (const auto type = InputTypeIndexOf(ch, r.inputType(ch)))
            m_state.inputType[i] = *type;
    }
    m_state.description = shownText(r.description());
    m_state.rate = RateIndexOf(r.rateCode());
    if (r.resolution() >= 1 && r.resolution() <= 3)
        m_state.resolution = r.resolution() - 1;
    keepCapacity();
    markUnmodified();
}

void SetupWindowModel::statusToWindow(const LoggerInfo& info)
{
    m_state.fileName = QString::fromLatin1(kLastStatusName);
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        m_state.on[i] = info.channelOn(ch);
        m_state.labels[i] = shownText(info.labels[i]);
        if (const auto type = InputTypeIndexOf(ch, info.inputType(ch)))
            m_state.inputType[i] = *type;
        showScalingCode(ch, info.scalingCodes[i], TrimTrailingSpaces(info.scalingTexts[i]), info.scalingTexts[i]);
    }
    m_state.description = shownText(info.description);
    m_state.rate = RateIndexOf(info.rateCode);
    m_state.startEntries[1] = QString::fromLatin1(kPresetStartEntry);
    m_state.start = (info.statusFlags & 0x10) ? 2 : 0;
    m_state.run = (info.statusFlags & 0x20) ? 2 : (info.statusFlags & 0x01) ? 1 : 0;
    m_startBefore = m_state.start;
    setModelFromType(info.resolutionType);
    m_state.resolution = info.twelveBit() ? 0 : info.tenBit() ? 1 : 2;
    keepCapacity();
    markUnmodified();
}

SetupRecord SetupWindowModel::built() const
{
    SetupRecord r = m_setup;
    r.setStartRun(m_state.start, m_state.run);
    if (m_state.start != 3)
        r.setDialOutKind(0);
    std::uint16_t inputTypes = 0;
    for (int ch = 1; ch <= 4; ++ch) {
        const auto i = static_cast<std::size_t>(ch - 1);
        const ScalingListState& list = m_state.scaling[i];
        r.setChannelOn(ch, m_state.on[i]);
        if (const auto code = ScalingCodeAt(ch, list.index)) {
            r.setScalingCode(ch, *code);
            if (list.index == kLinearEntry)
                r.setLinearValues(ch, list.linear.toLatin1());
            else if (list.index == kContactEntry)
                r.setLinearValues(ch, list.contact.toLatin1());
            else if (list.index == kTableEntry)
                r.setTableName(ch, TableNameOfFile(list.table));
        }
        r.setChannelLabel(ch, PadWithSpaces(LoggerText(m_state.labels[i]).toLatin1(), kChannelLabelWidth));
        inputTypes = static_cast<std::uint16_t>(inputTypes | (InputTypeValueAt(ch, m_state.inputType[i]) << (3 * (ch - 1))));
    }
    r.setInputTypes(inputTypes);
    r.setRateCode(RateCodeAt(m_state.rate));
    r.setResolution(static_cast<std::uint8_t>(resolutionVisible() ? m_state.resolution + 1 : 0));
    r.setDescription(PadWithSpaces(LoggerText(m_state.description).toLatin1(), kDescriptionWidth));
    return r;
}

void SetupWindowModel::windowToSetup() { m_setup = built(); }

void SetupWindowModel::setFirmware(char revision)
{
    m_state.startEntries[2] = StartEntries(revision)[2];
    m_state.runEntries[2] = RunEntries(revision)[2];
}

void SetupWindowModel::setModelFromType(int resolutionType)
{
    if (const auto model = ModelIndexOfResolutionType(resolutionType))
        chooseModel(*model);
}

void SetupWindowModel::chooseModel(int index)
{
    if (index < 0 || index >= ModelTexts().size())
        return;
    m_state.model = index;
    if (ModelHasResolution(index)) {
        const int res = m_setup.resolution();
        m_state.resolution = res >= 1 && res <= 3 ? res - 1 : 0;
    }
    keepCapacity();
}

void SetupWindowModel::chooseResolution(int index)
{
    if (index < 0 || index > 2)
        return;
    m_state.resolution = index;
    m_setup.setResolution(static_cast<std::uint8_t>(index + 1));
    keepCapacity();
}

void SetupWindowModel::chooseRate(int index)
{
    if (index >= 0 && index < RateTexts().size())
        m_state.rate = index;
}

void SetupWindowModel::toggleChannel(int channel)
{
    if (channel >= 1 && channel <= 4)
        m_state.on[static_cast<std::size_t>(channel - 1)] = !m_state.on[static_cast<std::size_t>(channel - 1)];
}

void SetupWindowModel::chooseInputType(int channel, int index)
{
    if (channel >= 1 && channel <= 4 && index >= 0 && index <= 3)
        m_state.inputType[static_cast<std::size_t>(channel - 1)] = index;
}

QString SetupWindowModel::editLabel(int channel, const QString& text)
{
    if (channel < 1 || channel > 4)
        return text;
    QString& label = m_state.labels[static_cast<std::size_t>(channel - 1)];
    label = LoggerText(text).left(kChannelLabelWidth);
    return label;
}

QString SetupWindowModel::editDescription(const QString& text)
{
    m_state.description = LoggerText(text).left(kDescriptionWidth);
    return m_state.description;
}

StartDialog SetupWindowModel::chooseStart(int index)
{
    if (index < 0 || index > 3)
        return StartDialog::None;
    m_startBefore = m_state.start;
    m_state.start = index;
    if (index == 1)
        return StartDialog::PresetDate;
    if (index == 3)
        return StartDialog::DialOut;
    m_startBefore = index;
    return StartDialog::None;
}

void SetupWindowModel::acceptStart(int entry, const QString& text)
{
    if (entry < 0 || entry > 3)
        return;
    m_state.startEntries[entry] = text;
    m_state.start = entry;
    m_startBefore = entry;
}

void SetupWindowModel::cancelStart() { m_state.start = m_startBefore; }

void SetupWindowModel::chooseRun(int index)
{
    if (index >= 0 && index <= 2)
        m_state.run = index;
}

std::optional<ScalingChoice> SetupWindowModel::chooseScaling(int channel, int index)
{
    if (channel < 1 || channel > 4 || index < 0 || index >= ScalingEntryCount(channel))
        return std::nullopt;
    m_editedChannel = channel;
    ScalingListState& list = m_state.scaling[static_cast<std::size_t>(channel - 1)];
    list.index = index;
    ScalingChoice choice;
    choice.currentLinear = list.linear;
    switch (index) {
    case kNewLinearEntry: choice.dialog = ScalingChoice::Dialog::LinearScale; return choice;
    case kNewContactEntry: choice.dialog = ScalingChoice::Dialog::ContactClosure; return choice;
    case kCustomTableEntry: choice.dialog = ScalingChoice::Dialog::CustomTable; return choice;
    default: list.lastIndex = index; return std::nullopt;
    }
}

void SetupWindowModel::acceptScaling(const ScalingChoice& choice)
{
    ScalingListState& list = m_state.scaling[static_cast<std::size_t>(m_editedChannel - 1)];
    switch (choice.dialog) {
    case ScalingChoice::Dialog::LinearScale:
        list.linear = sixCharacters(choice.low) + sixCharacters(choice.high);
        list.index = kLinearEntry;
        break;
    case ScalingChoice::Dialog::ContactClosure:
        list.contact = sixCharacters(choice.low) + sixCharacters(choice.high);
        list.index = kContactEntry;
        break;
    case ScalingChoice::Dialog::CustomTable:
        if (TableNameOfFile(choice.tableFile).isEmpty()) {
            cancelScaling();  // no name to store: as if nothing was chosen
            return;
        }
        list.table = choice.tableFile;
        list.index = kTableEntry;
        break;
    }
    list.lastIndex = list.index;
}

void SetupWindowModel::cancelScaling()
{
    for (ScalingListState& list : m_state.scaling)
        list.index = list.lastIndex;
}

std::optional<QString> SetupRecordProblem(const SetupRecord& setup)
{
    const QByteArray& b = setup.bytes();
    const auto byteAt = [&b](int offset) { return static_cast<unsigned char>(b[offset]); };
    bool ok = RateOrder(static_cast<unsigned char>(setup.rateCode())) >= 0 && setup.startChoice() <= 3
              && setup.runChoice() <= 2 && setup.resolution() <= 3 && setup.startDateIsToday() <= 1;
    const std::uint8_t kind = setup.dialOutKind();
    ok = ok && (kind == 0 || kind == 'a' || kind == 'b' || kind == 'c');
    ok = ok && byteAt(setup_offset::Description) <= kDescriptionWidth;
    for (int ch = 0; ch < 4; ++ch) {
        ok = ok && byteAt(setup_offset::ChannelOn + ch) <= 1;
        ok = ok && byteAt(setup_offset::ChannelLabel + ch * (1 + kChannelLabelWidth)) <= kChannelLabelWidth;
        ok = ok && byteAt(setup_offset::TableName + ch * (1 + kTableNameWidth)) <= kTableNameWidth;
        ok = ok && byteAt(setup_offset::LinearValues + ch * (1 + kLinearValuesWidth)) <= kLinearValuesWidth;
    }
    if (ok)
        return std::nullopt;
    return QString::fromLatin1(kCorruptSetupText);
}

bool IsSetupFileName(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("SET"), Qt::CaseInsensitive) == 0;
}

bool TakeScalingEntry(const QString& text, ScalingChoice& choice)
{
    if (choice.dialog == ScalingChoice::Dialog::CustomTable) {
        const qsizetype open = text.indexOf(QLatin1Char('('));
        const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
        if (open < 0 || close <= open)
            return false;
        choice.tableFile = text.mid(open + 1, close - open - 1);
        return !choice.tableFile.isEmpty();
    }
    const qsizetype colon = text.indexOf(QLatin1String(": "));
    if (colon < 0)
        return false;
    const QStringList halves = text.mid(colon + 2).split(QStringLiteral(" / "));
    if (halves.size() != 2)
        return false;
    choice.low = halves[0];
    choice.high = halves[1];
    return true;
}

} // namespace tamble
