#include "model/Model.h"
#include "TestUtil.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class Descriptions : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TDevProp Type;
    QString ProgDir;
    void SetUp() override {
        ProgDir = Dir.path() + "/";
        Type.Dir = "T";
    }
    void WritePair(const QString& version, const QString& desc, const QString& menu) {
        TestUtil::WriteCp1251(DescriptionPath(ProgDir, Type, version), desc);
        TestUtil::WriteCp1251(MenuPath(ProgDir, Type, version), menu);
    }
    QStringList Names() const {
        QStringList out;
        for (const auto& p : Type.Params)
            out << p->Name;
        return out;
    }
};
} // namespace

TEST_F(Descriptions, LoadsEveryKeyWithDefaultsMenusAndColours) {
    WritePair(QString(),
              QStringLiteral("[Сетевой адрес]\nVType=0\nAddress=$1A\nValue=1\nVmin=1\nVmax=247\nHint=Адрес\n"
                             "Color=clYellow\n"
                             "[Тип датчика]\nVType=0\nAddress=70000\nSType=1\nVmin=10\nVmax=20\nValue=2\n"
                             "Color=0xE0E0FF\n"
                             "[Без ключей]\n"
                             "[Плохой цвет]\nColor=notacolour\nSType=2\n"
                             "[Список без меню]\nSType=1\nColor=CLSILVER\n"),
              QStringLiteral("[тип ДАТЧИКА]\nM0=ТХА\nM2=ТХК\nM255=последний\nM256=лишний\n"));
    ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
    ASSERT_EQ(Type.ParamCount(), 5);
    const TParam& a = Type.Param(0);
    EXPECT_EQ(a.Name, QStringLiteral("Сетевой адрес"));
    EXPECT_EQ(a.VType, 0);
    EXPECT_EQ(a.Address, 0x1A);
    EXPECT_EQ(a.Value, "1");
    EXPECT_EQ(a.Vmin, "1");
    EXPECT_EQ(a.Vmax, "247");
    EXPECT_EQ(a.Hint, QStringLiteral("Адрес"));
    EXPECT_EQ(a.Color, 0x00FFFFu);
    EXPECT_EQ(a.Menu, nullptr);

    const TParam& list = Type.Param(1);
    EXPECT_EQ(list.Address, 4464); // low 16 bits of 70000
    EXPECT_EQ(list.Vmin, "0");     // option lists always run 0..255
    EXPECT_EQ(list.Vmax, "255");
    ASSERT_NE(list.Menu, nullptr);
    ASSERT_EQ(list.Menu->size(), 256);
    EXPECT_EQ(list.Menu->at(0), QStringLiteral("ТХА"));
    EXPECT_EQ(list.Menu->at(1), "<none>");
    EXPECT_EQ(list.Menu->at(2), QStringLiteral("ТХК"));
    EXPECT_EQ(list.Menu->at(255), QStringLiteral("последний"));
    EXPECT_EQ(list.Color, 0xE0E0FFu);

    const TParam& bare = Type.Param(2);
    EXPECT_EQ(bare.VType, 1);
    EXPECT_EQ(bare.Address, 0);
    EXPECT_EQ(bare.SType, 0);
    EXPECT_EQ(bare.Color, 0xFFFFFFu);

    EXPECT_EQ(Type.Param(3).Color, 0xFFFFFFu); // unreadable colour: default, and the load completes
    EXPECT_EQ(Type.Param(4).Color, 0xC0C0C0u);
    ASSERT_NE(Type.Param(4).Menu, nullptr);
    EXPECT_EQ(Type.Param(4).Menu->count("<none>"), 256);
    EXPECT_TRUE(Type.Version.isEmpty());
}

