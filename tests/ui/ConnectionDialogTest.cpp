// The connection dialog and its three workers against the simulator on a pseudo-terminal, inside a
// real main window on a copy of the program directory.
#include "ui/ConnectionDialog.h"
#include "../ops/SimLine.h"
#include "MainFixture.h"
#include "exchange/RecordingTap.h"
#include "ui/CalibDialog.h"
#include "ui/HelpWindow.h"
#include "ui/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

namespace {
const QString Title = QStringLiteral("Настройка приборов серии Kestrin K1");
const QString Found = QStringLiteral("Связь с прибором установлена!");
const QString NotFound = QStringLiteral("Не удалось установить связь с прибором!");
const QString CheckError = QStringLiteral("Не удалось проверить связь с прибором, ошибка: ");
const QString LinkQuestion = NotFound + QStringLiteral("\rВернуться к настройке параметров связи?");
const QString MissingPort = QStringLiteral("/dev/kestrin-test-no-such-port");

class DevSet : public MainFixture {
protected:
    std::unique_ptr<TSimLine> Line;
    TfrmDevSet* Dlg = nullptr; // owned by the main window

    // The dialog's controls by objectName.
    QPushButton* Button(const char* name) const { return Control<QPushButton>(Dlg, name); }
    QComboBox* Combo(const char* name) const { return Control<QComboBox>(Dlg, name); }
    QSpinBox* Address() const { return Control<QSpinBox>(Dlg, "SE2"); }
    QLabel* StatusPane() const { return Control<QLabel>(Dlg, "StatusPane"); }

    void StartAll(std::vector<Sim::TDeviceSpec> devices, const Sim::TFaults& faults = {}) {
        Sim::TConfig c = TSimLine::Config(std::move(devices));
        c.Faults = faults;
        Line = std::make_unique<TSimLine>(c);
        ASSERT_TRUE(Line->Ok());
        ASSERT_TRUE(Start());
        State.PortList << Line->Port() << MissingPort;
        Dlg = new TfrmDevSet(*Main, State, Dialogs, Line->Api(), Main.get());
        Main->ShowDevSetDialog = [this] { return Dlg->Execute(); };
    }
    void TearDown() override {
        MainFixture::TearDown();
        Line.reset();
    }
    // A project opened without the dialog, on the simulator's port.
    void OpenProject() {
        Main->ShowDevSetDialog = [] { return true; };
        Trigger("actNew");
        Main->ShowDevSetDialog = [this] { return Dlg->Execute(); };
        ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
        State.CurDev().COMPort = Line->Port();
    }
    void Select(QComboBox* c, const QString& text) {
        c->setCurrentIndex(c->findText(text));
        ASSERT_EQ(c->currentText(), text);
    }
    void SelectSim() {
        Select(Combo("Combo1"), Line->Port());
        Select(Combo("Combo4"), Line->Port());
    }
    bool WaitIdle() {
        return QTest::qWaitFor([this] { return !Dlg->WorkerActive(); }, 20000);
    }
    // The dialog after a worker: nothing left locked.
    void ExpectUnlocked() {
        EXPECT_FALSE(Dlg->Busy);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 Button("btnOk"), Button("btnCheck"), Button("btnCancel"), Button("btnSearch"),
                 Control<QGroupBox>(Dlg, "GroupBox1"), Control<QGroupBox>(Dlg, "GroupBox2"),
                 Control<QGroupBox>(Dlg, "GroupBox3")})
            EXPECT_TRUE(w->isEnabled()) << w->metaObject()->className();
    }
    QString RunCheck() {
        Button("btnCheck")->click();
        EXPECT_TRUE(WaitIdle());
        ExpectUnlocked();
        return StatusPane()->text();
    }
    QString RunSearch() {
        Button("btnSearch")->click();
        EXPECT_TRUE(WaitIdle());
        ExpectUnlocked();
        return StatusPane()->text();
    }
    // Runs `run`, which shows the dialog modally, doing `act` once the dialog is up.
    template <class R> auto Modal(const std::function<void()>& act, R run) {
        QTimer::singleShot(0, Dlg, act);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, Dlg, [this] {
            ADD_FAILURE() << "the dialog stayed open";
            Dlg->done(0);
        });
        guard.start(30000);
        return run();
    }
    size_t Requests() {
        return Line->WithBus([](Sim::TBus& bus) { return bus.Log().size(); });
    }
    int Row(const QString& name) const {
        for (int i = 0; i < State.DevTypes[0]->ParamCount(); ++i)
            if (State.DevTypes[0]->Param(i).Name == name)
                return i + 1;
        return -1;
    }
};
} // namespace

