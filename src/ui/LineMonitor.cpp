#include "ui/LineMonitor.h"

#include "common/FileSave.h"
#include "common/IniFile.h"
#include "exchange/CodeMeaning.h"
#include "ui/ObjectNames.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QColor>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {
QString Caption() {
    return TfrmLineMonitor::tr("Монитор обмена");
}
const QString GeometrySection = QStringLiteral("LineMonitor");
constexpr int DrainIntervalMs = 100;
// Rows taken into the model per turn of the user-interface thread, so that a burst (or the queue
// of a long pause) never holds the window for long.
constexpr size_t RowsPerTurn = 5000;

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvLine(const TLineEvent& e) {
    const QStringList fields = {EventTimeText(e.TimeMs),
                                e.Direction == TLineDirection::Request ? QStringLiteral("→")
                                                                       : QStringLiteral("←"),
                                e.Port,
                                QString::number(e.Address),
                                EscapeParcelBytes(e.Bytes),
                                OutcomeText(e.Outcome),
                                PurposeText(e.Purpose)};
    QStringList quoted;
    for (const QString& f : fields)
        quoted << CsvField(f);
    return quoted.join(QLatin1Char(','));
}
} // namespace

void TLineEventQueue::Parcel(const TLineEvent& event) {
    const std::lock_guard<std::mutex> lock(Mutex);
    if (Queue.size() >= Capacity) {
        Queue.pop_front();
        ++Dropped;
    }
    Queue.push_back(event);
}

size_t TLineEventQueue::Waiting(uint64_t* dropped) const {
    const std::lock_guard<std::mutex> lock(Mutex);
    *dropped = Dropped;
    return Queue.size();
}

std::deque<TLineEvent> TLineEventQueue::Take(uint64_t* dropped) {
    std::deque<TLineEvent> taken;
    const std::lock_guard<std::mutex> lock(Mutex);
    taken.swap(Queue);
    if (dropped)
        *dropped += Dropped;
    Dropped = 0;
    return taken;
}

TLineLogModel::TLineLogModel(size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), Cap(std::max<size_t>(capacity, 1)) {}

bool TLineLogModel::Passes(const TLineEvent& e) const {
    return (Address < 0 || e.Address == Address) && (!ErrorsOnly || e.Outcome != 0);
}

void TLineLogModel::Store(TLineEvent&& e) {
    if (Ring.size() < Cap)
        Ring.push_back(std::move(e)); // the ring fills from slot 0 while NextSeq equals its size
    else
        Ring[static_cast<size_t>(NextSeq % Cap)] = std::move(e);
    ++NextSeq;
}

void TLineLogModel::Append(std::deque<TLineEvent>& batch, size_t count) {
    count = std::min(count, batch.size());
    if (count == 0)
        return;
    const bool filtered = Address >= 0 || ErrorsOnly;
    if (count >= Cap) {
        // The batch alone fills the ring: only its newest events stay.
        beginResetModel();
        batch.erase(batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(count - Cap));
        Ring.clear();
        Shown.clear();
        FirstSeq = NextSeq = 0;
        for (size_t i = 0; i < Cap; ++i) {
            if (filtered && Passes(batch.front()))
                Shown.push_back(NextSeq);
            Store(std::move(batch.front()));
            batch.pop_front();
        }
        endResetModel();
        return;
    }
    const size_t stored = Stored();
    if (stored + count > Cap) {
        const uint64_t newFirst = FirstSeq + (stored + count - Cap);
        int rows = static_cast<int>(newFirst - FirstSeq);
        if (filtered)
            rows = static_cast<int>(
                std::find_if(Shown.begin(), Shown.end(), [&](uint64_t s) { return s >= newFirst; }) -
                Shown.begin());
        if (rows > 0)
            beginRemoveRows(QModelIndex(), 0, rows - 1);
        FirstSeq = newFirst;
        if (filtered)
            Shown.erase(Shown.begin(), Shown.begin() + rows);
        if (rows > 0)
            endRemoveRows();
    }
    int added = static_cast<int>(count);
    if (filtered)
        added =
            static_cast<int>(std::count_if(batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(count),
                                           [this](const TLineEvent& e) { return Passes(e); }));
    const int first = rowCount();
    if (added > 0)
        beginInsertRows(QModelIndex(), first, first + added - 1);
    for (size_t i = 0; i < count; ++i) {
        if (filtered && Passes(batch.front()))
            Shown.push_back(NextSeq);
        Store(std::move(batch.front()));
        batch.pop_front();
    }
    if (added > 0)
        endInsertRows();
}

