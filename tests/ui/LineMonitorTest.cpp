// The line monitor: its ring and filters, the hand-over from exchange threads in batches, saving
// and copying, its place in the main window, and the meaning of result codes in messages.
#include "ui/LineMonitor.h"
#include "MainFixture.h"
#include "SimLine.h"
#include "common/IniFile.h"
#include "common/Language.h"
#include "exchange/CodeMeaning.h"
#include "exchange/Exchange.h"
#include "ui/MainExchange.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <thread>

namespace {
// Event number n: address n % 3 + 1, every fifth an error; TimeMs carries n to follow it.
TLineEvent Numbered(int64_t n) {
    TLineEvent e;
    e.TimeMs = n;
    e.Direction = n % 2 ? TLineDirection::Answer : TLineDirection::Request;
    e.Port = QStringLiteral("/dev/ttyUSB0");
    e.Address = static_cast<uint8_t>(n % 3 + 1);
    e.Bytes = ":1;0;ABCD\r";
    e.Outcome = n % 5 == 0 ? KV_ERR_NO_ANSWER : 0;
    return e;
}

std::deque<TLineEvent> Batch(int64_t from, int64_t count) {
    std::deque<TLineEvent> b;
    for (int64_t n = from; n < from + count; ++n)
        b.push_back(Numbered(n));
    return b;
}

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<unreadable>");
}
} // namespace

TEST(LineLog, RingKeepsTheNewestHundredThousandAndFiltersFollowIt) {
    TLineLogModel model;
    ASSERT_EQ(model.Capacity(), 100000u);
    auto first = Batch(0, 60000);
    model.Append(first, first.size());
    auto second = Batch(60000, 40005);
    model.Append(second, second.size());
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(model.Stored(), 100000u);
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_EQ(model.Event(0).TimeMs, 5); // the five oldest made room
    EXPECT_EQ(model.Event(99999).TimeMs, 100004);

    // Address 2 and errors only: n % 3 == 1 and n % 5 == 0, i.e. n % 15 == 10.
    model.SetFilter(2, true);
    ASSERT_GT(model.rowCount(), 0);
    for (int r = 0; r < model.rowCount(); ++r)
        ASSERT_EQ(model.Event(r).TimeMs % 15, 10) << r;
    EXPECT_EQ(model.rowCount(), 6667); // 10, 25, ... 100000 within 5..100004
    EXPECT_EQ(model.Event(0).TimeMs, 10);
    // More events push the oldest shown rows out while the filter stays.
    auto third = Batch(100005, 30);
    model.Append(third, third.size());
    EXPECT_EQ(model.Event(0).TimeMs, 40);
    EXPECT_EQ(model.Event(model.rowCount() - 1).TimeMs, 100030);
    EXPECT_EQ(model.data(model.index(0, TLineLogModel::ColOutcome)).toString(),
              QStringLiteral("-108 нет ответа в течение времени ожидания"));

    model.SetFilter(-1, false);
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_EQ(model.Event(0).TimeMs, 35);
    // A batch larger than the ring keeps only its newest events.
    auto huge = Batch(200000, 100010);
    model.Append(huge, huge.size());
    EXPECT_EQ(model.Stored(), 100000u);
    EXPECT_EQ(model.Event(0).TimeMs, 200010);
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}

namespace {
class Monitor : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TLineTapHub Hub;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TfrmLineMonitor> Window;

    void Make(const QString& settings = QString(), size_t capacity = TLineLogModel::DefaultCapacity) {
        Window = std::make_unique<TfrmLineMonitor>(Hub, Dialogs, settings, nullptr, capacity);
    }
    bool WaitRows(int n) {
        return QTest::qWaitFor([&] { return Window->Model->rowCount() == n; }, 20000);
    }
};
} // namespace