TEST_F(Descriptions, CoupledParametersAreFoundByExactName) {
    WritePair(QString(),
              "[" + SqrtLinParamName + "]\n[" + SqrtParamName + "]\n[x]\n[" + SqrtLinParamName + "]\n",
              QString());
    ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
    EXPECT_EQ(Type.SqrtIndex, 1);
    EXPECT_EQ(Type.SqrtLinIndex, 3); // a later equal name overrides an earlier one

    QString lowerFirst = SqrtParamName;
    lowerFirst[0] = lowerFirst[0].toLower();
    WritePair(QString(), "[" + lowerFirst + "]\n", QString());
    ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
    EXPECT_EQ(Type.SqrtIndex, -1);
    EXPECT_EQ(Type.SqrtLinIndex, -1);
}

TEST_F(Descriptions, MissingFilesLeaveTheEntryUntouched) {
    WritePair(QString(), QStringLiteral("[A]\n[B]\n"), QString());
    ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
    TestUtil::WriteCp1251(DescriptionPath(ProgDir, Type, "v2"), QStringLiteral("[Z]\n"));
    EXPECT_FALSE(LoadDescriptions(ProgDir, Type, "v2")); // .dv without .dm
    EXPECT_FALSE(LoadDescriptions(ProgDir, Type, "v3"));
    EXPECT_FALSE(LoadDescriptions(ProgDir, Type, "../T/data/device")); // never outside data_ver
    EXPECT_EQ(Names(), QStringList({"A", "B"}));
    EXPECT_TRUE(Type.Version.isEmpty());

    WritePair("empty", QString(), QString());
    EXPECT_TRUE(LoadDescriptions(ProgDir, Type, "empty")); // no sections is a valid, empty set
    EXPECT_EQ(Type.ParamCount(), 0);
    EXPECT_EQ(Type.Version, "empty");
}

TEST_F(Descriptions, ReloadCarriesValuesOverByNameIgnoringCase) {
    WritePair(QString(), QStringLiteral("[A]\n[B]\n[C]\n"), QString());
    ASSERT_TRUE(LoadDescriptions(ProgDir, Type, QString()));
    TDev dev(3);
    dev.Values = QStringList({"1", "2", "3"});
    WritePair("v2", QStringLiteral("[C]\n[X]\n[a]\n"), QString());
    ASSERT_TRUE(Reload(ProgDir, Type, dev, "v2"));
    EXPECT_EQ(dev.Values, QStringList({"3", "", "1"}));
    EXPECT_EQ(Type.Version, "v2");

    // Cyrillic names match without regard to letter case too.
    WritePair("v3", QStringLiteral("[Фильтр]\n[c]\n"), QString());
    WritePair("v4", QStringLiteral("[ФИЛЬТР]\n[Новый]\n"), QString());
    dev.Values = QStringList({"1", "2", "3"}); // for C, X, a
    ASSERT_TRUE(Reload(ProgDir, Type, dev, "v3"));
    EXPECT_EQ(dev.Values, QStringList({"", "1"}));
    dev.Values[0] = "9";
    ASSERT_TRUE(Reload(ProgDir, Type, dev, "v4"));
    EXPECT_EQ(dev.Values, QStringList({"9", ""}));

    EXPECT_FALSE(Reload(ProgDir, Type, dev, "missing"));
    EXPECT_EQ(dev.Values, QStringList({"9", ""}));
    EXPECT_EQ(Type.Version, "v4");
}

TEST(ColorIdentsTable, IdentifiersAndValues) {
    uint32_t c = 0;
    EXPECT_TRUE(ColorFromText("clWindowText", c));
    EXPECT_EQ(c, 0x80000008u);
    EXPECT_TRUE(ColorFromText("clGrayText", c));
    EXPECT_EQ(c, 0x80000011u);
    EXPECT_TRUE(ColorFromText("clInfoBk", c));
    EXPECT_EQ(c, 0x80000018u);
    EXPECT_TRUE(ColorFromText("clnone", c));
    EXPECT_EQ(c, 0x1FFFFFFFu);
    EXPECT_TRUE(ColorFromText("$FFFFFF", c));
    EXPECT_EQ(c, 0xFFFFFFu);
    EXPECT_FALSE(ColorFromText("clMoneyGreen", c));
    EXPECT_EQ(ColorIdentOf(0x000080), "clMaroon");
    EXPECT_EQ(ColorIdentOf(0x123456), QString());
}
