// Parameter-set files: exact record bytes, writing rules, round trips and hostile input.

#include "formats/ParamSetFile.h"
#include "TestUtil.h"
#include "common/Cp1251.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString KHead0 = QStringLiteral(" Параметр");
const QString KHead1 = QStringLiteral(" Значение");

// A device table as the view builds it: header 30 px, data rows 25 px.
TGridData DeviceGrid(int params) {
    TGridData g;
    g.Reset(2, params + 1);
    g.ColWidths = {310, 103};
    g.RowHeights[0] = 30;
    for (int r = 1; r <= params; ++r)
        g.RowHeights[r] = 25;
    g.Cell(0, 0).Text = KHead0;
    g.Cell(1, 0).Text = KHead1;
    for (int r = 1; r <= params; ++r)
        g.Cell(0, r).Text = QStringLiteral(" Параметр №%1").arg(r);
    return g;
}

// Test-side view of a file: records with their class names and raw properties.
struct TProp {
    QByteArray Name;
    uint8_t Tag = 0;
    QByteArray Data; // bytes after the tag
};
struct TRecord {
    QByteArray Class;
    std::vector<TProp> Props;
    const TProp* Find(const QByteArray& name) const {
        for (const TProp& p : Props)
            if (p.Name == name)
                return &p;
        return nullptr;
    }
};

std::vector<TRecord> SplitRecords(const QByteArray& b) {
    std::vector<TRecord> out;
    qsizetype i = 0;
    auto u8 = [&](qsizetype at) { return static_cast<uint8_t>(b.at(at)); };
    while (i < b.size()) {
        EXPECT_EQ(b.mid(i, 4), QByteArray("TPF0")) << "at " << i;
        i += 4;
        TRecord r;
        r.Class = b.mid(i + 1, u8(i));
        i += 1 + u8(i);
        EXPECT_EQ(u8(i), 0) << "object name must be empty";
        ++i;
        while (u8(i) != 0) {
            TProp p;
            p.Name = b.mid(i + 1, u8(i));
            i += 1 + u8(i);
            p.Tag = u8(i++);
            qsizetype n = 0;
            switch (p.Tag) {
            case 0x02:
                n = 1;
                break;
            case 0x03:
                n = 2;
                break;
            case 0x04:
                n = 4;
                break;
            case 0x05:
                n = 10;
                break;
            case 0x06:
            case 0x07:
                n = 1 + u8(i);
                break;
            case 0x08:
            case 0x09:
                n = 0;
                break;
            case 0x0B:
                while (u8(i + n) != 0)
                    n += 1 + u8(i + n);
                n += 1;
                break;
            case 0x0C:
                n = 4 + (u8(i) | u8(i + 1) << 8 | u8(i + 2) << 16 | qsizetype(u8(i + 3)) << 24);
                break;
            default:
                ADD_FAILURE() << "tag " << int(p.Tag);
                return out;
            }
            p.Data = b.mid(i, n);
            i += n;
            r.Props.push_back(p);
        }
        EXPECT_EQ(u8(i + 1), 0) << "end of children";
        i += 2;
        out.push_back(r);
    }
    return out;
}

int IntOf(const TProp& p) {
    const QByteArray& d = p.Data;
    switch (p.Tag) {
    case 0x02:
        return static_cast<int8_t>(d[0]);
    case 0x03:
        return static_cast<int16_t>(uint8_t(d[0]) | uint8_t(d[1]) << 8);
    case 0x04:
        return static_cast<int32_t>(uint8_t(d[0]) | uint8_t(d[1]) << 8 | uint8_t(d[2]) << 16 |
                                    uint32_t(uint8_t(d[3])) << 24);
    }
    ADD_FAILURE() << "not an integer: " << p.Name.constData();
    return 0;
}
QByteArray IdentOf(const TProp& p) {
    EXPECT_EQ(p.Tag, 0x07) << p.Name.constData();
    return p.Data.mid(1);
}

