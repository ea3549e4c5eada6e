#include "writer/tl1_writer.h"

#include "datafiles/tl1_loader_lines.h"
#include "format/download_walk.h"
#include "format/hex.h"
#include "format/status_flags.h"
#include "util/file_write.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tamble {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

int ImageBytesFor(int bits) { return LayoutForBits(bits).imageBytes; }
int BlockBytesFor(int bits) { return LayoutForBits(bits).blockBytes; }

char BankLetter(int index) { return static_cast<char>('A' + (index & 3)); }

// The download's walk for the status values of a header.
DownloadWalk WalkFor(const Tl1Header& h)
{
    return DownloadWalk({h.resolutionBits, h.modelDigit, (h.statusByte1 & kStatusWrapped) != 0,
                         static_cast<std::uint16_t>(h.endPointer), h.lastBank > '@' ? h.lastBank : 'A'});
}

// A 12-bit logger of a model below '5' reports the 10-bit flag as well; the
// download takes it off the header line.
int OlderTwelveBitFlag(const Tl1Header& h)
{
    return h.resolutionBits == 12 && h.modelDigit < '5' ? kStatusTenBitOfWide : 0;
}

// Position of a block's first byte in the banks laid end to end (each bank
// counted with the bytes the resolution uses), wrapped round their total.
int CircularOffset(int bankIndex, int address, int bankCount, int imageBytes)
{
    const int total = bankCount * imageBytes;
    const int raw = (bankIndex % bankCount) * imageBytes + (address - kFirstDataAddress);
    return ((raw % total) + total) % total;
}

QByteArray Decimal(long long v) { return QByteArray::number(v); }

// Line 1: the status values of a full identification line; an older line
// of four characters or fewer is kept as it is.
void ParseIdLine(const QByteArray& id, Tl1Header& h)
{
    if (id.size() <= 4) {
        h.idLineOverride = id;
        h.modelDigit = '0';
        return;
    }
    h.referenceCode = id[0];
    for (int c = 0; c < 4; ++c)
        h.typeCodes[static_cast<std::size_t>(c)] = id[c + 1];
    h.revision = id.size() > 5 ? id[5] : 'q';
    h.modelDigit = id.size() > 6 ? id[6] : '0';
    h.inputTypeChars = (id.mid(7, 2) + "@@").left(2);
    h.batteryVolts = id.mid(10, 3).trimmed().toFloat();
    h.lastBank = 'A';
    if (id.size() > 14)
        h.lastBank = id[14] != ' ' ? id[14] : id.size() > 15 ? id[15] : 'A';
}

// Lines 2 to 9: stamps, description, the transfer line and the labels.
void ParseTextLines(const std::vector<QByteArray>& header, Tl1Header& h)
{
    h.firstStamp = header[1];
    h.lastStamp = header[2];
    h.description = header[3];
    const QByteArray& line5 = header[4];
    if (line5.size() >= 40) {
        h.clockStamp = line5.left(26);
        while (h.clockStamp.endsWith(' '))
            h.clockStamp.chop(1);
        h.pcClockText = line5.mid(28);
    } else {
        h.clockStamp = line5;
    }
    h.amPm = h.clockStamp.endsWith('m');
    for (int c = 0; c < 4; ++c)
        h.labels[static_cast<std::size_t>(c)] = header[static_cast<std::size_t>(5 + c)];
}

// Lines 10 to 13: mode flags (with the flag the download took off put
// back), rate code, channel flags, end pointer and phase byte.
void ParseNumberLines(const std::vector<QByteArray>& header, Tl1Header& h)
{
    auto number = [&](int index, tl1::LineView* rest = nullptr) {
        const QByteArray& text = header[static_cast<std::size_t>(index)];
        return tl1::ReadInteger({text.constData(), text.size()}, rest);
    };
    const int mode = static_cast<int>(number(9) & 0xFF);
    h.resolutionBits = ResolutionBitsFromModeFlags(static_cast<std::uint8_t>(mode));
    h.statusByte1 = mode + OlderTwelveBitFlag(h);
    h.rateCode = static_cast<char>(number(10) & 0xFF);
    h.channelFlags = static_cast<int>(number(11) & 0xFF);
    tl1::LineView rest;
    h.endPointer = static_cast<int>(number(12, &rest) & 0xFFFF);
    h.phaseByte = h.resolutionBits == 8 ? 0 : static_cast<int>(tl1::ReadInteger(rest) & 0xFF);
}

