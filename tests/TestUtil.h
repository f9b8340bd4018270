#pragma once
// Small helpers shared by the test suites.
#include "common/Cp1251.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace TestUtil {
// Writes text as Windows-1251 with CR LF line ends, as the program's files are.
inline void WriteCp1251(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    f.write(Cp1251::Encode(crlf));
}
inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}
inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
inline QString ReadCp1251(const QString& path) { return Cp1251::Decode(ReadBytes(path)); }
// Which programs a copy of the program directory takes along: the data files alone, or also
// kestrin-cli and the simulator for tests that run them from the copy. The window program never.
enum class TCopyPrograms { None, CliAndSim };
// Copies the program directory laid out by the build (devices.ini, kestrin.ini, descriptions, help,
// libkvcom.so) into the folder `to`, each file with its permissions; false when a file could not be
// copied.
[[nodiscard]] inline bool CopyProgramDir(const QString& to, TCopyPrograms programs = TCopyPrograms::None) {
    const QString from = QStringLiteral(KESTRIN_PROGDIR);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(from).relativeFilePath(src);
        // The programs are the files "kestrin..." without an extension (not kestrin.ini, not kestrin_en.qm).
        const bool program = rel.startsWith(QLatin1String("kestrin")) && !rel.contains(QLatin1Char('.'));
        if (program && (programs == TCopyPrograms::None || rel == QLatin1String("kestrin")))
            continue;
        const QString dest = to + QLatin1Char('/') + rel;
        QDir().mkpath(QFileInfo(dest).absolutePath());
        if (!QFile::copy(src, dest))
            return false;
        QFile(dest).setPermissions(QFile(src).permissions());
    }
    return true;
}
} // namespace TestUtil
