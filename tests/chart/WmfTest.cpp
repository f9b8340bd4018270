// Windows metafiles read back by an independent parser: headers, record sizes, the object table,
// Windows-1251 text, and the decimated output of large charts.
#include "ui/ScriptedDialogs.h"

#include "chart/Chart.h"
#include "chart/ChartExport.h"
#include "chart/WmfCanvas.h"
#include "formats/WmfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <map>

namespace {
uint16_t U16(const QByteArray& b, qsizetype at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
int16_t S16(const QByteArray& b, qsizetype at) {
    return static_cast<int16_t>(U16(b, at));
}
uint32_t U32(const QByteArray& b, qsizetype at) {
    return U16(b, at) | (static_cast<uint32_t>(U16(b, at + 2)) << 16);
}

struct TRecord {
    uint32_t Words = 0;
    uint16_t Function = 0;
    QByteArray Params;
};

struct TParsed {
    QString Error;
    uint32_t Key = 0;
    uint16_t HWmf = 0;
    int16_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    uint16_t Inch = 0;
    uint16_t Checksum = 0;
    uint16_t ComputedChecksum = 0;
    uint16_t Type = 0, HeaderWords = 0, Version = 0, Objects = 0, Members = 0;
    uint32_t SizeWords = 0, MaxRecord = 0;
    std::vector<TRecord> Records;
};

TParsed Parse(const QByteArray& b) {
    TParsed p;
    if (b.size() < 40) {
        p.Error = "too short";
        return p;
    }
    p.Key = U32(b, 0);
    p.HWmf = U16(b, 4);
    p.Left = S16(b, 6);
    p.Top = S16(b, 8);
    p.Right = S16(b, 10);
    p.Bottom = S16(b, 12);
    p.Inch = U16(b, 14);
    p.Checksum = U16(b, 20);
    for (int i = 0; i < 20; i += 2)
        p.ComputedChecksum ^= U16(b, i);
    p.Type = U16(b, 22);
    p.HeaderWords = U16(b, 24);
    p.Version = U16(b, 26);
    p.SizeWords = U32(b, 28);
    p.Objects = U16(b, 32);
    p.MaxRecord = U32(b, 34);
    p.Members = U16(b, 38);
    qsizetype at = 22 + 18;
    while (at < b.size()) {
        if (at + 6 > b.size()) {
            p.Error = "record header cut off";
            return p;
        }
        TRecord r;
        r.Words = U32(b, at);
        r.Function = U16(b, at + 4);
        if (r.Words < 3 || at + 2 * static_cast<qsizetype>(r.Words) > b.size()) {
            p.Error = QString("bad record size %1 at %2").arg(r.Words).arg(at);
            return p;
        }
        r.Params = b.mid(at + 6, 2 * static_cast<qsizetype>(r.Words) - 6);
        at += 2 * static_cast<qsizetype>(r.Words);
        p.Records.push_back(r);
        if (r.Function == Wmf::RecEof)
            break;
    }
    if (at != b.size())
        p.Error = "bytes after the end record";
    return p;
}

// Plays the object table: slots, selections and saved device contexts.
struct TObjectPlay {
    QString Error;
    int MaxSlots = 0;
    int Created = 0;
};

TObjectPlay PlayObjects(const std::vector<TRecord>& records) {
    TObjectPlay play;
    std::vector<int> kind; // per slot: -1 free, 0 pen, 1 brush, 2 font
    std::array<int, 3> selected{-1, -1, -1};
    std::vector<std::array<int, 3>> saved;
    auto create = [&](int k) {
        auto it = std::find(kind.begin(), kind.end(), -1);
        if (it == kind.end())
            it = kind.insert(kind.end(), -1);
        *it = k;
        play.MaxSlots = std::max(play.MaxSlots, static_cast<int>(kind.size()));
        ++play.Created;
    };
    auto live = [&](int slot) {
        return slot >= 0 && slot < static_cast<int>(kind.size()) && kind[slot] >= 0;
    };
    for (const TRecord& r : records) {
        switch (r.Function) {
        case Wmf::RecCreatePenIndirect:
            create(0);
            break;
        case Wmf::RecCreateBrushIndirect:
            create(1);
            break;
        case Wmf::RecCreateFontIndirect:
            create(2);
            break;
        case Wmf::RecSelectObject: {
            const int slot = U16(r.Params, 0);
            if (!live(slot))
                return play.Error = QString("select of dead slot %1").arg(slot), play;
            selected[kind[slot]] = slot;
            break;
        }
        case Wmf::RecDeleteObject: {
            const int slot = U16(r.Params, 0);
            if (!live(slot))
                return play.Error = QString("delete of dead slot %1").arg(slot), play;
            if (selected[kind[slot]] == slot)
                return play.Error = QString("delete of selected slot %1").arg(slot), play;
            for (const auto& s : saved)
                if (s[kind[slot]] == slot)
                    return play.Error = QString("delete of slot %1 held by a saved context").arg(slot), play;
            kind[slot] = -1;
            break;
        }
        case Wmf::RecSaveDc:
            saved.push_back(selected);
            break;
        case Wmf::RecRestoreDc:
            if (saved.empty() || S16(r.Params, 0) != -1)
                return play.Error = "restore without save", play;
            selected = saved.back();
            saved.pop_back();
            for (int slot : selected)
                if (slot >= 0 && !live(slot))
                    return play.Error = "restored a deleted object", play;
            break;
        default:
            break;
        }
    }
    return play;
}

// Record sizes each function must have, from the parameters it carries.
QString CheckRecordSizes(const std::vector<TRecord>& records) {
    for (const TRecord& r : records) {
        uint32_t expected = 0;
        switch (r.Function) {
        case Wmf::RecPolyline:
        case Wmf::RecPolygon:
            expected = 4 + 2 * static_cast<uint32_t>(S16(r.Params, 0));
            break;
        case Wmf::RecRectangle:
        case Wmf::RecIntersectClipRect:
            expected = 7;
            break;
        case Wmf::RecCreatePenIndirect:
            expected = 8;
            break;
        case Wmf::RecCreateBrushIndirect:
            expected = 7;
            break;
        case Wmf::RecCreateFontIndirect:
            expected = 28;
            break;
        case Wmf::RecExtTextOut:
            expected = 7 + (U16(r.Params, 4) + 1u) / 2;
            break;
        case Wmf::RecSelectObject:
        case Wmf::RecDeleteObject:
        case Wmf::RecSetBkMode:
        case Wmf::RecSetMapMode:
        case Wmf::RecSetTextAlign:
        case Wmf::RecRestoreDc:
            expected = 4;
            break;
        case Wmf::RecSetTextColor:
        case Wmf::RecSetWindowOrg:
        case Wmf::RecSetWindowExt:
        case Wmf::RecMoveTo:
        case Wmf::RecLineTo:
            expected = 5;
            break;
        case Wmf::RecEof:
        case Wmf::RecSaveDc:
            expected = 3;
            break;
        default:
            continue;
        }
        if (r.Words != expected)
            return QString("function %1: %2 words, expected %3")
                .arg(r.Function, 0, 16)
                .arg(r.Words)
                .arg(expected);
    }
    return {};
}

// Every structural rule of the file at once.
void ExpectConsistent(const QByteArray& bytes, int width, int height) {
    const TParsed p = Parse(bytes);
    ASSERT_TRUE(p.Error.isEmpty()) << p.Error.toStdString();
    EXPECT_EQ(p.Key, 0x9AC6CDD7u);
    EXPECT_EQ(p.HWmf, 0);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Top, 0);
    EXPECT_EQ(p.Right, width);
    EXPECT_EQ(p.Bottom, height);
    EXPECT_EQ(p.Inch, 96);
    EXPECT_EQ(p.Checksum, p.ComputedChecksum);
    EXPECT_EQ(p.Type, 1);
    EXPECT_EQ(p.HeaderWords, 9);
    EXPECT_EQ(p.Version, 0x0300);
    EXPECT_EQ(p.Members, 0);
    EXPECT_EQ(static_cast<qsizetype>(p.SizeWords) * 2 + 22, bytes.size());
    uint32_t sum = 9;
    uint32_t largest = 0;
    for (const TRecord& r : p.Records) {
        sum += r.Words;
        largest = std::max(largest, r.Words);
    }
    EXPECT_EQ(sum, p.SizeWords);
    EXPECT_EQ(largest, p.MaxRecord);
    ASSERT_FALSE(p.Records.empty());
    EXPECT_EQ(p.Records.back().Function, Wmf::RecEof);
    EXPECT_EQ(p.Records.back().Words, 3u);
    const QString sizes = CheckRecordSizes(p.Records);
    EXPECT_TRUE(sizes.isEmpty()) << sizes.toStdString();
    const TObjectPlay play = PlayObjects(p.Records);
    EXPECT_TRUE(play.Error.isEmpty()) << play.Error.toStdString();
    EXPECT_EQ(play.MaxSlots, p.Objects);
    EXPECT_LE(p.Objects, 8) << "objects are not being released";
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void FillChart(TChart& chart, int series, int points) {
    for (int s = 0; s < series; ++s)
        chart.AddSeries();
    for (int i = 0; i < points; ++i)
        for (int s = 0; s < series; ++s)
            chart.AddPoint(s, i / 100.0, std::sin(i * 0.01 + s) * (s + 1) * 1000);
}
} // namespace

TEST(WmfFile, ChartFilesAreConsistentInBothLooks) {
    QTemporaryDir dir;
    for (const bool threeD : {false, true}) {
        TChart chart;
        FillChart(chart, 3, 500);
        chart.SetLegendVisible(true);
        chart.Set3D(threeD);
        const QString path = dir.filePath(threeD ? "solid" : "flat");
        ASSERT_TRUE(SaveChartWmf(chart, path, QSize(1000, 600)));
        SCOPED_TRACE(threeD ? "3D" : "2D");
        ExpectConsistent(ReadFile(path), 1000, 600);
    }
}

TEST(WmfFile, TextIsWindows1251WithACyrillicFont) {
    QTemporaryDir dir;
    TChart chart;
    FillChart(chart, 2, 10);
    chart.SetLegendVisible(true);
    const QString path = dir.filePath("chart.wmf");
    ASSERT_TRUE(SaveChartWmf(chart, path, QSize(800, 500)));
    const TParsed p = Parse(ReadFile(path));
    ASSERT_TRUE(p.Error.isEmpty());

    QList<QByteArray> texts;
    int fonts = 0;
    for (const TRecord& r : p.Records) {
        if (r.Function == Wmf::RecExtTextOut)
            texts << r.Params.mid(8, U16(r.Params, 4));
        if (r.Function == Wmf::RecCreateFontIndirect) {
            ++fonts;
            EXPECT_EQ(static_cast<uint8_t>(r.Params[13]), 204); // charset
            EXPECT_LT(S16(r.Params, 0), 0);                     // character height
            EXPECT_EQ(r.Params.mid(18, 6), QByteArray("Arial\0", 6));
        }
    }
    EXPECT_GE(fonts, 1);
    EXPECT_TRUE(texts.contains(QByteArray("\xCA\xE0\xED\xE0\xEB\x20\x31"))) << "Канал 1";
    EXPECT_TRUE(texts.contains(QByteArray("\xCA\xE0\xED\xE0\xEB\x20\x32"))) << "Канал 2";
}

TEST(WmfFile, MillionsOfPointsBecomeAFewDecimatedPolylines) {
    TChart chart;
    FillChart(chart, 4, 1'000'000);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.wmf");
    ASSERT_TRUE(SaveChartWmf(chart, path, QSize(1200, 700)));
    const QByteArray bytes = ReadFile(path);
    ExpectConsistent(bytes, 1200, 700);
    const TParsed p = Parse(bytes);
    size_t polylinePoints = 0;
    for (const TRecord& r : p.Records)
        if (r.Function == Wmf::RecPolyline)
            polylinePoints += static_cast<size_t>(S16(r.Params, 0));
    EXPECT_LE(polylinePoints, 4u * (2 * 1200 + 4));
    EXPECT_GT(polylinePoints, 4u * 1000);
    EXPECT_LT(p.Records.size(), 1000u);
    EXPECT_LT(bytes.size(), 200'000);
}

TEST(WmfWriter, LongPolylinesAreSplitSharingTheirEnds) {
    TWmfWriter writer(QRect(0, 0, 100, 100), 96);
    std::vector<QPoint> points;
    for (int i = 0; i < 70'000; ++i)
        points.emplace_back(i % 1000, i / 1000);
    points[0] = QPoint(40'000, -40'000);
    writer.Polyline(points);
    const TParsed p = Parse(writer.Finish());
    ASSERT_TRUE(p.Error.isEmpty());
    std::vector<const TRecord*> polylines;
    for (const TRecord& r : p.Records)
        if (r.Function == Wmf::RecPolyline)
            polylines.push_back(&r);
    ASSERT_EQ(polylines.size(), 3u);
    EXPECT_EQ(S16(polylines[0]->Params, 0), 32767);
    EXPECT_EQ(S16(polylines[1]->Params, 0), 32767);
    EXPECT_EQ(S16(polylines[2]->Params, 0), 70'000 + 2 - 2 * 32767);
    for (size_t k = 0; k + 1 < polylines.size(); ++k) {
        const QByteArray& a = polylines[k]->Params;
        const QByteArray& b = polylines[k + 1]->Params;
        EXPECT_EQ(a.mid(a.size() - 4), b.mid(2, 4)) << "piece " << k << " does not continue";
    }
    EXPECT_EQ(S16(polylines[0]->Params, 2), 32767); // clamped to 16 bits
    EXPECT_EQ(S16(polylines[0]->Params, 4), -32768);
    EXPECT_EQ(p.MaxRecord, 4u + 2 * 32767);
    EXPECT_EQ(CheckRecordSizes(p.Records), QString());
}

TEST(WmfCanvas, ObjectsLiveExactlyAsLongAsTheyAreSelectedOrSaved) {
    TWmfCanvas canvas(QSize(200, 100));
    canvas.SetPen(TCanvasPen{Qt::red});
    canvas.Line({0, 0}, {10, 10});
    canvas.SetClipRect(QRectF(10, 10, 50, 50));
    canvas.SetPen(TCanvasPen{Qt::blue, 2});
    canvas.Line({0, 0}, {10, 10});
    canvas.SetPen(TCanvasPen{Qt::green, 1, TCanvasPenStyle::Dash});
    canvas.SetBrush(TCanvasBrush{Qt::yellow});
    canvas.Rectangle(QRectF(5, 5, 20, 20));
    TCanvasFont font;
    font.Bold = true;
    font.Color = Qt::darkRed;
    canvas.SetFont(font);
    canvas.Text({1, 1}, QStringLiteral("Δ=€ ток"));
    canvas.ResetClip();
    canvas.Line({0, 0}, {10, 10});
    canvas.FillRect(QRectF(0, 0, 10, 10), Qt::cyan);
    canvas.SetClipRect(QRectF(0, 0, 20, 20));
    canvas.Text({2, 2}, QStringLiteral("x"));
    const QByteArray bytes = canvas.Finish(); // finishing also ends the open clip
    ExpectConsistent(bytes, 200, 100);

    const TParsed p = Parse(bytes);
    int saves = 0, restores = 0, colours = 0;
    QByteArray text;
    for (const TRecord& r : p.Records) {
        saves += r.Function == Wmf::RecSaveDc;
        restores += r.Function == Wmf::RecRestoreDc;
        if (r.Function == Wmf::RecSetTextColor && r.Params == QByteArray("\x80\x00\x00\x00", 4))
            ++colours;
        if (r.Function == Wmf::RecExtTextOut && text.isEmpty())
            text = r.Params.mid(8, U16(r.Params, 4));
    }
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(restores, 2);
    EXPECT_GE(colours, 1);
    // No Windows-1251 code for Greek: "?"; the euro sign and Cyrillic have one.
    EXPECT_EQ(text, QByteArray("?=\x88 \xF2\xEE\xEA"));
}
