#include "ui/MainWindow.h"

#include "app/Settings.h"
#include "common/IniFile.h"
#include "common/ProgDir.h"
#include "exchange/CodeMeaning.h"
#include "ui/AboutWindow.h"
#include "ui/ChanTable.h"
#include "ui/DevTableFiles.h"
#include "ui/HelpWindow.h"
#include "ui/LineMonitor.h"
#include "ui/MeasureView.h"
#include "ui/ObjectNames.h"
#include "ui/SettingsDialog.h"

#include <QAction>
#include <QApplication>
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
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// Texts of the project-state pane.
QString PrjTextChanged() {
    return TfrmMain::tr("Текущий проект изменен");
}
QString PrjTextSaved() {
    return TfrmMain::tr("Текущий проект сохранен");
}
QString PrjTextNone() {
    return TfrmMain::tr("Нет открытого проекта");
}
QString MainCaption() {
    return TfrmMain::tr("Настройка приборов серии Kestrin K1");
}

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
    setObjectName(QStringLiteral("frmMain"));
    ProjectGlyphs = {Glyph(true), Glyph(false)};
    Project = new TProject(State, *this, this);
    connect(Project, &TProject::StateChanged, this, &TfrmMain::ShowPrjState);
    connect(Project, &TProject::PathChanged, this, [this] { SetCaption(); });
    connect(Project, &TProject::StatusMessage, this, &TfrmMain::ShowMessage);
}

TfrmMain::~TfrmMain() = default;

