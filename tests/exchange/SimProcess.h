#pragma once
// A kestrin-sim process serving simulated instruments on a new pseudo-terminal, for the tests and
// benchmarks that run the exchange through the real library.
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TSimProcess {
public:
    // Starts the simulator from the program directory with the given options and waits for the
    // pseudo-terminal's path; with trace, every received request is written to a file.
    TSimProcess(const QString& progDir, const QStringList& options, bool trace = true) {
        Process.setProgram(progDir + QStringLiteral("kestrin-sim"));
        QStringList arguments{QStringLiteral("--progdir"), progDir};
        if (trace)
            arguments.append(QStringLiteral("--trace"));
        Process.setArguments(arguments + options);
        Process.setStandardErrorFile(TraceDir.filePath(QStringLiteral("trace.txt")));
        Process.start();
        if (!Process.waitForStarted(5000))
            return;
        while (!Process.canReadLine() && Process.waitForReadyRead(5000)) {
        }
        const QString line = QString::fromUtf8(Process.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("PTY ")))
            Pty = line.mid(4);
    }
    ~TSimProcess() {
        if (Process.state() != QProcess::NotRunning) {
            Process.terminate();
            if (!Process.waitForFinished(5000))
                Process.kill();
            Process.waitForFinished(5000);
        }
    }
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;

    // Slave path of the pseudo-terminal; empty when the simulator did not come up.
    const QString& PtyPath() const { return Pty; }

    // Request frames the simulator received so far (":" through the check word), oldest first.
    QStringList Trace() const {
        QFile file(TraceDir.filePath(QStringLiteral("trace.txt")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    void Kill() {
        Process.kill();
        Process.waitForFinished(5000);
    }

private:
    QTemporaryDir TraceDir;
    QProcess Process;
    QString Pty;
};
