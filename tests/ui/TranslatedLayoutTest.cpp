// The window at its minimum size and every dialog, in Russian and with the English translation
// installed: no button, label, tab, column or pane narrower than the text it shows.
#include "MainFixture.h"
#include "exchange/KvLibrary.h"
#include "ui/AboutWindow.h"
#include "ui/CalibDialog.h"
#include "ui/ConnectionDialog.h"
#include "ui/HelpWindow.h"
#include "ui/LineMonitor.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QLibraryInfo>
#include <QProcess>
#include <QStyleOption>
#include <QTabBar>
#include <QTranslator>

namespace {
// The widest line of a text as the widget's font draws it.
int TextWidth(const QFontMetrics& fm, const QString& text) {
    return fm.size(Qt::TextShowMnemonic, text).width();
}

QString Name(const QWidget* w) {
    return QStringLiteral("%1 %2").arg(QLatin1String(w->metaObject()->className()), w->objectName());
}

// Every text of root's visible widgets that does not fit its room, one line each.
QStringList Clipped(QWidget* root) {
    QStringList out;
    const auto report = [&out](const QWidget* w, const QString& text, int need, int room) {
        if (need > room)
            out << QStringLiteral("%1 \"%2\": needs %3, has %4").arg(Name(w), text).arg(need).arg(room);
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (!w->isVisible() || w->width() <= 0)
            continue;
        QStyle* style = w->style();
        // A control placed by hand that runs past its parent's edge is cut there (scrolled contents
        // excepted).
        if (QWidget* p = w->parentWidget();
            p && !w->isWindow() && !qobject_cast<QAbstractScrollArea*>(p->parentWidget())) {
            report(w, QStringLiteral("(right edge)"), w->geometry().right() + 1, p->width());
            report(w, QStringLiteral("(bottom edge)"), w->geometry().bottom() + 1, p->height());
        }
        // A pane squeezed below what its own layout needs overlaps or cuts its controls.
        if (QLayout* l = w->layout(); l && !qobject_cast<QAbstractScrollArea*>(w->parentWidget())) {
            const QSize need = l->totalMinimumSize();
            report(w, QStringLiteral("(layout width)"), need.width(), w->width());
            report(w, QStringLiteral("(layout height)"), need.height(), w->height());
        }
        if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty()) {
            QStyleOptionButton opt;
            opt.initFrom(b);
            opt.text = b->text();
            const QRect room = style->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
            report(b, b->text(), TextWidth(b->fontMetrics(), b->text()), room.width());
            report(b, b->text(), int(b->text().count(QLatin1Char('\n')) + 1) * b->fontMetrics().height(),
                   room.height());
        } else if (auto* c = qobject_cast<QCheckBox*>(w); c && !c->text().isEmpty()) {
            QStyleOptionButton opt;
            opt.initFrom(c);
            opt.text = c->text();
            const QRect room = style->subElementRect(QStyle::SE_CheckBoxContents, &opt, c);
            report(c, c->text(), TextWidth(c->fontMetrics(), c->text()), room.width());
        } else if (auto* t = qobject_cast<QToolButton*>(w);
                   t && !t->text().isEmpty() && t->toolButtonStyle() != Qt::ToolButtonIconOnly) {
            report(t, t->text(), t->sizeHint().width(), t->width());
        } else if (auto* lb = qobject_cast<QLabel*>(w);
                   lb && !lb->text().isEmpty() && lb->pixmap().isNull()) {
            const bool rich = lb->textFormat() == Qt::RichText ||
                              (lb->textFormat() == Qt::AutoText && Qt::mightBeRichText(lb->text()));
            const int room = lb->contentsRect().width() - 2 * lb->margin() - std::max(0, lb->indent());
            if (lb->wordWrap())
                report(lb, lb->text(), lb->heightForWidth(lb->width()), lb->height());
            else if (!rich)
                report(lb, lb->text(), TextWidth(lb->fontMetrics(), lb->text()), room);
            else
                report(lb, lb->text(), lb->minimumSizeHint().width(), lb->width());
        } else if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty()) {
            QStyleOptionGroupBox opt;
            opt.initFrom(g);
            opt.text = g->title();
            opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
            report(g, g->title(), label.right() + 1, g->width());
        } else if (auto* tb = qobject_cast<QTabBar*>(w)) {
            const int space = style->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tb);
            for (int i = 0; i < tb->count(); ++i) {
                if (!tb->isTabVisible(i))
                    continue;
                const QRect r = tb->tabRect(i);
                report(tb, tb->tabText(i), TextWidth(tb->fontMetrics(), tb->tabText(i)), r.width() - space);
                report(tb, tb->tabText(i), r.right() + 1, tb->width());
            }
        } else if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model()) {
            const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
            for (int i = 0; i < h->count(); ++i) {
                if (h->isSectionHidden(i))
                    continue;
                const QString text = h->model()->headerData(i, h->orientation()).toString();
                if (!text.isEmpty())
                    report(h, text, TextWidth(h->fontMetrics(), text) + 2 * margin, h->sectionSize(i));
            }
        } else if (auto* cb = qobject_cast<QComboBox*>(w); cb && !cb->isEditable()) {
            QStyleOptionComboBox opt;
            opt.initFrom(cb);
            opt.editable = false;
            opt.frame = cb->hasFrame();
            const QRect room =
                style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, cb);
            for (int i = 0; i < cb->count(); ++i)
                report(cb, cb->itemText(i), TextWidth(cb->fontMetrics(), cb->itemText(i)), room.width());
        }
    }
    return out;
}

