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
#include <QStringView>
#include <QVarLengthArray>
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
    // A line keeps its text; the key and value are where they stand in it, so reading a
    // file takes one string per line.
    struct Line {
        QString raw;            // the text as written, without the line ending
        qsizetype keyAt = 0;    // keyLength 0: not a key line (comment, blank)
        qsizetype keyLength = 0;
        qsizetype valueAt = 0;
        qsizetype valueLength = 0;
        QStringView key() const { return QStringView(raw).mid(keyAt, keyLength); }
        QStringView value() const { return QStringView(raw).mid(valueAt, valueLength); }
        bool isKey() const { return keyLength > 0; }
        static Line keyLine(const QString& key, const QString& value);
    };
    struct Part {
        QString header;         // header line as written
        qsizetype nameAt = 0;   // section name as spelt in the header
        qsizetype nameLength = 0;
        bool hasHeader = true;  // false only for lines before the first header
        int nextSameHash = -1;  // the next part whose name has the same folded hash
        QList<Line> lines;
        QStringView name() const { return QStringView(header).mid(nameAt, nameLength); }
    };
    using PartList = QVarLengthArray<int, 8>;
    friend class QTypeInfo<Line>;
    friend class QTypeInfo<Part>;

    PartList partsOf(QStringView section) const;

    int firstPartOf(QStringView section) const;   // -1 when there is none
    void reindex();
    Part& appendPart(const QString& section);

    QList<Part> m_parts;
    QHash<std::size_t, int> m_firstByHash;  // folded name hash -> first part of that hash
    QByteArray m_eol = QByteArrayLiteral("\r\n");
};

} // namespace tamble

// Lines and parts move in memory as they are: growing a document's lists copies no strings.
Q_DECLARE_TYPEINFO(tamble::IniDocument::Line, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(tamble::IniDocument::Part, Q_RELOCATABLE_TYPE);

namespace tamble {

// A hash of the text with every character case-folded: texts that compare equal without
// regard to case hash alike.
std::size_t CaseFoldedHash(QStringView text);

} // namespace tamble
