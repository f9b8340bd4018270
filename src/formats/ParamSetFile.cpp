#include "formats/ParamSetFile.h"

#include "common/Cp1251.h"
#include "common/FileErrors.h"
#include "model/Model.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

namespace {

enum : uint8_t {
    TagInt8 = 0x02,
    TagInt16 = 0x03,
    TagInt32 = 0x04,
    TagReal = 0x05,
    TagShortText = 0x06,
    TagIdent = 0x07,
    TagFalse = 0x08,
    TagTrue = 0x09,
    TagSet = 0x0B,
    TagLongText = 0x0C,
};

const char KSignature[4] = {'T', 'P', 'F', '0'};
const QByteArray KPropPrefix = QByteArrayLiteral("CellProperties.");
const QByteArray KGraphicPrefix = QByteArrayLiteral("CellGraphic.");

// Identifier tables: position in the list is the value.
using TIdentList = std::initializer_list<const char*>;
const TIdentList KAlignments = {"taLeftJustify", "taRightJustify", "taCenter"};
const TIdentList KBrushStyles = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                 "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
const TIdentList KFontStyles = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const TIdentList KVAlignments = {"vtaTop", "vtaCenter", "vtaBottom"};
const TIdentList KGraphicVAligns = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
const TIdentList KGraphicHAligns = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
const TIdentList KEditors = {
    "edNormal",        "edSpinEdit",     "edComboEdit",       "edComboList",      "edEditBtn",
    "edCheckBox",      "edDateEdit",     "edDateEditUpDown",  "edTimeEdit",       "edButton",
    "edDataCheckBox",  "edNumeric",      "edPositiveNumeric", "edFloat",          "edCapital",
    "edMixedCase",     "edPassword",     "edUnitEditBtn",     "edLowerCase",      "edUpperCase",
    "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit",    "edNumericEditBtn", "edFloatEditBtn",
    "edCustom",        "edRichEdit",     "edUniEdit",         "edUniComboEdit",   "edUniComboList"};
const TIdentList KGraphicKinds = {
    "ctBitmap",    "ctIcon",         "ctNone",       "ctImageList", "ctCheckBox", "ctDataCheckBox",
    "ctRotated",   "ctDataImage",    "ctNode",       "ctRadio",     "ctEmpty",    "ctImages",
    "ctPicture",   "ctFilePicture",  "ctValue",      "ctProgress",  "ctComment",  "ctButton",
    "ctBitButton", "ctVirtCheckBox", "ctProgressPie"};
constexpr int KCtCheckBox = 4;

// ---------------------------------------------------------------------------------------------
// Writing

class TRecordWriter {
public:
    explicit TRecordWriter(QByteArray& out) : Out(out) {}

