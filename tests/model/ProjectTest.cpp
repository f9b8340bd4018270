// The project object without a window: the file format, the state and what the window is told of
// it, and the questions and dialogs of New, Open, Save, Save As and Close.
#include "model/Project.h"
#include "TestUtil.h"
#include "common/IniFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

namespace {
const QString Title = QStringLiteral("Настройка приборов серии Kestrin K1");
const QString SaveQuestion = QStringLiteral("Текущий проект был изменен. Сохранить?");
const QString K1 = QStringLiteral("Kestrin K1");
const QString K1Mini = QStringLiteral("Kestrin K1 mini");

struct TAsked {
    QString Text;
    QString Caption;
    bool Question; // Yes/No/Cancel; otherwise an error with OK
};

// The window as the project sees it: a page, a table that hands the record's values back as they
// are, and scripted answers. A question or dialog the script does not expect fails the test.
class TWindow : public IProjectHost {
public:
    int Page = 0;
    int LineBreakRow = -1;
    bool Accepts = true;
    int ConnectionDialogs = 0;
    std::deque<TProjectAnswer> Answers;
    std::deque<QString> FileNames; // "" cancels the dialog
    std::vector<TAsked> Asked;
    std::vector<TProjectFileDialog> FileDialogs;

    int TableToValues(TDev&) override { return LineBreakRow; }
    void ApplyDevType(const TDevProp&) override {}
    int ActPage() const override { return Page; }
    void SetActPage(int page) override { Page = page; }
    bool RunConnectionDialog() override {
        ++ConnectionDialogs;
        return Accepts;
    }
    TProjectAnswer AskYesNoCancel(const QString& text, const QString& caption) override {
        Asked.push_back({text, caption, true});
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question " << text.toStdString();
            return TProjectAnswer::Cancel;
        }
        const TProjectAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void ShowError(const QString& text, const QString& caption) override {
        Asked.push_back({text, caption, false});
    }
    QString SaveProjectName(const TProjectFileDialog& dialog) override { return Next(dialog); }
    QString OpenProjectName(const TProjectFileDialog& dialog) override { return Next(dialog); }

private:
    QString Next(const TProjectFileDialog& dialog) {
        FileDialogs.push_back(dialog);
        if (FileNames.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.Title.toStdString();
            return {};
        }
        const QString name = FileNames.front();
        FileNames.pop_front();
        return name;
    }
};

class ProjectFile : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString ProgDir;
    TAppState State;
    TWindow Window;
    std::unique_ptr<TProject> Project;
    // What the window was told, in order: "state N", "path NAME", and the status messages.
    QStringList Told;

    void SetUp() override {
        ProgDir = Dir.path() + "/";
        ASSERT_TRUE(TestUtil::CopyProgramDir(Dir.path()));
        State.ProgDir = ProgDir;
        State.PortList = {QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0"), QStringLiteral("SIM1")};
        State.LoadCatalogue();
        ASSERT_EQ(State.DevList.size(), 2u);
        Project = std::make_unique<TProject>(State, Window);
        QObject::connect(Project.get(), &TProject::StateChanged,
                         [this] { Told << "state " + QString::number(static_cast<int>(State.PrjState)); });
        QObject::connect(Project.get(), &TProject::PathChanged,
                         [this](const QString& path) { Told << "path " + QFileInfo(path).fileName(); });
        QObject::connect(Project.get(), &TProject::StatusMessage,
                         [this](const QString& text) { Told << text; });
    }
    void NewProject() {
        Window.Accepts = true;
        Project->New();
        ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
        Told.clear();
    }
    void ChangeProject() {
        Project->Change();
        ASSERT_EQ(State.PrjState, TPrjState::PrjChanged);
        Told.clear();
    }
    // Distinctive values in every record.
    std::vector<QStringList> FillValues() {
        std::vector<QStringList> all;
        for (size_t i = 0; i < State.DevList.size(); ++i) {
            QStringList& v = State.DevList[i]->Values;
            for (int k = 0; k < v.size(); ++k)
                v[k] = QStringLiteral("знач %1=%2").arg(i).arg(k);
            all.push_back(v);
        }
        return all;
    }
    void WriteProject(const QString& path, const QString& text) { TestUtil::WriteCp1251(path, text); }
};
} // namespace