TEST_F(Monitor, BurstFromAnExchangeThreadArrivesWholeInBoundedBatches) {
    Make();
    Window->Open();
    std::thread burst([this] {
        for (int64_t n = 0; n < 10000; ++n)
            Hub.Parcel(Numbered(n));
    });
    burst.join(); // the exchange side never waits for the window
    Window->Drain();
    EXPECT_EQ(Window->Model->rowCount(), 5000); // one turn of the window takes a bounded share
    ASSERT_TRUE(WaitRows(10000));
    for (int r = 0; r < 10000; r += 997)
        EXPECT_EQ(Window->Model->Event(r).TimeMs, r);
    EXPECT_EQ(Control<QLabel>(Window.get(), "lblCount")->text(), QStringLiteral("Показано: 10000 из 10000"));

    // Pause holds the view while events keep coming, and says that they do; resume shows them;
    // clear empties everything.
    Control<QPushButton>(Window.get(), "btnPause")->click();
    EXPECT_EQ(Control<QPushButton>(Window.get(), "btnPause")->text(), QStringLiteral("Продолжить"));
    Hub.Parcel(Numbered(10000));
    Window->Drain();
    EXPECT_EQ(Window->Model->rowCount(), 10000);
    EXPECT_EQ(Control<QLabel>(Window.get(), "lblCount")->text(),
              QStringLiteral("Показано: 10000 из 10000; пауза, запись продолжается: новых 1"));
    Control<QPushButton>(Window.get(), "btnPause")->click();
    EXPECT_EQ(Window->Model->rowCount(), 10001);
    EXPECT_EQ(Control<QLabel>(Window.get(), "lblCount")->text(), QStringLiteral("Показано: 10001 из 10001"));
    Control<QPushButton>(Window.get(), "btnPause")->click();
    Control<QPushButton>(Window.get(), "btnPause")->click(); // nothing came meanwhile
    EXPECT_EQ(Control<QLabel>(Window.get(), "lblCount")->text(), QStringLiteral("Показано: 10001 из 10001"));
    Hub.Parcel(Numbered(10001));
    Control<QPushButton>(Window.get(), "btnClear")->click();
    Window->Drain();
    EXPECT_EQ(Window->Model->rowCount(), 0);

    // The window's filters.
    auto batch = Batch(0, 30);
    for (const TLineEvent& e : batch)
        Hub.Parcel(e);
    ASSERT_TRUE(WaitRows(30));
    Control<QSpinBox>(Window.get(), "seAddress")->setValue(3);
    EXPECT_EQ(Window->Model->rowCount(), 10);
    Control<QCheckBox>(Window.get(), "cbErrors")->setChecked(true);
    ASSERT_EQ(Window->Model->rowCount(), 2); // 5 and 20
    EXPECT_EQ(Window->Model->Event(1).TimeMs, 20);
    Control<QSpinBox>(Window.get(), "seAddress")->setValue(-1);
    EXPECT_EQ(Window->Model->rowCount(), 6);
    EXPECT_EQ(Control<QLabel>(Window.get(), "lblCount")->text(), QStringLiteral("Показано: 6 из 30"));
}

TEST_F(Monitor, SavesTextAndCsvWholeAndReportsAnUnwritablePath) {
    Make();
    std::deque<TLineEvent> events;
    TLineEvent odd; // bytes outside the printable range, a comma and a quote in the purpose
    odd.TimeMs = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 8)).toMSecsSinceEpoch();
    odd.Direction = TLineDirection::Answer;
    odd.Port = QStringLiteral("SIM1");
    odd.Address = 7;
    odd.Bytes = QByteArray("!7;\x01\x98\xFF;12,5\r", 12);
    odd.Purpose = QStringLiteral("Имя \"1\", второе");
    events.push_back(odd);
    TLineEvent tooLong = odd; // an answer that did not fit: nothing received, the code
    tooLong.Bytes.clear();
    tooLong.Outcome = KV_ERR_TOO_LONG;
    tooLong.Purpose = QStringLiteral("версия");
    events.push_back(tooLong);
    Window->Model->Append(events, 2);

    const QString txt = Dir.path() + "/log.txt";
    Dialogs.FileNames = {txt};
    Window->SaveClick();
    EXPECT_EQ(ReadText(txt),
              QStringLiteral("05:06:07.008\t←\tSIM1\t7\t!7;\\x01\\x98я;12,5\\x0D\tOK\tИмя \"1\", второе\n"
                             "05:06:07.008\t←\tSIM1\t7\t\t-109 ответ длиннее 254 символов\tверсия\n"));
    const QString csv = Dir.path() + "/log";
    Dialogs.FileNames = {csv};
    Dialogs.FilterIndices = {1}; // the CSV filter with a name typed without an extension
    Window->SaveClick();
    QFile csvFile(csv + ".csv");
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(csvFile.readAll(),
              "\xEF\xBB\xBF" +
                  QStringLiteral(
                      "время,направление,порт,адрес,посылка,результат,назначение\r\n"
                      "05:06:07.008,←,SIM1,7,\"!7;\\x01\\x98я;12,5\\x0D\",OK,\"Имя \"\"1\"\", второе\"\r\n"
                      "05:06:07.008,←,SIM1,7,,-109 ответ длиннее 254 символов,версия\r\n")
                      .toUtf8());
    EXPECT_TRUE(Dialogs.Asked.empty());

    // A folder that does not exist: a clear message and no file, not even a temporary one.
    const QString bad = Dir.path() + "/missing/log.txt";
    Dialogs.FileNames = {bad};
    Window->SaveClick();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_TRUE(Dialogs.Asked[0].Text.startsWith(QStringLiteral("Не удалось сохранить журнал обмена!\r") +
                                                 bad + "\r"));
    EXPECT_GT(Dialogs.Asked[0].Text.size(),
              QString("Не удалось сохранить журнал обмена!\r" + bad + "\r").size());
    EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Монитор обмена"));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"log.csv", "log.txt"}));
    // A path that is a folder: refused with a reason.
    QString error;
    EXPECT_FALSE(SaveLineLog(*Window->Model, Dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());

    // Copy of the selected lines.
    Control<QTableView>(Window.get(), "View")->selectRow(1);
    Control<QPushButton>(Window.get(), "btnCopy")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), FormatLineEvent(tooLong) + "\n");
}

