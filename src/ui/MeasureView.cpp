#include "ui/MeasureView.h"

#include "chart/Chart.h"
#include "chart/ChartExport.h"
#include "common/Numbers.h"
#include "formats/MeasureRecord.h"
#include "ui/HelpWindow.h"
#include "ui/ObjectNames.h"
#include "ui/UpdatesPause.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {
// Glyphs of the chart's tool row, drawn by the program so that the row fits the window at its
// minimum width whatever the fonts; each button's hint names its command.
enum class TGlyph {
    ZoomOutX,
    ZoomOutY,
    ZoomInY,
    ZoomInX,
    Left,
    Down,
    Up,
    Right,
    AutoX,
    AutoY,
    Clear,
    Legend,
    View3D,
    Print,
    Save
};

QIcon GlyphIcon(TGlyph g, const QPalette& pal) {
    constexpr int S = 20;
    QPixmap pm(S * 2, S * 2); // drawn at twice the size: sharp on high-density screens too
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = pal.color(QPalette::Active, QPalette::ButtonText);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // An arrow from a to b with its head at b.
    const auto arrow = [&p](QPointF a, QPointF b) {
        p.drawLine(a, b);
        const QPointF d = (b - a) / std::max(1.0, std::hypot(b.x() - a.x(), b.y() - a.y()));
        const QPointF n(-d.y(), d.x());
        p.drawLine(b, b - d * 4 + n * 3);
        p.drawLine(b, b - d * 4 - n * 3);
    };
    const auto letter = [&p](const QString& text, QRectF r) {
        QFont f = p.font();
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, text);
    };
    switch (g) {
    case TGlyph::ZoomOutX: // arrows pointing inwards along X
        arrow({1, 12}, {8, 12});
        arrow({19, 12}, {12, 12});
        letter(QStringLiteral("X"), {0, 0, S, 8});
        break;
    case TGlyph::ZoomInX: // arrows pointing outwards along X
        arrow({9, 12}, {2, 12});
        arrow({11, 12}, {18, 12});
        letter(QStringLiteral("X"), {0, 0, S, 8});
        break;
    case TGlyph::ZoomOutY:
        arrow({12, 1}, {12, 8});
        arrow({12, 19}, {12, 12});
        letter(QStringLiteral("Y"), {0, 6, 8, 8});
        break;
    case TGlyph::ZoomInY:
        arrow({12, 9}, {12, 2});
        arrow({12, 11}, {12, 18});
        letter(QStringLiteral("Y"), {0, 6, 8, 8});
        break;
    case TGlyph::Left:
        arrow({17, 10}, {3, 10});
        break;
    case TGlyph::Right:
        arrow({3, 10}, {17, 10});
        break;
    case TGlyph::Up:
        arrow({10, 17}, {10, 3});
        break;
    case TGlyph::Down:
        arrow({10, 3}, {10, 17});
        break;
    case TGlyph::AutoX:
        letter(QStringLiteral("A"), {0, 0, S, 11});
        arrow({2, 15}, {18, 15});
        break;
    case TGlyph::AutoY:
        letter(QStringLiteral("A"), {6, 0, 14, 20});
        arrow({4, 18}, {4, 2});
        break;
    case TGlyph::Clear: // a chart line struck out
        p.drawPolyline(QPolygonF({{2, 14}, {7, 8}, {11, 12}, {18, 4}}));
        p.setPen(QPen(QColor(200, 40, 30), 2));
        p.drawLine(QPointF(4, 4), QPointF(16, 16));
        p.drawLine(QPointF(16, 4), QPointF(4, 16));
        break;
    case TGlyph::Legend: // colour marks with their lines of text
        for (int k = 0; k < 3; ++k) {
            p.fillRect(QRectF(3, 4 + k * 5, 4, 3), k == 0   ? QColor(200, 40, 30)
                                                   : k == 1 ? QColor(30, 90, 200)
                                                            : QColor(30, 150, 60));
            p.drawLine(QPointF(9, 5.5 + k * 5), QPointF(17, 5.5 + k * 5));
        }
        break;
    case TGlyph::View3D: { // a box seen from above
        const QPolygonF front({{3, 7}, {13, 7}, {13, 17}, {3, 17}});
        p.drawPolygon(front);
        p.drawPolyline(QPolygonF({{3, 7}, {7, 3}, {17, 3}, {17, 13}, {13, 17}}));
        p.drawLine(QPointF(13, 7), QPointF(17, 3));
        break;
    }
    case TGlyph::Print:
        p.drawRect(QRectF(6, 2, 8, 5));
        p.drawRoundedRect(QRectF(2, 7, 16, 7), 1.5, 1.5);
        p.drawRect(QRectF(6, 12, 8, 6));
        break;
    case TGlyph::Save: { // a diskette
        QPainterPath disk;
        disk.moveTo(3, 3);
        disk.lineTo(15, 3);
        disk.lineTo(17, 5);
        disk.lineTo(17, 17);
        disk.lineTo(3, 17);
        disk.closeSubpath();
        p.drawPath(disk);
        p.drawRect(QRectF(6, 3, 7, 4));
        p.drawRect(QRectF(6, 11, 8, 6));
        break;
    }
    }
    p.end();
    return QIcon(pm);
}
} // namespace