TEST_F(ProjectFile, SectionsComeInOrderAndForeignSectionsSurviveASave) {
    NewProject();
    Window.Page = 2;
    const QString fresh = ProgDir + "fresh.prj";
    ASSERT_TRUE(Project->SaveToPath(fresh));
    const TIniFile f(fresh);
    EXPECT_EQ(f.ReadSections(), QStringList({"Main", K1, K1Mini}));
    EXPECT_EQ(f.ReadSection("Main"),
              QStringList({"Version", "ActDevice", "COMPort", "BaudRate", "Address", "ActPage"}));
    EXPECT_EQ(f.ReadInteger("Main", "ActPage", -1), 2);
    EXPECT_TRUE(f.ReadString(K1, "Device", {}).startsWith('|'));

    const QString old = ProgDir + "old.prj";
    WriteProject(old, "[Notes]\nText=заметка\n[Kestrin K1]\nOther=5\n[Main]\nExtra=9\n[Tail]\nA=1\n");
    ASSERT_TRUE(Project->SaveToPath(old));
    const TIniFile o(old);
    EXPECT_EQ(o.ReadString("Notes", "Text", {}), QStringLiteral("заметка"));
    EXPECT_EQ(o.ReadString("Tail", "A", {}), "1");
    EXPECT_FALSE(o.ValueExists("Main", "Extra")); // the program's own sections are rewritten whole
    EXPECT_FALSE(o.ValueExists(K1, "Other"));
    EXPECT_TRUE(o.ValueExists(K1Mini, "Device"));
    EXPECT_EQ(o.ReadSection("Main").size(), 6);
}

TEST_F(ProjectFile, OpenAsksYesNoCancelWhenChanged) {
    NewProject();
    const QString other = ProgDir + "other.prj";
    State.CurDev().Address = 99;
    ASSERT_TRUE(Project->SaveToPath(other));
    State.PrjPath = TProject::SentinelPath(ProgDir); // back to a never-saved project
    State.CurDev().Address = 5;
    ChangeProject();

    Window.Answers = {TProjectAnswer::Cancel};
    Project->Open();
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Text, SaveQuestion);
    EXPECT_EQ(Window.Asked[0].Caption, "Warning");
    EXPECT_TRUE(Window.Asked[0].Question);
    EXPECT_TRUE(Window.FileDialogs.empty());
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);

    Window.Answers = {TProjectAnswer::No};
    Window.FileNames = {""};
    Project->Open();
    ASSERT_EQ(Window.FileDialogs.size(), 1u);
    EXPECT_EQ(Window.FileDialogs[0].Title, QStringLiteral("Загрузка проекта"));
    EXPECT_EQ(Window.FileDialogs[0].Filter, QStringLiteral("Проекты (*.prj)"));
    EXPECT_EQ(Window.FileDialogs[0].DefaultExt, "prj");
    EXPECT_EQ(Window.FileDialogs[0].Directory, ProgDir);
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_FALSE(QFileInfo::exists(ProgDir + "noname.prj"));
    EXPECT_TRUE(Told.isEmpty()) << Told.join(", ").toStdString(); // nothing happened to show

    // Yes saves straight to the current path: a never-saved project lands in "noname.prj".
    Window.Answers = {TProjectAnswer::Yes};
    Window.FileNames = {other};
    Project->Open();
    EXPECT_EQ(Window.FileDialogs.size(), 2u); // no save dialog
    EXPECT_EQ(TIniFile(ProgDir + "noname.prj").ReadInteger("Main", "Address", -1), 5);
    EXPECT_EQ(State.PrjPath, other);
    EXPECT_EQ(State.CurDev().Address, 99);
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
    EXPECT_EQ(Told, QStringList({"path noname.prj", QStringLiteral("Проект был сохранен"), "state 1",
                                 "path other.prj", QStringLiteral("Проект был открыт"), "state 1"}));
}

