#pragma once
// Every message box and file dialog of the program goes through this interface, so that tests can
// answer them. The program uses standard Qt dialogs with Russian button texts.
#include <QString>
#include <QStringList>

class QAbstractFileIconProvider;
class QPushButton;
class QWidget;

enum class TMsgButtons { Ok, YesNo, YesNoCancel };
enum class TMsgAnswer { Ok, Yes, No, Cancel };

struct TFileDialogSpec {
    QString Title;
    QStringList Filters; // "Проект (*.prj)" ...
    QString DefaultExt;  // without the dot
    QString Directory;
    int FilterIndex = 0; // initially chosen filter
};

class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;
    // A "\r" in the text is a line break. With YesNo the default button is defaultAnswer.
    virtual TMsgAnswer Message(const QString& text, const QString& caption, TMsgButtons buttons,
                               TMsgAnswer defaultAnswer = TMsgAnswer::Yes) = 0;
    // The same box with a details text it shows on request (the meaning of a result code); the
    // text itself stays as given. Without details it is exactly Message.
    virtual TMsgAnswer MessageWithDetails(const QString& text, const QString& caption, TMsgButtons buttons,
                                          const QString& /*details*/) {
        return Message(text, caption, buttons);
    }
    // Empty when cancelled. *filterIndex receives the chosen filter (0-based).
    virtual QString SaveFileName(const TFileDialogSpec& dialogDef, int* filterIndex = nullptr) = 0;
    virtual QString OpenFileName(const TFileDialogSpec& dialogDef) = 0;
};

class TQtUserDialogs : public IUserDialogs {
public:
    TMsgAnswer Message(const QString& text, const QString& caption, TMsgButtons buttons,
                       TMsgAnswer defaultAnswer = TMsgAnswer::Yes) override;
    TMsgAnswer MessageWithDetails(const QString& text, const QString& caption, TMsgButtons buttons,
                                  const QString& details) override;
    QString SaveFileName(const TFileDialogSpec& dialogDef, int* filterIndex = nullptr) override;
    QString OpenFileName(const TFileDialogSpec& dialogDef) override;
};

// Where the dialogs for the user's own files (parameter sets, table exports, chart pictures and
// points) start: lastDir, the folder of the last such file chosen this session, else the program
// directory where the program may write there (a build's directory), else the home folder: an
// installed program's directory is not the user's to write.
QString UserFilesDir(const QString& lastDir, const QString& progDir);

// The icon provider of the program's file dialogs: it decides by file names only and never opens
// a file.
QAbstractFileIconProvider* FileDialogIconProvider();

// Makes `ok` the button Return presses in its dialog wherever the focus is, and takes Return from
// every other push button there: a button keeps the focus after a mouse click and would otherwise
// become the default, so that Return repeated a search or closed the dialog unaccepted. Space still
// presses the button that has the focus; Escape stays the dialog's cancel. Call once the dialog's
// buttons exist.
void MakeReturnButton(QPushButton* ok);
