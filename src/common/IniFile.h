#pragma once
// INI text files in Windows-1251, read and updated in place:
// - section and key names match without regard to letter case (Cyrillic included);
// - sections are enumerated in file order; blanks around names and values are not part of them;
// - integers are decimal (optionally signed) or hexadecimal after "$" or "0x"; a missing key or a
//   value that does not parse gives the caller's default;
// - writing a key updates its line in place, erasing a section removes it with its keys, and
//   everything the writer does not touch stays as it was;
// - values of up to MaxValueLength characters are read whole.
// Changes are kept in memory until UpdateFile(), which writes a temporary file beside the target
// and renames it over the target, so a crash never leaves a half-written file.
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TIniFile {
public:
    static constexpr qsizetype MaxValueLength = 2047;
    // Files beyond this size are read only up to it and are never written back (it would lose data).
    static constexpr qint64 MaxFileSize = 64ll * 1024 * 1024;

    TIniFile() = default;
    explicit TIniFile(const QString& path);

    const QString& FileName() const { return Path; }
    bool Loaded() const { return FileFound; }

    QStringList ReadSections() const;
    QStringList ReadSection(const QString& section) const; // key names in file order
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void EraseSection(const QString& section);

    // Writes the file; false (with a reason) when it cannot be written.
    bool UpdateFile(QString* error = nullptr);

    // Parses text already decoded (used by tests and by the reader itself).
    void SetText(const QString& text);
    QString Text() const;

private:
    enum class Kind : uint8_t { Other, Section, Key };
    struct Line {
        QString Raw;
        Kind LineKind = Kind::Other;
        QString Name;  // section or key name, trimmed
        QString Value; // key value, trimmed
    };

    void Parse(const QString& text);
    void BuildIndex() const;
    // Index of the header line of the first section with that name, or -1.
    qsizetype FindSection(const QString& section) const;
    // Index of the key's line inside the first section with that name, or -1.
    qsizetype FindKey(const QString& section, const QString& key) const;
    const QString* Find(const QString& section, const QString& key) const;
    qsizetype SectionEnd(qsizetype header) const;
    void Invalidate() { IndexValid = false; }

    QString Path;
    bool FileFound = false;
    bool Truncated = false;
    std::vector<Line> Lines;

    struct SectionIndex {
        qsizetype Header = -1;
        QHash<QString, qsizetype> Keys; // case-folded key -> first line index
    };
    mutable bool IndexValid = false;
    mutable QHash<QString, SectionIndex> Index; // case-folded section name -> first section
};
