// The measurement view: its table, the chart's tool row and the file commands.
#include "ui/MeasureView.h"
#include "Controls.h"
#include "ScriptedDialogs.h"
#include "TestUtil.h"
#include "chart/Chart.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
class MeasureView : public ::testing::Test {
protected:
    // The view's controls by objectName.
    TChart& Chart() const { return *Control<TChart>(View.get(), "Chart"); }
    QTableWidget* Grid() const { return Control<QTableWidget>(View.get(), "ASG"); }
    QToolButton* Tool(const char* name) const { return Control<QToolButton>(View.get(), name); }
    TAppState State;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TfrmMeasure> View;
    void SetUp() override {
        View = std::make_unique<TfrmMeasure>(State, Dialogs);
        View->resize(900, 600);
        View->show();
    }
};
} // namespace

TEST_F(MeasureView, BuildsOneColumnPerChannelWithCheckBoxesFromTwoChannels) {
    EXPECT_EQ(Grid()->columnCount(),
              7); // the initial table before a type is applied
    EXPECT_EQ(Chart().SeriesCount(), 0);
    EXPECT_FALSE(Tool("BtnLegend")->isChecked());

    View->Build(1);
    EXPECT_EQ(Grid()->columnCount(), 2);
    EXPECT_TRUE(Grid()->item(0, 1)->data(Qt::CheckStateRole).isNull());
    EXPECT_TRUE(View->ChannelSelected(1)); // no box: always read
    EXPECT_TRUE(Tool("BtnLegend")->isChecked());
    EXPECT_TRUE(Chart().LegendShowsValues());
    EXPECT_EQ(Chart().Series(0).Title, QStringLiteral("Канал 1"));

    View->Build(4);
    ASSERT_EQ(Grid()->columnCount(), 5);
    EXPECT_EQ(Chart().SeriesCount(), 4);
    EXPECT_FALSE(Chart().LegendShowsValues());
    EXPECT_EQ(Grid()->item(0, 0)->text(), QStringLiteral(" Измер. значение"));
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(View->ChannelSelected(k));
        EXPECT_TRUE(Grid()->item(0, k)->textAlignment() & Qt::AlignLeft); // more than 4 columns
    }
    // A click on a channel cell flips its box; the value stays while the channel is off.
    View->ShowValue(3, "12.5");
    const QRect cell = Grid()->visualItemRect(Grid()->item(0, 3));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(View->ChannelSelected(3));
    EXPECT_EQ(View->ValueText(3), "12.5");
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(View->ChannelSelected(3));
}

TEST_F(MeasureView, TimeRangeAndAutomaticScalingWorkTogether) {
    View->Build(2);
    View->SwitchAutoScaleOn();
    EXPECT_TRUE(Tool("AutoX")->isChecked());
    EXPECT_TRUE(Tool("AutoY")->isChecked());
    for (int i = 0; i < 50; ++i)
        View->AddPoint(1, i * 0.1, i);
    // "за 1    час": the automatic X scaling goes off and X shows 0 to 60 minutes.
    Control<QComboBox>(View.get(), "cbTime")->setCurrentIndex(6);
    View->cbTimeChange(6);
    EXPECT_FALSE(Tool("AutoX")->isChecked());
    EXPECT_FALSE(Chart().AutoX());
    EXPECT_DOUBLE_EQ(Chart().XMin(), 0);
    EXPECT_DOUBLE_EQ(Chart().XMax(), 60);
    // Moving left near 0 keeps the window's width and starts it at exactly 0.
    Tool("MoveRight")->click();
    Tool("MoveLeft")->click();
    Tool("MoveLeft")->click();
    EXPECT_DOUBLE_EQ(Chart().XMin(), 0);
    EXPECT_NEAR(Chart().XMax() - Chart().XMin(), 60, 1e-9);
    // Pressing automatic X again blanks the time range.
    Tool("AutoX")->click();
    EXPECT_TRUE(Tool("AutoX")->isChecked());
    EXPECT_EQ(Control<QComboBox>(View.get(), "cbTime")->currentIndex(), 0);
    // A zoom of Y switches only Y off.
    Tool("ZoomInY")->click();
    EXPECT_FALSE(Tool("AutoY")->isChecked());
    EXPECT_TRUE(Tool("AutoX")->isChecked());
    // Clearing empties the series; legend and 3D are two-state buttons.
    Tool("BtnClear")->click();
    EXPECT_EQ(Chart().Series(0).Count(), 0u);
    Tool("Btn3D")->click();
    EXPECT_TRUE(Chart().Is3D());
    Tool("BtnLegend")->click();
    EXPECT_FALSE(Chart().LegendVisible());
}

TEST_F(MeasureView, CommandsNeedSeriesButFilesAndSwitchesDoNot) {
    View->Build(0);
    EXPECT_EQ(Chart().SeriesCount(), 0);
    Tool("ZoomOutX")->click();
    Tool("MoveUp")->click();
    EXPECT_FALSE(Tool("AutoY")->isChecked());
    EXPECT_TRUE(Chart().AutoX()); // nothing switched off by a command that did nothing
    Tool("AutoY")->click();
    EXPECT_TRUE(Tool("AutoY")->isChecked());
}

TEST_F(MeasureView, SavesUnderTheChosenNameAndAsksBeforeOverwriting) {
    QTemporaryDir dir;
    View->Build(2);
    View->AddPoint(1, 0.0, 1.5);
    View->AddPoint(1, 0.5, 2.5);
    View->AddPoint(2, 0.25, -3);
    const QString wmf = dir.filePath("chart"); // no extension is added
    Dialogs.FileNames = {wmf};
    Tool("BtnSave")->click();
    const QByteArray bytes = TestUtil::ReadBytes(wmf);
    ASSERT_GE(bytes.size(), 22);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xD7); // placeable metafile key, little-endian
    EXPECT_EQ(static_cast<uint8_t>(bytes[3]), 0x9A);
    EXPECT_EQ(Dialogs.FileDialogs.back().Title, QStringLiteral("Сохранение графика"));

    TestUtil::WriteBytes(wmf, "keep");
    Dialogs.FileNames = {wmf};
    Dialogs.Answers = {TMsgAnswer::No};
    Tool("BtnSave")->click();
    EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Файл уже существует. Перезаписать?"));
    EXPECT_EQ(TestUtil::ReadBytes(wmf), "keep");

    Dialogs.FileNames = {dir.filePath("points.csv")};
    Tool("BtnSave")->click();
    const QString csv = QString::fromUtf8(TestUtil::ReadBytes(dir.filePath("points.csv")));
    EXPECT_TRUE(csv.contains("2.5"));
    EXPECT_TRUE(csv.contains("-3"));
    Dialogs.FileNames = {dir.filePath("chart.png")};
    Tool("BtnSave")->click();
    EXPECT_TRUE(TestUtil::ReadBytes(dir.filePath("chart.png")).startsWith("\x89PNG"));
}
