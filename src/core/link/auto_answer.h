#pragma once
// Auto-answer: waiting for loggers that call in, the automatic download to the
// next numbered data file, the setup sent back to the caller and the hang-up
// before waiting again.
//
// The description a calling logger reports is remote input that names files
// (the data file prefix and the setup sent back). Names made from it never
// leave the program directory: separators, drive colons, control characters,
// a leading '-' or '.' and bytes outside ASCII are replaced by '_' in the data
// file prefix, and a setup name holding a control character or a leading '-'
// is not read at all.

#include "link/session_engine.h"
#include "setup/setup_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace tamble {

// The prefix of the automatic data file names: the description after its first
// ';' without trailing blanks, "A" when there is no ';' before the last
// character; made safe as a file name.
QString AutoAnswerPrefix(QByteArrayView description);

// prefix + counter as six digits + ".tl1".
QString AutoAnswerFileName(const QString& prefix, int counter);

// The next automatic file: counter + 1, and again while a file of that name
// exists; above 999999 the counter restarts at 0 and that name is used even
// if the file exists. `counter` is updated.
QString NextAutoAnswerFileName(int& counter, const QString& prefix,
                               const std::function<bool(const QString&)>& exists);

// The packet matcher of the auto-answer port: start "CONNECT", end CR, no
// time-out. Bytes before "CONNECT" are dropped; a packet is at most
// kMaxPacket bytes (the rest up to the CR is dropped).
class ConnectMatcher {
public:
    static constexpr int kMaxPacket = 256;
    void enable() { m_enabled = true; m_buffer.clear(); m_inPacket = false; }
    void disable() { m_enabled = false; m_buffer.clear(); m_inPacket = false; }
    bool enabled() const { return m_enabled; }
    // Feeds bytes; returns true with the packet ("CONNECT ..." + CR) when one is complete.
    bool feed(const QByteArray& bytes, QByteArray& packet);

private:
    bool m_enabled = false;
    bool m_inPacket = false;
    QByteArray m_buffer;
};

// What auto-answer needs besides the session engine.
class AutoAnswerHost {
public:
    virtual ~AutoAnswerHost() = default;
    virtual SerialPort& aaPort() = 0;
    // Call `then` once `ticks` of 1/18.2 s have passed, from a later event.
    virtual void after(int ticks, std::function<void()> then) = 0;
    virtual void setSecondTimerRunning(bool running) = 0;   // the main window's one-second timer
    virtual void setResendTimerRunning(bool running) = 0;   // Timer2 of the session window
    virtual void setAaText(const QString& /*text*/, bool /*visible*/) {}
    virtual bool fileExists(const QString& path) = 0;
    virtual void saveSettings() = 0;
};

class AutoAnswer {
public:
    AutoAnswer(SessionEngine& engine, AutoAnswerHost& host, SetupRecord& setup, SetupRecord& savedCopy,
               QString programDir);

    // setup_aacomport, then WaitForConnect; false when the port cannot be opened.
    bool setupAaComPort();
    void WaitForConnect();
    // The auto-answer port has bytes: they are taken only while waiting for a
    // call, so a CONNECT that comes during the hang-up sequence is still seen.
    void onAaReadable();
    // Bytes from the auto-answer port.
    void onAaBytes(const QByteArray& bytes);
    // The one-second timer after CONNECT.
    void onSecond();
    // Timer2 after the download: start, and its ticks.
    void startResendTimer();
    void onResendSecond();
    // Sends back the setup named by the caller's description.
    void ResendNamedSetup();
    // After every auto-answer outcome; `done` runs once the modem is on hook and the port waits.
    void AAHangupModem(std::function<void()> done = {});
    // Auto answer switched off.
    void disableAutoAnswer();
    // The data file of the download that follows the status (full path);
    // settings saved with the new counter.
    QString nextAutoAnswerFile();

    bool waiting() const { return m_matcher.enabled(); }

private:
    void openAaPort();
    // "+++" and "ATH" on the auto-answer port, each in its guard time, then WaitForConnect.
    void hangUpAndWait(std::function<void()> done = {});

    SessionEngine& m_engine;
    AutoAnswerHost& m_host;
    SetupRecord& m_setup;
    SetupRecord& m_saved;
    QString m_dir;
    ConnectMatcher m_matcher;
    int m_resendCount = 0;
    int m_hangups = 0;  // hang-up sequences begun; a newer one or switching off voids the older
};

} // namespace tamble