// Builds records by hand for hostile and partial files.
class TRecordBuilder {
public:
    explicit TRecordBuilder(const char* cls = "TGridCellIO") {
        B = "TPF0";
        B += char(strlen(cls));
        B += cls;
        B += '\0';
    }
    TRecordBuilder& Raw(const QByteArray& name, const QByteArray& tagAndData) {
        B += char(name.size());
        B += name;
        B += tagAndData;
        return *this;
    }
    TRecordBuilder& Int(const QByteArray& name, int32_t v) {
        QByteArray d(1, char(0x04));
        for (int i = 0; i < 4; ++i)
            d += char((uint32_t(v) >> (8 * i)) & 0xFF);
        return Raw(name, d);
    }
    TRecordBuilder& Bool(const QByteArray& name, bool v) {
        return Raw(name, QByteArray(1, char(v ? 0x09 : 0x08)));
    }
    TRecordBuilder& Text(const QByteArray& name, const QString& s) {
        const QByteArray e = Cp1251::Encode(s);
        return Raw(name, QByteArray(1, char(0x06)) + char(e.size()) + e);
    }
    TRecordBuilder& Ident(const QByteArray& name, const QByteArray& id) {
        return Raw(name, QByteArray(1, char(0x07)) + char(id.size()) + id);
    }
    QByteArray End() const { return B + QByteArray(2, '\0'); }
    QByteArray Unfinished() const { return B; }

private:
    QByteArray B;
};

QByteArray Header(int cols, int rows, bool full, const QString& widths = "64,64",
                  const QString& heights = "") {
    TRecordBuilder h("TGridPropIO");
    h.Int("ColCount", cols).Int("RowCount", rows).Text("ColWidths", widths);
    if (!heights.isEmpty())
        h.Text("RowHeights", heights);
    return h.Bool("FullGrid", full).Int("ID", 7).End();
}

QByteArray Cell(int col, int row, const QString& text, bool hasProp = false) {
    TRecordBuilder c;
    c.Int("Col", col).Int("Row", row);
    if (!text.isEmpty())
        c.Text("Cell", text);
    return c.Bool("HasProp", hasProp).End();
}

void ExpectSameCells(const TGridData& a, const TGridData& b) {
    ASSERT_EQ(a.ColCount, b.ColCount);
    ASSERT_EQ(a.RowCount, b.RowCount);
    EXPECT_EQ(a.ColWidths, b.ColWidths);
    EXPECT_EQ(a.RowHeights, b.RowHeights);
    for (int c = 0; c < a.ColCount; ++c) {
        for (int r = 0; r < a.RowCount; ++r) {
            const TGridCell &x = a.Cell(c, r), &y = b.Cell(c, r);
            EXPECT_EQ(x.Text, y.Text) << c << "," << r;
            EXPECT_EQ(x.HasCheckBox, y.HasCheckBox) << c << "," << r;
            EXPECT_EQ(x.Checked, y.Checked) << c << "," << r;
            EXPECT_EQ(x.HasProp || x.HasCheckBox, y.HasProp) << c << "," << r;
            EXPECT_EQ(x.HasProp ? x.FontColor : KColorNone, y.FontColor) << c << "," << r;
        }
    }
}

} // namespace

// ----------------------------------------------------------------------------- exact bytes

TEST(ParamSetWrite, HeaderCellRecordOfColumnZeroIsTheDocumented56Bytes) {
    TGridData g = DeviceGrid(0);
    g.Cell(1, 0).Text.clear();
    const QByteArray file = EncodeParamSet(g);
    const qsizetype second = file.indexOf("TPF0", 1);
    ASSERT_GT(second, 0);
    QByteArray expected = QByteArray("TPF0") + char(0x0B) + "TGridCellIO" + char(0) + char(3) + "Col" +
                          char(2) + char(0) + char(3) + "Row" + char(2) + char(0) + char(4) + "Cell" +
                          char(6) + char(9) + QByteArray::fromHex("20CFE0F0E0ECE5F2F0") + char(7) +
                          "HasProp" + char(8) + char(0) + char(0);
    ASSERT_EQ(expected.size(), 56);
    EXPECT_EQ(file.mid(second), expected);
}

