// Project files through the main window: New, Open, Save, Save As, Close, the file format and the
// project state the window shows.
#include "MainFixture.h"
#include "common/IniFile.h"
#include "ui/DevTable.h"
#include "ui/MeasureView.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {
const QString Title = QStringLiteral("Настройка приборов серии Kestrin K1");
const QString SaveQuestion = QStringLiteral("Текущий проект был изменен. Сохранить?");
const QString K1 = QStringLiteral("Kestrin K1");
const QString K1Mini = QStringLiteral("Kestrin K1 mini");

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
        return {Main->btnNew->isEnabled(), Main->btnOpen->isEnabled(), Main->btnSave->isEnabled(),
                Main->miSaveAs->isEnabled(), Main->btnClose->isEnabled()};
    }
    // The state, the enabled project commands and the status text agree.
    void ExpectState(uint8_t state, TCmds cmds, const QString& text) {
        EXPECT_EQ(State.PrjState, state);
        EXPECT_EQ(Cmds(), cmds) << "state " << int(state);
        EXPECT_EQ(Main->gsProjectText->text(), text);
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
        Main->frmDev->ValuesToTable(State.CurDev());
        Main->frmDev->TableToValues(State.CurDev());
        std::vector<QStringList> all;
        for (const auto& d : State.DevList)
            all.push_back(d->Values);
        return all;
    }
    void ChangeProject() {
        Main->PrjChange();
        ASSERT_EQ(State.PrjState, PrjChanged);
    }
    void WriteProject(const QString& path, const QString& text) { TestUtil::WriteCp1251(path, text); }
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
    Main->pcMain->setCurrentIndex(2);
    const QString path = ProgDir + "one.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(path));
    EXPECT_EQ(Main->spMessage->text(), QStringLiteral("Проект был сохранен"));

    ASSERT_TRUE(Main->PrjClose());
    EXPECT_NE(State.DevList[1]->Values, values[1]); // reset by the close
    State.CurDev().Address = 1;
    ASSERT_TRUE(Main->PrjOpenFile(path));
    EXPECT_EQ(Main->spMessage->text(), QStringLiteral("Проект был открыт"));
    EXPECT_EQ(Main->windowTitle(), Title + " : one.prj");
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(State.DevList[i]->Values, values[i]) << "entry " << i;
    EXPECT_EQ(State.ActDevice, 2);
    EXPECT_EQ(State.CurDev().COMPort, "SIM1");
    EXPECT_EQ(State.CurDev().BaudRate, 19200);
    EXPECT_EQ(State.CurDev().Address, 42);
    EXPECT_EQ(Main->pcMain->currentIndex(), 2);
    EXPECT_EQ(Main->frmDev->CellText(1, 1), values[0][0]);

    // Saving the reopened project writes the same file again.
    const QString again = ProgDir + "two.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(again));
    EXPECT_EQ(TestUtil::ReadBytes(again), TestUtil::ReadBytes(path));
}

TEST_F(Project, SectionsComeInOrderAndForeignSectionsSurviveASave) {
    NewProject();
    const QString fresh = ProgDir + "fresh.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(fresh));
    const TIniFile f(fresh);
    EXPECT_EQ(f.ReadSections(), QStringList({"Main", K1, K1Mini}));
    EXPECT_EQ(f.ReadSection("Main"),
              QStringList({"Version", "ActDevice", "COMPort", "BaudRate", "Address", "ActPage"}));
    EXPECT_TRUE(f.ReadString(K1, "Device", {}).startsWith('|'));

    const QString old = ProgDir + "old.prj";
    WriteProject(old, "[Notes]\nText=заметка\n[Kestrin K1]\nOther=5\n[Main]\nExtra=9\n[Tail]\nA=1\n");
    ASSERT_TRUE(Main->PrjSaveToPath(old));
    const TIniFile o(old);
    EXPECT_EQ(o.ReadString("Notes", "Text", {}), QStringLiteral("заметка"));
    EXPECT_EQ(o.ReadString("Tail", "A", {}), "1");
    EXPECT_FALSE(o.ValueExists("Main", "Extra")); // the program's own sections are rewritten whole
    EXPECT_FALSE(o.ValueExists(K1, "Other"));
    EXPECT_TRUE(o.ValueExists(K1Mini, "Device"));
    EXPECT_EQ(o.ReadSection("Main").size(), 6);
}

