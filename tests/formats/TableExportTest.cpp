// Exports of the device table: text layout, RTF table, Excel 97 workbook in its compound file, HTML.

#include "formats/Biff8Writer.h"
#include "common/Cp1251.h"
#include "formats/TableExport.h"
#include "TestUtil.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

constexpr uint32_t KMaroon = 0x000080;
constexpr uint32_t KGrayText = 0x80000011;

// A small device table with the view's appearance: header centred bold, names left bold maroon on the
// parameter colour, values centred.
TGridData SampleGrid() {
    TGridData g;
    g.Reset(2, 5);
    g.ColWidths = {300, 100};
    const QString names[] = {QStringLiteral(" Параметр"), QStringLiteral(" Напряжение"),
                             QStringLiteral(" Ток"), QStringLiteral(" Режим"), QStringLiteral(" Адрес")};
    const QString values[] = {QStringLiteral(" Значение"), QStringLiteral("220"), QString(),
                              QStringLiteral("вкл\nдалее"), QStringLiteral("17")};
    for (int r = 0; r < 5; ++r) {
        TGridCell& n = g.Cell(0, r);
        TGridCell& v = g.Cell(1, r);
        n.Text = names[r];
        v.Text = values[r];
        n.Bold = true;
        v.Bold = r == 0;
        n.Alignment = r == 0 ? TCellAlign::Center : TCellAlign::Left;
        v.Alignment = TCellAlign::Center;
        if (r > 0) {
            n.ShownFontColor = KMaroon;
            n.ShownBrushColor = v.ShownBrushColor = 0x00E0F0FF; // 0x00BBGGRR
        }
    }
    g.Cell(1, 2).HasCheckBox = true;
    g.Cell(1, 2).Checked = true;
    g.Cell(1, 4).Alignment = TCellAlign::Right;
    g.Cell(1, 3).HasProp = true;
    g.Cell(1, 3).FontColor = KGrayText;
    return g;
}