TEST(ParamSetWrite, HeaderRecordCarriesSizeExtentsFullGridAndId) {
    TGridData g = DeviceGrid(2);
    const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g, 4242));
    ASSERT_FALSE(recs.empty());
    const TRecord& h = recs[0];
    EXPECT_EQ(h.Class, "TGridPropIO");
    std::vector<QByteArray> names;
    for (const TProp& p : h.Props)
        names.push_back(p.Name);
    EXPECT_EQ(names,
              (std::vector<QByteArray>{"ColCount", "RowCount", "ColWidths", "RowHeights", "FullGrid", "ID"}));
    EXPECT_EQ(IntOf(*h.Find("ColCount")), 2);
    EXPECT_EQ(IntOf(*h.Find("RowCount")), 3);
    EXPECT_EQ(h.Find("ColWidths")->Data, QByteArray("\x07"
                                                    "310,103"));
    EXPECT_EQ(h.Find("RowHeights")->Data, QByteArray("\x08"
                                                     "30,25,25"));
    EXPECT_EQ(h.Find("FullGrid")->Tag, 0x09);
    EXPECT_EQ(IntOf(*h.Find("ID")), 4242);
    EXPECT_EQ(h.Find("ID")->Tag, 0x03);
}

TEST(ParamSetWrite, IntegersTakeTheSmallestTag) {
    struct TCase {
        int32_t Value;
        uint8_t Tag;
    };
    for (const TCase& c : {TCase{0, 0x02},
                           {127, 0x02},
                           {-128, 0x02},
                           {128, 0x03},
                           {-129, 0x03},
                           {32767, 0x03},
                           {-32768, 0x03},
                           {32768, 0x04},
                           {-32769, 0x04},
                           {INT32_MIN, 0x04},
                           {INT32_MAX, 0x04}}) {
        TGridData g;
        g.Reset(1, 1);
        const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g, c.Value));
        const TProp* id = recs.at(0).Find("ID");
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->Tag, c.Tag) << c.Value;
        EXPECT_EQ(IntOf(*id), c.Value);
    }
    // Row numbers of cell records follow the same rule.
    TGridData g;
    g.Reset(1, 40000);
    g.Cell(0, 127).Text = "a";
    g.Cell(0, 128).Text = "b";
    g.Cell(0, 32768).Text = "c";
    const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g));
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[0].Find("RowCount")->Tag, 0x04);
    EXPECT_EQ(recs[1].Find("Row")->Tag, 0x02);
    EXPECT_EQ(recs[2].Find("Row")->Tag, 0x03);
    EXPECT_EQ(recs[3].Find("Row")->Tag, 0x04);
    EXPECT_EQ(IntOf(*recs[3].Find("Row")), 32768);
}

TEST(ParamSetWrite, RowHeightsOf84ParametersAreShortTextAnd85LongText) {
    const std::vector<TRecord> short84 = SplitRecords(EncodeParamSet(DeviceGrid(84)));
    const TProp* h84 = short84.at(0).Find("RowHeights");
    ASSERT_NE(h84, nullptr);
    EXPECT_EQ(h84->Tag, 0x06);
    EXPECT_EQ(uint8_t(h84->Data[0]), 254);
    EXPECT_EQ(h84->Data.size(), 255);

    const std::vector<TRecord> long85 = SplitRecords(EncodeParamSet(DeviceGrid(85)));
    const TProp* h85 = long85.at(0).Find("RowHeights");
    ASSERT_NE(h85, nullptr);
    EXPECT_EQ(h85->Tag, 0x0C);
    EXPECT_EQ(h85->Data.left(4), QByteArray::fromHex("01010000"));
    EXPECT_TRUE(h85->Data.mid(4).startsWith("30,25,25,"));
    EXPECT_EQ(h85->Data.size(), 4 + 257);

    for (int params : {84, 85}) {
        TGridData back;
        const TParamSetReadResult r = DecodeParamSet(EncodeParamSet(DeviceGrid(params)), back);
        ASSERT_TRUE(r.Ok) << r.Error.toStdString();
        EXPECT_EQ(back.RowHeights, DeviceGrid(params).RowHeights);
    }
}

