#pragma once
#include <QString>
#include <QStringList>

namespace StartupFiles {
// The program's directory, resolved through the system from the running executable, ending in "/".
QString ResolveProgDir();

// The files the program cannot work without, in the order they are checked.
QStringList RequiredFiles();

// True when every required file exists in progDir; stops at the first missing one, named in *missing.
bool CheckRequiredFiles(const QString& progDir, QString* missing = nullptr);

// "." as the decimal separator of every conversion, whatever the regional settings say.
void UseDotDecimalSeparator();

// The file an installation puts into the program directory: such a directory belongs to the system
// and is never written, whoever runs the program (root included, whom permission bits do not stop).
inline constexpr const char* InstalledMarker = "kestrin.installed";

// False when progDir carries the installation marker or the system refuses writing to it (permissions,
// a read-only file system). Then the per-user files of UserConfigDir() take the place of the
// program directory's writable files.
bool IsProgDirWritable(const QString& progDir);

// $XDG_CONFIG_HOME/kestrin/ (an absolute XDG_CONFIG_HOME only, as the XDG rules say), else
// ~/.config/kestrin/; ends in "/". Not created here.
QString UserConfigDir();
} // namespace StartupFiles