TEST_F(DevSet, NewProjectThroughTheDialogReloadsTheInstrumentsVersion) {
    StartAll({{1, 21, QStringLiteral("K1_205"), 0}});
    TDevProp expected;
    expected.Dir = State.DevTypes[0]->Dir;
    ASSERT_TRUE(LoadDescriptions(ProgDir, expected, QStringLiteral("K1_205")));
    ASSERT_NE(expected.ParamCount(), State.DevTypes[0]->ParamCount());

    Modal(
        [this] {
            SelectSim();
            Button("btnOk")->click();
        },
        [this] { Trigger("actNew"); });
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_TRUE(Dlg->LinkEstablished);
    EXPECT_EQ(Dlg->DeviceVersion, QStringLiteral("K1_205"));
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_TRUE(Dialogs.Asked.empty());
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
    EXPECT_EQ(Main->windowTitle(), Title + QStringLiteral(" : noname.prj"));
    const TDevProp& t = *State.DevTypes[0];
    EXPECT_EQ(t.Version, QStringLiteral("K1_205"));
    ASSERT_EQ(t.ParamCount(), expected.ParamCount());
    for (int i = 0; i < t.ParamCount(); ++i)
        EXPECT_EQ(t.Param(i).Name, expected.Param(i).Name);
    EXPECT_EQ(Widget<QTableWidget>("DevGrid")->rowCount(), t.ParamCount());
    EXPECT_EQ(DevView().CellText(0, t.ParamCount()).trimmed(), expected.Param(t.ParamCount() - 1).Name);
    EXPECT_EQ(State.CurDev().Values.size(), t.ParamCount());
    EXPECT_EQ(State.CurDev().COMPort, Line->Port());
    EXPECT_EQ(State.CurDev().BaudRate, 9600);
    EXPECT_EQ(State.CurDev().Address, 1);
    EXPECT_EQ(StatusPane()->text(), Found);
}

TEST_F(DevSet, NewProjectWithoutAnAnswerAsksAndNoLeavesNoProject) {
    StartAll({{4, 21, QString(), 0}}); // the new project's address 1 is silent
    Dialogs.Answers = {TMsgAnswer::No};
    Modal(
        [this] {
            SelectSim();
            Button("btnOk")->click();
        },
        [this] { Trigger("actNew"); });
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text, LinkQuestion);
    EXPECT_EQ(Dialogs.Asked[0].Caption, Title);
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::YesNo);
    EXPECT_FALSE(Dlg->Accepted);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    EXPECT_NE(State.CurDev().COMPort, Line->Port()); // nothing stored
}

