#include "model/AppState.h"
#include "model/Model.h"
#include "TestUtil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Catalogue, KeysDefaultsAndNarrowFields) {
    QTemporaryDir dir;
    TestUtil::WriteCp1251(dir.filePath("devices.ini"),
                          QStringLiteral("[Empty]\n"
                                         "[Narrow]\nName=Узкий\nTypeNum=300\nChannels=257\nTimeOut=0x3E8\nTmin=1.5\n"
                                         "BaudRate=19200\nDir=K1\\\nDevExt=kpr\nChExt=kch\n"
                                         "[Bad]\nTimeOut=letters\nTmin=1,5\nBaudRate=$4B00\n"));
    const auto list = ReadCatalogue(dir.filePath("devices.ini"));
    ASSERT_EQ(list.size(), 3u);

    const TDevProp& e = *list[0];
    EXPECT_EQ(e.Name, QString());
    EXPECT_EQ(e.TypeNum, 0);
    EXPECT_EQ(e.BaudRate, 9600);
    EXPECT_EQ(e.TimeOut, 500);
    EXPECT_DOUBLE_EQ(e.Tmin, 0.7);
    EXPECT_EQ(e.Channels, 1);
    EXPECT_TRUE(e.Dir.isEmpty() && e.DevExt.isEmpty() && e.ChExt.isEmpty());
    EXPECT_TRUE(e.Params.empty());
    EXPECT_TRUE(e.Version.isEmpty());
    // Without a directory the base descriptions are looked for straight under the program directory.
    EXPECT_EQ(DescriptionPath("/p/", e, QString()), "/p/data/device.ini");

    const TDevProp& n = *list[1];
    EXPECT_EQ(n.Name, QStringLiteral("Узкий"));
    EXPECT_EQ(n.TypeNum, 44);
    EXPECT_EQ(n.Channels, 1);
    EXPECT_EQ(n.TimeOut, 1000);
    EXPECT_DOUBLE_EQ(n.Tmin, 1.5);
    EXPECT_EQ(n.BaudRate, 19200);
    EXPECT_EQ(n.Dir, "K1/"); // a Windows separator works on Linux
    EXPECT_EQ(DescriptionPath("/p/", n, QString()), "/p/K1/data/device.ini");
    EXPECT_EQ(MenuPath("/p/", n, "2.05"), "/p/K1/data_ver/2.05.dm");
    EXPECT_EQ(n.DevExt, "kpr");
    EXPECT_EQ(n.ChExt, "kch");

    const TDevProp& b = *list[2];
    EXPECT_EQ(b.TimeOut, 500);
    EXPECT_DOUBLE_EQ(b.Tmin, 0.7);
    EXPECT_EQ(b.BaudRate, 19200);
}

TEST(Catalogue, StateCreatesOneRecordPerEntryWithItsOwnParameterCount) {
    QTemporaryDir dir;
    TAppState state;
    state.ProgDir = dir.path() + "/";
    TestUtil::WriteCp1251(dir.filePath("devices.ini"),
                          QStringLiteral("[a]\nName=A\nDir=A\n[b]\nName=B\nDir=B\n[c]\nName=C\nDir=none\n"));
    QString desc;
    for (int i = 0; i < 12; ++i)
        desc += QStringLiteral("[P%1]\nVType=0\n").arg(i);
    TestUtil::WriteCp1251(dir.filePath("A/data/device.ini"), desc);
    TestUtil::WriteCp1251(dir.filePath("A/data/dev_menu.ini"), QString());
    TestUtil::WriteCp1251(dir.filePath("B/data/device.ini"), QStringLiteral("[X]\n[Y]\n"));
    TestUtil::WriteCp1251(dir.filePath("B/data/dev_menu.ini"), QString());
    state.LoadCatalogue();
    ASSERT_EQ(state.DevTypes.size(), 3u);
    ASSERT_EQ(state.DevList.size(), 3u);
    EXPECT_EQ(state.DevTypes[0]->Name, "A");
    EXPECT_EQ(state.DevList[0]->Values.size(), 12);
    EXPECT_EQ(state.DevList[1]->Values.size(), 2);
    EXPECT_EQ(state.DevList[2]->Values.size(), 0); // description files missing: no parameters
    EXPECT_TRUE(state.DevList[0]->Values.at(5).isEmpty());
    EXPECT_EQ(state.DevList[0]->Address, 1);
    EXPECT_EQ(state.DevList[0]->BaudRate, 9600);
    EXPECT_TRUE(state.DevList[0]->COMPort.isEmpty());
    EXPECT_EQ(state.CurType, 0);
}

TEST(Catalogue, EmptyOrMissingCatalogueGivesNoEntries) {
    QTemporaryDir dir;
    TAppState state;
    state.ProgDir = dir.path() + "/";
    state.LoadCatalogue();
    EXPECT_TRUE(state.DevTypes.empty());
    EXPECT_FALSE(state.HasCurType());
    TestUtil::WriteBytes(dir.filePath("devices.ini"), QByteArray("\xff\xfe\x00garbage without sections", 26));
    state.LoadCatalogue();
    EXPECT_TRUE(state.DevTypes.empty());
    EXPECT_TRUE(state.DevList.empty());
}