// The next block line of the file, passing over bank and empty lines.
bool NextBlockLine(tl1::LineCursor& lines, tl1::LineView& line)
{
    while (lines.next(line))
        if (line.size > 0 && line.data[0] != 'Z')
            return true;
    return false;
}

// The block lines, put back at the addresses the download read them from. An image
// grows only as far as blocks were written: the rest reads as zero bytes.
void ReadBlocks(tl1::LineCursor& lines, Tl1Recording& rec)
{
    const Tl1Header& h = rec.header;
    const int imageBytes = ImageBytesFor(h.resolutionBits);
    const int blockBytes = BlockBytesFor(h.resolutionBits);
    const int bankCount = BankCountForModel(h.modelDigit);
    const int total = bankCount * imageBytes;
    rec.banks.assign(static_cast<std::size_t>(bankCount), QByteArray());
    DownloadWalk walk = WalkFor(h);
    tl1::LineView line;
    do {
        if (!NextBlockLine(lines, line))
            break;
        const int start = CircularOffset(walk.bankIndex(), walk.address(), bankCount, imageBytes);
        const int n = static_cast<int>(std::min<qsizetype>(line.size / 2, blockBytes));
        for (int k = 0; k < n;) {
            // The run of the block that lies in one bank, in one piece.
            const int at = (start + k) % total;
            const int offset = at % imageBytes;
            const int run = std::min(n - k, imageBytes - offset);
            QByteArray& image = rec.banks[static_cast<std::size_t>(at / imageBytes)];
            if (image.size() < offset + run)
                image.append(offset + run - image.size(), '\0');
            char* to = image.data() + offset;
            for (int i = 0; i < run; ++i)
                to[i] = static_cast<char>(LooseHexByte(line.data + 2 * (k + i)));
            k += run;
        }
        walk.advance();
    } while (!walk.finished());
}

// One block line appended to `out`: the bytes as hex digits, then the checksum's.
void AppendBlockLine(QByteArray& out, std::span<const std::uint8_t> block)
{
    const qsizetype at = out.size();
    out.resize(at + static_cast<qsizetype>(block.size()) * 2 + 2);
    char* p = out.data() + at;
    unsigned sum = 0;
    for (std::uint8_t b : block) {
        p[0] = HexDigit(b >> 4);
        p[1] = HexDigit(b & 15);
        sum += static_cast<unsigned char>(p[0]) + static_cast<unsigned char>(p[1]);
        p += 2;
    }
    const auto check = static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
    p[0] = HexDigit(check >> 4);
    p[1] = HexDigit(check & 15);
}

// The bytes of the block at `start` (banks laid end to end); bytes beyond an image are zero.
void FillBlock(const std::vector<QByteArray>& banks, int start, int imageBytes, int total, std::vector<std::uint8_t>& block)
{
    const int blockBytes = static_cast<int>(block.size());
    for (int k = 0; k < blockBytes;) {
        const int at = (start + k) % total;
        const int bank = at / imageBytes;
        const int offset = at % imageBytes;
        const int run = std::min(blockBytes - k, imageBytes - offset);
        int have = 0;
        if (bank < static_cast<int>(banks.size())) {
            const QByteArray& image = banks[static_cast<std::size_t>(bank)];
            have = std::clamp(static_cast<int>(image.size()) - offset, 0, run);
            if (have > 0)
                std::memcpy(block.data() + k, image.constData() + offset, static_cast<std::size_t>(have));
        }
        std::memset(block.data() + k + have, 0, static_cast<std::size_t>(run - have));
        k += run;
    }
}

} // namespace

