#include "ui/MainWindow.h"

#include "ui/DevTableFiles.h"
#include "ui/HelpWindow.h"
#include "common/IniFile.h"
#include "common/ProgDir.h"
#include "app/Settings.h"
#include "exchange/CodeMeaning.h"
#include "ui/LineMonitor.h"
#include "ui/AboutWindow.h"
#include "ui/ChanTable.h"
#include "ui/MeasureView.h"
#include "ui/SettingsDialog.h"

#include <QAction>
#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Texts of the project-state pane.
const QString PrjTextChanged = QStringLiteral("Текущий проект изменен");
const QString PrjTextSaved = QStringLiteral("Текущий проект сохранен");
const QString PrjTextNone = QStringLiteral("Нет открытого проекта");
const QString MainCaption = QStringLiteral("Настройка приборов серии Kestrin K1");

QPixmap Glyph(bool changed) {
    QPixmap pm(13, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (changed) {
        // A pencil mark: the project has unsaved changes.
        p.setPen(QPen(QColor(200, 40, 30), 2));
        p.drawLine(2, 11, 11, 2);
        p.setPen(QPen(QColor(200, 40, 30), 1));
        p.drawLine(1, 12, 4, 12);
    } else {
        // A tick: saved.
        p.setPen(QPen(QColor(20, 140, 40), 2));
        p.drawLine(2, 7, 5, 10);
        p.drawLine(5, 10, 11, 3);
    }
    return pm;
}
} // namespace

const QStringList& ModelNames() {
    static const QStringList names = {QStringLiteral("Kestrin K1"), QStringLiteral("Kestrin K1R"),
                                      QStringLiteral("Kestrin K1V")};
    return names;
}

QString ModelName(int actDevice) {
    return actDevice >= 0 && actDevice < ModelNames().size() ? ModelNames()[actDevice] : ModelNames()[0];
}

TfrmMain::TfrmMain(TAppState& state, IUserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), State(state), Dialogs(dialogs) {
    ProjectGlyphs = {Glyph(true), Glyph(false)};
    Project = new TProject(State, *this, this);
    connect(Project, &TProject::StateChanged, this, &TfrmMain::ShowPrjState);
    connect(Project, &TProject::PathChanged, this, [this] { SetCaption(); });
    connect(Project, &TProject::StatusMessage, this, &TfrmMain::ShowMessage);
}

TfrmMain::~TfrmMain() = default;

bool TfrmMain::FormCreate() {
    setWindowTitle(MainCaption);
    State.ProgDir = State.ProgDir.isEmpty() ? StartupFiles::ResolveProgDir() : State.ProgDir;
    StartupFiles::UseDotDecimalSeparator();
    if (!StartupFiles::CheckRequiredFiles(State.ProgDir)) {
        Dialogs.Message(QStringLiteral("Ошибка! Не найдены файлы необходимые для работы программы!"),
                        QStringLiteral("Ошибка"), TMsgButtons::Ok);
        return false;
    }
    resize(700, 509);
    setMinimumSize(600, 480);
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();

    LoadAdjust();
    State.PortList.clear();
    State.SpeedList.clear();
    if (LoadPortList && !LoadPortList(State))
        return false;
    State.DevTypes = ReadCatalogue(State.ProgDir + QStringLiteral("devices.ini"));
    CreatePages();
    State.CreateDevList();

    Project->Reopen();
    State.ExchangeState = ExchIdle;
    ShowPrjState();
    SetAdjust();
    Created = true;
    return true;
}

void TfrmMain::CreateDialogs() {
    frmAbout = new TfrmAbout(this);
    frmProgSet = new TfrmProgSet(State.Settings, [this] { SetAdjust(); }, [this] { ShowHelp(QStringLiteral("page0")); },
                                 this);
}