TEST_F(ProjectFile, CloseAndNewAskYesNoCancelWhenChanged) {
    NewProject();
    FillValues();
    ChangeProject();
    const QStringList values = State.CurDev().Values;

    Window.Answers = {TProjectAnswer::Cancel};
    Project->New();
    EXPECT_EQ(Window.ConnectionDialogs, 1); // the one of the first New only
    Window.Answers = {TProjectAnswer::Cancel};
    EXPECT_FALSE(Project->Close());
    ASSERT_EQ(Window.Asked.size(), 2u);
    for (const TAsked& m : Window.Asked) {
        EXPECT_EQ(m.Text, SaveQuestion);
        EXPECT_EQ(m.Caption, QStringLiteral("Внимание"));
        EXPECT_TRUE(m.Question);
    }
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(State.PrjPath, TProject::SentinelPath(ProgDir));
    EXPECT_EQ(State.CurDev().Values, values);
    EXPECT_TRUE(Told.isEmpty()) << Told.join(", ").toStdString();

    // Yes on a never-saved project asks for a name; cancelling it keeps the project open and
    // changed, since the user asked for the values to be kept. No then closes.
    Window.Answers = {TProjectAnswer::Yes};
    Window.FileNames = {""};
    EXPECT_FALSE(Project->Close());
    EXPECT_EQ(Window.FileDialogs.size(), 1u);
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(State.CurDev().Values, values);
    Window.Answers = {TProjectAnswer::No};
    EXPECT_TRUE(Project->Close());
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    EXPECT_TRUE(State.PrjPath.isEmpty());
    EXPECT_EQ(Told, QStringList({"path ", QStringLiteral("Проект был закрыт"), "state 2"}));
    // Every record is reset to its own type's parameters: "0" for a check box, empty otherwise.
    for (size_t i = 0; i < State.DevList.size(); ++i) {
        const TDevProp& t = *State.DevTypes[i];
        ASSERT_EQ(State.DevList[i]->Values.size(), t.ParamCount()) << "entry " << i;
        for (int k = 0; k < t.ParamCount(); ++k)
            EXPECT_EQ(State.DevList[i]->Values[k], t.Param(k).SType == 2 ? "0" : "") << "entry " << i;
    }

    // Yes with a name saves, then closes; New then shows the connection dialog on fresh settings.
    Project->New();
    EXPECT_EQ(Window.ConnectionDialogs, 2);
    ChangeProject();
    State.ActDevice = 2;
    State.CurDev().Address = 40;
    Window.Page = 2;
    const QString path = ProgDir + "closed.prj";
    Window.Answers = {TProjectAnswer::Yes};
    Window.FileNames = {path};
    Project->New();
    EXPECT_EQ(TIniFile(path).ReadInteger("Main", "Address", -1), 40);
    EXPECT_EQ(Window.ConnectionDialogs, 3);
    EXPECT_EQ(State.PrjPath, TProject::SentinelPath(ProgDir));
    EXPECT_EQ(State.ActDevice, 0);
    EXPECT_EQ(State.CurDev().Address, 1);
    EXPECT_EQ(State.CurDev().BaudRate, State.CurDevType().BaudRate);
    EXPECT_EQ(State.CurDev().COMPort, "ttyS0");
    EXPECT_EQ(Window.Page, 0);

    // A connection dialog that is not accepted leaves no project.
    Window.Answers = {};
    Window.Accepts = false;
    Project->New();
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    EXPECT_TRUE(State.PrjPath.isEmpty());
}