TEST(ParamSetWrite, CellsComeColumnByColumnAndOnlyWhenTheyHaveTextOrProperties) {
    TGridData g = DeviceGrid(3);
    g.Cell(1, 1).Text = "12";        // value with text: one record
    g.Cell(1, 2).HasCheckBox = true; // check box: three records
    g.Cell(1, 2).Checked = true;     // (1, 3) stays empty: none
    const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g));
    std::vector<std::pair<int, int>> order;
    std::vector<QByteArray> classes;
    for (size_t i = 1; i < recs.size(); ++i) {
        classes.push_back(recs[i].Class);
        if (recs[i].Class == "TGridCellIO")
            order.emplace_back(IntOf(*recs[i].Find("Col")), IntOf(*recs[i].Find("Row")));
    }
    EXPECT_EQ(order,
              (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(classes, (std::vector<QByteArray>{"TGridCellIO", "TGridCellIO", "TGridCellIO", "TGridCellIO",
                                                "TGridCellIO", "TGridCellIO", "TGridCellIO",
                                                "TGridCellPropIO", "TGridGraphicIO"}));
}

TEST(ParamSetWrite, CheckBoxAndCoupledCellsCarryExactlyTheListedProperties) {
    TGridData g = DeviceGrid(2);
    g.Cell(1, 1).HasCheckBox = true;
    g.Cell(1, 1).Checked = false;
    g.Cell(1, 2).Text = "5";
    g.Cell(1, 2).HasProp = true;
    g.Cell(1, 2).FontColor = 0x80000011; // clGrayText
    const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g));
    // header, 3 name-column cells, (1,0), then check-box cell (3 records), then coupled cell (2 records)
    ASSERT_EQ(recs.size(), 1u + 3 + 1 + 3 + 2);
    const TRecord& boxCell = recs[5];
    EXPECT_EQ(boxCell.Find("Cell"), nullptr) << "a check-box cell has no text";
    EXPECT_EQ(boxCell.Find("HasProp")->Tag, 0x09);

    const std::vector<QByteArray> propNames = {"CellProperties.IsBaseCell",
                                               "CellProperties.CellSpanX",
                                               "CellProperties.CellSpanY",
                                               "CellProperties.OwnerCol",
                                               "CellProperties.OwnerRow",
                                               "CellProperties.Alignment",
                                               "CellProperties.BorderColor",
                                               "CellProperties.BorderWidth",
                                               "CellProperties.BrushColor",
                                               "CellProperties.BrushStyle",
                                               "CellProperties.FontColor",
                                               "CellProperties.FontSize",
                                               "CellProperties.FontStyle",
                                               "CellProperties.Editor",
                                               "CellProperties.ReadOnly",
                                               "CellProperties.VAlignment",
                                               "CellProperties.WordWrap",
                                               "CellProperties.NodeLevel",
                                               "HasGraphic"};
    for (const TRecord* p : {&recs[6], &recs[9]}) {
        EXPECT_EQ(p->Class, "TGridCellPropIO");
        std::vector<QByteArray> names;
        for (const TProp& q : p->Props)
            names.push_back(q.Name);
        EXPECT_EQ(names, propNames);
        EXPECT_EQ(p->Find("CellProperties.IsBaseCell")->Tag, 0x09);
        EXPECT_EQ(IntOf(*p->Find("CellProperties.CellSpanX")), -1);
        EXPECT_EQ(IntOf(*p->Find("CellProperties.CellSpanY")), -1);
        EXPECT_EQ(IntOf(*p->Find("CellProperties.OwnerCol")), 1);
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.Alignment")), "taLeftJustify");
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.BorderColor")), "clBlack");
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.BrushColor")), "clNone");
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.BrushStyle")), "bsSolid");
        EXPECT_EQ(p->Find("CellProperties.FontStyle")->Data, QByteArray(1, '\0'));
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.Editor")), "edNormal");
        EXPECT_EQ(p->Find("CellProperties.ReadOnly")->Tag, 0x08);
        EXPECT_EQ(IdentOf(*p->Find("CellProperties.VAlignment")), "vtaTop");
        EXPECT_EQ(p->Find("CellProperties.WordWrap")->Tag, 0x08);
    }
    EXPECT_EQ(IntOf(*recs[6].Find("CellProperties.OwnerRow")), 1);
    EXPECT_EQ(IdentOf(*recs[6].Find("CellProperties.FontColor")), "clNone");
    EXPECT_EQ(recs[6].Find("HasGraphic")->Tag, 0x09);
    EXPECT_EQ(IntOf(*recs[9].Find("CellProperties.OwnerRow")), 2);
    EXPECT_EQ(IdentOf(*recs[9].Find("CellProperties.FontColor")), "clGrayText");
    EXPECT_EQ(recs[9].Find("HasGraphic")->Tag, 0x08);

    const TRecord& gr = recs[7];
    EXPECT_EQ(gr.Class, "TGridGraphicIO");
    std::vector<QByteArray> names;
    for (const TProp& q : gr.Props)
        names.push_back(q.Name);
    EXPECT_EQ(names, (std::vector<QByteArray>{"CellGraphic.CellType", "CellGraphic.CellVAlign",
                                              "CellGraphic.CellHAlign", "CellGraphic.CellIndex",
                                              "CellGraphic.CellTransparent", "CellGraphic.CellCreated",
                                              "CellGraphic.CellBoolean", "CellGraphic.CellAngle",
                                              "CellGraphic.CellErrFrom", "CellGraphic.CellErrLen"}));
    EXPECT_EQ(IdentOf(*gr.Find("CellGraphic.CellType")), "ctCheckBox");
    EXPECT_EQ(IdentOf(*gr.Find("CellGraphic.CellVAlign")), "vaCenter");
    EXPECT_EQ(IdentOf(*gr.Find("CellGraphic.CellHAlign")), "haBeforeText");
    EXPECT_EQ(gr.Find("CellGraphic.CellTransparent")->Tag, 0x09);
    EXPECT_EQ(gr.Find("CellGraphic.CellCreated")->Tag, 0x08);
    EXPECT_EQ(gr.Find("CellGraphic.CellBoolean")->Tag, 0x08);
}