void TfrmMain::CreateMenu() {
    miFileMenu = menuBar()->addMenu(QStringLiteral("Проект"));
    miNew = miFileMenu->addAction(QStringLiteral("Новый"));
    miNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    miOpen = miFileMenu->addAction(QStringLiteral("Открыть"));
    miOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    miSave = miFileMenu->addAction(QStringLiteral("Сохранить"));
    miSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    miSaveAs = miFileMenu->addAction(QStringLiteral("Сохранить как..."));
    miClose = miFileMenu->addAction(QStringLiteral("Закрыть"));
    miClose->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    miFileMenu->addSeparator();
    miExit = miFileMenu->addAction(QStringLiteral("Выход"));
    miExit->setShortcut(QKeySequence(QStringLiteral("Alt+X")));
    miSetMenu = menuBar()->addMenu(QStringLiteral("Настройки"));
    miProgSet = miSetMenu->addAction(QStringLiteral("Настройки программы"));
    // Not an exchange of its own, so it stays usable while one runs (ShowPrjState leaves it on).
    miLineMonitor = miSetMenu->addAction(QStringLiteral("Монитор обмена"));
    connect(miLineMonitor, &QAction::triggered, this, [this] { ToolBarClick(miLineMonitor); });
    HelpMenu = menuBar()->addMenu(QStringLiteral("Помощь"));
    miHelp = HelpMenu->addAction(QStringLiteral("Справка"));
    miHelp->setShortcut(QKeySequence(Qt::Key_F10));
    HelpMenu->addSeparator();
    miAbout = HelpMenu->addAction(QStringLiteral("О программе..."));
    for (QAction* a : {miNew, miOpen, miSave, miSaveAs, miClose, miExit, miProgSet, miHelp, miAbout}) {
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, [this, a] { ToolBarClick(a); });
    }
}

QToolButton* TfrmMain::ToolButton(QAction* action, QStyle::StandardPixmap icon, const QString& hint) {
    auto* b = new QToolButton(tbMain);
    b->setIcon(style()->standardIcon(icon));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    tbMain->addWidget(b);
    connect(b, &QToolButton::clicked, this, [this, b] { ToolBarClick(b); });
    Q_UNUSED(action);
    return b;
}

void TfrmMain::CreateToolBar() {
    tbMain = addToolBar(QStringLiteral("tbMain"));
    tbMain->setMovable(false);
    tbMain->setIconSize(QSize(20, 20));
    btnNew = ToolButton(miNew, QStyle::SP_FileIcon, QStringLiteral("Новый проект (Ctrl+N)"));
    btnOpen = ToolButton(miOpen, QStyle::SP_DialogOpenButton, QStringLiteral("Открыть проект (Ctrl+O)"));
    btnSave = ToolButton(miSave, QStyle::SP_DialogSaveButton, QStringLiteral("Сохранить проект (Ctrl+S)"));
    btnClose = ToolButton(miClose, QStyle::SP_DialogCloseButton, QStringLiteral("Закрыть проект (Ctrl+X)"));
    tbMain->addSeparator();
    btnReadAll = ToolButton(nullptr, QStyle::SP_ArrowDown, QStringLiteral("Считать все параметры из прибора"));
    btnWriteAll = ToolButton(nullptr, QStyle::SP_ArrowUp, QStringLiteral("Записать все параметры в прибор"));
    btnStop = ToolButton(nullptr, QStyle::SP_BrowserStop, QStringLiteral("Остановить обмен данными с прибором"));
    tbMain->addSeparator();
    btnSet = ToolButton(miProgSet, QStyle::SP_FileDialogDetailedView, QStringLiteral("Настройки программы"));
    btnLineMonitor = ToolButton(miLineMonitor, QStyle::SP_FileDialogContentsView, QStringLiteral("Монитор обмена"));
    btnHelp = ToolButton(miHelp, QStyle::SP_DialogHelpButton, QStringLiteral("Помощь (F10)"));
    tbMain->addSeparator();
    btnExit = ToolButton(miExit, QStyle::SP_DialogCancelButton, QString());
}

