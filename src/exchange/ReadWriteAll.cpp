#include "exchange/ReadWriteAll.h"

#include "common/Numbers.h"
#include "exchange/DevLink.h"
#include "exchange/Encodings.h"
#include "exchange/Exchange.h"
#include <QCoreApplication>

namespace {
QString ProgramTitle() {
    return QCoreApplication::translate("Exchange", "Настройка приборов серии Kestrin K1");
}
QString ErrorCaption() {
    return QCoreApplication::translate("Exchange", "Ошибка");
}
QString UnsupportedVersion() {
    return QCoreApplication::translate("Exchange",
                                       "Данная модификация прибора не поддерживается программой!\r"
                                       "Для работы с прибором необходимо обновить программу.");
}
constexpr int MaxVersionLength = 255;
// No decoded answer can produce this character (Windows-1251 text never maps to it).
const QString NothingDelivered = QString(QChar(0xFFFF));

// Asks for an empty value and names the parameter; true when the set is complete.
bool CheckComplete(TExchangeRun& run) {
    const int k = run.Ui.FirstEmptyValue();
    if (k < 0)
        return true;
    const QString name = k < run.DevType.ParamCount() ? run.DevType.Param(k).Name : QString();
    run.Ui.ShowError(QCoreApplication::translate("Exchange", "Неверно введен параметр \"%1\" .").arg(name),
                     QCoreApplication::translate("Exchange", "Ошибка ввода данных"));
    return false;
}

// Identifies the instrument and offers to load the descriptions of its version. Empty when the run
// goes on, otherwise the status text it ends with.
QString MatchVersion(TExchangeRun& run, const ExchangeHandle& h, const QString& question,
                     const QString& stopped) {
    bool linked = false;
    QString version;
    const int code =
        DevGetVersion(h, run.Dev.Address, run.DevType.TypeNum, MaxVersionLength, linked, version);
    if (code != ExOk || !linked)
        return QCoreApplication::translate("Exchange", "Нет связи с прибором!");
    if (version == run.DevType.Version)
        return QString();
    if (!run.Ui.AskYesNo(question, ProgramTitle()))
        return stopped;
    run.Ui.TableToValues();
    if (!run.Ui.ReloadDescriptions(version)) {
        run.Ui.ShowError(UnsupportedVersion(), ProgramTitle());
        return QCoreApplication::translate("Exchange", "Файл не найден");
    }
    return QString();
}
} // namespace

QString NormalReadValue(const QString& text) {
    if (const auto v = Numbers::ParseFloat(text))
        return Numbers::FormatGeneral(*v);
    return text;
}

QString ExpectedReadBack(const TParam& p, const QString& value) {
    QString location, field, decoded;
    if (EncodeValue(p.VType, p.Address, 0, value, location, field) == ExOk &&
        DecodeValue(p.VType, field, decoded) == ExOk)
        return NormalReadValue(decoded);
    return NormalReadValue(value);
}

TAttemptEnd AttemptWithRetries(const std::atomic<bool>& stop, int retries, IExchangeUi& ui,
                               const QString& question, const std::function<int()>& attempt) {
    int failures = 0;
    for (;;) {
        if (stop)
            return TAttemptEnd::Stopped;
        if (attempt() == ExOk)
            return TAttemptEnd::Succeeded;
        if (failures < std::max(0, retries)) {
            ++failures;
            continue;
        }
        if (!ui.AskYesNo(question, ErrorCaption()))
            return TAttemptEnd::GaveUp;
        failures = 0;
    }
}

int ProgressPercent(int done, int count) {
    if (count <= 0)
        return 0;
    return static_cast<int>(Numbers::RoundHalfEven(100.0 / count * done));
}

void ReadAll(TExchangeRun& run) {
    IExchangeUi& ui = run.Ui;
    ui.ShowMessage(QCoreApplication::translate("Exchange", "Чтение из прибора..."));
    QString status;
    ExchangeHandle h;
    h.Tap = run.Tap;
    int code = OpenDevLink(run.Api, run.Dev, run.DevType, h);
    if (code == ExOk) {
        status = MatchVersion(run, h,
                              QCoreApplication::translate(
                                  "Exchange", "Прибор имеет параметры отличные от представленных в списке!\r"
                                              "Загрузить новый список параметров и продолжить чтение?"),
                              QCoreApplication::translate("Exchange", "Чтение остановлено"));
        if (status.isEmpty()) {
            TLinkRecovery link(run.Dev, run.DevType, h);
            ui.ShowProgress(true);
            const int count = run.DevType.ParamCount();
            for (int i = 0; i < count && status.isEmpty(); ++i) {
                const TParam& p = run.DevType.Param(i);
                // A read that succeeds without a value (bit strings, a "$0" answer) leaves the
                // marker in place: the parameter keeps what the table shows.
                QString value;
                const TLinePurpose purpose(h, p.Name);
                int lastCode = ExOk;
                const TAttemptEnd end = AttemptWithRetries(
                    run.Stop, run.Retries, ui,
                    QCoreApplication::translate("Exchange", "Ошибка чтения данных! Повторить?"), [&] {
                        value = NothingDelivered;
                        return lastCode = link.Attempt(
                                   [&] { return ReadParam(run.Dev, h, p.Address, value, p.VType); });
                    });
                if (end == TAttemptEnd::Stopped) {
                    status = QCoreApplication::translate("Exchange", "Чтение остановлено");
                } else if (end == TAttemptEnd::GaveUp && !(run.SkipFailed && run.SkipFailed(i, lastCode))) {
                    status = QCoreApplication::translate("Exchange", "Ошибка чтения");
                } else {
                    if (end == TAttemptEnd::Succeeded && value != NothingDelivered)
                        ui.StoreValue(i, NormalReadValue(value));
                    else if (end == TAttemptEnd::Succeeded)
                        ui.NotDelivered(i);
                    ui.SetProgress(ProgressPercent(i + 1, count));
                }
            }
            if (status.isEmpty())
                status = QCoreApplication::translate("Exchange", "Чтение завершено");
        }
    } else {
        status = QCoreApplication::translate("Exchange", "Ошибка чтения: %1").arg(code);
        ui.ShowError(QCoreApplication::translate("Exchange", "Чтение остановлено, ошибка: %1").arg(code),
                     ErrorCaption());
    }
    CloseDevLink(h);
    ui.ShowProgress(false);
    ui.ShowMessage(status);
}