TEST(ParamSetWrite, ColourWithoutIdentifierIsWrittenAsInteger) {
    TGridData g;
    g.Reset(1, 1);
    g.Cell(0, 0).HasProp = true;
    g.Cell(0, 0).FontColor = 0x00123456;
    const std::vector<TRecord> recs = SplitRecords(EncodeParamSet(g));
    ASSERT_EQ(recs.size(), 3u);
    const TProp* fc = recs[2].Find("CellProperties.FontColor");
    ASSERT_NE(fc, nullptr);
    EXPECT_EQ(fc->Tag, 0x04);
    EXPECT_EQ(IntOf(*fc), 0x00123456);
}

// ------------------------------------------------------------------------------ round trips

TEST(ParamSetRead, SaveThenLoadRestoresTextsCheckBoxesAndCoupledColour) {
    TGridData g = DeviceGrid(6);
    g.Cell(1, 1).Text = QStringLiteral("включена");
    g.Cell(1, 2).Text = "1.5";
    g.Cell(1, 2).HasProp = true;
    g.Cell(1, 2).FontColor = 0x80000008; // clWindowText
    g.Cell(1, 3).HasCheckBox = true;
    g.Cell(1, 3).Checked = true;
    g.Cell(1, 4).HasCheckBox = true;
    g.Cell(1, 5).Text = QString(300, QChar(0x0416)); // a long text, tag 0x0C
    g.Cell(1, 6).HasProp = true;
    g.Cell(1, 6).FontColor = 0x80000011; // clGrayText, no text

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("набор.k1p"));
    const TFileResult w = WriteParamSetFile(g, file);
    ASSERT_TRUE(w.Ok) << w.Error.toStdString();

    TGridData back;
    back.Reset(5, 2);
    back.Cell(4, 1).Text = "stale";
    back.Cell(0, 1).HasCheckBox = true;
    const TParamSetReadResult r = ReadParamSetFile(back, file);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_TRUE(r.Error.isEmpty());
    EXPECT_EQ(r.CellsRead, 14);
    ExpectSameCells(g, back);

    // A second save of the loaded table gives the same bytes.
    EXPECT_EQ(EncodeParamSet(back), EncodeParamSet(g));
}

