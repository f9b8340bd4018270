// The printed report: geometry at a known resolution, page breaks, check marks, and a real PDF job.
#include "ScriptedDialogs.h"

#include "ui/TablePrint.h"
#include "TestUtil.h"

#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

TGridData Table(int params) {
    TGridData g;
    g.Reset(2, params + 1);
    g.Cell(0, 0).Text = QStringLiteral(" Параметр");
    g.Cell(1, 0).Text = QStringLiteral(" Значение");
    for (int r = 1; r <= params; ++r) {
        g.Cell(0, r).Text = QStringLiteral(" Параметр %1").arg(r);
        g.Cell(1, r).Text = QString::number(r * 10);
    }
    return g;
}

const QString KTitle = PrintTitleText(QStringLiteral("K1"));

// Items of one page, split into the title, header cells and data cells (by their top).
struct TPageItems {
    std::vector<TPrintItem> Title, Header;
    std::map<int, std::vector<TPrintItem>> Rows; // top -> cells
};
std::vector<TPageItems> ByPage(const std::vector<TPrintItem>& items) {
    std::vector<TPageItems> pages;
    for (const TPrintItem& it : items) {
        if (size_t(it.Page) >= pages.size())
            pages.resize(size_t(it.Page) + 1);
        TPageItems& p = pages[size_t(it.Page)];
        if (!it.Clipped)
            p.Title.push_back(it);
        else if (it.Underline)
            p.Header.push_back(it);
        else
            p.Rows[it.Rect.top()].push_back(it);
    }
    return pages;
}

} // namespace

TEST(PrintLayout, At600DpiTheFirstColumnIs1800PixelsAndRowsFollowEvery120) {
    const TPrintPage page{600, 600, 4800, 6600};
    const int charWidth = 50, textHeight = 100; // LineHeight = 100 + Gap 60
    const std::vector<TPageItems> pages =
        ByPage(LayoutTablePrint(Table(3), KTitle, page, charWidth, textHeight));
    ASSERT_EQ(pages.size(), 1u) << "three parameters fit on one page";
    const TPageItems& p = pages[0];

    ASSERT_EQ(p.Title.size(), 1u);
    const TPrintItem& title = p.Title[0];
    EXPECT_EQ(title.Text, QStringLiteral("ПРИБОР K1. ТАБЛИЦА ПАРАМЕТРОВ ПРИБОРА."));
    EXPECT_TRUE(title.Bold);
    EXPECT_EQ(title.Rect.top(), 0);
    const int titleWidth = int(title.Text.size()) * charWidth;
    EXPECT_EQ(title.Rect.left(), 4800 / 2 - titleWidth / 2);

    ASSERT_EQ(p.Header.size(), 2u);
    EXPECT_EQ(p.Header[0].Rect, QRect(0, 160 + 60, 1800, 160)) << "below the title by LineHeight + Gap";
    EXPECT_EQ(p.Header[1].Rect, QRect(1800, 220, 600, 160));
    EXPECT_TRUE(p.Header[0].Bold && p.Header[1].Bold);
    EXPECT_EQ(p.Header[1].Text, QStringLiteral(" Значение"));

    ASSERT_EQ(p.Rows.size(), 3u);
    int expectedTop = 220 + 120;
    int r = 1;
    for (const auto& [top, cells] : p.Rows) {
        EXPECT_EQ(top, expectedTop);
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0].Rect.width(), 1800);
        EXPECT_EQ(cells[1].Rect.left(), 1800);
        EXPECT_EQ(cells[1].Rect.width(), 600);
        EXPECT_EQ(cells[0].Rect.height(), 160);
        EXPECT_FALSE(cells[0].Bold);
        EXPECT_EQ(cells[1].Text, QString::number(r * 10));
        expectedTop += 120;
        ++r;
    }
}

TEST(PrintLayout, CellWidthsRoundHalfToEven) {
    EXPECT_EQ(PrintCellWidth(600, 30), 1800);
    EXPECT_EQ(PrintCellWidth(600, 10), 600);
    EXPECT_EQ(PrintCellWidth(300, 30), 900);
    EXPECT_EQ(PrintCellWidth(25, 1), 2); // 2.5 -> 2
    EXPECT_EQ(PrintCellWidth(35, 1), 4); // 3.5 -> 4
    EXPECT_EQ(PrintCellWidth(72, 10), 72);
}

