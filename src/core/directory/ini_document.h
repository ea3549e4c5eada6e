#pragma once
// A Windows-style INI text held line by line: "[Section]" headers and "key=value" lines.
// Section and key names are matched without regard to case. Lines the program does not change
// (comments, blank lines, unknown keys, odd spacing) are written back exactly as they were read,
// so editing one value never disturbs the rest of a hand-edited file.
//
// Damaged files are read as far as they make sense: a section that appears twice is one
// section spread over two places (the first value of a key wins), a line without "=" is a key
// with an empty value, CR LF and LF endings may be mixed. Text is Latin-1, one byte per character.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tamble {

class IniDocument {
public:
    // Never fails: whatever the bytes hold is read as lines.
    static IniDocument parse(const QByteArray& bytes);
    // The lines with the document's line ending (the first one found when parsed, else CR LF).
    QByteArray serialize() const;

    bool hasSection(const QString& section) const;
    // Section names in file order, each once (spelt as it first appears).
    QStringList sections() const;
    // Keys of every part of the section in file order; a key repeated is listed once,
    // spelt as it first appears.
    QStringList keys(const QString& section) const;
    // The first value of the key in the section; nullopt when the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Rewrites the first line of the key; otherwise adds the key to the section's last part,
    // after its last key (so keys stay in the order they were added); otherwise appends the
    // section at the end.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Appends an empty section unless the section exists.
    void addSection(const QString& section);
    // Removes every line of the key in every part of the section.
    void removeKey(const QString& section, const QString& key);
    // Removes every part of the section with all its lines.
    void removeSection(const QString& section);
    // Gives every part of the section the new name (header lines rewritten).
    void renameSection(const QString& section, const QString& newName);
    // Rewrites the first line of the key with a new key name and value, in place.
    // Returns false when the key is missing.
    bool renameKey(const QString& section, const QString& key, const QString& newKey, const QString& value);

private:
    struct Line {
        QString raw;        // the text as written, without the line ending
        QString key;        // empty: not a key line (comment, blank)
        QString value;
    };
    struct Part {
        QString name;       // section name as spelt in the header
        bool hasHeader = true;  // false only for lines before the first header
        QString header;     // header line as written
        QList<Line> lines;
    };

    static QString fold(const QString& s) { return s.toCaseFolded(); }
    QList<int> partsOf(const QString& section) const;
    void reindex();
    Part& appendPart(const QString& section);

    QList<Part> m_parts;
    QHash<QString, QList<int>> m_byName;  // folded section name -> part indexes in file order
    QByteArray m_eol = QByteArrayLiteral("\r\n");
};

} // namespace tamble
