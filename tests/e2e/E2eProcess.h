#pragma once
// What every end-to-end test needs: an X server of its own and a copy of the program directory.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace E2e {
// An X server on a free display: Xvfb writes the display number to the given descriptor once it
// accepts connections.
class TXServer {
public:
    bool Start() {
        Server.setProgram(QStringLiteral("Xvfb"));
        Server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp")});
        Server.setProcessChannelMode(QProcess::SeparateChannels);
        Server.start();
        if (!Server.waitForStarted(30000))
            return false;
        QByteArray out;
        while (!out.contains('\n') && Server.state() == QProcess::Running && Server.waitForReadyRead(60000))
            out += Server.readAllStandardOutput();
        bool ok = false;
        const int number = out.trimmed().toInt(&ok);
        if (!ok)
            return false;
        Display = QStringLiteral(":%1").arg(number);
        return true;
    }
    ~TXServer() {
        if (Server.state() != QProcess::NotRunning) {
            Server.terminate();
            if (!Server.waitForFinished(10000))
                Server.kill();
            Server.waitForFinished(10000);
        }
    }
    QString Display;

private:
    QProcess Server;
};

// The program directory the build laid out, copied so that the program's own files (settings,
// projects) are written into the copy.
inline void CopyProgramDir(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
    }
}
// Starts the program from its copied directory on the display, with the scenario library preloaded
// and the given variables set.
inline void StartProgram(QProcess& kestrin, const QString& display, const QString& dir,
                         const QStringList& variables = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KESTRIN_E2E_DRIVER));
    env.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
    // Russian whatever the machine's locale, unless the variables choose otherwise.
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("ru"));
    for (const QString& v : variables)
        env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
    kestrin.setProcessEnvironment(env);
    kestrin.setWorkingDirectory(dir);
    kestrin.setProcessChannelMode(QProcess::MergedChannels);
    kestrin.start(dir + QStringLiteral("/kestrin"), {});
}
} // namespace E2e