void TLineLogModel::Clear() {
    beginResetModel();
    Ring.clear();
    Ring.shrink_to_fit();
    Shown.clear();
    FirstSeq = NextSeq = 0;
    endResetModel();
}

void TLineLogModel::SetFilter(int address, bool errorsOnly) {
    beginResetModel();
    Address = address;
    ErrorsOnly = errorsOnly;
    Shown.clear();
    if (Address >= 0 || ErrorsOnly)
        for (uint64_t s = FirstSeq; s < NextSeq; ++s)
            if (Passes(BySeq(s)))
                Shown.push_back(s);
    endResetModel();
}

const TLineEvent& TLineLogModel::Event(int row) const {
    const bool filtered = Address >= 0 || ErrorsOnly;
    return BySeq(filtered ? Shown[static_cast<size_t>(row)] : FirstSeq + static_cast<uint64_t>(row));
}

int TLineLogModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(Address >= 0 || ErrorsOnly ? Shown.size() : Stored());
}

int TLineLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColCount;
}

QVariant TLineLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const TLineEvent& e = Event(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case ColTime:
            return EventTimeText(e.TimeMs);
        case ColDirection:
            return e.Direction == TLineDirection::Request ? QStringLiteral("→") : QStringLiteral("←");
        case ColPort:
            return e.Port;
        case ColAddress:
            return int(e.Address);
        case ColText:
            return EscapeParcelBytes(e.Bytes);
        case ColOutcome:
            return OutcomeText(e.Outcome);
        case ColPurpose:
            return PurposeText(e.Purpose);
        default:
            return QVariant();
        }
    }
    if (role == Qt::FontRole && index.column() == ColDirection)
        return ArrowFont;
    if (role == Qt::ToolTipRole && index.column() == ColOutcome)
        return ResultCodeDetails(e.Outcome);
    if (role == Qt::ForegroundRole && e.Outcome != 0)
        return QColor(170, 0, 0);
    if (role == Qt::TextAlignmentRole && index.column() == ColAddress)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant TLineLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    static const char* const titles[] = {
        QT_TR_NOOP("Время"),   QT_TR_NOOP("Напр."),     QT_TR_NOOP("Порт"),      QT_TR_NOOP("Адрес"),
        QT_TR_NOOP("Посылка"), QT_TR_NOOP("Результат"), QT_TR_NOOP("Назначение")};
    return section >= 0 && section < int(std::size(titles)) ? QVariant(tr(titles[section])) : QVariant();
}

bool SaveLineLog(const TLineLogModel& model, const QString& path, QString* error) {
    const bool csv = QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    TFileSave file(path);
    const auto fail = [&] {
        if (error)
            *error = file.Reason();
        return false;
    };
    if (!file.Open())
        return fail();
    QString chunk;
    if (csv)
        chunk =
            QChar(0xFEFF) + QStringLiteral("время,направление,порт,адрес,посылка,результат,назначение\r\n");
    const int rows = model.rowCount();
    for (int r = 0; r < rows; ++r) {
        const TLineEvent& e = model.Event(r);
        chunk += csv ? CsvLine(e) + QStringLiteral("\r\n") : FormatLineEvent(e) + QLatin1Char('\n');
        if (chunk.size() > 256 * 1024) {
            if (!file.Write(chunk.toUtf8()))
                return fail();
            chunk.clear();
        }
    }
    if (!file.Write(chunk.toUtf8()) || !file.Commit())
        return fail();
    return true;
}

QString LineLogRowsText(const TLineLogModel& model, const std::vector<int>& rows) {
    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    QString text;
    for (const int r : sorted)
        if (r >= 0 && r < model.rowCount())
            text += FormatLineEvent(model.Event(r)) + QLatin1Char('\n');
    return text;
}