TfrmMeasure::TfrmMeasure(TAppState& state, IUserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), State(state), Dialogs(dialogs) {
    GroupBox1 = new QGroupBox(tr(" Текущие измерения "), this);
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
    auto* first = new QTableWidgetItem(tr(" Измер. значение"));
    first->setFlags(Qt::ItemIsEnabled);
    ASG->setItem(0, 0, first);
    btnMeasure = new QPushButton(tr("Измерение"), GroupBox1);
    btnMeasureStop = new QPushButton(tr("Остановить"), GroupBox1);
    btnMeasureStop->hide();
    btnMeasureHelp = new QPushButton(tr("Помощь"), GroupBox1);
    auto* g1 = new QGridLayout(GroupBox1);
    g1->addWidget(ASG, 0, 0, 2, 1);
    g1->addWidget(btnMeasure, 0, 1);
    g1->addWidget(btnMeasureStop, 0, 1);
    g1->addWidget(btnMeasureHelp, 1, 1);
    // The record row: the switch, its file, and opening a record into the chart.
    cbRecord = new QCheckBox(tr("Запись в файл"), GroupBox1);
    cbRecord->setToolTip(tr("Записывать каждое измерение в файл по мере опроса"));
    btnRecordFile = new QPushButton(tr("Файл записи..."), GroupBox1);
    btnRecordFile->setToolTip(tr("Выбрать файл записи измерения для проекта"));
    lblRecord = new QLabel(GroupBox1);
    lblRecord->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long file name is cut, not allowed to widen the window; its hint holds the whole path.
    lblRecord->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    btnOpenRecord = new QPushButton(tr("Открыть запись..."), GroupBox1);
    btnOpenRecord->setToolTip(tr("Показать на графике записанное измерение"));
    auto* recordRow = new QHBoxLayout;
    recordRow->addWidget(cbRecord);
    recordRow->addWidget(btnRecordFile);
    recordRow->addWidget(lblRecord, 1);
    recordRow->addWidget(btnOpenRecord);
    g1->addLayout(recordRow, 2, 0, 1, 2);
    connect(cbRecord, &QCheckBox::clicked, this, &TfrmMeasure::SetRecording);
    connect(btnRecordFile, &QPushButton::clicked, this, [this] { ChooseRecordFile(); });
    connect(btnOpenRecord, &QPushButton::clicked, this, &TfrmMeasure::OpenRecordClick);

    GroupBox2 = new QGroupBox(tr(" График зависимости измеряемой величины от времени (в мин.) "), this);
    auto* tools = new QHBoxLayout;
    tools->setSpacing(2);
    // Icons with hints: captions would not fit the row at the window's minimum width.
    const auto tool = [&](TGlyph glyph, const QString& hint, bool twoState = false) {
        auto* b = new QToolButton(GroupBox2);
        b->setIcon(GlyphIcon(glyph, palette()));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setText(hint); // read by accessibility tools; the button shows its icon only
        b->setToolTip(hint);
        b->setCheckable(twoState);
        b->setAutoRaise(false);
        tools->addWidget(b);
        return b;
    };
    ZoomOutX = tool(TGlyph::ZoomOutX, tr("Сжать график по оси X"));
    ZoomOutY = tool(TGlyph::ZoomOutY, tr("Сжать график по оси Y"));
    ZoomInY = tool(TGlyph::ZoomInY, tr("Растянуть график по оси Y"));
    ZoomInX = tool(TGlyph::ZoomInX, tr("Растянуть график по оси X"));
    MoveLeft = tool(TGlyph::Left, tr("Сдвинуть график влево"));
    MoveDown = tool(TGlyph::Down, tr("Сдвинуть график вниз"));
    MoveUp = tool(TGlyph::Up, tr("Сдвинуть график вверх"));
    MoveRight = tool(TGlyph::Right, tr("Сдвинуть график вправо"));
    AutoX = tool(TGlyph::AutoX, tr("Автоматическое масштабирование по оси X"), true);
    AutoY = tool(TGlyph::AutoY, tr("Автоматическое масштабирование по оси Y"), true);
    BtnClear = tool(TGlyph::Clear, tr("Очистить график"));
    BtnLegend = tool(TGlyph::Legend, tr("Легенда"), true);
    Btn3D = tool(TGlyph::View3D, tr("Объемное изображение"), true);
    BtnPrint = tool(TGlyph::Print, tr("Печать"));
    BtnSave = tool(TGlyph::Save, tr("Сохранить в WMF"));
    cbTime = new QComboBox(GroupBox2);
    cbTime->setToolTip(tr("Диапазон времени"));
    cbTime->addItems({QString(), tr("за 1    минуту"), tr("за 5    минут"), tr("за 10  минут"),
                      tr("за 15  минут"), tr("за 30  минут"), tr("за 1    час"), tr("за 2    часа"),
                      tr("за 6    часов"), tr("за 12  часов"), tr("за 24  часа"), tr("за 2     дня"),
                      tr("за 3     дня"), tr("за 1     неделю"), tr("за 1/2 месяца"), tr("за 1     месяц")});
    cbTime->setCurrentIndex(0);
    tools->addWidget(cbTime);
    // Follow: the X axis shows the last minutes of the chosen range and slides as points arrive.
    // Off at first, so the chart keeps its usual behaviour until asked.
    BtnFollow = new QToolButton(GroupBox2);
    BtnFollow->setText(QStringLiteral("⇥"));
    BtnFollow->setToolTip(
        tr("Следовать за новыми точками: ось X показывает последние минуты выбранного диапазона "
           "(без диапазона - показанной сейчас ширины)"));
    BtnFollow->setCheckable(true);
    tools->addWidget(BtnFollow);
    tools->addStretch();
    NameControls({{GroupBox1, "GroupBox1"},
                  {ASG, "ASG"},
                  {btnMeasure, "btnMeasure"},
                  {btnMeasureStop, "btnMeasureStop"},
                  {btnMeasureHelp, "btnMeasureHelp"},
                  {GroupBox2, "GroupBox2"},
                  {ZoomOutX, "ZoomOutX"},
                  {ZoomOutY, "ZoomOutY"},
                  {ZoomInY, "ZoomInY"},
                  {ZoomInX, "ZoomInX"},
                  {MoveLeft, "MoveLeft"},
                  {MoveDown, "MoveDown"},
                  {MoveUp, "MoveUp"},
                  {MoveRight, "MoveRight"},
                  {AutoX, "AutoX"},
                  {AutoY, "AutoY"},
                  {BtnClear, "BtnClear"},
                  {BtnLegend, "BtnLegend"},
                  {Btn3D, "Btn3D"},
                  {BtnPrint, "BtnPrint"},
                  {BtnSave, "BtnSave"},
                  {cbTime, "cbTime"},
                  {BtnFollow, "BtnFollow"},
                  {cbRecord, "cbRecord"},
                  {btnRecordFile, "btnRecordFile"},
                  {btnOpenRecord, "btnOpenRecord"},
                  {lblRecord, "lblRecord"}});
    Chart = new TChart(GroupBox2);
    Chart->setObjectName(QStringLiteral("Chart"));
    // Both axes start scaling themselves while their buttons start up.
    Chart->SetAutoX(true);
    Chart->SetAutoY(true);
    auto* g2 = new QVBoxLayout(GroupBox2);
    g2->setContentsMargins(4, 4, 4, 4);
    g2->addLayout(tools);
    g2->addWidget(Chart, 1);
    for (QToolButton* b : {ZoomOutX, ZoomOutY, ZoomInY, ZoomInX, MoveLeft, MoveDown, MoveUp, MoveRight, AutoX,
                           AutoY, BtnClear, BtnLegend, Btn3D, BtnPrint, BtnSave})
        connect(b, &QToolButton::clicked, this, [this, b] { ChartCommand(b); });
    // Choosing another range while following follows that one.
    connect(cbTime, &QComboBox::activated, this, [this](int index) {
        const bool following = Chart->Following();
        cbTimeChange(index);
        if (following)
            Follow(true);
    });
    connect(BtnFollow, &QToolButton::toggled, this, [this](bool on) { Follow(on); });
    // The button shows whether the chart follows, whatever ended or started it.
    connect(Chart, &TChart::FollowingChanged, BtnFollow, [this](bool on) {
        const QSignalBlocker block(BtnFollow);
        BtnFollow->setChecked(on);
    });
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
    // The table gets its real width only when its page is shown and at every resize after that:
    // a build on a hidden page must not leave the columns at the width of a never-laid-out table.
    ASG->installEventFilter(this);
    ShowRecordState();
}

