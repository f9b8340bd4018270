#include "ui/MeasureView.h"

#include "chart/Chart.h"
#include "chart/ChartExport.h"
#include "ui/HelpWindow.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStyle>
#include <QToolButton>

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
    auto* tools = new QHBoxLayout;
    tools->setSpacing(2);
    const auto tool = [&](const QString& text, const QString& hint, bool twoState = false) {
        auto* b = new QToolButton(GroupBox2);
        b->setText(text);
        b->setToolTip(hint);
        b->setCheckable(twoState);
        b->setAutoRaise(false);
        b->setMinimumWidth(28);
        tools->addWidget(b);
        return b;
    };
    ZoomOutX = tool(QStringLiteral("X−"), QStringLiteral("Сжать график по оси X"));
    ZoomOutY = tool(QStringLiteral("Y−"), QStringLiteral("Сжать график по оси Y"));
    ZoomInY = tool(QStringLiteral("Y+"), QStringLiteral("Растянуть график по оси Y"));
    ZoomInX = tool(QStringLiteral("X+"), QStringLiteral("Растянуть график по оси X"));
    MoveLeft = tool(QStringLiteral("←"), QStringLiteral("Сдвинуть график влево"));
    MoveDown = tool(QStringLiteral("↓"), QStringLiteral("Сдвинуть график вниз"));
    MoveUp = tool(QStringLiteral("↑"), QStringLiteral("Сдвинуть график вверх"));
    MoveRight = tool(QStringLiteral("→"), QStringLiteral("Сдвинуть график вправо"));
    AutoX = tool(QStringLiteral("Авто X"), QStringLiteral("Автоматическое масштабирование по оси X"), true);
    AutoY = tool(QStringLiteral("Авто Y"), QStringLiteral("Автоматическое масштабирование по оси Y"), true);
    BtnClear = tool(QStringLiteral("Очистить"), QStringLiteral("Очистить график"));
    BtnLegend = tool(QStringLiteral("Легенда"), QStringLiteral("Легенда"), true);
    Btn3D = tool(QStringLiteral("3D"), QStringLiteral("Объемное изображение"), true);
    BtnPrint = tool(QStringLiteral("Печать"), QStringLiteral("Печать"));
    BtnSave = tool(QStringLiteral("WMF"), QStringLiteral("Сохранить в WMF"));
    cbTime = new QComboBox(GroupBox2);
    cbTime->setToolTip(QStringLiteral("Диапазон времени"));
    cbTime->addItems({QString(), QStringLiteral("за 1    минуту"), QStringLiteral("за 5    минут"),
                      QStringLiteral("за 10  минут"), QStringLiteral("за 15  минут"), QStringLiteral("за 30  минут"),
                      QStringLiteral("за 1    час"), QStringLiteral("за 2    часа"), QStringLiteral("за 6    часов"),
                      QStringLiteral("за 12  часов"), QStringLiteral("за 24  часа"), QStringLiteral("за 2     дня"),
                      QStringLiteral("за 3     дня"), QStringLiteral("за 1     неделю"), QStringLiteral("за 1/2 месяца"),
                      QStringLiteral("за 1     месяц")});
    cbTime->setCurrentIndex(0);
    tools->addWidget(cbTime);
    // Follow: the X axis shows the last minutes of the chosen range and slides as points arrive.
    // Off at first, so the chart keeps its usual behaviour until asked.
    BtnFollow = new QToolButton(GroupBox2);
    BtnFollow->setText(QStringLiteral("⇥"));
    BtnFollow->setToolTip(
        QStringLiteral("Следовать за новыми точками: ось X показывает последние минуты выбранного диапазона"));
    BtnFollow->setCheckable(true);
    tools->addWidget(BtnFollow);
    tools->addStretch();
    Chart = new TChart(GroupBox2);
    // Both axes start scaling themselves while their buttons start up.
    Chart->SetAutoX(true);
    Chart->SetAutoY(true);
    auto* g2 = new QVBoxLayout(GroupBox2);
    g2->setContentsMargins(4, 4, 4, 4);
    g2->addLayout(tools);
    g2->addWidget(Chart, 1);
    for (QToolButton* b : {ZoomOutX, ZoomOutY, ZoomInY, ZoomInX, MoveLeft, MoveDown, MoveUp, MoveRight, AutoX, AutoY,
                           BtnClear, BtnLegend, Btn3D, BtnPrint, BtnSave})
        connect(b, &QToolButton::clicked, this, [this, b] { ChartCommand(b); });
    connect(cbTime, &QComboBox::activated, this, &TfrmMeasure::cbTimeChange);
    // Following applies to the range chosen; choosing another range follows that one.
    const auto follow = [this] {
        const int index = cbTime->currentIndex();
        const bool on = BtnFollow->isChecked() && index > 0 && index < static_cast<int>(TimeRanges().size());
        Chart->SetFollow(on ? TimeRanges()[static_cast<size_t>(index)] : 0);
    };
    connect(BtnFollow, &QToolButton::toggled, this, follow);
    connect(cbTime, &QComboBox::activated, this, follow);
    connect(Chart, &TChart::FollowEnded, BtnFollow, [this] { BtnFollow->setChecked(false); });
    connect(Chart, &TChart::Zoomed, this, [this] {
        // A rubber-band zoom takes the axes over from the automatic scaling.
        if (AutoX->isChecked())
            ClickAuto(AutoX);
        if (AutoY->isChecked())
            ClickAuto(AutoY);
        Chart->SetAutoX(false);
        Chart->SetAutoY(false);
        if (cbTime->currentIndex() != 0)
            cbTime->setCurrentIndex(0);
    });
    // Dragging the other way gives both axes back to the automatic scaling.
    connect(Chart, &TChart::UnZoomed, this, [this] { SwitchAutoScaleOn(); });
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

    Chart->RemoveAllSeries();
    for (int k = 1; k <= channels; ++k)
        Chart->AddSeries(QStringLiteral("Канал ") + QString::number(k));
    Chart->SetYLabelFormat(QStringLiteral("#,##0.0000"));
    // One channel: the legend lists the values of its points; several: the series by title.
    Chart->SetLegendShowsValues(channels <= 1);
    if (!BtnLegend->isChecked())
        BtnLegend->click();
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

