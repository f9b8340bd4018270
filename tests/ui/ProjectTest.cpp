// The project through the main window: what the window shows of it (caption, status bar, page,
// table), the commands it enables, start-up and the program's close. The file format and the
// commands' questions are tested without a window (tests/model/ProjectTest.cpp).
#include "MainFixture.h"
#include "ui/DevTable.h"
#include "ui/MeasureView.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {
const QString Title = QStringLiteral("Настройка приборов серии Kestrin K1");

struct TCmds {
    bool New, Open, Save, SaveAs, Close;
    bool operator==(const TCmds&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TCmds& c) {
    return os << c.New << c.Open << c.Save << c.SaveAs << c.Close;
}

class Project : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        ASSERT_TRUE(Start());
    }
    TCmds Cmds() const {
        return {Enabled("actNew"), Enabled("actOpen"), Enabled("actSave"), Enabled("actSaveAs"),
                Enabled("actClose")};
    }
    // The state, the enabled project commands and the status text agree.
    void ExpectState(TPrjState state, TCmds cmds, const QString& text) {
        EXPECT_EQ(State.PrjState, state);
        EXPECT_EQ(Cmds(), cmds) << "state " << int(state);
        EXPECT_EQ(Pane("gsProjectText"), text);
    }
    // Distinctive values in every record: the active one goes through the table, so what the table
    // gives back is what a save writes.
    std::vector<QStringList> FillValues() {
        for (size_t i = 0; i < State.DevList.size(); ++i) {
            const TDevProp& t = *State.DevTypes[i];
            QStringList& v = State.DevList[i]->Values;
            for (int k = 0; k < t.ParamCount(); ++k) {
                const TParam& p = t.Param(k);
                if (p.SType == 2) {
                    v[k] = k % 2 ? "1" : "0";
                } else if (p.SType == 1) {
                    for (int o = MenuSize - 1; o >= 0; --o)
                        if (p.Menu && p.Menu->at(o) != MenuNoneText) {
                            v[k] = QString::number(o);
                            break;
                        }
                } else {
                    v[k] = QStringLiteral("знач %1=%2").arg(i).arg(k);
                }
            }
        }
        DevView().ValuesToTable(State.CurDev());
        DevView().TableToValues(State.CurDev());
        std::vector<QStringList> all;
        for (const auto& d : State.DevList)
            all.push_back(d->Values);
        return all;
    }
    void ChangeProject() {
        Prj().Change();
        ASSERT_EQ(State.PrjState, TPrjState::PrjChanged);
    }
};
} // namespace

TEST_F(Project, SaveCloseOpenKeepsEveryValueOfEveryEntry) {
    NewProject();
    ASSERT_EQ(State.DevList.size(), 2u);
    const std::vector<QStringList> values = FillValues();
    EXPECT_EQ(State.CurDev().Values[0], values[0][0]);
    State.ActDevice = 2;
    State.CurDev().COMPort = "SIM1";
    State.CurDev().BaudRate = 19200;
    State.CurDev().Address = 42;
    Widget<QTabWidget>("pcMain")->setCurrentIndex(2);
    const QString path = ProgDir + "one.prj";
    ASSERT_TRUE(Prj().SaveToPath(path));
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Проект был сохранен"));

    ASSERT_TRUE(Prj().Close());
    EXPECT_NE(State.DevList[1]->Values, values[1]); // reset by the close
    State.CurDev().Address = 1;
    ASSERT_TRUE(Prj().OpenFile(path));
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Проект был открыт"));
    EXPECT_EQ(Main->windowTitle(), Title + " : one.prj");
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(State.DevList[i]->Values, values[i]) << "entry " << i;
    EXPECT_EQ(State.ActDevice, 2);
    EXPECT_EQ(State.CurDev().COMPort, "SIM1");
    EXPECT_EQ(State.CurDev().BaudRate, 19200);
    EXPECT_EQ(State.CurDev().Address, 42);
    EXPECT_EQ(Widget<QTabWidget>("pcMain")->currentIndex(), 2);
    EXPECT_EQ(DevView().CellText(1, 1), values[0][0]);

    // Saving the reopened project writes the same file again.
    const QString again = ProgDir + "two.prj";
    ASSERT_TRUE(Prj().SaveToPath(again));
    EXPECT_EQ(TestUtil::ReadBytes(again), TestUtil::ReadBytes(path));
}

