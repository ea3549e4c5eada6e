#include "setup/setup_file.h"

#include "format/status_flags.h"
#include "util/file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace tamble {

namespace {

SetupFileOutcome failure(const QString& text)
{
    return SetupFileOutcome{false, SetupMessage{text, SetupMessage::Kind::Error}};
}

SetupFileOutcome ioError(const QString& path) { return failure(QStringLiteral("File I/O error: ") + path); }

SetupFileOutcome corrupt() { return failure(QString::fromLatin1(kCorruptSetupText)); }

// A data file header is a few hundred bytes; whatever lies past this is never
// needed, and random or huge files are not read whole.
constexpr qint64 kHeaderReadLimit = 64 * 1024;

// Lines of the text, each without its line end (LF or CR LF).
std::vector<QByteArrayView> splitLines(QByteArrayView bytes)
{
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            qsizetype end = i;
            if (end > start && bytes[end - 1] == '\r')
                --end;
            lines.push_back(bytes.sliced(start, end - start));
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        qsizetype end = bytes.size();
        if (bytes[end - 1] == '\r')
            --end;
        lines.push_back(bytes.sliced(start, end - start));
    }
    return lines;
}

// Decimal integer of a header line (surrounding blanks allowed, optional sign).
std::optional<long long> lineInteger(QByteArrayView line)
{
    bool ok = false;
    const long long v = QByteArray(line.data(), line.size()).trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QByteArrayView firstChars(QByteArrayView line, qsizetype n) { return line.first(line.size() < n ? line.size() : n); }

// The lines of a data file header, numbered from 1; a missing line is empty.
struct HeaderLines {
    std::vector<QByteArrayView> lines;
    QByteArrayView operator()(std::size_t n) const
    {
        return n >= 1 && n <= lines.size() ? lines[n - 1] : QByteArrayView();
    }
};

// Start and run choices from the mode flags, the rate code and the recording
// channels from the channel mask.
void ReadModes(SetupRecord& r, long long modeFlags, long long rate, long long mask)
{
    const auto flags = static_cast<std::uint8_t>(modeFlags & 0xFF);
    const int start = (flags & kStatusWaitingProbes) ? 2 : (flags & kStatusWaitingPreset) ? 1 : 0;
    const int run = (flags & kStatusRunUntilDetached) ? 2 : (flags & kStatusContinuous) ? 1 : 0;
    r.setStartRun(start, run);
    r.setRateCode(static_cast<char>(rate & 0xFF));
    for (int ch = 1; ch <= 4; ++ch)
        r.setChannelOn(ch, ((mask >> (ch - 1)) & 1) != 0);
}

// Scaling codes from the code line: one code for all channels, one per
// channel, or (a longer line) one per channel after its first character,
// each with its linear values or table name from lines 14-17. False when
// those lines are missing.
bool ReadScaling(SetupRecord& r, const HeaderLines& line)
{
    const QByteArrayView code = line(1);
    const qsizetype codeLength = code.size();
    if (codeLength == 1) {
        for (int ch = 1; ch <= 4; ++ch)
            r.setScalingCode(ch, code[0]);
    } else if (codeLength == 4) {
        for (int ch = 1; ch <= 4; ++ch)
            r.setScalingCode(ch, code[ch - 1]);
    } else if (codeLength > 4) {
        if (line.lines.size() < 17)
            return false;
        for (int ch = 1; ch <= 4; ++ch) {
            const char c = code[ch];
            r.setScalingCode(ch, c);
            const QByteArrayView extra = line(13 + static_cast<std::size_t>(ch));
            if (c == '3' || c == 'X')
                r.setLinearValues(ch, firstChars(extra, kLinearValuesWidth));
            else
                r.setTableName(ch, firstChars(extra, kTableNameWidth));
        }
    }
    return true;
}

// Resolution from the tenth character of the code line and the input-type
// word from its eighth and ninth.
void ReadResolutionAndInputs(SetupRecord& r, QByteArrayView code)
{
    const qsizetype codeLength = code.size();
    if (codeLength > 10) {
        switch (code[9]) {
        case ' ': r.setResolution(0); break;
        case 'C': r.setResolution(1); break;
        case 'B': r.setResolution(2); break;
        case 'A': r.setResolution(3); break;
        default: break;
        }
    } else {
        r.setResolution(0);
    }

    if (codeLength < 8) {
        r.setInputTypes(0);
    } else {
        const unsigned c8 = static_cast<unsigned char>(code[7]);
        const unsigned c9 = codeLength >= 9 ? static_cast<unsigned char>(code[8]) : 0u;
        r.setInputTypes(static_cast<std::uint16_t>((c9 * 64) % 4096 + c8 % 64));
    }
}

void BlankNulsInLabels(SetupRecord& r)
{
    for (int ch = 1; ch <= 4; ++ch) {
        QByteArray label = r.channelLabel(ch);
        if (label.contains('\0')) {
            label.replace('\0', ' ');
            r.setChannelLabel(ch, label);
        }
    }
}

} // namespace

