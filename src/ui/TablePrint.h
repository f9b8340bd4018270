#pragma once
// The device table's printed report: a centred bold title, a bold underlined header row and one line
// per data row at a pitch of a fifth of an inch, title and header repeated on every page.
#include "formats/GridData.h"

#include <QRect>
#include <QString>
#include <utility>
#include <vector>

class QPagedPaintDevice;

// What the print routines need of a print surface; the printer and the layout recorder implement it.
class IPrintCanvas {
public:
    virtual ~IPrintCanvas() = default;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    virtual int PageWidth() const = 0; // printable area, pixels
    virtual int PageHeight() const = 0;
    virtual void SetFontStyle(bool bold, bool underline) = 0;
    virtual int TextWidth(const QString& text) = 0;
    virtual int TextHeight(const QString& text) = 0;
    virtual void DrawText(int x, int y, const QString& text) = 0;         // top-left at (x, y)
    virtual void DrawClipped(const QRect& rect, const QString& text) = 0; // from the top-left, clipped
    virtual bool NewPage() = 0;
    virtual bool Aborted() const = 0;
};

// The print state and its three line routines.
class TTablePrinter {
public:
    using TRow = std::vector<std::pair<QString, int>>; // (text, width in tenths of an inch)

    explicit TTablePrinter(IPrintCanvas& canvas);
    void PrintTitle(const QString& text);
    void PrintHeaderRow(const TGridData& grid);
    void PrintRow(const TRow& row);
    // The whole report; false when the job was aborted.
    bool PrintTable(const TGridData& grid, const QString& title);

    int DpiX = 0;
    int Gap = 0;
    int LineHeight = 0;
    int Y = 0;

private:
    IPrintCanvas& Canvas;
};

// "ПРИБОР <name>. ТАБЛИЦА ПАРАМЕТРОВ ПРИБОРА."
QString PrintTitleText(const QString& deviceTypeName);
// Printed width in pixels of a column of the given width in tenths of an inch (half to even).
int PrintCellWidth(int dpiX, int tenths);
// The row as printed: check-box cells become "[  ]" or "[X]"; column 0 is 30 tenths wide, others 10.
TTablePrinter::TRow PrintRowOf(const TGridData& grid, int row);

// Geometry of a report without a printer: every drawn text with its page and rectangle, measured with
// fixed text metrics (each character charWidth wide, every text textHeight high).
struct TPrintItem {
    int Page = 0;
    QString Text;
    QRect Rect; // the cell rectangle; for titles the text's own box
    bool Bold = false;
    bool Underline = false;
    bool Clipped = false; // cells are clipped to Rect, titles are not
};
struct TPrintPage {
    int DpiX = 600;
    int DpiY = 600;
    int Width = 4800;
    int Height = 6600;
};
std::vector<TPrintItem> LayoutTablePrint(const TGridData& grid, const QString& title, const TPrintPage& page,
                                         int charWidth, int textHeight);

// Prints on any paged device (a QPrinter or a PDF writer). Error texts are Russian for the user.
TFileResult PrintTable(const TGridData& grid, const QString& title, QPagedPaintDevice& device);