void TfrmMain::CreatePages() {
    pcMain = new QTabWidget(this);
    pcMain->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 140px; height: 22px; }"));
    setCentralWidget(pcMain);

    // Device page: the table and its button column.
    TabDev = new QWidget;
    pnlDev = new QWidget(TabDev);
    pnlDevBtn = new QWidget(TabDev);
    pnlDevBtn->setFixedWidth(138);
    auto* devLayout = new QHBoxLayout(TabDev);
    devLayout->setContentsMargins(2, 2, 2, 2);
    devLayout->addWidget(pnlDev, 1);
    devLayout->addWidget(pnlDevBtn);
    auto* devButtons = new QVBoxLayout(pnlDevBtn);
    devButtons->setContentsMargins(4, 0, 0, 0);
    auto button = [](QWidget* parent, const QString& caption) {
        auto* b = new QPushButton(caption, parent);
        b->setMinimumHeight(27);
        return b;
    };
    btnDevRead = button(pnlDevBtn, QStringLiteral("Чтение"));
    btnDevReadStop = button(pnlDevBtn, QStringLiteral("Стоп"));
    btnDevDef = button(pnlDevBtn, QStringLiteral("Зав. уст-ки"));
    btnDevClear = button(pnlDevBtn, QStringLiteral("Очистить"));
    btnDevLoad = button(pnlDevBtn, QStringLiteral("Загрузить"));
    btnDevSave = button(pnlDevBtn, QStringLiteral("Сохранить"));
    btnDevPrint = button(pnlDevBtn, QStringLiteral("Печать"));
    btnDevSet = button(pnlDevBtn, QStringLiteral("Настройки\nсвязи"));
    btnDevSet->setMinimumHeight(54);
    btnCalib = button(pnlDevBtn, QStringLiteral("Калибровка"));
    btnDevHelp = button(pnlDevBtn, QStringLiteral("Помощь"));
    btnDevWrite = button(pnlDevBtn, QStringLiteral("Запись"));
    btnDevWriteStop = button(pnlDevBtn, QStringLiteral("Стоп"));
    btnDevReadStop->hide();
    btnDevWriteStop->hide();
    for (QPushButton* b : {btnDevRead, btnDevReadStop, btnDevDef, btnDevClear, btnDevLoad, btnDevSave, btnDevPrint,
                           btnDevSet, btnCalib})
        devButtons->addWidget(b);
    devButtons->addStretch();
    for (QPushButton* b : {btnDevHelp, btnDevWrite, btnDevWriteStop})
        devButtons->addWidget(b);
    for (QPushButton* b : {btnDevRead, btnDevReadStop, btnDevDef, btnDevClear, btnDevLoad, btnDevSave, btnDevPrint,
                           btnDevSet, btnCalib, btnDevHelp, btnDevWrite, btnDevWriteStop})
        connect(b, &QPushButton::clicked, this, [this, b] { DevicesClick(b); });
    frmDev = new TfrmDev(State, Dialogs, *this, pnlDev);
    auto* devHost = new QVBoxLayout(pnlDev);
    devHost->setContentsMargins(0, 0, 0, 0);
    devHost->addWidget(frmDev);

    // Channel page (its tab is never shown).
    TabChan = new QWidget;
    pnlChan = new QWidget(TabChan);
    pnlChanBtn = new QWidget(TabChan);
    pnlChanBtn->setFixedWidth(138);
    auto* chanLayout = new QHBoxLayout(TabChan);
    chanLayout->setContentsMargins(2, 2, 2, 2);
    chanLayout->addWidget(pnlChan, 1);
    chanLayout->addWidget(pnlChanBtn);
    auto* chanButtons = new QVBoxLayout(pnlChanBtn);
    btnChRead = button(pnlChanBtn, QStringLiteral("Чтение"));
    btnChReadStop = button(pnlChanBtn, QStringLiteral("Стоп"));
    btnChDef = button(pnlChanBtn, QStringLiteral("Зав. уст-ки"));
    btnChClear = button(pnlChanBtn, QStringLiteral("Очистить"));
    btnChLoad = button(pnlChanBtn, QStringLiteral("Загрузить"));
    btnChSave = button(pnlChanBtn, QStringLiteral("Сохранить"));
    btnChPrint = button(pnlChanBtn, QStringLiteral("Печать"));
    btnChHelp = button(pnlChanBtn, QStringLiteral("Помощь"));
    btnChWrite = button(pnlChanBtn, QStringLiteral("Запись"));
    btnChWriteStop = button(pnlChanBtn, QStringLiteral("Стоп"));
    btnChReadStop->hide();
    btnChWriteStop->hide();
    for (QPushButton* b : {btnChRead, btnChReadStop, btnChDef, btnChClear, btnChLoad, btnChSave, btnChPrint})
        chanButtons->addWidget(b);
    chanButtons->addStretch();
    for (QPushButton* b : {btnChHelp, btnChWrite, btnChWriteStop})
        chanButtons->addWidget(b);
    frmChan = new TfrmChan(State, [this] { PrjChange(); }, pnlChan);
    auto* chanHost = new QVBoxLayout(pnlChan);
    chanHost->setContentsMargins(0, 0, 0, 0);
    chanHost->addWidget(frmChan);

    // Measurement page.
    TabMeas = new QWidget;
    frmMeasure = new TfrmMeasure(State, Dialogs, TabMeas);
    connect(frmMeasure, &TfrmMeasure::RecordFileChosen, this, &TfrmMain::PrjChange);
    auto* measHost = new QVBoxLayout(TabMeas);
    measHost->setContentsMargins(0, 0, 0, 0);
    measHost->addWidget(frmMeasure);

    pcMain->addTab(TabDev, QStringLiteral("Настройки"));
    pcMain->addTab(TabChan, QStringLiteral("Каналы"));
    pcMain->addTab(TabMeas, QStringLiteral("Измерение"));
    pcMain->setTabVisible(1, false);
    pcMain->setCurrentIndex(0);
    connect(pcMain, &QTabWidget::currentChanged, this, &TfrmMain::pcMainChange);
}

