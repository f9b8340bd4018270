#include "MainFixture.h"
#include "common/IniFile.h"
#include "ui/ChanTable.h"
#include "ui/DevTable.h"
#include "ui/MeasureView.h"
#include "ui/SettingsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {
struct TEnabled {
    bool New, Open, Save, SaveAs, Close, Settings, ReadAll, WriteAll, Stop;
};
} // namespace

class MainCommands : public MainFixture {
protected:
    TEnabled Read() const {
        // The tool bar's buttons follow their commands; the settings button is in no row of the table.
        for (const char* name : {"New", "Open", "Save", "Close", "ReadAll", "WriteAll", "Stop"})
            EXPECT_EQ(Widget<QToolButton>(("btn" + std::string(name)).c_str())->isEnabled(),
                      Enabled(("act" + std::string(name)).c_str()))
                << name;
        EXPECT_TRUE(Widget<QToolButton>("btnSet")->isEnabled());
        return {Enabled("actNew"),     Enabled("actOpen"),     Enabled("actSave"),
                Enabled("actSaveAs"),  Enabled("actClose"),    Enabled("actProgSet"),
                Enabled("actReadAll"), Enabled("actWriteAll"), Enabled("actStop")};
    }
};

TEST_F(MainCommands, StartsWithoutProject) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Main->windowTitle(), QStringLiteral("Настройка приборов серии Kestrin K1"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    EXPECT_FALSE(Widget<QTabWidget>("pcMain")->isVisibleTo(Main.get()));
    EXPECT_EQ(Pane("spDevStatus"), "none");
    EXPECT_EQ(Pane("gsProjectText"), QStringLiteral("Нет открытого проекта"));
    const TEnabled e = Read();
    EXPECT_TRUE(e.New && e.Open && e.Settings);
    EXPECT_FALSE(e.Save || e.SaveAs || e.Close || e.ReadAll || e.WriteAll || e.Stop);
    ASSERT_EQ(State.DevTypes.size(), 2u);
    EXPECT_EQ(State.CurType, 0);
    EXPECT_EQ(State.DevList[0]->Values.size(), State.DevTypes[0]->ParamCount());
    EXPECT_FALSE(Widget<QTabWidget>("pcMain")->isTabVisible(1)); // the channel page's tab is never shown
    EXPECT_EQ(Widget<QToolButton>("btnNew")->toolTip(), QStringLiteral("Новый проект (Ctrl+N)"));
    EXPECT_EQ(Widget<QToolButton>("btnStop")->toolTip(),
              QStringLiteral("Остановить обмен данными с прибором"));
    EXPECT_EQ(Command("actNew")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(Command("actExit")->shortcut(), QKeySequence("Alt+X"));
    EXPECT_EQ(Command("actHelp")->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(MainFixture, MissingRequiredFileStopsStartUpWithTheMessage) {
    QFile::remove(ProgDir + "kestrin.ini");
    EXPECT_FALSE(Start());
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text,
              QStringLiteral("Ошибка! Не найдены файлы необходимые для работы программы!"));
    EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Ошибка"));
    EXPECT_TRUE(State.DevTypes.empty());
    EXPECT_FALSE(QFileInfo::exists(ProgDir + "kestrin.ini")); // never written
}

TEST_F(MainFixture, EmptyCatalogueStillStarts) {
    TestUtil::WriteBytes(ProgDir + "devices.ini", "");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(State.DevTypes.empty());
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    NewProject(); // nothing to create a project for: no crash, still no project
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
}

TEST_F(MainCommands, EnabledCommandsFollowProjectAndExchangeState) {
    ASSERT_TRUE(Start());
    NewProject();
    ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
    struct Row {
        TPrjState Prj;
        TExchState Exch;
        TEnabled Want;
    };
    const Row table[] = {
        {TPrjState::PrjChanged,
         TExchState::ExchIdle,
         {true, true, true, true, true, true, true, true, false}},
        {TPrjState::PrjChanged,
         TExchState::ExchReadWrite,
         {false, false, true, true, false, false, false, false, true}},
        {TPrjState::PrjSaved, TExchState::ExchIdle, {true, true, false, true, true, true, true, true, false}},
        {TPrjState::PrjSaved,
         TExchState::ExchMeasure,
         {false, false, false, false, false, false, false, false, true}},
        {TPrjState::PrjNone,
         TExchState::ExchIdle,
         {true, true, false, false, false, true, false, false, false}},
        {TPrjState::PrjNone,
         TExchState::ExchReadWrite,
         {false, false, false, false, false, false, false, false, false}},
    };
    for (const Row& r : table) {
        State.PrjState = r.Prj;
        State.ExchangeState = r.Exch;
        Main->ShowPrjState();
        const TEnabled e = Read();
        const auto where = ::testing::Message() << "state " << int(r.Prj) << " exchange " << int(r.Exch);
        EXPECT_EQ(e.New, r.Want.New) << where;
        EXPECT_EQ(e.Open, r.Want.Open) << where;
        EXPECT_EQ(e.Save, r.Want.Save) << where;
        EXPECT_EQ(e.SaveAs, r.Want.SaveAs) << where;
        EXPECT_EQ(e.Close, r.Want.Close) << where;
        EXPECT_EQ(e.Settings, r.Want.Settings) << where;
        EXPECT_EQ(e.ReadAll, r.Want.ReadAll) << where;
        EXPECT_EQ(e.WriteAll, r.Want.WriteAll) << where;
        EXPECT_EQ(e.Stop, r.Want.Stop) << where;
        EXPECT_EQ(Enabled("actDevSet"), r.Exch == TExchState::ExchIdle) << where;
        EXPECT_EQ(Widget<QTabWidget>("pcMain")->isVisibleTo(Main.get()), r.Prj != TPrjState::PrjNone)
            << where;
    }
    State.ExchangeState = TExchState::ExchIdle;
}

TEST_F(MainFixture, ProjectBecomesChangedOnceAndShowsItsState) {
    ASSERT_TRUE(Start());
    NewProject();
    EXPECT_EQ(Main->windowTitle(), QStringLiteral("Настройка приборов серии Kestrin K1 : noname.prj"));
    EXPECT_EQ(State.PrjPath, ProgDir + "/noname.prj");
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Открыт новый проект"));
    EXPECT_EQ(Pane("gsProjectText"), QStringLiteral("Текущий проект сохранен"));
    EXPECT_EQ(Pane("spDevStatus"), "Kestrin K1");
    Widget<QTabWidget>("pcMain")->setCurrentIndex(2); // a change of page is a change of the project
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(Pane("gsProjectText"), QStringLiteral("Текущий проект изменен"));
    Main->PrjChange();
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);

    State.ActDevice = 7; // out of the designation table: shown as the first designation
    Main->ShowPrjState();
    EXPECT_EQ(Pane("spDevStatus"), "Kestrin K1");
    State.ActDevice = 2;
    Main->ShowPrjState();
    EXPECT_EQ(Pane("spDevStatus"), "Kestrin K1V");

    // The connection dialog's OK chooses another designation: the pane shows it at once, also on a
    // project that was already changed.
    Main->ShowDevSetDialog = [this] {
        State.ActDevice = 1;
        return true;
    };
    Trigger("actDevSet");
    EXPECT_EQ(Pane("spDevStatus"), "Kestrin K1R");
}

TEST_F(MainFixture, CommandsEndTheEditInProgressFirst) {
    ASSERT_TRUE(Start());
    NewProject();
    QTableWidget* grid = Main->frmDev->ASG;
    int mask = -1;
    for (int i = 0; i < State.CurDevType().ParamCount(); ++i)
        if (State.CurDevType().Param(i).VType == 4 && mask < 0)
            mask = i;
    ASSERT_GE(mask, 0);
    const QString bits(State.CurDevType().Param(mask).Vmin.toInt(), QLatin1Char('1'));
    const auto type = [&](const QString& text) {
        grid->setCurrentCell(mask, 1);
        grid->editItem(grid->item(mask, 1));
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(mask, 1)));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    };
    QSignalSpy started(Main.get(), &TfrmMain::StartExchange);
    State.Settings.Confirm = false;

    // A refused text: the check's message, the old value back, and the command does not run.
    type(QStringLiteral("12"));
    Trigger("actWriteAll");
    EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Неверно введены данные!"));
    EXPECT_EQ(started.count(), 0);
    EXPECT_TRUE(grid->item(mask, 1)->text().isEmpty());

    // An accepted text is taken before the command takes the table's values.
    type(bits);
    Dialogs.FileNames = {Dir.filePath("typed.prj")};
    Trigger("actSave");
    EXPECT_EQ(State.PrjPath, Dir.filePath("typed.prj"));
    EXPECT_EQ(State.CurDev().Values[mask], bits);
    EXPECT_EQ(grid->indexWidget(grid->model()->index(mask, 1)), nullptr); // the editor is gone
}

