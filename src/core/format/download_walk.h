#pragma once
// The order in which a download reads a logger's memory: the block addresses,
// the banks, and the bank lines ("Z" + letter) that a four-bank memory puts
// between its banks in the data file. It starts from the status values the
// download starts with; the receive and the .TL1 writer both follow it.

#include "format/memory_layout.h"

#include <cstdint>

namespace tamble {

struct DownloadWalkStart {
    int resolutionBits = 8;
    char modelDigit = '0';
    bool wrapped = false;             // the memory has wrapped: start at the pointer
    std::uint16_t endPointer = kFirstDataAddress;  // the logger's memory pointer
    char lastBank = 'A';              // the bank the logger is writing in
};

class DownloadWalk {
public:
    explicit DownloadWalk(const DownloadWalkStart& start = {});

    // The block to read next.
    std::uint16_t address() const { return m_address; }
    char bank() const { return m_bank; }
    int bankIndex() const { return (m_bank - 'A') & 3; }
    int blockBytes() const { return m_step; }
    // Blocks a whole memory holds: no download reads more.
    int blockLimit() const { return m_blockLimit; }
    bool finished() const { return m_done; }

    // Steps past the block just read. Returns the letter of the bank line
    // that follows that block in the file, or 0 when none does.
    char advance();

    static char nextBank(char bank) { return bank >= 'D' || bank < 'A' ? 'A' : static_cast<char>(bank + 1); }

private:
    int m_step;
    int m_reduce;
    int m_top;
    bool m_fourBanks;
    bool m_wrapped;
    std::uint16_t m_end;
    char m_lastBank;
    int m_blockLimit;
    int m_blocks = 0;
    std::uint16_t m_address;
    char m_bank;
    bool m_done = false;
};

} // namespace tamble
