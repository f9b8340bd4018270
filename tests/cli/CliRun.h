#pragma once
// kestrin-cli from the program directory as a child process, with its output and exit status.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

struct TCliResult {
    int Exit = -1;
    QString Out;
    QString Err;
};

inline QString CliProgram() {
    return QStringLiteral(KESTRIN_PROGDIR) + QStringLiteral("kestrin-cli");
}

inline TCliResult RunCliProgram(const QStringList& args, int timeoutMs = 60000,
                                const QString& program = CliProgram()) {
    QProcess p;
    p.start(program, args);
    TCliResult r;
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.Out = QString::fromUtf8(p.readAllStandardOutput());
    r.Err = QString::fromUtf8(p.readAllStandardError());
    r.Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}