TEST_F(DevSet, SearchListsExactlyTheInstrumentsOfTheTypeInAnswerOrder) {
    StartAll({{3, 21, QString(), 0}, {5, 7, QString(), 0}, {9, 21, QString(), 0}});
    TRecordingTap tap; // what the line monitor is given
    State.LineTap.Attach(&tap);
    Dlg->show();
    SelectSim();
    Select(Combo("Combo5"), "9600");
    QElapsedTimer clock;
    clock.start();
    Button("btnSearch")->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Button("btnOk")->isEnabled(); },
                                5000)); // locked by the worker
    EXPECT_TRUE(Dlg->Busy);
    for (QWidget* w : std::initializer_list<QWidget*>{
             Button("btnCheck"), Button("btnCancel"), Button("btnSearch"),
             Control<QGroupBox>(Dlg, "GroupBox1"), Control<QGroupBox>(Dlg, "GroupBox2"),
             Control<QGroupBox>(Dlg, "GroupBox3")})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(Button("btnHelp")->isEnabled());
    EXPECT_EQ(StatusPane()->text(), QStringLiteral("Поиск приборов..."));
    ASSERT_TRUE(WaitIdle());
    EXPECT_GE(clock.elapsed(), State.DevTypes[0]->TimeOut); // ends by the time-out after the last answer
    ExpectUnlocked();
    EXPECT_EQ(StatusPane()->text(), QStringLiteral("Поиск приборов завершен!"));
    ASSERT_EQ(Combo("Combo6")->count(), 2);
    EXPECT_EQ(Combo("Combo6")->itemText(0), "3");
    EXPECT_EQ(Combo("Combo6")->itemText(1), "9");
    EXPECT_EQ(Combo("Combo6")->currentIndex(), 0);
    EXPECT_FALSE(Dlg->Changed); // the list filled by the search is no change of the user's
    State.LineTap.Detach(&tap);
    // The broadcast, the three answers in address order, and the time-out that ended the search.
    const std::vector<TLineEvent> e = tap.Take();
    ASSERT_EQ(e.size(), 5u);
    EXPECT_TRUE(e[0].Bytes.startsWith(":0;0;"));
    EXPECT_EQ(e[0].Port, Line->Port());
    const std::vector<std::pair<int, QString>> answers = {{3, QStringLiteral("поиск: найден")},
                                                          {5, QStringLiteral("поиск")},
                                                          {9, QStringLiteral("поиск: найден")}};
    for (size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(e[i + 1].Address, answers[i].first);
        EXPECT_EQ(e[i + 1].Purpose, answers[i].second);
    }
    EXPECT_EQ(e[4].Outcome, KV_ERR_NO_ANSWER);

    // Choosing a found address marks a change but does not copy it into the address box.
    const int address = Address()->value();
    QTest::keyClick(Combo("Combo6"), Qt::Key_Down);
    EXPECT_EQ(Combo("Combo6")->currentText(), "9");
    EXPECT_TRUE(Dlg->Changed);
    EXPECT_EQ(Address()->value(), address);
}

TEST_F(DevSet, SearchOnASilentLineAndOnAMissingPort) {
    StartAll({});
    Dlg->show();
    SelectSim();
    Dlg->ShowFound({"1", "2"});
    EXPECT_EQ(RunSearch(), QStringLiteral("Поиск приборов завершен!"));
    EXPECT_EQ(Combo("Combo6")->count(), 0);
    Dlg->ShowFound({"1"});
    Select(Combo("Combo4"), MissingPort);
    EXPECT_EQ(RunSearch(), QStringLiteral("Поиск прерван, ошибка: -101"));
    EXPECT_EQ(Combo("Combo6")->count(), 1); // a failed search leaves the last list
}

TEST_F(DevSet, LinkCheckTellsFoundOtherTypeSilentAndMissingPortApart) {
    StartAll({{1, 21, QString(), 0}, {2, 7, QString(), 0}});
    Dlg->show();
    SelectSim();
    Select(Combo("Combo2"), "9600");
    Address()->setValue(1);
    EXPECT_EQ(RunCheck(), Found);
    Address()->setValue(2); // another type answers
    EXPECT_EQ(RunCheck(), NotFound);
    TRecordingTap tap;
    State.LineTap.Attach(&tap);
    Address()->setValue(3); // nobody answers
    EXPECT_EQ(RunCheck(), NotFound);
    State.LineTap.Detach(&tap);
    const std::vector<TLineEvent> silent = tap.Take();
    ASSERT_EQ(silent.size(), 2u);
    EXPECT_EQ(silent[0].Purpose, QStringLiteral("идентификация"));
    EXPECT_TRUE(silent[0].Bytes.startsWith(":3;0;"));
    EXPECT_EQ(silent[1].Outcome, KV_ERR_NO_ANSWER); // the check says "not found"; the monitor says why
    EXPECT_EQ(StatusPane()->toolTip(), QString());
    Address()->setValue(1);
    Select(Combo("Combo2"), "19200"); // the instrument does not listen at this speed
    EXPECT_EQ(RunCheck(), NotFound);
    Select(Combo("Combo1"), MissingPort);
    EXPECT_EQ(RunCheck(), CheckError + "-101");
    EXPECT_EQ(StatusPane()->toolTip(), QStringLiteral("Код -101: порт не существует"));
    // The search group's port is not the check's.
    EXPECT_EQ(Combo("Combo4")->currentText(), Line->Port());
}

