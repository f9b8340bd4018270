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

// The locale of a run: Russian unless a test sets other variables ("LANG=en_US.UTF-8").
inline QProcessEnvironment CliEnvironment(const QStringList& env = {}) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        e.remove(QString::fromLatin1(name));
    e.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
    for (const QString& v : env)
        e.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
    return e;
}

inline TCliResult RunCliProgram(const QStringList& args, int timeoutMs = 60000,
                                const QString& program = CliProgram(), const QStringList& env = {}) {
    QProcess p;
    p.setProcessEnvironment(CliEnvironment(env));
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