TEST_F(Project, StateTransitionsAndTheCommandsTheyEnable) {
    const TCmds none{true, true, false, false, false};
    const TCmds saved{true, true, false, true, true};
    const TCmds changed{true, true, true, true, true};
    const QString noneText = QStringLiteral("Нет открытого проекта");
    const QString savedText = QStringLiteral("Текущий проект сохранен");
    const QString changedText = QStringLiteral("Текущий проект изменен");
    ExpectState(PrjNone, none, noneText);
    Main->PrjChange(); // nothing to change
    ExpectState(PrjNone, none, noneText);

    DevSetAccepts = false; // the connection dialog refused: still no project
    Main->ToolBarClick(Main->btnNew);
    ExpectState(PrjNone, none, noneText);
    NewProject();
    ExpectState(PrjSaved, saved, savedText);
    ChangeProject();
    ExpectState(PrjChanged, changed, changedText);
    Main->PrjChange();
    ExpectState(PrjChanged, changed, changedText);

    const QString path = ProgDir + "states.prj";
    Dialogs.FileNames = {path};
    Main->ToolBarClick(Main->btnSave);
    ExpectState(PrjSaved, saved, savedText);
    EXPECT_EQ(Main->windowTitle(), Title + " : states.prj");
    ASSERT_TRUE(Main->PrjSaveToPath(path)); // a save from state 1
    ExpectState(PrjSaved, saved, savedText);

    ChangeProject();
    Dialogs.Answers = {TMsgAnswer::No};
    Main->ToolBarClick(Main->btnClose);
    ExpectState(PrjNone, none, noneText);
    EXPECT_EQ(Main->windowTitle(), Title);
    EXPECT_EQ(Main->spMessage->text(), QStringLiteral("Проект был закрыт"));
    EXPECT_TRUE(State.PrjPath.isEmpty());

    ASSERT_TRUE(Main->PrjOpenFile(path));
    ExpectState(PrjSaved, saved, savedText);
    ChangeProject();
    ASSERT_TRUE(Main->PrjOpenFile(path)); // from a changed project, without a question
    ExpectState(PrjSaved, saved, savedText);
    ChangeProject();
    Dialogs.Answers = {TMsgAnswer::No};
    NewProject(); // New closes the changed project first
    ExpectState(PrjSaved, saved, savedText);
    EXPECT_EQ(State.PrjPath, State.SentinelPath());
}

TEST_F(Project, OpenAsksYesNoCancelWhenChanged) {
    NewProject();
    const QString other = ProgDir + "other.prj";
    State.CurDev().Address = 99;
    ASSERT_TRUE(Main->PrjSaveToPath(other));
    State.PrjPath = State.SentinelPath(); // back to a never-saved project
    State.CurDev().Address = 5;
    ChangeProject();

    Dialogs.Answers = {TMsgAnswer::Cancel};
    Main->ToolBarClick(Main->btnOpen);
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text, SaveQuestion);
    EXPECT_EQ(Dialogs.Asked[0].Caption, "Warning");
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::YesNoCancel);
    EXPECT_TRUE(Dialogs.FileDialogs.empty());
    EXPECT_EQ(State.PrjState, PrjChanged);

    Dialogs.Answers = {TMsgAnswer::No};
    Dialogs.FileNames = {""};
    Main->ToolBarClick(Main->btnOpen);
    ASSERT_EQ(Dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(Dialogs.FileDialogs[0].Title, QStringLiteral("Загрузка проекта"));
    EXPECT_EQ(Dialogs.FileDialogs[0].DefaultExt, "prj");
    EXPECT_EQ(Dialogs.FileDialogs[0].Directory, ProgDir);
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_FALSE(QFileInfo::exists(ProgDir + "noname.prj"));

    // Yes saves straight to the current path: a never-saved project lands in "noname.prj".
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {other};
    Main->ToolBarClick(Main->btnOpen);
    EXPECT_EQ(Dialogs.FileDialogs.size(), 2u); // no save dialog
    EXPECT_EQ(TIniFile(ProgDir + "noname.prj").ReadInteger("Main", "Address", -1), 5);
    EXPECT_EQ(State.PrjPath, other);
    EXPECT_EQ(State.CurDev().Address, 99);
    EXPECT_EQ(State.PrjState, PrjSaved);
}

