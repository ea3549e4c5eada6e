#pragma once
// Writing .TL1 data files exactly as a download writes them: the header built
// from a logger's status values, then the memory blocks as hexadecimal lines
// with their checksums, in the download's address order, with the bank lines
// of a multi-bank recording. Also the way back: the memory images and header
// values of an existing file (the virtual logger serves them), and packing
// readings into memory the way a logger stores them.

#include "format/memory_layout.h"
#include "util/result.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tamble {

// Memory images are kMemoryImageBytes long (format/memory_layout.h).

// The status values a download writes into the header.
struct Tl1Header {
    char referenceCode = 'A';                 // reference-resistor code
    std::array<char, 4> typeCodes{'0', '0', '0', '0'};
    char revision = 'q';
    char modelDigit = '1';
    QByteArray inputTypeChars = "@@";         // two characters
    int resolutionBits = 8;                   // 8, 10, 12 (resolution letter; 10/12 add the phase byte)
    float batteryVolts = 3.6f;                // written "%3.1f"
    char lastBank = 'A';

    QByteArray firstStamp;                    // line 2, file time stamp
    QByteArray lastStamp;                     // line 3
    QByteArray description;                   // line 4
    QByteArray clockStamp;                    // line 5: the logger clock at transfer
    QByteArray pcClockText;                   // line 5: the PC's date and time
    bool amPm = true;                         // line 5 separator: 2 blanks (am/pm) or 4
    std::array<QByteArray, 4> labels;         // lines 6-9

    int statusByte1 = 0;                      // line 10 (less 64 for older 12-bit models)
    char rateCode = 'G';                      // line 11, written as its character value
    int channelFlags = 0;                     // line 12
    int endPointer = 512;                     // line 13
    int phaseByte = 0;                        // line 13 for 10 and 12 bit
    std::array<QByteArray, 4> scalingTexts;   // lines 14-17

    // Non-empty: written as line 1 instead of the one built from the fields;
    // with four characters or fewer lines 14-17 are left out (older files).
    QByteArray idLineOverride;
};

struct Tl1Recording {
    Tl1Header header;
    // One memory image per bank, index 0 = bank "A"; at most kMemoryImageBytes
    // long, and shorter images read as zero bytes beyond their end (a parsed
    // image ends with the last byte the file's block lines gave it).
    std::vector<QByteArray> banks;
};

// Line 1 as the download builds it.
QByteArray FormatIdLine(const Tl1Header& header);
// Lines 1 to 17 (or 1 to 13 for an older identification line), each ended
// by CR LF.
QByteArray FormatTl1Header(const Tl1Header& header);
// One memory block as the logger sends it: two upper-case hex digits per
// byte and the two-digit response checksum.
QByteArray FormatBlockLine(std::span<const std::uint8_t> block);
// The whole file: header, then the blocks in download order with the "Z"
// lines of a multi-bank recording.
QByteArray FormatTl1(const Tl1Recording& recording);
bool WriteTl1File(const QString& path, const Tl1Recording& recording);

// Header values and memory images back from the bytes of a .TL1 file:
// blocks are put back at the addresses the download read them from.
// Fails when the header is incomplete.
Result<Tl1Recording> ParseTl1Recording(const QByteArray& fileBytes);

// Packing readings as the logger stores them.
//
// A recording that did not wrap: `readings` (interleaved by channel, oldest
// first) packed from the start of a memory image; 10 bit in groups of five
// bytes (four high bytes, then the low bit pairs), 12 bit in groups of three
// (two high bytes, then the low nibbles). A last, incomplete group holds only
// its high bytes. Returns the bytes written (end pointer = 512 + size).
QByteArray PackReadings(int resolutionBits, std::span<const std::uint16_t> readings);

// A wrapped recording of `sections` full memory images (`readings` holds
// sections x capacity readings, oldest first) cut at phase P: the stream of
// each section starts inside a group and the last P high bytes of the whole
// stream belong to the group the logger is still filling. Returns one stream
// of bytes per section and sets `phaseByte` to the phase byte the logger
// reports: P in its low bits and the low bits of the last P readings (for
// 10 bit the low bit pairs, which share bits 0-1 with P: the reading P from
// the end is given P as its low bit pair; for 12 bit the last low nibble in
// bits 4-7).
std::vector<QByteArray> PackWrappedSections(int resolutionBits, std::span<const std::uint16_t> readings,
                                            int sections, int phase, std::uint8_t& phaseByte);

// Puts section streams into bank images as the logger's memory holds them:
// section k starts at `endPointer` in bank (lastBank + k) and runs round the
// banks. Returns `bankCount` images.
std::vector<QByteArray> PlaceWrappedSections(int resolutionBits, const std::vector<QByteArray>& sections,
                                             int endPointer, int lastBankIndex, int bankCount);

// A whole recording from readings (interleaved by channel, oldest first).
// Not wrapped: the readings fill banks of one memory image each in turn (up to
// four for an LX900-M); the end pointer and last bank follow from them.
// Wrapped: `sections` full memory images (1, or 4 for an LX900-M) cut at phase
// `phase`, starting at `endPointer` in the header's last bank.
// The header's resolution letter, phase byte, end pointer and status bits
// 0x80, 0x40 and 0x08 are set from the plan; its other values are kept.
struct RecordingPlan {
    Tl1Header header;
    bool wrapped = false;
    int phase = 0;
    int endPointer = 512;        // wrapped only
    int sections = 1;            // wrapped only
    std::vector<std::uint16_t> readings;
};
Tl1Recording MakeRecording(const RecordingPlan& plan);

} // namespace tamble
