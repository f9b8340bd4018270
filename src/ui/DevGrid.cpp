#include "ui/DevGrid.h"

#include "ui/DevTableImpl.h"

#include <QKeyEvent>
#include <QMouseEvent>

bool TDevGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!index.isValid())
        return QTableWidget::edit(index, trigger, event);
    const int col = index.column();
    const int row = index.row() + 1;
    if (!Impl.Owner.ASGCanEditCell(col, row) || Impl.Owner.HasCheckBox(col, row))
        return false;
    const TParam* p = Impl.ParamAt(row);
    if (p && p->SType == 1 && event && event->type() == QEvent::MouseButtonRelease && state() != EditingState)
        return QTableWidget::edit(index, AllEditTriggers, nullptr);
    return QTableWidget::edit(index, trigger, event);
}

void TDevGrid::mousePressEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    const bool wasCurrent = index.isValid() && index == currentIndex();
    QTableWidget::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && wasCurrent)
        Impl.ClickCheckBox(index.column(), index.row() + 1);
}

// The second click of a double click is a click as well.
void TDevGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    const bool wasCurrent = index.isValid() && index == currentIndex();
    QTableWidget::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && wasCurrent)
        Impl.ClickCheckBox(index.column(), index.row() + 1);
}

void TDevGrid::keyPressEvent(QKeyEvent* e) {
    const QModelIndex index = currentIndex();
    if (e->key() == Qt::Key_Space && state() != EditingState && index.isValid() &&
        Impl.Owner.HasCheckBox(index.column(), index.row() + 1)) {
        Impl.ClickCheckBox(index.column(), index.row() + 1);
        e->accept();
        return;
    }
    QTableWidget::keyPressEvent(e);
}