TfrmMeasure::~TfrmMeasure() = default;

bool TfrmMeasure::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ASG && (e->type() == QEvent::Resize || e->type() == QEvent::Show))
        FormResize();
    return QWidget::eventFilter(watched, e);
}

void TfrmMeasure::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormResize();
}

void TfrmMeasure::Build(int channels) {
    std::optional<TUpdatesPause> pause(ASG);
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
    pause.reset();

    BuildSeries();
    Chart->SetYLabelFormat(QStringLiteral("#,##0.0000"));
    if (!BtnLegend->isChecked())
        BtnLegend->click();
    // Another type or project: the recording waits to be switched on for it.
    if (!Running) {
        Record.reset();
        cbRecord->setChecked(false);
        RecordNote.clear();
    }
    ShowRecordState();
    FormResize();
}

void TfrmMeasure::BuildSeries() {
    ShowingRecord = false;
    Chart->RemoveAllSeries();
    for (int k = 1; k <= Channels; ++k)
        Chart->AddSeries(tr("Канал %1").arg(k));
    // One channel: the legend lists the values of its points; several: the series by title.
    Chart->SetLegendShowsValues(Channels <= 1);
}

int TfrmMeasure::ChannelCount() const {
    return Channels;
}

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
    Running = running;
    if (!running) {
        // The end of a run, for whatever reason, is a gap in the record (its reason is stored: never
        // translated).
        if (Record && Record->Active()) {
            if (!Record->Gap(QDateTime::currentDateTime(), QStringLiteral("измерение остановлено")))
                RecordFailed();
            else
                Record->End();
        }
        RunStarted = false;
    }
    btnOpenRecord->setEnabled(!running);
    ShowRecordState();
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
    const TUpdatesPause pause(ASG);
    const int cols = ASG->columnCount();
    // The frame's inside, not the viewport: a hidden table's viewport keeps its first size until
    // the table is shown (no scroll bars, so both are the same once shown).
    const int client = ASG->contentsRect().width();
    int others = 0;
    for (int c = 1; c < cols; ++c) {
        const int w = static_cast<int>(client * 0.9 / cols);
        ASG->setColumnWidth(c, w);
        others += w;
    }
    ASG->setColumnWidth(0, std::max(0, client - others));
}

