// The program started from an installed (read-only) program directory: the settings live in the
// user's configuration directory, a never-saved project asks for a name, the dialogs for the user's
// files start outside the program directory, and the program directory stays exactly as installed.
// CI runs as root, whom permission bits do not stop, so the directory is marked installed the way
// the package marks it.
#include "MainFixture.h"
#include "common/IniFile.h"
#include "common/ProgDir.h"
#include "ui/MeasureView.h"

#include <QCryptographicHash>
#include <QPushButton>
#include <QToolButton>

namespace {
// Every file of the directory with a hash of its content.
QStringList Snapshot(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files << path + " " +
                     QCryptographicHash::hash(TestUtil::ReadBytes(path), QCryptographicHash::Sha256).toHex();
    }
    files.sort();
    return files;
}

class InstalledProgram : public MainFixture {
protected:
    QTemporaryDir Config;
    void SetUp() override {
        MainFixture::SetUp();
        TestUtil::WriteBytes(ProgDir + StartupFiles::InstalledMarker, "installed");
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    }
    void TearDown() override {
        MainFixture::TearDown();
        qunsetenv("XDG_CONFIG_HOME");
    }
};
} // namespace

TEST_F(InstalledProgram, KeepsItsDirectoryAndAsksANewProjectForAName) {
    const QStringList installed = Snapshot(ProgDir);
    ASSERT_TRUE(Start());
    const QString own = Config.path() + "/kestrin/kestrin.ini";
    ASSERT_TRUE(QFileInfo::exists(own)); // copied at start from the shipped settings
    NewProject();
    State.CurDev().Address = 5;
    Prj().Change();

    // Open's "save the changed project?" answered Yes: the new project is not written to the
    // sentinel path inside the program directory; the save dialog asks where, starting at home.
    const QString mine = Config.path() + "/mine.prj";
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {mine, ""};
    Trigger("actOpen");
    ASSERT_EQ(Dialogs.FileDialogs.size(), 2u);
    EXPECT_EQ(Dialogs.FileDialogs[0].Title, QStringLiteral("Сохранение проекта"));
    EXPECT_EQ(Dialogs.FileDialogs[0].Directory, QDir::homePath());
    EXPECT_EQ(Dialogs.FileDialogs[1].Directory, QDir::homePath());
    EXPECT_EQ(TIniFile(mine).ReadInteger("Main", "Address", -1), 5);
    EXPECT_EQ(State.PrjPath, mine);

    State.Settings.Load = true;
    EXPECT_TRUE(Main->close());
    EXPECT_EQ(TIniFile(own).ReadString("Main", "Project", QString()), mine);
    EXPECT_EQ(Snapshot(ProgDir), installed);

    // The required-files check still looks at the program directory, whatever the user's copy.
    ASSERT_TRUE(QFile::remove(ProgDir + "kestrin.ini"));
    Main.reset();
    EXPECT_FALSE(Start());
    EXPECT_EQ(Dialogs.LastText(),
              QStringLiteral("Ошибка! Не найдены файлы необходимые для работы программы!"));
}

TEST_F(InstalledProgram, FileDialogsStartAtHomeThenInTheFolderLastChosen) {
    ASSERT_TRUE(Start());
    NewProject();
    const QString sets = Config.path() + "/sets";
    ASSERT_TRUE(QDir().mkpath(sets));
    Dialogs.FileNames = {sets + "/a." + State.CurDevType().DevExt, "", ""};
    Trigger("actDevSave");
    Control<QToolButton>(&MeasureView(), "BtnSave")->click();
    Trigger("actDevLoad");
    ASSERT_EQ(Dialogs.FileDialogs.size(), 3u);
    EXPECT_EQ(Dialogs.FileDialogs[0].Directory, QDir::homePath());
    EXPECT_EQ(Dialogs.FileDialogs[1].Title, QStringLiteral("Сохранение графика"));
    EXPECT_EQ(Dialogs.FileDialogs[1].Directory, sets);
    EXPECT_EQ(Dialogs.FileDialogs[2].Directory, sets);
    EXPECT_TRUE(QFileInfo::exists(sets + "/a." + State.CurDevType().DevExt));
}
