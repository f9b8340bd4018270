#include "ui/ChanTable.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmChan::TfrmChan(TAppState& state, std::function<void()> prjChange, QWidget* parent)
    : QWidget(parent), State(state), PrjChangeFn(std::move(prjChange)) {
    ASG = new QTableWidget(1, 1, this);
    ASG->setHorizontalHeaderItem(0, new QTableWidgetItem(QStringLiteral(" Параметр")));
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
    miCopy = PopMenu->addAction(QStringLiteral("Скопировать настройки канала в буфер"));
    miPaste = PopMenu->addAction(QStringLiteral("Вставить настройки канала из буфера"));

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
    return col >= 1 && row >= 1 && State.ExchangeState != ExchChannel;
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
    ASG->setUpdatesEnabled(false);
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
    ASG->setUpdatesEnabled(true);
}