TEST_F(Project, StateTransitionsAndTheCommandsTheyEnable) {
    const TCmds none{true, true, false, false, false};
    const TCmds saved{true, true, false, true, true};
    const TCmds changed{true, true, true, true, true};
    const QString noneText = QStringLiteral("Нет открытого проекта");
    const QString savedText = QStringLiteral("Текущий проект сохранен");
    const QString changedText = QStringLiteral("Текущий проект изменен");
    ExpectState(TPrjState::PrjNone, none, noneText);
    Prj().Change(); // nothing to change
    ExpectState(TPrjState::PrjNone, none, noneText);

    DevSetAccepts = false; // the connection dialog refused: still no project
    Trigger("actNew");
    ExpectState(TPrjState::PrjNone, none, noneText);
    NewProject();
    ExpectState(TPrjState::PrjSaved, saved, savedText);
    ChangeProject();
    ExpectState(TPrjState::PrjChanged, changed, changedText);
    Prj().Change();
    ExpectState(TPrjState::PrjChanged, changed, changedText);

    const QString path = ProgDir + "states.prj";
    Dialogs.FileNames = {path};
    Trigger("actSave");
    ExpectState(TPrjState::PrjSaved, saved, savedText);
    EXPECT_EQ(Main->windowTitle(), Title + " : states.prj");
    ASSERT_TRUE(Prj().SaveToPath(path)); // a save from state 1
    ExpectState(TPrjState::PrjSaved, saved, savedText);

    ChangeProject();
    Dialogs.Answers = {TMsgAnswer::No};
    Trigger("actClose");
    ExpectState(TPrjState::PrjNone, none, noneText);
    EXPECT_EQ(Main->windowTitle(), Title);
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Проект был закрыт"));
    EXPECT_TRUE(State.PrjPath.isEmpty());

    ASSERT_TRUE(Prj().OpenFile(path));
    ExpectState(TPrjState::PrjSaved, saved, savedText);
    ChangeProject();
    ASSERT_TRUE(Prj().OpenFile(path)); // from a changed project, without a question
    ExpectState(TPrjState::PrjSaved, saved, savedText);
    ChangeProject();
    Dialogs.Answers = {TMsgAnswer::No};
    NewProject(); // New closes the changed project first
    ExpectState(TPrjState::PrjSaved, saved, savedText);
    EXPECT_EQ(State.PrjPath, TProject::SentinelPath(State.ProgDir));
}

TEST_F(MainFixture, StartUpReopensTheLastProjectOnlyWhenItExists) {
    ASSERT_TRUE(Start());
    NewProject();
    State.CurDev().Address = 23;
    const QString path = ProgDir + "last.prj";
    ASSERT_TRUE(Prj().SaveToPath(path));
    State.PrjState = TPrjState::PrjNone;
    Main.reset();

    for (const bool present : {true, false}) {
        if (!present)
            QFile::remove(path);
        TestUtil::WriteCp1251(ProgDir + "kestrin.ini", "[Main]\nLoad=1\nProject=" + path + "\n");
        Dialogs.Asked.clear();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Dialogs.Asked.empty());
        if (present) {
            EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
            EXPECT_EQ(State.PrjPath, path);
            EXPECT_EQ(State.CurDev().Address, 23);
            EXPECT_EQ(Main->windowTitle(), Title + " : last.prj");
        } else {
            EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
            EXPECT_TRUE(State.PrjPath.isEmpty());
        }
        State.PrjState = TPrjState::PrjNone;
        Main.reset();
    }
}

TEST_F(Project, AFailedSaveStopsCloseOpenNewAndProgramExit) {
    NewProject();
    FillValues();
    // The project's file can no longer be written: a file stands where its folder was.
    TestUtil::WriteBytes(ProgDir + "gone", "not a folder");
    const QString path = ProgDir + "gone/p.prj";
    State.PrjPath = path;
    ChangeProject();
    const QStringList values = State.CurDev().Values;
    int dialogShows = 0;
    Main->ShowDevSetDialog = [&] {
        ++dialogShows;
        return true;
    };
    Main->show();

    Dialogs.Answers = {TMsgAnswer::Yes};
    EXPECT_FALSE(Prj().Close());
    Dialogs.Answers = {TMsgAnswer::Yes};
    Trigger("actNew");
    EXPECT_EQ(dialogShows, 0);
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {ProgDir + "other.prj"};
    Trigger("actOpen");
    EXPECT_TRUE(Dialogs.FileDialogs.empty()); // the open dialog is not shown
    Dialogs.Answers = {TMsgAnswer::Yes};
    EXPECT_FALSE(Main->close());
    EXPECT_TRUE(Main->isVisible());

    int failures = 0;
    for (const TAskedMessage& m : Dialogs.Asked)
        if (m.Text.startsWith(QStringLiteral("Не удалось сохранить проект!\r") + path)) {
            ++failures;
            EXPECT_TRUE(m.Text.endsWith(QStringLiteral("папка не найдена"))) << m.Text.toStdString();
        }
    EXPECT_EQ(failures, 4);
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(State.PrjPath, path);
    ASSERT_EQ(State.DevList.size(), 2u);
    EXPECT_EQ(State.CurDev().Values, values);
    DevView().TableToValues(State.CurDev());
    EXPECT_EQ(State.CurDev().Values, values);

    // No, chosen explicitly, closes without saving.
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(Prj().Close());
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
}