TEST_F(Project, CloseAndNewAskYesNoCancelWhenChanged) {
    NewProject();
    FillValues();
    ChangeProject();
    const QStringList values = State.CurDev().Values;
    int dialogShows = 0;
    Main->ShowDevSetDialog = [&] {
        ++dialogShows;
        return true;
    };

    Dialogs.Answers = {TMsgAnswer::Cancel};
    Main->ToolBarClick(Main->btnNew);
    EXPECT_EQ(dialogShows, 0);
    Dialogs.Answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(Main->PrjClose());
    ASSERT_EQ(Dialogs.Asked.size(), 2u);
    for (const TAskedMessage& m : Dialogs.Asked) {
        EXPECT_EQ(m.Text, SaveQuestion);
        EXPECT_EQ(m.Caption, QStringLiteral("Внимание"));
        EXPECT_EQ(m.Buttons, TMsgButtons::YesNoCancel);
    }
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_EQ(Main->windowTitle(), Title + " : noname.prj");
    EXPECT_EQ(State.CurDev().Values, values);

    // Yes on a never-saved project asks for a name; cancelling it keeps the project open and
    // changed, since the user asked for the values to be kept. No then closes.
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {""};
    EXPECT_FALSE(Main->PrjClose());
    EXPECT_EQ(Dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_EQ(State.CurDev().Values, values);
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(Main->PrjClose());
    EXPECT_EQ(State.PrjState, PrjNone);
    EXPECT_NE(State.CurDev().Values, values);

    // Yes with a name saves, then closes; New then shows the connection dialog.
    Main->ToolBarClick(Main->btnNew);
    EXPECT_EQ(dialogShows, 1);
    ChangeProject();
    const QString path = ProgDir + "closed.prj";
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {path};
    Main->ToolBarClick(Main->btnNew);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(dialogShows, 2);
    EXPECT_EQ(State.PrjPath, State.SentinelPath());
}

TEST_F(Project, SaveOfANeverSavedProjectAsksForANameOnce) {
    NewProject();
    ChangeProject();
    const QString path = ProgDir + "named.prj";
    Dialogs.FileNames = {path};
    Main->ToolBarClick(Main->btnSave);
    ASSERT_EQ(Dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(Dialogs.FileDialogs[0].Title, QStringLiteral("Сохранение проекта"));
    EXPECT_EQ(Dialogs.FileDialogs[0].Filters, QStringList({QStringLiteral("Проект (*.prj)")}));
    EXPECT_EQ(Dialogs.FileDialogs[0].DefaultExt, "prj");
    EXPECT_EQ(Main->windowTitle(), Title + " : named.prj");
    EXPECT_FALSE(QFileInfo::exists(ProgDir + "noname.prj"));

    State.CurDev().Address = 77;
    ChangeProject();
    Main->ToolBarClick(Main->btnSave);
    EXPECT_EQ(Dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(TIniFile(path).ReadInteger("Main", "Address", -1), 77);
    EXPECT_EQ(State.PrjState, PrjSaved);
}

TEST_F(Project, MissingEmptyAndDamagedFilesOpenWithDefaults) {
    NewProject();
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), "K1_103"));
    Main->ApplyDevType(State.CurDevType());
    const QStringList base = [this] {
        TDevProp t;
        t.Dir = State.CurDevType().Dir;
        LoadDescriptions(ProgDir, t, {});
        QStringList names;
        for (const auto& p : t.Params)
            names << p->Name;
        return names;
    }();
    State.CurDev().Values[0] = "keep";
    State.ActDevice = 2;
    State.CurDev().Address = 9;
    State.CurDev().BaudRate = 300;

    const QString missing = ProgDir + "typed-name.prj";
    ASSERT_TRUE(Main->PrjOpenFile(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(State.PrjPath, missing);
    EXPECT_EQ(State.CurDevType().Version, QString()); // base descriptions again
    EXPECT_EQ(State.CurDevType().Param(15).Name, base[15]);
    EXPECT_EQ(State.CurDev().Values[0], "keep");
    EXPECT_EQ(State.ActDevice, 0);
    EXPECT_EQ(State.CurDev().Address, 0);
    EXPECT_EQ(State.CurDev().BaudRate, 9600);
    EXPECT_EQ(State.CurDev().COMPort, "ttyS0"); // "COM1" is not a port here
    EXPECT_EQ(Main->pcMain->currentIndex(), 0);

    // Empty, binary and truncated files: nothing crashes, and what is missing reads as default.
    const QString empty = ProgDir + "empty.prj";
    TestUtil::WriteBytes(empty, {});
    State.CurDev().Address = 9;
    ASSERT_TRUE(Main->PrjOpenFile(empty));
    EXPECT_EQ(State.CurDev().Address, 0);

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 131 + 7) % 256 == '[' ? 0 : (i * 131 + 7) % 256));
    const QString bin = ProgDir + "binary.prj";
    TestUtil::WriteBytes(bin, binary);
    State.CurDev().Address = 9;
    ASSERT_TRUE(Main->PrjOpenFile(bin));
    EXPECT_EQ(State.CurDev().Address, 0);
    EXPECT_EQ(State.CurDev().Values[0], "keep");

    const QString full = ProgDir + "full.prj";
    State.CurDev().Address = 17;
    ASSERT_TRUE(Main->PrjSaveToPath(full));
    const QByteArray text = TestUtil::ReadBytes(full);
    const qsizetype cut = text.indexOf("[Kestrin K1]") + 30; // inside the first packed value list
    ASSERT_GT(cut, 30);
    const QString truncated = ProgDir + "truncated.prj";
    TestUtil::WriteBytes(truncated, text.left(cut));
    for (QString& v : State.CurDev().Values)
        v = "old";
    ASSERT_TRUE(Main->PrjOpenFile(truncated));
    EXPECT_EQ(State.CurDev().Address, 17);
    EXPECT_EQ(State.CurDev().Values[0], "keep");
    EXPECT_EQ(State.CurDev().Values.last(), "old"); // not reached by the cut text
    EXPECT_EQ(State.PrjState, PrjSaved);
}

