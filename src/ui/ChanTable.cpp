#include "ui/ChanTable.h"

#include "ui/ObjectNames.h"
#include "ui/UpdatesPause.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// The grid asks the view before it selects or edits a cell (ASGSelectCell, ASGCanEditCell).
class TChanGrid : public QTableWidget {
public:
    TChanGrid(const TfrmChan& owner, QWidget* parent) : QTableWidget(1, 1, parent), Owner(owner) {}

protected:
    // Grid rows count the header row: table row r is grid row r + 1.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        if (index.isValid() && !Owner.ASGCanEditCell(index.column(), index.row() + 1))
            return false;
        return QTableWidget::edit(index, trigger, event);
    }
    // Column 0 cannot be selected, neither by the mouse nor by moving the current cell.
    void mousePressEvent(QMouseEvent* e) override {
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid() && index.column() == 0) {
            e->accept();
            return;
        }
        QTableWidget::mousePressEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid() && index.column() == 0) {
            e->accept();
            return;
        }
        QTableWidget::mouseDoubleClickEvent(e);
    }
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
        if (next.isValid() && next.column() == 0)
            return columnCount() > 1 ? model()->index(next.row(), 1) : currentIndex();
        return next;
    }

private:
    const TfrmChan& Owner;
};
} // namespace

TfrmChan::TfrmChan(TAppState& state, std::function<void()> prjChange, QWidget* parent)
    : QWidget(parent), State(state), PrjChangeFn(std::move(prjChange)) {
    ASG = new TChanGrid(*this, this);
    ASG->setHorizontalHeaderItem(0, new QTableWidgetItem(tr(" Параметр")));
    ASG->horizontalHeader()->setFixedHeight(30);
    ASG->verticalHeader()->setDefaultSectionSize(25);
    ASG->verticalHeader()->hide();
    ASG->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
    ASG->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ASG);

    PopMenu = new QMenu(this);
    miCopy = PopMenu->addAction(tr("Скопировать настройки канала в буфер"));
    miPaste = PopMenu->addAction(tr("Вставить настройки канала из буфера"));
    NameControls({{ASG, "ASG"}, {PopMenu, "PopMenu"}, {miCopy, "miCopy"}, {miPaste, "miPaste"}});

    connect(ASG->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, [this](const QPoint& pos) {
        const int col = ASG->horizontalHeader()->logicalIndexAt(pos);
        ASGRightClickCell(col, 0, ASG->horizontalHeader()->mapToGlobal(pos));
    });
    connect(ASG, &QTableWidget::cellChanged, this, [this](int, int) {
        if (PrjChangeFn)
            PrjChangeFn();
    });
}

bool TfrmChan::ASGCanEditCell(int col, int row) const {
    // Row 0 is the header row of the grid's coordinates.
    return col >= 1 && row >= 1 && State.ExchangeState != TExchState::ExchChannel;
}

bool TfrmChan::ASGRightClickCell(int col, int row, const QPoint& globalPos) {
    if (row != 0 || col < 1 || ASG->columnCount() < 3)
        return false;
    miPaste->setEnabled(!CopyBuffer.isEmpty());
    PopupColumn = col;
    PopMenu->popup(globalPos);
    return true;
}

void TfrmChan::SetShowHints(bool on) { ASG->setToolTipDuration(on ? -1 : 0); }

void TfrmChan::EndEdit() {
    // Moving the current cell away commits an open editor's text into its cell.
    ASG->setCurrentItem(nullptr);
}

void TfrmChan::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FormResize();
}

void TfrmChan::FormResize() {
    const TUpdatesPause pause(ASG);
    const int cols = ASG->columnCount();
    const int needed = ASG->rowCount() * ASG->verticalHeader()->defaultSectionSize() + 30;
    ASG->setVerticalScrollBarPolicy(needed > ASG->height() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int client = ASG->viewport()->width();
    int others = 0;
    for (int c = 1; c < cols; ++c) {
        const int w = static_cast<int>(client * 0.7 / cols);
        ASG->setColumnWidth(c, w);
        others += w;
    }
    ASG->setColumnWidth(0, client - others);
}