    void Begin(const char* className) {
        Out.append(KSignature, 4);
        ShortName(className);
        Out.append('\0'); // empty object name
    }
    void End() {
        Out.append('\0'); // end of properties
        Out.append('\0'); // end of children
    }
    void Int(const QByteArray& name, int32_t v) {
        ShortName(name);
        if (v >= -128 && v <= 127) {
            Out.append(char(TagInt8));
            Out.append(char(static_cast<uint8_t>(v)));
        } else if (v >= -32768 && v <= 32767) {
            Out.append(char(TagInt16));
            Le(static_cast<uint32_t>(v), 2);
        } else {
            Out.append(char(TagInt32));
            Le(static_cast<uint32_t>(v), 4);
        }
    }
    void Text(const QByteArray& name, const QString& text) {
        if (text.isEmpty())
            return; // empty texts are left out
        const QByteArray bytes = Cp1251::Encode(text);
        ShortName(name);
        if (bytes.size() <= 255) {
            Out.append(char(TagShortText));
            Out.append(char(static_cast<uint8_t>(bytes.size())));
        } else {
            Out.append(char(TagLongText));
            Le(static_cast<uint32_t>(bytes.size()), 4);
        }
        Out.append(bytes);
    }
    void Bool(const QByteArray& name, bool v) {
        ShortName(name);
        Out.append(char(v ? TagTrue : TagFalse));
    }
    void Ident(const QByteArray& name, const char* ident) {
        ShortName(name);
        Out.append(char(TagIdent));
        ShortName(ident);
    }
    void EmptySet(const QByteArray& name) {
        ShortName(name);
        Out.append(char(TagSet));
        Out.append('\0');
    }
    void Color(const QByteArray& name, uint32_t color) {
        const QString ident = ColorIdentOf(color);
        if (ident.isEmpty()) {
            Int(name, static_cast<int32_t>(color));
            return;
        }
        ShortName(name);
        Out.append(char(TagIdent));
        ShortName(ident.toLatin1());
    }

private:
    void ShortName(const QByteArray& s) {
        Out.append(char(static_cast<uint8_t>(s.size())));
        Out.append(s);
    }
    void Le(uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            Out.append(char(static_cast<uint8_t>(v >> (8 * i))));
    }
    QByteArray& Out;
};

QString JoinNumbers(const std::vector<int>& numbers) {
    QStringList parts;
    for (int n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(','));
}

void WriteCell(TRecordWriter& w, const TGridCell& cell, int col, int row) {
    const bool hasProp = cell.HasProp || cell.HasCheckBox;
    w.Begin("TGridCellIO");
    w.Int("Col", col);
    w.Int("Row", row);
    w.Text("Cell", cell.Text);
    w.Bool("HasProp", hasProp);
    w.End();
    if (!hasProp)
        return;

    w.Begin("TGridCellPropIO");
    w.Bool(KPropPrefix + "IsBaseCell", true);
    w.Int(KPropPrefix + "CellSpanX", -1);
    w.Int(KPropPrefix + "CellSpanY", -1);
    w.Int(KPropPrefix + "OwnerCol", col);
    w.Int(KPropPrefix + "OwnerRow", row);
    w.Ident(KPropPrefix + "Alignment", "taLeftJustify");
    w.Color(KPropPrefix + "BorderColor", 0x000000);
    w.Int(KPropPrefix + "BorderWidth", 0);
    w.Color(KPropPrefix + "BrushColor", KColorNone);
    w.Ident(KPropPrefix + "BrushStyle", "bsSolid");
    w.Color(KPropPrefix + "FontColor", cell.HasProp ? cell.FontColor : KColorNone);
    w.Int(KPropPrefix + "FontSize", 0);
    w.EmptySet(KPropPrefix + "FontStyle");
    w.Ident(KPropPrefix + "Editor", "edNormal");
    w.Bool(KPropPrefix + "ReadOnly", false);
    w.Ident(KPropPrefix + "VAlignment", "vtaTop");
    w.Bool(KPropPrefix + "WordWrap", false);
    w.Int(KPropPrefix + "NodeLevel", 0);
    w.Bool("HasGraphic", cell.HasCheckBox);
    w.End();
    if (!cell.HasCheckBox)
        return;

    w.Begin("TGridGraphicIO");
    w.Ident(KGraphicPrefix + "CellType", "ctCheckBox");
    w.Ident(KGraphicPrefix + "CellVAlign", "vaCenter");
    w.Ident(KGraphicPrefix + "CellHAlign", "haBeforeText");
    w.Int(KGraphicPrefix + "CellIndex", 0);
    w.Bool(KGraphicPrefix + "CellTransparent", true);
    w.Bool(KGraphicPrefix + "CellCreated", false);
    w.Bool(KGraphicPrefix + "CellBoolean", cell.Checked);
    w.Int(KGraphicPrefix + "CellAngle", 0);
    w.Int(KGraphicPrefix + "CellErrFrom", 0);
    w.Int(KGraphicPrefix + "CellErrLen", 0);
    w.End();
}

// ---------------------------------------------------------------------------------------------
// Reading

struct TValue {
    uint8_t Tag = 0;
    int64_t Int = 0;
    double Real = 0;
    // Views into the file image, which outlives every value read from it.
    QByteArrayView Bytes;                // texts and identifiers
    std::vector<QByteArrayView> Members; // set members
};

// Names come from the file: shown as printable ASCII only.
QString Printable(QByteArrayView name) {
    return QString::fromLatin1(name.toByteArray().toPercentEncoding());
}

// Cursor over an untrusted file image: every read is bounds-checked and the first failure sticks.
class TReader {
public:
    explicit TReader(const QByteArray& data) : Data(data) {}

