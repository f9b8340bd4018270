#pragma once
// The settings file "kestrin.ini", section "Main".
#include "model/AppState.h"

#include <QString>

namespace SettingsFile {
// The settings file in use. Where the program directory may be written, its "kestrin.ini" as always;
// otherwise the user's own "kestrin.ini" in StartupFiles::UserConfigDir(), made the first time as a
// copy of the program directory's file. A copy that cannot be made still names the user's file: its
// read gives the defaults and the close reports why the write failed.
QString Location(const QString& progDir);

// Reads the settings; absent or unparsable keys take their defaults. Left and Top are read only
// when Save is set.
TSettings Read(const QString& path);

// Erases "Main" and writes Save, (Left, Top), Load, (Project), Hint, ReWrite, ReRead, Confirm, (Language).
// Left/Top are written only when Save is set, Project (the open project's path) only when Load is,
// Language only when the user chose one (files of older versions keep their bytes).
bool Write(const QString& path, const TSettings& s, const QString& prjPath, int left, int top,
           QString* error = nullptr);
} // namespace SettingsFile
