// Drives the real program from inside its own process: the launcher preloads this library into
// build/kestrin/kestrin, and the scenario below starts once the program's event loop runs. It finds
// the windows and controls by objectName, message-box buttons by their role, and waits for the texts
// a person reads in the language of the run (KESTRIN_E2E_LANG=en: English, else Russian), so the
// English run also proves the translation is in use. It sends input through the window system
// layer, where modality blocks a window exactly as it blocks a real click. It judges the screen's
// pixels, the widgets' geometry and what the instrument on the demo line holds.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>

namespace {
int Failures = 0;

void Fail(const QString& what) {
    ++Failures;
    std::fprintf(stderr, "E2E FAIL: %s\n", qPrintable(what));
}
#define E2E_CHECK(cond, what)                                                                                \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            Fail(QStringLiteral("%1 (line %2)").arg(what).arg(__LINE__));                                    \
    } while (0)

// The language of the run: what the program is started with, and the texts expected of it.
bool English() {
    return qEnvironmentVariable("KESTRIN_E2E_LANG") == QLatin1String("en");
}
QString Say(const char* russian, const char* english) {
    return QString::fromUtf8(English() ? english : russian);
}

void Note(const QString& what) {
    std::fprintf(stderr, "E2E: %s\n", qPrintable(what));
}

// Every wait is on a condition with a bound; a loaded machine only makes it take longer.
bool WaitFor(const std::function<bool()>& cond, int ms = 30000) {
    return QTest::qWaitFor(cond, ms);
}

// Windows and controls are found by their objectName, which says what they are to the program.
bool Named(const QObject* o, const char* name) {
    return o && o->objectName() == QLatin1String(name);
}

QWidget* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (Named(w, name) && w->isVisible())
            return w;
    return nullptr;
}

template <class T = QWidget> T* ByName(QWidget* in, const char* name) {
    return in ? in->findChild<T*>(QLatin1String(name)) : nullptr;
}

// A visible button by its objectName; a button that changes places (shown in turn with another) counts
// only while shown.
QAbstractButton* VisibleButton(QWidget* in, const char* name) {
    if (!in)
        return nullptr;
    for (QAbstractButton* b : in->findChildren<QAbstractButton*>(QLatin1String(name)))
        if (b->isVisible())
            return b;
    return nullptr;
}

// A click as the window system delivers it: to the top-level window, at the widget's position.
void Click(QWidget* w, QPoint pos = QPoint(-1, -1)) {
    if (!w) {
        Fail(QStringLiteral("click on a missing widget"));
        return;
    }
    if (pos.x() < 0)
        pos = w->rect().center();
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, w->mapTo(top, pos));
}

// The connection dialog's Ok once the dialog is unlocked, and the dialog gone.
void AcceptConnection(QWidget* dlg) {
    QAbstractButton* ok = VisibleButton(dlg, "btnOk");
    E2E_CHECK(WaitFor([&] { return ok && ok->isEnabled(); }), QStringLiteral("dialog unlocked"));
    Click(ok);
    E2E_CHECK(WaitFor([&] { return !dlg->isVisible(); }), QStringLiteral("connection dialog accepted"));
}

QImage OnScreen(QWidget* w);

// Keys to the window's focus widget; the scenario types ASCII only (digits, paths).
void Type(QWidget* window, const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}
void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

// A picture for a person to look at, when the run is asked for them (KESTRIN_E2E_SHOTS names a
// folder).
void Shot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("KESTRIN_E2E_SHOTS");
    if (!dir.isEmpty())
        OnScreen(w).save(dir + QLatin1Char('/') + name);
}

// Modal windows: each expectation handles the next window its predicate matches, in the nested
// event loop of that window. A message box nobody expected is a failure; it is answered with its
// escape button so the scenario can go on.
struct TExpect {
    std::function<bool(QWidget*)> Match;
    std::function<void(QWidget*)> Handle;
    bool Done = false;
};
std::deque<TExpect*> Expected;

QSet<QWidget*> Handling; // modal windows a handler is working on

// The handlers run from a timer of their own: a timer does not fire again while its own slot
// runs, and a handler may wait for a window that opens from inside it.
void WatchModals() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || Handling.contains(modal))
        return;
    for (TExpect* e : Expected) {
        if (!e->Done && e->Match(modal)) {
            e->Done = true;
            Handling.insert(modal);
            QTimer::singleShot(0, qApp, [handle = e->Handle, modal, guard = QPointer<QWidget>(modal)] {
                if (guard)
                    handle(modal);
                Handling.remove(modal);
            });
            return;
        }
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        Fail(QStringLiteral("unexpected message box \"%1\": %2").arg(box->windowTitle(), box->text()));
        Handling.insert(box);
        QTimer::singleShot(0, qApp, [box, guard = QPointer<QMessageBox>(box)] {
            if (guard) {
                if (QAbstractButton* esc = box->escapeButton())
                    esc->click();
                else
                    box->reject();
            }
            Handling.remove(box);
        });
    }
}

// Runs the action that opens a modal window; the handler answers it. False when none appeared.
bool WithModal(const std::function<bool(QWidget*)>& match, const std::function<void(QWidget*)>& handle,
               const std::function<void()>& action) {
    TExpect e{match, handle};
    Expected.push_back(&e);
    action();
    // A window that opens from a worker's hand-over comes after the action returns.
    WaitFor([&] { return e.Done; }, 30000);
    std::erase(Expected, &e);
    return e.Done;
}

