// The calibration dialog with its worker, against the simulator on a pseudo-terminal.
#include "ui/CalibDialog.h"
#include "Controls.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "ui/HelpWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
class CalibDialog : public ::testing::Test {
protected:
    // The dialog's controls by objectName.
    QPushButton* Button(const char* name) const { return Control<QPushButton>(Dlg.get(), name); }
    QLabel* StatusPane() const { return Control<QLabel>(Dlg.get(), "StatusPane"); }
    TSimLine Line{[] {
        Sim::TConfig c = TSimLine::Config({{1, 21, QString(), 0}});
        c.CalibSeconds = 1.0;
        return c;
    }()};
    TAppState State;
    QWidget Main;
    std::unique_ptr<TfrmCalib> Dlg;

    void SetUp() override {
        ASSERT_TRUE(Line.Ok());
        State.ProgDir = QStringLiteral(KESTRIN_PROGDIR);
        State.DevTypes.push_back(std::make_unique<TDevProp>());
        State.DevTypes[0]->TypeNum = 21;
        State.DevTypes[0]->TimeOut = 150;
        State.DevList.push_back(std::make_unique<TDev>());
        State.DevList[0]->COMPort = Line.Port();
        Main.setGeometry(100, 100, 900, 700);
        Dlg = std::make_unique<TfrmCalib>(State, Line.Api(), &Main);
    }
    // Clicks a start button and waits until the worker has locked the dialog.
    void StartWith(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return !Button("btnOk")->isEnabled() && StatusPane()->text() == "Калибровка..."; },
            5000));
    }
    bool WaitEnd() {
        return QTest::qWaitFor([this] { return !Dlg->Running(); }, 10000);
    }
    bool Idle() const {
        return Button("btnOk")->isEnabled() && Button("btnRL")->isEnabled() && Button("btnRC")->isEnabled() &&
               Button("btnRLstop")->isHidden() && Button("btnRCstop")->isHidden();
    }
};
} // namespace

TEST_F(CalibDialog, StopButtonsStandInPlaceOfTheirStartButtonsDuringARun) {
    Dlg->show();
    EXPECT_TRUE(Idle());
    StartWith(Button("btnRL"));
    EXPECT_TRUE(Button("btnRLstop")->isVisible() && Button("btnRCstop")->isHidden());
    EXPECT_EQ(Button("btnRLstop")->geometry(), Button("btnRL")->geometry());
    EXPECT_FALSE(Button("btnRL")->isEnabled() || Button("btnRC")->isEnabled());
    ASSERT_TRUE(WaitEnd());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(StatusPane()->text(), "Параметр откалиброван");

    StartWith(Button("btnRC"));
    EXPECT_TRUE(Button("btnRCstop")->isVisible() && Button("btnRLstop")->isHidden());
    EXPECT_EQ(Button("btnRCstop")->geometry(), Button("btnRC")->geometry());
    QTest::mouseClick(Button("btnRCstop"), Qt::LeftButton);
    ASSERT_TRUE(WaitEnd());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(StatusPane()->text(), "Остановлено пользователем");
    EXPECT_EQ(Dlg->CalibKind, CalibCompensator);
}

TEST_F(CalibDialog, ClosingDuringARunStopsItAndThenHides) {
    Dlg->show();
    StartWith(Button("btnRL"));
    Dlg->close(); // as the close box does; returns once the worker has ended
    ASSERT_FALSE(Dlg->Running());
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(StatusPane()->text(), "Остановлено пользователем");

    // Kept for the next use, shown modally and centred over the main window.
    bool modal = false;
    QPoint offset;
    QTimer::singleShot(0, Dlg.get(), [&] {
        modal = Dlg->isModal() && Dlg->isVisible();
        offset = Dlg->geometry().center() - Main.frameGeometry().center();
        QTest::mouseClick(Button("btnOk"), Qt::LeftButton);
    });
    Dlg->Execute();
    EXPECT_TRUE(modal);
    EXPECT_LE(offset.manhattanLength(), 40);
    EXPECT_EQ(StatusPane()->text(),
              "Остановлено пользователем"); // the last text stays
}

TEST_F(CalibDialog, HelpShowsItsTopic) {
    Dlg->show();
    QTest::mouseClick(Button("btnHelp"), Qt::LeftButton);
    bool shown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<THelpWindow*>(w))
            shown = shown || (help->isVisible() && help->CurrentPage() == "page3.html");
    EXPECT_TRUE(shown);
}
