#include "fMeasure.h"

#include "HelpWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmMeasure::TfrmMeasure(TAppState& state, IUserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), State(state), Dialogs(dialogs) {
    GroupBox1 = new QGroupBox(QStringLiteral(" Текущие измерения "), this);
    ASG = new QTableWidget(1, 7, GroupBox1);
    ASG->horizontalHeader()->hide();
    ASG->verticalHeader()->hide();
    ASG->setRowHeight(0, 54);
    ASG->setFixedHeight(54 + 2 * ASG->frameWidth());
    ASG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ASG->setSelectionMode(QAbstractItemView::NoSelection);
    ASG->setFocusPolicy(Qt::NoFocus);
    ASG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ASG->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* first = new QTableWidgetItem(QStringLiteral(" Измер. значение"));
    first->setFlags(Qt::ItemIsEnabled);
    ASG->setItem(0, 0, first);
    btnMeasure = new QPushButton(QStringLiteral("Измерение"), GroupBox1);
    btnMeasureStop = new QPushButton(QStringLiteral("Остановить"), GroupBox1);
    btnMeasureStop->hide();
    btnMeasureHelp = new QPushButton(QStringLiteral("Помощь"), GroupBox1);
    auto* g1 = new QGridLayout(GroupBox1);
    g1->addWidget(ASG, 0, 0, 2, 1);
    g1->addWidget(btnMeasure, 0, 1);
    g1->addWidget(btnMeasureStop, 0, 1);
    g1->addWidget(btnMeasureHelp, 1, 1);

    GroupBox2 = new QGroupBox(QStringLiteral(" График зависимости измеряемой величины от времени (в мин.) "), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2, 1);

    connect(btnMeasure, &QPushButton::clicked, this, &TfrmMeasure::MeasureClicked);
    connect(btnMeasureStop, &QPushButton::clicked, this, &TfrmMeasure::MeasureStopClicked);
    connect(btnMeasureHelp, &QPushButton::clicked, this,
            [this] { ShowHelpTopic(State.ProgDir, QStringLiteral("page4")); });
    connect(ASG, &QTableWidget::cellClicked, this, &TfrmMeasure::CellClicked);
}

void TfrmMeasure::Build(int channels) {
    ASG->setUpdatesEnabled(false);
    for (int c = 1; c < ASG->columnCount(); ++c)
        delete ASG->takeItem(0, c);
    Channels = channels;
    ASG->setColumnCount(channels + 1);
    QFont bold = ASG->font();
    bold.setBold(true);
    ASG->item(0, 0)->setFont(bold);
    for (int c = 1; c <= channels; ++c) {
        auto* item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        item->setFont(bold);
        if (channels > 1)
            item->setCheckState(Qt::Checked);
        ASG->setItem(0, c, item);
    }
    const Qt::Alignment channelAlign =
        (ASG->columnCount() > 4 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
    ASG->item(0, 0)->setTextAlignment(Qt::AlignCenter);
    for (int c = 1; c <= channels; ++c)
        ASG->item(0, c)->setTextAlignment(channelAlign);
    if (channels >= 1)
        ASG->item(0, 1)->setForeground(QColor(0x00, 0x00, 0x80));
    ASG->setUpdatesEnabled(true);
    FormResize();
}

int TfrmMeasure::ChannelCount() const { return Channels; }

bool TfrmMeasure::ChannelSelected(int k) const {
    const QTableWidgetItem* item = k >= 1 && k < ASG->columnCount() ? ASG->item(0, k) : nullptr;
    if (!item || item->data(Qt::CheckStateRole).isNull())
        return true;
    return item->checkState() == Qt::Checked;
}

void TfrmMeasure::ShowValue(int k, const QString& text) {
    if (QTableWidgetItem* item = k >= 1 && k < ASG->columnCount() ? ASG->item(0, k) : nullptr)
        item->setText(text);
}

QString TfrmMeasure::ValueText(int k) const {
    const QTableWidgetItem* item = k >= 1 && k < ASG->columnCount() ? ASG->item(0, k) : nullptr;
    return item ? item->text() : QString();
}

void TfrmMeasure::SetRunning(bool running) {
    btnMeasureStop->setVisible(running);
    btnMeasure->setVisible(!running);
    (running ? btnMeasureStop : btnMeasure)->setFocus();
}

void TfrmMeasure::CellClicked(int row, int col) {
    QTableWidgetItem* item = ASG->item(row, col);
    if (col < 1 || !item || item->data(Qt::CheckStateRole).isNull())
        return;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void TfrmMeasure::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FormResize();
}

void TfrmMeasure::FormResize() {
    ASG->setUpdatesEnabled(false);
    const int cols = ASG->columnCount();
    const int client = ASG->viewport()->width();
    int others = 0;
    for (int c = 1; c < cols; ++c) {
        const int w = static_cast<int>(client * 0.9 / cols);
        ASG->setColumnWidth(c, w);
        others += w;
    }
    ASG->setColumnWidth(0, client - others);
    ASG->setUpdatesEnabled(true);
}

void TfrmMeasure::ClearSeries() {}

void TfrmMeasure::SwitchAutoScaleOn() {}

void TfrmMeasure::AddPoint(int, double, double) {}