TEST_F(Project, HandWrittenFilesFollowTheIniRules) {
    NewProject();
    const int n = State.CurDevType().ParamCount();
    const QStringList before = State.DevList[1]->Values;
    const QString path = ProgDir + "hand.prj";
    WriteProject(path,
                 "; written by hand\n[Other]\nCOMPort=ttyUSB0\n[main]\nversion=\nACTDEVICE= 1 \n"
                 "comport=sim1\nBaudRate=$12C0\nAddress=0x21\nActPage=7\n[kestrin k1]\ndevice=|a|b||d\n");
    ASSERT_TRUE(Main->PrjOpenFile(path));
    EXPECT_EQ(State.ActDevice, 1);
    EXPECT_EQ(State.CurDev().COMPort, "SIM1"); // found with letter case ignored, kept as the list spells it
    EXPECT_EQ(State.CurDev().BaudRate, 4800);
    EXPECT_EQ(State.CurDev().Address, 0x21);
    EXPECT_EQ(State.CurDev().Values.mid(0, 3), QStringList({"a", "b", ""}));
    EXPECT_EQ(State.CurDev().Values.size(), n);
    EXPECT_EQ(State.DevList[1]->Values, before); // its section is missing

    // ActDevice beyond the designations keeps its low 8 bits and shows the first model.
    WriteProject(path, "[Main]\nActDevice=300\nCOMPort=ttyACM9\nAddress=513\n");
    ASSERT_TRUE(Main->PrjOpenFile(path));
    EXPECT_EQ(State.ActDevice, 44);
    EXPECT_EQ(Main->spDevStatus->text(), K1);
    EXPECT_EQ(State.CurDev().COMPort, "ttyS0"); // not a port: the first one
    EXPECT_EQ(State.CurDev().Address, 1);

    // More packed values than parameters: the surplus is ignored; fewer: the rest keep theirs.
    QString many = "|";
    for (int i = 0; i < n + 5; ++i)
        many += QString::number(i) + "|";
    WriteProject(path, "[Kestrin K1]\nDevice=" + many + "\n[Kestrin K1 mini]\nDevice=|x|y|\n");
    State.DevList[1]->Values[2] = "z";
    ASSERT_TRUE(Main->PrjOpenFile(path));
    EXPECT_EQ(State.CurDev().Values.size(), n);
    EXPECT_EQ(State.CurDev().Values.last(), QString::number(n - 1));
    EXPECT_EQ(State.DevList[1]->Values.mid(0, 3), QStringList({"x", "y", "z"}));
}