TEST_F(MainFixture, WriteConfirmationAndStopButton) {
    ASSERT_TRUE(Start());
    NewProject();
    QSignalSpy starts(Main.get(), &TfrmMain::StartExchange);
    State.Settings.Confirm = true;
    Dialogs.Answers = {TMsgAnswer::No};
    Trigger("actDevWrite");
    EXPECT_EQ(starts.count(), 0);
    EXPECT_EQ(Dialogs.LastText(),
              QStringLiteral("Вы действительно хотите произвести запись данных в прибор?"));
    EXPECT_EQ(Dialogs.Asked.back().Caption, QStringLiteral("Запись данных"));
    Dialogs.Answers = {TMsgAnswer::No};
    Trigger("actWriteAll");
    EXPECT_EQ(starts.count(), 0);
    EXPECT_EQ(Dialogs.Asked.back().Caption, QStringLiteral("Запись параметров"));
    Dialogs.Answers = {TMsgAnswer::Yes};
    Trigger("actWriteAll");
    ASSERT_EQ(starts.count(), 1);
    EXPECT_EQ(starts.takeFirst().at(0).value<TExchangeCommand>(), TExchangeCommand::WriteAll);

    State.Settings.Confirm = false;
    const size_t asked = Dialogs.Asked.size();
    Trigger("actDevWrite");
    EXPECT_EQ(Dialogs.Asked.size(), asked);
    ASSERT_EQ(starts.count(), 1);
    EXPECT_EQ(starts.takeFirst().at(0).value<TExchangeCommand>(), TExchangeCommand::DevWrite);

    // A read marks the project changed.
    State.PrjState = TPrjState::PrjSaved;
    Trigger("actDevRead");
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);

    State.ExchangeState = TExchState::ExchMeasure;
    Main->ShowPrjState();
    const qsizetype started = starts.count();
    Trigger("actDevWrite"); // one exchange at a time: refused while another holds the line
    Trigger("actReadAll");
    EXPECT_EQ(starts.count(), started);
    Trigger("actStop");
    EXPECT_TRUE(State.MeasureStop);
    EXPECT_FALSE(State.ReadStop || State.WriteStop);
    State.MeasureStop = false;
    State.ExchangeState = TExchState::ExchReadWrite;
    Main->ShowPrjState();
    Trigger("actStop");
    EXPECT_TRUE(State.ReadStop && State.WriteStop);
    EXPECT_FALSE(State.MeasureStop);
    State.ExchangeState = TExchState::ExchIdle;
}