TEST(ParamSetRead, PartialSetLandsRelativeToItsFirstCellAndKeepsTheTable) {
    TGridData g = DeviceGrid(4);
    g.Cell(1, 1).Text = "old1";
    g.Cell(1, 4).Text = "old4";
    const QByteArray file = Header(9, 99, false, "1,2,3", "9,9") + Cell(3, 10, "a") + Cell(4, 11, "b", true) +
                            TRecordBuilder("TGridCellPropIO")
                                .Ident("CellProperties.FontColor", "clGrayText")
                                .Bool("HasGraphic", true)
                                .End() +
                            TRecordBuilder("TGridGraphicIO")
                                .Ident("CellGraphic.CellType", "ctCheckBox")
                                .Bool("CellGraphic.CellBoolean", true)
                                .End() +
                            Cell(3, 12, "");
    const TGridData before = g;
    const TParamSetReadResult r = DecodeParamSet(file, g);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(r.CellsRead, 3);
    EXPECT_EQ(g.ColCount, 2);
    EXPECT_EQ(g.RowCount, 5);
    EXPECT_EQ(g.ColWidths, before.ColWidths);
    EXPECT_EQ(g.RowHeights, before.RowHeights);
    EXPECT_EQ(g.Cell(0, 0).Text, "a");
    EXPECT_EQ(g.Cell(1, 1).Text, "b");
    EXPECT_TRUE(g.Cell(1, 1).HasCheckBox);
    EXPECT_TRUE(g.Cell(1, 1).Checked);
    EXPECT_EQ(g.Cell(1, 1).FontColor, 0x80000011u);
    EXPECT_EQ(g.Cell(0, 2).Text, "") << "a cell record without text empties the cell";
    EXPECT_EQ(g.Cell(1, 0).Text, KHead1);
    EXPECT_EQ(g.Cell(1, 4).Text, "old4");
}

TEST(ParamSetRead, AcceptsEveryListedIdentifierKindAndRealValues) {
    const QByteArray real1 = QByteArray(1, char(0x05)) + QByteArray::fromHex("0000000000000080FF3F"); // 1.0
    const QByteArray file = Header(2, 2, true) + Cell(1, 1, "x", true) +
                            TRecordBuilder("TGridCellPropIO")
                                .Ident("CellProperties.Alignment", "taCenter")
                                .Ident("CellProperties.BrushStyle", "bsDiagCross")
                                .Raw("CellProperties.FontStyle", QByteArray::fromHex("0B") +
                                                                     "\x06"
                                                                     "fsBold"
                                                                     "\x0B"
                                                                     "fsUnderline" +
                                                                     '\0')
                                .Ident("CellProperties.Editor", "edUniComboList")
                                .Ident("CellProperties.VAlignment", "vtaBottom")
                                .Text("CellProperties.FontName", "Arial")
                                .Int("CellProperties.FontColor", 0x00ABCDEF)
                                .Bool("HasGraphic", true)
                                .End() +
                            TRecordBuilder("TGridGraphicIO")
                                .Ident("CellGraphic.CellType", "ctCheckBox")
                                .Ident("CellGraphic.CellVAlign", "vaFull")
                                .Ident("CellGraphic.CellHAlign", "haAfterText")
                                .Raw("CellGraphic.CellValue", real1)
                                .Text("CellGraphic.CellText", "t")
                                .Bool("CellGraphic.CellBoolean", false)
                                .End();
    TGridData g;
    const TParamSetReadResult r = DecodeParamSet(file, g);
    ASSERT_TRUE(r.Ok) << r.Error.toStdString();
    EXPECT_EQ(g.Cell(1, 1).FontColor, 0x00ABCDEFu);
    EXPECT_TRUE(g.Cell(1, 1).HasCheckBox);
    EXPECT_FALSE(g.Cell(1, 1).Checked);
}