    qsizetype Remaining() const { return Data.size() - Pos; }
    bool Failed() const { return !Error.isEmpty(); }
    const QString& ErrorText() const { return Error; }

    bool Fail(const QString& detail) {
        if (Error.isEmpty())
            Error = QCoreApplication::translate("Formats", "Файл параметров повреждён (байт %1): %2.")
                        .arg(ErrorPos)
                        .arg(detail);
        return false;
    }
    bool Truncated() { return Fail(QCoreApplication::translate("Formats", "файл неожиданно закончился")); }

    bool Byte(uint8_t& b) {
        if (Remaining() < 1)
            return Truncated();
        b = static_cast<uint8_t>(Data[Pos++]);
        return true;
    }
    bool Take(qint64 n, QByteArrayView& out) {
        if (n < 0 || n > Remaining())
            return Truncated();
        out = QByteArrayView(Data).sliced(Pos, static_cast<qsizetype>(n));
        Pos += static_cast<qsizetype>(n);
        return true;
    }
    bool Le(int bytes, uint64_t& v) {
        if (Remaining() < bytes)
            return Truncated();
        v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint64_t(static_cast<uint8_t>(Data[Pos++])) << (8 * i);
        return true;
    }
    bool ShortString(QByteArrayView& out) {
        uint8_t n = 0;
        return Byte(n) && Take(n, out);
    }

    // Signature, class name (not checked) and object name.
    bool BeginRecord() {
        ErrorPos = Pos;
        QByteArrayView sig;
        if (!Take(4, sig))
            return false;
        if (sig != QByteArrayView(KSignature, 4))
            return Fail(QCoreApplication::translate("Formats", "неверная сигнатура записи"));
        QByteArrayView className, objectName;
        return ShortString(className) && ShortString(objectName);
    }

    // Next property of the current record; false with atEnd set at the end of the properties.
    bool NextProperty(QByteArrayView& name, TValue& value, bool& atEnd) {
        ErrorPos = Pos;
        uint8_t n = 0;
        if (!Byte(n))
            return false;
        if (n == 0) {
            atEnd = true;
            return true;
        }
        atEnd = false;
        return Take(n, name) && ReadValue(name, value);
    }

    bool EndRecord() {
        ErrorPos = Pos;
        uint8_t b = 0;
        if (!Byte(b))
            return false;
        if (b != 0)
            return Fail(QCoreApplication::translate("Formats", "вложенные объекты не поддерживаются"));
        return true;
    }

private:
    bool ReadValue(QByteArrayView name, TValue& v) {
        v = TValue();
        if (!Byte(v.Tag))
            return false;
        uint64_t raw = 0;
        switch (v.Tag) {
        case TagInt8:
            if (!Le(1, raw))
                return false;
            v.Int = static_cast<int8_t>(raw);
            return true;
        case TagInt16:
            if (!Le(2, raw))
                return false;
            v.Int = static_cast<int16_t>(raw);
            return true;
        case TagInt32:
            if (!Le(4, raw))
                return false;
            v.Int = static_cast<int32_t>(raw);
            return true;
        case TagReal: {
            uint64_t signExp = 0;
            if (!Le(8, raw) || !Le(2, signExp))
                return false;
            const int exponent = static_cast<int>(signExp & 0x7FFF);
            const double magnitude = std::ldexp(static_cast<double>(raw), exponent - 16383 - 63);
            v.Real = (signExp & 0x8000) ? -magnitude : magnitude;
            return true;
        }
        case TagShortText:
        case TagIdent:
            return ShortString(v.Bytes);
        case TagFalse:
        case TagTrue:
            return true;
        case TagSet:
            for (;;) {
                QByteArrayView member;
                if (!ShortString(member))
                    return false;
                if (member.isEmpty())
                    return true;
                if (v.Members.size() >= 64)
                    return Fail(
                        QCoreApplication::translate("Formats", "недопустимое значение свойства \"%1\"")
                            .arg(Printable(name)));
                v.Members.push_back(member);
            }
        case TagLongText:
            // The length comes from the file: Take refuses anything past its end before allocating.
            return Le(4, raw) && Take(static_cast<qint64>(raw), v.Bytes);
        default:
            return Fail(
                QCoreApplication::translate("Formats", "неизвестный тип значения 0x%1 у свойства \"%2\"")
                    .arg(v.Tag, 2, 16, QLatin1Char('0'))
                    .arg(Printable(name)));
        }
    }