TEST_F(MainFixture, SettingsDialogOkAppliesAndCancelKeeps) {
    ASSERT_TRUE(Start());
    TfrmProgSet& d = *Main->frmProgSet;
    QTimer::singleShot(0, &d, [&] {
        d.CB3->setChecked(!State.Settings.Hint);
        d.SE2->setValue(7);
        d.CancelBtn->click();
    });
    const bool hintBefore = State.Settings.Hint;
    Widget<QToolButton>("btnSet")->click();
    EXPECT_EQ(State.Settings.Hint, hintBefore);
    EXPECT_EQ(State.Settings.ReRead, 1);

    QTimer::singleShot(0, &d, [&] {
        EXPECT_EQ(d.CB3->isChecked(), hintBefore); // shown again with the old values
        d.CB3->setChecked(false);
        d.CB1->setChecked(true);
        d.SE1->setValue(4);
        d.SE2->setValue(150); // the spin box keeps to 0..100
        EXPECT_EQ(d.cbLanguage->currentIndex(), 0); // no language chosen: follows the system
        d.cbLanguage->setCurrentIndex(d.cbLanguage->findText("English"));
        d.OkBtn->click();
    });
    Trigger("actProgSet");
    EXPECT_FALSE(State.Settings.Hint);
    EXPECT_TRUE(State.Settings.Save);
    EXPECT_EQ(State.Settings.ReWrite, 4);
    EXPECT_EQ(State.Settings.ReRead, 100);
    EXPECT_EQ(State.Settings.Language, QStringLiteral("en"));
    EXPECT_TRUE(Widget<QLabel>("gsExchangeStatus")->toolTip().isEmpty()); // hints off at once
    EXPECT_FALSE(Widget<QToolButton>("btnNew")->toolTip().isEmpty());     // the tool bar keeps its hints
}

