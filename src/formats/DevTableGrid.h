#pragma once
// The device table's grid built from a device type and its value texts, and the value texts taken
// back from a grid, without the widget: what a parameter-set file holds for the table that shows
// those values. Used where there is no window (the command-line program).
#include "formats/GridData.h"
#include "model/Model.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

// Column widths of the window's device table at the main window's default size, so that a set
// written without a window matches the window's own save of the same values.
inline const std::vector<int> KDevTableDefaultColWidths{399, 133};
inline constexpr int KDevTableHeaderHeight = 30;
inline constexpr int KDevTableRowHeight = 25;

// The caption of the table's header cell in column col (0 or 1) as parameter-set files and exports
// keep it: " Параметр", " Значение", whatever the language the window shows.
QString DevTableCaption(int col);

// The grid of the device table after the type's rows were made and the values shown in them:
// header texts, " " + name cells, value cells (option text for lists, a check box for "0"/"1"),
// and the coupled row's stored font colour.
TGridData DevTableGridFromValues(const TDevProp& type, const QStringList& values,
                                 const std::vector<int>& colWidths = KDevTableDefaultColWidths);

// Value texts of the type's parameters from a grid as the table reads them back: the option
// number of a list text (empty when none matches), "1"/"0" for check boxes, the text otherwise.
QStringList DevTableValuesFromGrid(const TDevProp& type, const TGridData& grid);

// Rows of the grid whose name cell does not name the type's parameter at that place, as
// "row N: text" lines; empty when the grid has exactly the type's parameters in order.
QStringList DevTableNameMismatches(const TDevProp& type, const TGridData& grid);