bool TfrmMain::FormCreate() {
    setWindowTitle(MainCaption());
    State.ProgDir = State.ProgDir.isEmpty() ? StartupFiles::ResolveProgDir() : State.ProgDir;
    StartupFiles::UseDotDecimalSeparator();
    if (!StartupFiles::CheckRequiredFiles(State.ProgDir)) {
        Dialogs.Message(tr("Ошибка! Не найдены файлы необходимые для работы программы!"), tr("Ошибка"),
                        TMsgButtons::Ok);
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
    // Never narrower than the pages, the tool row and the status panes need in the language in use.
    setMinimumSize(minimumSize().expandedTo(minimumSizeHint()));
    State.CreateDevList();

    Project->Reopen();
    State.ExchangeState = TExchState::ExchIdle;
    ShowPrjState();
    SetAdjust();
    Created = true;
    return true;
}

void TfrmMain::CreateDialogs() {
    frmAbout = new TfrmAbout(this);
    frmAbout->setObjectName(QStringLiteral("frmAbout"));
    frmProgSet = new TfrmProgSet(
        State.Settings, [this] { SetAdjust(); }, [this] { ShowHelp(QStringLiteral("page0")); }, this);
    frmProgSet->setObjectName(QStringLiteral("frmProgSet"));
}

void BindToAction(QAbstractButton* button, QAction* action, TBinding binding) {
    const auto follow = [button, action, binding] {
        button->setEnabled(action->isEnabled());
        if (binding == TBinding::Whole) {
            button->setVisible(action->isVisible());
            button->setText(action->text());
        }
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

QAction* TfrmMain::Command(const char* name, const QString& text, void (TfrmMain::*slot)()) {
    auto* a = new QAction(text, this);
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void TfrmMain::CreateActions() {
    actNew = Command("actNew", tr("Новый"), &TfrmMain::OnNew);
    actNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    actOpen = Command("actOpen", tr("Открыть"), &TfrmMain::OnOpen);
    actOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    actSave = Command("actSave", tr("Сохранить"), &TfrmMain::OnSave);
    actSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    actSaveAs = Command("actSaveAs", tr("Сохранить как..."), &TfrmMain::OnSaveAs);
    actClose = Command("actClose", tr("Закрыть"), &TfrmMain::OnClose);
    actClose->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    actExit = Command("actExit", tr("Выход"), &TfrmMain::OnExit);
    actExit->setShortcut(QKeySequence(QStringLiteral("Alt+X")));
    actProgSet = Command("actProgSet", tr("Настройки программы"), &TfrmMain::OnProgSet);
    // Not an exchange of its own, so it stays usable while one runs (UpdateCommands leaves it on).
    actLineMonitor = Command("actLineMonitor", tr("Монитор обмена"), &TfrmMain::ShowLineMonitor);
    actHelp = Command("actHelp", tr("Справка"), &TfrmMain::OnHelp);
    actHelp->setShortcut(QKeySequence(Qt::Key_F10));
    actAbout = Command("actAbout", tr("О программе..."), &TfrmMain::OnAbout);
    for (QAction* a : {actNew, actOpen, actSave, actSaveAs, actClose, actExit, actProgSet, actHelp, actAbout})
        a->setShortcutContext(Qt::ApplicationShortcut);

    actReadAll = Command("actReadAll", tr("Считать все параметры из прибора"), &TfrmMain::OnReadAll);
    actWriteAll = Command("actWriteAll", tr("Записать все параметры в прибор"), &TfrmMain::OnWriteAll);
    actStop = Command("actStop", tr("Остановить обмен данными с прибором"), &TfrmMain::OnStop);

    actDevRead = Command("actDevRead", tr("Чтение"), &TfrmMain::OnDevRead);
    actDevReadStop = Command("actDevReadStop", tr("Стоп"), &TfrmMain::OnDevReadStop);
    actDevDef = Command("actDevDef", tr("Зав. уст-ки"), &TfrmMain::OnDevDef);
    actDevClear = Command("actDevClear", tr("Очистить"), &TfrmMain::OnDevClear);
    actDevLoad = Command("actDevLoad", tr("Загрузить"), &TfrmMain::OnDevLoad);
    actDevSave = Command("actDevSave", tr("Сохранить"), &TfrmMain::OnDevSave);
    actDevPrint = Command("actDevPrint", tr("Печать"), &TfrmMain::OnDevPrint);
    actDevSet = Command("actDevSet", tr("Настройки\nсвязи"), &TfrmMain::OnDevSet);
    actCalib = Command("actCalib", tr("Калибровка"), &TfrmMain::OnCalib);
    actDevHelp = Command("actDevHelp", tr("Помощь"), &TfrmMain::OnDevHelp);
    actDevWrite = Command("actDevWrite", tr("Запись"), &TfrmMain::OnDevWrite);
    actDevWriteStop = Command("actDevWriteStop", tr("Стоп"), &TfrmMain::OnDevWriteStop);
    actDevReadStop->setVisible(false);
    actDevWriteStop->setVisible(false);
}

void TfrmMain::CreateMenu() {
    CreateActions();
    miFileMenu = menuBar()->addMenu(tr("Проект"));
    miFileMenu->setObjectName(QStringLiteral("miFileMenu"));
    miFileMenu->addActions({actNew, actOpen, actSave, actSaveAs, actClose});
    miFileMenu->addSeparator();
    miFileMenu->addAction(actExit);
    miSetMenu = menuBar()->addMenu(tr("Настройки"));
    miSetMenu->setObjectName(QStringLiteral("miSetMenu"));
    miSetMenu->addActions({actProgSet, actLineMonitor});
    HelpMenu = menuBar()->addMenu(tr("Помощь"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    HelpMenu->addAction(actHelp);
    HelpMenu->addSeparator();
    HelpMenu->addAction(actAbout);
}

QToolButton* TfrmMain::ToolButton(QAction* action, const char* name, QStyle::StandardPixmap icon,
                                  const QString& hint) {
    auto* b = new QToolButton(tbMain);
    b->setObjectName(QLatin1String(name));
    b->setIcon(style()->standardIcon(icon));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    tbMain->addWidget(b);
    if (action)
        BindToAction(b, action, TBinding::EnabledOnly);
    return b;
}

void TfrmMain::CreateToolBar() {
    tbMain = addToolBar(QStringLiteral("tbMain"));
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setMovable(false);
    tbMain->setIconSize(QSize(20, 20));
    btnNew = ToolButton(actNew, "btnNew", QStyle::SP_FileIcon, tr("Новый проект (Ctrl+N)"));
    btnOpen = ToolButton(actOpen, "btnOpen", QStyle::SP_DialogOpenButton, tr("Открыть проект (Ctrl+O)"));
    btnSave = ToolButton(actSave, "btnSave", QStyle::SP_DialogSaveButton, tr("Сохранить проект (Ctrl+S)"));
    btnClose = ToolButton(actClose, "btnClose", QStyle::SP_DialogCloseButton, tr("Закрыть проект (Ctrl+X)"));
    tbMain->addSeparator();
    btnReadAll = ToolButton(actReadAll, "btnReadAll", QStyle::SP_ArrowDown, actReadAll->text());
    btnWriteAll = ToolButton(actWriteAll, "btnWriteAll", QStyle::SP_ArrowUp, actWriteAll->text());
    btnStop = ToolButton(actStop, "btnStop", QStyle::SP_BrowserStop, actStop->text());
    tbMain->addSeparator();
    // The settings button stays usable while an exchange runs, unlike the menu's entry: it calls the
    // command's slot itself instead of following the action.
    btnSet = ToolButton(nullptr, "btnSet", QStyle::SP_FileDialogDetailedView, actProgSet->text());
    connect(btnSet, &QToolButton::clicked, this, &TfrmMain::OnProgSet);
    btnLineMonitor = ToolButton(actLineMonitor, "btnLineMonitor", QStyle::SP_FileDialogContentsView,
                                actLineMonitor->text());
    btnHelp = ToolButton(actHelp, "btnHelp", QStyle::SP_DialogHelpButton, tr("Помощь (F10)"));
    tbMain->addSeparator();
    btnExit = ToolButton(actExit, "btnExit", QStyle::SP_DialogCancelButton, QString());
}

void TfrmMain::CreatePages() {
    pcMain = new QTabWidget(this);
    pcMain->setObjectName(QStringLiteral("pcMain"));
    pcMain->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 140px; height: 22px; }"));
    setCentralWidget(pcMain);

    // Device page: the table and its button column.
    TabDev = new QWidget;
    TabDev->setObjectName(QStringLiteral("TabDev"));
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
    auto devButton = [&button](QWidget* parent, QAction* action) {
        QPushButton* b = button(parent, action->text());
        // "actDevRead" names the command, "btnDevRead" its button.
        b->setObjectName(QStringLiteral("btn") + action->objectName().mid(3));
        BindToAction(b, action);
        return b;
    };
    btnDevRead = devButton(pnlDevBtn, actDevRead);
    btnDevReadStop = devButton(pnlDevBtn, actDevReadStop);
    btnDevDef = devButton(pnlDevBtn, actDevDef);
    btnDevClear = devButton(pnlDevBtn, actDevClear);
    btnDevLoad = devButton(pnlDevBtn, actDevLoad);
    btnDevSave = devButton(pnlDevBtn, actDevSave);
    btnDevPrint = devButton(pnlDevBtn, actDevPrint);
    btnDevSet = devButton(pnlDevBtn, actDevSet);
    btnDevSet->setMinimumHeight(54);
    btnCalib = devButton(pnlDevBtn, actCalib);
    btnDevHelp = devButton(pnlDevBtn, actDevHelp);
    btnDevWrite = devButton(pnlDevBtn, actDevWrite);
    btnDevWriteStop = devButton(pnlDevBtn, actDevWriteStop);
    for (QPushButton* b : {btnDevRead, btnDevReadStop, btnDevDef, btnDevClear, btnDevLoad, btnDevSave,
                           btnDevPrint, btnDevSet, btnCalib})
        devButtons->addWidget(b);
    devButtons->addStretch();
    for (QPushButton* b : {btnDevHelp, btnDevWrite, btnDevWriteStop})
        devButtons->addWidget(b);
    frmDev = new TfrmDev(State, Dialogs, *this, pnlDev);
    frmDev->setObjectName(QStringLiteral("frmDev"));
    frmDev->ASG->setObjectName(QStringLiteral("DevGrid"));
    auto* devHost = new QVBoxLayout(pnlDev);
    devHost->setContentsMargins(0, 0, 0, 0);
    devHost->addWidget(frmDev);

    // Channel page (its tab is never shown).
    TabChan = new QWidget;
    TabChan->setObjectName(QStringLiteral("TabChan"));
    pnlChan = new QWidget(TabChan);
    pnlChanBtn = new QWidget(TabChan);
    pnlChanBtn->setFixedWidth(138);
    auto* chanLayout = new QHBoxLayout(TabChan);
    chanLayout->setContentsMargins(2, 2, 2, 2);
    chanLayout->addWidget(pnlChan, 1);
    chanLayout->addWidget(pnlChanBtn);
    auto* chanButtons = new QVBoxLayout(pnlChanBtn);
    btnChRead = button(pnlChanBtn, tr("Чтение"));
    btnChReadStop = button(pnlChanBtn, tr("Стоп"));
    btnChDef = button(pnlChanBtn, tr("Зав. уст-ки"));
    btnChClear = button(pnlChanBtn, tr("Очистить"));
    btnChLoad = button(pnlChanBtn, tr("Загрузить"));
    btnChSave = button(pnlChanBtn, tr("Сохранить"));
    btnChPrint = button(pnlChanBtn, tr("Печать"));
    btnChHelp = button(pnlChanBtn, tr("Помощь"));
    btnChWrite = button(pnlChanBtn, tr("Запись"));
    btnChWriteStop = button(pnlChanBtn, tr("Стоп"));
    NameControls({{pnlDev, "pnlDev"},
                  {pnlDevBtn, "pnlDevBtn"},
                  {pnlChan, "pnlChan"},
                  {pnlChanBtn, "pnlChanBtn"},
                  {btnChRead, "btnChRead"},
                  {btnChReadStop, "btnChReadStop"},
                  {btnChDef, "btnChDef"},
                  {btnChClear, "btnChClear"},
                  {btnChLoad, "btnChLoad"},
                  {btnChSave, "btnChSave"},
                  {btnChPrint, "btnChPrint"},
                  {btnChHelp, "btnChHelp"},
                  {btnChWrite, "btnChWrite"},
                  {btnChWriteStop, "btnChWriteStop"}});
    btnChReadStop->hide();
    btnChWriteStop->hide();
    for (QPushButton* b : {btnChRead, btnChReadStop, btnChDef, btnChClear, btnChLoad, btnChSave, btnChPrint})
        chanButtons->addWidget(b);
    chanButtons->addStretch();
    for (QPushButton* b : {btnChHelp, btnChWrite, btnChWriteStop})
        chanButtons->addWidget(b);
    frmChan = new TfrmChan(
        State, [this] { PrjChange(); }, pnlChan);
    frmChan->setObjectName(QStringLiteral("frmChan"));
    auto* chanHost = new QVBoxLayout(pnlChan);
    chanHost->setContentsMargins(0, 0, 0, 0);
    chanHost->addWidget(frmChan);

    // Measurement page.
    TabMeas = new QWidget;
    TabMeas->setObjectName(QStringLiteral("TabMeas"));
    frmMeasure = new TfrmMeasure(State, Dialogs, TabMeas);
    frmMeasure->setObjectName(QStringLiteral("frmMeasure"));
    connect(frmMeasure, &TfrmMeasure::RecordFileChosen, this, &TfrmMain::PrjChange);
    auto* measHost = new QVBoxLayout(TabMeas);
    measHost->setContentsMargins(0, 0, 0, 0);
    measHost->addWidget(frmMeasure);

    pcMain->addTab(TabDev, tr("Настройки"));
    pcMain->addTab(TabChan, tr("Каналы"));
    pcMain->addTab(TabMeas, tr("Измерение"));
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
    for (const QString& t : {PrjTextChanged(), PrjTextSaved(), PrjTextNone()})
        projectTextWidth = std::max(projectTextWidth, gsProjectText->fontMetrics().horizontalAdvance(t));
    gsProjectText->setMinimumWidth(projectTextWidth + 2);
    auto* pl = new QHBoxLayout(gsProjectStatus);
    pl->setContentsMargins(2, 0, 2, 0);
    pl->addWidget(gsProjectGlyph);
    pl->addWidget(gsProjectText);
    gsExchangeStatus = new QLabel(tr("нет обмена"), this);
    gsExchangeStatus->setAlignment(Qt::AlignCenter);
    gsExchangeStatus->setMinimumWidth(90);
    gsExchangeStatus->setForegroundRole(QPalette::Highlight);
    pbMain = new QProgressBar(this);
    pbMain->setObjectName(QStringLiteral("pbMain"));
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
    // Named so that tests and the session driver find the panes without knowing the window's fields.
    const std::array<std::pair<QLabel*, const char*>, 5> panes = {{{ClockStatus, "ClockStatus"},
                                                                   {spDevStatus, "spDevStatus"},
                                                                   {gsProjectText, "gsProjectText"},
                                                                   {gsExchangeStatus, "gsExchangeStatus"},
                                                                   {spMessage, "spMessage"}}};
    for (const auto& [pane, name] : panes)
        pane->setObjectName(QLatin1String(name));
    NameControls({{gsProjectStatus, "gsProjectStatus"}, {gsProjectGlyph, "gsProjectGlyph"}});
    ClockTimer = new QTimer(this);
    connect(ClockTimer, &QTimer::timeout, this, &TfrmMain::UpdateClock);
    ClockTimer->start(1000);
    UpdateClock();
}

void TfrmMain::UpdateClock() {
    ClockStatus->setText(QTime::currentTime().toString(QStringLiteral("H:mm:ss")));
}

void TfrmMain::ShowMessage(const QString& text) {
    spMessage->setText(text);
    // A text ending in a result code ("Ошибка чтения: -101") says what the code means in its hint.
    spMessage->setToolTip(ResultCodeDetails(TrailingResultCode(text)));
}

void TfrmMain::ShowHelp(const QString& topic) {
    ShowHelpTopic(State.ProgDir, topic);
}

void TfrmMain::ShowExchangeStatus(const QString& text) {
    gsExchangeStatus->setText(text);
}

void TfrmMain::ShowProgress(bool on) {
    gsExchangeStatus->setVisible(!on);
    pbMain->setVisible(on);
    if (!on)
        pbMain->setValue(0);
}

void TfrmMain::SetProgress(int percent) {
    pbMain->setValue(percent);
}

void TfrmMain::ShowPrjState() {
    UpdateCommands();
    const TPrjState ps = State.PrjState;
    if (ps == TPrjState::PrjChanged || ps == TPrjState::PrjSaved) {
        pcMain->show();
        gsProjectGlyph->setPixmap(ProjectGlyphs[ps == TPrjState::PrjChanged ? 0 : 1]);
        gsProjectText->setText(ps == TPrjState::PrjChanged ? PrjTextChanged() : PrjTextSaved());
        spDevStatus->setText(ModelName(State.ActDevice));
    } else {
        pcMain->hide();
        spDevStatus->setText(QStringLiteral("none"));
        gsProjectGlyph->clear();
        gsProjectText->setText(PrjTextNone());
    }
}

void TfrmMain::UpdateCommands() {
    // Project commands and the tool bar's exchange commands follow the two states.
    const bool busy = State.ExchangeState != TExchState::ExchIdle;
    const TPrjState ps = State.PrjState;
    const bool open = ps != TPrjState::PrjNone;
    actNew->setEnabled(!busy);
    actOpen->setEnabled(!busy);
    actSave->setEnabled(ps == TPrjState::PrjChanged);
    actSaveAs->setEnabled(ps == TPrjState::PrjChanged || (ps == TPrjState::PrjSaved && !busy));
    actClose->setEnabled(!busy && open);
    actProgSet->setEnabled(!busy);
    actReadAll->setEnabled(open && !busy);
    actWriteAll->setEnabled(open && !busy);
    actStop->setEnabled(open && busy);
    actDevSet->setEnabled(!busy);

    // The button columns follow which exchange runs: its own start gives way to its stop, and the
    // starts that would compete for the line are off.
    const auto runs = [this](TExchangeCommand c) { return Running == c; };
    const bool devRead = runs(TExchangeCommand::DevRead);
    const bool devWrite = runs(TExchangeCommand::DevWrite);
    const bool all = runs(TExchangeCommand::ReadAll) || runs(TExchangeCommand::WriteAll);
    const bool measure = runs(TExchangeCommand::Measure);
    actDevRead->setVisible(!devRead);
    actDevReadStop->setVisible(devRead);
    actDevWrite->setVisible(!devWrite);
    actDevWriteStop->setVisible(devWrite);
    actDevRead->setEnabled(!(devWrite || all || measure));
    actDevWrite->setEnabled(!(devRead || all || measure));
    actCalib->setEnabled(!Running);
    for (QPushButton* b : {btnChRead, btnChWrite})
        if (b)
            b->setEnabled(!Running);
    if (frmMeasure)
        frmMeasure->btnMeasure->setEnabled(!(devRead || devWrite || all));
}

void TfrmMain::ExchangeRunning(std::optional<TExchangeCommand> command) {
    const std::optional<TExchangeCommand> was = Running;
    Running = command;
    ShowPrjState();
    const std::optional<TExchangeCommand> changed = command ? command : was;
    if (!changed)
        return;
    const bool on = command.has_value();
    // The tables repaint: values may not be edited while the line is busy.
    if (*changed != TExchangeCommand::Measure)
        frmDev->ASG->viewport()->update();
    if (*changed == TExchangeCommand::ReadAll || *changed == TExchangeCommand::WriteAll)
        frmChan->ASG->viewport()->update();
    // The keyboard stays on the column: on the stop button while it runs, on the start after.
    QPushButton* focus = nullptr;
    if (*changed == TExchangeCommand::DevRead)
        focus = on ? btnDevReadStop : btnDevRead;
    else if (*changed == TExchangeCommand::DevWrite)
        focus = on ? btnDevWriteStop : btnDevWrite;
    else if (*changed == TExchangeCommand::Measure)
        frmMeasure->SetRunning(on);
    if (focus && focus->isVisible() && focus->isEnabled())
        focus->setFocus();
}

void TfrmMain::PrjChange() {
    Project->Change();
}

void TfrmMain::pcMainChange(int index) {
    if (QWidget* page = pcMain->widget(index))
        page->setFocus();
    PrjChange();
}

bool TfrmMain::EndTableEdit() {
    // Tool bar buttons take no focus, so an open cell editor would outlive the click: commands that
    // take or replace the table's values end the edit first.
    return !frmDev || frmDev->EndEditForCommand();
}

void TfrmMain::OnNew() {
    if (EndTableEdit())
        PrjNew();
}

void TfrmMain::OnOpen() {
    if (EndTableEdit())
        PrjOpen();
}

void TfrmMain::OnSave() {
    if (EndTableEdit())
        PrjSave();
}

void TfrmMain::OnSaveAs() {
    if (EndTableEdit())
        PrjSaveAs();
}

void TfrmMain::OnClose() {
    if (EndTableEdit())
        PrjClose();
}

void TfrmMain::OnExit() {
    close();
}

void TfrmMain::OnProgSet() {
    if (frmProgSet)
        frmProgSet->exec();
}

void TfrmMain::OnHelp() {
    ShowHelp(QString());
}

void TfrmMain::OnAbout() {
    if (frmAbout)
        frmAbout->exec();
}

void TfrmMain::OnReadAll() {
    if (!ExchangeFree() || !EndTableEdit())
        return;
    emit StartExchange(TExchangeCommand::ReadAll);
    PrjChange();
}

void TfrmMain::OnWriteAll() {
    if (!ExchangeFree() || !EndTableEdit())
        return;
    if (State.Settings.Confirm &&
        Dialogs.Message(tr("Вы действительно хотите записать все параметры в прибор?"),
                        tr("Запись параметров"), TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    emit StartExchange(TExchangeCommand::WriteAll);
}

void TfrmMain::OnStop() {
    if (State.ExchangeState == TExchState::ExchReadWrite || State.ExchangeState == TExchState::ExchChannel) {
        State.ReadStop = true;
        State.WriteStop = true;
    } else if (State.ExchangeState == TExchState::ExchMeasure) {
        State.MeasureStop = true;
    }
}

void TfrmMain::ShowLineMonitor() {
    if (!frmLineMonitor) {
        frmLineMonitor =
            new TfrmLineMonitor(State.LineTap, Dialogs, SettingsFile::Location(State.ProgDir), this);
        frmLineMonitor->setObjectName(QStringLiteral("frmLineMonitor"));
    }
    frmLineMonitor->Open();
}

void TfrmMain::OnDevHelp() {
    ShowHelp(QStringLiteral("page2"));
}

void TfrmMain::OnDevSet() {
    if (!EndTableEdit())
        return;
    // The dialog's OK may choose another model designation: the status bar follows at once.
    if (ShowDevSetDialog && ShowDevSetDialog())
        ShowPrjState();
}

void TfrmMain::OnDevPrint() {
    if (State.HasCurType() && EndTableEdit())
        PrintDevTable(*this);
}

void TfrmMain::OnDevRead() {
    if (!State.HasCurType() || !ExchangeFree() || !EndTableEdit())
        return;
    emit StartExchange(TExchangeCommand::DevRead);
    PrjChange();
}

void TfrmMain::OnDevReadStop() {
    if (State.HasCurType())
        State.ReadStop = true;
}

void TfrmMain::OnDevWrite() {
    if (!State.HasCurType() || !ExchangeFree() || !EndTableEdit())
        return;
    if (State.Settings.Confirm &&
        Dialogs.Message(tr("Вы действительно хотите произвести запись данных в прибор?"), tr("Запись данных"),
                        TMsgButtons::YesNo) != TMsgAnswer::Yes)
        return;
    emit StartExchange(TExchangeCommand::DevWrite);
}

void TfrmMain::OnDevWriteStop() {
    if (State.HasCurType())
        State.WriteStop = true;
}

void TfrmMain::OnDevDef() {
    if (!State.HasCurType() || !EndTableEdit())
        return;
    frmDev->SetFactoryDefaults(State.CurDevType());
    PrjChange();
}

void TfrmMain::OnDevClear() {
    if (!State.HasCurType() || !EndTableEdit())
        return;
    frmDev->ClearTable(State.CurDevType());
    PrjChange();
}

void TfrmMain::OnDevSave() {
    if (State.HasCurType() && EndTableEdit())
        SaveDevTable(*this);
}

void TfrmMain::OnDevLoad() {
    if (State.HasCurType() && EndTableEdit())
        LoadDevTable(*this);
}

void TfrmMain::OnCalib() {
    if (State.HasCurType() && ExchangeFree())
        emit TableCommand(TTableCommand::Calibrate);
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
        Dialogs.Message(tr("Не удалось сохранить настройки программы!\r%1\r%2").arg(path, error),
                        MainCaption(), TMsgButtons::Ok);
}

void TfrmMain::SetAdjust() {
    const bool on = State.Settings.Hint;
    if (frmDev)
        frmDev->SetShowHints(on);
    if (frmChan)
        frmChan->SetShowHints(on);
    // Tool tips of the status panes follow the setting; the tool bar keeps its own.
    const std::array<std::pair<QWidget*, QString>, 5> panes = {{
        {ClockStatus, tr("Системное время")},
        {spDevStatus, tr("Тип прибора")},
        {gsProjectStatus, tr("Состояние проекта")},
        {gsExchangeStatus, tr("Состояние обмена")},
        {pbMain, tr("Выполнение операции")},
    }};
    for (const auto& [w, hint] : panes)
        if (w)
            w->setToolTip(on ? hint : QString());
}

void TfrmMain::ApplyDevType(const TDevProp& t) {
    frmDev->ApplyDevType(t);
}

void TfrmMain::BuildMeasureView(const TDevProp& t) {
    if (frmMeasure)
        frmMeasure->Build(t.Channels);
}

void TfrmMain::SetDevStatusText(const QString& text) {
    spDevStatus->setText(text);
}

void TfrmMain::SetCaption() {
    setWindowTitle(State.PrjPath.isEmpty()
                       ? MainCaption()
                       : MainCaption() + QStringLiteral(" : ") + QFileInfo(State.PrjPath).fileName());
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (!Created || FormClose())
        e->accept();
    else
        e->ignore();
}

bool TfrmMain::FormClose() {
    if (State.ExchangeState != TExchState::ExchIdle) {
        if (Dialogs.Message(tr("Идет обмен данными с прибором. Продолжить?"), tr("Обмен с прибором"),
                            TMsgButtons::YesNo, TMsgAnswer::No) != TMsgAnswer::Yes)
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
    if (State.PrjState != TPrjState::PrjNone && !PrjClose())
        return false;
    State.DevList.clear();
    State.DevTypes.clear();
    State.PortList.clear();
    State.SpeedList.clear();
    Created = false;
    return true;
}