TEST_F(Monitor, RemembersItsPlaceAndSizeInTheSettingsFile) {
    const QString ini = Dir.path() + "/kestrin.ini";
    TestUtil::WriteBytes(ini, "[Main]\r\nHint=1\r\n");
    Make(ini);
    Window->Open();
    EXPECT_FALSE(Window->isModal());
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Монитор обмена"));
    Window->resize(960, 500);
    Window->move(50, 60);
    Window->close();
    const TIniFile file(ini);
    EXPECT_EQ(file.ReadInteger("LineMonitor", "Width", 0), 960);
    EXPECT_EQ(file.ReadInteger("LineMonitor", "Height", 0), 500);
    EXPECT_TRUE(file.ReadBool("Main", "Hint", false)); // the program's own settings stay
    Make(ini);
    Window->Open();
    EXPECT_EQ(Window->size(), QSize(960, 500));
}

namespace {
class MonitorInMain : public MainFixture {
protected:
    std::unique_ptr<TSimLine> Line;
    std::unique_ptr<TMainExchange> Exchange;

    void TearDown() override {
        Exchange.reset();
        MainFixture::TearDown();
        Line.reset();
    }
    bool WaitIdle() {
        return QTest::qWaitFor(
            [this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }, 20000);
    }
};
} // namespace

TEST_F(MonitorInMain, ShowsAReadAllLiveAndErrorsSayWhatTheirCodeMeans) {
    Line = std::make_unique<TSimLine>(TSimLine::Config({{1, 21, QString(), 0}}));
    ASSERT_TRUE(Line->Ok());
    ASSERT_TRUE(Start());
    Exchange = std::make_unique<TMainExchange>(*Main, Line->Api());
    State.Settings.Confirm = false;
    NewProject();
    ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
    State.CurDev().COMPort = Line->Port();

    EXPECT_EQ(Widget<QToolButton>("btnLineMonitor")->toolTip(), QStringLiteral("Монитор обмена"));
    EXPECT_TRUE(Widget<QMenu>("miSetMenu")->actions().contains(Command("actLineMonitor")));
    Widget<QToolButton>("btnLineMonitor")->click();
    TfrmLineMonitor* monitor = Control<TfrmLineMonitor>(Main.get(), "frmLineMonitor");
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isVisible());
    EXPECT_FALSE(monitor->isModal());

    // Usable while an exchange runs, unlike the settings.
    State.ExchangeState = TExchState::ExchReadWrite;
    ShowState();
    EXPECT_TRUE(Enabled("actLineMonitor"));
    EXPECT_TRUE(Enabled("actLineMonitor"));
    EXPECT_FALSE(Enabled("actProgSet"));
    State.ExchangeState = TExchState::ExchIdle;
    ShowState();

    Trigger("actDevRead");
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Pane("spMessage"), QStringLiteral("Чтение завершено"));
    const size_t requests = Line->WithBus([](Sim::TBus& bus) { return bus.Log().size(); });
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return monitor->Model->rowCount() == static_cast<int>(2 * requests); }, 5000))
        << monitor->Model->rowCount() << " rows for " << requests << " requests";
    EXPECT_EQ(monitor->Model->Event(0).Purpose, QStringLiteral("идентификация"));
    EXPECT_EQ(monitor->Model->Event(0).Port, Line->Port());
    const TDevProp& type = State.CurDevType();
    EXPECT_EQ(monitor->Model->Event(4).Purpose, type.Param(0).Name);

    // A port that does not exist: the specified texts, and the code's meaning beside them.
    State.CurDev().COMPort = QStringLiteral("/dev/kestrin-test-no-such-port");
    Trigger("actDevRead");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Dialogs.Asked.empty(); }, 10000));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Dialogs.Asked.back().Text, QStringLiteral("Чтение остановлено, ошибка: -101"));
    EXPECT_EQ(Dialogs.Asked.back().Details, QStringLiteral("Код -101: порт не существует"));
    EXPECT_EQ(Pane("spMessage"), QStringLiteral("Ошибка чтения: -101"));
    EXPECT_EQ(Widget<QLabel>("spMessage")->toolTip(), QStringLiteral("Код -101: порт не существует"));
    Main->ShowMessage(QStringLiteral("Чтение завершено"));
    EXPECT_EQ(Widget<QLabel>("spMessage")->toolTip(), QString());
}