TEST_F(ProjectFile, SaveOfANeverSavedProjectAsksForANameOnce) {
    NewProject();
    ChangeProject();
    const QString path = ProgDir + "named.prj";
    Window.FileNames = {path};
    EXPECT_TRUE(Project->Save());
    ASSERT_EQ(Window.FileDialogs.size(), 1u);
    EXPECT_EQ(Window.FileDialogs[0].Title, QStringLiteral("Сохранение проекта"));
    EXPECT_EQ(Window.FileDialogs[0].Filter, QStringLiteral("Проект (*.prj)"));
    EXPECT_EQ(Window.FileDialogs[0].DefaultExt, "prj");
    EXPECT_EQ(Window.FileDialogs[0].Directory, ProgDir);
    EXPECT_EQ(Told, QStringList({"path named.prj", QStringLiteral("Проект был сохранен"), "state 1"}));
    EXPECT_FALSE(QFileInfo::exists(ProgDir + "noname.prj"));

    State.CurDev().Address = 77;
    ChangeProject();
    EXPECT_TRUE(Project->Save());
    EXPECT_EQ(Window.FileDialogs.size(), 1u);
    EXPECT_EQ(TIniFile(path).ReadInteger("Main", "Address", -1), 77);
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);

    // Save As asks even for a named project; cancelled, it saves nothing.
    Window.FileNames = {""};
    EXPECT_FALSE(Project->SaveAs());
    EXPECT_EQ(Window.FileDialogs.size(), 2u);
}

TEST_F(ProjectFile, MissingEmptyAndDamagedFilesOpenWithDefaults) {
    NewProject();
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), "K1_103"));
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
    Window.Page = 2;

    const QString missing = ProgDir + "typed-name.prj";
    ASSERT_TRUE(Project->OpenFile(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(State.PrjPath, missing);
    EXPECT_EQ(State.CurDevType().Version, QString()); // base descriptions again
    EXPECT_EQ(State.CurDevType().Param(15).Name, base[15]);
    EXPECT_EQ(State.CurDev().Values[0], "keep");
    EXPECT_EQ(State.ActDevice, 0);
    EXPECT_EQ(State.CurDev().Address, 0);
    EXPECT_EQ(State.CurDev().BaudRate, 9600);
    EXPECT_EQ(State.CurDev().COMPort, "ttyS0"); // "COM1" is not a port here
    EXPECT_EQ(Window.Page, 0);

    // Empty, binary and truncated files: nothing crashes, and what is missing reads as default.
    const QString empty = ProgDir + "empty.prj";
    TestUtil::WriteBytes(empty, {});
    State.CurDev().Address = 9;
    ASSERT_TRUE(Project->OpenFile(empty));
    EXPECT_EQ(State.CurDev().Address, 0);

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 131 + 7) % 256 == '[' ? 0 : (i * 131 + 7) % 256));
    const QString bin = ProgDir + "binary.prj";
    TestUtil::WriteBytes(bin, binary);
    State.CurDev().Address = 9;
    ASSERT_TRUE(Project->OpenFile(bin));
    EXPECT_EQ(State.CurDev().Address, 0);
    EXPECT_EQ(State.CurDev().Values[0], "keep");

    const QString full = ProgDir + "full.prj";
    State.CurDev().Address = 17;
    ASSERT_TRUE(Project->SaveToPath(full));
    const QByteArray text = TestUtil::ReadBytes(full);
    const qsizetype cut = text.indexOf("[Kestrin K1]") + 30; // inside the first packed value list
    ASSERT_GT(cut, 30);
    const QString truncated = ProgDir + "truncated.prj";
    TestUtil::WriteBytes(truncated, text.left(cut));
    for (QString& v : State.CurDev().Values)
        v = "old";
    ASSERT_TRUE(Project->OpenFile(truncated));
    EXPECT_EQ(State.CurDev().Address, 17);
    EXPECT_EQ(State.CurDev().Values[0], "keep");
    EXPECT_EQ(State.CurDev().Values.last(), "old"); // not reached by the cut text
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
}

