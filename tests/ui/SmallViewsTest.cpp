// The channel table behind its hidden page, the about window and the help viewer.
#include "ui/HelpWindow.h"
#include "MainFixture.h"
#include "ui/AboutWindow.h"
#include "ui/ChanTable.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>

TEST_F(MainFixture, ChannelTableMenuAndEditingRules) {
    ASSERT_TRUE(Start());
    TfrmChan& chan = *Main->frmChan;
    EXPECT_EQ(chan.ASG->horizontalHeaderItem(0)->text(), QStringLiteral(" Параметр"));
    // Fewer than three columns: a right click on a header opens nothing.
    EXPECT_FALSE(chan.ASGRightClickCell(1, 0, QPoint()));
    chan.ASG->setColumnCount(3);
    EXPECT_FALSE(chan.ASGRightClickCell(0, 0, QPoint())); // column 0 never
    EXPECT_FALSE(chan.ASGRightClickCell(2, 1, QPoint())); // only header cells
    EXPECT_TRUE(chan.ASGRightClickCell(2, 0, QPoint()));
    EXPECT_EQ(chan.PopupColumn, 2);
    EXPECT_FALSE(chan.miPaste->isEnabled()); // the copy buffer stays empty
    chan.PopMenu->hide();
    EXPECT_TRUE(chan.ASGCanEditCell(1, 1));
    EXPECT_FALSE(chan.ASGCanEditCell(0, 1));
    EXPECT_FALSE(chan.ASGCanEditCell(1, 0));
    State.ExchangeState = ExchChannel;
    EXPECT_FALSE(chan.ASGCanEditCell(1, 1));
    State.ExchangeState = ExchReadWrite; // editing stays allowed: only a channel exchange locks it
    EXPECT_TRUE(chan.ASGCanEditCell(1, 1));
    State.ExchangeState = ExchIdle;
}

TEST_F(MainFixture, AboutWindowAndHelpPages) {
    ASSERT_TRUE(Start());
    TfrmAbout& about = *Main->frmAbout;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О Программе..."));
    EXPECT_EQ(about.size(), QSize(417, 226));
    bool versionShown = false;
    for (QLabel* l : about.findChildren<QLabel*>())
        versionShown = versionShown || l->text() == QStringLiteral("version 1.10");
    EXPECT_TRUE(versionShown);
    QTimer::singleShot(0, &about, [&] { about.OkBtn->click(); });
    Main->ToolBarClick(Main->miAbout);
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