TEST(PrintLayout, CheckBoxCellsPrintAsBrackets) {
    TGridData g = Table(2);
    g.Cell(1, 1).HasCheckBox = true;
    g.Cell(1, 1).Checked = false;
    g.Cell(1, 2).HasCheckBox = true;
    g.Cell(1, 2).Checked = true;
    const TTablePrinter::TRow r1 = PrintRowOf(g, 1), r2 = PrintRowOf(g, 2);
    EXPECT_EQ(r1[1].first, QStringLiteral("[  ]"));
    EXPECT_EQ(r2[1].first, QStringLiteral("[X]"));
    EXPECT_EQ(r1[0], std::make_pair(QStringLiteral(" Параметр 1"), 30));
    EXPECT_EQ(r1[1].second, 10);
}

TEST(PrintLayout, PageBreaksRepeatTitleAndHeaderAndLoseNoRow) {
    // Height 1000: rows start at 340, 460, ... while Y + LineHeight (160) stays within the page.
    const TPrintPage page{600, 600, 4800, 1000};
    for (int params : {1, 4, 5, 6, 18, 20}) {
        const std::vector<TPageItems> pages = ByPage(LayoutTablePrint(Table(params), KTitle, page, 40, 100));
        std::vector<QString> printed;
        for (size_t i = 0; i < pages.size(); ++i) {
            const TPageItems& p = pages[i];
            ASSERT_EQ(p.Title.size(), 1u) << params << " page " << i;
            EXPECT_EQ(p.Title[0].Rect.top(), 0);
            ASSERT_EQ(p.Header.size(), 2u);
            EXPECT_EQ(p.Header[0].Rect.top(), 220);
            int top = 340;
            for (const auto& [y, cells] : p.Rows) {
                EXPECT_EQ(y, top);
                EXPECT_LE(cells[0].Rect.bottom() + 1, page.Height) << "a row never runs off the page";
                printed.push_back(cells[0].Text);
                top += 120;
            }
            if (i + 1 < pages.size()) {
                EXPECT_GT(top + 160, page.Height) << "a page ends only when the next row would not fit";
            }
        }
        ASSERT_EQ(printed.size(), size_t(params));
        for (int r = 1; r <= params; ++r)
            EXPECT_EQ(printed[size_t(r - 1)], QStringLiteral(" Параметр %1").arg(r));
        // Five rows per page; a row that fills the page is followed by a new page's title and header.
        EXPECT_EQ(pages.size(), size_t(params / 5 + 1)) << params;
    }
}

TEST(PrintJob, PrintsToAPdfWithTheLaidOutNumberOfPages) {
    QTemporaryDir dir;
    for (int params : {3, 150}) {
        const QString file = dir.filePath(QStringLiteral("table%1.pdf").arg(params));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setResolution(600);
        TGridData g = Table(params);
        g.Cell(1, 2).HasCheckBox = true;
        const TFileResult r = PrintTable(g, KTitle, printer);
        ASSERT_TRUE(r.Ok) << r.Error.toStdString();

        const QByteArray pdf = TestUtil::ReadBytes(file);
        ASSERT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
        const qsizetype pages =
            QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b")));

        // The same job laid out with the printer's own metrics.
        QPrinter probe(QPrinter::HighResolution);
        probe.setOutputFormat(QPrinter::PdfFormat);
        probe.setOutputFileName(dir.filePath(QStringLiteral("probe.pdf")));
        probe.setResolution(600);
        QPainter painter(&probe);
        const int textHeight = painter.fontMetrics().height();
        const TPrintPage page{probe.logicalDpiX(), probe.logicalDpiY(), probe.width(), probe.height()};
        painter.end();
        EXPECT_EQ(page.DpiX, 600);
        const std::vector<TPrintItem> items = LayoutTablePrint(g, KTitle, page, 10, textHeight);
        EXPECT_EQ(pages, items.back().Page + 1) << params;
        if (params == 150) {
            EXPECT_GT(pages, 1);
        }
    }
}
