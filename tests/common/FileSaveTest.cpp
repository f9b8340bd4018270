// Saving on a real full file system: the file being replaced stays byte for byte, nothing new or
// temporary is left, and the reason is given.
#include "common/FileSave.h"
#include "FullDisk.h"
#include "common/IniFile.h"

#include <gtest/gtest.h>

namespace {
QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
const QString NoSpace = QStringLiteral("на диске нет места");
} // namespace

TEST(FileSave, AFullDiskKeepsTheFileItWouldReplaceAndSaysWhy) {
    TFullDisk disk;
    if (!disk.Ok()) {
        // The device that is always full: a direct write (no temporary file) must fail.
        const TFileResult r = SaveFileBytes(QStringLiteral("/dev/full"), QByteArray(300, 'x'));
        EXPECT_FALSE(r.Ok);
        EXPECT_TRUE(r.Error.contains(NoSpace)) << r.Error.toStdString();
        GTEST_SKIP() << disk.WhyNot().toStdString() << "; checked /dev/full only";
    }
    // A small file: the whole content would sit in a write buffer until the final flush.
    const QByteArray old = "[Main]\r\nVersion=\r\nAddress=1\r\n" + QByteArray(240, '#') + "\r\n";
    ASSERT_TRUE(disk.Put("old.prj", old));
    ASSERT_TRUE(disk.Fill());
    const QStringList before = disk.Names();

    TFileResult r = SaveFileBytes(disk.Path("old.prj"), QByteArray(300, 'n'));
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, QStringLiteral("Ошибка записи файла \"old.prj\": ") + NoSpace);
    EXPECT_EQ(Bytes(disk.Path("old.prj")), old);

    // A new file is not left behind empty.
    r = SaveFileBytes(disk.Path("new.kpr"), QByteArray(10, 'n'));
    EXPECT_FALSE(r.Ok);

    // The settings and project files' writer goes the same way.
    TIniFile ini(disk.Path("old.prj"));
    ini.WriteInteger("Main", "Address", 7);
    QString why;
    EXPECT_FALSE(ini.UpdateFile(&why));
    EXPECT_EQ(why, NoSpace);
    EXPECT_EQ(Bytes(disk.Path("old.prj")), old);

    EXPECT_EQ(disk.Names(), before); // no temporary file, no new file
}