TEST_F(DevSet, SpeedWithoutSelectionGivesTheLibrarysSpeedCodeAndUnlocks) {
    StartAll({{1, 21, QString(), 0}});
    Dlg->show();
    SelectSim();
    Combo("Combo2")->setCurrentIndex(-1);
    Combo("Combo5")->setCurrentIndex(-1);
    EXPECT_EQ(RunCheck(), CheckError + "-104");
    EXPECT_EQ(RunSearch(), QStringLiteral("Поиск прерван, ошибка: -104"));
    Dialogs.Answers = {TMsgAnswer::Yes};
    Button("btnOk")->click(); // no project: the version query runs and fails the same way
    EXPECT_EQ(StatusPane()->text(), CheckError + "-104");
    EXPECT_EQ(Dialogs.LastText(), LinkQuestion);
    EXPECT_TRUE(Dlg->isVisible());
    ExpectUnlocked();
}

TEST_F(DevSet, WorkersReportAnEmptyCatalogueInsteadOfCrashing) {
    TestUtil::WriteBytes(ProgDir + "devices.ini", "");
    StartAll({{1, 21, QString(), 0}});
    Dlg->show();
    SelectSim();
    EXPECT_EQ(RunCheck(), CheckError + "-1");
    EXPECT_EQ(RunSearch(), QStringLiteral("Поиск прерван, ошибка: -1"));
    Dialogs.Answers = {TMsgAnswer::No};
    Button("btnOk")->click();
    EXPECT_EQ(Dialogs.LastText(), LinkQuestion);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_FALSE(Dlg->Accepted);
    ExpectUnlocked();
}

TEST_F(DevSet, OkWithNothingChangedAndAProjectOpenStoresAtOnce) {
    StartAll({{1, 21, QString(), 0}});
    OpenProject();
    State.ActDevice = 2;
    State.CurDev().Address = 7;
    State.CurDev().BaudRate = 4800;
    const int row = Row(QStringLiteral("Задержка ответа"));
    ASSERT_GT(row, 0);
    DevView().SetCellText(1, row, "42"); // an edit not yet taken into the values
    QTableWidgetItem* name = Widget<QTableWidget>("DevGrid")->item(1, 0);
    ASSERT_NE(name, nullptr);
    name->setData(Qt::UserRole + 77, 1); // gone once the table is rebuilt
    const size_t before = Requests();

    Dlg->show();
    Button("btnOk")->click();
    EXPECT_EQ(Requests(), before);
    EXPECT_TRUE(Dialogs.Asked.empty());
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_FALSE(Dlg->Changed);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_EQ(State.ActDevice, 2);
    EXPECT_EQ(State.CurDev().Address, 7);
    EXPECT_EQ(State.CurDev().BaudRate, 4800);
    EXPECT_EQ(State.CurDev().COMPort, Line->Port());
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    ASSERT_NE(Widget<QTableWidget>("DevGrid")->item(1, 0), nullptr);
    EXPECT_FALSE(Widget<QTableWidget>("DevGrid")->item(1, 0)->data(Qt::UserRole + 77).isValid());
    EXPECT_EQ(DevView().CellText(1, row), "42");
    EXPECT_EQ(State.CurDev().Values[row - 1], "42");
}

TEST_F(DevSet, OkWithAFailingLinkYesStaysAndNoClosesWithoutStoring) {
    StartAll({{1, 21, QString(), 0}});
    OpenProject();
    Dlg->show();
    Address()->selectAll();
    QTest::keyClicks(Address(), "9"); // nobody at 9
    ASSERT_TRUE(Dlg->Changed);
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::No};
    Button("btnOk")->click();
    EXPECT_EQ(Dialogs.LastText(), LinkQuestion);
    EXPECT_TRUE(Dlg->isVisible());
    EXPECT_FALSE(Dlg->LinkEstablished);
    EXPECT_EQ(StatusPane()->text(), NotFound);
    EXPECT_EQ(State.CurDev().Address, 1);
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
    ExpectUnlocked();

    Button("btnOk")->click();
    EXPECT_EQ(Dialogs.Asked.size(), 2u);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_FALSE(Dlg->Accepted);
    EXPECT_EQ(State.CurDev().Address, 1);
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
}

