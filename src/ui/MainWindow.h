#pragma once
// The main window: menu, tool bar, the three pages with their views, the status bar, and the
// dispatch of every user command.
#include "model/AppState.h"
#include "model/Project.h"
#include "ui/UserDialogs.h"
#include "ui/DevTable.h"

#include <QMainWindow>
#include <QStyle>
#include <array>
#include <functional>

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
    std::function<bool()> ShowDevSetDialog;        // connection dialog; true when Accepted

    // Menu.
    QMenu* miFileMenu = nullptr;
    QAction* miNew = nullptr;
    QAction* miOpen = nullptr;
    QAction* miSave = nullptr;
    QAction* miSaveAs = nullptr;
    QAction* miClose = nullptr;
    QAction* miExit = nullptr;
    QMenu* miSetMenu = nullptr;
    QAction* miProgSet = nullptr;
    QAction* miLineMonitor = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* miHelp = nullptr;
    QAction* miAbout = nullptr;

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
    QPushButton* btnDevPrint = nullptr;
    QPushButton* btnDevSet = nullptr;
    QPushButton* btnCalib = nullptr;
    QPushButton* btnDevHelp = nullptr;
    QPushButton* btnDevWrite = nullptr;
    QPushButton* btnDevWriteStop = nullptr;

    // Channel button column (no actions of their own).
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

    // Views and dialogs.
    TfrmDev* frmDev = nullptr;
    TfrmChan* frmChan = nullptr;
    TfrmMeasure* frmMeasure = nullptr;
    TfrmAbout* frmAbout = nullptr;
    TfrmProgSet* frmProgSet = nullptr;
    TfrmLineMonitor* frmLineMonitor = nullptr; // made at its first opening

    // Refresh of the command states and the status bar from the project and exchange states.
    void ShowPrjState();
    void PrjChange() override;
    void ToolBarClick(QObject* sender);
    void DevicesClick(QObject* sender);
    void pcMainChange(int index);

    // Settings.
    void LoadAdjust();
    void SaveAdjust();
    void SetAdjust();

    // Project operations: the project object's commands.
    bool PrjSaveToPath(const QString& path);
    bool PrjSaveAs();
    bool PrjSave(); // Save As for a never-saved project
    bool PrjOpenFile(const QString& path);
    void PrjOpen();
    bool PrjClose();
    void PrjNew();
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
    void CreateMenu();
    void CreateToolBar();
    void CreatePages();
    void CreateStatusBar();
    QToolButton* ToolButton(QAction* action, QStyle::StandardPixmap icon, const QString& hint);
    // The close sequence; false when the window stays open.
    bool FormClose();
    void UpdateClock();

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
    bool Created = false;
    bool Closing = false;
};
