#include "logger_memory.h"

#include <algorithm>
#include <cmath>

namespace tamble::sim {

namespace {

quint64 Mix(quint64 x)
{
    // splitmix64 finaliser: cheap, deterministic noise.
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

int HexValue(char c)
{
    // Data files may hold lower-case digits.
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

// The bytes of the whole time steps (one reading of every channel) that fit
// in `bytes` bytes of memory: the logger writes whole steps, so the pointer
// is where the last complete step ended.
qint64 WholeStepBytes(int bits, qint64 bytes, qint64 channels)
{
    const qint64 B = bytes;
    qint64 R = bits == 8 ? B : bits == 10 ? 4 * (B / 5) + std::min<qint64>(B % 5, 3) : 2 * (B / 3) + (B % 3 ? 1 : 0);
    R -= R % channels;
    return bits == 8 ? R : bits == 10 ? 5 * (R / 4) + R % 4 : 3 * (R / 2) + R % 2;
}

// Writes the readings of the recording channels, in time-step order, into
// the ring from its start, packed as the logger packs them. `T` is the
// number of bytes written (more than the ring once it has wrapped); each
// write returns the phase byte.
struct ReadingWriter {
    std::vector<std::uint8_t>& ring;
    const ReadingSource& source;
    const std::vector<int>& channels;
    qint64 reading = 0;

    int next()
    {
        const qint64 C = static_cast<qint64>(channels.size());
        const int v = source.value(channels[static_cast<size_t>(reading % C)], reading / C);
        ++reading;
        return v;
    }

    void put(qint64 pos, int byte)
    {
        ring[static_cast<size_t>(pos % static_cast<qint64>(ring.size()))] = static_cast<std::uint8_t>(byte & 0xFF);
    }

    // One byte per reading.
    int write8(qint64 T)
    {
        for (qint64 pos = 0; pos < T; ++pos)
            put(pos, next());
        return 0;
    }

    // Groups of five bytes: the high eight bits of four readings, then their
    // low two bits.
    int write10(qint64 T, bool wrapped)
    {
        qint64 pos = 0;
        for (; pos + 5 <= T; pos += 5) {
            int low = 0;
            for (int k = 0; k < 4; ++k) {
                const int v = next();
                put(pos + k, v >> 2);
                low |= (v & 3) << (2 * k);
            }
            put(pos + 4, low);
        }
        const int P = static_cast<int>(T - pos);
        int phase = 0;
        for (int k = 0; k < P; ++k) {
            int v = next();
            if (k == 0)
                v = (v & ~3) | P; // the phase byte's low bits double as the group position
            put(pos + k, v >> 2);
            phase |= (v & 3) << (2 * k);
        }
        // Before the memory wraps, the unfinished group's low-bits byte holds what is
        // known so far; once wrapped, that byte still belongs to the oldest group.
        if (P > 0 && !wrapped)
            put(pos + 4, phase);
        return phase;
    }

    // Groups of three bytes: the high eight bits of two readings, then both
    // readings' low four bits.
    int write12(qint64 T, bool wrapped)
    {
        qint64 pos = 0;
        for (; pos + 3 <= T; pos += 3) {
            const int a = next();
            const int b = next();
            put(pos, a >> 4);
            put(pos + 1, b >> 4);
            put(pos + 2, (a & 15) | ((b & 15) << 4));
        }
        if (T - pos == 1) {
            const int a = next();
            put(pos, a >> 4);
            if (!wrapped)
                put(pos + 2, a & 15);
            return ((a & 15) << 4) | 1;
        }
        return 0;
    }
};

} // namespace

ReadingSource::ReadingSource(quint64 seed, int fullScale)
    : m_seed(seed), m_fullScale(fullScale)
{
}

int ReadingSource::value(int channel, qint64 step) const
{
    const double full = m_fullScale;
    const double base = full * (0.30 + 0.12 * channel);
    const double amplitude = full * 0.08;
    const double period = 180.0 + 47.0 * channel;
    const double shift = static_cast<double>(Mix(m_seed * 4 + static_cast<quint64>(channel)) % 1000) / 159.0;
    const double wave = amplitude * std::sin(6.283185307179586 * static_cast<double>(step) / period + shift);
    const quint64 h = Mix(m_seed ^ (static_cast<quint64>(step) * 4 + static_cast<quint64>(channel)) * 0x2545F4914F6CDD1DULL);
    const double noise = (static_cast<double>(h % 2001) / 1000.0 - 1.0) * full * 0.01;
    const int v = static_cast<int>(std::lround(base + wave + noise));
    return std::clamp(v, 1, m_fullScale - 1);
}

LoggerMemory::LoggerMemory(int bits, int banks)
    : m_bits(bits), m_banks(std::clamp(banks, 1, 4))
{
    m_ring.assign(static_cast<size_t>(bankBytes()) * static_cast<size_t>(m_banks), 0xFF);
}

void LoggerMemory::erase()
{
    std::fill(m_ring.begin(), m_ring.end(), 0xFF);
    m_pointer = kDataStart;
}

qint64 LoggerMemory::ringPosition(int bank, int address) const
{
    const qint64 total = static_cast<qint64>(m_ring.size());
    if (total == 0)
        return 0;
    const qint64 b = ((bank % m_banks) + m_banks) % m_banks;
    qint64 pos = b * bankBytes() + (address - kDataStart);
    pos %= total;
    if (pos < 0)
        pos += total;
    return pos;
}

std::uint8_t LoggerMemory::byteAt(int bank, int address) const
{
    if (address < kDataStart)
        return address >= 0 ? m_config[static_cast<size_t>(address)] : 0xFF;
    if (m_ring.empty())
        return 0xFF;
    return m_ring[static_cast<size_t>(ringPosition(bank, address))];
}

void LoggerMemory::setByte(int bank, int address, std::uint8_t value)
{
    if (address < 0)
        return;
    if (address < kDataStart) {
        m_config[static_cast<size_t>(address)] = value;
        return;
    }
    if (!m_ring.empty())
        m_ring[static_cast<size_t>(ringPosition(bank, address))] = value;
}

QByteArray LoggerMemory::bytes(int bank, int address, int count) const
{
    // Past the top of a bank the ring continues in the next bank (ringPosition).
    QByteArray out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out += static_cast<char>(byteAt(bank, address + i));
    return out;
}

int LoggerMemory::record(std::uint8_t channelMask, int pointer, int lastBank, bool wrapped,
                         const ReadingSource& source)
{
    erase();
    const int S = bankBytes();
    lastBank = std::clamp(lastBank, 0, m_banks - 1);
    int off = std::clamp(pointer - kDataStart, 0, S);
    if (wrapped && off == S)
        off = 0;

    std::vector<int> channels;
    for (int ch = 0; ch < 4; ++ch) {
        if (channelMask & (1 << ch))
            channels.push_back(ch);
    }
    if (channels.empty()) {
        m_pointer = kDataStart + off;
        m_lastBank = lastBank;
        return 0;
    }
    const qint64 B = WholeStepBytes(m_bits, static_cast<qint64>(lastBank) * S + off,
                                    static_cast<qint64>(channels.size()));
    if (!wrapped && B == static_cast<qint64>(m_banks) * S) {
        lastBank = m_banks - 1;
        off = S;
    } else {
        lastBank = static_cast<int>(B / S);
        off = static_cast<int>(B % S);
    }
    m_pointer = kDataStart + off;
    m_lastBank = lastBank;

    const qint64 total = static_cast<qint64>(m_ring.size());
    const qint64 T = (wrapped ? total : 0) + static_cast<qint64>(lastBank) * S + off;
    ReadingWriter writer{m_ring, source, channels};
    if (m_bits == 8)
        return writer.write8(T);
    if (m_bits == 10)
        return writer.write10(T, wrapped);
    return writer.write12(T, wrapped);
}

void LoggerMemory::layLines(const std::vector<QByteArray>& hexLines, int firstBank, int firstAddress)
{
    if (m_ring.empty())
        return;
    const qint64 total = static_cast<qint64>(m_ring.size());
    qint64 pos = ringPosition(firstBank, firstAddress);
    const int step = blockStep();
    for (const QByteArray& line : hexLines) {
        for (int i = 0; i < step; ++i) {
            const int at = 2 * i;
            const int v = at + 1 < line.size() ? HexValue(line[at]) * 16 + HexValue(line[at + 1]) : 0xFF;
            m_ring[static_cast<size_t>((pos + i) % total)] = static_cast<std::uint8_t>(v);
        }
        pos = (pos + step) % total;
    }
}

} // namespace tamble::sim
