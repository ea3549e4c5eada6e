#pragma once
// The virtual logger's memory: a configuration area below address 512 and one to four
// banks of reading memory. Reading memory of all banks forms one ring, so a block that
// runs past the top of a bank continues at address 512 of the next bank (of the same
// bank when there is only one), as a wrapped download expects.

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace tamble::sim {

struct SimConfig;

// Deterministic, realistic raw readings: a slow wave per channel with a little noise.
class ReadingSource {
public:
    ReadingSource(quint64 seed, int fullScale);
    // Raw count of channel (0-3) at time step `step`.
    int value(int channel, qint64 step) const;

private:
    quint64 m_seed;
    int m_fullScale;
};

class LoggerMemory {
public:
    static constexpr int kDataStart = 512;

    LoggerMemory() = default;
    LoggerMemory(int bits, int banks);

    // Fills the memory as a logger recording channelMask's channels would have left it,
    // with the memory pointer in bank lastBank (0-based); returns the phase byte.
    // A pointer that no logger can leave (outside the bank, or not at the end of a whole
    // time step) is moved back to where the last whole step ended: see pointer() and
    // lastBank().
    int record(std::uint8_t channelMask, int pointer, int lastBank, bool wrapped, const ReadingSource& source);

    // Lays data lines of a data file into the ring, first line at the given bank/address.
    void layLines(const std::vector<QByteArray>& hexLines, int firstBank, int firstAddress);

    // Empties the reading memory (after a new setup).
    void erase();

    int bits() const { return m_bits; }
    int banks() const { return m_banks; }
    int bankBytes() const { return m_bits == 10 ? 32250 : 32256; }
    int topAddress() const { return kDataStart + bankBytes() - 1; }
    int blockStep() const { return m_bits == 10 ? 75 : 96; }
    int pointer() const { return m_pointer; }
    int lastBank() const { return m_lastBank; }
    void setPointer(int pointer) { m_pointer = pointer; }

    std::uint8_t byteAt(int bank, int address) const;
    void setByte(int bank, int address, std::uint8_t value);
    // `count` bytes from bank/address onwards (addresses below 512 read the
    // configuration area, which bank letters share).
    QByteArray bytes(int bank, int address, int count) const;

private:
    qint64 ringPosition(int bank, int address) const;

    int m_bits = 12;
    int m_banks = 1;
    int m_pointer = kDataStart;
    int m_lastBank = 0;
    std::array<std::uint8_t, kDataStart> m_config{};
    std::vector<std::uint8_t> m_ring;
};

} // namespace tamble::sim
