// Parameter sets, exports and printing from the device table's buttons.
#include "ui/DevTableFiles.h"
#include "MainFixture.h"
#include "formats/ParamSetFile.h"
#include "ui/DevTable.h"

#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

namespace {
class DevFiles : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        ASSERT_TRUE(Start());
        NewProject();
        Trigger("actDevDef"); // factory values in every row
        State.PrjState = TPrjState::PrjSaved;
        ShowState();
    }
    // Loads a set image through the command, as the user does.
    void Load(const QByteArray& bytes) {
        const QString file = Dir.filePath("set.") + State.CurDevType().DevExt;
        TestUtil::WriteBytes(file, bytes);
        Dialogs.FileNames = {file};
        Trigger("actDevLoad");
    }
    TGridData Snapshot() { return GridFromTable(DevView(), &State.CurDevType()); }
    static void ExpectSameTable(const TGridData& a, const TGridData& b) {
        ASSERT_EQ(a.ColCount, b.ColCount);
        ASSERT_EQ(a.RowCount, b.RowCount);
        for (int c = 0; c < a.ColCount; ++c)
            for (int r = 0; r < a.RowCount; ++r) {
                const TGridCell &x = a.Cell(c, r), &y = b.Cell(c, r);
                EXPECT_EQ(x.Text, y.Text) << c << "," << r;
                EXPECT_EQ(x.HasCheckBox, y.HasCheckBox) << c << "," << r;
                EXPECT_EQ(x.Checked, y.Checked) << c << "," << r;
                EXPECT_EQ(x.FontColor, y.FontColor) << c << "," << r;
            }
    }
    int FindRow(auto pred) {
        const TDevProp& t = State.CurDevType();
        for (int i = 0; i < t.ParamCount(); ++i)
            if (pred(t.Param(i)))
                return i + 1;
        return -1;
    }
};
} // namespace