QStringList CrLfLines(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "every line ends in CR LF";
    QStringList lines = Cp1251::Decode(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

// ------------------------------------------------------------------ compound file and BIFF8

uint32_t U32(const QByteArray& b, qsizetype at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const QByteArray& b, qsizetype at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

// Reads one stream out of a version-3 compound file, checking the container on the way.
QByteArray CfbStream(const QByteArray& file, const QString& name) {
    EXPECT_EQ(file.left(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    EXPECT_EQ(file.size() % 512, 0);
    EXPECT_EQ(U16(file, 26), 3);      // major version
    EXPECT_EQ(U16(file, 28), 0xFFFE); // byte order
    EXPECT_EQ(U16(file, 30), 9);      // 512-byte sectors
    EXPECT_EQ(U32(file, 56), 4096u);  // mini-stream cut-off
    const uint32_t fatSectors = U32(file, 44);
    auto sector = [&](uint32_t s) { return file.mid(512 + qsizetype(s) * 512, 512); };
    std::vector<uint32_t> fat;
    for (uint32_t i = 0; i < fatSectors; ++i) {
        const uint32_t s = U32(file, 76 + 4 * i);
        EXPECT_LT(512 + qsizetype(s) * 512, file.size());
        const QByteArray fs = sector(s);
        for (int k = 0; k < 128; ++k)
            fat.push_back(U32(fs, 4 * k));
    }
    for (uint32_t i = 0; i < fatSectors; ++i)
        EXPECT_EQ(fat.at(U32(file, 76 + 4 * i)), 0xFFFFFFFDu) << "FAT sectors are marked as such";
    auto chain = [&](uint32_t start) {
        std::vector<uint32_t> c;
        for (uint32_t s = start; s != 0xFFFFFFFEu; s = fat.at(s)) {
            if (s >= fat.size() || c.size() > fat.size()) {
                ADD_FAILURE() << "broken chain";
                break;
            }
            c.push_back(s);
        }
        return c;
    };
    QByteArray dir;
    for (uint32_t s : chain(U32(file, 48)))
        dir += sector(s);
    EXPECT_EQ(dir.at(66), 5) << "entry 0 is the root";
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(dir.constData()), U16(dir, 64) / 2 - 1),
              QStringLiteral("Root Entry"));
    for (qsizetype e = 0; e + 128 <= dir.size(); e += 128) {
        const QByteArray entry = dir.mid(e, 128);
        const int nameBytes = U16(entry, 64);
        if (entry.at(66) != 2 || nameBytes < 2)
            continue;
        const QString n =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(entry.constData()), nameBytes / 2 - 1);
        if (n != name)
            continue;
        const uint32_t size = U32(entry, 120);
        EXPECT_GE(size, 4096u) << "the stream must live in regular sectors";
        QByteArray data;
        const std::vector<uint32_t> c = chain(U32(entry, 116));
        EXPECT_EQ(c.size(), (size + 511) / 512);
        for (uint32_t s : c)
            data += sector(s);
        return data.left(size);
    }
    ADD_FAILURE() << "no stream " << name.toStdString();
    return {};
}

struct TBiffRecord {
    uint16_t Type;
    qsizetype Offset; // of the record header in the stream
    QByteArray Body;
};

std::vector<TBiffRecord> BiffRecords(const QByteArray& stream) {
    std::vector<TBiffRecord> out;
    qsizetype i = 0;
    while (i + 4 <= stream.size()) {
        const uint16_t type = U16(stream, i), len = U16(stream, i + 2);
        if (type == 0 && len == 0)
            break; // padding after the last sheet
        EXPECT_LE(len, Biff8::KMaxRecordData);
        EXPECT_LE(i + 4 + len, stream.size());
        out.push_back({type, i, stream.mid(i + 4, len)});
        i += 4 + len;
    }
    return out;
}

struct TSst {
    QStringList Strings;
    std::vector<qsizetype> StreamPos; // where each string's header starts
    int SplitStrings = 0;
    uint32_t Total = 0;
};

// Reads the SST with its CONTINUE records the way Excel does: a string's characters may continue in
// the next record, which then starts with a fresh compression flag.
TSst ReadSst(const std::vector<TBiffRecord>& recs, size_t sstIndex) {
    TSst sst;
    size_t ri = sstIndex;
    qsizetype pos = 8;
    sst.Total = U32(recs[ri].Body, 0);
    const uint32_t unique = U32(recs[ri].Body, 4);
    for (uint32_t k = 0; k < unique; ++k) {
        if (pos >= recs[ri].Body.size()) {
            ++ri;
            pos = 0;
            EXPECT_EQ(recs.at(ri).Type, Biff8::RecContinue);
        }
        const QByteArray* body = &recs[ri].Body;
        EXPECT_LE(pos + 3, body->size()) << "a string header never splits";
        sst.StreamPos.push_back(recs[ri].Offset + 4 + pos);
        const int cch = U16(*body, pos);
        uint8_t flags = uint8_t(body->at(pos + 2));
        EXPECT_EQ(flags & 0xFE, 0) << "plain strings only";
        pos += 3;
        QString s;
        bool split = false;
        while (s.size() < cch) {
            if (pos >= body->size()) {
                ++ri;
                EXPECT_EQ(recs.at(ri).Type, Biff8::RecContinue);
                body = &recs[ri].Body;
                flags = uint8_t(body->at(0));
                pos = 1;
                split = true;
            }
            if (flags & 1) {
                s += QChar(U16(*body, pos));
                pos += 2;
            } else {
                s += QChar(uint8_t(body->at(pos)));
                pos += 1;
            }
        }
        sst.SplitStrings += split;
        sst.Strings << s;
    }
    return sst;
}

struct TWorkbook {
    std::vector<TBiffRecord> Recs;
    TSst Sst;
    std::map<std::pair<int, int>, QString> Cells; // (row, col)
    std::vector<std::pair<int, int>> Order;
    std::map<std::pair<int, int>, int> CellXf;
    std::vector<QByteArray> Xfs, Fonts;
};

TWorkbook ReadWorkbook(const QByteArray& file) {
    TWorkbook wb;
    const QByteArray stream = CfbStream(file, QStringLiteral("Workbook"));
    wb.Recs = BiffRecords(stream);
    const auto& recs = wb.Recs;
    EXPECT_GE(recs.size(), 10u);
    if (recs.size() < 10)
        return wb;
    EXPECT_EQ(recs[0].Type, Biff8::RecBof);
    EXPECT_EQ(U16(recs[0].Body, 0), 0x0600);
    EXPECT_EQ(U16(recs[0].Body, 2), 0x0005);
    bool sawCodePage = false, sawWindow1 = false;
    qsizetype sheetAt = -1;
    size_t i = 1;
    for (; i < recs.size() && recs[i].Type != Biff8::RecEof; ++i) {
        const TBiffRecord& r = recs[i];
        if (r.Type == Biff8::RecCodePage) {
            sawCodePage = true;
            EXPECT_EQ(U16(r.Body, 0), 1200);
        } else if (r.Type == Biff8::RecWindow1) {
            sawWindow1 = true;
        } else if (r.Type == Biff8::RecFont) {
            wb.Fonts.push_back(r.Body);
        } else if (r.Type == Biff8::RecXf) {
            EXPECT_EQ(r.Body.size(), 20);
            wb.Xfs.push_back(r.Body);
        } else if (r.Type == Biff8::RecBoundSheet) {
            sheetAt = U32(r.Body, 0);
        } else if (r.Type == Biff8::RecSst) {
            wb.Sst = ReadSst(recs, i);
        } else if (r.Type == Biff8::RecExtSst) {
            const int bucket = U16(r.Body, 0);
            for (qsizetype b = 2, k = 0; b + 8 <= r.Body.size(); b += 8, k += bucket) {
                if (size_t(k) >= wb.Sst.StreamPos.size()) {
                    ADD_FAILURE() << "bucket past the last string";
                    break;
                }
                EXPECT_EQ(qsizetype(U32(r.Body, b)), wb.Sst.StreamPos[k]) << "bucket of string " << k;
            }
        }
    }
    EXPECT_TRUE(sawCodePage);
    EXPECT_TRUE(sawWindow1);
    EXPECT_GE(wb.Fonts.size(), 5u);
    EXPECT_GE(wb.Xfs.size(), 16u);
    EXPECT_LT(i, recs.size());
    // The sheet starts right after the globals' EOF, where BOUNDSHEET points.
    ++i;
    EXPECT_LT(i, recs.size());
    if (i >= recs.size())
        return wb;
    EXPECT_EQ(recs[i].Offset, sheetAt);
    EXPECT_EQ(recs[i].Type, Biff8::RecBof);
    EXPECT_EQ(U16(recs[i].Body, 2), 0x0010);
    for (++i; i < recs.size(); ++i) {
        const TBiffRecord& r = recs[i];
        if (r.Type == Biff8::RecLabelSst) {
            const std::pair<int, int> at{U16(r.Body, 0), U16(r.Body, 2)};
            wb.Order.push_back(at);
            wb.CellXf[at] = U16(r.Body, 4);
            const uint32_t isst = U32(r.Body, 6);
            EXPECT_LT(isst, uint32_t(wb.Sst.Strings.size()));
            wb.Cells[at] = wb.Sst.Strings.value(isst);
        }
    }
    EXPECT_EQ(recs.back().Type, Biff8::RecEof);
    EXPECT_EQ(wb.Sst.Total, wb.Cells.size());
    return wb;
}

} // namespace

// ------------------------------------------------------------------------------------ text

TEST(TextExport, LaysOutFieldsByAlignmentInWindows1251WithCrLf) {
    const QByteArray bytes = TextExportBytes(SampleGrid());
    EXPECT_TRUE(bytes.contains(Cp1251::Encode(QStringLiteral("Параметр"))));
    const QStringList lines = CrLfLines(bytes);
    // Column widths 11 (" Напряжение") and 9 (" Значение"); each field one longer.
    // Column widths 11 (" Напряжение") and 9 (" Значение"); every field is padded to one more.
    const QString blank = QStringLiteral(" ");
    const QStringList expected = {
        QStringLiteral("  Параметр  ") + QStringLiteral(" Значение "), // both header texts centred
        QStringLiteral(" Напряжение ") + QStringLiteral("   220    "),
        QStringLiteral(" Ток") + blank.repeated(8) + blank.repeated(10), // check box: its empty text
        QStringLiteral(" Режим") + blank.repeated(6) + QStringLiteral("   вкл    "), // cut at the line break
        QStringLiteral(" Адрес") + blank.repeated(6) + QStringLiteral("       17 "), // right-aligned
    };
    EXPECT_EQ(lines, expected);
}

TEST(TextExport, CentringMayEndOneLongerAndLongFieldsGetNoPadding) {
    TGridData g;
    g.Reset(2, 2);
    g.Cell(0, 0).Text = "abcd";
    g.Cell(0, 1).Text = "ab";
    g.Cell(0, 1).Alignment = TCellAlign::Center;
    g.Cell(1, 0).Text = "xyz";
    g.Cell(1, 1).Text = "x\r\ny";
    g.Cell(1, 1).Alignment = TCellAlign::Right;
    const QStringList lines = CrLfLines(TextExportBytes(g));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "abcd xyz  ");
    // "ab" in width 4 centres to 4 then gets one blank; "x" right-aligned in width 4 ("x\r\ny" is 4 long).
    EXPECT_EQ(lines[1], " ab     x ");
    g.Cell(0, 1).Text = "abc";
    EXPECT_EQ(CrLfLines(TextExportBytes(g))[1], " abc    x ")
        << "odd centring ends one longer, no extra blank";
}

