#pragma once
// The bits of a logger's status bytes. Status byte 1 travels in the status
// record and is kept as the mode flags (line 10) of a .TL1 data file; status
// byte 3 is the channel flags byte (line 12, the channel mask).

#include <cstdint>

namespace tamble {

// Status byte 1 (status flags, mode flags).
inline constexpr std::uint8_t kStatusContinuous = 0x01;      // wrap-around run selected
inline constexpr std::uint8_t kStatusNotRecording = 0x02;    // clear while the logger records
inline constexpr std::uint8_t kStatusWaitingPreset = 0x04;   // waiting for the pre-set start time
inline constexpr std::uint8_t kStatusWrapped = 0x08;         // memory has wrapped
inline constexpr std::uint8_t kStatusWaitingProbes = 0x10;   // waiting for temperature probes
inline constexpr std::uint8_t kStatusRunUntilDetached = 0x20; // run until the probes are detached
// With kStatusTenBit: 10 bit in a data file, 12 bit when clear. A 12-bit
// logger of a model below '5' reports it set; the download takes it off.
inline constexpr std::uint8_t kStatusTenBitOfWide = 0x40;
// Readings wider than 8 bit; a status record too short for a 12-bit logger
// that has it comes from a 10-bit logger.
inline constexpr std::uint8_t kStatusTenBit = 0x80;

// Resolution of a data file by its mode flags: 8, 10 or 12.
constexpr int ResolutionBitsFromModeFlags(std::uint8_t modeFlags)
{
    if (!(modeFlags & kStatusTenBit))
        return 8;
    return (modeFlags & kStatusTenBitOfWide) ? 10 : 12;
}

// Status byte 3 (channel flags); bits 0-3 are channels 1-4.
inline constexpr std::uint8_t kChannelBits = 0x0F;
inline constexpr std::uint8_t kChannelStopOnDetach = 0x20;   // stop when the probes are detached

} // namespace tamble
