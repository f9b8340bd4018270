#include "ui/HelpWindow.h"
#include "common/Language.h"
#include "ui/ObjectNames.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(const QString& helpDir, QWidget* parent) : QDialog(parent), HelpDir(helpDir) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Справка"));
    resize(720, 560);
    Browser = new QTextBrowser(this);
    Browser->setOpenExternalLinks(true);
    Browser->setSearchPaths({helpDir});
    auto* back = new QPushButton(tr("Назад"), this);
    auto* home = new QPushButton(tr("Содержание"), this);
    auto* close = new QPushButton(tr("Закрыть"), this);
    connect(back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(home, &QPushButton::clicked, this, [this] { ShowTopic(QString()); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(home);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser);
    layout->addLayout(buttons);
    MakeReturnButton(close);
    // The buttons have no members; their names follow the same style.
    NameControls({{Browser, "Browser"}, {back, "btnBack"}, {home, "btnHome"}, {close, "btnClose"}});
}

void THelpWindow::ShowTopic(const QString& topic) {
    const QString page = (topic.isEmpty() ? QStringLiteral("index") : topic) + QStringLiteral(".html");
    const QString path = HelpDir + page;
    if (QFileInfo(path).isFile())
        Browser->setSource(QUrl::fromLocalFile(path));
    else
        Browser->setHtml(tr("<p>Файл справки не найден: %1</p>").arg(path.toHtmlEscaped()));
    show();
    raise();
    activateWindow();
}

QString THelpWindow::CurrentPage() const {
    return QFileInfo(Browser->source().toLocalFile()).fileName();
}

namespace {
// The window the help belongs to. While a modal dialog runs every other window is blocked, so help
// opened from it must be its child to take input; otherwise the main window owns it.
QWidget* HelpOwner(const QWidget* help) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != help)
        return modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    QWidget* active = QApplication::activeWindow();
    if (help && active == help)
        return help->parentWidget();
    return active;
}
} // namespace

void ShowHelpTopic(const QString& progDir, const QString& topic) {
    static QPointer<THelpWindow> window;
    if (!window) {
        window = new THelpWindow(Language::HelpDir(progDir), HelpOwner(nullptr));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    } else if (QWidget* owner = HelpOwner(window); owner != window->parentWidget()) {
        window->setParent(owner, window->windowFlags());
    }
    window->ShowTopic(topic);
}