TEST_F(Monitor, ColumnTitlesShowWholeAndTheArrowsStandOut) {
    Make();
    Window->Open();
    Hub.Parcel(Numbered(0));
    ASSERT_TRUE(WaitRows(1));
    const QHeaderView* header = Control<QTableView>(Window.get(), "View")->horizontalHeader();
    for (int c = 0; c + 1 < TLineLogModel::ColCount; ++c)
        EXPECT_GE(Control<QTableView>(Window.get(), "View")->columnWidth(c), header->sectionSizeHint(c))
            << Window->Model->headerData(c, Qt::Horizontal).toString().toStdString();
    // The arrow is drawn larger than a letter of the table's face, and its row holds it.
    const QModelIndex arrowCell = Window->Model->index(0, TLineLogModel::ColDirection);
    const QVariant font = Window->Model->data(arrowCell, Qt::FontRole);
    ASSERT_TRUE(font.canConvert<QFont>());
    const QRect arrow = QFontMetrics(font.value<QFont>()).tightBoundingRect(QStringLiteral("→"));
    const QRect plain = QFontMetrics(Control<QTableView>(Window.get(), "View")->font())
                            .tightBoundingRect(QStringLiteral("→"));
    EXPECT_GE(arrow.width(), plain.width() * 1.3);
    EXPECT_LE(arrow.height() + 2, Control<QTableView>(Window.get(), "View")->rowHeight(0));
}

// The exchange names its requests in Russian (the command line reads them back); an English window
// shows them in English, and leaves the names of parameters, from the instrument's descriptions, alone.
TEST_F(MonitorInMain, PurposesShowInTheLanguageInEffect) {
    const auto purposeShown = [](const QString& purpose) {
        TLineLogModel model;
        TLineEvent e = Numbered(1);
        e.Purpose = purpose;
        std::deque<TLineEvent> one{e};
        model.Append(one, one.size());
        return model.data(model.index(0, TLineLogModel::ColPurpose)).toString();
    };
    const QStringList purposes = {QStringLiteral("канал 2 = 20.062"),
                                  QStringLiteral("идентификация = тип 21, ожидался 22"),
                                  QStringLiteral("чтение 0x0010"), QStringLiteral("Канал 1: тип датчика = 3"),
                                  QStringLiteral("поиск: найден")};
    QString warning;
    ASSERT_EQ(Language::Install(Language::TLanguage::English, ProgDir, false, &warning),
              Language::TLanguage::English)
        << warning.toStdString();
    QStringList english;
    for (const QString& p : purposes)
        english << purposeShown(p);
    TLineEvent traced = Numbered(2);
    traced.Purpose = purposes[0];
    const QString traceLine = FormatLineEvent(traced);
    Language::Install(Language::TLanguage::Russian, ProgDir, false, nullptr);
    EXPECT_EQ(english, QStringList({QStringLiteral("channel 2 = 20.062"),
                                    QStringLiteral("identification = type 21, expected 22"),
                                    QStringLiteral("read 0x0010"), QStringLiteral("Канал 1: тип датчика = 3"),
                                    QStringLiteral("search: found")}));
    EXPECT_TRUE(traceLine.endsWith(QStringLiteral("\tchannel 2 = 20.062"))) << traceLine.toStdString();
    for (const QString& p : purposes)
        EXPECT_EQ(purposeShown(p), p); // Russian shows them as they are
}
