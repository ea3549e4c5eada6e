#pragma once
// A buffered writer for the exports: lines are collected in memory and handed
// to the device in large pieces, and the first write error is remembered so
// that the export can stop and report it.

#include <QByteArray>
#include <QIODevice>
#include <string_view>

namespace tamble {

class TextOut {
public:
    explicit TextOut(QIODevice* device) : m_device(device) { m_buffer.reserve(kChunk + 1024); }
    ~TextOut() { flush(); }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    void append(std::string_view text)
    {
        m_buffer.append(text.data(), static_cast<qsizetype>(text.size()));
        if (m_buffer.size() >= kChunk)
            flush();
    }
    void append(const QByteArray& text) { append(std::string_view(text.constData(), static_cast<std::size_t>(text.size()))); }
    void append(char c) { append(std::string_view(&c, 1)); }
    void endLine() { append(std::string_view("\r\n", 2)); }
    void line(const QByteArray& text) { append(text); endLine(); }

    bool flush()
    {
        if (!m_buffer.isEmpty() && !m_failed) {
            if (!m_device || m_device->write(m_buffer) != m_buffer.size())
                m_failed = true;
        }
        m_buffer.clear();
        return !m_failed;
    }
    bool failed() const { return m_failed; }

private:
    static constexpr qsizetype kChunk = 1 << 16;
    QIODevice* m_device;
    QByteArray m_buffer;
    bool m_failed = false;
};

} // namespace tamble