TfrmLineMonitor::TfrmLineMonitor(TLineTapHub& hub, IUserDialogs& dialogs, const QString& settingsPath,
                                 QWidget* parent, size_t capacity)
    : QWidget(parent, Qt::Window), Hub(hub), Dialogs(dialogs), SettingsPath(settingsPath), Queue(capacity) {
    setWindowTitle(Caption());
    setAttribute(Qt::WA_QuitOnClose, false); // an open monitor never keeps the program running
    Model = new TLineLogModel(capacity, this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("Адрес:"), this));
    seAddress = new QSpinBox(this);
    seAddress->setRange(-1, 255);
    seAddress->setSpecialValueText(tr("все"));
    seAddress->setValue(-1);
    seAddress->setToolTip(tr("Показывать посылки только этого адреса"));
    controls->addWidget(seAddress);
    cbErrors = new QCheckBox(tr("Только ошибки"), this);
    controls->addWidget(cbErrors);
    btnPause = new QPushButton(tr("Пауза"), this);
    btnPause->setCheckable(true);
    btnPause->setToolTip(tr("Остановить или продолжить вывод посылок (запись продолжается)"));
    btnClear = new QPushButton(tr("Очистить"), this);
    btnCopy = new QPushButton(tr("Копировать"), this);
    btnCopy->setToolTip(tr("Копировать выделенные строки (Ctrl+C)"));
    btnSave = new QPushButton(tr("Сохранить..."), this);
    btnSave->setToolTip(tr("Сохранить показанные строки в файл .txt или .csv"));
    for (QPushButton* b : {btnPause, btnClear, btnCopy, btnSave})
        controls->addWidget(b);
    controls->addStretch();
    lblCount = new QLabel(this);
    controls->addWidget(lblCount);

    View = new QTableView(this);
    NameControls({{View, "View"},
                  {seAddress, "seAddress"},
                  {cbErrors, "cbErrors"},
                  {btnPause, "btnPause"},
                  {btnClear, "btnClear"},
                  {btnCopy, "btnCopy"},
                  {btnSave, "btnSave"},
                  {lblCount, "lblCount"}});
    View->setModel(Model);
    View->setSelectionBehavior(QAbstractItemView::SelectRows);
    View->setSelectionMode(QAbstractItemView::ExtendedSelection);
    View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    View->setWordWrap(false);
    View->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The arrows of a fixed-width face are drawn in the space of a letter and hardly show which
    // way a parcel went: they get a larger, bold face of their own.
    QFont arrows = font();
    arrows.setBold(true);
    if (View->font().pointSizeF() > 0)
        arrows.setPointSizeF(View->font().pointSizeF() * 1.5);
    else
        arrows.setPixelSize(View->font().pixelSize() * 3 / 2);
    Model->SetArrowFont(arrows);
    View->verticalHeader()->hide();
    // Fixed row heights: the view never measures rows, whatever their number.
    View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    View->verticalHeader()->setDefaultSectionSize(
        std::max(View->fontMetrics().height(),
                 QFontMetrics(arrows).tightBoundingRect(QStringLiteral("→←")).height()) +
        4);
    View->horizontalHeader()->setStretchLastSection(true);
    const int digit = View->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const std::array<int, TLineLogModel::ColCount - 1> widths = {14, 5, 12, 6, 34, 30};
    // A column narrower than its title ("Напр.", "Адрес") would cut the title off.
    for (size_t c = 0; c < widths.size(); ++c)
        View->setColumnWidth(
            static_cast<int>(c),
            std::max(widths[c] * digit, View->horizontalHeader()->sectionSizeHint(static_cast<int>(c))));
    auto* copy = new QAction(View);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    View->addAction(copy);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(controls);
    layout->addWidget(View, 1);

    connect(seAddress, &QSpinBox::valueChanged, this, [this] { ApplyFilter(); });
    connect(cbErrors, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
    connect(btnPause, &QPushButton::toggled, this, [this](bool paused) {
        btnPause->setText(paused ? tr("Продолжить") : tr("Пауза"));
        Drain();
        ShowCount(); // also when nothing waited: the pause's note goes
    });
    connect(btnClear, &QPushButton::clicked, this, [this] {
        Queue.Take(); // what arrived before the click goes too
        Backlog.clear();
        Dropped = 0;
        Model->Clear();
        ShowCount();
    });
    connect(btnCopy, &QPushButton::clicked, this, &TfrmLineMonitor::CopyClick);
    connect(copy, &QAction::triggered, this, &TfrmLineMonitor::CopyClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmLineMonitor::SaveClick);

    Timer = new QTimer(this);
    connect(Timer, &QTimer::timeout, this, &TfrmLineMonitor::Drain);
    Timer->start(DrainIntervalMs);
    ShowCount();
    Hub.Attach(&Queue);
}

TfrmLineMonitor::~TfrmLineMonitor() {
    Hub.Detach(&Queue);
}

void TfrmLineMonitor::Open() {
    if (!GeometryLoaded)
        LoadGeometryFromSettings();
    show();
    raise();
    activateWindow();
}