TEST_F(DevSet, ProjectOpenReloadKeepsTableValuesByNameAndTheSameVersionDoesNotReload) {
    StartAll({{1, 21, QStringLiteral("K1_103"), 0}, {2, 21, QString(), 0}});
    OpenProject();
    const int row = Row(QStringLiteral("Задержка ответа"));
    DevView().SetCellText(1, row, "33");
    Dlg->show();
    QTest::keyClick(Combo("Combo3"), Qt::Key_Down); // K1R
    Button("btnOk")->click();
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_EQ(State.ActDevice, 1);
    EXPECT_EQ(State.DevTypes[0]->Version, QStringLiteral("K1_103"));
    EXPECT_EQ(DevView().CellText(1, Row(QStringLiteral("Задержка ответа"))), "33");
    EXPECT_EQ(DevView().CellText(0, 16).trimmed(), QStringLiteral("Время усреднения канала 1"));

    // The instrument at 2 has the base set, the instrument at 1 the loaded one: only the first reloads.
    Dlg->show();
    Dlg->Changed = true;
    Button("btnOk")->click();
    EXPECT_EQ(Dlg->DeviceVersion, QStringLiteral("K1_103"));
    EXPECT_EQ(State.DevTypes[0]->Version, QStringLiteral("K1_103"));
    Dlg->show();
    Address()->setValue(2);
    ASSERT_TRUE(Dlg->Changed);
    Button("btnOk")->click();
    EXPECT_EQ(State.DevTypes[0]->Version, QString());
    EXPECT_EQ(State.CurDev().Address, 2);
    EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(DevSet, UnknownVersionAsksTheThreeLineQuestionAndKeepsTheDescriptions) {
    StartAll({{1, 21, QStringLiteral("K1_205"), 0}});
    QFile::remove(DescriptionPath(ProgDir, *State.DevTypes[0], QStringLiteral("K1_205")));
    const int params = State.DevTypes[0]->ParamCount();
    Dlg->show();
    SelectSim();
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::No};
    Button("btnOk")->click();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text,
              QStringLiteral("Данная модификация прибора не поддерживается программой!\r"
                             "Для работы с прибором необходимо обновить программу.\r"
                             "Вернуться к настройке параметров связи?"));
    EXPECT_EQ(Dialogs.Asked[0].Caption, Title);
    EXPECT_TRUE(Dlg->isVisible());
    EXPECT_EQ(State.DevTypes[0]->ParamCount(), params);
    EXPECT_EQ(State.DevTypes[0]->Version, QString());
    Button("btnOk")->click();
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_FALSE(Dlg->Accepted);
    EXPECT_NE(State.CurDev().COMPort, Line->Port());
}

TEST_F(DevSet, InstrumentWithoutAVersionAnswerCountsAsTheBaseSet) {
    // The instrument has a version of its own, but its answer to the version request is lost.
    StartAll({{1, 21, QStringLiteral("K1_205"), 0}}, [] {
        Sim::TFaults f; // named fields only: the fault set grows
        f.DropEvery = 2;
        return f;
    }());
    OpenProject();
    ASSERT_TRUE(Reload(ProgDir, *State.DevTypes[0], State.CurDev(), QStringLiteral("K1_103")));
    Dlg->show();
    Address()->setValue(1);
    Dlg->Changed = true;
    Button("btnOk")->click();
    EXPECT_TRUE(Dlg->LinkEstablished);
    EXPECT_EQ(Dlg->DeviceVersion, QString());
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_EQ(State.DevTypes[0]->Version, QString());
}