void TfrmMain::CreateStatusBar() {
    QStatusBar* sbMain = statusBar();
    sbMain->setObjectName(QStringLiteral("sbMain"));
    ClockStatus = new QLabel(this);
    ClockStatus->setAlignment(Qt::AlignCenter);
    ClockStatus->setMinimumWidth(60);
    spDevStatus = new QLabel(this);
    spDevStatus->setAlignment(Qt::AlignCenter);
    spDevStatus->setMinimumWidth(90);
    spDevStatus->setStyleSheet(QStringLiteral("color: #800000;"));
    gsProjectStatus = new QWidget(this);
    gsProjectGlyph = new QLabel(gsProjectStatus);
    gsProjectGlyph->setFixedSize(13, 13);
    gsProjectText = new QLabel(gsProjectStatus);
    // The status bar does not follow a pane that grows with a longer text: room for the longest one.
    int projectTextWidth = 0;
    for (const QString& t : {PrjTextChanged, PrjTextSaved, PrjTextNone})
        projectTextWidth = std::max(projectTextWidth, gsProjectText->fontMetrics().horizontalAdvance(t));
    gsProjectText->setMinimumWidth(projectTextWidth + 2);
    auto* pl = new QHBoxLayout(gsProjectStatus);
    pl->setContentsMargins(2, 0, 2, 0);
    pl->addWidget(gsProjectGlyph);
    pl->addWidget(gsProjectText);
    gsExchangeStatus = new QLabel(QStringLiteral("нет обмена"), this);
    gsExchangeStatus->setAlignment(Qt::AlignCenter);
    gsExchangeStatus->setMinimumWidth(90);
    gsExchangeStatus->setForegroundRole(QPalette::Highlight);
    pbMain = new QProgressBar(this);
    pbMain->setRange(0, 100);
    pbMain->setValue(0);
    pbMain->setMaximumWidth(120);
    pbMain->hide();
    spMessage = new QLabel(this);
    spMessage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sbMain->addWidget(ClockStatus);
    sbMain->addWidget(spDevStatus);
    sbMain->addWidget(gsProjectStatus);
    sbMain->addWidget(gsExchangeStatus);
    sbMain->addWidget(pbMain);
    sbMain->addWidget(spMessage, 1);
    ClockTimer = new QTimer(this);
    connect(ClockTimer, &QTimer::timeout, this, &TfrmMain::UpdateClock);
    ClockTimer->start(1000);
    UpdateClock();
}

void TfrmMain::UpdateClock() { ClockStatus->setText(QTime::currentTime().toString(QStringLiteral("H:mm:ss"))); }

void TfrmMain::ShowMessage(const QString& text) {
    spMessage->setText(text);
    // A text ending in a result code ("Ошибка чтения: -101") says what the code means in its hint.
    spMessage->setToolTip(ResultCodeDetails(TrailingResultCode(text)));
}

void TfrmMain::ShowHelp(const QString& topic) { ShowHelpTopic(State.ProgDir, topic); }

void TfrmMain::ShowPrjState() {
    const bool busy = State.ExchangeState != ExchIdle;
    const uint8_t ps = State.PrjState;
    btnDevSet->setEnabled(!busy);

    const bool newOpen = !busy;
    const bool save = ps == PrjChanged;
    const bool saveAs = ps == PrjChanged || (ps == PrjSaved && !busy);
    const bool close = !busy && ps != PrjNone;
    const bool settings = !busy;
    for (QObject* o : std::initializer_list<QObject*>{btnNew, miNew, btnOpen, miOpen})
        o->setProperty("enabled", newOpen);
    btnSave->setEnabled(save);
    miSave->setEnabled(save);
    miSaveAs->setEnabled(saveAs);
    btnClose->setEnabled(close);
    miClose->setEnabled(close);
    miProgSet->setEnabled(settings); // the tool bar's settings button is not in the table: always on

    if (ps == PrjChanged || ps == PrjSaved) {
        btnReadAll->setEnabled(!busy);
        btnWriteAll->setEnabled(!busy);
        btnStop->setEnabled(busy);
        pcMain->show();
        gsProjectGlyph->setPixmap(ProjectGlyphs[ps == PrjChanged ? 0 : 1]);
        gsProjectText->setText(ps == PrjChanged ? PrjTextChanged : PrjTextSaved);
        spDevStatus->setText(ModelName(State.ActDevice));
    } else {
        btnReadAll->setEnabled(false);
        btnWriteAll->setEnabled(false);
        btnStop->setEnabled(false);
        pcMain->hide();
        spDevStatus->setText(QStringLiteral("none"));
        gsProjectGlyph->clear();
        gsProjectText->setText(PrjTextNone);
    }
}