    const QByteArray& Data;
    qsizetype Pos = 0;
    qsizetype ErrorPos = 0;
    QString Error;
};

// Typed access to one property value; each returns false (with the reader failed) on a wrong type.
class TPropertyReader {
public:
    TPropertyReader(TReader& r, QByteArrayView name, const TValue& v) : R(r), Name(name), V(v) {}

    bool Int(int64_t& out) {
        if (V.Tag != TagInt8 && V.Tag != TagInt16 && V.Tag != TagInt32)
            return WrongType();
        out = V.Int;
        return true;
    }
    bool Bool(bool& out) {
        if (V.Tag != TagFalse && V.Tag != TagTrue)
            return WrongType();
        out = V.Tag == TagTrue;
        return true;
    }
    bool Text(QString& out) {
        if (V.Tag != TagShortText && V.Tag != TagLongText)
            return WrongType();
        out = Cp1251::Decode(V.Bytes.data(), V.Bytes.size());
        return true;
    }
    bool Real(double& out) {
        if (V.Tag != TagReal)
            return WrongType();
        out = V.Real;
        return true;
    }
    bool Enum(const TIdentList& idents, int& out) {
        if (V.Tag != TagIdent)
            return WrongType();
        const std::optional<int> i = Lookup(idents, V.Bytes);
        if (!i)
            return BadValue();
        out = *i;
        return true;
    }
    bool Set(const TIdentList& idents, unsigned& out) {
        if (V.Tag != TagSet)
            return WrongType();
        out = 0;
        for (const QByteArrayView m : V.Members) {
            const std::optional<int> i = Lookup(idents, m);
            if (!i)
                return BadValue();
            out |= 1u << *i;
        }
        return true;
    }
    bool Color(uint32_t& out) {
        if (V.Tag == TagIdent) {
            for (const TColorIdent& c : ColorIdents()) {
                if (V.Bytes.compare(c.Name, Qt::CaseInsensitive) == 0) {
                    out = c.Value;
                    return true;
                }
            }
            return BadValue();
        }
        int64_t i = 0;
        if (!Int(i))
            return false;
        out = static_cast<uint32_t>(i);
        return true;
    }
    bool BadValue() {
        return R.Fail(QCoreApplication::translate("Formats", "недопустимое значение свойства \"%1\"")
                          .arg(Printable(Name)));
    }

private:
    static std::optional<int> Lookup(const TIdentList& idents, QByteArrayView ident) {
        int i = 0;
        for (const char* s : idents) {
            if (ident.compare(s, Qt::CaseInsensitive) == 0)
                return i;
            ++i;
        }
        return std::nullopt;
    }
    bool WrongType() {
        return R.Fail(QCoreApplication::translate("Formats", "неверный тип значения свойства \"%1\"")
                          .arg(Printable(Name)));
    }
    TReader& R;
    const QByteArrayView Name;
    const TValue& V;
};

bool Is(QByteArrayView name, const char* expected) {
    // The length first: a property is looked up among many names, and most differ in it.
    const QByteArrayView e(expected);
    return name.size() == e.size() && name.compare(e, Qt::CaseInsensitive) == 0;
}

// Strips the prefix (letter case ignored); false when the name does not carry it.
bool StripPrefix(QByteArrayView name, QByteArrayView prefix, QByteArrayView& rest) {
    if (name.size() <= prefix.size() || name.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) != 0)
        return false;
    rest = name.sliced(prefix.size());
    return true;
}

bool UnknownProperty(TReader& r, QByteArrayView name) {
    return r.Fail(QCoreApplication::translate("Formats", "неизвестное свойство \"%1\"").arg(Printable(name)));
}