TEST_F(MainFixture, LineBreaksNeverReachAProjectFile) {
    // A free-text parameter: the editor takes any text there but the project's separators.
    const QString desc = ProgDir + "K1/data/device.ini";
    TestUtil::WriteCp1251(desc, TestUtil::ReadCp1251(desc) +
                                    QStringLiteral("\n[Серийный номер]\nVType=7\nAddress=$70\nSType=0\n"));
    ASSERT_TRUE(Start());
    NewProject();
    TfrmDev& t = DevView();
    const int p = State.CurDevType().ParamCount() - 1;
    ASSERT_EQ(State.CurDevType().Param(p).Name, QStringLiteral("Серийный номер"));
    for (const QString& typed : {QStringLiteral("A1\nB2"), QStringLiteral("A1\r"), QStringLiteral("a|b")}) {
        QString text = typed;
        Dialogs.Asked.clear();
        EXPECT_FALSE(t.CheckValue(p, text)) << typed.toStdString();
        EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Неверно введены данные!"));
    }
    QString plain = QStringLiteral("A1 B2");
    EXPECT_TRUE(t.CheckValue(p, plain));

    // A line break that reaches the table some other way never reaches the values, and a save
    // refuses to write the project, naming the row.
    t.SetCellText(1, p + 1, QStringLiteral("A1\r\nB2"));
    EXPECT_EQ(t.TableToValues(State.CurDev()), p + 1);
    EXPECT_FALSE(State.CurDev().Values[p].contains(QLatin1Char('\n')));
    EXPECT_FALSE(State.CurDev().Values[p].contains(QLatin1Char('\r')));
    const QString path = ProgDir + "broken.prj";
    Dialogs.Asked.clear();
    EXPECT_FALSE(Prj().SaveToPath(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(Dialogs.LastText().contains(QString::number(p + 1))) << Dialogs.LastText().toStdString();
}

TEST_F(MainFixture, SettingsThatCannotBeWrittenAtCloseAreReportedInAMessageBox) {
    ASSERT_TRUE(Start());
    Main->show();
    // A folder stands where the settings file was.
    const QString settings = ProgDir + "kestrin.ini";
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QDir().mkdir(settings));
    EXPECT_TRUE(Main->close());
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    const QStringList lines = Dialogs.Asked[0].Text.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 3) << Dialogs.Asked[0].Text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Не удалось сохранить настройки программы!"));
    EXPECT_EQ(lines[1], settings);
    EXPECT_FALSE(lines[2].isEmpty());
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::Ok);
    Main.reset();
}

TEST_F(MainFixture, AProjectOpensOnTheSavedPageAtStartAndByOpenWithoutBeingChanged) {
    ASSERT_TRUE(Start());
    NewProject();
    const QString path = ProgDir + "page.prj";
    Widget<QTabWidget>("pcMain")->setCurrentWidget(Widget("TabMeas"));
    ASSERT_TRUE(Prj().SaveToPath(path));
    const auto pageOf = [this] {
        const int i = Widget<QTabWidget>("pcMain")->currentIndex();
        // The page shown has a tab of its own, selected; a page without one (the channel page)
        // shows a bare table with no commands and no tab to say where the user is.
        EXPECT_TRUE(Widget<QTabWidget>("pcMain")->tabBar()->isTabVisible(i)) << "page " << i;
        EXPECT_EQ(Widget<QTabWidget>("pcMain")->tabBar()->currentIndex(), i);
        return Widget<QTabWidget>("pcMain")->currentWidget();
    };
    // ActPage as this program writes it, as a program counting only the shown tabs writes it, and
    // values no page has.
    const std::vector<std::pair<QString, bool>> cases = {{QString(), true}, {"0", false}, {"1", true},
                                                         {"2", true},       {"7", false}, {"-1", false}};
    const QByteArray saved = TestUtil::ReadBytes(path);
    ASSERT_TRUE(saved.contains("\nActPage=2\r\n"));
    for (const auto& [actPage, measure] : cases) {
        const auto page = [&, measure = measure] { return measure ? Widget("TabMeas") : Widget("TabDev"); };
        if (!actPage.isEmpty())
            TestUtil::WriteBytes(path, QByteArray(saved).replace("\nActPage=2\r\n",
                                                                 "\nActPage=" + actPage.toLatin1() + "\r\n"));
        Widget<QTabWidget>("pcMain")->setCurrentWidget(measure ? Widget("TabDev") : Widget("TabMeas"));
        Prj().Change();
        // By Open (the changed project is not saved first) ...
        Dialogs.Answers = {TMsgAnswer::No};
        Dialogs.FileNames = {path};
        Trigger("actOpen");
        EXPECT_EQ(pageOf(), page()) << "ActPage=" << actPage.toStdString();
        EXPECT_EQ(State.PrjState, TPrjState::PrjSaved) << "ActPage=" << actPage.toStdString();
        // ... and at start.
        State.PrjState = TPrjState::PrjNone;
        Main.reset();
        TestUtil::WriteCp1251(ProgDir + "kestrin.ini", "[Main]\nLoad=1\nProject=" + path + "\n");
        ASSERT_TRUE(Start());
        Main->show();
        EXPECT_EQ(pageOf(), page()) << "ActPage=" << actPage.toStdString() << " at start";
        EXPECT_EQ(State.PrjState, TPrjState::PrjSaved) << "ActPage=" << actPage.toStdString() << " at start";
        EXPECT_EQ(Control<QPushButton>(&MeasureView(), "btnMeasure")->isVisible(), measure);
    }
}
