#include "common/IniFile.h"
#include "app/Settings.h"
#include "TestUtil.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SettingsFile, EmptyMainSectionGivesDefaults) {
    QTemporaryDir dir;
    TestUtil::WriteCp1251(dir.filePath("kestrin.ini"), QStringLiteral("[Main]\n"));
    const TSettings s = SettingsFile::Read(dir.filePath("kestrin.ini"));
    EXPECT_FALSE(s.Save);
    EXPECT_FALSE(s.Load);
    EXPECT_FALSE(s.Hint);
    EXPECT_TRUE(s.Confirm);
    EXPECT_EQ(s.ReWrite, 1);
    EXPECT_EQ(s.ReRead, 1);
    EXPECT_EQ(s.Left, 200);
    EXPECT_EQ(s.Top, 100);
    EXPECT_TRUE(s.Project.isEmpty());
}

TEST(SettingsFile, PositionIsReadOnlyWhenRemembered) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kestrin.ini");
    TestUtil::WriteCp1251(path, QStringLiteral("[Main]\nSave=0\nLeft=10\nTop=20\nLoad=1\nProject=/x/п.prj\n"
                                               "Hint=1\nConfirm=0\nReWrite=$A\nReRead=x\n"));
    TSettings s = SettingsFile::Read(path);
    EXPECT_EQ(s.Left, 200);
    EXPECT_EQ(s.Top, 100);
    EXPECT_TRUE(s.Load);
    EXPECT_EQ(s.Project, QStringLiteral("/x/п.prj"));
    EXPECT_TRUE(s.Hint);
    EXPECT_FALSE(s.Confirm);
    EXPECT_EQ(s.ReWrite, 10);
    EXPECT_EQ(s.ReRead, 1);

    TestUtil::WriteCp1251(path, QStringLiteral("[Main]\nSave=1\nLeft=10\nTop=20\n"));
    s = SettingsFile::Read(path);
    EXPECT_EQ(s.Left, 10);
    EXPECT_EQ(s.Top, 20);
}

TEST(SettingsFile, WriteOrderAndEraseRules) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kestrin.ini");
    TestUtil::WriteCp1251(path, QStringLiteral("[Other]\nx=1\n[Main]\nLeft=1\nTop=2\nProject=old\nStray=1\n"));
    TSettings s;
    s.Save = false;
    s.Load = false;
    ASSERT_TRUE(SettingsFile::Write(path, s, "/p/a.prj", 5, 6));
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadSection("Main"), QStringList({"Save", "Load", "Hint", "ReWrite", "ReRead", "Confirm"}));
    EXPECT_EQ(ini.ReadInteger("Other", "x", 0), 1);

    s.Save = true;
    s.Load = true;
    s.Hint = true;
    s.Confirm = false;
    s.ReWrite = 3;
    s.ReRead = 0;
    ASSERT_TRUE(SettingsFile::Write(path, s, QString(), 15, 25));
    ini = TIniFile(path);
    EXPECT_EQ(ini.ReadSection("Main"),
              QStringList({"Save", "Left", "Top", "Load", "Project", "Hint", "ReWrite", "ReRead", "Confirm"}));
    EXPECT_EQ(ini.ReadString("Main", "Project", "x"), QString()); // no project open: written empty
    const TSettings back = SettingsFile::Read(path);
    EXPECT_TRUE(back.Save && back.Load && back.Hint);
    EXPECT_FALSE(back.Confirm);
    EXPECT_EQ(back.Left, 15);
    EXPECT_EQ(back.Top, 25);
    EXPECT_EQ(back.ReWrite, 3);
    EXPECT_EQ(back.ReRead, 0);
}

TEST(SettingsFile, LanguageIsWrittenOnlyWhenChosen) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kestrin.ini");
    const auto bytes = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    // A file of an older version, read and written back unchanged: the same bytes.
    TestUtil::WriteCp1251(path, QStringLiteral("[Main]\r\nSave=0\r\nLoad=0\r\nHint=1\r\nReWrite=1\r\nReRead=1\r\n"
                                               "Confirm=1\r\n"));
    const QByteArray before = bytes();
    TSettings s = SettingsFile::Read(path);
    EXPECT_TRUE(s.Language.isEmpty());
    ASSERT_TRUE(SettingsFile::Write(path, s, QString(), 0, 0));
    EXPECT_EQ(bytes(), before);

    s.Language = "en";
    ASSERT_TRUE(SettingsFile::Write(path, s, QString(), 0, 0));
    EXPECT_EQ(TIniFile(path).ReadSection("Main").last(), QStringLiteral("Language"));
    EXPECT_EQ(SettingsFile::Read(path).Language, QStringLiteral("en"));

    // Written by hand: case and spaces do not matter, an unknown language follows the system.
    TestUtil::WriteCp1251(path, QStringLiteral("[Main]\nLanguage= RU \n"));
    EXPECT_EQ(SettingsFile::Read(path).Language, QStringLiteral("ru"));
    TestUtil::WriteCp1251(path, QStringLiteral("[Main]\nLanguage=de\n"));
    EXPECT_TRUE(SettingsFile::Read(path).Language.isEmpty());
}