bool ParseExtents(const QString& text, std::vector<int>& out) {
    out.clear();
    if (text.isEmpty())
        return true;
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > KParamSetMaxRows)
        return false;
    for (const QString& p : parts) {
        bool ok = false;
        const int n = p.toInt(&ok);
        if (!ok || n < 0 || n > KParamSetMaxExtent)
            return false;
        out.push_back(n);
    }
    return true;
}

struct THeader {
    std::optional<int64_t> ColCount; // absent: the table's own count
    std::optional<int64_t> RowCount;
    std::vector<int> ColWidths, RowHeights;
    bool FullGrid = false;
};

bool ReadHeader(TReader& r, THeader& h) {
    if (!r.BeginRecord())
        return false;
    for (;;) {
        QByteArrayView name;
        TValue v;
        bool atEnd = false;
        if (!r.NextProperty(name, v, atEnd))
            return false;
        if (atEnd)
            break;
        TPropertyReader p(r, name, v);
        int64_t ignored = 0;
        QString text;
        bool ok = true;
        if (Is(name, "ColCount"))
            ok = p.Int(h.ColCount.emplace());
        else if (Is(name, "RowCount"))
            ok = p.Int(h.RowCount.emplace());
        else if (Is(name, "ColWidths"))
            ok = p.Text(text) && (ParseExtents(text, h.ColWidths) || p.BadValue());
        else if (Is(name, "RowHeights"))
            ok = p.Text(text) && (ParseExtents(text, h.RowHeights) || p.BadValue());
        else if (Is(name, "FullGrid"))
            ok = p.Bool(h.FullGrid);
        else if (Is(name, "ID"))
            ok = p.Int(ignored);
        else
            ok = UnknownProperty(r, name);
        if (!ok)
            return false;
    }
    return r.EndRecord();
}

struct TCellRecord {
    int64_t Col = 0;
    int64_t Row = 0;
    QString Text;
    bool HasProp = false;
};

bool ReadCellRecord(TReader& r, TCellRecord& c) {
    if (!r.BeginRecord())
        return false;
    for (;;) {
        QByteArrayView name;
        TValue v;
        bool atEnd = false;
        if (!r.NextProperty(name, v, atEnd))
            return false;
        if (atEnd)
            break;
        TPropertyReader p(r, name, v);
        bool ok = true;
        if (Is(name, "Col"))
            ok = p.Int(c.Col);
        else if (Is(name, "Row"))
            ok = p.Int(c.Row);
        else if (Is(name, "Cell"))
            ok = p.Text(c.Text);
        else if (Is(name, "HasProp"))
            ok = p.Bool(c.HasProp);
        else
            ok = UnknownProperty(r, name);
        if (!ok)
            return false;
    }
    return r.EndRecord();
}

struct TPropRecord {
    uint32_t FontColor = KColorNone;
    bool HasGraphic = false;
};

bool ReadPropRecord(TReader& r, TPropRecord& c) {
    if (!r.BeginRecord())
        return false;
    for (;;) {
        QByteArrayView name, rest;
        TValue v;
        bool atEnd = false;
        if (!r.NextProperty(name, v, atEnd))
            return false;
        if (atEnd)
            break;
        TPropertyReader p(r, name, v);
        int64_t i = 0;
        bool b = false;
        int e = 0;
        unsigned set = 0;
        uint32_t color = 0;
        QString text;
        bool ok = true;
        if (Is(name, "HasGraphic"))
            ok = p.Bool(c.HasGraphic);
        else if (!StripPrefix(name, KPropPrefix, rest))
            ok = UnknownProperty(r, name);
        else if (Is(rest, "IsBaseCell") || Is(rest, "ReadOnly") || Is(rest, "WordWrap"))
            ok = p.Bool(b);
        else if (Is(rest, "CellSpanX") || Is(rest, "CellSpanY") || Is(rest, "OwnerCol") ||
                 Is(rest, "OwnerRow") || Is(rest, "BorderWidth") || Is(rest, "FontSize") ||
                 Is(rest, "NodeLevel"))
            ok = p.Int(i);
        else if (Is(rest, "Alignment"))
            ok = p.Enum(KAlignments, e);
        else if (Is(rest, "BrushStyle"))
            ok = p.Enum(KBrushStyles, e);
        else if (Is(rest, "Editor"))
            ok = p.Enum(KEditors, e);
        else if (Is(rest, "VAlignment"))
            ok = p.Enum(KVAlignments, e);
        else if (Is(rest, "BorderColor") || Is(rest, "BrushColor"))
            ok = p.Color(color);
        else if (Is(rest, "FontColor"))
            ok = p.Color(c.FontColor);
        else if (Is(rest, "FontName"))
            ok = p.Text(text);
        else if (Is(rest, "FontStyle"))
            ok = p.Set(KFontStyles, set);
        else
            ok = UnknownProperty(r, name);
        if (!ok)
            return false;
    }
    return r.EndRecord();
}