TEST_F(DevSet, CancelAndTheCloseBox) {
    StartAll({});
    for (const bool project : {false, true}) {
        if (project)
            OpenProject();
        const QString port = State.CurDev().COMPort;
        Dlg->show();
        SelectSim();
        Address()->setValue(77);
        Button("btnCancel")->click();
        EXPECT_FALSE(Dlg->isVisible());
        EXPECT_EQ(Dlg->Accepted, project);
        EXPECT_EQ(State.CurDev().COMPort, port);
        EXPECT_NE(State.CurDev().Address, 77);

        const bool accepted = Modal([this] { Dlg->close(); }, [this] { return Dlg->Execute(); });
        EXPECT_FALSE(accepted);
        EXPECT_FALSE(Dlg->isVisible());
    }
    EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(DevSet, CloseIsRefusedWhileAWorkerRuns) {
    StartAll({}, [] {
        Sim::TFaults f;
        f.DelayMs = 200;
        return f;
    }());
    Dlg->show();
    SelectSim();
    Button("btnCheck")->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dlg->Busy.load(); }, 5000));
    Dlg->close();
    EXPECT_TRUE(Dlg->isVisible());
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text,
              QStringLiteral("Выход невозможен - дождитесь окончания обмена с приборами!"));
    EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("выход"));
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::Ok);
    Button("btnCheck")->click(); // locked: no second worker
    ASSERT_TRUE(WaitIdle());
    ExpectUnlocked();
    EXPECT_EQ(StatusPane()->text(), NotFound);
    Dlg->close();
    EXPECT_FALSE(Dlg->isVisible());
}

TEST_F(DevSet, ShowingSelectsTheStoredSettings) {
    StartAll({});
    // Created once with the lists, first port and first model.
    EXPECT_EQ(Dlg->windowTitle(), QStringLiteral("Настройки связи"));
    EXPECT_EQ(Combo("Combo1")->count(), State.PortList.size());
    EXPECT_EQ(Combo("Combo4")->count(), State.PortList.size());
    EXPECT_EQ(Combo("Combo2")->count(), 7);
    EXPECT_EQ(Combo("Combo5")->itemText(6), "19200");
    EXPECT_EQ(Combo("Combo3")->count(), 3);
    EXPECT_EQ(Combo("Combo3")->itemText(2), QStringLiteral("Kestrin K1V"));

    TDev& dev = State.CurDev();
    dev.COMPort = MissingPort; // the last entry
    dev.BaudRate = 19200;
    dev.Address = 200;
    State.ActDevice = 1;
    Dlg->ShowFound({"5"});
    StatusPane()->setText("old");
    Dlg->show();
    EXPECT_EQ(Combo("Combo1")->currentIndex(), Combo("Combo1")->count() - 1);
    EXPECT_EQ(Combo("Combo4")->currentIndex(), Combo("Combo4")->count() - 1);
    EXPECT_EQ(Combo("Combo2")->currentText(), "19200");
    EXPECT_EQ(Combo("Combo5")->currentText(), "19200");
    EXPECT_EQ(Address()->value(), 200);
    EXPECT_EQ(Combo("Combo3")->currentIndex(), 1);
    EXPECT_EQ(Combo("Combo6")->count(), 0);
    EXPECT_TRUE(StatusPane()->text().isEmpty());
    EXPECT_FALSE(Dlg->Changed || Dlg->Accepted || Dlg->Busy);
    EXPECT_EQ(Control<QLineEdit>(Dlg, "Edit1")->text(), QString::number(State.DevTypes[0]->Channels));
    Dlg->hide();

    dev.COMPort = "sim1"; // letter case is ignored
    dev.BaudRate = 1234;  // not in the list
    State.ActDevice = 9;  // outside the designations
    Dlg->show();
    EXPECT_EQ(Combo("Combo1")->currentText(), "SIM1");
    EXPECT_EQ(Combo("Combo4")->currentText(), "SIM1");
    EXPECT_EQ(Combo("Combo2")->currentIndex(), -1);
    EXPECT_EQ(Combo("Combo5")->currentIndex(), -1);
    EXPECT_EQ(Combo("Combo3")->currentIndex(), 0);
    Dlg->hide();

    dev.COMPort = "ttyACM7"; // removed port
    Dlg->show();
    EXPECT_EQ(Combo("Combo1")->currentIndex(), 0);
    EXPECT_EQ(Combo("Combo4")->currentIndex(), 0);

    // Confirmed without a speed selected (project open, nothing changed): the stored speed stays.
    OpenProject();
    dev.BaudRate = 1234;
    Dlg->hide();
    Dlg->show();
    Button("btnOk")->click();
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_EQ(State.CurDev().BaudRate, 1234);
}

