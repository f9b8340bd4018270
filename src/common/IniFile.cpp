#include "common/IniFile.h"

#include "common/Cp1251.h"
#include "common/FileSave.h"
#include "common/Numbers.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

size_t TIniFile::CiHash::operator()(QStringView v) const noexcept {
    size_t h = 1469598103934665603ull;
    for (QChar c : v) {
        const char16_t u = c.unicode();
        // ASCII letters fold without a table look-up; everything else through Unicode case folding.
        const char16_t f = u < 0x80 ? static_cast<char16_t>((u >= 'A' && u <= 'Z') ? u + 32 : u)
                                    : static_cast<char16_t>(QChar::toCaseFolded(static_cast<char32_t>(u)));
        h = (h ^ f) * 1099511628211ull;
    }
    return h;
}

namespace {
// Trimmed range [start, start + len) of a part of text.
void TrimRange(QStringView text, qsizetype from, qsizetype to, qsizetype& start, qsizetype& len) {
    while (from < to && text[from].isSpace())
        ++from;
    while (to > from && text[to - 1].isSpace())
        --to;
    start = from;
    len = to - from;
}
} // namespace

TIniFile::Line TIniFile::MakeLine(QStringView text) {
    Line line;
    line.Text = text;
    const QStringView r = text;
    qsizetype s = 0, len = 0;
    TrimRange(r, 0, r.size(), s, len);
    if (len == 0)
        return line;
    if (r[s] == QLatin1Char('[')) {
        const qsizetype close = r.indexOf(QLatin1Char(']'), s + 1);
        line.LineKind = Kind::Section;
        TrimRange(r, s + 1, close < 0 ? s + len : close, line.NameStart, line.NameLen);
    } else if (r[s] != QLatin1Char(';')) {
        const qsizetype eq = r.indexOf(QLatin1Char('='), s);
        if (eq > s) {
            line.LineKind = Kind::Key;
            TrimRange(r, s, eq, line.NameStart, line.NameLen);
            TrimRange(r, eq + 1, s + len, line.ValueStart, line.ValueLen);
        }
    }
    return line;
}

TIniFile::TIniFile(const QString& path) : Path(path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    FileFound = true;
    // A file of known size is read at once; anything else in pieces, since asking for the whole
    // limit at once would reserve 64 MB for every small file.
    QByteArray bytes;
    if (!f.isSequential() && f.size() <= MaxFileSize) {
        bytes = f.readAll();
    } else {
        while (bytes.size() <= MaxFileSize) {
            const QByteArray piece = f.read(std::min<qint64>(1 << 16, MaxFileSize + 1 - bytes.size()));
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
    }
    Truncated = bytes.size() > MaxFileSize;
    if (Truncated)
        bytes.truncate(MaxFileSize);
    Parse(Cp1251::Decode(bytes));
}

TIniFile::Line TIniFile::OwnLine(QString text) {
    QString own = std::move(text);
    Line line = MakeLine(QStringView(own));
    line.Own = std::move(own); // moving keeps the characters where the view points
    return line;
}

void TIniFile::SetText(const QString& text) {
    Lines.clear();
    Parse(text);
}

void TIniFile::Parse(const QString& text) {
    Invalidate();
    Source = text;
    const QStringView src(Source);
    Lines.reserve(Lines.size() + static_cast<size_t>(src.count(QLatin1Char('\n'))) + 1);
    qsizetype pos = 0;
    const qsizetype n = src.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        Lines.push_back(MakeLine(src.mid(pos, end - pos)));
        // One line break: CR LF, LF or a lone CR.
        if (end < n && text[end] == QLatin1Char('\r') && end + 1 < n && text[end + 1] == QLatin1Char('\n'))
            pos = end + 2;
        else
            pos = end + 1;
    }
}

void TIniFile::BuildIndex() const {
    if (IndexValid)
        return;
    Index.clear();
    for (qsizetype i = 0; i < static_cast<qsizetype>(Lines.size()); ++i) {
        const Line& l = Lines[static_cast<size_t>(i)];
        if (l.LineKind == Kind::Section) {
            // A repeated section is listed but never consulted: the first one answers.
            auto [it, inserted] = Index.try_emplace(l.Name());
            if (inserted)
                it->second.Header = i;
        }
    }
    IndexValid = true;
}

qsizetype TIniFile::FindSection(const QString& section) const {
    BuildIndex();
    auto it = Index.find(QStringView(section).trimmed());
    return it == Index.end() ? -1 : it->second.Header;
}

qsizetype TIniFile::FindKey(const QString& section, const QString& key) const {
    BuildIndex();
    auto it = Index.find(QStringView(section).trimmed());
    if (it == Index.end())
        return -1;
    const SectionIndex& si = it->second;
    if (!si.KeysBuilt) {
        const qsizetype end = SectionEnd(si.Header);
        for (qsizetype i = si.Header + 1; i < end; ++i) {
            const Line& l = Lines[static_cast<size_t>(i)];
            if (l.LineKind == Kind::Key)
                si.Keys.try_emplace(l.Name(), i);
        }
        si.KeysBuilt = true;
    }
    auto k = si.Keys.find(QStringView(key).trimmed());
    return k == si.Keys.end() ? -1 : k->second;
}