const std::vector<int>& TimeRanges() {
    static const std::vector<int> minutes = {0,   1,   5,    10,   15,   30,    60,    120,
                                             360, 720, 1440, 2880, 4320, 10080, 21600, 43200};
    return minutes;
}

void TfrmMeasure::ClearSeries() {
    // The polling clears the chart at the start of its run: the run's minutes count from here.
    if (ShowingRecord)
        BuildSeries();
    Chart->ClearSeries();
    RunStart = QDateTime::currentDateTime();
    RunStarted = true;
    if (Record)
        StartRecordSection();
}

void TfrmMeasure::SwitchAutoScaleOn() {
    for (QToolButton* b : {AutoX, AutoY})
        if (!b->isChecked())
            ClickAuto(b);
}

void TfrmMeasure::AddPoint(int k, double minutes, double value) {
    if (k >= 1 && k <= Chart->SeriesCount())
        Chart->AddPoint(k - 1, minutes, value);
    if (!Record || !Record->Active())
        return;
    // The value as the instrument sent it (shown in the table just before), when it is that number.
    QString text = ValueText(k);
    if (Numbers::ParseFloat(text) != value)
        text = Numbers::FormatGeneral(value);
    const QString before = Record->FileName();
    if (!Record->Reading(QDateTime::currentDateTime(), minutes, k, text))
        RecordFailed();
    else if (Record->FileName() != before)
        ShowRecordState(); // the next day's or the next part's file
}

