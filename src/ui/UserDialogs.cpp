#include "ui/UserDialogs.h"

#include "common/ProgDir.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <memory>

namespace {
// Boxes and file dialogs centre on their parent: the running modal dialog, else the main window.
// The active window is only the last resort: without a window manager there may be none, and the
// box would sit in the middle of the screen.
QWidget* ParentWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    return QApplication::activeWindow();
}

// Icons and type names by the file name alone. Qt's own provider sniffs file contents, and a read
// of a special file (/proc/kmsg ...) blocks the dialog, and with it the program, for good.
class TNameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QCoreApplication::translate("UserDialogs", "Папка");
        const QMimeType mime = Mime.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return mime.isDefault() ? QCoreApplication::translate("UserDialogs", "Файл") : mime.comment();
    }

private:
    QMimeDatabase Mime;
};

TMsgAnswer ShowBox(const QString& text, const QString& caption, TMsgButtons buttons, TMsgAnswer defaultAnswer,
                   const QString& details) {
    QString body = text;
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(ParentWindow());
    box.setWindowTitle(caption);
    box.setText(body);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.setIcon(buttons == TMsgButtons::Ok ? QMessageBox::Warning : QMessageBox::Question);
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    if (buttons == TMsgButtons::Ok) {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
    } else {
        yes = box.addButton(QCoreApplication::translate("UserDialogs", "Да"), QMessageBox::YesRole);
        no = box.addButton(QCoreApplication::translate("UserDialogs", "Нет"), QMessageBox::NoRole);
        if (buttons == TMsgButtons::YesNoCancel)
            cancel =
                box.addButton(QCoreApplication::translate("UserDialogs", "Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(defaultAnswer == TMsgAnswer::No ? no : yes);
        box.setEscapeButton(cancel ? cancel : no);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok)
        return TMsgAnswer::Ok;
    if (clicked == yes)
        return TMsgAnswer::Yes;
    if (clicked == no)
        return TMsgAnswer::No;
    return buttons == TMsgButtons::Ok ? TMsgAnswer::Ok : TMsgAnswer::Cancel;
}
} // namespace

QAbstractFileIconProvider* FileDialogIconProvider() {
    static TNameOnlyIconProvider provider;
    return &provider;
}

TMsgAnswer TQtUserDialogs::Message(const QString& text, const QString& caption, TMsgButtons buttons,
                                   TMsgAnswer defaultAnswer) {
    return ShowBox(text, caption, buttons, defaultAnswer, QString());
}

TMsgAnswer TQtUserDialogs::MessageWithDetails(const QString& text, const QString& caption,
                                              TMsgButtons buttons, const QString& details) {
    return ShowBox(text, caption, buttons, TMsgAnswer::Yes, details);
}

namespace {
QFileDialog* MakeDialog(const TFileDialogSpec& dialogDef, QFileDialog::AcceptMode mode) {
    auto* d = new QFileDialog(ParentWindow(), dialogDef.Title, dialogDef.Directory);
    d->setAcceptMode(mode);
    d->setNameFilters(dialogDef.Filters);
    if (dialogDef.FilterIndex >= 0 && dialogDef.FilterIndex < dialogDef.Filters.size())
        d->selectNameFilter(dialogDef.Filters[dialogDef.FilterIndex]);
    d->setDefaultSuffix(dialogDef.DefaultExt);
    d->setOption(QFileDialog::DontUseNativeDialog, false);
    d->setIconProvider(FileDialogIconProvider());
    d->setLabelText(QFileDialog::Accept, mode == QFileDialog::AcceptSave
                                             ? QCoreApplication::translate("UserDialogs", "Сохранить")
                                             : QCoreApplication::translate("UserDialogs", "Открыть"));
    d->setLabelText(QFileDialog::Reject, QCoreApplication::translate("UserDialogs", "Отмена"));
    d->setLabelText(QFileDialog::FileName, QCoreApplication::translate("UserDialogs", "Имя файла:"));
    d->setLabelText(QFileDialog::FileType, QCoreApplication::translate("UserDialogs", "Тип файла:"));
    d->setLabelText(QFileDialog::LookIn, QCoreApplication::translate("UserDialogs", "Папка:"));
    return d;
}
} // namespace

QString TQtUserDialogs::SaveFileName(const TFileDialogSpec& dialogDef, int* filterIndex) {
    std::unique_ptr<QFileDialog> d(MakeDialog(dialogDef, QFileDialog::AcceptSave));
    // The callers ask their own overwrite questions where they need one.
    d->setOption(QFileDialog::DontConfirmOverwrite, true);
    if (d->exec() != QDialog::Accepted || d->selectedFiles().isEmpty())
        return QString();
    if (filterIndex)
        *filterIndex = static_cast<int>(dialogDef.Filters.indexOf(d->selectedNameFilter()));
    return d->selectedFiles().constFirst();
}

QString UserFilesDir(const QString& lastDir, const QString& progDir) {
    if (!lastDir.isEmpty() && QFileInfo(lastDir).isDir())
        return lastDir;
    return StartupFiles::IsProgDirWritable(progDir) ? progDir : QDir::homePath();
}

QString TQtUserDialogs::OpenFileName(const TFileDialogSpec& dialogDef) {
    std::unique_ptr<QFileDialog> d(MakeDialog(dialogDef, QFileDialog::AcceptOpen));
    d->setFileMode(QFileDialog::AnyFile); // a typed name that does not exist is the caller's to judge
    if (d->exec() != QDialog::Accepted || d->selectedFiles().isEmpty())
        return QString();
    return d->selectedFiles().constFirst();
}

void MakeReturnButton(QPushButton* ok) {
    for (QPushButton* b : ok->window()->findChildren<QPushButton*>())
        b->setAutoDefault(false);
    ok->setDefault(true);
}
