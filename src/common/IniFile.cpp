#include "IniFile.h"

#include "Cp1251.h"
#include "Numbers.h"

#include <QFile>
#include <QSaveFile>

namespace {
QString Fold(const QString& s) { return s.trimmed().toCaseFolded(); }
} // namespace

TIniFile::TIniFile(const QString& path) : Path(path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    FileFound = true;
    const QByteArray bytes = f.read(MaxFileSize);
    Truncated = !f.atEnd();
    Parse(Cp1251::Decode(bytes));
}

void TIniFile::SetText(const QString& text) {
    Lines.clear();
    Parse(text);
}

void TIniFile::Parse(const QString& text) {
    Invalidate();
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        Line line;
        line.Raw = text.mid(pos, end - pos);
        const QString t = line.Raw.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            const qsizetype close = t.indexOf(QLatin1Char(']'));
            line.LineKind = Kind::Section;
            line.Name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        } else if (!t.isEmpty() && !t.startsWith(QLatin1Char(';'))) {
            const qsizetype eq = t.indexOf(QLatin1Char('='));
            if (eq > 0) {
                line.LineKind = Kind::Key;
                line.Name = t.left(eq).trimmed();
                line.Value = t.mid(eq + 1).trimmed();
            }
        }
        Lines.push_back(std::move(line));
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
    SectionIndex* current = nullptr;
    for (qsizetype i = 0; i < static_cast<qsizetype>(Lines.size()); ++i) {
        const Line& l = Lines[static_cast<size_t>(i)];
        if (l.LineKind == Kind::Section) {
            const QString key = l.Name.toCaseFolded();
            auto it = Index.find(key);
            if (it == Index.end()) {
                SectionIndex si;
                si.Header = i;
                current = &*Index.insert(key, std::move(si));
            } else {
                current = nullptr; // a repeated section is listed but never consulted
            }
        } else if (l.LineKind == Kind::Key && current) {
            const QString key = l.Name.toCaseFolded();
            if (!current->Keys.contains(key))
                current->Keys.insert(key, i);
        }
    }
    IndexValid = true;
}

qsizetype TIniFile::FindSection(const QString& section) const {
    BuildIndex();
    auto it = Index.constFind(Fold(section));
    return it == Index.constEnd() ? -1 : it->Header;
}

qsizetype TIniFile::FindKey(const QString& section, const QString& key) const {
    BuildIndex();
    auto it = Index.constFind(Fold(section));
    if (it == Index.constEnd())
        return -1;
    auto k = it->Keys.constFind(Fold(key));
    return k == it->Keys.constEnd() ? -1 : *k;
}

const QString* TIniFile::Find(const QString& section, const QString& key) const {
    const qsizetype i = FindKey(section, key);
    return i < 0 ? nullptr : &Lines[static_cast<size_t>(i)].Value;
}

qsizetype TIniFile::SectionEnd(qsizetype header) const {
    qsizetype i = header + 1;
    while (i < static_cast<qsizetype>(Lines.size()) && Lines[static_cast<size_t>(i)].LineKind != Kind::Section)
        ++i;
    return i;
}

QStringList TIniFile::ReadSections() const {
    QStringList out;
    for (const Line& l : Lines)
        if (l.LineKind == Kind::Section)
            out.append(l.Name);
    return out;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList out;
    const qsizetype h = FindSection(section);
    if (h < 0)
        return out;
    const qsizetype end = SectionEnd(h);
    for (qsizetype i = h + 1; i < end; ++i)
        if (Lines[static_cast<size_t>(i)].LineKind == Kind::Key)
            out.append(Lines[static_cast<size_t>(i)].Name);
    return out;
}

bool TIniFile::SectionExists(const QString& section) const { return FindSection(section) >= 0; }

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return Find(section, key) != nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const QString* v = Find(section, key);
    if (!v)
        return def;
    return v->size() > MaxValueLength ? v->left(MaxValueLength) : *v;
}

int32_t TIniFile::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    const QString* v = Find(section, key);
    if (!v)
        return def;
    return Numbers::ParseInt(*v).value_or(def);
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    const QString* v = Find(section, key);
    if (!v)
        return def;
    return Numbers::ParseFloat(*v).value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    Line line;
    line.LineKind = Kind::Key;
    line.Name = key.trimmed();
    line.Value = value.trimmed();
    line.Raw = line.Name + QLatin1Char('=') + value;
    const qsizetype existing = FindKey(section, key);
    if (existing >= 0) {
        Lines[static_cast<size_t>(existing)] = std::move(line);
        return;
    }
    qsizetype h = FindSection(section);
    if (h < 0) {
        Line header;
        header.LineKind = Kind::Section;
        header.Name = section.trimmed();
        header.Raw = QLatin1Char('[') + header.Name + QLatin1Char(']');
        Lines.push_back(std::move(header));
        Lines.push_back(std::move(line));
        Invalidate();
        return;
    }
    // After the section's last key, so blank lines and comments before the next section stay there.
    const qsizetype end = SectionEnd(h);
    qsizetype at = h + 1;
    for (qsizetype i = h + 1; i < end; ++i)
        if (Lines[static_cast<size_t>(i)].LineKind == Kind::Key)
            at = i + 1;
    Lines.insert(Lines.begin() + at, std::move(line));
    Invalidate();
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& section) {
    const QString name = Fold(section);
    std::vector<Line> kept;
    kept.reserve(Lines.size());
    bool skipping = false;
    for (Line& l : Lines) {
        if (l.LineKind == Kind::Section)
            skipping = l.Name.toCaseFolded() == name;
        if (!skipping)
            kept.push_back(std::move(l));
    }
    Lines = std::move(kept);
    Invalidate();
}

QString TIniFile::Text() const {
    QString out;
    for (const Line& l : Lines) {
        out += l.Raw;
        out += QLatin1String("\r\n");
    }
    return out;
}

bool TIniFile::UpdateFile(QString* error) {
    if (Truncated) {
        if (error)
            *error = QStringLiteral("file too large to rewrite");
        return false;
    }
    QSaveFile f(Path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = Cp1251::Encode(Text());
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    FileFound = true;
    return true;
}
