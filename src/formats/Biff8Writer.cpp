#include "formats/Biff8Writer.h"

#include <QCoreApplication>
#include <QHash>
#include <QStringList>
#include <algorithm>

namespace Biff8 {
namespace {

void Put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Patch32(QByteArray& b, qsizetype at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

bool FitsLatin1(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// Characters of s as stored: one byte each when compressed, UTF-16LE otherwise.
void PutChars(QByteArray& b, const QString& s, qsizetype from, qsizetype count, bool wide) {
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t u = s[i].unicode();
        if (wide)
            Put16(b, u);
        else
            b.append(char(u));
    }
}

// Short string with an 8-bit length (font and sheet names).
void PutShortString(QByteArray& b, const QString& s) {
    const bool wide = !FitsLatin1(s);
    b.append(char(s.size()));
    b.append(char(wide ? 1 : 0));
    PutChars(b, s, 0, s.size(), wide);
}

class TStream {
public:
    QByteArray Data;
    void Record(uint16_t type, const QByteArray& body) {
        Put16(Data, type);
        Put16(Data, static_cast<uint32_t>(body.size()));
        Data.append(body);
    }
};

QByteArray Bof(uint16_t kind) {
    QByteArray b;
    Put16(b, 0x0600); // BIFF8
    Put16(b, kind);   // 0x0005 workbook globals, 0x0010 worksheet
    Put16(b, 0x0DBB); // build
    Put16(b, 0x07CC); // year
    Put32(b, 0);      // file history
    Put32(b, 0x06);   // lowest version that can read all records
    return b;
}

QByteArray Font(bool bold) {
    QByteArray b;
    Put16(b, 200);          // 10 points, in twentieths
    Put16(b, bold ? 1 : 0); // bold flag (repeats the weight), no italic, no strike-out
    Put16(b, 0x7FFF);       // automatic colour
    Put16(b, bold ? 700 : 400);
    Put16(b, 0);         // no super/subscript
    b.append('\0');      // no underline
    b.append('\0');      // family
    b.append(char(204)); // Cyrillic character set
    b.append('\0');
    PutShortString(b, QStringLiteral("Arial"));
    return b;
}

QByteArray Xf(uint16_t font, uint16_t typeProt, uint8_t align, uint8_t used) {
    QByteArray b;
    Put16(b, font);
    Put16(b, 0); // "General" number format
    Put16(b, typeProt);
    b.append(char(align));
    b.append('\0'); // rotation
    b.append('\0'); // indent, shrink, direction
    b.append(char(used));
    Put32(b, 0);      // borders: none
    Put32(b, 0);      // border colours, fill pattern: none
    Put16(b, 0x20C0); // pattern colours: system foreground and background
    return b;
}

// Cell formats follow the 15 style formats and the default cell format: bold twice three alignments.
constexpr int KFirstCellXf = 16;
int CellXf(const TGridCell& cell) {
    const int align = cell.Alignment == TCellAlign::Center ? 1 : cell.Alignment == TCellAlign::Right ? 2 : 0;
    return KFirstCellXf + (cell.Bold ? 3 : 0) + align;
}

// SST and its CONTINUE records. A string's 3-byte header never splits; its characters may, and each
// continuation repeats the compression flag.
class TSstWriter {
public:
    TSstWriter(TStream& out, uint32_t total, uint32_t unique, int bucketSize)
        : Out(out), BucketSize(bucketSize) {
        Put32(Body, total);
        Put32(Body, unique);
    }
    void Add(const QString& s) {
        const bool wide = !FitsLatin1(s);
        const int charSize = wide ? 2 : 1;
        if (Room() < 3 + (s.isEmpty() ? 0 : charSize))
            Flush();
        if (Index % BucketSize == 0) {
            Buckets.push_back({static_cast<uint32_t>(Out.Data.size() + 4 + Body.size()),
                               static_cast<uint16_t>(4 + Body.size())});
        }
        ++Index;
        Put16(Body, static_cast<uint32_t>(s.size()));
        Body.append(char(wide ? 1 : 0));
        qsizetype done = 0;
        for (;;) {
            const qsizetype n = std::min<qsizetype>(s.size() - done, Room() / charSize);
            PutChars(Body, s, done, n, wide);
            done += n;
            if (done >= s.size())
                break;
            Flush();
            Body.append(char(wide ? 1 : 0));
        }
    }
    void Finish() {
        Flush();
        QByteArray ext;
        Put16(ext, static_cast<uint32_t>(BucketSize));
        for (const TBucket& b : Buckets) {
            Put32(ext, b.StreamPos);
            Put16(ext, b.RecordOffset);
            Put16(ext, 0);
        }
        Out.Record(RecExtSst, ext);
    }

private:
    struct TBucket {
        uint32_t StreamPos;
        uint16_t RecordOffset;
    };
    qsizetype Room() const { return KMaxRecordData - Body.size(); }
    void Flush() {
        Out.Record(First ? RecSst : RecContinue, Body);
        First = false;
        Body.clear();
    }
    TStream& Out;
    int BucketSize;
    QByteArray Body;
    bool First = true;
    int Index = 0;
    std::vector<TBucket> Buckets;
};

QString CellString(const QString& text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s.left(KMaxCellChars);
}

} // namespace

QByteArray WorkbookStream(const TGridData& grid, QString* error) {
    if (grid.RowCount > KMaxRows || grid.ColCount > KMaxCols) {
        if (error)
            *error = QCoreApplication::translate("Formats", "Таблица слишком велика для книги Excel.");
        return {};
    }

    // Shared strings, in order of first use from A1 row for row.
    QStringList strings;
    QHash<QString, uint32_t> index;
    uint32_t total = 0;
    for (int r = 0; r < grid.RowCount; ++r) {
        for (int c = 0; c < grid.ColCount; ++c) {
            const QString s = CellString(grid.Cell(c, r).Text);
            if (s.isEmpty())
                continue;
            ++total;
            if (!index.contains(s)) {
                index.insert(s, static_cast<uint32_t>(strings.size()));
                strings << s;
            }
        }
    }

    TStream st;
    st.Record(RecBof, Bof(0x0005));
    QByteArray b;
    Put16(b, 0x04B0);
    st.Record(RecInterfaceHdr, b);
    st.Record(RecInterfaceEnd, {});
    st.Record(RecCodePage, b); // 1200: UTF-16 strings
    b.clear();
    for (uint32_t v : {0u, 0u, 0x3A98u, 0x2328u, 0x0038u, 0u, 0u, 1u, 0x0258u})
        Put16(b, v);
    st.Record(RecWindow1, b);
    b.clear();
    Put16(b, 0);
    st.Record(RecDateMode, b);
    // Font index 4 does not exist in BIFF; the bold font is therefore index 5.
    for (int i = 0; i < 4; ++i)
        st.Record(RecFont, Font(false));
    st.Record(RecFont, Font(true));
    st.Record(RecXf, Xf(0, 0xFFF5, 0x20, 0x00)); // style "Normal"
    for (int i = 1; i < 15; ++i)
        st.Record(RecXf, Xf(0, 0xFFF5, 0x20, 0xF4));
    st.Record(RecXf, Xf(0, 0x0001, 0x20, 0x00)); // default cell format
    for (int bold = 0; bold < 2; ++bold)
        for (uint8_t horz : {1, 2, 3}) // left, centred, right; bottom-aligned vertically
            st.Record(RecXf, Xf(bold ? 5 : 0, 0x0001, static_cast<uint8_t>(0x20 | horz), 0xF8));
    b.clear();
    Put16(b, 0x8000); // built-in style of XF 0
    b.append('\0');   // "Normal"
    b.append(char(0xFF));
    st.Record(RecStyle, b);

    b.clear();
    Put32(b, 0); // sheet position, patched below
    b.append('\0');
    b.append('\0');
    PutShortString(b, QStringLiteral("Лист1"));
    const qsizetype sheetPosAt = st.Data.size() + 4;
    st.Record(RecBoundSheet, b);

    const int bucketSize = std::max<int>(8, static_cast<int>(strings.size() / 128 + 1));
    TSstWriter sst(st, total, static_cast<uint32_t>(strings.size()), bucketSize);
    for (const QString& s : strings)
        sst.Add(s);
    sst.Finish();
    st.Record(RecEof, {});

    Patch32(st.Data, sheetPosAt, static_cast<uint32_t>(st.Data.size()));
    st.Record(RecBof, Bof(0x0010));
    for (int c = 0; c < grid.ColCount; ++c) {
        b.clear();
        Put16(b, static_cast<uint32_t>(c));
        Put16(b, static_cast<uint32_t>(c));
        // Pixels to 1/256 of a character width, about 7 pixels per character.
        const int px = c < static_cast<int>(grid.ColWidths.size()) ? grid.ColWidths[c] : 64;
        Put16(b, static_cast<uint32_t>(std::clamp(px * 256 / 7, 256, 255 * 256)));
        Put16(b, KFirstCellXf - 1);
        Put16(b, 0);
        Put16(b, 0);
        st.Record(RecColInfo, b);
    }
    b.clear();
    Put32(b, 0);
    Put32(b, static_cast<uint32_t>(grid.RowCount));
    Put16(b, 0);
    Put16(b, static_cast<uint32_t>(grid.ColCount));
    Put16(b, 0);
    st.Record(RecDimensions, b);
    for (int r = 0; r < grid.RowCount; ++r) {
        for (int c = 0; c < grid.ColCount; ++c) {
            const TGridCell& cell = grid.Cell(c, r);
            const QString s = CellString(cell.Text);
            if (s.isEmpty())
                continue;
            b.clear();
            Put16(b, static_cast<uint32_t>(r));
            Put16(b, static_cast<uint32_t>(c));
            Put16(b, static_cast<uint32_t>(CellXf(cell)));
            Put32(b, index.value(s));
            st.Record(RecLabelSst, b);
        }
    }
    b.clear();
    for (uint32_t v : {0x06B6u, 0u, 0u, 0x40u, 0u, 0u, 0u})
        Put16(b, v);
    Put32(b, 0);
    st.Record(RecWindow2, b);
    st.Record(RecEof, {});
    return st.Data;
}

QByteArray CompoundFile(const QString& streamName, const QByteArray& stream, QString* error) {
    constexpr uint32_t KSector = 512;
    constexpr uint32_t KEndOfChain = 0xFFFFFFFE, KFreeSect = 0xFFFFFFFF, KFatSect = 0xFFFFFFFD;
    constexpr uint32_t KNoStream = 0xFFFFFFFF;
    constexpr uint32_t KMiniCutoff = 4096;
    constexpr uint32_t KHeaderFatSlots = 109;

    QByteArray data = stream;
    if (data.size() < static_cast<qsizetype>(KMiniCutoff))
        data.append(QByteArray(KMiniCutoff - data.size(), '\0'));
    const uint32_t streamSectors = static_cast<uint32_t>((data.size() + KSector - 1) / KSector);
    data.append(QByteArray(streamSectors * KSector - data.size(), '\0'));
    const uint32_t dirSector = streamSectors;
    uint32_t fatSectors = 1;
    while (fatSectors * (KSector / 4) < streamSectors + 1 + fatSectors)
        ++fatSectors;
    if (fatSectors > KHeaderFatSlots || streamName.size() > 31) {
        if (error)
            *error = QCoreApplication::translate("Formats", "Таблица слишком велика для книги Excel.");
        return {};
    }

    QByteArray out;
    out.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    out.append(QByteArray(16, '\0')); // class id
    Put16(out, 0x003E);               // minor version
    Put16(out, 0x0003);               // major version 3: 512-byte sectors
    Put16(out, 0xFFFE);               // little-endian
    Put16(out, 9);                    // sector size 2^9
    Put16(out, 6);                    // mini sector size 2^6
    out.append(QByteArray(6, '\0'));
    Put32(out, 0); // directory sector count (always 0 in version 3)
    Put32(out, fatSectors);
    Put32(out, dirSector);
    Put32(out, 0); // transaction signature
    Put32(out, KMiniCutoff);
    Put32(out, KEndOfChain); // no mini allocation table
    Put32(out, 0);
    Put32(out, KEndOfChain); // no extra allocation-table index sectors
    Put32(out, 0);
    for (uint32_t i = 0; i < KHeaderFatSlots; ++i)
        Put32(out, i < fatSectors ? dirSector + 1 + i : KFreeSect);

    out.append(data);

    auto dirEntry = [](const QString& name, uint8_t type, uint32_t child, uint32_t start, uint32_t size) {
        QByteArray e;
        for (QChar ch : name)
            Put16(e, ch.unicode());
        e.append(QByteArray(64 - e.size(), '\0'));
        Put16(e, name.isEmpty() ? 0 : static_cast<uint32_t>((name.size() + 1) * 2));
        e.append(char(type));
        e.append(char(type == 0 ? 0 : 1)); // black
        Put32(e, KNoStream);               // left sibling
        Put32(e, KNoStream);               // right sibling
        Put32(e, child);
        e.append(QByteArray(16 + 4 + 8 + 8, '\0')); // class id, state, times
        Put32(e, start);
        Put32(e, size);
        Put32(e, 0);
        return e;
    };
    out.append(dirEntry(QStringLiteral("Root Entry"), 5, 1, KEndOfChain, 0));
    out.append(dirEntry(streamName, 2, KNoStream, 0, static_cast<uint32_t>(data.size())));
    out.append(dirEntry(QString(), 0, KNoStream, 0, 0));
    out.append(dirEntry(QString(), 0, KNoStream, 0, 0));

    QByteArray fat;
    for (uint32_t i = 0; i < streamSectors; ++i)
        Put32(fat, i + 1 < streamSectors ? i + 1 : KEndOfChain);
    Put32(fat, KEndOfChain); // directory
    for (uint32_t i = 0; i < fatSectors; ++i)
        Put32(fat, KFatSect);
    fat.append(QByteArray(fatSectors * KSector - fat.size(), char(0xFF)));
    out.append(fat);
    return out;
}

} // namespace Biff8
