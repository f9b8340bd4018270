#pragma once
// A complete program directory in a temporary folder and a main window started on it.
#include "model/AppState.h"
#include "ui/MainWindow.h"
#include "ScriptedDialogs.h"
#include "TestUtil.h"

#include <QDir>
#include <QTimer>
#include <QToolButton>
#include <QTemporaryDir>
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
        TestUtil::CopyProgramDir(Dir.path());
        if (!QFileInfo::exists(ProgDir + "libkvcom.so"))
            TestUtil::WriteBytes(ProgDir + "libkvcom.so", "placeholder");
    }
    void TearDown() override {
        if (Main) {
            // Skip the close questions of the program's own close.
            State.PrjState = PrjNone;
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
        Main->ToolBarClick(Main->btnNew);
    }
    bool DevSetAccepts = true;
};
