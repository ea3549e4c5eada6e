#include "format/download_walk.h"

namespace tamble {

DownloadWalk::DownloadWalk(const DownloadWalkStart& start)
{
    const MemoryLayout& layout = LayoutForBits(start.resolutionBits);
    m_step = layout.blockBytes;
    m_reduce = layout.imageBytes;
    m_top = layout.topAddress();
    m_fourBanks = BankCountForModel(start.modelDigit) > 1;
    m_wrapped = start.wrapped;
    m_end = start.endPointer;
    m_lastBank = start.lastBank;
    m_blockLimit = layout.blocksPerImage() * BankCountForModel(start.modelDigit);
    m_address = m_wrapped ? m_end : static_cast<std::uint16_t>(kFirstDataAddress);
    m_bank = m_wrapped ? m_lastBank : 'A';
}

char DownloadWalk::advance()
{
    char bankLine = 0;
    ++m_blocks;
    int address = m_address + m_step;
    if (!m_fourBanks) {
        // One bank: a wrapped memory runs round to the pointer, one that did
        // not wrap ends at it.
        if (m_wrapped) {
            if (address >= m_top)
                address -= m_reduce;
            if (address == m_end)
                m_done = true;
        } else if (address >= m_end) {
            m_done = true;
        }
    } else if (m_wrapped) {
        // Four wrapped banks: each bank from the pointer round to it again,
        // the last one ending where the logger writes.
        if (address >= m_top) {
            address -= m_reduce;
            m_bank = nextBank(m_bank);
        }
        if (address == m_end) {
            if (m_bank == m_lastBank)
                m_done = true;
            else
                bankLine = m_bank;
        }
    } else {
        // Banks that did not wrap: each full bank ends with its own letter,
        // the last one at the pointer.
        if (address >= m_top) {
            bankLine = m_bank;
            address -= m_reduce;
            m_bank = nextBank(m_bank);
        }
        if (m_bank == m_lastBank && address >= m_end)
            m_done = true;
    }
    m_address = static_cast<std::uint16_t>(address & 0xFFFF);
    if (m_blocks >= m_blockLimit)
        m_done = true;
    return bankLine;
}

} // namespace tamble