std::function<bool(QWidget*)> BoxSaying(const QString& text) {
    return [text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box && box->text() == text;
    };
}
std::function<bool(QWidget*)> WindowOf(const char* name) {
    return [name](QWidget* w) { return Named(w, name); };
}

// A message box's button by its role, whatever the language calls it.
void Answer(QWidget* w, QMessageBox::ButtonRole role) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QAbstractButton* b = nullptr;
    for (QAbstractButton* candidate : box ? box->buttons() : QList<QAbstractButton*>())
        if (box->buttonRole(candidate) == role)
            b = candidate;
    E2E_CHECK(b, QStringLiteral("button of role %1 in the box").arg(int(role)));
    Click(b);
    WaitFor([box] { return !box->isVisible(); }, 10000);
}

// The pixels of a widget as the X server shows them.
QImage OnScreen(QWidget* w) {
    const QPoint g = w->mapToGlobal(QPoint(0, 0));
    return w->screen()
        ->grabWindow(0, g.x(), g.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Share of pixels that differ noticeably between what the screen shows and the widget's own
// rendering of its present content.
double StaleShare(QWidget* w) {
    const QImage screen = OnScreen(w);
    const QImage fresh = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (screen.size() != fresh.size() || screen.isNull())
        return 1.0;
    qint64 differ = 0;
    for (int y = 0; y < screen.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x)
            if (std::abs(qRed(a[x]) - qRed(b[x])) + std::abs(qGreen(a[x]) - qGreen(b[x])) +
                    std::abs(qBlue(a[x]) - qBlue(b[x])) >
                48)
                ++differ;
    }
    return double(differ) / (double(screen.width()) * screen.height());
}

class TSession {
public:
    void Run();
    // The program started again on the project the first session left (saved on the measurement
    // page, ActPage as a program counting the shown tabs writes it): it opens on that page, whole
    // and unchanged; the line monitor shows a measurement.
    void RunReopen();
    // On a line the test serves (KESTRIN_E2E_PORT): a new project, read-all, the comparison with the
    // parameter-set file the test wrote (KESTRIN_E2E_SET) that differs in the rows it names
    // (KESTRIN_E2E_DIFFERING, one name a line) and not in KESTRIN_E2E_SAME, the file's values taken
    // and written, and the commissioning report exported to KESTRIN_E2E_REPORT.
    void RunCompare();

private:
    QMainWindow* Main = nullptr;
    QTabWidget* Pages = nullptr;
    QTabBar* Tabs = nullptr;
    QTableWidget* DevGrid = nullptr;
    QWidget* MeasureView = nullptr;
    QString WorkDir;

    QLabel* StatusMessage(const QString& text) const {
        for (QLabel* l : Main->statusBar()->findChildren<QLabel*>())
            if (l->text() == text && l->isVisible())
                return l;
        return nullptr;
    }
    bool WaitStatus(const QString& text) {
        const bool ok = WaitFor([&] { return StatusMessage(text) != nullptr; }, 60000);
        E2E_CHECK(ok, QStringLiteral("status \"%1\"").arg(text));
        return ok;
    }
    // The closing status of a read-all or write-all is shown before the worker hands the controls
    // back; the table takes edits only after that, as a person would find.
    bool WaitExchangeEnd(const QString& text) {
        const bool ok = WaitStatus(text) && WaitFor([&] {
                            QWidget* read = ByName(Main, "btnReadAll");
                            return read && read->isEnabled();
                        });
        E2E_CHECK(ok, QStringLiteral("exchange ended with \"%1\"").arg(text));
        return ok;
    }
    int Row(const QString& name) const {
        for (int r = 0; r < DevGrid->rowCount(); ++r)
            if (DevGrid->item(r, 0) && DevGrid->item(r, 0)->text() == QStringLiteral(" ") + name)
                return r;
        Fail(QStringLiteral("no row %1").arg(name));
        return 0;
    }
    QString Value(const QString& name) const {
        const QTableWidgetItem* it = DevGrid->item(Row(name), 1);
        return it ? it->text() : QString();
    }
    // The page by its objectName; its tab's caption in the language of the run.
    void SwitchTab(const char* page, const QString& caption) {
        const int index = Pages->indexOf(ByName(Main, page));
        E2E_CHECK(index >= 0 && Tabs->tabText(index) == caption,
                  QStringLiteral("tab of %1 says \"%2\", \"%3\" expected")
                      .arg(QLatin1String(page), Tabs->tabText(index), caption));
        Click(Tabs, Tabs->tabRect(index).center());
        E2E_CHECK(WaitFor([&] { return Tabs->currentIndex() == index; }),
                  QStringLiteral("tab %1").arg(caption));
    }
    void ResizeMain(QSize size) {
        Main->resize(size);
        E2E_CHECK(WaitFor([&] { return Main->size() == size; }), QStringLiteral("window resized"));
    }
    // The device table shows its present content on the screen, not a picture of another page.
    void CheckTablePainted(const QString& when) {
        QWidget* vp = DevGrid->viewport();
        double share = 1.0;
        const bool fresh = WaitFor(
            [&] {
                share = StaleShare(vp);
                return share < 0.02;
            },
            10000);
        E2E_CHECK(fresh && DevGrid->updatesEnabled(),
                  QStringLiteral("device table painted %1 (%2% of its pixels stale)")
                      .arg(when)
                      .arg(share * 100, 0, 'f', 1));
    }
    bool FindMain();
    void CheckDifferenceMarks(const QStringList& differing, const QString& when);
    void ExpectMeasurePageWhole(const QString& when);
    void SaveAsThroughDialog(const QString& path);
    void OpenThroughDialog(const QString& path);
    void HelpFromModal(QWidget* dialog, const char* helpButton);
};

// The file dialogs speak the language of the run, and the typed name is taken.
void FileDialogTakes(QWidget* w, const QString& path) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    E2E_CHECK(dialog, QStringLiteral("a file dialog"));
    if (!dialog)
        return;
    bool russianHeader = false;
    for (QHeaderView* h : dialog->findChildren<QHeaderView*>())
        if (h->model() && h->model()->headerData(0, Qt::Horizontal).toString() == Say("Имя", "Name"))
            russianHeader = true;
    E2E_CHECK(russianHeader, QStringLiteral("file dialog's columns in the language of the run"));
    QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    E2E_CHECK(name, QStringLiteral("file name field"));
    if (!name) {
        dialog->reject();
        return;
    }
    name->setFocus();
    name->clear();
    Type(dialog, path);
    Key(dialog, Qt::Key_Return);
    E2E_CHECK(WaitFor([dialog] { return !dialog->isVisible(); }, 10000),
              QStringLiteral("file dialog closed"));
}

