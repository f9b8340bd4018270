// The main window's side of the project: its commands call the project object, which reaches the
// table, the page, the connection dialog and the message boxes through these functions.
#include "ui/MainWindow.h"

#include <QSignalBlocker>
#include <QTabWidget>

bool TfrmMain::PrjSaveAs() {
    return Project->SaveAs();
}
bool TfrmMain::PrjSave() {
    return Project->Save();
}
void TfrmMain::PrjOpen() {
    Project->Open();
}
bool TfrmMain::PrjClose() {
    return Project->Close();
}
void TfrmMain::PrjNew() {
    Project->New();
}

int TfrmMain::TableToValues(TDev& dev) {
    return frmDev->TableToValues(dev);
}

int TfrmMain::ActPage() const {
    return pcMain->currentIndex();
}

void TfrmMain::SetActPage(int page) {
    // Selecting the project's page is not a user's change of page.
    const QSignalBlocker block(pcMain);
    pcMain->setCurrentIndex(page);
}

bool TfrmMain::RunConnectionDialog() {
    return ShowDevSetDialog && ShowDevSetDialog();
}

TProjectAnswer TfrmMain::AskYesNoCancel(const QString& text, const QString& caption) {
    switch (Dialogs.Message(text, caption, TMsgButtons::YesNoCancel)) {
    case TMsgAnswer::Yes:
        return TProjectAnswer::Yes;
    case TMsgAnswer::No:
        return TProjectAnswer::No;
    default:
        return TProjectAnswer::Cancel;
    }
}

void TfrmMain::ShowError(const QString& text, const QString& caption) {
    Dialogs.Message(text, caption, TMsgButtons::Ok);
}

namespace {
TFileDialogSpec DialogSpec(const TProjectFileDialog& dialog) {
    TFileDialogSpec dialogDef;
    dialogDef.Title = dialog.Title;
    dialogDef.Filters = {dialog.Filter};
    dialogDef.DefaultExt = dialog.DefaultExt;
    dialogDef.Directory = dialog.Directory;
    return dialogDef;
}
} // namespace

QString TfrmMain::SaveProjectName(const TProjectFileDialog& dialog) {
    return Dialogs.SaveFileName(DialogSpec(dialog));
}

QString TfrmMain::OpenProjectName(const TProjectFileDialog& dialog) {
    return Dialogs.OpenFileName(DialogSpec(dialog));
}
