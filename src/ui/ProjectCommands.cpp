// Project files: New, Open, Save, Save As and Close of the main window.
#include "common/ProgDir.h"
#include "common/IniFile.h"
#include "ui/DevTable.h"
#include "ui/MainWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

namespace {
const QString MainSection = QStringLiteral("Main");
const QString RecordSection = QStringLiteral("Measure");
const QString ProgramTitle = QStringLiteral("Настройка приборов серии Kestrin K1");
constexpr int MaxVersionLength = 255;

// Project dialogs start in the program directory; an installed program's directory holds no
// projects, so there they start in the user's home.
QString ProjectDialogDir(const QString& progDir) {
    return StartupFiles::IsProgDirWritable(progDir) ? progDir : QDir::homePath();
}
// The page a project's ActPage opens on. The channel page (1) has no tab: opened, it would show
// a bare table without the commands of either page and no tab to say where the user is. A file
// holding 1 was written counting the shown tabs only, where the second is "Измерение". A value no
// page has opens the parameter page.
int StoredPage(int actPage) {
    enum { ParamPage = 0, ChannelPage = 1, MeasurePage = 2 };
    if (actPage == ChannelPage || actPage == MeasurePage)
        return MeasurePage;
    return ParamPage;
}
} // namespace

bool TfrmMain::PrjSaveToPath(const QString& path) {
    if (!State.HasCurType())
        return false;
    // An installed program's directory is not the user's: a never-saved project asks for a name
    // instead of going to "noname.prj" there.
    if (path == State.SentinelPath() && !StartupFiles::IsProgDirWritable(State.ProgDir))
        return PrjSaveAs();
    if (const int row = frmDev->TableToValues(State.CurDev()); row >= 0) {
        Dialogs.Message(
            QStringLiteral("Не удалось сохранить проект!\rЗначение в строке %1 содержит перевод строки.")
                .arg(row),
            ProgramTitle, TMsgButtons::Ok);
        return false;
    }
    TIniFile ini(path);
    ini.EraseSection(MainSection);
    const TDev& dev = State.CurDev();
    ini.WriteString(MainSection, QStringLiteral("Version"), State.CurDevType().Version);
    ini.WriteInteger(MainSection, QStringLiteral("ActDevice"), State.ActDevice);
    ini.WriteString(MainSection, QStringLiteral("COMPort"), dev.COMPort);
    ini.WriteInteger(MainSection, QStringLiteral("BaudRate"), dev.BaudRate);
    ini.WriteInteger(MainSection, QStringLiteral("Address"), dev.Address);
    ini.WriteInteger(MainSection, QStringLiteral("ActPage"), pcMain->currentIndex());
    for (size_t i = 0; i < State.DevTypes.size() && i < State.DevList.size(); ++i) {
        const QString section = State.DevTypes[i]->Name;
        ini.EraseSection(section);
        ini.WriteString(section, QStringLiteral("Device"), PackValues(*State.DevList[i]));
    }
    // The measurement record's file, in a section of its own that older copies leave alone; a
    // project without one keeps its bytes as they were.
    if (!State.RecordFile.isEmpty())
        ini.WriteString(RecordSection, QStringLiteral("RecordFile"), State.RecordFile);
    QString error;
    if (!ini.UpdateFile(&error)) {
        // The file on disk is untouched (the new text goes to a temporary file first).
        Dialogs.Message(QStringLiteral("Не удалось сохранить проект!\r") + path + QStringLiteral("\r") +
                            error,
                        ProgramTitle, TMsgButtons::Ok);
        return false;
    }
    State.PrjPath = path;
    State.PrjState = PrjSaved;
    SetCaption();
    ShowMessage(QStringLiteral("Проект был сохранен"));
    ShowPrjState();
    return true;
}

bool TfrmMain::PrjSaveAs() {
    TFileDialogSpec dialogDef;
    dialogDef.Title = QStringLiteral("Сохранение проекта");
    dialogDef.Filters = {QStringLiteral("Проект (*.prj)")};
    dialogDef.DefaultExt = QStringLiteral("prj");
    dialogDef.Directory = ProjectDialogDir(State.ProgDir);
    const QString path = Dialogs.SaveFileName(dialogDef);
    if (path.isEmpty())
        return false;
    return PrjSaveToPath(path);
}

bool TfrmMain::PrjSave() {
    if (State.PrjPath == State.SentinelPath())
        return PrjSaveAs();
    return PrjSaveToPath(State.PrjPath);
}

