#pragma once
// The device parameter table: one row per parameter of the active device type, the working copy of
// the active device record's values.
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <memory>

class QTableWidget;
struct TGridData;
class QPalette;

// Screen colour of a colour value (0x00BBGGRR, or a system colour 0x80000000 + index mapped to the
// matching palette role); an invalid colour for clNone and unknown system indices.
QColor WinColorToQColor(uint32_t color, const QPalette& palette);

// What the table needs of the main window.
class TDevHost {
public:
    virtual ~TDevHost() = default;
    virtual void PrjChange() = 0;
    virtual void BuildMeasureView(const TDevProp& t) = 0; // measurement view for t.Channels
    virtual void SetDevStatusText(const QString& text) = 0;
};

class TfrmDev : public QWidget {
    Q_OBJECT
public:
    TfrmDev(TAppState& state, IUserDialogs& dialogs, TDevHost& host, QWidget* parent = nullptr);
    ~TfrmDev() override;

    // Table operations.
    void ApplyDevType(const TDevProp& t);
    void ValuesToTable(const TDev& d);
    // Returns the first row whose text held a line break (taken with blanks in its place), or -1.
    int TableToValues(TDev& d);
    void ResetValues(TDev& d);
    int FirstEmptyValue(const TDev& d) const;
    void ClearTable(const TDevProp& t);
    void SetFactoryDefaults(const TDevProp& t);
    // Shows value i of d in its row exactly as ValuesToTable shows one row (read-all's row refresh).
    void ShowParamRow(const TDev& d, int i);

    void SetShowHints(bool on);
    // Ends a cell edit in progress, taking the edited text into the cell.
    void EndEdit();
    // Every command that takes or replaces the table's values runs this first: the edit in
    // progress is checked and taken into its cell. False when the check refused the text (its
    // message was shown, the cell keeps its old value): the command must not run.
    bool EndEditForCommand();
    // Read-all passed parameter i without a value from the instrument (bit strings are written but
    // never read). An empty bit string gets its factory value; either way the row is marked as not
    // confirmed by the instrument until it is read or its value changes. A typed value stays.
    void NotReadFromDevice(TDev& d, int i);
    bool IsUnconfirmed(int row) const;
    // Whether a read since the type was applied (a connection, a project opened, a type change)
    // brought parameter i's value from the instrument. ReadComplete: reads went through every
    // parameter's row, with a value or without one (bit strings).
    bool ReadFromDevice(int i) const;
    bool ReadComplete() const;

    // Comparison with a file: the row of parameter i is marked (a background, other shown beside the
    // name, hint as the rows' tool tip) until ClearDifferences or a type change. Not a cell text:
    // files, exports and printing never see it.
    void MarkDifference(int i, const QString& other, const QString& hint);
    void ClearDifferences();
    bool IsMarkedDifferent(int i) const;
    QString DifferenceText(int i) const;
    // Parameter i's value into its row, shown as ValuesToTable shows a record's value.
    void SetParamValue(int i, const QString& value);

    // Grid access in the grid's own coordinates: row 0 is the header row, column 0 the names.
    // Used by parameter-set files, printing and export.
    int ColCount() const;
    int RowCount() const;
    QString CellText(int col, int row) const;
    void SetCellText(int col, int row, const QString& text);
    bool HasCheckBox(int col, int row) const;
    bool IsChecked(int col, int row) const;
    void SetCheckBox(int col, int row, bool checked); // adds one when the cell has none
    void RemoveCheckBox(int col, int row);
    // Font colour stored with the cell (the coupled row's grey or normal text), 0x1FFFFFFF when none.
    uint32_t CellFontColor(int col, int row) const;
    void SetCellFontColor(int col, int row, uint32_t color);
    enum class TAlign { Left, Center, Right };
    TAlign CellAlignment(int col, int row) const;
    // The look the table gives a cell (for the web-page export): background (invalid when none),
    // text colour and font.
    QColor CellBackground(int col, int row) const;
    QColor CellTextColor(int col, int row) const;
    QFont CellFont(int col, int row) const;

    // Whole-table access for parameter-set files. Rows count the header row; new rows come empty.
    // None of these runs the layout, so stored widths stay until the next resize.
    void SetRowCount(int rows);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    // Empties every cell, the header included: texts, check boxes and stored font colours.
    void ClearGrid();

    // Whether cell (col, row) may be edited now (exchange state, selection, switch rule).
    bool ASGCanEditCell(int col, int row) const;

    static constexpr int HeaderRowHeight = 30;
    static constexpr int DataRowHeight = 25;

    // Value check of an edited text for parameter p (row p + 1); the text may be changed by the
    // check (limits, commas). Returns false when the value is refused. Shows the messages and, on
    // acceptance, calls PrjChange (the edit path calls it once more for the changed cell).
    bool CheckValue(int p, QString& text);

    // Runs the column and scroll-bar layout for the current size.
    void FormResize();
    // Repaints the grid: whether a cell may be edited changed with the exchange state.
    void RepaintGrid();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QTableWidget* ASG = nullptr; // objectName "DevGrid"
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
    friend class TDevGrid;
    friend class TDevDelegate;
    friend class TDevCell;
    // Fills the grid with its updates held back once for the whole snapshot.
    friend void GridToTable(const TGridData& grid, TfrmDev& table);
};
