#pragma once
// The cell editors of the device parameter table, private to the table's sources: a list for a menu
// parameter, a line that takes only the characters of the value's kind for the others; check boxes
// without text are drawn in the middle of their cell.
#include "ui/DevTable.h"

#include <QStyledItemDelegate>

class TDevDelegate : public QStyledItemDelegate {
public:
    TDevDelegate(TfrmDev::TImpl& impl, QObject* parent) : QStyledItemDelegate(parent), Impl(impl) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    static void PaintDifference(QPainter* painter, const QStyleOptionViewItem& opt, const QString& other);
    TfrmDev::TImpl& Impl;
};
