#include "exchange/Measure.h"

#include "common/Numbers.h"
#include "exchange/DevLink.h"
#include "exchange/Exchange.h"
#include "exchange/ReadWriteAll.h"

#include <QCoreApplication>
#include <cmath>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
constexpr int ChannelValueCode = 5;

// Sleeps in short slices so that a stop request does not have to wait for the whole period.
void PauseUnlessStopped(TMeasureRun& run, std::chrono::milliseconds total) {
    const auto slice = std::chrono::milliseconds(50);
    while (total.count() > 0 && !run.Stop) {
        const auto step = std::min(total, slice);
        if (run.Sleep)
            run.Sleep(step);
        else
            std::this_thread::sleep_for(step);
        total -= step;
    }
}
} // namespace

void MeasureLoop(TMeasureRun& run) {
    IExchangeUi& ui = run.Ui;
    ui.ShowMessage(QCoreApplication::translate("Exchange", "Чтение из прибора..."));
    QString status;
    ExchangeHandle h;
    h.Tap = run.Tap;
    const int code = OpenDevLink(run.Api, run.Dev, run.DevType, h);
    if (code != ExOk) {
        status = QCoreApplication::translate("Exchange", "Ошибка чтения: %1").arg(code);
        ui.ShowError(QCoreApplication::translate("Exchange", "Измерение остановлено, ошибка: %1").arg(code),
                     QCoreApplication::translate("Exchange", "Ошибка"));
    } else {
        ui.ShowExchangeStatus(QCoreApplication::translate("Exchange", "идет обмен"));
        bool linked = false;
        const int c = DevCheck(h, run.Dev.Address, run.DevType.TypeNum, linked);
        const int channels = run.DevType.Channels;
        if (c != ExOk || !linked) {
            status = QCoreApplication::translate("Exchange", "Нет связи с прибором!");
        } else if (channels == 0) {
            // A type without channels has nothing to poll (and no cycle to take a modulo of).
            status = QCoreApplication::translate("Exchange", "Нет каналов для измерения");
        } else {
            std::vector<Clock::time_point> lastRead(static_cast<size_t>(channels) + 1);
            std::vector<bool> everRead(static_cast<size_t>(channels) + 1, false);
            TLinkRecovery link(run.Dev, run.DevType, h);
            ui.ClearSeries();
            ui.SwitchAutoScaleOn();
            const Clock::time_point start = run.Now();
            const auto tmin = std::chrono::duration<double>(run.DevType.Tmin);
            int k = 1;
            bool anySelected = true; // nothing to judge before the first turn
            while (!run.Stop && status.isEmpty()) {
                if (k == 1) {
                    // A whole turn without a selected channel: rest a moment instead of spinning
                    // both threads at full speed until a channel is selected again.
                    if (!anySelected)
                        PauseUnlessStopped(run, std::chrono::milliseconds(20));
                    anySelected = false;
                }
                if (ui.ChannelSelected(k)) {
                    anySelected = true;
                    const auto idx = static_cast<size_t>(k);
                    if (everRead[idx]) {
                        const auto wait = tmin - (run.Now() - lastRead[idx]);
                        const auto ms = std::chrono::milliseconds(
                            std::llround(std::chrono::duration<double, std::milli>(wait).count()));
                        if (ms.count() > 0)
                            PauseUnlessStopped(run, ms);
                    }
                    // Each reading starts from nothing, so a "$0" answer can never show or plot the
                    // previous channel's value.
                    QString value;
                    int failed = 0;
                    const TAttemptEnd end = AttemptWithRetries(
                        run.Stop, run.Retries, ui,
                        QCoreApplication::translate("Exchange", "Ошибка чтения данных! Повторить?"), [&] {
                            value.clear();
                            const int result = link.Attempt([&] {
                                return ReadParam(run.Dev, h, static_cast<uint16_t>(k), value,
                                                 ChannelValueCode);
                            });
                            // The retries are used up and the question comes next: a gap, whatever
                            // the answer.
                            if (result != ExOk && ++failed > std::max(0, run.Retries)) {
                                failed = 0;
                                ui.ReadingFailed(k);
                            }
                            return result;
                        });
                    if (end == TAttemptEnd::Stopped) {
                        status = QCoreApplication::translate("Exchange", "Измерение остановлено");
                    } else if (end == TAttemptEnd::GaveUp) {
                        status = QCoreApplication::translate("Exchange", "Ошибка чтения");
                    } else {
                        lastRead[idx] = run.Now();
                        everRead[idx] = true;
                        if (!value.isEmpty())
                            ui.ShowValue(k, value);
                        // A value that is not a number is shown as received and not plotted.
                        if (const auto v = Numbers::ParseFloat(value)) {
                            const double minutes =
                                std::chrono::duration<double, std::ratio<60>>(lastRead[idx] - start).count();
                            ui.AddPoint(k, minutes, *v);
                        }
                    }
                }
                k = k % channels + 1;
            }
            if (status.isEmpty())
                status = QCoreApplication::translate("Exchange", "Измерение остановлено");
        }
    }
    CloseDevLink(h);
    ui.ShowMessage(status);
    ui.ShowExchangeStatus(QCoreApplication::translate("Exchange", "нет обмена"));
}
