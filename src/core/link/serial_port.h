#pragma once
// What the program needs of a serial port. The Qt adapter (src/app/qt_serial_port.h) implements it
// over QSerialPort; tests implement it in memory. Line format is always 8 data bits, no parity,
// 1 stop bit, no flow control; DTR and RTS are raised on opening.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tamble {

// One tick of the link's delays and time-outs is 1/18.2 second (about 55 ms).
constexpr double kTicksPerSecond = 18.2;
inline std::int64_t TicksToMs(std::int64_t ticks) { return (ticks * 10000 + 91) / 182; }

class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void setPortNumber(int number) = 0;  // 1..20, before opening
    virtual int portNumber() const = 0;
    // Takes effect at once, also while open.
    virtual void setBaud(int baud) = 0;
    virtual int baud() const = 0;
    virtual void setOutputBufferSize(int bytes) = 0;

    // False when the port cannot be opened (the library's port exception); errorString() says why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString errorString() const = 0;

    // A line control the device does not support is ignored, not an error.
    virtual void setDtr(bool raised) = 0;

    // Queue bytes for sending, unchanged (any byte value).
    virtual void putString(const QByteArray& bytes) = 0;
    // Take every received byte waiting (the "get char" loop of one data-available event).
    virtual QByteArray takeInput() = 0;
    virtual std::int64_t inputBytesWaiting() const = 0;
    virtual std::int64_t outputBytesPending() const = 0;
    virtual void flushInput() = 0;
    virtual void flushOutput() = 0;
};

} // namespace tamble