void TSession::SaveAsThroughDialog(const QString& path) {
    const bool shown =
        WithModal([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                  [&](QWidget* w) { FileDialogTakes(w, path); }, [&] { Click(ByName(Main, "btnSave")); });
    E2E_CHECK(shown, QStringLiteral("save dialog"));
}

void TSession::OpenThroughDialog(const QString& path) {
    const bool shown =
        WithModal([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                  [&](QWidget* w) { FileDialogTakes(w, path); }, [&] { Click(ByName(Main, "btnOpen")); });
    E2E_CHECK(shown, QStringLiteral("open dialog"));
}

// Help opened from a modal dialog takes input, shows the pages of the language of the run and closes
// without closing the dialog.
void TSession::HelpFromModal(QWidget* dialog, const char* helpButton) {
    Click(VisibleButton(dialog, helpButton));
    QWidget* help = nullptr;
    E2E_CHECK(WaitFor([&] { return (help = TopLevel("HelpWindow")) != nullptr; }, 10000),
              QStringLiteral("help window shown from %1").arg(dialog->objectName()));
    if (!help)
        return;
    E2E_CHECK(WaitFor([&] { return help->windowHandle() && help->windowHandle()->isExposed(); }, 10000),
              QStringLiteral("help window exposed"));
    auto* browser = ByName<QTextBrowser>(help, "Browser");
    const QString page = browser ? browser->source().toLocalFile() : QString();
    E2E_CHECK(page.contains(QStringLiteral("/help/en/")) == English() && QFileInfo(page).isFile(),
              QStringLiteral("help page %1 in the language of the run").arg(page));
    Click(VisibleButton(help, "btnClose"));
    E2E_CHECK(WaitFor([&] { return !help->isVisible(); }, 5000),
              QStringLiteral("help from %1 closed by its own button").arg(dialog->objectName()));
    if (help->isVisible())
        help->hide(); // what the user could not do; the scenario goes on
    E2E_CHECK(dialog->isVisible(), QStringLiteral("the dialog stays open after help closed"));
}

bool TSession::FindMain() {
    WorkDir = QDir::currentPath();
    WaitFor([&] { return (Main = qobject_cast<QMainWindow*>(TopLevel("frmMain"))) != nullptr; });
    if (!Main) {
        Fail(QStringLiteral("no main window"));
        return false;
    }
    E2E_CHECK(WaitFor([&] { return Main->windowHandle() && Main->windowHandle()->isExposed(); }),
              QStringLiteral("main window exposed"));
    // Away from the middle of the screen, so that a box centred on the screen shows as such.
    Main->move(20, 20);
    E2E_CHECK(WaitFor([&] { return Main->pos() == QPoint(20, 20); }), QStringLiteral("window moved"));
    Pages = ByName<QTabWidget>(Main, "pcMain");
    Tabs = Pages ? Pages->findChild<QTabBar*>() : nullptr;
    DevGrid = ByName<QTableWidget>(Main, "DevGrid");
    MeasureView = ByName(Main, "frmMeasure");
    if (!Pages || !Tabs || !DevGrid || !MeasureView) {
        Fail(QStringLiteral("main window without its pages"));
        return false;
    }
    return true;
}

// The measurement page is the page shown, with its tab selected, its commands and its chart.
void TSession::ExpectMeasurePageWhole(const QString& when) {
    const int current = Tabs->currentIndex();
    E2E_CHECK(current >= 0 && Tabs->isTabVisible(current) &&
                  current == Pages->indexOf(ByName(Main, "TabMeas")) &&
                  Tabs->tabText(current) == Say("Измерение", "Measurement"),
              QStringLiteral("measurement tab selected %1 (tab %2)").arg(when).arg(current));
    E2E_CHECK(WaitFor([&] { return MeasureView->isVisible(); }, 10000),
              QStringLiteral("measurement page shown %1").arg(when));
    for (const char* b : {"btnMeasure", "btnMeasureHelp"})
        E2E_CHECK(VisibleButton(MeasureView, b),
                  QStringLiteral("button %1 on the measurement page %2").arg(QLatin1String(b), when));
    E2E_CHECK(VisibleButton(MeasureView, "btnMeasure") &&
                  VisibleButton(MeasureView, "btnMeasure")->text() == Say("Измерение", "Measurement"),
              QStringLiteral("measurement button's caption %1").arg(when));
    E2E_CHECK(!DevGrid->isVisible(), QStringLiteral("no other page's table %1").arg(when));
    E2E_CHECK(
        WaitFor([&] { return StatusMessage(Say("Текущий проект сохранен", "Project saved")) != nullptr; },
                10000),
        QStringLiteral("project unchanged %1").arg(when));
}

void TSession::Run() {
    if (!FindMain())
        return;

    Note(QStringLiteral("New project"));
    // New project: the connection dialog on the demo line, a search, help from the dialog, OK.
    const bool connection = WithModal(
        WindowOf("frmDevSet"),
        [&](QWidget* dlg) {
            HelpFromModal(dlg, "btnHelp");
            QList<QComboBox*> ports;
            for (QComboBox* c : dlg->findChildren<QComboBox*>())
                if (c->findText(QStringLiteral("SIM1")) >= 0)
                    ports.append(c);
            E2E_CHECK(ports.size() == 2, QStringLiteral("port lists of the connection and the search"));
            for (QComboBox* c : ports) {
                c->setFocus();
                Type(dlg, QStringLiteral("SIM1"));
                E2E_CHECK(c->currentText() == QStringLiteral("SIM1"), QStringLiteral("SIM1 chosen"));
            }
            Click(VisibleButton(dlg, "btnSearch"));
            QComboBox* found = nullptr;
            for (QComboBox* c : dlg->findChildren<QComboBox*>())
                if (c->findText(QStringLiteral("SIM1")) < 0 && c->findText(QStringLiteral("9600")) < 0 &&
                    c->findText(QStringLiteral("Kestrin K1")) < 0)
                    found = c;
            E2E_CHECK(found && WaitFor([&] { return found->count() == 2; }),
                      QStringLiteral("search finds 1 and 2"));
            QAbstractButton* ok = VisibleButton(dlg, "btnOk");
            E2E_CHECK(WaitFor([&] { return ok && ok->isEnabled(); }), QStringLiteral("dialog unlocked"));
            // The address typed and confirmed with Return, as a person does: the dialog is accepted.
            QAbstractSpinBox* address = dlg->findChild<QAbstractSpinBox*>();
            E2E_CHECK(address, QStringLiteral("address field"));
            if (address) {
                Click(address);
                E2E_CHECK(WaitFor(
                              [&] {
                                  QWidget* f = dlg->focusWidget(); // the window's, active or not
                                  return f && (f == address || address->isAncestorOf(f));
                              },
                              10000),
                          QStringLiteral("address field focused"));
                Key(dlg, Qt::Key_A, Qt::ControlModifier);
                Type(dlg, QStringLiteral("1"));
                Key(dlg, Qt::Key_Return);
            }
            E2E_CHECK(WaitFor([&] { return !dlg->isVisible(); }, 10000),
                      QStringLiteral("connection dialog closed by Return"));
            if (dlg->isVisible())
                Click(ok);
        },
        [&] { Click(ByName(Main, "btnNew")); });
    E2E_CHECK(connection, QStringLiteral("connection dialog shown"));
    E2E_CHECK(WaitFor([&] { return DevGrid->isVisible() && DevGrid->rowCount() > 10; }),
              QStringLiteral("table of the new project"));

    Note(QStringLiteral("Read-all"));
    // Read-all: every value arrives; the bit string the instrument never reports gets its factory
    // value and is marked as not confirmed.
    Click(ByName(Main, "btnReadAll"));
    WaitExchangeEnd(Say("Чтение завершено", "Read complete"));
    // Parameter names come from the instrument's descriptions and are the same in either language.
    const int mask = Row(QStringLiteral("Маска опроса каналов"));
    const QTableWidgetItem* maskItem = DevGrid->item(mask, 1);
    E2E_CHECK(maskItem && !maskItem->text().isEmpty(), QStringLiteral("bit string filled after read-all"));
    E2E_CHECK(maskItem && !maskItem->data(Qt::ToolTipRole).toString().isEmpty(),
              QStringLiteral("bit string row carries a hint"));
    const QTableWidgetItem* readItem = DevGrid->item(Row(QStringLiteral("Задержка ответа")), 1);
    E2E_CHECK(maskItem && readItem &&
                  maskItem->data(Qt::ForegroundRole).value<QBrush>().color() !=
                      readItem->data(Qt::ForegroundRole).value<QBrush>().color(),
              QStringLiteral("unconfirmed value in its own colour"));

    Note(QStringLiteral("Type 15 into"));
    // Type 15 into "Задержка ответа" and, without confirming it, write all from the tool bar.
    const int delay = Row(QStringLiteral("Задержка ответа"));
    DevGrid->scrollToItem(DevGrid->item(delay, 1));
    const QRect cell = DevGrid->visualItemRect(DevGrid->item(delay, 1));
    Click(DevGrid->viewport(), cell.center());
    Type(Main, QStringLiteral("15"));
    const QModelIndex delayIndex = DevGrid->model()->index(delay, 1);
    E2E_CHECK(DevGrid->indexWidget(delayIndex) != nullptr, QStringLiteral("cell editor open"));
    const bool confirmed = WithModal(
        BoxSaying(Say("Вы действительно хотите записать все параметры в прибор?",
                      "Do you really want to write all parameters to the instrument?")),
        [&](QWidget* box) {
            // Boxes sit over the main window, not in the middle of the screen.
            const QPoint off = box->frameGeometry().center() - Main->frameGeometry().center();
            E2E_CHECK(
                off.manhattanLength() <= 80,
                QStringLiteral("box centred on the main window (off by %1,%2)").arg(off.x()).arg(off.y()));
            Answer(box, QMessageBox::YesRole);
        },
        [&] { Click(ByName(Main, "btnWriteAll")); });
    E2E_CHECK(confirmed, QStringLiteral("write confirmation"));
    WaitExchangeEnd(Say("Запись завершена", "Write complete"));
    E2E_CHECK(DevGrid->indexWidget(delayIndex) == nullptr, QStringLiteral("editor closed by write-all"));

    Note(QStringLiteral("What the instrument holds"));
    // What the instrument holds: clear the table and read it back.
    Click(ByName(Main, "btnDevClear"));
    E2E_CHECK(Value(QStringLiteral("Задержка ответа")).isEmpty(), QStringLiteral("table cleared"));
    Click(ByName(Main, "btnReadAll"));
    WaitExchangeEnd(Say("Чтение завершено", "Read complete"));
    E2E_CHECK(Value(QStringLiteral("Задержка ответа")) == QStringLiteral("15"),
              QStringLiteral("instrument holds the typed 15, holds \"%1\"")
                  .arg(Value(QStringLiteral("Задержка ответа"))));
    const QString maskValue = Value(QStringLiteral("Маска опроса каналов"));

    Note(QStringLiteral("Pages"));
    // Pages: the measurement table is laid out on its first show; the device table paints again
    // after the window was resized on another page; the chart's tool row fits at the minimum size.
    SwitchTab("TabMeas", Say("Измерение", "Measurement"));
    QTableWidget* current = MeasureView->findChild<QTableWidget*>();
    E2E_CHECK(WaitFor([&] { return current->isVisible(); }), QStringLiteral("measurement table shown"));
    const auto checkColumns = [&](const QString& when) {
        const int cols = current->columnCount();
        const int want = int(current->contentsRect().width() * 0.9 / cols);
        for (int c = 1; c < cols; ++c)
            E2E_CHECK(std::abs(current->columnWidth(c) - want) <= 1,
                      QStringLiteral("channel column %1 is %2 px, %3 px wanted %4")
                          .arg(c)
                          .arg(current->columnWidth(c))
                          .arg(want)
                          .arg(when));
    };
    checkColumns(QStringLiteral("on first show"));
    ResizeMain(QSize(900, 650));
    checkColumns(QStringLiteral("after a resize"));
    SwitchTab("TabDev", Say("Настройки", "Settings"));
    CheckTablePainted(QStringLiteral("after a resize on the measurement page"));

    ResizeMain(Main->minimumSize());
    SwitchTab("TabMeas", Say("Измерение", "Measurement"));
    for (QToolButton* b : MeasureView->findChildren<QToolButton*>()) {
        const QRect inGroup(b->mapTo(b->parentWidget(), QPoint(0, 0)), b->size());
        E2E_CHECK(b->width() >= b->sizeHint().width() && b->parentWidget()->rect().contains(inGroup),
                  QStringLiteral("tool button \"%1\" whole at the minimum size").arg(b->toolTip()));
    }
    SwitchTab("TabDev", Say("Настройки", "Settings"));
    CheckTablePainted(QStringLiteral("at the minimum size"));
    ResizeMain(QSize(700, 509));
    CheckTablePainted(QStringLiteral("after growing again"));

    Note(QStringLiteral("Help from the program settings"));
    // Help from the program settings dialog.
    const bool settings = WithModal(
        WindowOf("frmProgSet"),
        [&](QWidget* dlg) {
            HelpFromModal(dlg, "HelpBtn");
            Click(VisibleButton(dlg, "CancelBtn"));
            E2E_CHECK(WaitFor([&] { return !dlg->isVisible(); }), QStringLiteral("settings dialog closed"));
        },
        [&] { Click(ByName(Main, "btnSet")); });
    E2E_CHECK(settings, QStringLiteral("settings dialog shown"));

    Note(QStringLiteral("Save"));
    // Save on the measurement page, close, open again: the same values, on the same page.
    SwitchTab("TabMeas", Say("Измерение", "Measurement"));
    const QString project = WorkDir + QStringLiteral("/first.prj");
    SaveAsThroughDialog(project);
    E2E_CHECK(WaitFor([&] { return Main->windowTitle().endsWith(QStringLiteral(" : first.prj")); }),
              QStringLiteral("caption names the saved project"));
    Click(ByName(Main, "btnClose"));
    WaitStatus(Say("Нет открытого проекта", "No open project"));
    OpenThroughDialog(project);
    WaitStatus(Say("Проект был открыт", "The project was opened"));
    ExpectMeasurePageWhole(QStringLiteral("after Open"));
    SwitchTab("TabDev", Say("Настройки", "Settings"));
    Click(ByName(Main, "btnSave"));
    WaitStatus(Say("Текущий проект сохранен", "Project saved"));
    E2E_CHECK(Value(QStringLiteral("Задержка ответа")) == QStringLiteral("15"),
              QStringLiteral("reopened value"));
    E2E_CHECK(Value(QStringLiteral("Маска опроса каналов")) == maskValue,
              QStringLiteral("reopened bit string"));
    CheckTablePainted(QStringLiteral("after reopening"));
    // Every pane of the status bar but the message pane shows its text whole.
    for (QLabel* l : Main->statusBar()->findChildren<QLabel*>())
        if (l->isVisible() && !l->text().isEmpty() && l->alignment() != (Qt::AlignRight | Qt::AlignVCenter))
            E2E_CHECK(l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()),
                      QStringLiteral("status pane \"%1\" shown whole").arg(l->text()));
    // A picture of the window for the README, once the screen shows all of it.
    if (const char* shot = std::getenv("KESTRIN_E2E_SHOT")) {
        WaitFor([&] { return StaleShare(Main) < 0.01; }, 10000);
        OnScreen(Main).save(QString::fromLocal8Bit(shot));
    }

    // The window's close ends the program.
    Main->close();
    E2E_CHECK(!Main->isVisible(), QStringLiteral("main window closed"));
}

void TSession::RunReopen() {
    if (!FindMain())
        return;
    Main->move(20, 20);
    E2E_CHECK(WaitFor([&] { return Main->pos() == QPoint(20, 20); }), QStringLiteral("window moved"));
    WaitStatus(Say("Проект был открыт", "The project was opened"));
    ExpectMeasurePageWhole(QStringLiteral("at start"));
    WaitFor([&] { return StaleShare(Main) < 0.01; }, 10000);
    Shot(Main, QStringLiteral("measure-reopened.png"));

    Note(QStringLiteral("Line monitor"));
    // The line monitor during a measurement: every column's title whole, the arrows drawn, and
    // the pause saying that capture goes on.
    Click(ByName(Main, "btnLineMonitor"));
    QWidget* monitor = nullptr;
    E2E_CHECK(WaitFor([&] { return (monitor = TopLevel("frmLineMonitor")) != nullptr; }, 10000),
              QStringLiteral("line monitor shown"));
    if (!monitor)
        return;
    Click(VisibleButton(MeasureView, "btnMeasure"));
    auto* log = monitor->findChild<QAbstractItemView*>();
    E2E_CHECK(log && WaitFor([&] { return log->model()->rowCount() >= 6; }), QStringLiteral("parcels shown"));
    auto* header = monitor->findChild<QHeaderView*>();
    for (int c = 0; header && c + 1 < header->count(); ++c)
        E2E_CHECK(header->sectionSize(c) >= header->sectionSizeHint(c),
                  QStringLiteral("column title \"%1\" whole")
                      .arg(log->model()->headerData(c, Qt::Horizontal).toString()));
    QAbstractButton* pause = VisibleButton(monitor, "btnPause");
    E2E_CHECK(pause && pause->text() == Say("Пауза", "Pause"), QStringLiteral("pause button's caption"));
    Click(pause);
    E2E_CHECK(WaitFor([&] {
                  for (QLabel* l : monitor->findChildren<QLabel*>())
                      if (l->text().contains(Say("пауза, запись продолжается", "paused, logging goes on")))
                          return true;
                  return false;
              }),
              QStringLiteral("the paused monitor says capture goes on"));
    E2E_CHECK(pause && pause->text() == Say("Продолжить", "Resume"),
              QStringLiteral("resume button's caption"));
    Click(pause);
    E2E_CHECK(WaitFor([&] {
                  for (QLabel* l : monitor->findChildren<QLabel*>())
                      if (l->text().startsWith(Say("Показано:", "Shown:")) &&
                          !l->text().contains(Say("пауза", "paused")))
                          return true;
                  return false;
              }),
              QStringLiteral("the pause's note gone once resumed"));
    WaitFor([&] { return StaleShare(monitor) < 0.01; }, 10000);
    Shot(monitor, QStringLiteral("monitor.png"));
    Click(VisibleButton(MeasureView, "btnMeasureStop"));
    WaitStatus(Say("Измерение остановлено", "Measurement stopped"));
    // The worker hands the controls back after its last status text.
    E2E_CHECK(WaitFor([&] { return VisibleButton(MeasureView, "btnMeasure") != nullptr; }),
              QStringLiteral("measurement ended"));
    monitor->close();
    // Nothing of this changed the project: the close asks nothing.
    Main->close();
    E2E_CHECK(!Main->isVisible(), QStringLiteral("main window closed"));
}

// The orange behind a row that differs from a compared file, as the screen shows it.
bool DifferenceOrange(QRgb c) {
    return std::abs(qRed(c) - 0xFF) <= 12 && std::abs(qGreen(c) - 0xC0) <= 12 &&
           std::abs(qBlue(c) - 0x70) <= 12;
}

// Every row of the device table as the screen shows it, a page at a time: the name cells of the
// differing rows carry the orange, no other row has any.
void TSession::CheckDifferenceMarks(const QStringList& differing, const QString& when) {
    QWidget* vp = DevGrid->viewport();
    QSet<int> marked;
    for (const QString& name : differing)
        marked.insert(Row(name));
    int checked = 0;
    int r = 0;
    while (r < DevGrid->rowCount()) {
        QTableWidgetItem* first = DevGrid->item(r, 0);
        if (!first) {
            ++r;
            continue;
        }
        DevGrid->scrollToItem(first, QAbstractItemView::PositionAtTop);
        CheckTablePainted(when);
        const QImage shown = OnScreen(vp);
        int next = r;
        for (int row = r; row < DevGrid->rowCount(); ++row) {
            QTableWidgetItem* it = DevGrid->item(row, 0);
            if (!it) {
                next = row + 1;
                continue;
            }
            const QRect cell = DevGrid->visualItemRect(it);
            if (!vp->rect().contains(cell))
                break;
            next = row + 1;
            qint64 orange = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    orange += DifferenceOrange(shown.pixel(x, y));
            const double share = double(orange) / (double(cell.width()) * cell.height());
            if (marked.contains(row))
                E2E_CHECK(share > 0.3, QStringLiteral("row \"%1\" marked orange %2 (%3% of its name cell)")
                                           .arg(it->text().trimmed(), when)
                                           .arg(share * 100, 0, 'f', 1));
            else
                E2E_CHECK(share < 0.02, QStringLiteral("row \"%1\" unmarked %2 (%3% orange)")
                                            .arg(it->text().trimmed(), when)
                                            .arg(share * 100, 0, 'f', 1));
            ++checked;
        }
        if (next == r) { // a row taller than the table: nothing more to see
            Fail(QStringLiteral("device table too small to show a row"));
            return;
        }
        r = next;
    }
    E2E_CHECK(checked >= 10, QStringLiteral("rows looked at %1: %2").arg(when).arg(checked));
    DevGrid->scrollToTop();
}

void TSession::RunCompare() {
    if (!FindMain())
        return;
    const QString port = qEnvironmentVariable("KESTRIN_E2E_PORT");
    const QString set = qEnvironmentVariable("KESTRIN_E2E_SET");
    const QString reportFile = qEnvironmentVariable("KESTRIN_E2E_REPORT");
    const QStringList differing = qEnvironmentVariable("KESTRIN_E2E_DIFFERING").split(QLatin1Char('\n'));
    const QString same = qEnvironmentVariable("KESTRIN_E2E_SAME");
    E2E_CHECK(!port.isEmpty() && !set.isEmpty() && !reportFile.isEmpty() && !same.isEmpty(),
              QStringLiteral("scenario's variables"));

    Note(QStringLiteral("New project on %1").arg(port));
    const bool connection = WithModal(
        WindowOf("frmDevSet"),
        [&](QWidget* dlg) {
            int ports = 0;
            for (QComboBox* c : dlg->findChildren<QComboBox*>())
                if (const int i = c->findText(port); i >= 0) {
                    c->setCurrentIndex(i);
                    ++ports;
                }
            E2E_CHECK(ports == 2, QStringLiteral("the test's line offered in both port lists"));
            AcceptConnection(dlg);
        },
        [&] { Click(ByName(Main, "btnNew")); });
    E2E_CHECK(connection, QStringLiteral("connection dialog shown"));
    E2E_CHECK(WaitFor([&] { return DevGrid->isVisible() && DevGrid->rowCount() > 10; }),
              QStringLiteral("table of the new project"));

    Note(QStringLiteral("Read-all"));
    Click(ByName(Main, "btnReadAll"));
    WaitExchangeEnd(QStringLiteral("Чтение завершено"));
    const QString sameBefore = Value(same);

    // The comparison: the file chosen in the dialog, the count in the box; the rows stay marked
    // whatever the answer.
    const QString counted = QStringLiteral("различий: %1.").arg(differing.size());
    const auto compare = [&](QMessageBox::ButtonRole answer) {
        const bool asked = WithModal(
            [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
            [&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                E2E_CHECK(box->text().contains(counted),
                          QStringLiteral("comparison box says \"%1\": %2").arg(counted, box->text()));
                Answer(box, answer);
            },
            [&] {
                const bool chosen =
                    WithModal([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                              [&](QWidget* w) { FileDialogTakes(w, set); },
                              [&] { Click(ByName(Main, "btnDevCompare")); });
                E2E_CHECK(chosen, QStringLiteral("compare file dialog"));
            });
        E2E_CHECK(asked, QStringLiteral("comparison reported in a box"));
    };
    Note(QStringLiteral("Compare, keep the table's values"));
    compare(QMessageBox::NoRole);
    WaitStatus(
        QStringLiteral("Сравнение с %1: различий %2").arg(QFileInfo(set).fileName()).arg(differing.size()));
    CheckDifferenceMarks(differing, QStringLiteral("after the comparison"));
    Shot(Main, QStringLiteral("compare.png"));

    Note(QStringLiteral("Compare, take the file's values"));
    compare(QMessageBox::YesRole);
    WaitStatus(QStringLiteral("Взято из файла значений: %1").arg(differing.size()));
    CheckDifferenceMarks(differing, QStringLiteral("after the file's values were taken"));
    E2E_CHECK(Value(same) == sameBefore, QStringLiteral("\"%1\" kept the instrument's value").arg(same));

    Note(QStringLiteral("Write-all"));
    const bool confirmed = WithModal(
        BoxSaying(QStringLiteral("Вы действительно хотите записать все параметры в прибор?")),
        [&](QWidget* box) { Answer(box, QMessageBox::YesRole); },
        [&] { Click(ByName(Main, "btnWriteAll")); });
    E2E_CHECK(confirmed, QStringLiteral("write confirmation"));
    WaitExchangeEnd(QStringLiteral("Запись завершена"));

    Note(QStringLiteral("Commissioning report from the menu"));
    auto* menu = ByName<QMenu>(Main, "miFileMenu");
    auto* report = Main->findChild<QAction*>(QStringLiteral("actCommReport"));
    const bool inMenu = menu && report && menu->actions().contains(report);
    E2E_CHECK(inMenu && report->text() == QStringLiteral("Отчет о наладке..."),
              QStringLiteral("\"Отчет о наладке...\" in the project menu"));
    if (inMenu) {
        QMenuBar* bar = Main->menuBar();
        Click(bar, bar->actionGeometry(menu->menuAction()).center());
        E2E_CHECK(WaitFor([&] { return menu->isVisible(); }, 10000), QStringLiteral("project menu open"));
        const bool exported = WithModal([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                                        [&](QWidget* w) { FileDialogTakes(w, reportFile); },
                                        [&] { Click(menu, menu->actionGeometry(report).center()); });
        E2E_CHECK(exported, QStringLiteral("report file dialog"));
        WaitStatus(
            QStringLiteral("Отчет о наладке записан: %1 (записей: 1)").arg(QFileInfo(reportFile).fileName()));
    }

    // The project kept, so the close asks nothing.
    SaveAsThroughDialog(WorkDir + QStringLiteral("/compare.prj"));
    WaitStatus(QStringLiteral("Текущий проект сохранен"));
    Main->close();
    E2E_CHECK(!Main->isVisible(), QStringLiteral("main window closed"));
}

// Recording on the demo line until the test kills the program: a new project on SIM1, the
// recording switched on into the file the test names, the measurement started; from then on the
// number of points the chart shows goes to standard error as it grows ("E2E SHOWN n").
void RecordScenario(const QString& recordFile) {
    QMainWindow* main = nullptr;
    WaitFor([&] { return (main = qobject_cast<QMainWindow*>(TopLevel("frmMain"))) != nullptr; });
    if (!main) {
        Fail(QStringLiteral("no main window"));
        return;
    }
    E2E_CHECK(WaitFor([&] { return main->windowHandle() && main->windowHandle()->isExposed(); }),
              QStringLiteral("main window exposed"));
    QWidget* measure = ByName(main, "frmMeasure");
    QWidget* chart = ByName(measure, "Chart");
    auto* tabs = main->findChild<QTabBar*>();
    if (!measure || !chart || !tabs) {
        Fail(QStringLiteral("main window without its measurement page"));
        return;
    }
    const bool connection = WithModal(
        WindowOf("frmDevSet"),
        [&](QWidget* dlg) {
            for (QComboBox* c : dlg->findChildren<QComboBox*>())
                if (c->findText(QStringLiteral("SIM1")) >= 0)
                    c->setCurrentIndex(c->findText(QStringLiteral("SIM1")));
            AcceptConnection(dlg);
        },
        [&] { Click(ByName(main, "btnNew")); });
    E2E_CHECK(connection, QStringLiteral("connection dialog shown"));
    auto* pages = ByName<QTabWidget>(main, "pcMain");
    const int page = pages ? pages->indexOf(ByName(main, "TabMeas")) : -1;
    E2E_CHECK(WaitFor([&] { return tabs->isVisible(); }), QStringLiteral("pages shown"));
    Click(tabs, tabs->tabRect(page).center());
    E2E_CHECK(WaitFor([&] { return tabs->currentIndex() == page; }), QStringLiteral("measurement page"));

    QAbstractButton* record = VisibleButton(measure, "cbRecord");
    E2E_CHECK(record, QStringLiteral("recording switch"));
    const bool chosen =
        WithModal([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                  [&](QWidget* w) { FileDialogTakes(w, recordFile); }, [&] { Click(record); });
    E2E_CHECK(chosen, QStringLiteral("record file dialog"));
    E2E_CHECK(record && record->isChecked(), QStringLiteral("recording switched on"));
    Click(VisibleButton(measure, "btnMeasure"));
    E2E_CHECK(WaitFor([&] { return VisibleButton(measure, "btnMeasureStop") != nullptr; }),
              QStringLiteral("measurement running"));
    auto* shown = new QTimer(qApp);
    QObject::connect(shown, &QTimer::timeout, qApp, [chart, last = qlonglong(-1)]() mutable {
        const qlonglong n = chart->property("pointCount").toLongLong();
        if (n != last) {
            std::fprintf(stderr, "E2E SHOWN %lld\n", n);
            std::fflush(stderr);
            last = n;
        }
    });
    shown->start(20);
    std::fprintf(stderr, "E2E RECORDING %d failures\n", Failures);
    std::fflush(stderr);
}
} // namespace

// Starts with the program's event loop; a watchdog ends a scenario that hangs.
static void StartSession() {
    QTimer::singleShot(0, qApp, [] {
        auto* watch = new QTimer(qApp);
        QObject::connect(watch, &QTimer::timeout, qApp, &WatchModals);
        watch->start(50);
        QTimer::singleShot(240000, qApp, [] {
            Fail(QStringLiteral("scenario did not finish in 240 s"));
            std::fprintf(stderr, "E2E RESULT: %d failures\n", Failures);
            std::_Exit(3);
        });
        // The recording scenario runs until the test kills the program.
        const QString recordFile = qEnvironmentVariable("KESTRIN_E2E_RECORD");
        if (!recordFile.isEmpty()) {
            RecordScenario(recordFile);
            return;
        }
        TSession session;
        if (qEnvironmentVariable("KESTRIN_E2E_SCENARIO") == QStringLiteral("reopen"))
            session.RunReopen();
        else if (qEnvironmentVariable("KESTRIN_E2E_SCENARIO") == QStringLiteral("compare"))
            session.RunCompare();
        else
            session.Run();
        std::fprintf(stderr, "E2E RESULT: %d failures\n", Failures);
        std::fflush(stderr);
    });
}
Q_COREAPP_STARTUP_FUNCTION(StartSession)