TEST_F(DevFiles, SaveThenLoadRestoresTextsCheckBoxesAndCoupledColour) {
    TfrmDev& t = DevView();
    const int textRow = FindRow([](const TParam& p) { return p.SType == 0 && p.VType == 3; });
    const int boxRow = FindRow([](const TParam& p) { return p.SType == 2; });
    const int linRow = State.CurDevType().SqrtLinIndex + 1;
    ASSERT_GT(textRow, 0);
    ASSERT_GT(boxRow, 0);
    ASSERT_GT(linRow, 0);
    t.SetCellText(1, textRow, "42.5");
    t.SetCheckBox(1, boxRow, !t.IsChecked(1, boxRow));
    const bool boxState = t.IsChecked(1, boxRow);
    const uint32_t linColour = t.CellFontColor(1, linRow);
    ASSERT_NE(linColour, 0x1FFFFFFFu);

    const QString file = Dir.filePath("set.txt"); // the chosen extension is replaced by the type's
    Dialogs.FileNames = {file};
    Dialogs.FilterIndices = {0};
    Trigger("actDevSave");
    const QString saved = Dir.filePath("set.") + State.CurDevType().DevExt;
    ASSERT_TRUE(QFileInfo::exists(saved));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved); // saving a set does not touch the project
    EXPECT_EQ(Dialogs.FileDialogs.back().Title, QStringLiteral("Сохранение параметров прибора в файл"));
    EXPECT_EQ(Dialogs.FileDialogs.back().Filters.size(), 5);

    t.ClearTable(State.CurDevType());
    t.SetCellFontColor(1, linRow, 0x1FFFFFFF);
    EXPECT_TRUE(t.CellText(1, textRow).isEmpty());

    Dialogs.FileNames = {Dir.filePath("set.txt")}; // looks for the same name with the type's extension
    Trigger("actDevLoad");
    EXPECT_TRUE(Dialogs.Asked.empty()) << Dialogs.LastText().toStdString();
    EXPECT_EQ(t.CellText(1, textRow), "42.5");
    EXPECT_EQ(t.IsChecked(1, boxRow), boxState);
    EXPECT_EQ(t.CellFontColor(1, linRow), linColour);
    EXPECT_EQ(t.CellText(0, 0), QStringLiteral(" Параметр"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
}

TEST_F(DevFiles, MissingDamagedAndUnwritableFilesAreReported) {
    Dialogs.FileNames = {Dir.filePath("nothing.kpr")};
    Trigger("actDevLoad");
    EXPECT_EQ(Dialogs.LastText(), QStringLiteral("Ошибка! Файл не найден!"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);

    TestUtil::WriteBytes(Dir.filePath("bad.") + State.CurDevType().DevExt, "TPF1garbage");
    Dialogs.FileNames = {Dir.filePath("bad.kpr")};
    Trigger("actDevLoad");
    EXPECT_FALSE(Dialogs.LastText().isEmpty());
    EXPECT_NE(Dialogs.LastText(), QStringLiteral("Ошибка! Файл не найден!"));
    EXPECT_EQ(State.PrjState, TPrjState::PrjSaved); // a failed load does not mark the project changed
    EXPECT_EQ(DevView().CellText(0, 0), QStringLiteral(" Параметр"));

    const QString readOnly = Dir.filePath("ro");
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const size_t asked = Dialogs.Asked.size();
    for (int filter = 0; filter < 5; ++filter) {
        Dialogs.FileNames = {readOnly + "/out"};
        Dialogs.FilterIndices = {filter};
        Trigger("actDevSave");
    }
    // As root the directory may still be writable; otherwise every attempt says why.
    if (!QFileInfo(readOnly).isWritable()) {
        EXPECT_EQ(Dialogs.Asked.size(), asked + 5);
        EXPECT_TRUE(QDir(readOnly).entryList(QDir::Files).isEmpty());
    }
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DevFiles, ExportsFollowTheChosenEntry) {
    const QStringList exts = {"txt", "doc", "xls", "html"};
    for (int i = 0; i < exts.size(); ++i) {
        Dialogs.FileNames = {Dir.filePath("table.") + State.CurDevType().DevExt};
        Dialogs.FilterIndices = {i + 1};
        Trigger("actDevSave");
        const QByteArray bytes = TestUtil::ReadBytes(Dir.filePath("table.") + exts[i]);
        EXPECT_FALSE(bytes.isEmpty()) << exts[i].toStdString();
    }
    EXPECT_TRUE(TestUtil::ReadBytes(Dir.filePath("table.doc")).startsWith("{\\rtf1"));
    EXPECT_TRUE(TestUtil::ReadBytes(Dir.filePath("table.xls")).startsWith("\xD0\xCF\x11\xE0"));
    EXPECT_TRUE(TestUtil::ReadCp1251(Dir.filePath("table.txt")).contains(QStringLiteral("Сетевой адрес")));
    EXPECT_FALSE(QFileInfo::exists(Dir.filePath("table.") + State.CurDevType().DevExt));
    EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(DevFiles, PrintsTheTableToAPdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Dir.filePath("table.pdf"));
    const TFileResult r = PrintDevTableTo(DevView(), State, printer);
    EXPECT_TRUE(r.Ok) << r.Error.toStdString();
    const QByteArray pdf = TestUtil::ReadBytes(Dir.filePath("table.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 2000);
    EXPECT_EQ(ReplaceExtension("/a/b.c/name", "kpr"), "/a/b.c/name.kpr");
    EXPECT_EQ(ReplaceExtension("/a/name.txt", "kpr"), "/a/name.kpr");
}

TEST_F(DevFiles, ASetThatCannotBeLoadedWholeLeavesTheTableAsItWas) {
    const TGridData before = Snapshot();
    ASSERT_GT(before.RowCount, 3);

    // A good header and a damaged first cell record.
    TGridData set = before;
    set.Cell(1, 1).Text = "999";
    QByteArray damaged = EncodeParamSet(set);
    const qsizetype firstCell = damaged.indexOf("TPF0", 4);
    ASSERT_GT(firstCell, 0);
    damaged[firstCell + 3] = '1';
    // A value with a line break, from a program that allows them.
    TGridData broken = before;
    broken.Cell(1, 3).Text = "12\r\n13";

    for (const QByteArray& bytes : {damaged, EncodeParamSet(broken)}) {
        Dialogs.Asked.clear();
        Load(bytes);
        ASSERT_EQ(Dialogs.Asked.size(), 1u);
        EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Ошибка"));
        ExpectSameTable(Snapshot(), before);
        EXPECT_EQ(State.PrjState, TPrjState::PrjSaved);
    }
    EXPECT_TRUE(Dialogs.LastText().contains(QStringLiteral("строке 3"))) << Dialogs.LastText().toStdString();
}

TEST_F(DevFiles, AFullSetEmptiesTheWholeTableAlsoColumnsItDoesNotHave) {
    ASSERT_GT(FindRow([](const TParam& p) { return p.SType == 2; }), 0); // check boxes to be removed
    TGridData narrow;
    narrow.Reset(1, 3, 200, 25);
    narrow.Cell(0, 0).Text = "N";
    narrow.Cell(0, 1).Text = "a";
    narrow.Cell(0, 2).Text = "b";
    Load(EncodeParamSet(narrow));
    EXPECT_TRUE(Dialogs.Asked.empty()) << Dialogs.LastText().toStdString();
    TfrmDev& t = DevView();
    ASSERT_EQ(t.RowCount(), 3);
    EXPECT_EQ(t.CellText(0, 2), "b");
    for (int c = 1; c < t.ColCount(); ++c)
        for (int r = 0; r < t.RowCount(); ++r) {
            EXPECT_TRUE(t.CellText(c, r).isEmpty()) << c << "," << r;
            EXPECT_FALSE(t.HasCheckBox(c, r)) << c << "," << r;
            EXPECT_EQ(t.CellFontColor(c, r), KColorNone) << c << "," << r;
        }
    EXPECT_EQ(State.PrjState, TPrjState::PrjChanged);
}
