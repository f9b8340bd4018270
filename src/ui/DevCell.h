#pragma once
// A cell of the device parameter table, private to the table's sources. Text and check box are stored;
// the look is computed from the parameter descriptions whenever the view asks, so it always follows
// the loaded type.
#include "ui/DevTable.h"

#include <QTableWidgetItem>

// The stored font colour lives beside the cell's text so that parameter-set files can save it.
constexpr int FontColorRole = Qt::UserRole + 1;
// Set on a value cell whose value did not come from the instrument at the last read.
constexpr int UnconfirmedRole = Qt::UserRole + 2;
// Set on a value cell that a read went through since the type was applied: 1 with a value, 2 without.
constexpr int ReadRole = Qt::UserRole + 3;
// Set on both cells of a row that differs from a compared file: the text shown beside the name, and
// the rows' tool tip.
constexpr int DifferenceRole = Qt::UserRole + 4;
constexpr int DifferenceHintRole = Qt::UserRole + 5;

class TDevCell : public QTableWidgetItem {
public:
    TDevCell(const TfrmDev::TImpl& impl, int col, int row);

    QVariant data(int role) const override;

    bool Unconfirmed() const { return QTableWidgetItem::data(UnconfirmedRole).toBool(); }

private:
    const TfrmDev::TImpl& Impl;
    const int Col;
    const int Row; // rows are only added or removed at the end, so a cell keeps its row
};
