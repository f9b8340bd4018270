#include "ui/DevTableFiles.h"

#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "formats/TableExport.h"
#include "ui/DevTable.h"
#include "ui/MainWindow.h"
#include "ui/TablePrint.h"
#include "ui/UpdatesPause.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalBlocker>
#include <QTableWidget>
#include <optional>

namespace {
constexpr uint32_t Maroon = 0x000080;

TCellAlign ToCellAlign(TfrmDev::TAlign a) {
    switch (a) {
    case TfrmDev::TAlign::Center:
        return TCellAlign::Center;
    case TfrmDev::TAlign::Right:
        return TCellAlign::Right;
    default:
        return TCellAlign::Left;
    }
}
} // namespace

TGridData GridFromTable(const TfrmDev& table, const TDevProp* type) {
    TGridData grid;
    const int cols = table.ColCount();
    const int rows = table.RowCount();
    grid.Reset(cols, rows);
    for (int c = 0; c < cols; ++c)
        grid.ColWidths[static_cast<size_t>(c)] = table.ColWidth(c);
    for (int r = 0; r < rows; ++r)
        grid.RowHeights[static_cast<size_t>(r)] = table.RowHeight(r);
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            TGridCell& cell = grid.Cell(c, r);
            cell.HasCheckBox = table.HasCheckBox(c, r);
            cell.Checked = cell.HasCheckBox && table.IsChecked(c, r);
            // The header's captions are stored as they are in Russian, whatever the window shows.
            cell.Text = r == 0 && c < 2    ? DevTableCaption(c)
                        : cell.HasCheckBox ? QString()
                                           : table.CellText(c, r);
            cell.FontColor = table.CellFontColor(c, r);
            cell.HasProp = cell.HasCheckBox || cell.FontColor != KColorNone;
            cell.Alignment = ToCellAlign(table.CellAlignment(c, r));
            // What the table computes from the descriptions: bold header and names, maroon names, the
            // row colour behind both cells of a parameter row.
            cell.Bold = r == 0 || c == 0;
            if (r > 0 && c == 0)
                cell.ShownFontColor = Maroon;
            if (r > 0 && type && r - 1 < type->ParamCount())
                cell.ShownBrushColor = type->Param(r - 1).Color;
        }
    }
    return grid;
}

void GridToTable(const TGridData& grid, TfrmDev& table) {
    QTableWidget* g = table.ASG;
    // Left alone when an ancestor holds the updates back (see TUpdatesPause).
    std::optional<TUpdatesPause> pause(g);
    table.SetRowCount(grid.RowCount);
    const int rows = table.RowCount();
    const int cols = table.ColCount();
    // Row heights: only those that differ, since every resized row costs a pass over all rows.
    for (int r = 0; r < rows && static_cast<size_t>(r) < grid.RowHeights.size(); ++r)
        if (table.RowHeight(r) != grid.RowHeights[static_cast<size_t>(r)])
            table.SetRowHeight(r, grid.RowHeights[static_cast<size_t>(r)]);
    for (int c = 0; c < cols && static_cast<size_t>(c) < grid.ColWidths.size(); ++c)
        table.SetColWidth(c, grid.ColWidths[static_cast<size_t>(c)]);
    {
        // Cell by cell the model would announce every change and the view would place every cell
        // anew; the view is told once at the end instead.
        const QSignalBlocker quiet(g->model());
        for (int c = 0; c < cols; ++c) {
            // Columns the grid does not have are emptied: the table shows the grid and nothing else.
            const bool inGrid = c < grid.ColCount;
            for (int r = 0; r < rows; ++r) {
                static const TGridCell empty;
                const TGridCell& cell = inGrid && r < grid.RowCount ? grid.Cell(c, r) : empty;
                if (cell.HasCheckBox)
                    table.SetCheckBox(c, r, cell.Checked);
                else if (table.HasCheckBox(c, r))
                    table.RemoveCheckBox(c, r);
                // The stored header captions are shown in the window's language, like the table's own.
                const QString text = r == 0 && c < 2 && cell.Text == DevTableCaption(c)
                                         ? TfrmDev::tr(DevTableCaption(c).toUtf8().constData())
                                         : cell.Text;
                if (table.CellText(c, r) != text)
                    table.SetCellText(c, r, text);
                table.SetCellFontColor(c, r, cell.HasProp ? cell.FontColor : KColorNone);
            }
        }
    }
    pause.reset();
    g->horizontalHeader()->viewport()->update();
    g->viewport()->update();
}

int FirstLineBreakRow(const TGridData& grid, int col) {
    if (col < 0 || col >= grid.ColCount)
        return -1;
    for (int r = 1; r < grid.RowCount; ++r) {
        const QString& text = grid.Cell(col, r).Text;
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
            return r;
    }
    return -1;
}

QString ReplaceExtension(const QString& fileName, const QString& ext) {
    const QFileInfo fi(fileName);
    const QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? fileName : fileName.left(fileName.size() - suffix.size() - 1);
    return base + QLatin1Char('.') + ext;
}

