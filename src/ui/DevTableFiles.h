#pragma once
// The device table's files: parameter sets (save and load), the exports of the save dialog, and
// printing on the default printer.
#include "formats/GridData.h"

class IUserDialogs;
class TfrmDev;
struct TAppState;
class QPagedPaintDevice;
struct TDevProp;

// Snapshot of the table with the appearance the table shows (for exports and printing too).
TGridData GridFromTable(const TfrmDev& table, const TDevProp* type);
// Puts a snapshot into the table: size, texts, check boxes, stored font colours, widths and heights.
void GridToTable(const TGridData& grid, TfrmDev& table);

// First data row whose cell in column col holds a line break, or -1. Values go into the project
// file one device per line, so the value column must never take one.
int FirstLineBreakRow(const TGridData& grid, int col);

// The name with its extension replaced by ext (without the dot); a name without one gets it.
QString ReplaceExtension(const QString& fileName, const QString& ext);

// Commands of the device button column, on the table of the active type. Load is true when the
// table took a file's values (the project has changed).
void SaveDevTable(TfrmDev& table, TAppState& state, IUserDialogs& dialogs);
bool LoadDevTable(TfrmDev& table, TAppState& state, IUserDialogs& dialogs);
void PrintDevTable(const TfrmDev& table, TAppState& state, IUserDialogs& dialogs);
// Printing onto a given device (the default printer in the program, a PDF in tests).
TFileResult PrintDevTableTo(const TfrmDev& table, TAppState& state, QPagedPaintDevice& device);
