// Saving the chart as PNG, SVG and CSV, the choice of format by file name, and printing.
#include "ui/ScriptedDialogs.h"

#include "chart/Chart.h"
#include "chart/ChartExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>

namespace {
QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void FillChart(TChart& chart, int series, int points) {
    for (int s = 0; s < series; ++s)
        chart.AddSeries();
    for (int i = 0; i < points; ++i)
        for (int s = 0; s < series; ++s)
            chart.AddPoint(s, i / 60.0, std::sin(i * 0.05 + s) * 100 + s * 50);
}
} // namespace

TEST(ChartSvg, DocumentIsWellFormedWithLinesAndCyrillicText) {
    QTemporaryDir dir;
    for (const bool threeD : {false, true}) {
        TChart chart;
        FillChart(chart, 3, 400);
        chart.SetLegendVisible(true);
        chart.Set3D(threeD);
        const QString path = dir.filePath(threeD ? "solid.svg" : "flat.svg");
        ASSERT_TRUE(SaveChartSvg(chart, path, QSize(900, 500)));
        QXmlStreamReader xml(ReadFile(path));
        int polylines = 0, polygons = 0, clips = 0;
        QStringList texts;
        QString root;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (root.isEmpty())
                root = xml.name().toString();
            if (xml.name() == QLatin1String("polyline"))
                ++polylines;
            else if (xml.name() == QLatin1String("polygon"))
                ++polygons;
            else if (xml.name() == QLatin1String("clipPath"))
                ++clips;
            else if (xml.name() == QLatin1String("text"))
                texts << xml.readElementText();
        }
        SCOPED_TRACE(threeD ? "3D" : "2D");
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(root, "svg");
        EXPECT_GE(polylines, 3);
        EXPECT_EQ(polygons > 0, threeD);
        EXPECT_GE(clips, 1);
        EXPECT_TRUE(texts.contains("Канал 1"));
        EXPECT_TRUE(texts.contains("Канал 3"));
    }
}

TEST(ChartSvg, TextWithMarkupCharactersIsEscaped) {
    QTemporaryDir dir;
    TChart chart;
    chart.AddSeries(QStringLiteral("A<B & \"C\""));
    chart.AddSeries();
    chart.AddPoint(0, 0, 1);
    chart.SetLegendVisible(true);
    const QString path = dir.filePath("escaped.svg");
    ASSERT_TRUE(SaveChartSvg(chart, path));
    QXmlStreamReader xml(ReadFile(path));
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts << xml.readElementText();
    EXPECT_FALSE(xml.hasError());
    EXPECT_TRUE(texts.contains("A<B & \"C\""));
}

TEST(ChartPng, ImageHasTheSizeAndTheSeriesColours) {
    QTemporaryDir dir;
    TChart chart;
    FillChart(chart, 2, 300);
    const QString path = dir.filePath("chart.png");
    ASSERT_TRUE(SaveChartPng(chart, path, QSize(640, 400)));
    QImage image;
    ASSERT_TRUE(image.load(path, "PNG"));
    EXPECT_EQ(image.size(), QSize(640, 400));
    int first = 0, second = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            first += c == (chart.Series(0).Color.rgb() & 0xFFFFFF);
            second += c == (chart.Series(1).Color.rgb() & 0xFFFFFF);
        }
    EXPECT_GT(first, 300);
    EXPECT_GT(second, 300);
}

TEST(ChartSave, FormatFollowsTheEndingAndTheNameIsKept) {
    QTemporaryDir dir;
    TChart chart;
    FillChart(chart, 1, 50);
    const struct {
        const char* Name;
        QByteArray Start;
    } cases[] = {
        {"a.PNG", QByteArray("\x89PNG")},          {"b.svg", QByteArray("<?xml")},
        {"c.wmf", QByteArray("\xD7\xCD\xC6\x9A")}, {"d", QByteArray("\xD7\xCD\xC6\x9A")},
        {"e.emf", QByteArray("\xD7\xCD\xC6\x9A")},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.Name);
        ASSERT_TRUE(SaveChart(chart, path)) << c.Name;
        EXPECT_TRUE(ReadFile(path).startsWith(c.Start)) << c.Name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5); // no extension added anywhere
    EXPECT_FALSE(SaveChart(chart, dir.filePath("missing/dir/x.wmf")));
    EXPECT_FALSE(SaveChartPng(chart, dir.filePath("missing/dir/x.png")));
}

TEST(ChartCsv, PointsInTimeOrderAcrossChannels) {
    QTemporaryDir dir;
    TChart chart;
    chart.AddSeries();
    chart.AddSeries();
    chart.AddSeries(); // without points
    chart.AddPoint(0, 0.5, 1.25);
    chart.AddPoint(1, 1.0, 3e-7);
    chart.AddPoint(0, 1.5, -2);
    chart.AddPoint(1, 1.5, 1234567.5);
    chart.AddPoint(1, 2.0 / 3.0 + 1, 0.1);
    const QString path = dir.filePath("points.csv");
    ASSERT_TRUE(SaveChartCsv(chart, path));
    const QList<QByteArray> lines = ReadFile(path).split('\n');
    ASSERT_EQ(lines.size(), 7); // six lines and the empty rest after the last line end
    EXPECT_EQ(lines[0], "time_min,channel,value\r");
    EXPECT_EQ(lines[1], "0.5,1,1.25\r");
    EXPECT_EQ(lines[2], "1,2,3e-07\r");
    EXPECT_EQ(lines[3], "1.5,1,-2\r");
    EXPECT_EQ(lines[4], "1.5,2,1234567.5\r");
    // Full precision: the text reads back to the same number.
    const QList<QByteArray> last = lines[5].trimmed().split(',');
    ASSERT_EQ(last.size(), 3);
    EXPECT_EQ(last[0].toDouble(), 2.0 / 3.0 + 1);
    EXPECT_EQ(last[2], "0.1");
    EXPECT_EQ(lines[6], "");

    TChart empty;
    ASSERT_TRUE(SaveChartCsv(empty, path));
    EXPECT_EQ(ReadFile(path), "time_min,channel,value\r\n");
}

TEST(ChartPrint, OnePageOnAPdfPrinter) {
    QTemporaryDir dir;
    TChart chart;
    FillChart(chart, 4, 250'000);
    chart.SetLegendVisible(true);
    for (const bool threeD : {false, true}) {
        chart.Set3D(threeD);
        const QString path = dir.filePath(threeD ? "solid.pdf" : "flat.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        ASSERT_TRUE(PrintChart(chart, printer));
        const QByteArray pdf = ReadFile(path);
        SCOPED_TRACE(threeD ? "3D" : "2D");
        EXPECT_TRUE(pdf.startsWith("%PDF"));
        EXPECT_GT(pdf.size(), 5'000);
        EXPECT_LT(pdf.size(), 3'000'000) << "a million points should be printed decimated";
        EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
    }
}
