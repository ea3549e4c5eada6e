#pragma once
// The layout of a logger's data memory, by resolution: how many readings a
// memory image holds, how many of its bytes are used, the bytes of one
// download block (one data line of a .TL1 file) and the largest count. The
// four-bank model holds four such images. Everything that needs one of these
// numbers takes it from here.

#include <cstdint>

namespace tamble {

// Data memory runs from address 512 up to 32767 in every bank.
inline constexpr int kFirstDataAddress = 512;
inline constexpr int kMemoryImageBytes = 32256;

// The model digit of the logger with four banks ("A" to "D").
inline constexpr char kFourBankModelDigit = '6';
inline constexpr int kFourBankCount = 4;

struct MemoryLayout {
    int resolutionBits;     // 8, 10 or 12
    int capacity;           // readings one memory image holds
    int imageBytes;         // bytes of an image the readings use
    int blockBytes;         // bytes of one download block / data line
    int fullScaleCount;     // largest raw count
    int resolutionType;     // logger type of the resolution: 1, 2, 3

    constexpr int blocksPerImage() const { return imageBytes / blockBytes; }
    // One past the last address the readings use.
    constexpr int topAddress() const { return kFirstDataAddress + imageBytes; }
};

// 8 bit: one byte a reading. 10 bit: groups of five bytes hold four readings,
// and the last 6 bytes of the image stay unused. 12 bit: groups of three
// bytes hold two readings.
inline constexpr MemoryLayout kEightBitLayout{8, 32256, 32256, 96, 255, 1};
inline constexpr MemoryLayout kTenBitLayout{10, 25800, 32250, 75, 1023, 2};
inline constexpr MemoryLayout kTwelveBitLayout{12, 21504, 32256, 96, 4095, 3};

// The longest block of any resolution.
inline constexpr int kLargestBlockBytes = 96;
static_assert(kEightBitLayout.blockBytes <= kLargestBlockBytes && kTenBitLayout.blockBytes <= kLargestBlockBytes
              && kTwelveBitLayout.blockBytes <= kLargestBlockBytes);

// Any resolution other than 10 or 12 bit reads as 8 bit.
constexpr const MemoryLayout& LayoutForBits(int resolutionBits)
{
    return resolutionBits == 10 ? kTenBitLayout : resolutionBits == 12 ? kTwelveBitLayout : kEightBitLayout;
}

// Logger types 1, 2, 3; null for any other type.
constexpr const MemoryLayout* LayoutForResolutionType(int resolutionType)
{
    switch (resolutionType) {
    case 1: return &kEightBitLayout;
    case 2: return &kTenBitLayout;
    case 3: return &kTwelveBitLayout;
    default: return nullptr;
    }
}

constexpr int BankCountForModel(char modelDigit) { return modelDigit == kFourBankModelDigit ? kFourBankCount : 1; }

// Readings per memory image: 32256 (8 bit), 25800 (10 bit), 21504 (12 bit).
constexpr int MemoryCapacityFor(int resolutionBits) { return LayoutForBits(resolutionBits).capacity; }

// Readings the whole memory of a logger holds (all banks).
constexpr std::int32_t LoggerMemoryCapacity(int resolutionBits, char modelDigit)
{
    return MemoryCapacityFor(resolutionBits) * BankCountForModel(modelDigit);
}

} // namespace tamble
