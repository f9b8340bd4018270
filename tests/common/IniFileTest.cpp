#include "common/IniFile.h"
#include "TestUtil.h"
#include "common/FileErrors.h"

#include <cerrno>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const QString& name = QStringLiteral("t.ini")) const { return Dir.filePath(name); }
};
} // namespace

TEST_F(IniFileTest, ReadsWindows1251WithCaseInsensitiveCyrillicNames) {
    TestUtil::WriteCp1251(Path(),
                          QStringLiteral("[Сетевой Адрес]\nЗначение = 12 \nHint=  Адрес прибора в сети  \n"
                                         "[Second]\nkey=v\n"));
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadSections(), QStringList({QStringLiteral("Сетевой Адрес"), QStringLiteral("Second")}));
    EXPECT_EQ(ini.ReadString(QStringLiteral("сетевой адрес"), QStringLiteral("ЗНАЧЕНИЕ"), QString()), "12");
    EXPECT_EQ(ini.ReadString(QStringLiteral("СЕТЕВОЙ АДРЕС"), QStringLiteral("hint"), QString()),
              QStringLiteral("Адрес прибора в сети"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("second"), QStringLiteral("KEY"), QString()), "v");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Second"), QStringLiteral("absent"), QStringLiteral("def")),
              "def");
}

TEST_F(IniFileTest, IntegersFloatsAndDefaults) {
    TestUtil::WriteCp1251(Path(), QStringLiteral("[M]\na=0x3E8\nb=$3E8\nc=-5\nd=letters\ne=1.5\nf=1,5\ng=\n"
                                                 "h=70000\n"));
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("M", "a", 500), 1000);
    EXPECT_EQ(ini.ReadInteger("M", "b", 500), 1000);
    EXPECT_EQ(ini.ReadInteger("M", "c", 0), -5);
    EXPECT_EQ(ini.ReadInteger("M", "d", 500), 500);
    EXPECT_EQ(ini.ReadInteger("M", "g", 7), 7);
    EXPECT_EQ(ini.ReadInteger("M", "missing", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("M", "e", 0.7), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("M", "f", 0.7), 0.7);
    EXPECT_TRUE(ini.ReadBool("M", "c", false));
    EXPECT_FALSE(ini.ReadBool("M", "missing", false));
    EXPECT_EQ(static_cast<uint16_t>(ini.ReadInteger("M", "h", 0)), 4464);
}

TEST_F(IniFileTest, MissingEmptyBinaryAndTruncatedFilesGiveDefaults) {
    const TIniFile missing(Path("none.ini"));
    EXPECT_FALSE(missing.Loaded());
    EXPECT_TRUE(missing.ReadSections().isEmpty());
    EXPECT_EQ(missing.ReadInteger("Main", "x", 3), 3);

    TestUtil::WriteBytes(Path("empty.ini"), QByteArray());
    EXPECT_TRUE(TIniFile(Path("empty.ini")).ReadSections().isEmpty());

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(static_cast<char>((i * 37) & 0xFF));
    TestUtil::WriteBytes(Path("bin.ini"), binary);
    const TIniFile bin(Path("bin.ini"));
    EXPECT_EQ(bin.ReadInteger("Main", "Save", 42), 42);

    TestUtil::WriteBytes(Path("cut.ini"), QByteArray("[Main]\r\nSave=1\r\nLef"));
    const TIniFile cut(Path("cut.ini"));
    EXPECT_TRUE(cut.ReadBool("Main", "Save", false));
    EXPECT_EQ(cut.ReadInteger("Main", "Left", 200), 200);

    TestUtil::WriteBytes(Path("open.ini"), QByteArray("[Main\r\nSave=1\r\n"));
    EXPECT_TRUE(TIniFile(Path("open.ini")).ReadBool("Main", "Save", false));
}

TEST_F(IniFileTest, LongValuesAreReadWholeUpToTheLimitAndLongLinesAreSafe) {
    const QString v2047(2047, QLatin1Char('a'));
    const QString v5000(5000, QLatin1Char('b'));
    const QString longName(100000, QLatin1Char('n'));
    TestUtil::WriteCp1251(Path(), "[S]\nexact=" + v2047 + "\nlong=" + v5000 + "\n" + longName + "=1\n");
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("S", "exact", QString()), v2047);
    EXPECT_EQ(ini.ReadString("S", "long", QString()).size(), TIniFile::MaxValueLength);
    EXPECT_EQ(ini.ReadInteger("S", longName, 0), 1);
}