void TfrmMain::PrjChange() { Project->Change(); }

void TfrmMain::pcMainChange(int index) {
    if (QWidget* page = pcMain->widget(index))
        page->setFocus();
    PrjChange();
}

void TfrmMain::ToolBarClick(QObject* sender) {
    // Tool bar buttons take no focus, so an open cell editor would outlive the click: commands that
    // take or replace the table's values end the edit first, and do not run when it is refused.
    const bool tableCommand = sender == btnReadAll || sender == btnWriteAll || sender == btnOpen || sender == miOpen ||
                              sender == btnSave || sender == miSave || sender == miSaveAs || sender == btnNew ||
                              sender == miNew || sender == btnClose || sender == miClose;
    // One exchange at a time: a start refused while one runs changes nothing.
    if ((sender == btnReadAll || sender == btnWriteAll) && State.ExchangeState != ExchIdle)
        return;
    if (tableCommand && frmDev && !frmDev->EndEditForCommand())
        return;
    if (sender == miAbout) {
        if (frmAbout)
            frmAbout->exec();
    } else if (sender == btnReadAll) {
        emit StartExchange(TExchangeCommand::ReadAll);
        PrjChange();
    } else if (sender == btnWriteAll) {
        if (State.Settings.Confirm &&
            Dialogs.Message(QStringLiteral("Вы действительно хотите записать все параметры в прибор?"),
                            QStringLiteral("Запись параметров"), TMsgButtons::YesNo) != TMsgAnswer::Yes)
            return;
        emit StartExchange(TExchangeCommand::WriteAll);
    } else if (sender == btnSet || sender == miProgSet) {
        if (frmProgSet)
            frmProgSet->exec();
    } else if (sender == btnOpen || sender == miOpen) {
        PrjOpen();
    } else if (sender == btnSave || sender == miSave) {
        PrjSave();
    } else if (sender == miSaveAs) {
        PrjSaveAs();
    } else if (sender == btnNew || sender == miNew) {
        PrjNew();
    } else if (sender == btnClose || sender == miClose) {
        PrjClose();
    } else if (sender == btnStop) {
        if (State.ExchangeState == ExchReadWrite || State.ExchangeState == ExchChannel) {
            State.ReadStop = true;
            State.WriteStop = true;
        } else if (State.ExchangeState == ExchMeasure) {
            State.MeasureStop = true;
        }
    } else if (sender == btnHelp || sender == miHelp) {
        ShowHelp(QString());
    } else if (sender == btnExit || sender == miExit) {
        close();
    } else if (sender == btnLineMonitor || sender == miLineMonitor) {
        ShowLineMonitor();
    }
}

void TfrmMain::ShowLineMonitor() {
    if (!frmLineMonitor)
        frmLineMonitor = new TfrmLineMonitor(State.LineTap, Dialogs, SettingsFile::Location(State.ProgDir), this);
    frmLineMonitor->Open();
}

