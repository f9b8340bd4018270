// The channel table behind its hidden page, the about window and the help viewer.
#include "MainFixture.h"
#include "ui/AboutWindow.h"
#include "ui/ChanTable.h"
#include "ui/HelpWindow.h"

#include <QAbstractFileIconProvider>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <sys/inotify.h>
#include <unistd.h>

TEST_F(MainFixture, ChannelTableMenuAndEditingRules) {
    ASSERT_TRUE(Start());
    TfrmChan& chan = *Control<TfrmChan>(Main.get(), "frmChan");
    QTableWidget* grid = Control<QTableWidget>(&chan, "ASG");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral(" Параметр"));
    // Fewer than three columns: a right click on a header opens nothing.
    EXPECT_FALSE(chan.ASGRightClickCell(1, 0, QPoint()));
    grid->setColumnCount(3);
    EXPECT_FALSE(chan.ASGRightClickCell(0, 0, QPoint())); // column 0 never
    EXPECT_FALSE(chan.ASGRightClickCell(2, 1, QPoint())); // only header cells
    EXPECT_TRUE(chan.ASGRightClickCell(2, 0, QPoint()));
    EXPECT_EQ(chan.PopupColumn, 2);
    EXPECT_FALSE(Control<QAction>(&chan, "miPaste")->isEnabled()); // the copy buffer stays empty
    Control<QMenu>(&chan, "PopMenu")->hide();
    EXPECT_TRUE(chan.ASGCanEditCell(1, 1));
    EXPECT_FALSE(chan.ASGCanEditCell(0, 1));
    EXPECT_FALSE(chan.ASGCanEditCell(1, 0));
    State.ExchangeState = TExchState::ExchChannel;
    EXPECT_FALSE(chan.ASGCanEditCell(1, 1));
    State.ExchangeState =
        TExchState::ExchReadWrite; // editing stays allowed: only a channel exchange locks it
    EXPECT_TRUE(chan.ASGCanEditCell(1, 1));
    State.ExchangeState = TExchState::ExchIdle;

    // The grid follows the rules: column 0 takes no selection and no editor, column 1 both.
    grid->setRowCount(2);
    const QModelIndex name = grid->model()->index(0, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(name).center());
    EXPECT_NE(grid->currentIndex(), name);
    EXPECT_TRUE(grid->selectionModel()->selectedIndexes().isEmpty());
    grid->edit(name);
    EXPECT_EQ(grid->indexWidget(name), nullptr);
    const QModelIndex value = grid->model()->index(0, 1);
    grid->edit(value);
    EXPECT_NE(grid->indexWidget(value), nullptr);
    State.ExchangeState = TExchState::ExchChannel;
    grid->setCurrentIndex(grid->model()->index(1, 2));
    grid->edit(grid->currentIndex());
    EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr);
    State.ExchangeState = TExchState::ExchIdle;
}

TEST_F(MainFixture, AboutWindowAndHelpPages) {
    ASSERT_TRUE(Start());
    TfrmAbout& about = *Control<TfrmAbout>(Main.get(), "frmAbout");
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О Программе..."));
    EXPECT_EQ(about.size(), QSize(417, 226));
    bool versionShown = false;
    for (QLabel* l : about.findChildren<QLabel*>())
        versionShown = versionShown || l->text() == QStringLiteral("version 1.10");
    EXPECT_TRUE(versionShown);
    // Every line of the right column shows whole inside the upper panel, the e-mail link included.
    for (QLabel* l : about.findChildren<QLabel*>()) {
        const QRect inPanel(l->pos(), l->sizeHint());
        EXPECT_TRUE(l->parentWidget()->contentsRect().contains(inPanel)) << qPrintable(l->text());
        EXPECT_GE(l->width(), l->sizeHint().width()) << qPrintable(l->text());
    }
    QTimer::singleShot(0, &about, [&] { Control<QPushButton>(&about, "OkBtn")->click(); });
    Trigger("actAbout");
    EXPECT_FALSE(about.isVisible());

    THelpWindow help(ProgDir + "help/");
    for (const char* topic : {"", "page0", "page1", "page2", "page3", "page4"}) {
        help.ShowTopic(QString::fromLatin1(topic));
        const QString expected = QString::fromLatin1(*topic ? topic : "index") + ".html";
        EXPECT_EQ(help.CurrentPage(), expected);
    }
    THelpWindow missing(Dir.filePath("nohelp/"));
    missing.ShowTopic("page2"); // a missing page says so instead of failing
    EXPECT_TRUE(missing.findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("не найден")));
}

// The program's file dialogs decide icons and types by name: a special file that blocks its
// reader (/proc/kmsg) cannot freeze them. Watched with inotify: the file is never opened.
TEST_F(MainFixture, FileDialogsNeverOpenTheFilesTheyList) {
    const QString sample = Dir.filePath("sample");
    TestUtil::WriteBytes(sample, "%PDF-1.4\n"); // recognisable by content only
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(Dir.path()).constData(), IN_OPEN | IN_ACCESS), 0);
    TQtUserDialogs dialogs;
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QAbstractFileIconProvider* icons = dialog->iconProvider();
        ASSERT_NE(icons, nullptr);
        icons->icon(QFileInfo(sample));
        EXPECT_FALSE(icons->type(QFileInfo(sample)).isEmpty());
        inspected = true;
        dialog->reject();
    });
    TFileDialogSpec dialogDef;
    dialogDef.Directory = Dir.path();
    dialogs.OpenFileName(dialogDef);
    EXPECT_TRUE(inspected);
    char buffer[4096];
    bool opened = false;
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            opened = opened || (e->len > 0 && QByteArray(e->name) == "sample");
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    close(watch);
    EXPECT_FALSE(opened);
}
