#pragma once
// The session port over QSerialPort. COM n is the device ResolveComDevice names.

#include "settings/port_map.h"
#include "link/serial_port.h"

#include <QObject>
#include <QSerialPort>
#include <functional>

namespace tamble {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QString programDir, QObject* parent = nullptr);
    ~QtSerialPort() override;

    void setPortNumber(int number) override { m_number = number; }
    int portNumber() const override { return m_number; }
    void setBaud(int baud) override;
    int baud() const override { return m_baud; }
    void setOutputBufferSize(int) override {}
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    QString errorString() const override { return m_error; }
    void setDtr(bool raised) override;
    void putString(const QByteArray& bytes) override;
    QByteArray takeInput() override;
    std::int64_t inputBytesWaiting() const override;
    std::int64_t outputBytesPending() const override;
    void flushInput() override;
    void flushOutput() override;

    QString devicePath() const { return m_device; }
    // Waits (at most `ms`) until queued output has left the program.
    void drain(int ms);

    // Event sinks (the runner connects them to the engine).
    std::function<void()> onReadyRead;
    std::function<void()> onDrained;
    std::function<void(const QString&)> onFailure;

private:
    void handleError(QSerialPort::SerialPortError error);

    QString m_programDir;
    QSerialPort m_port;
    int m_number = 1;
    int m_baud = 1200;
    QString m_device;
    QString m_error;
    bool m_failed = false;
};

} // namespace tamble
