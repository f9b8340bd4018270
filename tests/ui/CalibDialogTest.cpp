// The calibration dialog with its worker, against the simulator on a pseudo-terminal.
#include "ui/HelpWindow.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "ui/CalibDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
class CalibDialog : public ::testing::Test {
protected:
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
            [this] { return !Dlg->btnOk->isEnabled() && Dlg->StatusPane->text() == "Калибровка..."; }, 5000));
    }
    bool WaitEnd() {
        return QTest::qWaitFor([this] { return !Dlg->Running(); }, 10000);
    }
    bool Idle() const {
        return Dlg->btnOk->isEnabled() && Dlg->btnRL->isEnabled() && Dlg->btnRC->isEnabled() &&
               Dlg->btnRLstop->isHidden() && Dlg->btnRCstop->isHidden();
    }
};
} // namespace

TEST_F(CalibDialog, StopButtonsStandInPlaceOfTheirStartButtonsDuringARun) {
    Dlg->show();
    EXPECT_TRUE(Idle());
    StartWith(Dlg->btnRL);
    EXPECT_TRUE(Dlg->btnRLstop->isVisible() && Dlg->btnRCstop->isHidden());
    EXPECT_EQ(Dlg->btnRLstop->geometry(), Dlg->btnRL->geometry());
    EXPECT_FALSE(Dlg->btnRL->isEnabled() || Dlg->btnRC->isEnabled());
    ASSERT_TRUE(WaitEnd());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Dlg->StatusPane->text(), "Параметр откалиброван");

    StartWith(Dlg->btnRC);
    EXPECT_TRUE(Dlg->btnRCstop->isVisible() && Dlg->btnRLstop->isHidden());
    EXPECT_EQ(Dlg->btnRCstop->geometry(), Dlg->btnRC->geometry());
    QTest::mouseClick(Dlg->btnRCstop, Qt::LeftButton);
    ASSERT_TRUE(WaitEnd());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Dlg->StatusPane->text(), "Остановлено пользователем");
    EXPECT_EQ(Dlg->CalibKind, CalibCompensator);
}

TEST_F(CalibDialog, ClosingDuringARunStopsItAndThenHides) {
    Dlg->show();
    StartWith(Dlg->btnRL);
    Dlg->close(); // as the close box does; returns once the worker has ended
    ASSERT_FALSE(Dlg->Running());
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Dlg->StatusPane->text(), "Остановлено пользователем");

    // Kept for the next use, shown modally and centred over the main window.
    bool modal = false;
    QPoint offset;
    QTimer::singleShot(0, Dlg.get(), [&] {
        modal = Dlg->isModal() && Dlg->isVisible();
        offset = Dlg->geometry().center() - Main.frameGeometry().center();
        QTest::mouseClick(Dlg->btnOk, Qt::LeftButton);
    });
    Dlg->Execute();
    EXPECT_TRUE(modal);
    EXPECT_LE(offset.manhattanLength(), 40);
    EXPECT_EQ(Dlg->StatusPane->text(), "Остановлено пользователем"); // the last text stays
}

TEST_F(CalibDialog, HelpShowsItsTopic) {
    Dlg->show();
    QTest::mouseClick(Dlg->btnHelp, Qt::LeftButton);
    bool shown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<THelpWindow*>(w))
            shown = shown || (help->isVisible() && help->CurrentPage() == "page3.html");
    EXPECT_TRUE(shown);
}
