// Project files: New, Open, Save, Save As and Close, the file format and the project state.
#include "model/Project.h"

#include "common/IniFile.h"
#include "common/ProgDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString MainSection = QStringLiteral("Main");
const QString RecordSection = QStringLiteral("Measure");
QString ProgramTitle() {
    return QCoreApplication::translate("Model", "Настройка приборов серии Kestrin K1");
}
QString SaveQuestion() {
    return QCoreApplication::translate("Model", "Текущий проект был изменен. Сохранить?");
}
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

TProject::TProject(TAppState& state, IProjectHost& host, QObject* parent)
    : QObject(parent), State(state), Host(host) {}

QString TProject::SentinelPath(const QString& progDir) {
    return progDir + QStringLiteral("/noname.prj");
}

void TProject::SetProject(const QString& path, TPrjState state, const QString& message) {
    State.PrjPath = path;
    State.PrjState = state;
    emit PathChanged(path);
    emit StatusMessage(message);
    emit StateChanged();
}

bool TProject::SaveToPath(const QString& path) {
    if (!State.HasCurType())
        return false;
    // An installed program's directory is not the user's: a never-saved project asks for a name
    // instead of going to "noname.prj" there.
    if (path == SentinelPath(State.ProgDir) && !StartupFiles::IsProgDirWritable(State.ProgDir))
        return SaveAs();
    if (const int row = Host.TableToValues(State.CurDev()); row >= 0) {
        Host.ShowError(
            QCoreApplication::translate(
                "Model", "Не удалось сохранить проект!\rЗначение в строке %1 содержит перевод строки.")
                .arg(row),
            ProgramTitle());
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
    ini.WriteInteger(MainSection, QStringLiteral("ActPage"), Host.ActPage());
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
        Host.ShowError(
            QCoreApplication::translate("Model", "Не удалось сохранить проект!\r%1\r%2").arg(path, error),
            ProgramTitle());
        return false;
    }
    SetProject(path, TPrjState::PrjSaved, QCoreApplication::translate("Model", "Проект был сохранен"));
    return true;
}

bool TProject::SaveAs() {
    const QString path = Host.SaveProjectName({QCoreApplication::translate("Model", "Сохранение проекта"),
                                               QCoreApplication::translate("Model", "Проект (*.prj)"),
                                               QStringLiteral("prj"), ProjectDialogDir(State.ProgDir)});
    if (path.isEmpty())
        return false;
    return SaveToPath(path);
}

bool TProject::Save() {
    if (NeverSaved())
        return SaveAs();
    return SaveToPath(State.PrjPath);
}

bool TProject::OpenFile(const QString& path) {
    if (!State.HasCurType())
        return false;
    const TIniFile ini(path);
    TDevProp& type = State.CurDevType();
    const QString version =
        ini.ReadString(MainSection, QStringLiteral("Version"), QString()).left(MaxVersionLength);
    if (version != type.Version && !Reload(State.ProgDir, type, State.CurDev(), version)) {
        Host.ShowError(QCoreApplication::translate(
                           "Model", "Не удалось загрузить проект!\rНеизвестная модификация прибора."),
                       ProgramTitle());
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
    Host.SetActPage(StoredPage(ini.ReadInteger(MainSection, QStringLiteral("ActPage"), 0)));
    Host.ApplyDevType(type);
    SetProject(path, TPrjState::PrjSaved, QCoreApplication::translate("Model", "Проект был открыт"));
    return true;
}

void TProject::Open() {
    if (State.PrjState == TPrjState::PrjChanged) {
        const TProjectAnswer a = Host.AskYesNoCancel(SaveQuestion(), QStringLiteral("Warning"));
        if (a == TProjectAnswer::Cancel)
            return;
        // A never-saved project goes to "noname.prj" here. A save that fails stops the command:
        // the values would otherwise be replaced by the file's.
        if (a == TProjectAnswer::Yes && !SaveToPath(State.PrjPath))
            return;
    }
    const QString path = Host.OpenProjectName({QCoreApplication::translate("Model", "Загрузка проекта"),
                                               QCoreApplication::translate("Model", "Проекты (*.prj)"),
                                               QStringLiteral("prj"), ProjectDialogDir(State.ProgDir)});
    if (path.isEmpty())
        return;
    OpenFile(path);
}

bool TProject::Close() {
    if (State.PrjState == TPrjState::PrjChanged) {
        const TProjectAnswer a =
            Host.AskYesNoCancel(SaveQuestion(), QCoreApplication::translate("Model", "Внимание"));
        if (a == TProjectAnswer::Cancel)
            return false;
        // The user asked for the values to be kept: when the save does not take place (it failed,
        // or the file dialog was cancelled) the project stays open and changed.
        if (a == TProjectAnswer::Yes && !Save())
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
    State.RecordFile.clear();
    SetProject(QString(), TPrjState::PrjNone, QCoreApplication::translate("Model", "Проект был закрыт"));
    return true;
}

void TProject::New() {
    if (State.PrjState != TPrjState::PrjNone && !Close())
        return;
    if (!State.HasCurType())
        return;
    State.ActDevice = 0;
    TDev& dev = State.CurDev();
    dev.Address = 1;
    dev.BaudRate = static_cast<uint16_t>(State.CurDevType().BaudRate);
    if (!State.PortList.isEmpty())
        dev.COMPort = State.PortList.constFirst();
    if (!Host.RunConnectionDialog())
        return;
    Host.ApplyDevType(State.CurDevType());
    Host.SetActPage(0);
    SetProject(SentinelPath(State.ProgDir), TPrjState::PrjSaved,
               QCoreApplication::translate("Model", "Открыт новый проект"));
}

void TProject::Change() {
    if (State.PrjState == TPrjState::PrjSaved) {
        State.PrjState = TPrjState::PrjChanged;
        emit StateChanged();
    }
}

bool TProject::Reopen() {
    const TSettings& s = State.Settings;
    if (s.Load && !s.Project.isEmpty() && QFileInfo(s.Project).isFile() && OpenFile(s.Project))
        return true;
    State.ActDevice = 0;
    State.PrjState = TPrjState::PrjNone;
    State.PrjPath.clear();
    emit PathChanged(State.PrjPath);
    emit StateChanged();
    return false;
}
