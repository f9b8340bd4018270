#pragma once
// The device page's comparison of the table with a file: a parameter set of the type or a read of
// kestrin-cli, compared as kestrin-cli diff compares (formats/ValueSetFile); the differing rows are
// marked and the file's values may be taken into them.
#include "model/AppState.h"
#include "ui/UserDialogs.h"

#include <QString>
#include <functional>

class TfrmDev;

// What the comparison needs of the main window.
struct TDevCompareHost {
    TAppState& State;
    IUserDialogs& Dialogs;
    TfrmDev& Table;
    std::function<void()> PrjChange;                 // values taken from the file changed the table
    std::function<void(const QString&)> ShowMessage; // the status bar's message pane
};

// The file to compare with, from the open dialog (the type's parameter sets and JSON reads); empty
// when cancelled.
QString ChooseCompareFile(TAppState& state, IUserDialogs& dialogs);

// Compares the file with the table's rows read from the instrument; marks every differing row,
// reports the count and offers to take the file's values into those rows. A file that cannot be
// read, or is of another type or version, is reported and nothing is compared. Returns the number
// of differences, or -1 when nothing was compared.
int CompareDevTable(const TDevCompareHost& host, const QString& path);
