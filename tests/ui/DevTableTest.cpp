// Device parameter table: value checks, editors, the switch rule and the table operations, driven
// through the real widget on the offscreen platform.
#include "ui/DevTable.h"
#include "Controls.h"
#include "ScriptedDialogs.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <functional>

namespace {
const QString Caption = QStringLiteral("Ошибка ввода");
const QString BadData = QStringLiteral("Неверно введены данные!");
const QString BelowMin =
    QStringLiteral("Введенное значение меньше минимально возможного для данного параметра! "
                   "Будет установлено минимальное значение.");
const QString AboveMax =
    QStringLiteral("Введенное значение превышает максимально возможное для данного параметра! "
                   "Будет установлено максимальное значение.");

uint32_t Ident(const char* name) {
    uint32_t c = 0;
    EXPECT_TRUE(ColorFromText(QString::fromLatin1(name), c));
    return c;
}

struct THostSpy : TDevHost {
    int PrjChanges = 0;
    int MeasureBuilds = 0;
    QString StatusText;
    void PrjChange() override { ++PrjChanges; }
    void BuildMeasureView(const TDevProp&) override { ++MeasureBuilds; }
    void SetDevStatusText(const QString& text) override { StatusText = text; }
};

TParam& Add(TDevProp& t, const QString& name, int vtype, int stype, const QString& vmin = {},
            const QString& vmax = {}, const QString& value = {}) {
    auto p = std::make_unique<TParam>();
    p->Name = name;
    p->VType = uint8_t(vtype);
    p->SType = uint8_t(stype);
    p->Vmin = vmin;
    p->Vmax = vmax;
    p->Value = value;
    if (stype == 1)
        p->Menu = std::make_unique<QStringList>(MenuSize, MenuNoneText);
    t.Params.push_back(std::move(p));
    return *t.Params.back();
}

// Rows (grid coordinates): 1 unsigned 1..247, 2 signed, 3 real -50..100, 4 bit string 4..8, 5 text,
// 6 list with gaps, 7 check box, 8/9 the coupled pair, 10 limits that are not whole numbers,
// 11 Vmin above Vmax.
std::unique_ptr<TDevProp> TestType() {
    auto t = std::make_unique<TDevProp>();
    t->Name = QStringLiteral("Тестовый");
    TParam& addr = Add(*t, QStringLiteral("Адрес"), 0, 0, "1", "247", "1");
    addr.Hint = QStringLiteral("Адрес в сети");
    Add(*t, QStringLiteral("Смещение"), 2, 0, "-1000", "1000", "0");
    Add(*t, QStringLiteral("Температура"), 3, 0, "-50", "100", "20");
    Add(*t, QStringLiteral("Маска"), 4, 0, "4", "8", "0110");
    Add(*t, QStringLiteral("Имя"), 5, 0, {}, {}, "abc");
    TParam& list = Add(*t, QStringLiteral("Датчик"), 0, 1, "0", "255", "3");
    (*list.Menu)[0] = QStringLiteral("ТХК");
    (*list.Menu)[3] = QStringLiteral("Pt100");
    (*list.Menu)[7] = QStringLiteral("4-20 мА");
    Add(*t, QStringLiteral("Звук"), 0, 2, "0", "1", "1");
    TParam& sq = Add(*t, SqrtParamName, 0, 1, "0", "255", "0");
    (*sq.Menu)[0] = QStringLiteral("выключена");
    (*sq.Menu)[1] = QStringLiteral("включена");
    Add(*t, SqrtLinParamName, 3, 0, "0", "100", "1.5");
    Add(*t, QStringLiteral("Свободный"), 1, 0, "abc", "1.5");
    Add(*t, QStringLiteral("Перевёрнутый"), 0, 0, "10", "5").Color = Ident("clInfoBk");
    t->SqrtIndex = 7;
    t->SqrtLinIndex = 8;
    return t;
}

// Lets a test act while a message box is up, as a real modal box takes the focus.
struct TDialogsWithHook : TScriptedDialogs {
    std::function<void()> During;
    TMsgAnswer Message(const QString& text, const QString& caption, TMsgButtons buttons,
                       TMsgAnswer a) override {
        if (During)
            During();
        return TScriptedDialogs::Message(text, caption, buttons, a);
    }
};

class DevTable : public ::testing::Test {
protected:
    TAppState State;
    TDialogsWithHook Dialogs;
    THostSpy Host;
    std::unique_ptr<TfrmDev> Form;
    QTableWidget* G = nullptr;