// ------------------------------------------------------------------------------------- RTF

namespace {
struct TRtfCell {
    QString Align;
    QString Text;
};
// Cells of an RTF table as written: "\pard\intbl\qX{<format> <text>}\cell".
std::vector<TRtfCell> RtfCells(const QByteArray& rtf) {
    std::vector<TRtfCell> out;
    static const QRegularExpression re(
        QStringLiteral(R"(\\pard\\intbl\\(q[lcr])\{((?:\\[a-z]+\d*)+ )?(.*?)\}\\cell)"));
    auto it = re.globalMatch(QString::fromLatin1(rtf));
    while (it.hasNext()) {
        const auto m = it.next();
        const QString raw = m.captured(3);
        QByteArray bytes;
        QString text;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != QLatin1Char('\\')) {
                bytes += raw[i].toLatin1();
                continue;
            }
            const QChar n = raw[i + 1];
            if (n == QLatin1Char('\'')) {
                bytes += char(raw.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
            } else if (n == QLatin1Char('u')) {
                const qsizetype q = raw.indexOf(QLatin1Char('?'), i);
                text += Cp1251::Decode(bytes);
                bytes.clear();
                text += QChar(char16_t(raw.mid(i + 2, q - i - 2).toInt()));
                i = q;
            } else if (raw.mid(i, 6) == QLatin1String("\\line ")) {
                bytes += '\n';
                i += 5;
            } else {
                bytes += n.toLatin1();
                ++i;
            }
        }
        out.push_back({m.captured(1), text + Cp1251::Decode(bytes)});
    }
    return out;
}
} // namespace

