#pragma once
// Where a record store keeps its bytes: a file in the program directory, or memory (tests, fuzzing).

#include <QByteArray>
#include <QString>
#include <utility>

namespace tamble {

struct IniReadResult {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Missing;
    QByteArray bytes;
    QString error;  // why a read failed
};

class IniStorage {
public:
    virtual ~IniStorage() = default;
    virtual IniReadResult read() = 0;
    // Replaces the whole content; an empty result means success, otherwise the reason it failed.
    virtual QString write(const QByteArray& bytes) = 0;
    // The name used in messages.
    virtual QString Name() const = 0;
};

// Larger files are not read: a list file of this size is not a list file.
inline constexpr qint64 kIniFileLimit = 32 * 1024 * 1024;

class IniFileStorage : public IniStorage {
public:
    explicit IniFileStorage(QString path) : m_path(std::move(path)) {}
    IniReadResult read() override;
    // Writes a temporary file beside the target and renames it over the target.
    QString write(const QByteArray& bytes) override;
    QString Name() const override;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

class IniMemoryStorage : public IniStorage {
public:
    IniMemoryStorage() = default;
    explicit IniMemoryStorage(QByteArray bytes) : bytes(std::move(bytes)), exists(true) {}
    IniReadResult read() override;
    QString write(const QByteArray& data) override;
    QString Name() const override { return QStringLiteral("memory"); }

    QByteArray bytes;
    bool exists = false;
    QString readError;   // non-empty: every read fails with it
    QString writeError;  // non-empty: every write fails with it
    int writes = 0;
};

} // namespace tamble