const std::vector<int>& TimeRanges() {
    static const std::vector<int> minutes = {0,   1,   5,    10,   15,   30,   60,    120,
                                             360, 720, 1440, 2880, 4320, 10080, 21600, 43200};
    return minutes;
}

void TfrmMeasure::ClearSeries() { Chart->ClearSeries(); }

void TfrmMeasure::SwitchAutoScaleOn() {
    for (QToolButton* b : {AutoX, AutoY})
        if (!b->isChecked())
            ClickAuto(b);
}

void TfrmMeasure::AddPoint(int k, double minutes, double value) {
    if (k >= 1 && k <= Chart->SeriesCount())
        Chart->AddPoint(k - 1, minutes, value);
}

void TfrmMeasure::ClickAuto(QToolButton* button) {
    button->setChecked(!button->isChecked());
    ChartCommand(button);
}

void TfrmMeasure::ChartCommand(QObject* sender) {
    // Commands that move or zoom an axis take it over from the automatic scaling first.
    const auto xOff = [this] {
        AutoX->setChecked(false);
        Chart->SetAutoX(false);
    };
    const auto yOff = [this] {
        AutoY->setChecked(false);
        Chart->SetAutoY(false);
    };
    const bool hasSeries = Chart->SeriesCount() > 0;
    if (sender == ZoomOutX || sender == ZoomInX || sender == MoveLeft || sender == MoveRight) {
        if (!hasSeries)
            return;
        xOff();
        if (sender == ZoomOutX)
            Chart->ZoomOutX();
        else if (sender == ZoomInX)
            Chart->ZoomInX();
        else if (sender == MoveLeft)
            Chart->MoveLeft();
        else
            Chart->MoveRight();
    } else if (sender == ZoomOutY || sender == ZoomInY || sender == MoveUp || sender == MoveDown) {
        if (!hasSeries)
            return;
        yOff();
        if (sender == ZoomOutY)
            Chart->ZoomOutY();
        else if (sender == ZoomInY)
            Chart->ZoomInY();
        else if (sender == MoveUp)
            Chart->MoveUp();
        else
            Chart->MoveDown();
    } else if (sender == AutoX) {
        Chart->SetAutoX(AutoX->isChecked());
        if (AutoX->isChecked() && cbTime->currentIndex() != 0)
            cbTime->setCurrentIndex(0);
    } else if (sender == AutoY) {
        Chart->SetAutoY(AutoY->isChecked());
    } else if (sender == BtnClear) {
        Chart->ClearSeries();
    } else if (sender == BtnLegend) {
        Chart->SetLegendVisible(BtnLegend->isChecked());
    } else if (sender == Btn3D) {
        Chart->Set3D(Btn3D->isChecked());
    } else if (sender == BtnPrint) {
        BtnPrintClick();
    } else if (sender == BtnSave) {
        BtnSaveClick();
    }
}

void TfrmMeasure::cbTimeChange(int index) {
    if (index <= 0 || index >= static_cast<int>(TimeRanges().size()))
        return;
    if (AutoX->isChecked())
        ClickAuto(AutoX);
    Chart->SetXRange({0, static_cast<double>(TimeRanges()[static_cast<size_t>(index)])});
}

void TfrmMeasure::BtnSaveClick() {
    TFileDialogSpec dialogDef;
    dialogDef.Title = QStringLiteral("Сохранение графика");
    dialogDef.Directory = State.ProgDir;
    const QString name = Dialogs.SaveFileName(dialogDef);
    if (name.isEmpty())
        return;
    if (QFileInfo::exists(name) &&
        Dialogs.Message(QStringLiteral("Файл уже существует. Перезаписать?"), QStringLiteral("Warning"),
                        TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    const bool csv = name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const bool ok = csv ? SaveChartCsv(*Chart, name) : SaveChart(*Chart, name);
    if (!ok)
        Dialogs.Message(QStringLiteral("Не удалось сохранить график в файл ") + name, QStringLiteral("Ошибка"),
                        TMsgButtons::Ok);
}

void TfrmMeasure::BtnPrintClick() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        Dialogs.Message(QStringLiteral("Принтер не установлен. Настройте принтер по умолчанию и повторите печать."),
                        QStringLiteral("Печать"), TMsgButtons::Ok);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!PrintChart(*Chart, printer))
        Dialogs.Message(QStringLiteral("Не удалось напечатать график."), QStringLiteral("Печать"), TMsgButtons::Ok);
}