TEST(DocExport, WritesARealRtfTableWithPerCellAlignmentAndCyrillicEscapes) {
    TGridData g = SampleGrid();
    g.Cell(1, 1).Text = QStringLiteral("{a}\\b Ё 日");
    const QByteArray rtf = RtfExportBytes(g);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uint8_t(c) < 0x80; }))
        << "7-bit file";
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        EXPECT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0) << "balanced groups";
    EXPECT_EQ(rtf.count("\\trowd"), g.RowCount);
    EXPECT_EQ(rtf.count("\\row\r\n"), g.RowCount);
    EXPECT_EQ(rtf.count("\\cellx"), g.RowCount * g.ColCount);
    EXPECT_EQ(rtf.count("\\trhdr"), 1);
    EXPECT_TRUE(rtf.contains("\\cellx4500")) << "300 px at 15 twips";
    EXPECT_TRUE(rtf.contains("\\'cf\\'e0\\'f0\\'e0\\'ec\\'e5\\'f2\\'f0"))
        << "Параметр as Windows-1251 escapes";

    const std::vector<TRtfCell> cells = RtfCells(rtf);
    ASSERT_EQ(cells.size(), size_t(g.RowCount * g.ColCount));
    for (int r = 0; r < g.RowCount; ++r) {
        for (int c = 0; c < g.ColCount; ++c) {
            const TGridCell& cell = g.Cell(c, r);
            const TRtfCell& out = cells[size_t(r * g.ColCount + c)];
            const char* align = cell.Alignment == TCellAlign::Right    ? "qr"
                                : cell.Alignment == TCellAlign::Center ? "qc"
                                                                       : "ql";
            EXPECT_EQ(out.Align, QLatin1String(align)) << c << "," << r;
            EXPECT_EQ(out.Text, cell.Text) << c << "," << r;
        }
    }
}