TEST_F(Project, VersionWithoutDescriptionsRefusesTheFileAndKeepsTheOpenProject) {
    NewProject();
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), "K1_103"));
    const QString v103 = ProgDir + "v103.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(v103));
    const QString basePrj = ProgDir + "base.prj";
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), {}));
    ASSERT_TRUE(Main->PrjSaveToPath(basePrj));

    ASSERT_TRUE(Main->PrjOpenFile(v103)); // the version's pair is loaded for it
    EXPECT_EQ(State.CurDevType().Version, "K1_103");
    ASSERT_TRUE(Main->PrjOpenFile(basePrj));
    EXPECT_EQ(State.CurDevType().Version, QString());

    QFile::remove(MenuPath(ProgDir, State.CurDevType(), "K1_103"));
    ChangeProject();
    EXPECT_FALSE(Main->PrjOpenFile(v103));
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text,
              QStringLiteral("Не удалось загрузить проект!\rНеизвестная модификация прибора."));
    EXPECT_EQ(Dialogs.Asked[0].Caption, Title);
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::Ok);
    EXPECT_EQ(State.PrjPath, basePrj);
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_EQ(State.CurDevType().Version, QString());
}

TEST_F(Project, SaveIntoAnUnwritablePlaceFailsWithAMessageAndChangesNothing) {
    NewProject();
    ChangeProject();
    TestUtil::WriteBytes(ProgDir + "blocker", "not a directory");
    const QStringList filesBefore = QDir(ProgDir).entryList(QDir::Files);
    const QString path = ProgDir + "blocker/p.prj";
    EXPECT_FALSE(Main->PrjSaveToPath(path));
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_TRUE(Dialogs.Asked[0].Text.startsWith(QStringLiteral("Не удалось сохранить проект!\r") + path));
    EXPECT_EQ(Dialogs.Asked[0].Buttons, TMsgButtons::Ok);
    EXPECT_EQ(QDir(ProgDir).entryList(QDir::Files), filesBefore);
    EXPECT_EQ(TestUtil::ReadBytes(ProgDir + "blocker"), "not a directory");
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_EQ(State.PrjPath, State.SentinelPath());
    EXPECT_EQ(Main->windowTitle(), Title + " : noname.prj");
}

TEST_F(MainFixture, StartUpReopensTheLastProjectOnlyWhenItExists) {
    ASSERT_TRUE(Start());
    NewProject();
    State.CurDev().Address = 23;
    const QString path = ProgDir + "last.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(path));
    State.PrjState = PrjNone;
    Main.reset();

    for (const bool present : {true, false}) {
        if (!present)
            QFile::remove(path);
        TestUtil::WriteCp1251(ProgDir + "kestrin.ini", "[Main]\nLoad=1\nProject=" + path + "\n");
        Dialogs.Asked.clear();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Dialogs.Asked.empty());
        if (present) {
            EXPECT_EQ(State.PrjState, PrjSaved);
            EXPECT_EQ(State.PrjPath, path);
            EXPECT_EQ(State.CurDev().Address, 23);
            EXPECT_EQ(Main->windowTitle(), Title + " : last.prj");
        } else {
            EXPECT_EQ(State.PrjState, PrjNone);
            EXPECT_TRUE(State.PrjPath.isEmpty());
        }
        State.PrjState = PrjNone;
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
    EXPECT_FALSE(Main->PrjClose());
    Dialogs.Answers = {TMsgAnswer::Yes};
    Main->ToolBarClick(Main->btnNew);
    EXPECT_EQ(dialogShows, 0);
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {ProgDir + "other.prj"};
    Main->ToolBarClick(Main->btnOpen);
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
    EXPECT_EQ(State.PrjState, PrjChanged);
    EXPECT_EQ(State.PrjPath, path);
    ASSERT_EQ(State.DevList.size(), 2u);
    EXPECT_EQ(State.CurDev().Values, values);
    Main->frmDev->TableToValues(State.CurDev());
    EXPECT_EQ(State.CurDev().Values, values);

    // No, chosen explicitly, closes without saving.
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(Main->PrjClose());
    EXPECT_EQ(State.PrjState, PrjNone);
}