void TfrmMain::DevicesClick(QObject* sender) {
    if (!State.HasCurType() && sender != btnDevHelp && sender != btnDevSet)
        return;
    const bool tableCommand = sender == btnDevPrint || sender == btnDevSet || sender == btnDevRead ||
                              sender == btnDevWrite || sender == btnDevDef || sender == btnDevClear ||
                              sender == btnDevSave || sender == btnDevLoad;
    if ((sender == btnDevRead || sender == btnDevWrite || sender == btnCalib) && State.ExchangeState != ExchIdle)
        return; // one exchange at a time: a start refused while one runs changes nothing
    if (tableCommand && !frmDev->EndEditForCommand())
        return;
    if (sender == btnDevHelp) {
        ShowHelp(QStringLiteral("page2"));
    } else if (sender == btnDevPrint) {
        PrintDevTable(*this);
    } else if (sender == btnDevSet) {
        // The dialog's OK may choose another model designation: the status bar follows at once.
        if (ShowDevSetDialog && ShowDevSetDialog())
            ShowPrjState();
    } else if (sender == btnDevRead) {
        emit StartExchange(TExchangeCommand::DevRead);
        PrjChange();
    } else if (sender == btnDevReadStop) {
        State.ReadStop = true;
    } else if (sender == btnDevWrite) {
        if (State.Settings.Confirm &&
            Dialogs.Message(QStringLiteral("Вы действительно хотите произвести запись данных в прибор?"),
                            QStringLiteral("Запись данных"), TMsgButtons::YesNo) != TMsgAnswer::Yes)
            return;
        emit StartExchange(TExchangeCommand::DevWrite);
    } else if (sender == btnDevWriteStop) {
        State.WriteStop = true;
    } else if (sender == btnDevDef) {
        frmDev->SetFactoryDefaults(State.CurDevType());
        PrjChange();
    } else if (sender == btnDevClear) {
        frmDev->ClearTable(State.CurDevType());
        PrjChange();
    } else if (sender == btnDevSave) {
        SaveDevTable(*this);
    } else if (sender == btnDevLoad) {
        LoadDevTable(*this);
    } else if (sender == btnCalib) {
        emit TableCommand(TTableCommand::Calibrate);
    }
}

void TfrmMain::LoadAdjust() {
    State.Settings = SettingsFile::Read(SettingsFile::Location(State.ProgDir));
    if (State.Settings.Save) {
        move(State.Settings.Left, State.Settings.Top);
    } else if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmMain::SaveAdjust() {
    if (frmLineMonitor)
        frmLineMonitor->SaveGeometryToSettings();
    QString error;
    const QString path = SettingsFile::Location(State.ProgDir);
    // Runs while the window closes: a message in its status pane would go unseen.
    if (!SettingsFile::Write(path, State.Settings, State.PrjPath, x(), y(), &error))
        Dialogs.Message(QStringLiteral("Не удалось сохранить настройки программы!\r") + path + QStringLiteral("\r") +
                            error,
                        MainCaption, TMsgButtons::Ok);
}

void TfrmMain::SetAdjust() {
    const bool on = State.Settings.Hint;
    if (frmDev)
        frmDev->SetShowHints(on);
    if (frmChan)
        frmChan->SetShowHints(on);
    // Tool tips of the status panes follow the setting; the tool bar keeps its own.
    const std::array<std::pair<QWidget*, QString>, 5> panes = {{
        {ClockStatus, QStringLiteral("Системное время")},
        {spDevStatus, QStringLiteral("Тип прибора")},
        {gsProjectStatus, QStringLiteral("Состояние проекта")},
        {gsExchangeStatus, QStringLiteral("Состояние обмена")},
        {pbMain, QStringLiteral("Выполнение операции")},
    }};
    for (const auto& [w, hint] : panes)
        if (w)
            w->setToolTip(on ? hint : QString());
}

void TfrmMain::ApplyDevType(const TDevProp& t) { frmDev->ApplyDevType(t); }

void TfrmMain::BuildMeasureView(const TDevProp& t) {
    if (frmMeasure)
        frmMeasure->Build(t.Channels);
}

void TfrmMain::SetDevStatusText(const QString& text) { spDevStatus->setText(text); }

void TfrmMain::SetCaption() {
    setWindowTitle(State.PrjPath.isEmpty() ? MainCaption
                                           : MainCaption + QStringLiteral(" : ") + QFileInfo(State.PrjPath).fileName());
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (!Created || FormClose())
        e->accept();
    else
        e->ignore();
}

bool TfrmMain::FormClose() {
    if (State.ExchangeState != ExchIdle) {
        if (Dialogs.Message(QStringLiteral("Идет обмен данными с прибором. Продолжить?"),
                            QStringLiteral("Обмен с прибором"), TMsgButtons::YesNo, TMsgAnswer::No) != TMsgAnswer::Yes)
            return false;
        State.ReadStop = true;
        State.WriteStop = true;
        State.MeasureStop = true;
        emit WaitForWorkers();
    }
    SaveAdjust();
    if (!frmDev->EndEditForCommand())
        return false; // the value check refused the typed text: the user sees why and corrects it
    frmChan->EndEdit();
    if (State.PrjState != PrjNone && !PrjClose())
        return false;
    State.DevList.clear();
    State.DevTypes.clear();
    State.PortList.clear();
    State.SpeedList.clear();
    Created = false;
    return true;
}