void TfrmMeasure::ReadingFailed(int k) {
    Chart->BreakSeries();
    if (Record && Record->Active() &&
        !Record->Gap(QDateTime::currentDateTime(), QStringLiteral("ошибка чтения канала %1").arg(k)))
        RecordFailed();
}

void TfrmMeasure::SetRecording(bool on) {
    if (!on) {
        if (Record && Record->Active()) {
            Record->Gap(QDateTime::currentDateTime(), QStringLiteral("запись выключена"));
            Record->End();
        }
        Record.reset();
    } else if (!Record) {
        if (State.RecordFile.isEmpty() && !ChooseRecordFile()) {
            const QSignalBlocker block(cbRecord);
            cbRecord->setChecked(false);
            return;
        }
        RecordNote.clear();
        Record = std::make_unique<TMeasureRecorder>(State.RecordFile);
        // Switched on during a run: the record starts with the next reading.
        if (RunStarted)
            StartRecordSection();
    }
    {
        const QSignalBlocker block(cbRecord);
        cbRecord->setChecked(Record != nullptr);
    }
    ShowRecordState();
}

bool TfrmMeasure::ChooseRecordFile() {
    TFileDialogSpec dialogDef;
    dialogDef.Title = tr("Файл записи измерения");
    dialogDef.Filters = {tr("Запись измерения (*.csv)")};
    dialogDef.DefaultExt = QStringLiteral("csv");
    dialogDef.Directory = State.RecordFile.isEmpty() ? UserFilesDir(State.LastUserDir, State.ProgDir)
                                                     : QFileInfo(State.RecordFile).absolutePath();
    const QString name = Dialogs.SaveFileName(dialogDef);
    if (name.isEmpty())
        return false;
    State.RecordFile = QFileInfo(name).absoluteFilePath();
    emit RecordFileChosen();
    ShowRecordState();
    return true;
}

void TfrmMeasure::StartRecordSection() {
    TRecordHeader h;
    if (State.HasCurType()) {
        const TDevProp& type = State.CurDevType();
        const TDev& dev = State.CurDev();
        h.Type = type.Name;
        h.Version = type.Version;
        h.Port = dev.COMPort;
        h.Speed = dev.BaudRate;
        h.Address = dev.Address;
    }
    for (int k = 1; k <= Channels; ++k)
        if (ChannelSelected(k))
            h.Channels << k;
    h.Start = RunStart;
    if (!Record->Begin(h, QDateTime::currentDateTime()))
        RecordFailed();
    ShowRecordState();
}

void TfrmMeasure::RecordFailed() {
    const QString reason = Record ? Record->Reason() : QString();
    Record.reset();
    {
        const QSignalBlocker block(cbRecord);
        cbRecord->setChecked(false);
    }
    RecordNote = tr("Запись прекращена: %1").arg(reason);
    ShowRecordState();
    // Told once, after the reading's hand-over has returned: the polling goes on meanwhile.
    QTimer::singleShot(0, this, [this, reason] {
        Dialogs.Message(tr("Запись измерения в файл прекращена: %1.\rИзмерение продолжается, "
                           "график сохраняет все точки.")
                            .arg(reason),
                        tr("Запись в файл"), TMsgButtons::Ok);
    });
}

void TfrmMeasure::ShowRecordState() {
    const bool recording = Record && Record->Active();
    cbRecord->setChecked(Record != nullptr);
    btnRecordFile->setEnabled(!Record);
    QString text;
    if (recording)
        text = tr("Запись: %1").arg(QFileInfo(Record->FileName()).fileName());
    else if (!RecordNote.isEmpty())
        text = RecordNote;
    else if (Record)
        text = tr("Запись начнется с измерением: %1").arg(QFileInfo(State.RecordFile).fileName());
    else if (!State.RecordFile.isEmpty())
        text = tr("Файл записи: %1").arg(QFileInfo(State.RecordFile).fileName());
    lblRecord->setText(text);
    lblRecord->setToolTip(recording ? Record->FileName() : State.RecordFile);
}

QString TfrmMeasure::RecordingFile() const {
    return Record && Record->Active() ? Record->FileName() : QString();
}