SetupFileOutcome LoadSetupFile(const QString& path, SetupRecord& record)
{
    // Only a regular file is read: a pipe or device under the name would block.
    if (!QFileInfo(path).isFile())
        return ioError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ioError(path);
    const QByteArray bytes = file.read(kSetupRecordSize);
    auto loaded = SetupRecord::fromBytes(bytes);
    if (!loaded)
        return ioError(path);
    record = *loaded;
    return {};
}

SetupFileOutcome SaveSetupFile(const QString& path, const SetupRecord& record)
{
    if (record.bytes().size() != kSetupRecordSize || !WriteFileReplacing(path, record.bytes()))
        return ioError(path);
    return {};
}

SetupFileOutcome ImportSetupFromDataFile(const QString& path, SetupRecord& record)
{
    if (!QFileInfo(path).isFile())
        return ioError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ioError(path);
    return ImportSetupFromHeader(file.read(kHeaderReadLimit), record);
}

SetupFileOutcome ImportSetupFromHeader(QByteArrayView fileBytes, SetupRecord& record)
{
    const HeaderLines line{splitLines(fileBytes)};
    if (line.lines.size() < 13)
        return corrupt();
    const qsizetype stampLength = line(2).size();
    if (stampLength != 21 && stampLength != 24 && stampLength != 26)
        return corrupt();

    const auto modeFlags = lineInteger(line(10));
    const auto rate = lineInteger(line(11));
    const auto mask = lineInteger(line(12));
    if (!modeFlags || !rate || !mask)
        return corrupt();

    // Built on a copy and committed at the end, so a header that breaks off
    // half-way changes nothing.
    SetupRecord r = record;
    r.setDescription(firstChars(line(4), kDescriptionWidth));
    for (int ch = 1; ch <= 4; ++ch)
        r.setChannelLabel(ch, firstChars(line(5 + static_cast<std::size_t>(ch)), kChannelLabelWidth));
    ReadModes(r, *modeFlags, *rate, *mask);
    if (!ReadScaling(r, line))
        return corrupt();
    ReadResolutionAndInputs(r, line(1));
    BlankNulsInLabels(r);
    record = r;
    return {};
}

bool MakeDefaultSetup(SetupRecord& record, const QDateTime& now, const QString& directory)
{
    record = DefaultSetupRecord(now);
    return SaveSetupFile(QDir(directory).filePath(QString::fromLatin1(kDefaultSetupFileName)), record).ok;
}

SetupFileOutcome OpenSetupForWindow(const QString& path, SetupRecord& record, SetupRecord& savedCopy,
                                    QString& lastSetupFile)
{
    SetupFileOutcome outcome;
    if (IsDataFileName(path)) {
        outcome = ImportSetupFromDataFile(path, record);
    } else {
        outcome = LoadSetupFile(path, record);
        if (outcome.ok)
            lastSetupFile = path;
    }
    savedCopy = record;
    return outcome;
}