    void SetUp() override {
        State.DevTypes.push_back(TestType());
        State.DevList.push_back(std::make_unique<TDev>());
        State.CurDev().Values = {"1", "0", "20", "0110", "abc", "3", "1", "0", "1.5", "", "7"};
        Form = std::make_unique<TfrmDev>(State, Dialogs, Host);
        G = Control<QTableWidget>(Form.get(), "DevGrid");
        Form->resize(600, 400);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->ApplyDevType(Type());
    }
    TDevProp& Type() { return State.CurDevType(); }
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    QPoint Center(int col, int row) {
        G->scrollToItem(G->item(row - 1, col));
        return G->visualItemRect(G->item(row - 1, col)).center();
    }
    void Click(int row, int col = 1) {
        QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, Center(col, row));
        Settle();
    }
    // What a real double click delivers: press, release, double click, release.
    void DoubleClick(int row) {
        const QPoint at = Center(1, row);
        QTest::mousePress(G->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(G->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(G->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(G->viewport(), Qt::LeftButton, {}, at);
        Settle();
    }
    QLineEdit* LineEditor() { return G->viewport()->findChild<QLineEdit*>(); }
    QComboBox* ListEditor() { return G->viewport()->findChild<QComboBox*>(); }
    // Double click, replace the text by typing, Enter: the user's way through the editor.
    void TypeInto(int row, const QString& text) {
        DoubleClick(row);
        QLineEdit* e = LineEditor();
        ASSERT_NE(e, nullptr) << "no editor for row " << row;
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
        Settle();
    }
    void Choose(int row, const QString& option) {
        Click(row);
        QComboBox* c = ListEditor();
        ASSERT_NE(c, nullptr);
        const int i = c->findText(option);
        ASSERT_GE(i, 0);
        c->view()->setCurrentIndex(c->model()->index(i, 0));
        QTest::keyClick(c->view(), Qt::Key_Return);
        Settle();
    }
    // CheckValue of parameter p: the resulting text, or "refused".
    QString Check(int p, const QString& text) {
        QString t = text;
        return Form->CheckValue(p, t) ? t : QStringLiteral("refused:") + t;
    }
};

TEST_F(DevTable, RowsHeaderAndAppearance) {
    EXPECT_EQ(Form->RowCount(), 12);
    EXPECT_EQ(Form->ColCount(), 2);
    EXPECT_EQ(Form->CellText(0, 0), QStringLiteral(" Параметр"));
    EXPECT_EQ(Form->CellText(1, 0), QStringLiteral(" Значение"));
    EXPECT_EQ(Form->CellText(0, 1), QStringLiteral(" Адрес"));
    EXPECT_EQ(Form->RowHeight(0), 30);
    EXPECT_EQ(Form->RowHeight(5), 25);
    EXPECT_EQ(G->horizontalHeader()->height(), 30);
    EXPECT_TRUE(G->horizontalHeader()->font().bold());
    QFont face(QStringLiteral("Serif"), 15);
    Form->setFont(face);
    EXPECT_EQ(G->horizontalHeader()->font().pointSize(), 15);
    EXPECT_TRUE(G->horizontalHeader()->font().bold());
    EXPECT_EQ(Form->CellFont(1, 1).pointSize(), 15);
    EXPECT_EQ(Form->CellAlignment(0, 0), TfrmDev::TAlign::Center);
    EXPECT_EQ(Form->CellAlignment(0, 3), TfrmDev::TAlign::Left);
    EXPECT_EQ(Form->CellAlignment(1, 3), TfrmDev::TAlign::Center);
    EXPECT_TRUE(Form->CellFont(0, 2).bold());
    EXPECT_FALSE(Form->CellFont(1, 2).bold());
    EXPECT_EQ(Form->CellTextColor(0, 2), QColor(0x80, 0, 0));
    EXPECT_EQ(Form->CellBackground(1, 1), QColor(Qt::white));
    EXPECT_EQ(Form->CellBackground(0, 11), G->palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(Host.MeasureBuilds, 1);
    EXPECT_EQ(Host.StatusText, QStringLiteral("Тестовый"));
    // Names cannot be selected: a click leaves the selected value cell where it was.
    Click(3);
    Click(3, 0);
    EXPECT_EQ(G->currentRow(), 2);
    EXPECT_EQ(G->currentColumn(), 1);
}

TEST_F(DevTable, HintsOnlyWhileSwitchedOn) {
    EXPECT_TRUE(G->item(0, 0)->toolTip().isEmpty());
    EXPECT_TRUE(G->horizontalHeaderItem(0)->toolTip().isEmpty());
    Form->SetShowHints(true);
    EXPECT_EQ(G->item(0, 0)->toolTip(), QStringLiteral("Адрес в сети"));
    EXPECT_TRUE(G->item(0, 1)->toolTip().isEmpty());
    EXPECT_EQ(G->horizontalHeaderItem(0)->toolTip(), QStringLiteral("Названия параметров прибора"));
    EXPECT_EQ(G->horizontalHeaderItem(1)->toolTip(), QStringLiteral("Значения параметров прибора"));
    Form->SetShowHints(false);
    EXPECT_TRUE(G->item(0, 0)->toolTip().isEmpty());
}

TEST_F(DevTable, LayoutSplitsWidthAndShowsScrollBarOnlyWhenNeeded) {
    // 10 rows of 25 plus the 30 header fit in 400.
    EXPECT_EQ(G->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    int client = G->contentsRect().width();
    EXPECT_EQ(Form->ColWidth(1), int(client * 0.5 / 2));
    EXPECT_EQ(Form->ColWidth(0) + Form->ColWidth(1), client);
    Form->resize(500, 200);
    EXPECT_EQ(G->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    client = G->contentsRect().width() - G->verticalScrollBar()->sizeHint().width();
    EXPECT_EQ(Form->ColWidth(1), int(client * 0.5 / 2));
    EXPECT_EQ(Form->ColWidth(0) + Form->ColWidth(1), client);
}

TEST_F(DevTable, WholeNumberChecks) {
    EXPECT_EQ(Check(0, "abc"), "refused:abc");
    EXPECT_EQ(Dialogs.Asked.back().Text, BadData);
    EXPECT_EQ(Dialogs.Asked.back().Caption, Caption);
    EXPECT_EQ(Dialogs.Asked.back().Buttons, TMsgButtons::Ok);
    EXPECT_EQ(Check(0, "1.5"), "refused:1.5");
    EXPECT_EQ(Host.PrjChanges, 0);
    EXPECT_EQ(Check(0, "0"), "1");
    EXPECT_EQ(Dialogs.LastText(), BelowMin);
    EXPECT_EQ(Check(0, "300"), "247");
    EXPECT_EQ(Dialogs.LastText(), AboveMax);
    EXPECT_EQ(Check(0, "99999999999999999999999"), "247");
    EXPECT_EQ(Check(1, "-2000"), "-1000");
    EXPECT_EQ(Dialogs.Asked.size(), 6u);
    EXPECT_EQ(Check(0, "+17"), "+17");
    EXPECT_EQ(Check(0, "247"), "247"); // the limits themselves are allowed
    EXPECT_EQ(Check(0, "1"), "1");
    EXPECT_EQ(Check(2, "100"), "100");
    EXPECT_EQ(Check(2, "-50"), "-50");
    EXPECT_EQ(Check(9, "-7"), "-7"); // limits that are not whole numbers limit nothing
    EXPECT_EQ(Check(9, "123456"), "123456");
    EXPECT_EQ(Dialogs.Asked.size(), 6u);
    EXPECT_EQ(Check(10, "7"), "5"); // below 10 and above 5: the maximum wins
    EXPECT_EQ(Dialogs.LastText(), AboveMax);
    EXPECT_EQ(Host.PrjChanges, 12);
}

TEST_F(DevTable, RealBitStringTextAndEmptyChecks) {
    EXPECT_EQ(Check(2, "12,5"), "12.5");
    EXPECT_EQ(Check(2, "-60"), "-50");
    EXPECT_EQ(Dialogs.LastText(), BelowMin);
    EXPECT_EQ(Check(2, "100.5"), "100");
    EXPECT_EQ(Check(2, "1,2,3"), "refused:1.2.3");
    EXPECT_EQ(Dialogs.LastText(), BadData);
    EXPECT_EQ(Check(3, "101"), "refused:101");
    EXPECT_EQ(Check(3, "10102"), "refused:10102");
    EXPECT_EQ(Check(3, "000011110"), "refused:000011110");
    EXPECT_EQ(Check(3, ""), "refused:");
    EXPECT_EQ(Check(3, "0110"), "0110");
    EXPECT_EQ(Check(4, "a|b"), "refused:a|b");
    EXPECT_EQ(Dialogs.LastText(), BadData);
    const size_t asked = Dialogs.Asked.size();
    EXPECT_EQ(Check(4, "a b"), "a b");
    EXPECT_EQ(Check(0, ""), "");
    EXPECT_EQ(Check(2, ""), "");
    EXPECT_EQ(Check(5, "anything"), "anything"); // lists are chosen, not typed
    EXPECT_EQ(Dialogs.Asked.size(), asked);
}

TEST_F(DevTable, EditorPathChecksStoresAndMarksProject) {
    TypeInto(1, "300");
    EXPECT_EQ(Form->CellText(1, 1), "247");
    EXPECT_EQ(Dialogs.LastText(), AboveMax);
    EXPECT_EQ(Host.PrjChanges, 2); // accepted by the check, then the changed cell
    TypeInto(3, "12,5");
    EXPECT_EQ(Form->CellText(1, 3), "12.5");
    TypeInto(3, "1,2,3"); // refused, but the comma-turned text stays
    EXPECT_EQ(Form->CellText(1, 3), "1.2.3");
    EXPECT_EQ(Host.PrjChanges, 5);
    TypeInto(2, "-"); // refused: the old text comes back
    EXPECT_EQ(Form->CellText(1, 2), "0");
    EXPECT_EQ(Dialogs.LastText(), BadData);
    EXPECT_EQ(Host.PrjChanges, 6);
    TypeInto(4, "10102");
    EXPECT_EQ(Form->CellText(1, 4), "0110");
    TypeInto(5, "a|b");
    EXPECT_EQ(Form->CellText(1, 5), "abc");
    TypeInto(4, "1001");
    EXPECT_EQ(Form->CellText(1, 4), "1001");
    EXPECT_EQ(LineEditor(), nullptr);
}

TEST_F(DevTable, MessageBoxTakingFocusDoesNotCheckTwice) {
    bool focusLeft = false;
    Dialogs.During = [&] {
        QLineEdit box;
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
        QCoreApplication::processEvents();
        focusLeft = QApplication::focusWidget() == &box;
    };
    QApplication::setActiveWindow(Form.get());
    TypeInto(1, "0");
    EXPECT_TRUE(focusLeft);
    EXPECT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Form->CellText(1, 1), "1");
    EXPECT_EQ(LineEditor(), nullptr);
    TypeInto(1, "5");
    EXPECT_EQ(Form->CellText(1, 1), "5");
}

TEST_F(DevTable, UnchangedOrCancelledEditIsNotChecked) {
    TypeInto(1, "1");
    QTest::keyClick(G, Qt::Key_F2);
    QLineEdit* e = LineEditor();
    ASSERT_NE(e, nullptr);
    QTest::keyClicks(e, "5");
    QTest::keyClick(e, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Form->CellText(1, 1), "1");
    EXPECT_EQ(Host.PrjChanges, 0);
    EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(DevTable, EditorKindsFollowTypeAndSign) {
    TypeInto(1, "-12"); // unsigned field: the sign cannot be typed
    EXPECT_EQ(Form->CellText(1, 1), "12");
    TypeInto(2, "-12");
    EXPECT_EQ(Form->CellText(1, 2), "-12");
    TypeInto(10, "-3"); // Vmin is no number, so not below 0: no sign
    EXPECT_EQ(Form->CellText(1, 10), "3");
    TypeInto(5, "x-y");
    EXPECT_EQ(Form->CellText(1, 5), "x-y");
}

TEST_F(DevTable, EndEditTakesEditedText) {
    Click(5);
    QTest::keyClick(G, Qt::Key_F2);
    QLineEdit* e = LineEditor();
    ASSERT_NE(e, nullptr);
    e->setText("neu");
    Form->EndEdit();
    Settle();
    EXPECT_EQ(Form->CellText(1, 5), "neu");
    EXPECT_GE(Host.PrjChanges, 1);
}

TEST_F(DevTable, ListEditorOffersDefinedOptionsAndStoresOptionNumber) {
    Click(6);
    QComboBox* c = ListEditor();
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->isEditable());
    EXPECT_TRUE(c->view()->isVisible()); // dropped down at once
    ASSERT_EQ(c->count(), 3);
    EXPECT_EQ(c->itemText(2), QStringLiteral("4-20 мА"));
    QTest::keyClick(c->view(), Qt::Key_Escape);
    Settle();
    Choose(6, QStringLiteral("4-20 мА"));
    EXPECT_EQ(Form->CellText(1, 6), QStringLiteral("4-20 мА"));
    EXPECT_EQ(Host.PrjChanges, 2);
    TDev d;
    Form->TableToValues(d);
    EXPECT_EQ(d.Values[5], "7");
}

TEST_F(DevTable, ClosingWithListDroppedDownIsSafe) {
    Click(6);
    ASSERT_NE(ListEditor(), nullptr);
    ASSERT_TRUE(ListEditor()->view()->isVisible());
    Form.reset(); // the grid's cells must not outlive what they read
    Settle();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(DevTable, SwitchRuleGreysAndLocksCoupledRow) {
    const QColor grey = G->palette().color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(grey, G->palette().color(QPalette::WindowText));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clGrayText"));
    EXPECT_EQ(Form->CellTextColor(1, 9), grey);
    EXPECT_FALSE(Form->ASGCanEditCell(1, 9));
    DoubleClick(9);
    EXPECT_EQ(LineEditor(), nullptr);
    Choose(8, QStringLiteral("включена"));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clWindowText"));
    EXPECT_EQ(Form->CellTextColor(1, 9), G->palette().color(QPalette::WindowText));
    EXPECT_TRUE(Form->ASGCanEditCell(1, 9));
    TypeInto(9, "7,5");
    EXPECT_EQ(Form->CellText(1, 9), "7.5");
    Choose(8, QStringLiteral("выключена"));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clGrayText"));
    EXPECT_FALSE(Form->ASGCanEditCell(1, 9));
    EXPECT_EQ(Form->CellFontColor(1, 8), 0x1FFFFFFFu); // no other cell carries a colour
}

TEST_F(DevTable, CheckBoxFlipsOnlyOnSelectedCell) {
    ASSERT_TRUE(Form->IsChecked(1, 7));
    Click(7); // selects
    EXPECT_TRUE(Form->IsChecked(1, 7));
    EXPECT_EQ(Host.PrjChanges, 0);
    Click(7);
    EXPECT_FALSE(Form->IsChecked(1, 7));
    EXPECT_EQ(Host.PrjChanges, 1);
    QTest::keyClick(G, Qt::Key_Space);
    EXPECT_TRUE(Form->IsChecked(1, 7));
    EXPECT_EQ(LineEditor(), nullptr);
}

TEST_F(DevTable, ReadWriteBlocksEditingMeasurementDoesNot) {
    Click(7);
    State.ExchangeState = TExchState::ExchReadWrite;
    EXPECT_FALSE(Form->ASGCanEditCell(1, 1));
    Click(7);
    EXPECT_TRUE(Form->IsChecked(1, 7));
    DoubleClick(1);
    EXPECT_EQ(LineEditor(), nullptr);
    Click(6);
    EXPECT_EQ(ListEditor(), nullptr);
    State.ExchangeState = TExchState::ExchMeasure;
    Click(7);
    Click(7);
    EXPECT_FALSE(Form->IsChecked(1, 7));
    TypeInto(1, "42");
    EXPECT_EQ(Form->CellText(1, 1), "42");
    EXPECT_FALSE(Form->ASGCanEditCell(0, 1));
    EXPECT_FALSE(Form->ASGCanEditCell(1, 0));
}

TEST_F(DevTable, ValuesToTableBadAndShortInput) {
    TDev d;
    d.Values = {"5", "", "", "", "", "", "2", "1", "", "", ""};
    Form->ValuesToTable(d);
    EXPECT_EQ(Form->CellText(1, 6), "");
    EXPECT_FALSE(Form->IsChecked(1, 7)); // "2" is neither "0" nor "1"
    EXPECT_EQ(Form->CellText(1, 8), QStringLiteral("включена"));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clWindowText"));
    for (const char* bad : {"300", "-1", "abc", "5"}) { // 5 is a gap: "<none>"
        d.Values[5] = bad;
        Form->ValuesToTable(d);
        EXPECT_EQ(Form->CellText(1, 6), bad == QLatin1String("5") ? MenuNoneText : QString()) << bad;
    }
    TDev shortDev;
    shortDev.Values = {"9"};
    Form->ValuesToTable(shortDev);
    EXPECT_EQ(Form->CellText(1, 1), "9");
    EXPECT_EQ(Form->CellText(1, 8), QStringLiteral("включена"));
    TDev longDev;
    longDev.Values = QStringList(40, "1");
    Form->ValuesToTable(longDev);
    EXPECT_EQ(Form->RowCount(), 12);
    EXPECT_EQ(Form->CellText(1, 11), "1");
}

TEST_F(DevTable, ShowParamRowTicksNonZeroAndReappliesRule) {
    TDev d = State.CurDev();
    d.Values[6] = "2";
    Form->ShowParamRow(d, 6);
    EXPECT_TRUE(Form->IsChecked(1, 7));
    d.Values[7] = "1";
    Form->ShowParamRow(d, 7);
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clWindowText"));
    Form->ShowParamRow(d, -1);
    Form->ShowParamRow(d, 11);

    // Indices above 255 never trigger the rule there, unlike ValuesToTable.
    TDevProp& t = Type();
    while (t.ParamCount() < 302)
        Add(t, QStringLiteral("P%1").arg(t.ParamCount()), 5, 0);
    std::swap(t.Params[7], t.Params[300]);
    std::swap(t.Params[8], t.Params[301]);
    t.SqrtIndex = 300;
    t.SqrtLinIndex = 301;
    State.CurDev().Values = QStringList(302, QString());
    Form->ApplyDevType(t);
    TDev big = State.CurDev();
    big.Values[300] = "1";
    Form->ShowParamRow(big, 300);
    EXPECT_EQ(Form->CellText(1, 301), QStringLiteral("включена"));
    EXPECT_EQ(Form->CellFontColor(1, 302), Ident("clGrayText"));
    Form->ValuesToTable(big);
    EXPECT_EQ(Form->CellFontColor(1, 302), Ident("clWindowText"));
}

TEST_F(DevTable, TableToValuesRoundTripAndListLookup) {
    TDev d;
    Form->TableToValues(d);
    EXPECT_EQ(d.Values, State.CurDev().Values);
    Form->SetCellText(1, 6, "pT100");
    Form->RemoveCheckBox(1, 7);
    Form->TableToValues(d);
    EXPECT_EQ(d.Values[5], "3");
    EXPECT_EQ(d.Values[6], "0");
    for (const QString& text : {MenuNoneText, QStringLiteral("Pt1000"), QString()}) {
        Form->SetCellText(1, 6, text);
        Form->TableToValues(d);
        EXPECT_EQ(d.Values[5], "") << text.toStdString();
    }
}

TEST_F(DevTable, FactoryDefaultsAndClearTable) {
    Type().Param(0).Value = "12";
    Form->SetFactoryDefaults(Type());
    TDev d;
    Form->TableToValues(d);
    EXPECT_EQ(d.Values, QStringList({"12", "0", "20", "0110", "abc", "3", "1", "0", "1.5", "", ""}));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clGrayText"));
    Type().Param(7).Value = "1";
    Type().Param(5).Value = "999";
    Type().Param(6).Value = "abc";
    Form->SetFactoryDefaults(Type());
    EXPECT_EQ(Form->CellText(1, 6), "");
    EXPECT_FALSE(Form->IsChecked(1, 7));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clWindowText"));
    Form->SetCheckBox(1, 7, true);
    Form->ClearTable(Type());
    for (int row = 1; row < Form->RowCount(); ++row)
        EXPECT_EQ(Form->CellText(1, row), "") << row;
    EXPECT_FALSE(Form->IsChecked(1, 7));
    EXPECT_TRUE(Form->HasCheckBox(1, 7));
    EXPECT_EQ(Form->CellFontColor(1, 9), Ident("clWindowText")); // kept
}

TEST_F(DevTable, ResetValuesAndFirstEmptyValue) {
    TDev d;
    Form->ResetValues(d);
    EXPECT_EQ(d.Values, QStringList({"", "", "", "", "", "", "0", "", "", "", ""}));
    EXPECT_EQ(Form->FirstEmptyValue(d), 0);
    d.Values = QStringList(11, "1");
    EXPECT_EQ(Form->FirstEmptyValue(d), -1);
    d.Values[4] = "";
    d.Values[9] = "";
    EXPECT_EQ(Form->FirstEmptyValue(d), 4);
    EXPECT_EQ(Form->FirstEmptyValue(TDev()), -1);
}

TEST_F(DevTable, TypeWithoutParametersShowsOneEmptyRow) {
    State.DevTypes[0] = std::make_unique<TDevProp>();
    Form->SetShowHints(true);
    Form->ApplyDevType(Type());
    EXPECT_EQ(Form->RowCount(), 2);
    EXPECT_EQ(Form->CellText(0, 1), "");
    EXPECT_EQ(Form->CellText(1, 1), "");
    EXPECT_FALSE(Form->CellBackground(0, 1).isValid());
    EXPECT_FALSE(Form->CellFont(0, 1).bold());
    EXPECT_TRUE(G->item(0, 0)->toolTip().isEmpty());
    TDev d;
    d.Values = {"x"};
    Form->TableToValues(d);
    EXPECT_TRUE(d.Values.isEmpty());
    QString text = "a|b";
    EXPECT_TRUE(Form->CheckValue(0, text));
}

TEST_F(DevTable, RowsBeyondDescriptionsArePlainAndSafe) {
    Form->SetRowCount(15);
    EXPECT_EQ(Form->RowCount(), 15);
    EXPECT_FALSE(Form->CellBackground(0, 13).isValid());
    EXPECT_FALSE(Form->CellFont(0, 13).bold());
    Form->SetCellText(1, 13, "frei");
    QString text = "a|b";
    EXPECT_TRUE(Form->CheckValue(12, text));
    EXPECT_TRUE(Form->ASGCanEditCell(1, 13));
    Form->SetRowCount(4); // fewer rows than parameters
    TDev d;
    Form->SetFactoryDefaults(Type());
    Form->ValuesToTable(State.CurDev());
    Form->ShowParamRow(State.CurDev(), 9);
    Form->ClearTable(Type());
    Form->TableToValues(d);
    EXPECT_EQ(d.Values, QStringList({"", "", "", "", "", "", "0", "", "", "", ""}));
    Form->ClearGrid();
    EXPECT_EQ(Form->CellText(0, 0), "");
    EXPECT_EQ(Form->CellText(0, 1), "");
}

// The shipped K1 descriptions: 48 parameters, the coupled pair, lists with gaps.
TEST_F(DevTable, RealK1Descriptions) {
    TDevProp& t = Type();
    t.Dir = "K1";
    ASSERT_TRUE(LoadDescriptions(QStringLiteral(KESTRIN_PROGDIR), t, QString()));
    ASSERT_EQ(t.ParamCount(), 48);
    ASSERT_GE(t.SqrtIndex, 0);
    State.CurDev().Values.clear();
    Form->ApplyDevType(t);
    EXPECT_EQ(Form->RowCount(), 49);
    Form->SetFactoryDefaults(t);
    TDev d;
    Form->TableToValues(d);
    for (int i = 0; i < t.ParamCount(); ++i) {
        const TParam& p = t.Param(i);
        const QString expected = p.SType == 2 ? (p.Value.toInt() ? "1" : "0") : p.Value;
        EXPECT_EQ(d.Values[i], expected) << p.Name.toStdString();
    }
    EXPECT_EQ(Form->CellFontColor(1, t.SqrtLinIndex + 1), Ident("clGrayText"));
    int sensor = -1;
    for (int i = 0; i < t.ParamCount() && sensor < 0; ++i)
        if (t.Param(i).Name == QStringLiteral("Тип датчика канала 1"))
            sensor = i;
    ASSERT_GE(sensor, 0);
    Click(sensor + 1);
    ASSERT_NE(ListEditor(), nullptr);
    EXPECT_EQ(ListEditor()->count(), 11);
    QTest::keyClick(ListEditor()->view(), Qt::Key_Escape);
    Settle();
    Choose(sensor + 1, QStringLiteral("Pt100"));
    Form->TableToValues(d);
    EXPECT_EQ(d.Values[sensor], "8");
}
} // namespace