QByteArray FormatIdLine(const Tl1Header& h)
{
    QByteArray line;
    line += h.referenceCode;
    for (char c : h.typeCodes)
        line += c;
    line += h.revision;
    line += h.modelDigit;
    line += (h.inputTypeChars + "@@").left(2);
    if (h.modelDigit < '5')
        line += ' ';
    else
        line += h.resolutionBits == 12 ? 'C' : h.resolutionBits == 10 ? 'B' : 'A';
    char volts[32];
    std::snprintf(volts, sizeof volts, "%3.1f", static_cast<double>(h.batteryVolts));
    line += volts;
    line += ' ';
    line += h.lastBank;
    return line;
}

// The header is built here from its own field values, not through the download's DataFileHeader:
// the virtual logger and the tests stand on the logger's side, and files written by a second hand
// are what catches a mistake shared by the download and the loader.
QByteArray FormatTl1Header(const Tl1Header& h)
{
    const QByteArray id = h.idLineOverride.isEmpty() ? FormatIdLine(h) : h.idLineOverride;
    QByteArray out;
    auto put = [&](const QByteArray& line) {
        out += line;
        out += kLineEnd;
    };
    put(id);
    put(h.firstStamp);
    put(h.lastStamp);
    put(h.description);
    const QByteArray clock = (h.clockStamp + QByteArray(h.amPm ? 2 : 4, ' ')).left(h.amPm ? 30 : 32);
    put((clock + h.pcClockText).left(h.amPm ? 58 : 60));
    for (const auto& label : h.labels)
        put(label);
    put(Decimal(h.statusByte1 - OlderTwelveBitFlag(h)));
    put(Decimal(static_cast<unsigned char>(h.rateCode)));
    put(Decimal(h.channelFlags));
    if (h.resolutionBits == 8)
        put(Decimal(h.endPointer));
    else
        put(Decimal(h.endPointer) + ' ' + Decimal(h.phaseByte));
    if (id.size() > 4)
        for (const auto& text : h.scalingTexts)
            put(text);
    return out;
}

QByteArray FormatBlockLine(std::span<const std::uint8_t> block)
{
    QByteArray line;
    AppendBlockLine(line, block);
    return line;
}

QByteArray FormatTl1(const Tl1Recording& recording)
{
    const Tl1Header& h = recording.header;
    const int imageBytes = ImageBytesFor(h.resolutionBits);
    const int blockBytes = BlockBytesFor(h.resolutionBits);
    const int bankCount = BankCountForModel(h.modelDigit);
    QByteArray out = FormatTl1Header(h);
    out.reserve(out.size() + bankCount * (imageBytes / blockBytes) * (2 * blockBytes + 6));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(blockBytes));
    DownloadWalk walk = WalkFor(h);
    do {
        const int start = CircularOffset(walk.bankIndex(), walk.address(), bankCount, imageBytes);
        FillBlock(recording.banks, start, imageBytes, bankCount * imageBytes, block);
        AppendBlockLine(out, block);
        out += kLineEnd;
        if (const char bank = walk.advance()) {
            out += 'Z';
            out += bank;
            out += kLineEnd;
        }
    } while (!walk.finished());
    return out;
}

bool WriteTl1File(const QString& path, const Tl1Recording& recording)
{
    return WriteFileReplacing(path, FormatTl1(recording));
}

Result<Tl1Recording> ParseTl1Recording(const QByteArray& fileBytes)
{
    tl1::LineCursor lines(fileBytes);
    tl1::LineView line;
    std::vector<QByteArray> header;
    for (int i = 0; i < 13; ++i) {
        if (!lines.next(line))
            return Result<Tl1Recording>::fail(QStringLiteral("The header ends after %1 lines").arg(i));
        header.push_back(QByteArray(line.data, line.size));
    }
    Tl1Recording rec;
    Tl1Header& h = rec.header;
    ParseIdLine(header[0], h);
    ParseTextLines(header, h);
    ParseNumberLines(header, h);
    if (header[0].size() > 4) {
        for (auto& text : h.scalingTexts) {
            lines.next(line);
            text = QByteArray(line.data, line.size);
        }
    }
    ReadBlocks(lines, rec);
    return Result<Tl1Recording>::ok(std::move(rec));
}

