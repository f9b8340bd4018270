#pragma once
// What the benchmarks reading a K1 instrument on kestrin-sim set up alike: the type with its
// descriptions, the instrument on its port, a stop flag and the scripted user of a run.
#include "TestUi.h"
#include "model/LineTap.h"
#include "model/Model.h"

#include <atomic>
#include <memory>

struct TK1Reading {
    TDevProp Type;
    TDev Dev;
    std::atomic<bool> Stop{false};
    std::unique_ptr<TTestUi> Ui;

    TK1Reading(const QString& progDir, const QString& port, uint16_t baud, int timeoutMs) {
        Type.TypeNum = 21;
        Type.Dir = "K1";
        Type.TimeOut = timeoutMs;
        LoadDescriptions(progDir, Type, QString());
        Dev = TDev(Type.ParamCount());
        Dev.COMPort = port;
        Dev.BaudRate = baud;
        Ui = std::make_unique<TTestUi>(progDir, Type, Dev);
    }
    // The run's last message says a read-all ended as it should.
    bool ReadCompleted() const {
        return !Ui->Messages.isEmpty() && Ui->Messages.back() == QStringLiteral("Чтение завершено");
    }
};

// Counts the bytes every parcel of a run puts on the wire, request and answer alike.
class TWireBytes : public ILineTap {
public:
    void Parcel(const TLineEvent& event) override { Bytes += event.Bytes.size(); }
    qsizetype Bytes = 0;
};