// ------------------------------------------------------------------------------------- XLS

TEST(XlsExport, SmallTableIsAWorkbookWithEveryTextFromA1) {
    const TGridData g = SampleGrid();
    QString error;
    const QByteArray file = XlsExportBytes(g, &error);
    ASSERT_FALSE(file.isEmpty()) << error.toStdString();
    const TWorkbook wb = ReadWorkbook(file);
    std::vector<std::pair<int, int>> expectedOrder;
    for (int r = 0; r < g.RowCount; ++r) {
        for (int c = 0; c < g.ColCount; ++c) {
            const TGridCell& cell = g.Cell(c, r);
            if (cell.Text.isEmpty()) {
                EXPECT_EQ(wb.Cells.count({r, c}), 0u);
                continue;
            }
            expectedOrder.emplace_back(r, c);
            EXPECT_EQ(wb.Cells.at({r, c}), cell.Text);
            // The cell's format carries its alignment (1 left, 2 centred, 3 right) and bold font.
            const QByteArray& xf = wb.Xfs.at(size_t(wb.CellXf.at({r, c})));
            const int horz = uint8_t(xf[6]) & 7;
            EXPECT_EQ(horz, cell.Alignment == TCellAlign::Left     ? 1
                            : cell.Alignment == TCellAlign::Center ? 2
                                                                   : 3);
            const int font = U16(xf, 0);
            const QByteArray& f = wb.Fonts.at(size_t(font < 4 ? font : font - 1));
            EXPECT_EQ(U16(f, 6), cell.Bold ? 700 : 400) << c << "," << r;
            EXPECT_EQ(U16(f, 2) & 1, cell.Bold ? 1 : 0) << "bold flag agrees with the weight";
        }
    }
    EXPECT_EQ(wb.Order, expectedOrder) << "row for row, column for column";
    const auto dim =
        std::find_if(wb.Recs.begin(), wb.Recs.end(), [](auto& r) { return r.Type == Biff8::RecDimensions; });
    ASSERT_NE(dim, wb.Recs.end());
    EXPECT_EQ(U32(dim->Body, 4), uint32_t(g.RowCount));
    EXPECT_EQ(U16(dim->Body, 10), g.ColCount);
    // Repeated texts share one string.
    EXPECT_EQ(wb.Sst.Strings.size(), QSet<QString>(wb.Sst.Strings.begin(), wb.Sst.Strings.end()).size());
}