void WriteAll(TExchangeRun& run) {
    IExchangeUi& ui = run.Ui;
    ui.TableToValues();
    ui.ShowMessage(QCoreApplication::translate("Exchange", "Проверка параметров..."));
    if (!CheckComplete(run)) {
        ui.ShowMessage(QCoreApplication::translate("Exchange", "Неверные данные"));
        return;
    }
    ui.ShowMessage(QCoreApplication::translate("Exchange", "Запись в прибор..."));
    QString status;
    ExchangeHandle h;
    h.Tap = run.Tap;
    int code = OpenDevLink(run.Api, run.Dev, run.DevType, h);
    const auto errorExit = [&](int c) {
        status = QCoreApplication::translate("Exchange", "Ошибка записи: %1").arg(c);
        ui.ShowError(QCoreApplication::translate("Exchange", "Запись остановлена, ошибка: %1").arg(c),
                     ErrorCaption());
    };
    if (code != ExOk) {
        errorExit(code);
    } else {
        const QString before = run.DevType.Version;
        status = MatchVersion(run, h,
                              QCoreApplication::translate(
                                  "Exchange", "Прибор имеет параметры отличные от представленных в списке!\r"
                                              "Загрузить новый список параметров и продолжить запись?"),
                              QCoreApplication::translate("Exchange", "Запись остановлена"));
        if (status.isEmpty() && run.DevType.Version != before) {
            // The new descriptions may add parameters that have no value yet.
            ui.ShowMessage(QCoreApplication::translate("Exchange", "Проверка параметров..."));
            if (!CheckComplete(run))
                status = QCoreApplication::translate("Exchange", "Неверные данные");
            else
                ui.ShowMessage(QCoreApplication::translate("Exchange", "Запись в прибор..."));
        }
        if (status.isEmpty()) {
            const QStringList values = run.TakeValues ? run.TakeValues() : run.Dev.Values;
            if (run.Report)
                run.Report->Values = values;
            TLinkRecovery link(run.Dev, run.DevType, h);
            ui.ShowProgress(true);
            const int count = run.DevType.ParamCount();
            for (int i = 0; i < count && status.isEmpty(); ++i) {
                const TParam& p = run.DevType.Param(i);
                const QString value = i < values.size() ? values[i] : QString();
                const uint8_t special = p.Name == NetAddressParamName ? 1 : p.Name == SpeedParamName ? 2 : 0;
                const TLinePurpose purpose(h, p.Name);
                int lastCode = ExOk;
                const TAttemptEnd end = AttemptWithRetries(
                    run.Stop, run.Retries, ui,
                    QCoreApplication::translate("Exchange", "Ошибка записи данных! Повторить?"), [&] {
                        if (run.Report)
                            run.Report->Sent = true;
                        return lastCode = link.Attempt([&] {
                            return WriteParam(run.Dev, h, p.Address, special, value, p.VType);
                        });
                    });
                if (end == TAttemptEnd::Stopped) {
                    status = QCoreApplication::translate("Exchange", "Запись остановлена");
                    break;
                }
                if (end == TAttemptEnd::GaveUp && run.Report)
                    run.Report->Failed.emplace_back(i, lastCode);
                if (end == TAttemptEnd::GaveUp && run.SkipFailed && run.SkipFailed(i, lastCode)) {
                    ui.SetProgress(ProgressPercent(i + 1, count));
                    continue;
                }
                if (end == TAttemptEnd::GaveUp) {
                    status = QCoreApplication::translate("Exchange", "Ошибка записи");
                    break;
                }
                if (run.Written)
                    run.Written(i);
                if (run.Report)
                    run.Report->Written.push_back(i);
                // The instrument takes a new address or speed after its answer: follow it at once.
                if (special == 1) {
                    if (const auto a = Numbers::ParseInt(value))
                        ui.SetDevAddress(static_cast<uint8_t>(*a));
                } else if (special == 2) {
                    if (const auto sp = Numbers::ParseInt(value)) {
                        const auto index = static_cast<uint16_t>(*sp);
                        if (index < run.SpeedList.size())
                            ui.SetDevBaudRate(static_cast<uint16_t>(run.SpeedList[index].toInt()));
                    }
                    const int c = run.Api.SetBaudRate(h.Handle, run.Dev.BaudRate);
                    if (c != ExOk) {
                        errorExit(c);
                        break;
                    }
                }
                ui.SetProgress(ProgressPercent(i + 1, count));
            }
            if (status.isEmpty())
                status = QCoreApplication::translate("Exchange", "Запись завершена");
        }
    }
    CloseDevLink(h);
    ui.ShowProgress(false);
    ui.ShowMessage(status);
}