const TIniFile::Line* TIniFile::Find(const QString& section, const QString& key) const {
    const qsizetype i = FindKey(section, key);
    return i < 0 ? nullptr : &Lines[static_cast<size_t>(i)];
}

qsizetype TIniFile::SectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < static_cast<qsizetype>(Lines.size()) &&
           Lines[static_cast<size_t>(i)].LineKind != Kind::Section)
        ++i;
    return i;
}

QStringList TIniFile::ReadSections() const {
    QStringList out;
    for (const Line& l : Lines)
        if (l.LineKind == Kind::Section)
            out.append(l.Name().toString());
    return out;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList out;
    for (const auto& kv : ReadSectionValues(section))
        out.append(kv.first);
    return out;
}

std::vector<std::pair<QString, QString>> TIniFile::ReadSectionValues(const QString& section) const {
    std::vector<std::pair<QString, QString>> out;
    const qsizetype h = FindSection(section);
    if (h < 0)
        return out;
    const qsizetype end = SectionEnd(h);
    std::unordered_map<QStringView, bool, CiHash, CiEqual> seen;
    for (qsizetype i = h + 1; i < end; ++i) {
        const Line& l = Lines[static_cast<size_t>(i)];
        if (l.LineKind != Kind::Key || !seen.try_emplace(l.Name(), true).second)
            continue;
        QStringView v = l.Value();
        if (v.size() > MaxValueLength)
            v = v.left(MaxValueLength);
        out.emplace_back(l.Name().toString(), v.toString());
    }
    return out;
}

void TIniFile::ForEachKey(const QString& section,
                          const std::function<void(QStringView, QStringView)>& visit) const {
    const qsizetype h = FindSection(section);
    if (h < 0)
        return;
    const qsizetype end = SectionEnd(h);
    for (qsizetype i = h + 1; i < end; ++i) {
        const Line& l = Lines[static_cast<size_t>(i)];
        if (l.LineKind == Kind::Key) {
            const QStringView v = l.Value();
            visit(l.Name(), v.size() > MaxValueLength ? v.left(MaxValueLength) : v);
        }
    }
}

bool TIniFile::SectionExists(const QString& section) const {
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return Find(section, key) != nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const Line* l = Find(section, key);
    if (!l)
        return def;
    const QStringView v = l->Value();
    return (v.size() > MaxValueLength ? v.left(MaxValueLength) : v).toString();
}

QString TIniFile::ReadWholeString(const QString& section, const QString& key, const QString& def) const {
    const Line* l = Find(section, key);
    return l ? l->Value().toString() : def;
}

int32_t TIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    const Line* l = Find(section, key);
    if (!l)
        return def;
    return Numbers::ParseInt(l->Value()).value_or(def);
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    const Line* l = Find(section, key);
    if (!l)
        return def;
    return Numbers::ParseFloat(l->Value()).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Line line = OwnLine(key.trimmed() + QLatin1Char('=') + value);
    const qsizetype existing = FindKey(section, key);
    Invalidate(); // every change below moves or replaces lines the index points into
    if (existing >= 0) {
        Lines[static_cast<size_t>(existing)] = std::move(line);
        return;
    }
    const qsizetype h = FindSection(section);
    Invalidate();
    if (h < 0) {
        Lines.push_back(OwnLine(QLatin1Char('[') + section.trimmed() + QLatin1Char(']')));
        Lines.push_back(std::move(line));
        return;
    }
    // After the section's last key, so blank lines and comments before the next section stay there.
    const qsizetype end = SectionEnd(h);
    qsizetype at = h + 1;
    for (qsizetype i = h + 1; i < end; ++i)
        if (Lines[static_cast<size_t>(i)].LineKind == Kind::Key)
            at = i + 1;
    Lines.insert(Lines.begin() + at, std::move(line));
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& section) {
    const QStringView name = QStringView(section).trimmed();
    std::vector<Line> kept;
    kept.reserve(Lines.size());
    bool skipping = false;
    for (Line& l : Lines) {
        if (l.LineKind == Kind::Section)
            skipping = l.Name().compare(name, Qt::CaseInsensitive) == 0;
        if (!skipping)
            kept.push_back(std::move(l));
    }
    Invalidate();
    Lines = std::move(kept);
}

QString TIniFile::Text() const {
    QString out;
    for (const Line& l : Lines) {
        out += l.Text;
        out += QLatin1String("\r\n");
    }
    return out;
}

bool TIniFile::UpdateFile(QString* error) {
    if (Truncated) {
        if (error)
            *error = QCoreApplication::translate("Common", "файл слишком велик для перезаписи");
        return false;
    }
    TFileSave f(Path);
    if (!f.Open() || !f.Write(Cp1251::Encode(Text())) || !f.Commit()) {
        if (error)
            *error = f.Reason();
        return false;
    }
    FileFound = true;
    return true;
}