TEST_F(MainFixture, CloseWritesSettingsAndCancelAtTheProjectQuestionKeepsRunning) {
    ASSERT_TRUE(Start());
    NewProject();
    State.Settings.Load = true;
    State.Settings.Save = false;
    Main->PrjChange();
    Dialogs.Answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(Main->close());
    EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Текущий проект был изменен. Сохранить?"));
    EXPECT_EQ(Dialogs.Asked.back().Caption, QStringLiteral("Внимание"));
    TIniFile ini(ProgDir + "kestrin.ini");
    EXPECT_EQ(ini.ReadSection("Main"),
              QStringList({"Save", "Load", "Project", "Hint", "ReWrite", "ReRead", "Confirm"}));
    EXPECT_EQ(ini.ReadString("Main", "Project", QString()), ProgDir + "/noname.prj");
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);

    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(Main->close());
    EXPECT_TRUE(State.DevTypes.empty()); // released on close
}

TEST_F(MainFixture, CloseDuringExchangeAsksAndNoKeepsItRunning) {
    ASSERT_TRUE(Start());
    NewProject();
    State.ExchangeState = TExchState::ExchReadWrite;
    Main->ShowPrjState();
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_FALSE(Main->close());
    EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Идет обмен данными с прибором. Продолжить?"));
    EXPECT_EQ(Dialogs.Asked.back().Caption, QStringLiteral("Обмен с прибором"));
    EXPECT_FALSE(State.ReadStop || State.WriteStop || State.MeasureStop);
    QSignalSpy waits(Main.get(), &TfrmMain::WaitForWorkers);
    Dialogs.Answers = {TMsgAnswer::Yes};
    EXPECT_TRUE(Main->close());
    EXPECT_EQ(waits.count(), 1);
    EXPECT_TRUE(State.ReadStop && State.WriteStop && State.MeasureStop);
}

TEST_F(MainCommands, ButtonColumnFollowsTheExchangeThatHoldsTheLine) {
    ASSERT_TRUE(Start());
    NewProject();
    Main->show();
    struct Row {
        TExchangeCommand Running;
        bool ReadStop, WriteStop, Read, Write, Calib, Measure;
    };
    const Row table[] = {
        {TExchangeCommand::DevRead, true, false, false, false, false, false}, // a hidden command is off too
        {TExchangeCommand::DevWrite, false, true, false, false, false, false},
        {TExchangeCommand::ReadAll, false, false, false, false, false, false},
        {TExchangeCommand::WriteAll, false, false, false, false, false, false},
        {TExchangeCommand::Measure, false, false, false, false, false, true},
    };
    const auto shown = [this](const char* name) {
        return Widget<QPushButton>(name)->isVisibleTo(Main.get());
    };
    QPushButton* measure = Main->frmMeasure->btnMeasure;
    for (const Row& r : table) {
        const auto where = ::testing::Message() << "exchange " << int(r.Running);
        State.ExchangeState =
            r.Running == TExchangeCommand::Measure ? TExchState::ExchMeasure : TExchState::ExchReadWrite;
        Main->ExchangeRunning(r.Running);
        EXPECT_EQ(shown("btnDevReadStop"), r.ReadStop) << where;
        EXPECT_EQ(shown("btnDevRead"), !r.ReadStop) << where;
        EXPECT_EQ(shown("btnDevWriteStop"), r.WriteStop) << where;
        EXPECT_EQ(shown("btnDevWrite"), !r.WriteStop) << where;
        EXPECT_EQ(Widget<QPushButton>("btnDevRead")->isEnabled(), r.Read) << where;
        EXPECT_EQ(Widget<QPushButton>("btnDevWrite")->isEnabled(), r.Write) << where;
        EXPECT_EQ(Widget<QPushButton>("btnCalib")->isEnabled(), r.Calib) << where;
        EXPECT_EQ(measure->isEnabled(), r.Measure) << where;
        // The measurement page is not the current one: its buttons are hidden with it, not by themselves.
        EXPECT_EQ(Main->frmMeasure->btnMeasureStop->isHidden(), r.Running != TExchangeCommand::Measure)
            << where;
        if (r.ReadStop || r.WriteStop) { // the keyboard stays on the column's stop button
            EXPECT_EQ(Main->focusWidget(),
                      Widget<QPushButton>(r.ReadStop ? "btnDevReadStop" : "btnDevWriteStop"))
                << where;
        }

        // The end of the run gives every start back.
        State.ExchangeState = TExchState::ExchIdle;
        Main->ExchangeRunning(std::nullopt);
        for (const char* start : {"btnDevRead", "btnDevWrite", "btnCalib"})
            EXPECT_TRUE(shown(start) && Widget<QPushButton>(start)->isEnabled()) << where << start;
        EXPECT_FALSE(shown("btnDevReadStop") || shown("btnDevWriteStop")) << where;
        EXPECT_TRUE(!measure->isHidden() && measure->isEnabled()) << where;
    }
}