struct TGraphicRecord {
    int Kind = 2; // ctNone until the record says otherwise
    bool Checked = false;
};

bool ReadGraphicRecord(TReader& r, TGraphicRecord& g) {
    if (!r.BeginRecord())
        return false;
    for (;;) {
        QByteArrayView name, rest;
        TValue v;
        bool atEnd = false;
        if (!r.NextProperty(name, v, atEnd))
            return false;
        if (atEnd)
            break;
        TPropertyReader p(r, name, v);
        int64_t i = 0;
        bool b = false;
        int e = 0;
        double real = 0;
        QString text;
        bool ok = true;
        if (!StripPrefix(name, KGraphicPrefix, rest))
            ok = UnknownProperty(r, name);
        else if (Is(rest, "CellType"))
            ok = p.Enum(KGraphicKinds, g.Kind);
        else if (Is(rest, "CellVAlign"))
            ok = p.Enum(KGraphicVAligns, e);
        else if (Is(rest, "CellHAlign"))
            ok = p.Enum(KGraphicHAligns, e);
        else if (Is(rest, "CellIndex") || Is(rest, "CellAngle") || Is(rest, "CellErrFrom") ||
                 Is(rest, "CellErrLen"))
            ok = p.Int(i);
        else if (Is(rest, "CellTransparent") || Is(rest, "CellCreated"))
            ok = p.Bool(b);
        else if (Is(rest, "CellBoolean"))
            ok = p.Bool(g.Checked);
        else if (Is(rest, "CellValue"))
            ok = p.Real(real);
        else if (Is(rest, "CellText"))
            ok = p.Text(text);
        else
            ok = UnknownProperty(r, name);
        if (!ok)
            return false;
    }
    if (!r.EndRecord())
        return false;
    if (g.Kind != KCtCheckBox)
        return r.Fail(QCoreApplication::translate("Formats", "графика ячейки этого вида не поддерживается"));
    return true;
}

TParamSetReadResult Finish(const TReader& r, int cells) {
    TParamSetReadResult res;
    res.Ok = !r.Failed();
    res.Error = r.ErrorText();
    res.CellsRead = cells;
    return res;
}

} // namespace

QByteArray EncodeParamSet(const TGridData& grid, int32_t id) {
    QByteArray out;
    TRecordWriter w(out);
    w.Begin("TGridPropIO");
    w.Int("ColCount", grid.ColCount);
    w.Int("RowCount", grid.RowCount);
    w.Text("ColWidths", JoinNumbers(grid.ColWidths));
    w.Text("RowHeights", JoinNumbers(grid.RowHeights));
    w.Bool("FullGrid", true);
    w.Int("ID", id);
    w.End();
    for (int c = 0; c < grid.ColCount; ++c) {
        for (int r = 0; r < grid.RowCount; ++r) {
            const TGridCell& cell = grid.Cell(c, r);
            if (!cell.Text.isEmpty() || cell.HasProp || cell.HasCheckBox)
                WriteCell(w, cell, c, r);
        }
    }
    return out;
}

