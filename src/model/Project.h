#pragma once
// The open project: its file format, its state (changed, saved, none) and the commands New, Open,
// Save, Save As and Close. It knows no widgets: what it needs from the window that shows it comes
// through IProjectHost, and the window follows its signals (caption, status bar, command states).
// PrjState and PrjPath stay in TAppState, where the dialogs and workers read them; this object is
// the one that changes them.
#include "model/AppState.h"

#include <QObject>
#include <QString>

enum class TProjectAnswer { Yes, No, Cancel };

struct TProjectFileDialog {
    QString Title;
    QString Filter; // "Проект (*.prj)"
    QString DefaultExt;
    QString Directory;
};

class IProjectHost {
public:
    virtual ~IProjectHost() = default;
    // Takes the device table's working copy into the record; the row whose text held a line break,
    // or -1.
    virtual int TableToValues(TDev& dev) = 0;
    // The tables show the type with its record's values.
    virtual void ApplyDevType(const TDevProp& t) = 0;
    // The active page of the window (0 parameters, 1 channels, 2 measurement). Selecting one here
    // is not a user's change of page.
    virtual int ActPage() const = 0;
    virtual void SetActPage(int page) = 0;
    // The connection dialog of a new project; true when the user accepted it.
    virtual bool RunConnectionDialog() = 0;
    // Message boxes; a "\r" in the text is a line break.
    virtual TProjectAnswer AskYesNoCancel(const QString& text, const QString& caption) = 0;
    virtual void ShowError(const QString& text, const QString& caption) = 0;
    // File dialogs; empty when cancelled.
    virtual QString SaveProjectName(const TProjectFileDialog& dialog) = 0;
    virtual QString OpenProjectName(const TProjectFileDialog& dialog) = 0;
};

class TProject : public QObject {
    Q_OBJECT
public:
    TProject(TAppState& state, IProjectHost& host, QObject* parent = nullptr);

    // The never-saved project's path: the doubled separator makes it differ from any path a file
    // dialog returns.
    static QString SentinelPath(const QString& progDir);
    bool NeverSaved() const { return State.PrjPath == SentinelPath(State.ProgDir); }

    // Writes the project to the path and makes it the open project's file.
    bool SaveToPath(const QString& path);
    // Asks for a name; false when the dialog is cancelled or the save fails.
    bool SaveAs();
    // Save As for a never-saved project.
    bool Save();
    bool OpenFile(const QString& path);
    // Offers to save a changed project, then asks for a file and opens it.
    void Open();
    // False when the user kept the project open.
    bool Close();
    // Closes the open project and starts a new one through the connection dialog.
    void New();
    // An open, saved project becomes changed.
    void Change();
    // Start-up: reopens the project the settings name when they ask for it; otherwise no project
    // is open.
    bool Reopen();

signals:
    // PrjState (or what the window shows with it: the model designation) was set.
    void StateChanged();
    // PrjPath was set: the caption shows its file name.
    void PathChanged(const QString& path);
    // The outcome of a command for the status bar.
    void StatusMessage(const QString& text);

private:
    void SetProject(const QString& path, uint8_t state, const QString& message);

    TAppState& State;
    IProjectHost& Host;
};