TEST_F(ProjectFile, HandWrittenFilesFollowTheIniRules) {
    NewProject();
    const int n = State.CurDevType().ParamCount();
    const QStringList before = State.DevList[1]->Values;
    const QString path = ProgDir + "hand.prj";
    Window.Page = 2;
    WriteProject(path,
                 "; written by hand\n[Other]\nCOMPort=ttyUSB0\n[main]\nversion=\nACTDEVICE= 1 \n"
                 "comport=sim1\nBaudRate=$12C0\nAddress=0x21\nActPage=7\n[kestrin k1]\ndevice=|a|b||d\n");
    ASSERT_TRUE(Project->OpenFile(path));
    EXPECT_EQ(State.ActDevice, 1);
    EXPECT_EQ(State.CurDev().COMPort, "SIM1"); // found with letter case ignored, kept as the list spells it
    EXPECT_EQ(State.CurDev().BaudRate, 4800);
    EXPECT_EQ(State.CurDev().Address, 0x21);
    EXPECT_EQ(Window.Page, 0); // a page no tab shows opens the parameter page
    EXPECT_EQ(State.CurDev().Values.mid(0, 3), QStringList({"a", "b", ""}));
    EXPECT_EQ(State.CurDev().Values.size(), n);
    EXPECT_EQ(State.DevList[1]->Values, before); // its section is missing

    // Narrow fields keep their low bits; a port that is not there gives the first one.
    WriteProject(path, "[Main]\nActDevice=300\nCOMPort=ttyACM9\nAddress=513\nBaudRate=65537\nActPage=1\n");
    ASSERT_TRUE(Project->OpenFile(path));
    EXPECT_EQ(State.ActDevice, 44);
    EXPECT_EQ(State.CurDev().COMPort, "ttyS0");
    EXPECT_EQ(State.CurDev().Address, 1);
    EXPECT_EQ(State.CurDev().BaudRate, 1);
    EXPECT_EQ(Window.Page, 2); // the second shown tab, counted by another program
    // No ports at all: the port stays empty.
    State.PortList.clear();
    ASSERT_TRUE(Project->OpenFile(path));
    EXPECT_EQ(State.CurDev().COMPort, QString());

    // More packed values than parameters: the surplus is ignored; fewer: the rest keep theirs.
    QString many = "|";
    for (int i = 0; i < n + 5; ++i)
        many += QString::number(i) + "|";
    WriteProject(path, "[Kestrin K1]\nDevice=" + many + "\n[Kestrin K1 mini]\nDevice=|x|y|\n");
    State.DevList[1]->Values[2] = "z";
    ASSERT_TRUE(Project->OpenFile(path));
    EXPECT_EQ(State.CurDev().Values.size(), n);
    EXPECT_EQ(State.CurDev().Values.last(), QString::number(n - 1));
    EXPECT_EQ(State.DevList[1]->Values.mid(0, 3), QStringList({"x", "y", "z"}));
}

TEST_F(ProjectFile, VersionWithoutDescriptionsRefusesTheFileAndKeepsTheOpenProject) {
    NewProject();
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), "K1_103"));
    const QString v103 = ProgDir + "v103.prj";
    ASSERT_TRUE(Project->SaveToPath(v103));
    const QString basePrj = ProgDir + "base.prj";
    ASSERT_TRUE(Reload(ProgDir, State.CurDevType(), State.CurDev(), {}));
    ASSERT_TRUE(Project->SaveToPath(basePrj));

    ASSERT_TRUE(Project->OpenFile(v103)); // the version's pair is loaded for it
    EXPECT_EQ(State.CurDevType().Version, "K1_103");
    ASSERT_TRUE(Project->OpenFile(basePrj));
    EXPECT_EQ(State.CurDevType().Version, QString());

    QFile::remove(MenuPath(ProgDir, State.CurDevType(), "K1_103"));
    ChangeProject();
    EXPECT_FALSE(Project->OpenFile(v103));
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_EQ(Window.Asked[0].Text,
              QStringLiteral("Не удалось загрузить проект!\rНеизвестная модификация прибора."));
    EXPECT_EQ(Window.Asked[0].Caption, Title);
    EXPECT_FALSE(Window.Asked[0].Question);
    EXPECT_EQ(State.PrjPath, basePrj);
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(State.CurDevType().Version, QString());
    EXPECT_TRUE(Told.isEmpty()) << Told.join(", ").toStdString();
}

