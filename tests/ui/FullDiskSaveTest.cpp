// The window's saves on a real full file system: the project and the parameter set it would
// replace stay byte for byte, the reason is shown, and the project stays unsaved.
#include "FullDisk.h"
#include "MainFixture.h"

#include <QLabel>
#include <QPushButton>

TEST_F(MainFixture, SavesOnAFullDiskKeepTheFilesTheyReplaceAndSayWhy) {
    TFullDisk disk(256);
    if (!disk.Ok())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    ASSERT_TRUE(Start());
    NewProject();
    const QString prj = disk.Path("site.prj");
    const QString set = disk.Path("site." + State.CurDevType().DevExt);
    // Both files are saved while there is room.
    State.CurDev().Address = 5;
    Prj().Change();
    Dialogs.FileNames = {prj};
    ASSERT_TRUE(Prj().Save());
    Trigger("actDevDef");
    Dialogs.FileNames = {set};
    Trigger("actDevSave");
    const QByteArray oldPrj = TestUtil::ReadBytes(prj), oldSet = TestUtil::ReadBytes(set);
    ASSERT_GT(oldPrj.size(), 0);
    ASSERT_GT(oldSet.size(), 0);
    ASSERT_TRUE(disk.Fill());
    const QStringList names = disk.Names();
    const QString noSpace = QStringLiteral("на диске нет места");

    State.CurDev().Address = 6;
    Prj().Change();
    Widget<QLabel>("spMessage")->clear();
    const size_t asked = Dialogs.Asked.size();
    EXPECT_FALSE(Prj().Save());
    ASSERT_EQ(Dialogs.Asked.size(), asked + 1);
    EXPECT_TRUE(Dialogs.LastText().contains(noSpace)) << Dialogs.LastText().toStdString();
    EXPECT_EQ(TestUtil::ReadBytes(prj), oldPrj);
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
    EXPECT_NE(Pane("spMessage"), QStringLiteral("Проект был сохранен"));

    // The parameter set over the old one, and an export to a new file.
    Dialogs.FileNames = {set, disk.Path("table.xls")};
    Dialogs.FilterIndices = {0, 3};
    Trigger("actDevSave");
    EXPECT_TRUE(Dialogs.LastText().contains(noSpace)) << Dialogs.LastText().toStdString();
    Trigger("actDevSave");
    EXPECT_TRUE(Dialogs.LastText().contains(noSpace)) << Dialogs.LastText().toStdString();
    EXPECT_EQ(Dialogs.Asked.size(), asked + 3);
    EXPECT_EQ(TestUtil::ReadBytes(set), oldSet);
    EXPECT_EQ(disk.Names(), names); // no new, empty or temporary file
}
