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
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
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
    // Key names and values of a section in file order (the first of repeated keys only), read in
    // one pass: for sections with hundreds of keys such as option lists.
    std::vector<std::pair<QString, QString>> ReadSectionValues(const QString& section) const;
    // Visits every key line of the first section of that name in file order, repeated keys
    // included; the views are valid during the call only.
    void ForEachKey(const QString& section, const std::function<void(QStringView, QStringView)>& visit) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value whatever its length: for the program's own files (projects), whose values it writes
    // whole and must read back whole.
    QString ReadWholeString(const QString& section, const QString& key, const QString& def) const;
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    double ReadFloat(const QString& section, const QString& key, double def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void EraseSection(const QString& section);

    // Writes the file; false (with a reason for the user) when it cannot be written.
    bool UpdateFile(QString* error = nullptr);

    // Parses text already decoded (used by tests and by the reader itself).
    void SetText(const QString& text);
    QString Text() const;

private:
    enum class Kind : uint8_t { Other, Section, Key };
    struct Line {
        Line() = default;
        Line(Line&&) noexcept = default;
        Line& operator=(Line&&) noexcept = default;
        Line(const Line&) = delete; // Text may point into Own
        Line& operator=(const Line&) = delete;

        QString Own;      // the text of a line the program wrote; empty for lines read from the file
        QStringView Text; // the line: into Source for lines read, into Own for lines written
        Kind LineKind = Kind::Other;
        // Section or key name and key value, trimmed, as positions in Text (no copies: files with
        // hundreds of thousands of lines load fast).
        qsizetype NameStart = 0, NameLen = 0, ValueStart = 0, ValueLen = 0;
        QStringView Name() const { return Text.mid(NameStart, NameLen); }
        QStringView Value() const { return Text.mid(ValueStart, ValueLen); }
    };
    static Line MakeLine(QStringView text);
    static Line OwnLine(QString text);

    void Parse(const QString& text);
    void BuildIndex() const;
    // Index of the header line of the first section with that name, or -1.
    qsizetype FindSection(const QString& section) const;
    // Index of the key's line inside the first section with that name, or -1.
    qsizetype FindKey(const QString& section, const QString& key) const;
    const Line* Find(const QString& section, const QString& key) const;
    qsizetype SectionEnd(qsizetype header) const;
    void Invalidate() { IndexValid = false; }

    QString Path;
    bool FileFound = false;
    bool Truncated = false;
    QString Source; // the decoded file; lines read from it are views into it
    std::vector<Line> Lines;

    // Names compared and hashed without regard to letter case, without copying them.
    struct CiHash {
        size_t operator()(QStringView v) const noexcept;
    };
    struct CiEqual {
        bool operator()(QStringView a, QStringView b) const noexcept {
            return a.compare(b, Qt::CaseInsensitive) == 0;
        }
    };
    struct SectionIndex {
        qsizetype Header = -1;
        mutable bool KeysBuilt = false;
        mutable std::unordered_map<QStringView, qsizetype, CiHash, CiEqual> Keys; // first line of a key
    };
    mutable bool IndexValid = false;
    mutable std::unordered_map<QStringView, SectionIndex, CiHash, CiEqual> Index; // first section of a name
};