TEST_F(IniFileTest, WritesUpdateInPlaceAndKeepOtherSections) {
    TestUtil::WriteCp1251(Path(),
                          QStringLiteral("; comment line\n[Other]\nkeep=1\n\n[Main]\nSave=0\nLeft=5\n\n"
                                         "[Tail]\nx=Тест\n"));
    TIniFile ini(Path());
    ini.WriteString("main", "save", "1");     // existing key, other letter case
    ini.WriteString("Main", "Top", "7");      // new key goes after the section's last key
    ini.WriteString("Новая", "Ключ", "Знач"); // new section at the end
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(TestUtil::ReadCp1251(Path()),
              QStringLiteral(
                  "; comment line\r\n[Other]\r\nkeep=1\r\n\r\n[Main]\r\nsave=1\r\nLeft=5\r\nTop=7\r\n\r\n"
                  "[Tail]\r\nx=Тест\r\n[Новая]\r\nКлюч=Знач\r\n"));
}

TEST_F(IniFileTest, EraseSectionRemovesItWithItsKeysOnly) {
    TestUtil::WriteCp1251(Path(), QStringLiteral("[A]\na=1\n[Main]\nSave=1\nLeft=3\n[B]\nb=2\n"));
    TIniFile ini(Path());
    ini.EraseSection("MAIN");
    EXPECT_FALSE(ini.SectionExists("Main"));
    ini.WriteString("Main", "Save", "0");
    ASSERT_TRUE(ini.UpdateFile());
    const TIniFile back(Path());
    EXPECT_EQ(back.ReadSections(), QStringList({"A", "B", "Main"}));
    EXPECT_EQ(back.ReadSection("Main"), QStringList({"Save"}));
    EXPECT_EQ(back.ReadInteger("B", "b", 0), 2);
}

TEST_F(IniFileTest, UpdateReplacesAtomicallyAndReportsUnwritableTargets) {
    TestUtil::WriteCp1251(Path(), QStringLiteral("[Main]\nSave=1\n"));
    TIniFile ini(Path());
    ini.WriteString("Main", "Load", "1");
    ASSERT_TRUE(ini.UpdateFile());
    // No temporary file is left beside the target.
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList({"t.ini"}));

    TIniFile nowhere(Dir.filePath("no/such/dir/x.ini"));
    nowhere.WriteString("Main", "Save", "1");
    QString error;
    EXPECT_FALSE(nowhere.UpdateFile(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(IniFileTest, FirstOfRepeatedSectionsAnswersAndCharactersWithoutCodeBecomeQuestionMarks) {
    TestUtil::WriteCp1251(Path(), QStringLiteral("[S]\nk=first\n[s]\nk=second\nonly=2\n"));
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadSections().size(), 2);
    EXPECT_EQ(ini.ReadString("S", "k", QString()), "first");
    EXPECT_EQ(ini.ReadString("S", "only", QString()), QString());

    ini.WriteString("S", "k", QStringLiteral("€ ✓ Ё"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(TIniFile(Path()).ReadString("S", "k", QString()), QStringLiteral("€ ? Ё"));
}

TEST_F(IniFileTest, EveryByteOfAnUntouchedLineSurvivesARewrite) {
    // All 256 byte values but the line breaks, 0x98 (unassigned in the code page) among them.
    QByteArray odd("odd=");
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            odd.append(static_cast<char>(b));
    const QByteArray original = "[Other]\r\n" + odd + "\r\n[Main]\r\nSave=0\r\n";
    TestUtil::WriteBytes(Path(), original);
    TIniFile ini(Path());
    ini.WriteString("Main", "Save", "1");
    ASSERT_TRUE(ini.UpdateFile());
    const QByteArray back = TestUtil::ReadBytes(Path());
    EXPECT_TRUE(back.startsWith("[Other]\r\n" + odd + "\r\n")) << back.left(300).toHex().toStdString();
    EXPECT_EQ(Cp1251::Encode(Cp1251::Decode(QByteArray("\x98", 1))), QByteArray("\x98", 1));
}

TEST_F(IniFileTest, CommonReasonsForAFailedWriteAreGivenInRussian) {
    // The system's own texts for these codes, whatever its language.
    EXPECT_EQ(FileErrorReason(qt_error_string(ENOSPC)), QStringLiteral("на диске нет места"));
    EXPECT_EQ(FileErrorReason(qt_error_string(EROFS)),
              QStringLiteral("файловая система доступна только для чтения"));
    EXPECT_EQ(FileErrorReason(qt_error_string(EACCES)), QStringLiteral("нет прав доступа"));
    EXPECT_EQ(FileErrorReason(qt_error_string(ENOENT), false), QStringLiteral("файл не найден"));
    EXPECT_EQ(FileErrorReason(qt_error_string(EIO)), qt_error_string(EIO)); // the rest as the system says

    // A real failure: a folder that does not exist, and a file standing where a folder should be.
    for (const QString& path : {Dir.filePath("no/such/dir/x.ini"), Dir.filePath("t.ini/x.ini")}) {
        TestUtil::WriteBytes(Path(), "[Main]\r\n");
        TIniFile nowhere(path);
        nowhere.WriteString("Main", "Save", "1");
        QString error;
        EXPECT_FALSE(nowhere.UpdateFile(&error));
        EXPECT_EQ(error, QStringLiteral("папка не найдена")) << path.toStdString();
    }
}