void TfrmLineMonitor::Drain() {
    if (btnPause->isChecked()) {
        ShowCount(); // the queue keeps collecting (bounded) until the user resumes: say how much
        return;
    }
    std::deque<TLineEvent> taken = Queue.Take(&Dropped);
    if (Backlog.empty())
        Backlog.swap(taken);
    else
        std::move(taken.begin(), taken.end(), std::back_inserter(Backlog));
    if (Backlog.size() > Model->Capacity()) {
        // Older than anything the ring could keep: never shown.
        const size_t excess = Backlog.size() - Model->Capacity();
        Backlog.erase(Backlog.begin(), Backlog.begin() + static_cast<std::ptrdiff_t>(excess));
        Dropped += excess;
    }
    if (Backlog.empty())
        return;
    QScrollBar* bar = View->verticalScrollBar();
    const bool follow = bar->value() >= bar->maximum();
    Model->Append(Backlog, RowsPerTurn);
    if (follow)
        View->scrollToBottom();
    ShowCount();
    if (!Backlog.empty())
        QTimer::singleShot(0, this, &TfrmLineMonitor::Drain);
}

void TfrmLineMonitor::ApplyFilter() {
    Model->SetFilter(seAddress->value(), cbErrors->isChecked());
    View->scrollToBottom();
    ShowCount();
}

void TfrmLineMonitor::ShowCount() {
    QString text = tr("Показано: %1 из %2").arg(Model->rowCount()).arg(Model->Stored());
    uint64_t dropped = Dropped;
    if (btnPause->isChecked()) {
        uint64_t lost = 0;
        const size_t waiting = Queue.Waiting(&lost);
        dropped += lost;
        text += tr("; пауза, запись продолжается: новых %1").arg(waiting);
    }
    if (dropped > 0)
        text += tr(", пропущено: %1").arg(dropped);
    lblCount->setText(text);
}

void TfrmLineMonitor::CopyClick() {
    std::vector<int> rows;
    for (const QModelIndex& i : View->selectionModel()->selectedRows())
        rows.push_back(i.row());
    if (!rows.empty())
        QApplication::clipboard()->setText(LineLogRowsText(*Model, rows));
}

void TfrmLineMonitor::SaveClick() {
    TFileDialogSpec dialogDef;
    dialogDef.Title = tr("Сохранить журнал обмена");
    dialogDef.Filters = {tr("Текст (*.txt)"), tr("Таблица CSV (*.csv)")};
    dialogDef.DefaultExt = QStringLiteral("txt");
    int filter = 0;
    QString path = Dialogs.SaveFileName(dialogDef, &filter);
    if (path.isEmpty())
        return;
    // The CSV filter with a name typed without an extension means CSV.
    if (filter == 1 && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    QString error;
    if (!SaveLineLog(*Model, path, &error))
        Dialogs.Message(tr("Не удалось сохранить журнал обмена!\r%1\r%2").arg(path, error), Caption(),
                        TMsgButtons::Ok);
}

void TfrmLineMonitor::LoadGeometryFromSettings() {
    GeometryLoaded = true;
    resize(900, 420);
    if (SettingsPath.isEmpty())
        return;
    const TIniFile ini(SettingsPath);
    if (!ini.ValueExists(GeometrySection, QStringLiteral("Width")))
        return;
    const int w = ini.ReadInteger(GeometrySection, QStringLiteral("Width"), 900);
    const int h = ini.ReadInteger(GeometrySection, QStringLiteral("Height"), 420);
    resize(std::clamp(w, 300, 10000), std::clamp(h, 150, 10000));
    move(ini.ReadInteger(GeometrySection, QStringLiteral("Left"), x()),
         ini.ReadInteger(GeometrySection, QStringLiteral("Top"), y()));
}

void TfrmLineMonitor::SaveGeometryToSettings() {
    if (!GeometryLoaded || SettingsPath.isEmpty())
        return; // never opened: nothing to remember
    TIniFile ini(SettingsPath);
    ini.WriteInteger(GeometrySection, QStringLiteral("Left"), x());
    ini.WriteInteger(GeometrySection, QStringLiteral("Top"), y());
    ini.WriteInteger(GeometrySection, QStringLiteral("Width"), width());
    ini.WriteInteger(GeometrySection, QStringLiteral("Height"), height());
    // A settings file that cannot be written is reported by the program's own settings save.
    ini.UpdateFile();
}

void TfrmLineMonitor::closeEvent(QCloseEvent* e) {
    SaveGeometryToSettings();
    e->accept();
}