TEST(XlsExport, LargeTableSplitsTheStringTableAcrossContinueRecords) {
    TGridData g;
    g.Reset(3, 700);
    for (int r = 0; r < g.RowCount; ++r) {
        g.Cell(0, r).Text = QStringLiteral(" Параметр номер %1 с длинным русским названием").arg(r);
        g.Cell(1, r).Text = QStringLiteral("value-%1-caf\u00e9").arg(r % 50); // Latin-1: compressed, repeated
        if (r % 7 == 0)
            g.Cell(2, r).Text = QString(r % 3 + 1, QChar(0x65E5)); // outside Latin-1
    }
    QString error;
    const QByteArray file = XlsExportBytes(g, &error);
    ASSERT_FALSE(file.isEmpty()) << error.toStdString();
    const TWorkbook wb = ReadWorkbook(file);
    EXPECT_GT(
        std::count_if(wb.Recs.begin(), wb.Recs.end(), [](auto& r) { return r.Type == Biff8::RecContinue; }),
        3);
    EXPECT_GT(wb.Sst.SplitStrings, 0) << "some string continues in the next record";
    EXPECT_EQ(wb.Sst.Strings.size(), 700 + 50 + 3);
    size_t expectedCells = 0;
    for (int r = 0; r < g.RowCount; ++r) {
        for (int c = 0; c < g.ColCount; ++c) {
            if (g.Cell(c, r).Text.isEmpty())
                continue;
            ++expectedCells;
            ASSERT_EQ(wb.Cells.count({r, c}), 1u) << r << "," << c;
            EXPECT_EQ(wb.Cells.at({r, c}), g.Cell(c, r).Text);
        }
    }
    EXPECT_EQ(wb.Cells.size(), expectedCells);
}

