#pragma once
// The main window: menu, tool bar, the three pages with their views, the status bar, and the
// dispatch of every user command.
#include "model/AppState.h"
#include "model/Project.h"
#include "ui/DevTable.h"
#include "ui/UserDialogs.h"

#include <QMainWindow>
#include <QStyle>
#include <array>
#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class TfrmAbout;
class TfrmChan;
class TfrmMeasure;
class TfrmLineMonitor;
class TfrmProgSet;

enum class TExchangeCommand { DevRead, DevWrite, ReadAll, WriteAll, Measure };
enum class TTableCommand { Print, Save, Load, Calibrate };

// How much of its action a bound button shows: a column button follows all of it; a tool bar
// button only the enabled state (the tool bar decides its visibility, its face is its icon).
enum class TBinding { Whole, EnabledOnly };
// Makes a button the action's control: a click triggers the action, and the button follows the
// action's state.
void BindToAction(QAbstractButton* button, QAction* action, TBinding binding = TBinding::Whole);

// Model designations by ActDevice.
const QStringList& ModelNames();
// Designation shown for an ActDevice; an index outside the table shows the first designation.
QString ModelName(int actDevice);

class TfrmMain : public QMainWindow, public TDevHost, private IProjectHost {
    Q_OBJECT
public:
    TfrmMain(TAppState& state, IUserDialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The start-up sequence; false when the required files are missing (the message was shown and
    // nothing else was created or read).
    bool FormCreate();
    // Creates the dialogs that live hidden until the program ends (about, settings, ...).
    void CreateDialogs();

    // Hooks filled by the parts that own them.
    // Loads the exchange library and fills PortList and SpeedList; false stops the start-up (the
    // hook has told the user why).
    std::function<bool(TAppState&)> LoadPortList;
    std::function<bool()> ShowDevSetDialog; // connection dialog; true when Accepted

    // The exchange hand-over: which exchange holds the line now (none when it ended).
    void ExchangeRunning(std::optional<TExchangeCommand> command);
    void pcMainChange(int index);

    // Exchange status panes.
    void ShowExchangeStatus(const QString& text);
    void ShowProgress(bool on);
    void SetProgress(int percent);

    // Settings.
    void LoadAdjust();
    void SaveAdjust();
    void SetAdjust();

    void SetCaption();

    // The three table operations that also touch the other views.
    void ApplyDevType(const TDevProp& t) override;

    // TDevHost
    void BuildMeasureView(const TDevProp& t) override;
    void SetDevStatusText(const QString& text) override;

    void ShowMessage(const QString& text); // spMessage
    void ShowLineMonitor();
    void ShowHelp(const QString& topic);

    TAppState& State;
    IUserDialogs& Dialogs;

signals:
    // Start of an exchange worker; the worker module connects here.
    void StartExchange(TExchangeCommand command);
    // Printing, parameter-set files and calibration, handled by their modules.
    void TableCommand(TTableCommand command);
    // Program close after the stop requests: returns once every worker has ended (handlers wait in
    // a local event loop so the workers' hand-overs still run).
    void WaitForWorkers();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The views the window's own parts fill and read: the exchange hand-over and the connection
    // dialog. Tests reach the views only by objectName and the project through the project object.
    friend class TMainExchange;
    friend class TfrmDevSet;

    // Views and dialogs (objectName the member's name).
    TfrmDev* frmDev = nullptr;
    TfrmChan* frmChan = nullptr;
    TfrmMeasure* frmMeasure = nullptr;
    TfrmAbout* frmAbout = nullptr;
    TfrmProgSet* frmProgSet = nullptr;
    TfrmLineMonitor* frmLineMonitor = nullptr; // made at its first opening

    // Refresh of the command states and the status bar from the project and exchange states (the
    // project object's StateChanged).
    void ShowPrjState();
    void PrjChange() override;

    // Project operations: the project object's commands (objectName "Project").
    bool PrjSaveAs();
    bool PrjSave(); // Save As for a never-saved project
    void PrjOpen();
    bool PrjClose();
    void PrjNew();

    void CreateMenu();
    void CreateToolBar();
    void CreatePages();
    void CreateStatusBar();
    void CreateActions();
    // The one place that enables, disables, shows and hides commands: from the project state, the
    // exchange state and which exchange runs.
    void UpdateCommands();
    QAction* Command(const char* name, const QString& text, void (TfrmMain::*slot)());
    QToolButton* ToolButton(QAction* action, const char* name, QStyle::StandardPixmap icon,
                            const QString& hint);

    // One slot per command.
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnClose();
    void OnExit();
    void OnProgSet();
    void OnHelp();
    void OnAbout();
    void OnReadAll();
    void OnWriteAll();
    void OnStop();
    void OnDevRead();
    void OnDevReadStop();
    void OnDevDef();
    void OnDevClear();
    void OnDevLoad();
    void OnDevSave();
    void OnDevCompare();
    // The comparison after the read-all it asked for has ended.
    void CompareAfterRead();
    void CompareNow(const QString& path);
    void OnDevPrint();
    void OnDevSet();
    void OnCalib();
    void OnDevHelp();
    void OnDevWrite();
    void OnDevWriteStop();
    void OnCommReport();
    void OnChRead();
    void OnChReadStop();
    void OnChDef();
    void OnChClear();
    void OnChLoad();
    void OnChSave();
    void OnChPrint();
    void OnChHelp();
    void OnChWrite();
    void OnChWriteStop();
    // Ends an open cell edit before a command that takes or replaces the table's values; false when
    // the typed text was refused (the command does not run).
    bool EndTableEdit();
    // A start refused while an exchange runs changes nothing.
    bool ExchangeFree() const { return State.ExchangeState == TExchState::ExchIdle; }
    // The close sequence; false when the window stays open.
    bool FormClose();
    void UpdateClock();

    // The window's own controls: tests and the session driver find them by objectName.
    // Commands: one action each, shared by the menu, the tool bar and the button column; a control
    // bound to an action follows its enabled, visible and text state. UpdateCommands alone sets those.
    QAction* actNew = nullptr;
    QAction* actOpen = nullptr;
    QAction* actSave = nullptr;
    QAction* actSaveAs = nullptr;
    QAction* actClose = nullptr;
    QAction* actExit = nullptr;
    QAction* actProgSet = nullptr;
    QAction* actLineMonitor = nullptr;
    QAction* actHelp = nullptr;
    QAction* actAbout = nullptr;
    QAction* actReadAll = nullptr;
    QAction* actWriteAll = nullptr;
    QAction* actStop = nullptr;
    QAction* actDevRead = nullptr;
    QAction* actDevReadStop = nullptr;
    QAction* actDevDef = nullptr;
    QAction* actDevClear = nullptr;
    QAction* actDevLoad = nullptr;
    QAction* actDevSave = nullptr;
    QAction* actDevCompare = nullptr;
    QAction* actDevPrint = nullptr;
    QAction* actDevSet = nullptr;
    QAction* actCalib = nullptr;
    QAction* actDevHelp = nullptr;
    QAction* actDevWrite = nullptr;
    QAction* actDevWriteStop = nullptr;
    QAction* actCommReport = nullptr;
    QAction* actChRead = nullptr;
    QAction* actChReadStop = nullptr;
    QAction* actChDef = nullptr;
    QAction* actChClear = nullptr;
    QAction* actChLoad = nullptr;
    QAction* actChSave = nullptr;
    QAction* actChPrint = nullptr;
    QAction* actChHelp = nullptr;
    QAction* actChWrite = nullptr;
    QAction* actChWriteStop = nullptr;

    // Menu.
    QMenu* miFileMenu = nullptr;
    QMenu* miSetMenu = nullptr;
    QMenu* HelpMenu = nullptr;

    // Tool bar.
    QToolBar* tbMain = nullptr;
    QToolButton* btnNew = nullptr;
    QToolButton* btnOpen = nullptr;
    QToolButton* btnSave = nullptr;
    QToolButton* btnClose = nullptr;
    QToolButton* btnReadAll = nullptr;
    QToolButton* btnWriteAll = nullptr;
    QToolButton* btnStop = nullptr;
    QToolButton* btnSet = nullptr;
    QToolButton* btnLineMonitor = nullptr;
    QToolButton* btnHelp = nullptr;
    QToolButton* btnExit = nullptr;

    // Pages.
    QTabWidget* pcMain = nullptr;
    QWidget* TabDev = nullptr;
    QWidget* TabChan = nullptr;
    QWidget* TabMeas = nullptr;
    QWidget* pnlDev = nullptr;
    QWidget* pnlDevBtn = nullptr;
    QWidget* pnlChan = nullptr;
    QWidget* pnlChanBtn = nullptr;

    // Device button column.
    QPushButton* btnDevRead = nullptr;
    QPushButton* btnDevReadStop = nullptr;
    QPushButton* btnDevDef = nullptr;
    QPushButton* btnDevClear = nullptr;
    QPushButton* btnDevLoad = nullptr;
    QPushButton* btnDevSave = nullptr;
    QPushButton* btnDevCompare = nullptr;
    QPushButton* btnDevPrint = nullptr;
    QPushButton* btnDevSet = nullptr;
    QPushButton* btnCalib = nullptr;
    QPushButton* btnDevHelp = nullptr;
    QPushButton* btnDevWrite = nullptr;
    QPushButton* btnDevWriteStop = nullptr;

    // Channel button column.
    QPushButton* btnChRead = nullptr;
    QPushButton* btnChReadStop = nullptr;
    QPushButton* btnChDef = nullptr;
    QPushButton* btnChClear = nullptr;
    QPushButton* btnChLoad = nullptr;
    QPushButton* btnChSave = nullptr;
    QPushButton* btnChPrint = nullptr;
    QPushButton* btnChHelp = nullptr;
    QPushButton* btnChWrite = nullptr;
    QPushButton* btnChWriteStop = nullptr;

    // Status bar.
    QLabel* ClockStatus = nullptr;
    QLabel* spDevStatus = nullptr;
    QWidget* gsProjectStatus = nullptr;
    QLabel* gsProjectGlyph = nullptr;
    QLabel* gsProjectText = nullptr;
    QLabel* gsExchangeStatus = nullptr;
    QProgressBar* pbMain = nullptr;
    QLabel* spMessage = nullptr;

    // IProjectHost
    int TableToValues(TDev& dev) override;
    int ActPage() const override;
    void SetActPage(int page) override;
    bool RunConnectionDialog() override;
    TProjectAnswer AskYesNoCancel(const QString& text, const QString& caption) override;
    void ShowError(const QString& text, const QString& caption) override;
    QString SaveProjectName(const TProjectFileDialog& dialog) override;
    QString OpenProjectName(const TProjectFileDialog& dialog) override;

    TProject* Project = nullptr;
    QTimer* ClockTimer = nullptr;
    std::array<QPixmap, 2> ProjectGlyphs;
    std::optional<TExchangeCommand> Running; // the exchange that holds the line
    QString CompareAfterReadPath;            // the file a comparison compares with once its read-all ends
    bool Created = false;
    bool Closing = false;
};