SetupFileOutcome SaveSetupForWindow(const QString& path, const SetupRecord& record, SetupRecord& savedCopy,
                                    QString& lastSetupFile)
{
    SetupFileOutcome outcome = SaveSetupFile(path, record);
    if (outcome.ok) {
        savedCopy = record;
        lastSetupFile = path;
    }
    return outcome;
}

QString FileNamePart(const QString& path)
{
    qsizetype cut = -1;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar ch = path[i];
        if (ch == u'\\' || ch == u'/' || ch == u':')
            cut = i;
    }
    return path.mid(cut + 1);
}

QString StartupSetupPath(const QString& lastSetupFile, const QString& programDir, QString* readName)
{
    QString name = lastSetupFile;
    const QString part = FileNamePart(lastSetupFile).toLower();
    if (part == QStringLiteral("alloff.set") || part == QStringLiteral("default.set"))
        name = part;
    if (readName)
        *readName = name;
    if (QDir::isAbsolutePath(name) || programDir.isEmpty())
        return name;
    return QDir(programDir).filePath(name);
}

QString SetupFileNotFoundText(const QString& name)
{
    return QStringLiteral("Setup File: ") + name + QStringLiteral(" not found; command not executed");
}

StartupSetupOutcome StartupLoadSetup(const QString& programDir, QString& lastSetupFile,
                                     SetupStartupContext context, const QDateTime& now,
                                     SetupRecord& record, SetupRecord& savedCopy)
{
    StartupSetupOutcome out;
    const QString path = StartupSetupPath(lastSetupFile, programDir, &out.readName);
    if (LoadSetupFile(path, record).ok) {
        out.result = StartupSetupOutcome::Result::Loaded;
        out.fileFieldName = FileNamePart(out.readName);
        savedCopy = record;
        return out;
    }

    switch (context) {
    case SetupStartupContext::AutoAnswerCall:
        out.result = StartupSetupOutcome::Result::AutoAnswerFailed;
        out.message = SetupMessage{SetupFileNotFoundText(out.readName), SetupMessage::Kind::Error};
        record = DefaultSetupRecord(now);
        break;
    case SetupStartupContext::CommandLineSendSetup:
        out.result = StartupSetupOutcome::Result::CommandLineFailed;
        out.message = SetupMessage{SetupFileNotFoundText(out.readName), SetupMessage::Kind::Error};
        record = DefaultSetupRecord(now);
        break;
    case SetupStartupContext::Interactive:
        out.result = StartupSetupOutcome::Result::DefaultLoaded;
        out.message = SetupMessage{QStringLiteral("Setup File: ") + out.readName +
                                       QStringLiteral(" not found; loading default."),
                                   SetupMessage::Kind::Warning};
        MakeDefaultSetup(record, now, programDir);
        lastSetupFile = QString::fromLatin1(kDefaultSetupFileName);
        out.fileFieldName = lastSetupFile;
        break;
    }
    if (out.fileFieldName.isEmpty())
        out.fileFieldName = FileNamePart(out.readName);
    savedCopy = record;
    return out;
}

QString ResendSetupFileName(QByteArrayView description)
{
    const qsizetype semi = description.indexOf(';');
    QByteArray base = semi < 0 ? QByteArray("A") : TrimTrailingSpaces(description.sliced(semi + 1));
    return QString::fromLatin1(base) + QStringLiteral(".set");
}

SetupFileOutcome LoadResendSetup(const QString& programDir, QByteArrayView loggerDescription,
                                 SetupRecord& record, SetupRecord& savedCopy)
{
    const QString name = ResendSetupFileName(loggerDescription);
    const QString notFound = UnableToSendSetupText(name);
    const bool plain = !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':') &&
                       !name.contains(QChar(0));
    if (!plain)
        return failure(notFound);
    const QString path = programDir.isEmpty() ? name : QDir(programDir).filePath(name);
    if (!LoadSetupFile(path, record).ok)
        return failure(notFound);
    savedCopy = record;
    return {};
}

QString UnableToSendSetupText(const QString& name)
{
    return QStringLiteral("Unable to send setup; ") + name + QStringLiteral(" not found");
}

} // namespace tamble