TEST(XlsExport, TablesBeyondTheSheetLimitsAreRefused) {
    TGridData g;
    g.Reset(1, Biff8::KMaxRows + 1);
    QString error;
    EXPECT_TRUE(XlsExportBytes(g, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    QTemporaryDir dir;
    const QString file = dir.filePath("big.xls");
    EXPECT_FALSE(ExportXls(g, file).Ok);
    EXPECT_FALSE(QFile::exists(file));
}

// ------------------------------------------------------------------------------------ HTML

TEST(HtmlExport, WritesOnlyTheTableWithAttributesColoursAndStyles) {
    const QStringList lines = CrLfLines(HtmlExportBytes(SampleGrid()));
    const QStringList expected = {
        QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td nowrap align=\"center\"><b> Параметр</b></td>"),
        QStringLiteral("<td nowrap align=\"center\"><b> Значение</b></td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral(
            "<td nowrap bgcolor=\"#FFF0E0\"><font color=\"#800000\"><b> Напряжение</b></font></td>"),
        QStringLiteral("<td nowrap align=\"center\" bgcolor=\"#FFF0E0\">220</td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td nowrap bgcolor=\"#FFF0E0\"><font color=\"#800000\"><b> Ток</b></font></td>"),
        QStringLiteral("<td nowrap align=\"center\" bgcolor=\"#FFF0E0\"><br></td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td nowrap bgcolor=\"#FFF0E0\"><font color=\"#800000\"><b> Режим</b></font></td>"),
        QStringLiteral("<td nowrap align=\"center\" bgcolor=\"#FFF0E0\"><font "
                       "color=\"#808080\">вкл<br>далее</font></td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td nowrap bgcolor=\"#FFF0E0\"><font color=\"#800000\"><b> Адрес</b></font></td>"),
        QStringLiteral("<td nowrap align=\"right\" bgcolor=\"#FFF0E0\">17</td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("</table>"),
    };
    EXPECT_EQ(lines, expected);
}

TEST(HtmlExport, CellTextsCannotBreakThePage) {
    TGridData g;
    g.Reset(1, 4);
    g.Cell(0, 0).Text = QStringLiteral("</td></tr></table><script>alert(\"x\" & 'y')</script>");
    g.Cell(0, 1).Text = QStringLiteral("a<b>c&amp;d");
    g.Cell(0, 2).Text = QStringLiteral("日本 Ё");
    g.Cell(0, 3).Text = QStringLiteral("\" onmouseover=\"x");
    g.Cell(0, 3).Italic = g.Cell(0, 3).Underline = true;
    const QStringList lines = CrLfLines(HtmlExportBytes(g));
    ASSERT_EQ(lines.size(), 2 + 4 * 3);
    static const QRegularExpression td(QStringLiteral("^<td nowrap>(.*)</td>$"));
    QStringList inner;
    for (const QString& l : lines) {
        const auto m = td.match(l);
        if (m.hasMatch())
            inner << m.captured(1);
    }
    ASSERT_EQ(inner.size(), 4);
    EXPECT_EQ(inner[0],
              QStringLiteral("&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;script&gt;alert(&quot;x&quot; &amp; "
                             "&#39;y&#39;)&lt;/script&gt;"));
    EXPECT_EQ(inner[1], QStringLiteral("a&lt;b&gt;c&amp;amp;d"));
    EXPECT_EQ(inner[2], QStringLiteral("&#26085;&#26412; Ё")) << "characters without a Windows-1251 code";
    EXPECT_EQ(inner[3], QStringLiteral("<i><u>&quot; onmouseover=&quot;x</u></i>"));
}

TEST(HtmlExport, ColoursConvertFromTheTablesValues) {
    EXPECT_EQ(HtmlColor(0x000080), "#800000");   // clMaroon
    EXPECT_EQ(HtmlColor(0xFF0000), "#0000FF");   // clBlue
    EXPECT_EQ(HtmlColor(0x80000008), "#000000"); // clWindowText
    EXPECT_EQ(HtmlColor(0x80000011), "#808080"); // clGrayText
    EXPECT_EQ(HtmlColor(KColorNone), "");
    EXPECT_EQ(HtmlColor(0x800000FF), "") << "no such system colour";
}

// ------------------------------------------------------------------------------- all files

TEST(ExportFiles, EachFormatWritesItsFileAndFailuresLeaveNothingBehind) {
    const TGridData g = SampleGrid();
    QTemporaryDir dir;
    for (const char* ext : {"txt", "doc", "xls", "html", "TXT"}) {
        const QString file = dir.filePath(QStringLiteral("table.%1").arg(QLatin1String(ext)));
        const TFileResult r = ExportTable(g, file);
        ASSERT_TRUE(r.Ok) << ext << ": " << r.Error.toStdString();
        ASSERT_TRUE(QFile::exists(file)) << ext;
    }
    EXPECT_EQ(TestUtil::ReadBytes(dir.filePath("table.txt")), TextExportBytes(g));
    EXPECT_EQ(TestUtil::ReadBytes(dir.filePath("table.doc")), RtfExportBytes(g));
    EXPECT_EQ(TestUtil::ReadBytes(dir.filePath("table.html")), HtmlExportBytes(g));
    EXPECT_EQ(TestUtil::ReadBytes(dir.filePath("table.xls")).left(8),
              QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));

    EXPECT_FALSE(ExportTable(g, dir.filePath("table.pdf")).Ok);

    // A directory stands where the file should go: a clear error and no temporary files left over.
    QTemporaryDir blockedDir;
    for (const char* name : {"t.txt", "t.doc", "t.xls", "t.html"}) {
        ASSERT_TRUE(QDir(blockedDir.path()).mkdir(QLatin1String(name)));
        const TFileResult r = ExportTable(g, blockedDir.filePath(QLatin1String(name)));
        EXPECT_FALSE(r.Ok) << name;
        EXPECT_TRUE(r.Error.contains(QLatin1String(name))) << r.Error.toStdString();
    }
    EXPECT_EQ(QDir(blockedDir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 4);
    EXPECT_FALSE(ExportText(g, QStringLiteral("/nonexistent-dir/t.txt")).Ok);
}
