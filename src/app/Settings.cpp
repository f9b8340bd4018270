#include "app/Settings.h"

#include "common/ProgDir.h"
#include "common/FileSave.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SettingsFile {

namespace {
const QString Main = QStringLiteral("Main");
}

QString Location(const QString& progDir) {
    const QString shipped = progDir + QStringLiteral("kestrin.ini");
    if (StartupFiles::IsProgDirWritable(progDir))
        return shipped;
    const QString dir = StartupFiles::UserConfigDir();
    const QString own = dir + QStringLiteral("kestrin.ini");
    if (!QFileInfo::exists(own) && QDir().mkpath(dir)) {
        // Whole or not at all (a full disk must not leave an empty copy that is never copied again);
        // a new file, so the shipped file's read-only permissions do not come along.
        QFile from(shipped);
        if (from.open(QIODevice::ReadOnly))
            SaveFileBytes(own, from.readAll());
    }
    return own;
}

TSettings Read(const QString& path) {
    const TIniFile ini(path);
    TSettings s;
    s.Save = ini.ReadBool(Main, QStringLiteral("Save"), false);
    if (s.Save) {
        s.Left = ini.ReadInteger(Main, QStringLiteral("Left"), 200);
        s.Top = ini.ReadInteger(Main, QStringLiteral("Top"), 100);
    }
    s.Load = ini.ReadBool(Main, QStringLiteral("Load"), false);
    s.Project = ini.ReadString(Main, QStringLiteral("Project"), QString());
    s.Hint = ini.ReadBool(Main, QStringLiteral("Hint"), false);
    s.Confirm = ini.ReadBool(Main, QStringLiteral("Confirm"), true);
    s.ReWrite = ini.ReadInteger(Main, QStringLiteral("ReWrite"), 1);
    s.ReRead = ini.ReadInteger(Main, QStringLiteral("ReRead"), 1);
    // Anything but a known language follows the system.
    const QString language = ini.ReadString(Main, QStringLiteral("Language"), QString()).trimmed().toLower();
    if (language == QLatin1String("ru") || language == QLatin1String("en"))
        s.Language = language;
    return s;
}

bool Write(const QString& path, const TSettings& s, const QString& prjPath, int left, int top,
           QString* error) {
    TIniFile ini(path);
    ini.EraseSection(Main);
    ini.WriteBool(Main, QStringLiteral("Save"), s.Save);
    if (s.Save) {
        ini.WriteInteger(Main, QStringLiteral("Left"), left);
        ini.WriteInteger(Main, QStringLiteral("Top"), top);
    }
    ini.WriteBool(Main, QStringLiteral("Load"), s.Load);
    if (s.Load)
        ini.WriteString(Main, QStringLiteral("Project"), prjPath);
    ini.WriteBool(Main, QStringLiteral("Hint"), s.Hint);
    ini.WriteInteger(Main, QStringLiteral("ReWrite"), s.ReWrite);
    ini.WriteInteger(Main, QStringLiteral("ReRead"), s.ReRead);
    ini.WriteBool(Main, QStringLiteral("Confirm"), s.Confirm);
    if (!s.Language.isEmpty())
        ini.WriteString(Main, QStringLiteral("Language"), s.Language);
    return ini.UpdateFile(error);
}

} // namespace SettingsFile