bool TfrmMain::PrjOpenFile(const QString& path) {
    if (!State.HasCurType())
        return false;
    const TIniFile ini(path);
    TDevProp& type = State.CurDevType();
    const QString version =
        ini.ReadString(MainSection, QStringLiteral("Version"), QString()).left(MaxVersionLength);
    if (version != type.Version && !Reload(State.ProgDir, type, State.CurDev(), version)) {
        Dialogs.Message(QStringLiteral("Не удалось загрузить проект!\rНеизвестная модификация прибора."),
                        ProgramTitle, TMsgButtons::Ok);
        return false;
    }
    // The packed values are read whole: Save writes them whole, whatever their length.
    for (size_t i = 0; i < State.DevTypes.size() && i < State.DevList.size(); ++i)
        UnpackValues(*State.DevList[i],
                     ini.ReadWholeString(State.DevTypes[i]->Name, QStringLiteral("Device"), QString()));
    State.RecordFile = ini.ReadString(RecordSection, QStringLiteral("RecordFile"), QString());
    State.ActDevice = static_cast<uint8_t>(ini.ReadInteger(MainSection, QStringLiteral("ActDevice"), 0));
    QString port = ini.ReadString(MainSection, QStringLiteral("COMPort"), QStringLiteral("COM1"));
    State.RefreshPortList(); // the ports as they are now, not as at start-up
    qsizetype known = -1;
    for (qsizetype k = 0; k < State.PortList.size(); ++k)
        if (State.PortList[k].compare(port, Qt::CaseInsensitive) == 0)
            known = k;
    if (known < 0)
        port = State.PortList.isEmpty() ? QString() : State.PortList.constFirst();
    else
        port = State.PortList[known]; // the list's spelling: device names are case-sensitive here
    TDev& dev = State.CurDev();
    dev.COMPort = port;
    dev.BaudRate = static_cast<uint16_t>(ini.ReadInteger(MainSection, QStringLiteral("BaudRate"), 9600));
    dev.Address = static_cast<uint8_t>(ini.ReadInteger(MainSection, QStringLiteral("Address"), 0));
    {
        // Selecting the stored page is not a user's change of page.
        const QSignalBlocker block(pcMain);
        pcMain->setCurrentIndex(StoredPage(ini.ReadInteger(MainSection, QStringLiteral("ActPage"), 0)));
    }
    ApplyDevType(type);
    State.PrjPath = path;
    State.PrjState = PrjSaved;
    SetCaption();
    ShowMessage(QStringLiteral("Проект был открыт"));
    ShowPrjState();
    return true;
}

void TfrmMain::PrjOpen() {
    if (State.PrjState == PrjChanged) {
        const TMsgAnswer a = Dialogs.Message(QStringLiteral("Текущий проект был изменен. Сохранить?"),
                                             QStringLiteral("Warning"), TMsgButtons::YesNoCancel);
        if (a == TMsgAnswer::Cancel)
            return;
        // A never-saved project goes to "noname.prj" here. A save that fails stops the command:
        // the values would otherwise be replaced by the file's.
        if (a == TMsgAnswer::Yes && !PrjSaveToPath(State.PrjPath))
            return;
    }
    TFileDialogSpec dialogDef;
    dialogDef.Title = QStringLiteral("Загрузка проекта");
    dialogDef.Filters = {QStringLiteral("Проекты (*.prj)")};
    dialogDef.DefaultExt = QStringLiteral("prj");
    dialogDef.Directory = ProjectDialogDir(State.ProgDir);
    const QString path = Dialogs.OpenFileName(dialogDef);
    if (path.isEmpty())
        return;
    PrjOpenFile(path);
}

bool TfrmMain::PrjClose() {
    if (State.PrjState == PrjChanged) {
        const TMsgAnswer a = Dialogs.Message(QStringLiteral("Текущий проект был изменен. Сохранить?"),
                                             QStringLiteral("Внимание"), TMsgButtons::YesNoCancel);
        if (a == TMsgAnswer::Cancel)
            return false;
        // The user asked for the values to be kept: when the save does not take place (it failed,
        // or the file dialog was cancelled) the project stays open and changed.
        if (a == TMsgAnswer::Yes && !PrjSave())
            return false;
    }
    // Each record is reset to its own type's parameters, so a catalogue of several types keeps one
    // value per parameter in every record.
    for (size_t i = 0; i < State.DevList.size() && i < State.DevTypes.size(); ++i) {
        TDev& dev = *State.DevList[i];
        dev.Values.clear();
        for (const auto& p : State.DevTypes[i]->Params)
            dev.Values.append(p->SType == 2 ? QStringLiteral("0") : QString());
    }
    State.PrjPath.clear();
    State.RecordFile.clear();
    State.PrjState = PrjNone;
    SetCaption();
    ShowMessage(QStringLiteral("Проект был закрыт"));
    ShowPrjState();
    return true;
}

void TfrmMain::PrjNew() {
    if (State.PrjState != PrjNone && !PrjClose())
        return;
    if (!State.HasCurType())
        return;
    State.ActDevice = 0;
    TDev& dev = State.CurDev();
    dev.Address = 1;
    dev.BaudRate = static_cast<uint16_t>(State.CurDevType().BaudRate);
    if (!State.PortList.isEmpty())
        dev.COMPort = State.PortList.constFirst();
    if (!ShowDevSetDialog || !ShowDevSetDialog())
        return;
    State.PrjPath = State.SentinelPath();
    ApplyDevType(State.CurDevType());
    SetCaption();
    ShowMessage(QStringLiteral("Открыт новый проект"));
    {
        const QSignalBlocker block(pcMain);
        pcMain->setCurrentIndex(0);
    }
    State.PrjState = PrjSaved;
    ShowPrjState();
}