TEST_F(DevSet, PortListsAreReadAtEveryShowAndEveryDropDown) {
    StartAll({});
    auto ports = std::make_shared<QStringList>(QStringList{Line->Port(), "ttyS0"});
    State.ReadPortList = [ports] { return *ports; };
    const auto items = [](QComboBox* c) {
        QStringList texts;
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    };
    Dlg->show();
    EXPECT_EQ(items(Combo("Combo1")), *ports);
    EXPECT_EQ(items(Combo("Combo4")), *ports);
    Select(Combo("Combo1"), "ttyS0");
    Select(Combo("Combo4"), Line->Port());
    // An adapter plugged in while the dialog is open: in both lists as soon as one drops down, each
    // keeping its choice, and offered under its stable name too.
    const QString stable = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0";
    *ports = QStringList{Line->Port(), "ttyS0", "ttyUSB0", stable};
    Combo("Combo4")->showPopup();
    EXPECT_EQ(items(Combo("Combo1")), *ports);
    EXPECT_EQ(items(Combo("Combo4")), *ports);
    EXPECT_EQ(Combo("Combo1")->currentText(), "ttyS0");
    EXPECT_EQ(Combo("Combo4")->currentText(), Line->Port());
    Combo("Combo4")->hidePopup();
    EXPECT_FALSE(Dlg->Changed);
    // The chosen one unplugged: another is shown, and OK must check it.
    ports->removeAll("ttyS0");
    Combo("Combo1")->showPopup();
    Combo("Combo1")->hidePopup();
    EXPECT_EQ(items(Combo("Combo1")), *ports);
    EXPECT_EQ(Combo("Combo1")->currentIndex(), 0);
    EXPECT_TRUE(Dlg->Changed);
    Dlg->hide();
    // At the next show, the stored port under its stable name.
    State.CurDev().COMPort = stable;
    Dlg->show();
    EXPECT_EQ(Combo("Combo1")->currentText(), stable);
    Dlg->hide();
    State.ReadPortList = nullptr;
}

TEST_F(DevSet, EveryUserChangeCountsAndOnlyTheSearchGroupIsEnough) {
    StartAll({{1, 21, QString(), 0}});
    OpenProject();
    for (QComboBox* c : {Combo("Combo1"), Combo("Combo2"), Combo("Combo3"), Combo("Combo4"), Combo("Combo5"),
                         Combo("Combo6")}) {
        Dlg->show();
        if (c == Combo("Combo6"))
            Dlg->ShowFound({"1", "2"});
        EXPECT_FALSE(Dlg->Changed);
        c->setCurrentIndex(0);
        QTest::keyClick(c, Qt::Key_Down);
        EXPECT_TRUE(Dlg->Changed) << c->currentText().toStdString();
        Dlg->hide();
    }
    Dlg->show();
    Address()->selectAll();
    QTest::keyClicks(Address(), "300"); // typed beyond the range: brought into it
    Address()->interpretText();
    EXPECT_EQ(Address()->value(), 255);
    EXPECT_TRUE(Dlg->Changed);
    Dlg->hide();

    // A change in the search group alone still sends the confirmation through the version query.
    Dlg->show();
    Select(Combo("Combo5"), "4800");
    QTest::keyClick(Combo("Combo5"), Qt::Key_Down);
    const size_t before = Requests();
    Button("btnOk")->click();
    EXPECT_GT(Requests(), before);
    EXPECT_EQ(StatusPane()->text(), Found);
    EXPECT_TRUE(Dlg->Accepted);
}