// --------------------------------------------------------------------------------- hostile

TEST(ParamSetHostile, DamagedFilesStopWithAnErrorAndKeepWhatWasRead) {
    const QByteArray good = Header(2, 3, true) + Cell(0, 0, "h") + Cell(0, 1, "n");
    struct TCase {
        const char* What;
        QByteArray Tail;
        const char* ErrorPart;
    };
    const std::vector<TCase> cases = {
        {"wrong signature", QByteArray("TPF1") + Cell(1, 1, "x").mid(4), "сигнатура"},
        {"unknown tag", TRecordBuilder().Raw("Col", QByteArray::fromHex("0A00")).End(), "тип значения 0x0a"},
        {"unknown property", TRecordBuilder().Int("Col", 1).Int("Colour", 2).End(), "Colour"},
        {"wrong value type", TRecordBuilder().Text("Col", "1").End(), "тип значения свойства \"Col\""},
        {"short text past the end", TRecordBuilder().Raw("Cell", QByteArray::fromHex("06FF41")).Unfinished(),
         "закончился"},
        {"long text of 0xFFFFFFF0 bytes",
         TRecordBuilder().Raw("Cell", QByteArray::fromHex("0CF0FFFFFF41")).End(), "закончился"},
        {"cell outside the table", Cell(2, 0, "x"), "вне таблицы"},
        {"negative row", Cell(0, -1, "x"), "вне таблицы"},
        {"child object", TRecordBuilder().Int("Col", 1).End().chopped(1) + QByteArray::fromHex("0100"),
         "вложенные"},
        {"unknown identifier",
         Cell(1, 1, "", true) + TRecordBuilder("P").Ident("CellProperties.Editor", "edFoo").End(), "Editor"},
        {"unknown font style",
         Cell(1, 1, "", true) +
             TRecordBuilder("P").Raw("CellProperties.FontStyle", QByteArray::fromHex("0B03666F6F00")).End(),
         "FontStyle"},
        {"graphic other than a check box",
         Cell(1, 1, "", true) + TRecordBuilder("P").Bool("HasGraphic", true).End() +
             TRecordBuilder("G").Ident("CellGraphic.CellType", "ctBitmap").End(),
         "графика"},
        {"colour name unknown",
         Cell(1, 1, "", true) + TRecordBuilder("P").Ident("CellProperties.FontColor", "clPink").End(),
         "FontColor"},
    };
    for (const TCase& c : cases) {
        TGridData g;
        const TParamSetReadResult r = DecodeParamSet(good + c.Tail, g);
        EXPECT_FALSE(r.Ok) << c.What;
        EXPECT_TRUE(r.Error.contains(QString::fromUtf8(c.ErrorPart)))
            << c.What << ": " << r.Error.toStdString();
        EXPECT_GE(r.CellsRead, 2) << c.What;
        EXPECT_EQ(g.ColCount, 2) << c.What;
        EXPECT_EQ(g.Cell(0, 0).Text, "h") << c.What;
        EXPECT_EQ(g.Cell(0, 1).Text, "n") << c.What;
    }
}

