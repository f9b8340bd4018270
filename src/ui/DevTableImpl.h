#pragma once
// The private state of the device parameter table, shared by the table's own sources (DevTable,
// DevCell, DevDelegate, DevGrid) and by no one else.
#include "ui/DevTable.h"

#include <QPointer>
#include <QTableWidget>

class QStyledItemDelegate;

struct TfrmDev::TImpl {
    TImpl(TfrmDev& owner, TAppState& state, IUserDialogs& dialogs, TDevHost& host)
        : Owner(owner), State(state), Dialogs(dialogs), Host(host) {}

    TfrmDev& Owner;
    TAppState& State;
    IUserDialogs& Dialogs;
    TDevHost& Host;
    QTableWidget* Grid = nullptr;
    QStyledItemDelegate* Delegate = nullptr;
    QPointer<QWidget> OpenEditor; // the cell editor while one is open
    bool ShowHints = false;
    bool LastCommitRefused = false;
    int HeaderHeight = HeaderRowHeight;

    const TDevProp* CurProp() const {
        return State.HasCurType() ? State.DevTypes[State.CurType].get() : nullptr;
    }
    // Description of the parameter shown in grid row `row`, or null for the header and rows a
    // parameter set added beyond the type's parameters.
    const TParam* ParamAt(int row) const {
        const TDevProp* t = CurProp();
        if (!t || row < 1 || row > t->ParamCount())
            return nullptr;
        return &t->Param(row - 1);
    }
    int Rows() const { return Grid->rowCount() + 1; }
    bool ValidCell(int col, int row) const {
        return col >= 0 && col < Grid->columnCount() && row >= 0 && row < Rows();
    }

    QTableWidgetItem* Item(int col, int row) const;
    QTableWidgetItem* EnsureItem(int col, int row);
    void MakeRowCells(int row, const TParam* p);

    bool CoupledPair(const TDevProp& t) const {
        return t.SqrtIndex >= 0 && t.SqrtLinIndex >= 0 && t.SqrtIndex < t.ParamCount() &&
               t.SqrtLinIndex < t.ParamCount();
    }
    bool SwitchOn(const TDevProp& t) const;
    void ApplySwitchRule(const TDevProp& t);
    // One value into its cell; check boxes tick for "1" only, or (read-all's row refresh) for
    // any non-zero integer.
    void ShowValue(int i, const TParam& p, const QString& value, bool nonZeroTicks);
    void SetValueText(int row, const QString& text) {
        if (Owner.CellText(1, row) != text)
            Owner.SetCellText(1, row, text);
    }

    void InputError();
    void CommitEdit(int col, int row, const QString& newText, bool fromList);
    void ClickCheckBox(int col, int row);
    void CloseEditor(bool commit);
};
