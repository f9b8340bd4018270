#pragma once
// A complete program directory in a temporary folder and a main window started on it.
#include "ScriptedDialogs.h"
#include "TestUtil.h"
#include "model/AppState.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <memory>

class MainFixture : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString ProgDir;
    TAppState State;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TfrmMain> Main;

    void SetUp() override {
        ProgDir = Dir.path() + "/";
        ASSERT_TRUE(TestUtil::CopyProgramDir(Dir.path()));
        if (!QFileInfo::exists(ProgDir + "libkvcom.so"))
            TestUtil::WriteBytes(ProgDir + "libkvcom.so", "placeholder");
    }
    void TearDown() override {
        if (Main) {
            // Skip the close questions of the program's own close.
            State.PrjState = TPrjState::PrjNone;
            Main.reset();
        }
    }
    bool Start() {
        State.ProgDir = ProgDir;
        Main = std::make_unique<TfrmMain>(State, Dialogs);
        Main->LoadPortList = [](TAppState& s) {
            s.PortList = {QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0"), QStringLiteral("SIM1")};
            s.SpeedList = {"300", "600", "1200", "2400", "4800", "9600", "19200"};
            return true;
        };
        Main->ShowDevSetDialog = [this] { return DevSetAccepts; };
        if (!Main->FormCreate())
            return false;
        Main->CreateDialogs();
        return true;
    }
    // A new project through the connection dialog (answered "accepted").
    void NewProject() {
        DevSetAccepts = true;
        Trigger("actNew");
    }
    // The window's command action by its name ("actDevRead").
    QAction* Command(const char* name) const {
        auto* a = Main->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << "no command " << name;
        return a;
    }
    // Runs a command as the menu, the tool bar or its button would; false when the command is off
    // (a disabled command does not run).
    bool Trigger(const char* name) {
        QAction* a = Command(name);
        if (!a || !a->isEnabled())
            return false;
        a->trigger();
        return true;
    }
    bool Enabled(const char* name) const {
        QAction* a = Command(name);
        return a && a->isEnabled();
    }
    bool Shown(const char* name) const {
        QAction* a = Command(name);
        return a && a->isVisible();
    }
    // A control of the window by its objectName ("btnDevRead", "pcMain", "spMessage").
    template <class T = QWidget> T* Widget(const char* name) const {
        auto* w = Main->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << "no widget " << name;
        return w;
    }
    // The text of a status bar pane by its name ("spMessage", "gsExchangeStatus", ...).
    QString Pane(const char* name) const {
        auto* l = Widget<QLabel>(name);
        return l ? l->text() : QString();
    }
    // A cell of the device table as shown.
    QString DevCell(int row, int col) const {
        auto* grid = Main->findChild<QTableWidget*>(QStringLiteral("DevGrid"));
        EXPECT_NE(grid, nullptr);
        const QTableWidgetItem* it = grid ? grid->item(row, col) : nullptr;
        return it ? it->text() : QString();
    }
    bool DevSetAccepts = true;
};
