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
} // namespace StartupFiles
