#include "platform/qt_serial_port.h"

namespace tamble {

QtSerialPort::QtSerialPort(QString programDir, QObject* parent)
    : QObject(parent), m_programDir(std::move(programDir))
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        if (onReadyRead)
            onReadyRead();
    });
    connect(&m_port, &QSerialPort::bytesWritten, this, [this](qint64) {
        if (m_port.bytesToWrite() == 0 && onDrained)
            onDrained();
    });
    connect(&m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { handleError(error); });
}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::handleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::UnsupportedOperationError:  // a line control a pseudo-terminal lacks
    case QSerialPort::TimeoutError:
    case QSerialPort::OpenError:                  // reported by open()
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
        return;
    default:
        break;
    }
    if (!m_port.isOpen() || m_failed)
        return;
    // The device went away (or the line broke): no further byte will come.
    m_failed = true;
    m_error = m_port.errorString();
    m_port.clearError();
    if (onFailure)
        onFailure(m_error);
}

void QtSerialPort::setBaud(int baud)
{
    m_baud = baud;
    if (m_port.isOpen() && !m_port.setBaudRate(baud))
        m_port.clearError();
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return true;
    m_failed = false;
    m_device = ResolveComDevice(m_number, m_programDir);
    m_port.setPortName(m_device);
    m_port.setBaudRate(m_baud);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = m_device + QStringLiteral(": ") + m_port.errorString();
        m_port.clearError();
        return false;
    }
    // Settings a pseudo-terminal refuses are of no consequence there.
    m_port.setBaudRate(m_baud);
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    return true;
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void QtSerialPort::setDtr(bool raised)
{
    if (m_port.isOpen() && !m_port.setDataTerminalReady(raised))
        m_port.clearError();
}

void QtSerialPort::putString(const QByteArray& bytes)
{
    if (m_port.isOpen() && !m_failed)
        m_port.write(bytes);
}

QByteArray QtSerialPort::takeInput()
{
    return m_port.isOpen() ? m_port.readAll() : QByteArray();
}

std::int64_t QtSerialPort::inputBytesWaiting() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : 0;
}

std::int64_t QtSerialPort::outputBytesPending() const
{
    return m_port.isOpen() ? m_port.bytesToWrite() : 0;
}

void QtSerialPort::flushInput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
    m_port.clearError();
}

void QtSerialPort::drain(int ms)
{
    if (m_port.isOpen() && m_port.bytesToWrite() > 0 && !m_port.waitForBytesWritten(ms))
        m_port.clearError();
}

void QtSerialPort::flushOutput()
{
    if (!m_port.isOpen())
        return;
    m_port.clear(QSerialPort::Output);
    m_port.clearError();
}

} // namespace tamble
