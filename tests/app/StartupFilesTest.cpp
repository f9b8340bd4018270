#include "common/ProgDir.h"
#include "TestUtil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(RequiredFiles, CheckedInOrderAndStopAtTheFirstMissing) {
    QTemporaryDir dir;
    const QString progDir = dir.path() + "/";
    QString missing;
    EXPECT_FALSE(StartupFiles::CheckRequiredFiles(progDir, &missing));
    EXPECT_EQ(missing, "libkvcom.so");
    TestUtil::WriteBytes(progDir + "libkvcom.so", "x");
    TestUtil::WriteBytes(progDir + "kestrin.ini", "");
    EXPECT_FALSE(StartupFiles::CheckRequiredFiles(progDir, &missing));
    EXPECT_EQ(missing, "devices.ini");
    TestUtil::WriteBytes(progDir + "devices.ini", "");
    QFile::remove(progDir + "kestrin.ini");
    EXPECT_FALSE(StartupFiles::CheckRequiredFiles(progDir, &missing));
    EXPECT_EQ(missing, "kestrin.ini"); // the settings have defaults, but the file must be there
    TestUtil::WriteBytes(progDir + "kestrin.ini", "");
    EXPECT_TRUE(StartupFiles::CheckRequiredFiles(progDir, &missing));
    // A directory of that name is not the file.
    QFile::remove(progDir + "devices.ini");
    QDir().mkdir(progDir + "devices.ini");
    EXPECT_FALSE(StartupFiles::CheckRequiredFiles(progDir));
}
