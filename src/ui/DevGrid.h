#pragma once
// The grid of the device parameter table, private to the table's sources: editing permission, list
// cells that open on a click, check boxes flipped by a click on the selected cell.
#include "ui/DevTable.h"

#include <QTableWidget>

class TDevGrid : public QTableWidget {
public:
    TDevGrid(TfrmDev::TImpl& impl, QWidget* parent) : QTableWidget(parent), Impl(impl) {}
    using QTableWidget::edit;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    TfrmDev::TImpl& Impl;
};