TEST_F(Project, ValuesLongerThanAnIniValueComeBackWhole) {
    NewProject();
    std::vector<QStringList> values = FillValues();
    // A text row far beyond 2047 characters, in the first entry, ahead of the others.
    const int row = 1;
    ASSERT_EQ(State.CurDevType().Param(row - 1).SType, 0);
    values[0][row - 1] = QString(3000, QLatin1Char('7'));
    Main->frmDev->SetCellText(1, row, values[0][row - 1]);
    const QString path = ProgDir + "long.prj";
    ASSERT_TRUE(Main->PrjSaveToPath(path));
    Dialogs.Answers = {TMsgAnswer::No};
    ASSERT_TRUE(Main->PrjClose());
    ASSERT_TRUE(Main->PrjOpenFile(path));
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(State.DevList[i]->Values, values[i]) << "entry " << i;
}

TEST_F(MainFixture, LineBreaksNeverReachAProjectFile) {
    // A free-text parameter: the editor takes any text there but the project's separators.
    const QString desc = ProgDir + "K1/data/device.ini";
    TestUtil::WriteCp1251(desc, TestUtil::ReadCp1251(desc) +
                                    QStringLiteral("\n[Серийный номер]\nVType=7\nAddress=$70\nSType=0\n"));
    ASSERT_TRUE(Start());
    NewProject();
    TfrmDev& t = *Main->frmDev;
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
    EXPECT_FALSE(Main->PrjSaveToPath(path));
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
    Main->pcMain->setCurrentWidget(Main->TabMeas);
    ASSERT_TRUE(Main->PrjSaveToPath(path));
    const auto pageOf = [this] {
        const int i = Main->pcMain->currentIndex();
        // The page shown has a tab of its own, selected; a page without one (the channel page)
        // shows a bare table with no commands and no tab to say where the user is.
        EXPECT_TRUE(Main->pcMain->tabBar()->isTabVisible(i)) << "page " << i;
        EXPECT_EQ(Main->pcMain->tabBar()->currentIndex(), i);
        return Main->pcMain->currentWidget();
    };
    // ActPage as this program writes it, as a program counting only the shown tabs writes it, and
    // values no page has.
    const std::vector<std::pair<QString, bool>> cases = {{QString(), true}, {"0", false}, {"1", true},
                                                         {"2", true},       {"7", false}, {"-1", false}};
    const QByteArray saved = TestUtil::ReadBytes(path);
    ASSERT_TRUE(saved.contains("\nActPage=2\r\n"));
    for (const auto& [actPage, measure] : cases) {
        const auto page = [&, measure = measure] { return measure ? Main->TabMeas : Main->TabDev; };
        if (!actPage.isEmpty())
            TestUtil::WriteBytes(path, QByteArray(saved).replace("\nActPage=2\r\n",
                                                                 "\nActPage=" + actPage.toLatin1() + "\r\n"));
        Main->pcMain->setCurrentWidget(measure ? Main->TabDev : Main->TabMeas);
        Main->PrjChange();
        // By Open (the changed project is not saved first) ...
        Dialogs.Answers = {TMsgAnswer::No};
        Dialogs.FileNames = {path};
        Main->ToolBarClick(Main->btnOpen);
        EXPECT_EQ(pageOf(), page()) << "ActPage=" << actPage.toStdString();
        EXPECT_EQ(State.PrjState, PrjSaved) << "ActPage=" << actPage.toStdString();
        // ... and at start.
        State.PrjState = PrjNone;
        Main.reset();
        TestUtil::WriteCp1251(ProgDir + "kestrin.ini", "[Main]\nLoad=1\nProject=" + path + "\n");
        ASSERT_TRUE(Start());
        Main->show();
        EXPECT_EQ(pageOf(), page()) << "ActPage=" << actPage.toStdString() << " at start";
        EXPECT_EQ(State.PrjState, PrjSaved) << "ActPage=" << actPage.toStdString() << " at start";
        EXPECT_EQ(Main->frmMeasure->btnMeasure->isVisible(), measure);
    }
}