TEST_F(ProjectFile, SavesThatCannotTakePlaceFailWithAMessageAndChangeNothing) {
    NewProject();
    ChangeProject();
    TestUtil::WriteBytes(ProgDir + "blocker", "not a directory");
    const QStringList filesBefore = QDir(ProgDir).entryList(QDir::Files);
    const QString path = ProgDir + "blocker/p.prj";
    EXPECT_FALSE(Project->SaveToPath(path));
    ASSERT_EQ(Window.Asked.size(), 1u);
    EXPECT_TRUE(Window.Asked[0].Text.startsWith(QStringLiteral("Не удалось сохранить проект!\r") + path));
    EXPECT_EQ(Window.Asked[0].Caption, Title);
    EXPECT_FALSE(Window.Asked[0].Question);
    EXPECT_EQ(QDir(ProgDir).entryList(QDir::Files), filesBefore);
    EXPECT_EQ(TestUtil::ReadBytes(ProgDir + "blocker"), "not a directory");

    // The table holds a line break: nothing is written, and the row is named.
    Window.LineBreakRow = 7;
    const QString broken = ProgDir + "broken.prj";
    EXPECT_FALSE(Project->SaveToPath(broken));
    ASSERT_EQ(Window.Asked.size(), 2u);
    EXPECT_EQ(Window.Asked[1].Text,
              QStringLiteral("Не удалось сохранить проект!\rЗначение в строке 7 содержит перевод строки."));
    EXPECT_FALSE(QFileInfo::exists(broken));

    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_EQ(State.PrjPath, TProject::SentinelPath(ProgDir));
    EXPECT_TRUE(Told.isEmpty()) << Told.join(", ").toStdString();
}

TEST_F(ProjectFile, ValuesLongerThanAnIniValueComeBackWhole) {
    NewProject();
    std::vector<QStringList> values = FillValues();
    // A value far beyond 2047 characters, in the first entry, ahead of the others.
    values[0][0] = QString(3000, QLatin1Char('7'));
    State.CurDev().Values[0] = values[0][0];
    const QString path = ProgDir + "long.prj";
    ASSERT_TRUE(Project->SaveToPath(path));
    ASSERT_TRUE(Project->Close());
    ASSERT_TRUE(Project->OpenFile(path));
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(State.DevList[i]->Values, values[i]) << "entry " << i;
}

TEST_F(ProjectFile, StartUpReopensOnlyWhenTheSettingsAskAndTheFileIsThere) {
    NewProject();
    State.CurDev().Address = 23;
    const QString path = ProgDir + "last.prj";
    ASSERT_TRUE(Project->SaveToPath(path));
    ASSERT_TRUE(Project->Close());

    State.CurDev().Address = 1;
    State.Settings.Project = path;
    State.Settings.Load = false;
    State.ActDevice = 2;
    EXPECT_FALSE(Project->Reopen());
    EXPECT_EQ(State.PrjState, TPrjState::PrjNone);
    EXPECT_EQ(State.ActDevice, 0);
    EXPECT_EQ(State.CurDev().Address, 1);

    State.Settings.Load = true;
    EXPECT_TRUE(Project->Reopen());
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
    EXPECT_EQ(State.PrjPath, path);
    EXPECT_EQ(State.CurDev().Address, 23);
    EXPECT_TRUE(Window.Asked.empty());
}
