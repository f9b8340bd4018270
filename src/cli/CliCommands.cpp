#include "cli/CliCommands.h"

#include "app/ProgDir.h"
#include "app/Settings.h"
#include "cli/CliArgs.h"
#include "cli/CliFiles.h"
#include "cli/CliUi.h"
#include "common/FileSave.h"
#include "common/Numbers.h"
#include "exchange/Calib.h"
#include "exchange/DevLink.h"
#include "exchange/Encodings.h"
#include "exchange/Exchange.h"
#include "exchange/KvLibrary.h"
#include "exchange/LineTap.h"
#include "exchange/Measure.h"
#include "exchange/PortList.h"
#include "exchange/ReadWriteAll.h"
#include "formats/ParamSetFile.h"
#include "model/AppState.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {
const QString ReadDone = QStringLiteral("Чтение завершено");
const QString WriteDone = QStringLiteral("Запись завершена");

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fflush(to);
}

// Library codes (no answer, line lost, port trouble) mean the instrument is gone; the program's
// own codes mean it answered and refused one parameter.
bool InstrumentAnswered(int code) {
    return code > -100;
}

// --trace FILE: one line per parcel sent or received, with its time to the millisecond, written at
// once so that an interrupted run keeps every line.
class TTraceFile : public ILineTap {
public:
    bool Open(const QString& path) {
        File.setFileName(path);
        return File.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    }
    QString ErrorText() const { return File.errorString(); }
    bool Enabled() const override { return File.isOpen(); }
    void Parcel(const TLineEvent& event) override {
        File.write((FormatLineEvent(event) + QLatin1Char('\n')).toUtf8());
        File.flush();
    }

private:
    QFile File;
};

struct TFailure {
    int Index;
    int Code;
};

class TCli {
public:
    TCli(TCliOptions options, QString progDir, const std::atomic<bool>& stop)
        : O(std::move(options)), Stop(stop), Ui(progDir, isatty(STDERR_FILENO) == 1 && !O.Json) {
        State.ProgDir = std::move(progDir);
    }

    int Run() {
        if (const int rc = Setup(); rc != CliOk)
            return rc;
        if (O.Command == QLatin1String("ports"))
            return Ports();
        if (O.Command == QLatin1String("scan"))
            return Scan();
        if (O.Command == QLatin1String("read"))
            return Read();
        if (O.Command == QLatin1String("write"))
            return Write();
        if (O.Command == QLatin1String("diff"))
            return Diff();
        if (O.Command == QLatin1String("measure"))
            return Measure();
        return Calibrate();
    }

private:
    TCliOptions O;
    const std::atomic<bool>& Stop;
    TCliUi Ui;
    TAppState State;
    TKvLibrary Library;
    QJsonArray Devices; // one entry per address, for --json
    TTraceFile Trace;
    ILineTap* Tap() { return Trace.Enabled() ? &Trace : nullptr; }
    int Exit = CliOk;

    void Fail(int status) { Exit = std::max(Exit, status); }
    void Err(const QString& text) {
        Ui.ClearBar();
        Print(stderr, QStringLiteral("kestrin-cli: ") + text + QLatin1Char('\n'));
    }
    // Human-readable report; on standard error when standard output carries data (JSON or CSV).
    void Out(const QString& text) {
        if (O.Json)
            return;
        const bool dataOnStdout = O.Out == QLatin1String("-") || O.Csv == QLatin1String("-");
        if (dataOnStdout)
            Ui.ClearBar();
        Print(dataOnStdout ? stderr : stdout, text + QLatin1Char('\n'));
    }
    const TKvApi& Api() const { return Library.Table(); }
    TDevProp& Type() { return State.CurDevType(); }
    TDev& Dev() { return State.CurDev(); }