TParamSetReadResult DecodeParamSet(const QByteArray& bytes, TGridData& grid) {
    TReader r(bytes);
    int cells = 0;

    THeader h;
    if (!ReadHeader(r, h))
        return Finish(r, cells);
    if (h.FullGrid) {
        const int64_t colCount = h.ColCount.value_or(grid.ColCount);
        const int64_t rowCount = h.RowCount.value_or(grid.RowCount);
        if (colCount < 1 || rowCount < 1 || colCount > KParamSetMaxCols || rowCount > KParamSetMaxRows ||
            colCount * rowCount > KParamSetMaxCells) {
            r.Fail(QCoreApplication::translate("Formats", "недопустимый размер таблицы %1 x %2")
                       .arg(colCount)
                       .arg(rowCount));
            return Finish(r, cells);
        }
        grid.Reset(static_cast<int>(colCount), static_cast<int>(rowCount));
        for (size_t i = 0; i < h.ColWidths.size() && i < grid.ColWidths.size(); ++i)
            grid.ColWidths[i] = h.ColWidths[i];
        for (size_t i = 0; i < h.RowHeights.size() && i < grid.RowHeights.size(); ++i)
            grid.RowHeights[i] = h.RowHeights[i];
    }

    // A partial set lands relative to its first cell; a full one at the stored positions.
    bool haveOrigin = h.FullGrid;
    int64_t originCol = 0, originRow = 0;
    while (r.Remaining() >= 2) {
        TCellRecord c;
        if (!ReadCellRecord(r, c))
            break;
        if (!haveOrigin) {
            originCol = c.Col;
            originRow = c.Row;
            haveOrigin = true;
        }
        const int64_t col = c.Col - originCol, row = c.Row - originRow;
        if (col < 0 || row < 0 || col >= grid.ColCount || row >= grid.RowCount) {
            r.Fail(
                QCoreApplication::translate("Formats", "ячейка (%1, %2) вне таблицы").arg(c.Col).arg(c.Row));
            break;
        }
        TGridCell& cell = grid.Cell(static_cast<int>(col), static_cast<int>(row));
        cell.Text = c.Text;
        ++cells;
        if (!c.HasProp)
            continue;
        TPropRecord p;
        if (!ReadPropRecord(r, p))
            break;
        cell.HasProp = true;
        cell.FontColor = p.FontColor;
        if (!p.HasGraphic)
            continue;
        TGraphicRecord g;
        if (!ReadGraphicRecord(r, g))
            break;
        cell.HasCheckBox = true;
        cell.Checked = g.Checked;
    }
    return Finish(r, cells);
}

TFileResult WriteParamSetFile(const TGridData& grid, const QString& fileName, int32_t id) {
    return SaveFileBytes(fileName, EncodeParamSet(grid, id));
}

TParamSetReadResult ReadParamSetFile(TGridData& grid, const QString& fileName) {
    QFile file(fileName);
    TParamSetReadResult res;
    res.Ok = false;
    if (!file.open(QIODevice::ReadOnly)) {
        res.Error = QCoreApplication::translate("Formats", "Не удалось открыть файл \"%1\": %2")
                        .arg(QFileInfo(fileName).fileName(), FileErrorReason(file.errorString(), false));
        return res;
    }
    if (file.size() > KParamSetMaxFileSize) {
        res.Error = QCoreApplication::translate("Formats", "Файл \"%1\" слишком велик для файла параметров.")
                        .arg(QFileInfo(fileName).fileName());
        return res;
    }
    // A file of known size is read at once; devices and pipes in pieces up to the limit (asking for
    // the whole limit at once would reserve 64 MB for every file).
    QByteArray bytes;
    if (!file.isSequential()) {
        bytes = file.readAll();
    } else {
        while (bytes.size() <= KParamSetMaxFileSize) {
            const QByteArray piece =
                file.read(std::min<qint64>(1 << 16, KParamSetMaxFileSize + 1 - bytes.size()));
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
    }
    if (bytes.size() > KParamSetMaxFileSize) { // devices and pipes report no size beforehand
        res.Error = QCoreApplication::translate("Formats", "Файл \"%1\" слишком велик для файла параметров.")
                        .arg(QFileInfo(fileName).fileName());
        return res;
    }
    if (file.error() != QFileDevice::NoError) {
        res.Error = QCoreApplication::translate("Formats", "Ошибка чтения файла \"%1\": %2")
                        .arg(QFileInfo(fileName).fileName(), FileErrorReason(file.errorString(), false));
        return res;
    }
    return DecodeParamSet(bytes, grid);
}