namespace {
// The caption of the button Return pressed with the focus on each control of the dialog that takes
// it ("" when none), as "control: button". The dialog is shown again after a press closed it.
QStringList ReturnPresses(QDialog* d) {
    QString pressed;
    std::vector<QMetaObject::Connection> spies;
    for (QPushButton* b : d->findChildren<QPushButton*>())
        spies.push_back(QObject::connect(b, &QPushButton::clicked, [&pressed, b] { pressed = b->text(); }));
    d->show();
    QList<QWidget*> controls;
    for (QWidget* w : d->findChildren<QWidget*>())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
            controls << w;
    QStringList presses;
    for (QWidget* w : controls) {
        if (!d->isVisible())
            d->show();
        QApplication::setActiveWindow(d);
        w->setFocus(Qt::OtherFocusReason);
        pressed.clear();
        QTest::keyClick(d->focusWidget() ? d->focusWidget() : w, Qt::Key_Return);
        presses << QStringLiteral("%1: %2").arg(w->metaObject()->className(), pressed);
    }
    d->hide();
    for (const auto& c : spies)
        QObject::disconnect(c);
    return presses;
}

// Every press went to ok.
void ExpectAllPress(const QStringList& presses, const QString& ok) {
    QStringList want;
    for (const QString& p : presses)
        want << p.section(QLatin1Char(':'), 0, 0) + QStringLiteral(": ") + ok;
    EXPECT_EQ(presses.join(QLatin1Char('\n')).toStdString(), want.join(QLatin1Char('\n')).toStdString());
}
} // namespace

// Typed settings are never lost to Return: wherever the focus is, also on a button a mouse click
// left it on, Return is the dialog's "Ok"; Escape is its "Отмена".
TEST_F(DevSet, ReturnIsOkAndEscapeIsCancelInEveryDialog) {
    StartAll({{1, 21, QString(), 0}, {7, 21, QString(), 0}});
    OpenProject();

    // The connection dialog: an address typed and confirmed with Return is stored.
    const QStringList devSet = ReturnPresses(Dlg);
    EXPECT_GT(devSet.size(), 8);
    ExpectAllPress(devSet, "Ok");
    Dlg->show();
    SelectSim();
    QTest::mouseClick(Button("btnSearch"),
                      Qt::LeftButton); // keeps the focus after the click
    ASSERT_TRUE(WaitIdle());
    Address()->setFocus();
    Address()->selectAll();
    QTest::keyClicks(Address(), "7");
    QTest::keyClick(Address(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Dlg->isVisible(); }, 10000));
    EXPECT_TRUE(Dlg->Accepted);
    EXPECT_EQ(State.CurDev().Address, 7);
    // Escape: nothing stored, as with "Отмена".
    Dlg->show();
    Address()->setFocus();
    Address()->selectAll();
    QTest::keyClicks(Address(), "9");
    QTest::keyClick(Address(), Qt::Key_Escape);
    EXPECT_FALSE(Dlg->isVisible());
    EXPECT_EQ(State.CurDev().Address, 7);

    // The program settings.
    TfrmProgSet& settings = *Control<TfrmProgSet>(Main.get(), "frmProgSet");
    const QStringList progSet = ReturnPresses(&settings);
    ExpectAllPress(progSet, "Ok");
    const bool confirm = State.Settings.Confirm;
    settings.show();
    Control<QCheckBox>(&settings, "CB4")->setFocus();
    QTest::keyClick(Control<QCheckBox>(&settings, "CB4"), Qt::Key_Space);
    QTest::keyClick(Control<QCheckBox>(&settings, "CB4"), Qt::Key_Escape);
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(State.Settings.Confirm, confirm);
    settings.show();
    QTest::keyClick(Control<QCheckBox>(&settings, "CB4"), Qt::Key_Space);
    QTest::keyClick(Control<QCheckBox>(&settings, "CB4"), Qt::Key_Return);
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(State.Settings.Confirm, !confirm);

    // Calibration: Return closes and never starts a calibration from a start button with the focus.
    TfrmCalib calib(State, Line->Api(), Main.get());
    const QStringList calibPresses = ReturnPresses(&calib);
    ExpectAllPress(calibPresses, "Закрыть");
    EXPECT_FALSE(calib.Running());

    THelpWindow help(ProgDir + "help/");
    const QStringList helpPresses = ReturnPresses(&help);
    ExpectAllPress(helpPresses, "Закрыть");
}
