#include "ui/TablePrint.h"

#include "common/Numbers.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

TTablePrinter::TTablePrinter(IPrintCanvas& canvas) : Canvas(canvas) {}

void TTablePrinter::PrintTitle(const QString& text) {
    Canvas.SetFontStyle(true, false);
    const int x = Canvas.PageWidth() / 2 - Canvas.TextWidth(text) / 2;
    if (!Canvas.Aborted())
        Canvas.DrawText(x, Y, text);
    Y += LineHeight + Gap;
    Canvas.SetFontStyle(false, false);
}

void TTablePrinter::PrintHeaderRow(const TGridData& grid) {
    Canvas.SetFontStyle(true, true);
    TRow row;
    for (int c = 0; c < grid.ColCount; ++c)
        row.emplace_back(grid.Cell(c, 0).Text, c == 0 ? 30 : 10);
    PrintRow(row);
    Canvas.SetFontStyle(false, false);
}

void TTablePrinter::PrintRow(const TRow& row) {
    int x = 0;
    for (const auto& [text, width] : row) {
        const QRect rect(QPoint(x, Y), QPoint(x + PrintCellWidth(DpiX, width) - 1, Y + LineHeight - 1));
        if (!Canvas.Aborted())
            Canvas.DrawClipped(rect, text);
        x = rect.right() + 1;
    }
    Y += 2 * Gap;
}

bool TTablePrinter::PrintTable(const TGridData& grid, const QString& title) {
    DpiX = Canvas.DpiX();
    Gap = Canvas.DpiY() / 10;
    Y = 0;
    LineHeight = Canvas.TextHeight(QStringLiteral("X")) + Gap;
    if (grid.RowCount < 1 || grid.ColCount < 1)
        return !Canvas.Aborted();
    PrintTitle(title);
    PrintHeaderRow(grid);
    for (int r = 1; r < grid.RowCount; ++r) {
        if (Canvas.Aborted())
            return false;
        PrintRow(PrintRowOf(grid, r));
        if (Canvas.PageHeight() < Y + LineHeight) {
            Y = 0;
            if (!Canvas.NewPage())
                return false;
            PrintTitle(title);
            PrintHeaderRow(grid);
        }
    }
    return !Canvas.Aborted();
}

QString PrintTitleText(const QString& deviceTypeName) {
    return QCoreApplication::translate("TablePrint", "ПРИБОР %1. ТАБЛИЦА ПАРАМЕТРОВ ПРИБОРА.")
        .arg(deviceTypeName);
}

int PrintCellWidth(int dpiX, int tenths) {
    return static_cast<int>(Numbers::RoundHalfEven(dpiX * tenths * 0.1));
}

TTablePrinter::TRow PrintRowOf(const TGridData& grid, int row) {
    TTablePrinter::TRow out;
    for (int c = 0; c < grid.ColCount; ++c) {
        const TGridCell& cell = grid.Cell(c, row);
        const QString text =
            cell.HasCheckBox ? (cell.Checked ? QStringLiteral("[X]") : QStringLiteral("[  ]")) : cell.Text;
        out.emplace_back(text, c == 0 ? 30 : 10);
    }
    return out;
}

namespace {

// Records what would be drawn, measuring texts with fixed metrics.
class TLayoutCanvas : public IPrintCanvas {
public:
    TLayoutCanvas(const TPrintPage& page, int charWidth, int textHeight)
        : Page(page), CharWidth(charWidth), Height(textHeight) {}
    int DpiX() const override { return Page.DpiX; }
    int DpiY() const override { return Page.DpiY; }
    int PageWidth() const override { return Page.Width; }
    int PageHeight() const override { return Page.Height; }
    void SetFontStyle(bool bold, bool underline) override {
        Bold = bold;
        Underline = underline;
    }
    int TextWidth(const QString& text) override { return static_cast<int>(text.size()) * CharWidth; }
    int TextHeight(const QString&) override { return Height; }
    void DrawText(int x, int y, const QString& text) override {
        Items.push_back({PageIndex, text, QRect(x, y, TextWidth(text), Height), Bold, Underline, false});
    }
    void DrawClipped(const QRect& rect, const QString& text) override {
        Items.push_back({PageIndex, text, rect, Bold, Underline, true});
    }
    bool NewPage() override {
        ++PageIndex;
        return true;
    }
    bool Aborted() const override { return false; }

    std::vector<TPrintItem> Items;

private:
    TPrintPage Page;
    int CharWidth;
    int Height;
    int PageIndex = 0;
    bool Bold = false;
    bool Underline = false;
};

class TPainterCanvas : public IPrintCanvas {
public:
    TPainterCanvas(QPainter& painter, QPagedPaintDevice& device)
        : Painter(painter), Device(device), Printer(dynamic_cast<QPrinter*>(&device)),
          BaseFont(painter.font()) {}
    int DpiX() const override { return Device.logicalDpiX(); }
    int DpiY() const override { return Device.logicalDpiY(); }
    int PageWidth() const override { return Device.width(); }
    int PageHeight() const override { return Device.height(); }
    void SetFontStyle(bool bold, bool underline) override {
        QFont f = BaseFont;
        f.setBold(bold);
        f.setUnderline(underline);
        Painter.setFont(f);
    }
    int TextWidth(const QString& text) override { return Painter.fontMetrics().horizontalAdvance(text); }
    int TextHeight(const QString&) override { return Painter.fontMetrics().height(); }
    void DrawText(int x, int y, const QString& text) override {
        Painter.drawText(QRect(x, y, TextWidth(text) + 1, TextHeight(text)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    }
    void DrawClipped(const QRect& rect, const QString& text) override {
        Painter.save();
        Painter.setClipRect(rect);
        Painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        Painter.restore();
    }
    bool NewPage() override { return Device.newPage(); }
    bool Aborted() const override { return Printer && Printer->printerState() == QPrinter::Aborted; }

private:
    QPainter& Painter;
    QPagedPaintDevice& Device;
    QPrinter* Printer;
    QFont BaseFont;
};

} // namespace

std::vector<TPrintItem> LayoutTablePrint(const TGridData& grid, const QString& title, const TPrintPage& page,
                                         int charWidth, int textHeight) {
    TLayoutCanvas canvas(page, charWidth, textHeight);
    TTablePrinter(canvas).PrintTable(grid, title);
    return std::move(canvas.Items);
}

TFileResult PrintTable(const TGridData& grid, const QString& title, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return {false,
                QCoreApplication::translate("TablePrint", "Не удалось начать печать: принтер недоступен.")};
    TPainterCanvas canvas(painter, device);
    if (!TTablePrinter(canvas).PrintTable(grid, title))
        return {false, QCoreApplication::translate("TablePrint", "Печать прервана.")};
    if (!painter.end())
        return {false, QCoreApplication::translate("TablePrint", "Ошибка печати: задание не завершено.")};
    return {};
}
