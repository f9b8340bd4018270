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
// Copies the data set laid out by the build (devices.ini, kestrin.ini, descriptions, help).
inline void CopyProgramDir(const QString& to) {
    const QString from = QStringLiteral(KESTRIN_PROGDIR);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(from).relativeFilePath(src);
        if (rel.startsWith(QLatin1String("kestrin")) && !rel.endsWith(QLatin1String(".ini")))
            continue; // not the program or the simulator
        QDir().mkpath(QFileInfo(to + "/" + rel).absolutePath());
        QFile::copy(src, to + "/" + rel);
    }
}
} // namespace TestUtil
