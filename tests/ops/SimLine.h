#pragma once
// The simulator engine serving on a pseudo-terminal from a thread of the test process, with the
// real exchange library loaded, so tests can look into the instruments' memory.
#include "exchange/KvLibrary.h"
#include "sim/SimServer.h"

#include <QString>
#include <memory>
#include <thread>

class TSimLine {
public:
    explicit TSimLine(Sim::TConfig config) : Server(std::make_unique<Sim::TServer>(std::move(config))) {
        QString error;
        if (!Server->OpenPty(&error))
            return;
        Thread = std::thread([this] { Server->Run(); });
        if (!Library.Load(QStringLiteral(KESTRIN_PROGDIR)))
            qWarning("library: %s", qPrintable(Library.ErrorText()));
    }
    ~TSimLine() { Stop(); }
    TSimLine(const TSimLine&) = delete;
    TSimLine& operator=(const TSimLine&) = delete;

    // Ends the simulator: its line goes away as if the instrument were unplugged.
    void Stop() {
        if (Thread.joinable()) {
            Server->Stop();
            Thread.join();
            Server.reset();
        }
    }
    bool Ok() const { return Server && !Server->SlavePath().isEmpty() && Library.IsLoaded(); }
    QString Port() const { return Server ? Server->SlavePath() : QString(); }
    const TKvApi& Api() const { return Library.Table(); }
    template <class F> auto WithBus(F&& f) { return Server->WithBus(std::forward<F>(f)); }

    static Sim::TConfig Config(std::vector<Sim::TDeviceSpec> devices) {
        Sim::TConfig c;
        c.ProgDir = QStringLiteral(KESTRIN_PROGDIR);
        c.Devices = std::move(devices);
        return c;
    }

private:
    std::unique_ptr<Sim::TServer> Server;
    std::thread Thread;
    TKvLibrary Library;
};