TEST(ParamSetHostile, UnreasonableHeadersAreRefusedWithoutTouchingTheTable) {
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"huge row count", Header(2, 100001, true)},
        {"huge column count", Header(1001, 2, true)},
        {"too many cells", Header(1000, 1000, true)},
        {"zero rows", Header(2, 0, true)},
        {"negative columns", Header(-2, 5, true)},
        {"bad width list", Header(2, 2, true, "10,x")},
        {"huge width", Header(2, 2, true, "10,99999999")},
        {"empty file", QByteArray()},
        {"one byte", QByteArray("T")},
    };
    for (const auto& [what, bytes] : cases) {
        TGridData g = DeviceGrid(1);
        const TGridData before = g;
        const TParamSetReadResult r = DecodeParamSet(bytes, g);
        EXPECT_FALSE(r.Ok) << what;
        EXPECT_FALSE(r.Error.isEmpty()) << what;
        EXPECT_EQ(r.CellsRead, 0) << what;
        ExpectSameCells(before, g);
    }
}

TEST(ParamSetHostile, TruncationAtEveryOffsetNeverCrashesAndKeepsAPrefix) {
    TGridData full = DeviceGrid(4);
    full.Cell(1, 1).Text = "7";
    full.Cell(1, 2).HasCheckBox = true;
    full.Cell(1, 2).Checked = true;
    full.Cell(1, 3).HasProp = true;
    full.Cell(1, 3).FontColor = 0x80000011;
    const QByteArray bytes = EncodeParamSet(full);
    // Offsets at which a record (or a record group of one cell) ends.
    std::vector<qsizetype> boundaries;
    for (qsizetype at = bytes.indexOf("TPF0", 1); at > 0; at = bytes.indexOf("TPF0", at + 1))
        boundaries.push_back(at);
    boundaries.push_back(bytes.size());

    int okCount = 0;
    for (qsizetype len = 0; len < bytes.size(); ++len) {
        TGridData g;
        g.Reset(1, 1);
        const TParamSetReadResult r = DecodeParamSet(bytes.left(len), g);
        EXPECT_EQ(r.Ok, r.Error.isEmpty()) << len;
        const bool atBoundary = std::find(boundaries.begin(), boundaries.end(), len) != boundaries.end() ||
                                std::find(boundaries.begin(), boundaries.end(), len - 1) != boundaries.end();
        if (r.Ok) {
            ++okCount;
            EXPECT_TRUE(atBoundary) << "a cut inside a record must be noticed, length " << len;
        }
        if (g.ColCount == 2) {
            // Whatever was read agrees with the full table.
            for (int c = 0; c < 2; ++c) {
                for (int row = 0; row < g.RowCount; ++row) {
                    const TGridCell& x = g.Cell(c, row);
                    if (!x.Text.isEmpty()) {
                        EXPECT_EQ(x.Text, full.Cell(c, row).Text) << len;
                    }
                    if (x.HasCheckBox) {
                        EXPECT_EQ(x.Checked, full.Cell(c, row).Checked) << len;
                    }
                }
            }
        }
    }
    EXPECT_GT(okCount, 3);
}

TEST(ParamSetFiles, MissingAndUncreatableFilesGiveClearErrors) {
    TGridData g = DeviceGrid(1);
    const TParamSetReadResult missing = ReadParamSetFile(g, QStringLiteral("/nonexistent-dir/set.k1p"));
    EXPECT_FALSE(missing.Ok);
    EXPECT_TRUE(missing.Error.contains(QStringLiteral("set.k1p")));
    EXPECT_TRUE(missing.Error.endsWith(QStringLiteral("файл не найден"))) << missing.Error.toStdString();
    const TFileResult noFolder = WriteParamSetFile(g, QStringLiteral("/nonexistent-dir/set.k1p"));
    EXPECT_EQ(noFolder.Error, QStringLiteral("Не удалось создать файл \"set.k1p\": папка не найдена"));

    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("set.k1p"));
    ASSERT_TRUE(QDir().mkdir(blocked)); // a directory stands where the file should go
    const TFileResult w = WriteParamSetFile(g, blocked);
    EXPECT_FALSE(w.Ok);
    EXPECT_TRUE(w.Error.contains(QStringLiteral("set.k1p")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"set.k1p"});
    EXPECT_FALSE(WriteParamSetFile(g, QStringLiteral("/proc/kestrin-set.k1p")).Ok);
}