namespace {
// A record read into the chart: a series for each address and channel, in the order they appear.
class TChartSink : public IRecordSink {
public:
    explicit TChartSink(TChart& chart) : Chart(chart) {}
    int NewSeries(int address, int channel) override {
        Keys.emplace_back(address, channel);
        return Chart.AddSeries(TfrmMeasure::tr("Канал %1").arg(channel));
    }
    void Point(int series, double minutes, double value) override {
        Chart.AddPointQuietly(series, minutes, value);
    }
    void Gap() override { Chart.BreakSeries(); }
    std::vector<std::pair<int, int>> Keys;

private:
    TChart& Chart;
};
} // namespace

bool TfrmMeasure::OpenRecord(const QString& fileName) {
    Chart->RemoveAllSeries();
    ShowingRecord = true;
    TChartSink sink(*Chart);
    const TRecordRead read = ReadMeasureRecordFile(fileName, sink);
    // Readings of several instruments: each series names its address too.
    const bool addresses = std::any_of(sink.Keys.begin(), sink.Keys.end(),
                                       [&](const auto& key) { return key.first != sink.Keys.front().first; });
    if (addresses)
        for (size_t i = 0; i < sink.Keys.size(); ++i)
            Chart->SetSeriesTitle(static_cast<int>(i),
                                  tr("Адрес %1, канал %2").arg(sink.Keys[i].first).arg(sink.Keys[i].second));
    Chart->SetLegendShowsValues(Chart->SeriesCount() <= 1);
    SwitchAutoScaleOn();
    Chart->Refresh();
    const QString name = QFileInfo(fileName).fileName();
    if (!read.Ok) {
        RecordNote = tr("Запись \"%1\" не открыта").arg(name);
        ShowRecordState();
        Dialogs.Message(tr("Не удалось открыть запись \"%1\": %2").arg(name, read.Error), tr("Ошибка"),
                        TMsgButtons::Ok);
        return false;
    }
    RecordNote = tr("Открыта запись \"%1\": отсчётов %2").arg(name).arg(read.Readings);
    if (read.Gaps > 0)
        RecordNote += tr(", перерывов %1").arg(read.Gaps);
    if (read.Skipped > 0)
        RecordNote += tr(", непонятных строк %1").arg(read.Skipped);
    ShowRecordState();
    return true;
}

void TfrmMeasure::OpenRecordClick() {
    TFileDialogSpec dialogDef;
    dialogDef.Title = tr("Открытие записи измерения");
    dialogDef.Filters = {tr("Запись измерения (*.csv)"), tr("Все файлы (*)")};
    dialogDef.Directory = State.RecordFile.isEmpty() ? UserFilesDir(State.LastUserDir, State.ProgDir)
                                                     : QFileInfo(State.RecordFile).absolutePath();
    const QString name = Dialogs.OpenFileName(dialogDef);
    if (name.isEmpty())
        return;
    OpenRecord(name);
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

void TfrmMeasure::Follow(bool on) {
    const int index = cbTime->currentIndex();
    const TAxisRange shown = Chart->XRange();
    // The range chosen, or without one the width shown now.
    const double width = index > 0 && index < static_cast<int>(TimeRanges().size())
                             ? TimeRanges()[static_cast<size_t>(index)]
                             : shown.Max - shown.Min;
    Chart->SetFollow(on ? width : 0);
    const QSignalBlocker block(BtnFollow);
    BtnFollow->setChecked(Chart->Following());
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
    dialogDef.Title = tr("Сохранение графика");
    dialogDef.Directory = UserFilesDir(State.LastUserDir, State.ProgDir);
    const QString name = Dialogs.SaveFileName(dialogDef);
    if (name.isEmpty())
        return;
    State.LastUserDir = QFileInfo(name).absolutePath();
    if (QFileInfo::exists(name) && Dialogs.Message(tr("Файл уже существует. Перезаписать?"), tr("Warning"),
                                                   TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    const bool csv = name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const TFileResult saved = csv ? SaveChartCsv(*Chart, name) : SaveChart(*Chart, name);
    if (!saved.Ok)
        Dialogs.Message(tr("Не удалось сохранить график в файл %1\r%2").arg(name, saved.Error), tr("Ошибка"),
                        TMsgButtons::Ok);
}

void TfrmMeasure::BtnPrintClick() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        Dialogs.Message(tr("Принтер не установлен. Настройте принтер по умолчанию и повторите печать."),
                        tr("Печать"), TMsgButtons::Ok);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!PrintChart(*Chart, printer))
        Dialogs.Message(tr("Не удалось напечатать график."), tr("Печать"), TMsgButtons::Ok);
}