QByteArray PackReadings(int resolutionBits, std::span<const std::uint16_t> readings)
{
    QByteArray out;
    const std::size_t n = readings.size();
    auto put = [&](int v) { out += static_cast<char>(v & 0xFF); };
    if (resolutionBits == 8) {
        out.reserve(static_cast<qsizetype>(n));
        for (std::uint16_t r : readings)
            put(std::min<int>(r, 255));
    } else if (resolutionBits == 10) {
        out.reserve(static_cast<qsizetype>(n * 5 / 4 + 4));
        for (std::size_t g = 0; g < n; g += 4) {
            const std::size_t k = std::min<std::size_t>(4, n - g);
            int low = 0;
            for (std::size_t q = 0; q < k; ++q) {
                const int r = std::min<int>(readings[g + q], 1023);
                put(r >> 2);
                low |= (r & 3) << (2 * q);
            }
            if (k == 4)
                put(low);
        }
    } else {
        out.reserve(static_cast<qsizetype>(n * 3 / 2 + 2));
        for (std::size_t g = 0; g < n; g += 2) {
            const int r0 = std::min<int>(readings[g], 4095);
            put(r0 >> 4);
            if (g + 1 < n) {
                const int r1 = std::min<int>(readings[g + 1], 4095);
                put(r1 >> 4);
                put((r0 & 15) | ((r1 & 15) << 4));
            }
        }
    }
    return out;
}

std::vector<QByteArray> PackWrappedSections(int resolutionBits, std::span<const std::uint16_t> readings,
                                            int sections, int phase, std::uint8_t& phaseByte)
{
    const int capacity = MemoryCapacityFor(resolutionBits);
    const std::size_t total = static_cast<std::size_t>(capacity) * static_cast<std::size_t>(std::max(1, sections));
    std::vector<std::uint16_t> r(total, 0);
    std::copy_n(readings.begin(), std::min(readings.size(), total), r.begin());

    QByteArray stream;
    auto put = [&](int v) { stream += static_cast<char>(v & 0xFF); };
    if (resolutionBits == 8) {
        for (std::uint16_t v : r)
            put(std::min<int>(v, 255));
        phaseByte = 0;
    } else if (resolutionBits == 10) {
        const int p = phase & 3;
        if (p > 0) // the phase byte's low bit pair is both P and this reading's low bits
            r[total - static_cast<std::size_t>(p)] = static_cast<std::uint16_t>((r[total - static_cast<std::size_t>(p)] & ~3) | p);
        // Reading i sits at place (i + P) mod 4 of group (i + P) / 4.
        const std::size_t places = total + static_cast<std::size_t>(p);
        for (std::size_t g = 0; g * 4 < places; ++g) {
            int low = 0;
            bool complete = true;
            for (int q = 0; q < 4; ++q) {
                const std::size_t place = g * 4 + static_cast<std::size_t>(q);
                if (place < static_cast<std::size_t>(p))
                    continue;               // overwritten by the newest group
                if (place >= places) {
                    complete = false;       // not yet recorded
                    continue;
                }
                const int v = std::min<int>(r[place - static_cast<std::size_t>(p)], 1023);
                put(v >> 2);
                low |= (v & 3) << (2 * q);
            }
            if (complete)
                put(low);
            else
                phaseByte = static_cast<std::uint8_t>(low);
        }
        if (p == 0)
            phaseByte = 0;
    } else {
        const int p = phase & 1;
        const std::size_t places = total + static_cast<std::size_t>(p);
        for (std::size_t g = 0; g * 2 < places; ++g) {
            const std::size_t first = g * 2;
            const bool hasFirst = first >= static_cast<std::size_t>(p);
            const bool hasSecond = first + 1 < places;
            const int v0 = hasFirst ? std::min<int>(r[first - static_cast<std::size_t>(p)], 4095) : 0;
            const int v1 = hasSecond ? std::min<int>(r[first + 1 - static_cast<std::size_t>(p)], 4095) : 0;
            if (hasFirst)
                put(v0 >> 4);
            if (!hasSecond) {
                phaseByte = static_cast<std::uint8_t>(((v0 & 15) << 4) | p);
                continue;
            }
            put(v1 >> 4);
            put((v0 & 15) | ((v1 & 15) << 4));
        }
        if (p == 0)
            phaseByte = 0;
    }

    std::vector<QByteArray> out;
    const int imageBytes = ImageBytesFor(resolutionBits);
    for (int s = 0; s < std::max(1, sections); ++s)
        out.push_back(stream.mid(static_cast<qsizetype>(s) * imageBytes, imageBytes));
    return out;
}