    int Setup() {
        QString missing;
        if (!StartupFiles::CheckRequiredFiles(State.ProgDir, &missing)) {
            Err(QStringLiteral("не найден файл %1 в каталоге программы %2").arg(missing, State.ProgDir));
            return CliFileError;
        }
        if (!Library.Load(State.ProgDir)) {
            Err(QStringLiteral("библиотека обмена: ") + Library.ErrorText());
            return CliFileError;
        }
        if (!O.Trace.isEmpty()) {
            if (!Trace.Open(O.Trace)) {
                Err(QStringLiteral("Не удалось создать файл \"%1\": %2").arg(O.Trace, Trace.ErrorText()));
                return CliFileError;
            }
            State.LineTap.Attach(&Trace); // calibration takes the state's taps
        }
        // The settings the program uses: the user's own when the program directory is read-only.
        State.Settings = SettingsFile::Read(SettingsFile::Location(State.ProgDir));
        State.SpeedList = SpeedList();
        // The library's port search walks every tty of the system: only when the name needs it.
        const bool path = O.Port.startsWith(QLatin1Char('/')) && QFileInfo::exists(O.Port);
        if (!path) {
            QStringList speeds;
            LoadPortList(Api(), State.PortList, speeds);
        }
        if (O.Command == QLatin1String("ports"))
            return CliOk;
        State.LoadCatalogue();
        if (State.DevTypes.empty()) {
            Err(QStringLiteral("каталог devices.ini пуст"));
            return CliFileError;
        }
        if (!O.Type.isEmpty()) {
            bool found = false;
            for (size_t i = 0; i < State.DevTypes.size() && !found; ++i)
                if (State.DevTypes[i]->Name.compare(O.Type, Qt::CaseInsensitive) == 0) {
                    State.CurType = static_cast<uint8_t>(i);
                    found = true;
                }
            if (!found) {
                Err(QStringLiteral("тип \"%1\" не найден в каталоге").arg(O.Type));
                return CliUsage;
            }
        }
        if (O.TimeoutMs > 0)
            for (auto& t : State.DevTypes)
                t->TimeOut = O.TimeoutMs;
        if (!path && !State.PortList.contains(O.Port)) {
            Err(QStringLiteral("неизвестный порт \"%1\"; доступные порты: %2")
                    .arg(O.Port, State.PortList.isEmpty() ? QStringLiteral("нет")
                                                          : State.PortList.join(QStringLiteral(", "))));
            return CliUsage;
        }
        if (O.Command == QLatin1String("read") && !O.Out.isEmpty() && O.Out != QLatin1String("-")) {
            const QString suffix = QFileInfo(O.Out).suffix().toLower();
            if (suffix != QLatin1String("json") && suffix != Type().DevExt.toLower()) {
                Err(QStringLiteral("--out: нужен файл .%1, .json или -").arg(Type().DevExt));
                return CliUsage;
            }
            // Found out before any exchange rather than after a long read.
            const TFileResult probe =
                ProbeWritable(PerAddressName(O.Out, O.Addresses.value(0), O.Addresses.size() > 1));
            if (!probe.Ok) {
                Err(probe.Error);
                return CliFileError;
            }
        }
        return CliOk;
    }

    // Device record of the run for one address, with the type's empty values.
    void PrepareDev(TDev& dev, int address) {
        dev.Address = static_cast<uint8_t>(address);
        dev.BaudRate = static_cast<uint16_t>(O.Speed.toInt());
        dev.COMPort = O.Port;
        dev.Values = QStringList(Type().ParamCount());
    }

    TExchangeRun MakeRun(TDev& dev, int retries, std::vector<TFailure>& failures) {
        TExchangeRun run{.Api = Api(),
                         .DevType = Type(),
                         .Dev = dev,
                         .Ui = Ui,
                         .Stop = Stop,
                         .Retries = retries,
                         .SpeedList = State.SpeedList};
        run.Tap = Tap();
        run.SkipFailed = [&failures](int index, int code) {
            failures.push_back({index, code});
            return InstrumentAnswered(code);
        };
        return run;
    }

    QString Label(int address) const { return QStringLiteral("адрес %1").arg(address); }