void SaveDevTable(TfrmMain& main) {
    if (!main.State.HasCurType())
        return;
    const TDevProp& type = main.State.CurDevType();
    TFileDialogSpec dialogDef;
    dialogDef.Title = QCoreApplication::translate("DevTableFiles", "Сохранение параметров прибора в файл");
    dialogDef.Directory = UserFilesDir(main.State.LastUserDir, main.State.ProgDir);
    dialogDef.Filters = {
        QCoreApplication::translate("DevTableFiles", "Файл параметров прибора (*.%1)").arg(type.DevExt),
        QCoreApplication::translate("DevTableFiles", "Текстовый файл (*.txt)"),
        QCoreApplication::translate("DevTableFiles", "Документ Word (*.doc)"),
        QCoreApplication::translate("DevTableFiles", "Книга MS Excel (*.xls)"),
        QCoreApplication::translate("DevTableFiles", "Web Page (*.html)")};
    dialogDef.DefaultExt = type.DevExt;
    int filter = 0;
    const QString chosen = main.Dialogs.SaveFileName(dialogDef, &filter);
    if (chosen.isEmpty())
        return;
    main.State.LastUserDir = QFileInfo(chosen).absolutePath();
    static const QStringList exts = {QString(), QStringLiteral("txt"), QStringLiteral("doc"),
                                     QStringLiteral("xls"), QStringLiteral("html")};
    const int entry = filter >= 0 && filter < exts.size() ? filter : 0;
    const QString name = ReplaceExtension(chosen, entry == 0 ? type.DevExt : exts[entry]);
    main.frmDev->EndEdit();
    const TGridData grid = GridFromTable(*main.frmDev, &type);
    const TFileResult result = entry == 0 ? WriteParamSetFile(grid, name) : ExportTable(grid, name);
    if (!result.Ok)
        main.Dialogs.Message(result.Error, QCoreApplication::translate("DevTableFiles", "Ошибка"),
                             TMsgButtons::Ok);
}

void LoadDevTable(TfrmMain& main) {
    if (!main.State.HasCurType())
        return;
    const TDevProp& type = main.State.CurDevType();
    TFileDialogSpec dialogDef;
    dialogDef.Title = QCoreApplication::translate("DevTableFiles", "Загрузка параметров прибора из файла");
    dialogDef.Directory = UserFilesDir(main.State.LastUserDir, main.State.ProgDir);
    dialogDef.Filters = {
        QCoreApplication::translate("DevTableFiles", "Файлы параметров прибора (*.%1)").arg(type.DevExt)};
    dialogDef.DefaultExt = type.DevExt;
    const QString chosen = main.Dialogs.OpenFileName(dialogDef);
    if (chosen.isEmpty())
        return;
    main.State.LastUserDir = QFileInfo(chosen).absolutePath();
    const QString name = ReplaceExtension(chosen, type.DevExt);
    if (!QFileInfo(name).isFile()) {
        main.Dialogs.Message(QCoreApplication::translate("DevTableFiles", "Ошибка! Файл не найден!"),
                             QCoreApplication::translate("DevTableFiles", "Ошибка"), TMsgButtons::Ok);
        return;
    }
    main.frmDev->EndEdit();
    // The whole file is read into a copy first: a damaged file leaves the table exactly as it was.
    TGridData grid = GridFromTable(*main.frmDev, &type);
    const TParamSetReadResult result = ReadParamSetFile(grid, name);
    if (!result.Ok) {
        main.Dialogs.Message(result.Error, QCoreApplication::translate("DevTableFiles", "Ошибка"),
                             TMsgButtons::Ok);
        return;
    }
    if (const int row = FirstLineBreakRow(grid, 1); row >= 0) {
        main.Dialogs.Message(
            QCoreApplication::translate(
                "DevTableFiles", "Файл параметров не загружен: значение в строке %1 содержит перевод строки.")
                .arg(row),
            QCoreApplication::translate("DevTableFiles", "Ошибка"), TMsgButtons::Ok);
        return;
    }
    GridToTable(grid, *main.frmDev);
    main.PrjChange();
}

TFileResult PrintDevTableTo(TfrmMain& main, QPagedPaintDevice& device) {
    const TDevProp* type = main.State.HasCurType() ? &main.State.CurDevType() : nullptr;
    const TGridData grid = GridFromTable(*main.frmDev, type);
    return PrintTable(grid, PrintTitleText(type ? type->Name : QString()), device);
}

void PrintDevTable(TfrmMain& main) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        main.Dialogs.Message(
            QCoreApplication::translate(
                "DevTableFiles", "Принтер не установлен. Настройте принтер по умолчанию и повторите печать."),
            QCoreApplication::translate("DevTableFiles", "Печать"), TMsgButtons::Ok);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    const TFileResult result = PrintDevTableTo(main, printer);
    if (!result.Ok)
        main.Dialogs.Message(result.Error, QCoreApplication::translate("DevTableFiles", "Печать"),
                             TMsgButtons::Ok);
}