// The English translation built from the tree's .ts with Qt's lrelease, as the build does.
bool BuildEnglish(const QString& dir, QString* qm) {
    *qm = dir + QStringLiteral("/kestrin_en.qm");
    QProcess p;
    p.start(QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lrelease"),
            {QStringLiteral(KESTRIN_SOURCE_DIR "translations/kestrin_en.ts"), QStringLiteral("-qm"), *qm});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
           QFileInfo(*qm).size() > 0;
}

class TranslatedLayout : public MainFixture, public ::testing::WithParamInterface<const char*> {
protected:
    QTranslator English;
    bool Installed = false;
    TKvApi Api{};

    void SetUp() override {
        MainFixture::SetUp();
        if (QLatin1String(GetParam()) == QLatin1String("en")) {
            QString qm;
            ASSERT_TRUE(BuildEnglish(Dir.path(), &qm)) << "lrelease failed";
            ASSERT_TRUE(English.load(qm));
            ASSERT_TRUE(QCoreApplication::installTranslator(&English));
            Installed = true;
        }
    }
    void TearDown() override {
        MainFixture::TearDown();
        if (Installed)
            QCoreApplication::removeTranslator(&English);
    }
    // Shows a window or dialog (without its own event loop) and lists what is clipped in it.
    QStringList Check(QWidget* w, const QString& what) {
        w->show();
        QApplication::processEvents();
        QStringList out = Clipped(w);
        for (QString& line : out)
            line.prepend(what + QStringLiteral(": "));
        return out;
    }
};

TEST_P(TranslatedLayout, NoTextIsClippedInTheWindowOrItsDialogs) {
    ASSERT_TRUE(Start());
    NewProject();
    ASSERT_EQ(State.PrjState, TPrjState::PrjSaved);
    // The translation is in use: the menu shows the language asked for.
    EXPECT_EQ(Command("actExit")->text(), QLatin1String(GetParam()) == QLatin1String("en")
                                              ? QStringLiteral("Exit")
                                              : QStringLiteral("Выход"));

    QStringList clipped;
    Main->show();
    Main->resize(Main->minimumSize());
    QApplication::processEvents();
    ASSERT_EQ(Main->size(), Main->minimumSize());
    auto* pages = Widget<QTabWidget>("pcMain");
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i)) {
            pages->setCurrentIndex(i);
            clipped << Check(Main.get(), QStringLiteral("main window, page %1").arg(i));
        }
    // The status panes in their widest states.
    Main->ShowPrjState();
    clipped << Check(Main.get(), QStringLiteral("main window"));

    clipped << Check(Main->frmProgSet, QStringLiteral("program settings"));
    Main->frmProgSet->hide();
    auto* devSet = new TfrmDevSet(*Main, State, Dialogs, Api, Main.get());
    clipped << Check(devSet, QStringLiteral("link settings"));
    devSet->hide();
    TfrmCalib calib(State, Api, Main.get());
    clipped << Check(&calib, QStringLiteral("calibration"));
    calib.hide();
    TfrmAbout about(Main.get());
    clipped << Check(&about, QStringLiteral("about"));
    about.hide();
    THelpWindow help(ProgDir + QStringLiteral("help"), Main.get());
    clipped << Check(&help, QStringLiteral("help"));
    help.hide();
    Main->ShowLineMonitor();
    auto* monitor = Main->findChild<TfrmLineMonitor*>();
    ASSERT_NE(monitor, nullptr);
    monitor->resize(monitor->minimumSizeHint());
    clipped << Check(monitor, QStringLiteral("line monitor"));
    monitor->close();
    EXPECT_TRUE(clipped.isEmpty()) << clipped.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedLayout, ::testing::Values("ru", "en"));
} // namespace