std::vector<QByteArray> PlaceWrappedSections(int resolutionBits, const std::vector<QByteArray>& sections,
                                             int endPointer, int lastBankIndex, int bankCount)
{
    const int imageBytes = ImageBytesFor(resolutionBits);
    bankCount = std::max(1, bankCount);
    std::vector<QByteArray> banks(static_cast<std::size_t>(bankCount), QByteArray(kMemoryImageBytes, '\0'));
    for (std::size_t k = 0; k < sections.size(); ++k) {
        const int start = CircularOffset(lastBankIndex + static_cast<int>(k), endPointer, bankCount, imageBytes);
        const QByteArray& s = sections[k];
        for (qsizetype j = 0; j < s.size(); ++j) {
            const int at = static_cast<int>((start + j) % (bankCount * imageBytes));
            banks[static_cast<std::size_t>(at / imageBytes)][at % imageBytes] = s[j];
        }
    }
    return banks;
}

Tl1Recording MakeRecording(const RecordingPlan& plan)
{
    Tl1Recording rec;
    rec.header = plan.header;
    Tl1Header& h = rec.header;
    const int bits = h.resolutionBits;
    const int capacity = MemoryCapacityFor(bits);
    int status = h.statusByte1 & ~(kStatusTenBit | kStatusTenBitOfWide | kStatusWrapped);
    if (bits == 10)
        status |= kStatusTenBit | kStatusTenBitOfWide;
    else if (bits == 12)
        status |= kStatusTenBit | OlderTwelveBitFlag(h);   // the download takes it off again
    if (plan.wrapped)
        status |= kStatusWrapped;
    h.statusByte1 = status;

    if (plan.wrapped) {
        std::uint8_t phaseByte = 0;
        const auto sections = PackWrappedSections(bits, plan.readings, plan.sections, plan.phase, phaseByte);
        h.phaseByte = (phaseByte & ~(bits == 10 ? 3 : 1)) | plan.phase;
        h.endPointer = plan.endPointer;
        const int bankCount = BankCountForModel(h.modelDigit);
        const int lastIndex = std::clamp(h.lastBank - 'A', 0, bankCount - 1);
        rec.banks = PlaceWrappedSections(bits, sections, plan.endPointer, lastIndex, bankCount);
        return rec;
    }

    const std::size_t n = plan.readings.size();
    const int banks = std::clamp(static_cast<int>((n + static_cast<std::size_t>(capacity) - 1) / static_cast<std::size_t>(capacity)), 1, 4);
    QByteArray lastPacked;
    for (int b = 0; b < banks; ++b) {
        const std::size_t from = static_cast<std::size_t>(b) * static_cast<std::size_t>(capacity);
        const std::size_t count = from < n ? std::min<std::size_t>(capacity, n - from) : 0;
        lastPacked = PackReadings(bits, std::span<const std::uint16_t>(plan.readings).subspan(from, count));
        QByteArray image = lastPacked;
        image.resize(kMemoryImageBytes, '\0');
        rec.banks.push_back(image);
    }
    h.lastBank = BankLetter(banks - 1);
    h.endPointer = kFirstDataAddress + static_cast<int>(lastPacked.size());
    h.phaseByte = 0;
    if (h.modelDigit == kFourBankModelDigit)
        rec.banks.resize(kFourBankCount, QByteArray(kMemoryImageBytes, '\0'));
    return rec;
}

} // namespace tamble
