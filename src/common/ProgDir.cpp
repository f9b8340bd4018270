#include "common/ProgDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <clocale>
#include <unistd.h>

namespace StartupFiles {

QString ResolveProgDir() {
    // applicationDirPath() follows /proc/self/exe, so a symlink to the program or a relative start
    // still finds the real program directory.
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QStringList RequiredFiles() {
    return {QStringLiteral("libkvcom.so"), QStringLiteral("devices.ini"), QStringLiteral("kestrin.ini")};
}

bool CheckRequiredFiles(const QString& progDir, QString* missing) {
    for (const QString& f : RequiredFiles()) {
        if (!QFileInfo(progDir + f).isFile()) {
            if (missing)
                *missing = f;
            return false;
        }
    }
    return true;
}

void UseDotDecimalSeparator() {
    // Our own conversions never consult the locale; this also keeps Qt widgets and any C library
    // formatting on ".", as the files and the instruments expect.
    std::setlocale(LC_NUMERIC, "C");
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(c);
}

bool IsProgDirWritable(const QString& progDir) {
    if (QFileInfo::exists(progDir + QLatin1String(InstalledMarker)))
        return false;
    return ::access(QFile::encodeName(progDir).constData(), W_OK) == 0;
}

QString UserConfigDir() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base) + QStringLiteral("/kestrin/");
}

} // namespace StartupFiles