    void ReportFailures(const std::vector<TFailure>& failures, QJsonObject& json) {
        QJsonArray arr;
        for (const TFailure& f : failures) {
            const QString name = f.Index < Type().ParamCount() ? Type().Param(f.Index).Name : QString();
            Out(QStringLiteral("  не выполнено: \"%1\", ошибка %2").arg(name).arg(f.Code));
            arr.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("code"), f.Code}});
        }
        if (!arr.isEmpty())
            json.insert(QStringLiteral("failed"), arr);
    }

    // Runs `one` for each address of the list, in order, and counts those it reports done. After
    // Ctrl+C the rest are reported skipped: a stop comes between instruments, never inside one.
    template <class TOne> int EachAddress(const TOne& one) {
        int done = 0;
        for (const int address : O.Addresses) {
            if (Stop)
                Skipped(address);
            else if (one(address))
                ++done;
        }
        return done;
    }

    // Ends a command: the summary, the JSON document, the exit status.
    int Finish(int done, int total, QJsonObject extra = {}) {
        Ui.ClearBar();
        if (Stop)
            Out(QStringLiteral("Остановлено (Ctrl+C)."));
        Out(QStringLiteral("Итого: выполнено %1 из %2.").arg(done).arg(total));
        if (Stop)
            Fail(CliExchangeFailed);
        if (O.Json) {
            QJsonObject doc{{QStringLiteral("command"), O.Command},
                            {QStringLiteral("port"), O.Port},
                            {QStringLiteral("speed"), O.Speed.toInt()},
                            {QStringLiteral("devices"), Devices},
                            {QStringLiteral("summary"), QJsonObject{{QStringLiteral("done"), done},
                                                                    {QStringLiteral("total"), total},
                                                                    {QStringLiteral("stopped"), Stop.load()},
                                                                    {QStringLiteral("exit"), Exit}}}};
            for (auto it = extra.begin(); it != extra.end(); ++it)
                doc.insert(it.key(), it.value());
            Print(stdout, QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented)));
        }
        return Exit;
    }

    // An address the run did not get to.
    void Skipped(int address) {
        Out(QStringLiteral("Адрес %1: не выполнено (остановлено)").arg(address));
        Devices.append(QJsonObject{{QStringLiteral("address"), address},
                                   {QStringLiteral("status"), QStringLiteral("stopped")}});
    }

    int Ports() {
        QJsonArray ports;
        for (const QString& p : State.PortList) {
            Out(p);
            ports.append(p);
        }
        if (O.Json)
            Print(stdout, QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("command"), O.Command},
                                                                      {QStringLiteral("ports"), ports}})
                                                .toJson(QJsonDocument::Indented)));
        return CliOk;
    }

    int Scan() {
        const QStringList speeds =
            O.Speed.isEmpty() || O.Speed == QLatin1String("all") ? State.SpeedList : QStringList{O.Speed};
        // The search of the connection dialog, once per type number the catalogue knows.
        std::vector<const TDevProp*> kinds;
        for (const auto& t : State.DevTypes)
            if (std::none_of(kinds.begin(), kinds.end(),
                             [&](const TDevProp* k) { return k->TypeNum == t->TypeNum; }))
                kinds.push_back(t.get());
        const int32_t timeOut = State.DevTypes.front()->TimeOut;
        QJsonArray found;
        int count = 0;
        for (const QString& speed : speeds) {
            if (Stop)
                break;
            ExchangeHandle h;
            h.Tap = Tap();
            const TDevLinkCloser closer(h);
            int rc = OpenLink(Api(), O.Port, static_cast<uint16_t>(speed.toInt()), timeOut, h);
            for (size_t k = 0; k < kinds.size() && rc == ExOk && !Stop; ++k) {
                QStringList addresses;
                rc = DevSearch(h, kinds[k]->TypeNum, addresses);
                for (const QString& a : addresses) {
                    bool linked = false;
                    QString version;
                    DevGetVersion(h, static_cast<uint8_t>(a.toInt()), kinds[k]->TypeNum, 255, linked,
                                  version);
                    Out(QStringLiteral("адрес %1, скорость %2, номер типа %3, \"%4\", версия \"%5\"")
                            .arg(a, speed)
                            .arg(kinds[k]->TypeNum)
                            .arg(kinds[k]->Name, version));
                    found.append(QJsonObject{{QStringLiteral("address"), a.toInt()},
                                             {QStringLiteral("speed"), speed.toInt()},
                                             {QStringLiteral("typeNum"), kinds[k]->TypeNum},
                                             {QStringLiteral("type"), kinds[k]->Name},
                                             {QStringLiteral("version"), version}});
                    ++count;
                }
            }
            if (rc != ExOk) {
                Err(QStringLiteral("скорость %1: Поиск прерван, ошибка: %2").arg(speed).arg(rc));
                Fail(CliExchangeFailed);
            }
        }
        Out(QStringLiteral("Поиск приборов завершен! Найдено: %1.").arg(count));
        if (Stop)
            Fail(CliExchangeFailed);
        if (O.Json)
            Print(stdout,
                  QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("command"), O.Command},
                                                              {QStringLiteral("port"), O.Port},
                                                              {QStringLiteral("found"), found},
                                                              {QStringLiteral("stopped"), Stop.load()},
                                                              {QStringLiteral("exit"), Exit}})
                                        .toJson(QJsonDocument::Indented)));
        return Exit;
    }

    // Read-all of one address into dev; the outcome's status text and JSON entry.
    struct TReadOutcome {
        bool Complete = false; // every parameter read (or not readable by its kind)
        QJsonObject Json;
    };
    TReadOutcome ReadOne(TDev& dev, int address, std::vector<TFailure>& failures) {
        PrepareDev(dev, address);
        Ui.Begin(Type(), dev, Label(address));
        TExchangeRun run = MakeRun(dev, State.Settings.ReRead, failures);
        ReadAll(run);
        TReadOutcome r;
        r.Complete = Ui.LastStatus == ReadDone && failures.empty();
        r.Json = DeviceJson(Type(), dev, Ui.Delivered);
        r.Json.insert(QStringLiteral("message"), Ui.LastStatus);
        return r;
    }

    int Read() {
        const bool several = O.Addresses.size() > 1;
        QJsonArray fileDevices;
        const int done = EachAddress([&](int address) {
            std::vector<TFailure> failures;
            TReadOutcome r = ReadOne(Dev(), address, failures);
            Ui.ClearBar();
            Out(QStringLiteral("Адрес %1: %2 (\"%3\", версия \"%4\")")
                    .arg(address)
                    .arg(Ui.LastStatus, Type().Name, Type().Version));
            ReportFailures(failures, r.Json);
            r.Json.insert(QStringLiteral("status"),
                          r.Complete ? QStringLiteral("ok") : QStringLiteral("error"));
            if (!r.Complete)
                Fail(CliExchangeFailed);
            bool ok = r.Complete;
            if (!O.Out.isEmpty() && QFileInfo(O.Out).suffix().toLower() == Type().DevExt.toLower()) {
                const QString name = PerAddressName(O.Out, address, several);
                if (!r.Complete) {
                    Out(QStringLiteral("  файл %1 не записан: чтение не завершено").arg(name));
                } else if (const TFileResult w = SaveFileBytes(name, ParamSetBytes(Type(), Dev().Values));
                           !w.Ok) {
                    Err(w.Error);
                    Fail(CliFileError);
                    ok = false;
                } else {
                    Out(QStringLiteral("  записан файл %1").arg(name));
                    r.Json.insert(QStringLiteral("file"), name);
                }
            }
            fileDevices.append(r.Json);
            Devices.append(r.Json);
            return ok;
        });
        if (!O.Out.isEmpty() &&
            (O.Out == QLatin1String("-") || QFileInfo(O.Out).suffix().toLower() == QLatin1String("json"))) {
            const QByteArray doc = QJsonDocument(QJsonObject{{QStringLiteral("command"), O.Command},
                                                             {QStringLiteral("port"), O.Port},
                                                             {QStringLiteral("speed"), O.Speed.toInt()},
                                                             {QStringLiteral("devices"), fileDevices}})
                                       .toJson(QJsonDocument::Indented);
            if (O.Out == QLatin1String("-")) {
                if (!O.Json) // --json prints the same devices in its own document
                    Print(stdout, QString::fromUtf8(doc));
            } else if (const TFileResult w = SaveFileBytes(O.Out, doc); !w.Ok) {
                Err(w.Error);
                Fail(CliFileError);
            } else {
                Out(QStringLiteral("Записан файл %1").arg(O.Out));
            }
        }
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    // The file's values, checked; exits with its status when refused.
    std::optional<TValueSet> LoadInput(bool checkValues) {
        TValueSet set;
        const TValueSetLoad load = LoadValueSet(State.ProgDir, Type(), O.In, checkValues, set);
        if (load.Exit != CliOk) {
            Err(QStringLiteral("файл %1 не принят:").arg(O.In));
            for (const QString& p : load.Problems)
                Print(stderr, QStringLiteral("  ") + p + QLatin1Char('\n'));
            if (O.Json)
                Print(stdout,
                      QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("command"), O.Command},
                                                                  {QStringLiteral("refused"),
                                                                   QJsonArray::fromStringList(load.Problems)},
                                                                  {QStringLiteral("exit"), load.Exit}})
                                            .toJson(QJsonDocument::Indented)));
            Exit = load.Exit;
            return std::nullopt;
        }
        return set;
    }

    // Before each address the descriptions the file fits, since an earlier address may have
    // left another version loaded.
    void UseSetVersion(const TValueSet& set) {
        if (Type().Version != set.Versions.first())
            LoadDescriptions(State.ProgDir, Type(), set.Versions.first());
        Ui.AcceptedVersions = set.Versions;
    }

    // The values written to one address. One set written to several instruments would give them
    // all the file's network address: each keeps its own instead.
    QStringList ValuesFor(const TValueSet& set, int address) {
        QStringList values = set.Values;
        if (O.Addresses.size() > 1)
            for (int i = 0; i < Type().ParamCount() && i < values.size(); ++i)
                if (Type().Param(i).Name == NetAddressParamName)
                    values[i] = QString::number(address);
        return values;
    }

    void DryRun(const TValueSet& set, int address) {
        const QStringList values = ValuesFor(set, address);
        Out(QStringLiteral("Адрес %1: было бы отправлено (ничего не отправлено):").arg(address));
        QJsonArray requests;
        uint8_t to = static_cast<uint8_t>(address);
        for (int i = 0; i < Type().ParamCount(); ++i) {
            const TParam& p = Type().Param(i);
            const uint8_t special = p.Name == NetAddressParamName ? 1 : p.Name == SpeedParamName ? 2 : 0;
            QString location, field;
            const int rc = EncodeValue(p.VType, p.Address, special, values[i], location, field);
            const QString request = rc == ExOk ? WriteRequest(to, location, field) : QString();
            Out(QStringLiteral("  %1 = %2  %3")
                    .arg(p.Name, DisplayValue(p, values[i]),
                         rc == ExOk ? request : QStringLiteral("(не кодируется)")));
            requests.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                        {QStringLiteral("value"), values[i]},
                                        {QStringLiteral("request"), request}});
            // Write-all sends the following requests to the new address.
            if (special == 1 && rc == ExOk)
                if (const auto a = Numbers::ParseInt(values[i]))
                    to = static_cast<uint8_t>(*a);
        }
        Devices.append(QJsonObject{{QStringLiteral("address"), address},
                                   {QStringLiteral("status"), QStringLiteral("dry-run")},
                                   {QStringLiteral("requests"), requests}});
    }

    int Write() {
        const auto set = LoadInput(true);
        if (!set)
            return Exit;
        const int done = EachAddress([&](int address) {
            UseSetVersion(*set);
            if (O.DryRun) {
                DryRun(*set, address);
                return true;
            }
            TDev& dev = Dev();
            PrepareDev(dev, address);
            dev.Values = ValuesFor(*set, address);
            Ui.Begin(Type(), dev, Label(address));
            std::vector<TFailure> failures;
            TExchangeRun run = MakeRun(dev, State.Settings.ReWrite, failures);
            WriteAll(run);
            Ui.ClearBar();
            QJsonObject json{{QStringLiteral("address"), address},
                             {QStringLiteral("message"), Ui.LastStatus}};
            QString status = Ui.LastStatus;
            if (Ui.VersionRefused)
                status = QStringLiteral(
                             "версия прибора \"%1\" не подходит к файлу (версия \"%2\"), ничего не записано")
                             .arg(Ui.RefusedVersion, set->Versions.join(QStringLiteral("\", \"")));
            Out(QStringLiteral("Адрес %1: %2").arg(address).arg(status));
            ReportFailures(failures, json);
            bool ok = Ui.LastStatus == WriteDone && failures.empty();
            if (Ui.VersionRefused)
                Fail(CliRefused);
            else if (!failures.empty() &&
                     std::all_of(failures.begin(), failures.end(),
                                 [](const TFailure& f) { return InstrumentAnswered(f.Code); }))
                Fail(CliRefused); // the instrument refused values
            else if (!ok)
                Fail(CliExchangeFailed);
            if (Ui.LastStatus == WriteDone && O.Verify && !Stop)
                ok = Verify(dev, json) && ok;
            json.insert(QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error"));
            Devices.append(json);
            return ok;
        });
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    // Reads back what was written to dev (at its address and speed after the write).
    bool Verify(const TDev& written, QJsonObject& json) {
        TDev back;
        back.Address = written.Address;
        back.BaudRate = written.BaudRate;
        back.COMPort = written.COMPort;
        back.Values = QStringList(Type().ParamCount());
        Ui.Begin(Type(), back, Label(back.Address) + QStringLiteral(" проверка"));
        std::vector<TFailure> failures;
        TExchangeRun run = MakeRun(back, State.Settings.ReRead, failures);
        ReadAll(run);
        Ui.ClearBar();
        QJsonArray mismatches;
        int checked = 0;
        for (int i = 0; i < Type().ParamCount(); ++i) {
            if (!Ui.Delivered[static_cast<size_t>(i)])
                continue;
            ++checked;
            const TParam& p = Type().Param(i);
            const QString expected = ExpectedReadBack(p, written.Values[i]);
            if (back.Values[i] != expected) {
                Out(QStringLiteral("  расхождение: \"%1\": записано %2, прочитано %3")
                        .arg(p.Name, DisplayValue(p, expected), DisplayValue(p, back.Values[i])));
                mismatches.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                              {QStringLiteral("written"), expected},
                                              {QStringLiteral("read"), back.Values[i]}});
            }
        }
        const bool readOk = Ui.LastStatus == ReadDone && failures.empty();
        Out(QStringLiteral("  проверка: %1, сверено параметров: %2, расхождений: %3")
                .arg(Ui.LastStatus)
                .arg(checked)
                .arg(mismatches.size()));
        QJsonObject v{{QStringLiteral("message"), Ui.LastStatus},
                      {QStringLiteral("checked"), checked},
                      {QStringLiteral("mismatches"), mismatches}};
        ReportFailures(failures, v);
        json.insert(QStringLiteral("verify"), v);
        if (!mismatches.isEmpty())
            Fail(CliRefused);
        if (!readOk)
            Fail(CliExchangeFailed);
        return readOk && mismatches.isEmpty();
    }

    int Diff() {
        const auto set = LoadInput(false);
        if (!set)
            return Exit;
        const int done = EachAddress([&](int address) {
            UseSetVersion(*set);
            std::vector<TFailure> failures;
            TReadOutcome r = ReadOne(Dev(), address, failures);
            Ui.ClearBar();
            if (Ui.VersionRefused) {
                Out(QStringLiteral("Адрес %1: версия прибора \"%2\" не подходит к файлу")
                        .arg(address)
                        .arg(Ui.RefusedVersion));
                Fail(CliRefused);
                Devices.append(QJsonObject{{QStringLiteral("address"), address},
                                           {QStringLiteral("status"), QStringLiteral("error")},
                                           {QStringLiteral("message"), QStringLiteral("другая версия")}});
                return false;
            }
            Out(QStringLiteral("Адрес %1: %2").arg(address).arg(Ui.LastStatus));
            QJsonArray diffs;
            for (int i = 0; i < Type().ParamCount(); ++i) {
                const TParam& p = Type().Param(i);
                if (!Ui.Delivered[static_cast<size_t>(i)])
                    continue;
                const QString expected = ExpectedReadBack(p, set->Values[i]);
                const QString actual = Dev().Values[i];
                if (expected != actual) {
                    Out(QStringLiteral("  \"%1\": файл %2, прибор %3")
                            .arg(p.Name, DisplayValue(p, set->Values[i]), DisplayValue(p, actual)));
                    diffs.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                             {QStringLiteral("file"), set->Values[i]},
                                             {QStringLiteral("device"), actual}});
                }
            }
            ReportFailures(failures, r.Json);
            Out(QStringLiteral("  различий: %1").arg(diffs.size()));
            r.Json.insert(QStringLiteral("differences"), diffs);
            r.Json.insert(QStringLiteral("status"),
                          r.Complete ? QStringLiteral("ok") : QStringLiteral("error"));
            if (!r.Complete)
                Fail(CliExchangeFailed);
            else if (!diffs.isEmpty())
                Fail(CliRefused);
            Devices.append(r.Json);
            return r.Complete && diffs.isEmpty();
        });
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    int Measure() {
        for (const int k : O.Channels)
            if (k > Type().Channels) {
                Err(QStringLiteral("--channels: у типа \"%1\" каналов %2")
                        .arg(Type().Name)
                        .arg(Type().Channels));
                return CliUsage;
            }
        // A file appears only with its header and keeps whole lines: a full disk ends the run at
        // once with the file ending in the last complete reading.
        TLineFile csvFile(O.Csv);
        const bool toStdout = O.Csv == QLatin1String("-");
        const QByteArray header("time,minutes,address,channel,value\n");
        if (toStdout) {
            Print(stdout, QString::fromUtf8(header));
        } else if (!csvFile.Start(header)) {
            Err(QStringLiteral("Не удалось создать файл \"%1\": %2").arg(O.Csv, csvFile.Reason()));
            return CliFileError;
        }
        bool fileOk = true;
        const int done = EachAddress([&](int address) {
            if (!fileOk) {
                Skipped(address);
                return false;
            }
            TDev& dev = Dev();
            PrepareDev(dev, address);
            Ui.Begin(Type(), dev, Label(address));
            Ui.Channels = O.Channels;
            int points = 0;
            std::atomic<bool> runStop{false};
            Ui.OnPoint = [&](int k, double minutes, double, const QString& text) {
                if (!fileOk)
                    return;
                ++points;
                const QByteArray line = QStringLiteral("%1,%2,%3,%4,%5\n")
                                            .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs),
                                                 Numbers::FormatFixed(minutes, 5))
                                            .arg(address)
                                            .arg(k)
                                            .arg(text)
                                            .toUtf8();
                if (toStdout) {
                    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
                    std::fflush(stdout);
                } else if (!csvFile.Append(line)) {
                    fileOk = false;
                    --points; // cut off again
                    runStop = true;
                }
            };
            // The run ends after --seconds, or at Ctrl+C.
            std::atomic<bool> finished{false};
            const auto deadline = std::chrono::steady_clock::now() +
                                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                      std::chrono::duration<double>(O.Seconds));
            std::thread watch([&] {
                while (!finished && !Stop && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                runStop = true;
            });
            TMeasureRun run{.Api = Api(),
                            .DevType = Type(),
                            .Dev = dev,
                            .Ui = Ui,
                            .Stop = runStop,
                            .Retries = State.Settings.ReRead,
                            .Sleep = {}};
            run.Tap = Tap();
            MeasureLoop(run);
            finished = true;
            watch.join();
            Ui.OnPoint = nullptr;
            // Polling ends only by a stop; anything else it ended with is a failure.
            const bool polled = Ui.LastStatus == QStringLiteral("Измерение остановлено") && !Stop;
            const bool ok = polled && fileOk;
            Out(QStringLiteral("Адрес %1: %2, отсчётов: %3").arg(address).arg(Ui.LastStatus).arg(points));
            if (!polled)
                Fail(CliExchangeFailed);
            Devices.append(
                QJsonObject{{QStringLiteral("address"), address},
                            {QStringLiteral("message"), Ui.LastStatus},
                            {QStringLiteral("readings"), points},
                            {QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error")}});
            return ok;
        });
        if (!fileOk) {
            Err(QStringLiteral("ошибка записи файла \"%1\": %2; измерение прекращено, в файле записаны "
                               "отсчёты до последней целой строки")
                    .arg(O.Csv, csvFile.Reason()));
            Fail(CliFileError);
        }
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    int Calibrate() {
        const uint8_t kind = O.What == QLatin1String("compensator") ? CalibCompensator : CalibLine;
        const int done = EachAddress([&](int address) {
            PrepareDev(Dev(), address);
            Ui.Begin(Type(), Dev(), Label(address));
            TCalibRun run{.Api = Api(),
                          .State = State,
                          .Kind = kind,
                          .Ui = Ui,
                          .StopRequested = Stop,
                          .Now = {},
                          .Sleep = {}};
            const QString status = CalibLoop(run);
            const bool ok = status == QStringLiteral("Параметр откалиброван");
            Out(QStringLiteral("Адрес %1: %2").arg(address).arg(status));
            if (!ok)
                Fail(CliExchangeFailed);
            Devices.append(
                QJsonObject{{QStringLiteral("address"), address},
                            {QStringLiteral("message"), status},
                            {QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error")}});
            return ok;
        });
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }
};
} // namespace

int RunCli(const QStringList& args, const QString& progDir, const std::atomic<bool>& stop) {
    TCliOptions options;
    const QString error = ParseCliArgs(args, options);
    if (!error.isEmpty()) {
        Print(stderr,
              QStringLiteral("kestrin-cli: ") + error + QStringLiteral("\nkestrin-cli --help: справка\n"));
        return CliUsage;
    }
    if (options.Help) {
        Print(stdout, CliHelpText(options.Command));
        return CliOk;
    }
    TCli cli(std::move(options), progDir, stop);
    return cli.Run();
}
