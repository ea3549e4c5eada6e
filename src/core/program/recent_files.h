#pragma once
// The data files used last: each download and each file opened as a graph, newest first, at most
// ten, kept in "recent.txt" in the program folder (one file a line: path, description and
// recorded period, separated by tabs). The list is a convenience: a missing or damaged file is an
// empty list, and files that no longer exist stay listed, marked, until newer ones push them out.

#include <QString>
#include <vector>

namespace tamble {

struct DataSet;
struct LoggerInfo;

inline constexpr const char* kRecentFilesName = "recent.txt";

struct RecentFile {
    QString path;
    QString description;
    QString period;      // "first reading – last reading", as the file's stamps read
    bool exists = true;  // looked up when the list is read
};

class RecentFiles {
public:
    static constexpr int kMax = 10;

    explicit RecentFiles(QString programDir) : m_dir(std::move(programDir)) {}

    void load();
    // Written through a temporary file and a rename; false when that failed.
    bool save() const;
    // `path` to the front (an older entry of the same file goes).
    void add(const QString& path, const QString& description, const QString& period);
    // A download just completed, described by the status it was read with.
    void addDownload(const QString& dataFile, const LoggerInfo& info);
    // A recording opened as a graph: a multi-bank one is listed by its .TL1 file when that exists.
    void addGraphed(const DataSet& data);
    const std::vector<RecentFile>& entries() const { return m_entries; }

    // The list's text and back; for the file and the tests.
    static QString toText(const std::vector<RecentFile>& entries);
    static std::vector<RecentFile> fromText(const QString& text);

private:
    QString m_dir;
    std::vector<RecentFile> m_entries;
};

} // namespace tamble
