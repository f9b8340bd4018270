#include "cli/CliCommands.h"

#include "app/Launch.h"
#include "app/Settings.h"
#include "cli/CliArgs.h"
#include "cli/CliFiles.h"
#include "cli/CliUi.h"
#include "common/FileSave.h"
#include "common/NetAddress.h"
#include "common/Numbers.h"
#include "common/ProgDir.h"
#include "exchange/Calib.h"
#include "exchange/CodeMeaning.h"
#include "exchange/DevLink.h"
#include "exchange/Encodings.h"
#include "exchange/Exchange.h"
#include "exchange/KvLibrary.h"
#include "exchange/LineTap.h"
#include "exchange/Measure.h"
#include "exchange/PortList.h"
#include "exchange/ReadWriteAll.h"
#include "formats/Commissioning.h"
#include "formats/ParamSetFile.h"
#include "model/AppState.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {
QString ReadDone() {
    return QCoreApplication::translate("Exchange", "Чтение завершено");
}
QString WriteDone() {
    return QCoreApplication::translate("Exchange", "Запись завершена");
}
QString NoLink() {
    return QCoreApplication::translate("Exchange", "Нет связи с прибором!");
}
// Bit strings: a write request carries none of their value, and a read returns none.
constexpr uint8_t BitStringCode = 4;

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fflush(to);
}

void PrintJson(const QJsonObject& doc) {
    Print(stdout, QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented)));
}

QJsonObject SummaryJson(int done, int total, bool stopped, int exit) {
    return QJsonObject{{QStringLiteral("done"), done},
                       {QStringLiteral("total"), total},
                       {QStringLiteral("stopped"), stopped},
                       {QStringLiteral("exit"), exit}};
}

// Library codes (no answer, line lost, port trouble) mean the instrument is gone; the program's
// own codes mean it answered and refused one parameter.
bool InstrumentAnswered(int code) {
    return code > -100;
}

// A status or error text with the meaning of the code it ends with ("Ошибка чтения: -103 (порт
// не удалось открыть ...)").
QString Explained(const QString& text) {
    const QString meaning = ResultCodeMeaning(TrailingResultCode(text));
    return meaning.isEmpty() ? text : text + QStringLiteral(" (") + meaning + QLatin1Char(')');
}

QString CodeText(int code) {
    const QString meaning = ResultCodeMeaning(code);
    return meaning.isEmpty() ? QCoreApplication::translate("Cli", "ошибка %1").arg(code)
                             : QCoreApplication::translate("Cli", "ошибка %1: %2").arg(code).arg(meaning);
}

// Local time for several lines' threads one at a time: it is glibc's time-zone state, guarded by
// a lock of its own that the thread sanitizer cannot see.
std::mutex LocalTime;

// Several lines finish their writes at once: one appends to the commissioning record at a time.
std::mutex RecordFile;

// The --trace file: each parcel at once (a stopped run keeps every line), dated, since runs last
// over midnight and traces are kept. One file for every line of a run: each parcel is one whole
// line naming its port, whichever line's thread writes it.
class TTraceFile {
public:
    bool Open(const QString& path) {
        const std::lock_guard<std::mutex> lock(Mutex);
        File = std::make_unique<TLineFile>(path);
        if (File->Start({}))
            return true;
        Why = File->Reason();
        File.reset();
        return false;
    }
    bool IsOpen() const {
        const std::lock_guard<std::mutex> lock(Mutex);
        return File != nullptr;
    }
    QString ErrorText() const {
        const std::lock_guard<std::mutex> lock(Mutex);
        return Why;
    }
    // A trace that could not be written whole (a full disk): the exchange goes on, the run's report
    // says so and exits with the file status.
    bool Lost() const { return Failed.load(); }
    void Write(const TLineEvent& event) {
        if (Failed)
            return;
        QByteArray line;
        {
            const std::lock_guard<std::mutex> local(LocalTime);
            const QString date = QDateTime::fromMSecsSinceEpoch(event.TimeMs).date().toString(Qt::ISODate);
            line = (date + QLatin1Char(' ') + FormatLineEvent(event) + QLatin1Char('\n')).toUtf8();
        }
        const std::lock_guard<std::mutex> lock(Mutex);
        if (File && !Failed && !File->Append(line)) {
            Why = File->Reason();
            Failed = true;
        }
    }

private:
    mutable std::mutex Mutex;
    std::unique_ptr<TLineFile> File;
    std::atomic<bool> Failed{false};
    QString Why;
};

// The tap of one line: its parcels to the trace, and the type number an instrument of another
// type gave when identified, which the exchange reports only as no link.
class TCliTap : public ILineTap {
public:
    TTraceFile* Trace = nullptr;
    void Parcel(const TLineEvent& event) override {
        if (Trace)
            Trace->Write(event);
        if (event.Direction == TLineDirection::Answer)
            if (const auto m = OtherType.match(event.Purpose); m.hasMatch())
                ForeignType[event.Address] = m.captured(1).toInt();
    }
    std::map<int, int> ForeignType; // address: the type number it answered with

private:
    // Each line's own: the lines' threads match at once.
    const QRegularExpression OtherType{QStringLiteral("^идентификация = тип (\\d+), ожидался")};
};

// What the lines of a run over several ports share: the library loaded once, the trace file,
// the port list found once, and the progress line.
struct TCliShared {
    TKvLibrary Library;
    TTraceFile Trace;
    std::optional<QStringList> PortList;
    std::function<void(const QString& port, const QString& label, int percent)> Progress;
};

struct TFailure {
    int Index;
    int Code;
};

class TCli {
public:
    TCli(TCliOptions options, QString progDir, const std::atomic<bool>& stop, TCliShared* shared = nullptr)
        : O(std::move(options)), Stop(stop), Shared(shared),
          Ui(progDir, isatty(STDERR_FILENO) == 1 && !O.Json && !shared) {
        State.ProgDir = std::move(progDir);
        if (Shared && Shared->Progress)
            Ui.Progress = [this](const QString& label, int percent) {
                Shared->Progress(O.Port, label, percent);
            };
    }

    int Run() {
        if (const int rc = Setup(); rc != CliOk)
            return rc;
        return Command();
    }

    // From here on the report is kept, each line starting with the port, until Flush; the JSON
    // document is kept as well (Document) for the report of every line.
    void KeepReport() { Buffered = true; }
    // Writes the kept report: whole lines, in order, to the streams they were meant for.
    void Flush() {
        for (const auto& [to, bytes] : Kept) {
            std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
            std::fflush(to);
        }
        Kept.clear();
    }
    const QJsonObject& Document() const { return Doc; }
    int ExitStatus() const { return Exit; }

    // Setup done: the command on the line.
    int Command() {
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
    TCliShared* Shared; // a run over several ports; null for one
    TCliUi Ui;
    TAppState State;
    TKvLibrary OwnLibrary;
    TTraceFile OwnTrace;
    bool Buffered = false;
    std::vector<std::pair<FILE*, QByteArray>> Kept;
    QJsonObject Doc;
    QJsonArray Devices; // one entry per address, for --json
    TCliTap LineTap;
    TKvLibrary& Library() { return Shared ? Shared->Library : OwnLibrary; }
    TTraceFile& Trace() { return Shared ? Shared->Trace : OwnTrace; }
    // The report's text: at once for one line, kept line by line under the port's name for several.
    void Emit(FILE* to, const QString& text) {
        if (!Buffered) {
            Print(to, text);
            return;
        }
        QByteArray bytes;
        for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            bytes += (O.Port + QStringLiteral(": ") + line + QLatin1Char('\n')).toUtf8();
        Kept.emplace_back(to, bytes);
    }
    void EmitJson(const QJsonObject& doc) {
        if (Buffered)
            Doc = doc;
        else if (O.Json)
            PrintJson(doc);
    }
    ILineTap* Tap() { return &LineTap; }
    int Exit = CliOk;
    std::map<int, TValueSet> Sets;         // write, diff: the values for each address
    std::vector<TCommissionEntry> Entries; // write: this run's commissioning records
    int Recorded = 0;                      // of them, appended to the record file
    QString RecordError;                   // the first append that failed

    void Fail(int status) { Exit = std::max(Exit, status); }
    void Err(const QString& text) {
        Ui.ClearBar();
        Emit(stderr, QStringLiteral("kestrin-cli: ") + text + QLatin1Char('\n'));
    }
    // An error before any exchange: on standard error, and with --json as the one document.
    int EarlyExit(const QString& text, int status, const QStringList& details = {}) {
        Err(text);
        for (const QString& d : details)
            Emit(stderr, QStringLiteral("  ") + d + QLatin1Char('\n'));
        Exit = status;
        QJsonObject doc{
            {QStringLiteral("command"), O.Command},
            {QStringLiteral("error"), text},
            {QStringLiteral("exit"), status},
            {QStringLiteral("summary"), SummaryJson(0, static_cast<int>(O.Addresses.size()), false, status)}};
        if (Buffered)
            doc.insert(QStringLiteral("port"), O.Port);
        if (!details.isEmpty())
            doc.insert(QStringLiteral("refused"), QJsonArray::fromStringList(details));
        EmitJson(doc);
        return status;
    }
    bool DataOnStdout() const { return O.Out == QLatin1String("-") || O.Csv == QLatin1String("-"); }
    // Human-readable report; on standard error when standard output carries data (JSON or CSV).
    void Out(const QString& text) {
        if (O.Json)
            return;
        if (DataOnStdout())
            Ui.ClearBar();
        Emit(DataOnStdout() ? stderr : stdout, text + QLatin1Char('\n'));
    }
    // What failed, on standard error (with --json the document carries it).
    void Problem(const QString& text) {
        if (O.Json)
            return;
        Ui.ClearBar();
        Emit(stderr, text + QLatin1Char('\n'));
    }
    const TKvApi& Api() { return Library().Table(); }
    TDevProp& Type() { return State.CurDevType(); }
    TDev& Dev() { return State.CurDev(); }

public:
    // Everything found out before the exchange; a status other than CliOk ends the run.
    int Setup() {
        QString missing;
        if (!StartupFiles::CheckRequiredFiles(State.ProgDir, &missing))
            return EarlyExit(QCoreApplication::translate("Cli", "не найден файл %1 в каталоге программы %2")
                                 .arg(missing, State.ProgDir),
                             CliFileError);
        // Several lines load the library once and share one trace file.
        if (!Library().IsLoaded() && !Library().Load(State.ProgDir))
            return EarlyExit(
                QCoreApplication::translate("Cli", "библиотека обмена: %1").arg(Library().ErrorText()),
                CliFileError);
        if (!O.Trace.isEmpty()) {
            if (!Trace().IsOpen() && !Trace().Open(O.Trace))
                return EarlyExit(QCoreApplication::translate("Cli", "Не удалось создать файл \"%1\": %2")
                                     .arg(O.Trace, Trace().ErrorText()),
                                 CliFileError);
            LineTap.Trace = &Trace();
        }
        State.LineTap.Attach(&LineTap); // calibration takes the state's taps
        // The settings the program uses: the user's own when the program directory is read-only.
        State.Settings = SettingsFile::Read(SettingsFile::Location(State.ProgDir));
        State.SpeedList = SpeedList();
        // The library's port search walks every tty of the system: only when the name needs it.
        // So is a device server's address, which is never in the list (its [Net] name may be); a path
        // that exists is opened as given too (the library says why not).
        const bool path = (O.Port.startsWith(QLatin1Char('/')) && QFileInfo::exists(O.Port)) ||
                          NetAddress::LooksLikeAddress(O.Port);
        if (QString why; NetAddress::LooksLikeAddress(O.Port) && !NetAddress::Parse(O.Port, &why))
            return EarlyExit(
                QCoreApplication::translate("Cli", "неверный сетевой адрес \"%1\": %2").arg(O.Port, why),
                CliUsage);
        if (!path && Shared && Shared->PortList) {
            State.PortList = *Shared->PortList;
        } else if (!path) {
            QStringList speeds;
            LoadPortList(Api(), State.PortList, speeds);
            if (Shared)
                Shared->PortList = State.PortList;
        }
        if (O.Command == QLatin1String("ports"))
            return CliOk;
        State.LoadCatalogue();
        if (State.DevTypes.empty())
            return EarlyExit(QCoreApplication::translate("Cli", "каталог devices.ini пуст"), CliFileError);
        if (!O.Type.isEmpty()) {
            bool found = false;
            for (size_t i = 0; i < State.DevTypes.size() && !found; ++i)
                if (State.DevTypes[i]->Name.compare(O.Type, Qt::CaseInsensitive) == 0) {
                    State.CurType = static_cast<uint8_t>(i);
                    found = true;
                }
            if (!found)
                return EarlyExit(
                    QCoreApplication::translate("Cli", "тип \"%1\" не найден в каталоге").arg(O.Type),
                    CliUsage);
        }
        if (O.TimeoutMs > 0)
            for (auto& t : State.DevTypes)
                t->TimeOut = O.TimeoutMs;
        if (!path && !State.PortList.contains(O.Port))
            return EarlyExit(
                QCoreApplication::translate("Cli", "неизвестный порт \"%1\"; доступные порты: %2")
                    .arg(O.Port, State.PortList.isEmpty() ? QCoreApplication::translate("Cli", "нет")
                                                          : State.PortList.join(QStringLiteral(", "))),
                CliUsage);
        // Without its descriptions a type has no parameters: a read would "complete" with none.
        if (O.Command == QLatin1String("read") || O.Command == QLatin1String("write") ||
            O.Command == QLatin1String("diff"))
            if (const QString file = MissingDescriptionFile(State.ProgDir, Type(), QString());
                !file.isEmpty())
                return EarlyExit(
                    QCoreApplication::translate("Cli", "нет файла описаний параметров типа \"%1\": %2")
                        .arg(Type().Name, file),
                    CliFileError);
        if (!O.Report.isEmpty()) {
            if (const TFileResult probe = ProbeWritable(O.Report); !probe.Ok)
                return EarlyExit(probe.Error, CliFileError);
        }
        if (O.Command == QLatin1String("read") && !O.Out.isEmpty() && O.Out != QLatin1String("-")) {
            const QString suffix = QFileInfo(O.Out).suffix().toLower();
            if (suffix != QLatin1String("json") && suffix != Type().DevExt.toLower())
                return EarlyExit(QCoreApplication::translate("Cli", "--out: нужен файл .%1, .json или -")
                                     .arg(Type().DevExt),
                                 CliUsage);
            // Found out before any exchange rather than after a long read.
            const TFileResult probe =
                ProbeWritable(PerAddressName(O.Out, O.Addresses.value(0), O.Addresses.size() > 1));
            if (!probe.Ok)
                return EarlyExit(probe.Error, CliFileError);
        }
        return CliOk;
    }

private:
    // Device record of the run for one address, with the type's empty values.
    void PrepareDev(TDev& dev, int address) {
        dev.Address = static_cast<uint8_t>(address);
        dev.BaudRate = static_cast<uint16_t>(O.Speed.toInt());
        dev.COMPort = O.Port;
        dev.Values = QStringList(Type().ParamCount());
        LineTap.ForeignType.erase(address);
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

    QString Label(int address) const { return QCoreApplication::translate("Cli", "адрес %1").arg(address); }

    void ReportFailures(const std::vector<TFailure>& failures, QJsonObject& json) {
        QJsonArray arr;
        for (const TFailure& f : failures) {
            const QString name = f.Index < Type().ParamCount() ? Type().Param(f.Index).Name : QString();
            Problem(
                QCoreApplication::translate("Cli", "  не выполнено: \"%1\", %2").arg(name, CodeText(f.Code)));
            QJsonObject o{{QStringLiteral("name"), name}, {QStringLiteral("code"), f.Code}};
            if (const QString meaning = ResultCodeMeaning(f.Code); !meaning.isEmpty())
                o.insert(QStringLiteral("meaning"), meaning);
            arr.append(o);
        }
        if (!arr.isEmpty())
            json.insert(QStringLiteral("failed"), arr);
    }

    // How the last run on dev ended, in words: the meaning of a code, the version whose
    // descriptions are missing, the type that answered instead; the exit status it calls for.
    struct TRunEnd {
        QString Text;
        int Status = CliOk;
        bool Identified = false; // the instrument answered as the type, with descriptions loaded
    };
    TRunEnd RunEnd(int address, const QString& doneText) {
        TRunEnd e;
        e.Text = Explained(Ui.LastStatus);
        if (Ui.DescriptionsMissing) {
            e.Text = QCoreApplication::translate(
                         "Cli", "у прибора версия \"%1\", для неё нет описаний параметров: %2")
                         .arg(Ui.MissingVersion,
                              Ui.MissingFile.isEmpty()
                                  ? QCoreApplication::translate("Cli", "файлы не читаются")
                                  : QCoreApplication::translate("Cli", "нет файла %1").arg(Ui.MissingFile));
            e.Status = CliFileError;
            return e;
        }
        if (Ui.LastStatus == NoLink()) {
            const auto it = LineTap.ForeignType.find(address);
            if (it != LineTap.ForeignType.end()) {
                QString name;
                for (const auto& t : State.DevTypes)
                    if (t->TypeNum == it->second && name.isEmpty())
                        name = t->Name;
                e.Text = QCoreApplication::translate(
                             "Cli", "Нет связи с прибором! По адресу %1 ответил прибор другого типа: номер "
                                    "типа %2%3, а выбран \"%4\" (номер типа %5)")
                             .arg(address)
                             .arg(it->second)
                             .arg(name.isEmpty() ? QString() : QStringLiteral(" (\"%1\", --type)").arg(name))
                             .arg(Type().Name)
                             .arg(Type().TypeNum);
            }
            e.Status = CliExchangeFailed;
            return e;
        }
        e.Identified = !Ui.LastStatus.startsWith(
                           QCoreApplication::translate("Exchange", "Ошибка чтения: %1").arg(QString())) &&
                       !Ui.LastStatus.startsWith(
                           QCoreApplication::translate("Exchange", "Ошибка записи: %1").arg(QString())) &&
                       Ui.LastStatus != QCoreApplication::translate("Exchange", "Файл не найден");
        if (Ui.LastStatus != doneText)
            e.Status = CliExchangeFailed;
        return e;
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
    void TraceOutcome() {
        if (!Trace().Lost())
            return;
        Problem(QCoreApplication::translate(
                    "Cli", "ошибка записи файла \"%1\": %2; трассировка неполная, в файле записаны "
                           "посылки до последней целой строки")
                    .arg(O.Trace, Trace().ErrorText()));
        Fail(CliFileError);
    }

    int Finish(int done, int total, QJsonObject extra = {}) {
        Ui.ClearBar();
        TraceOutcome();
        if (Stop)
            Problem(QCoreApplication::translate("Cli", "Остановлено."));
        Out(QCoreApplication::translate("Cli", "Итого: выполнено %1 из %2.").arg(done).arg(total));
        if (Stop)
            Fail(CliExchangeFailed);
        QJsonObject doc{{QStringLiteral("command"), O.Command},
                        {QStringLiteral("port"), O.Port},
                        {QStringLiteral("speed"), O.Speed.toInt()},
                        {QStringLiteral("devices"), Devices},
                        {QStringLiteral("summary"), SummaryJson(done, total, Stop.load(), Exit)}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            doc.insert(it.key(), it.value());
        EmitJson(doc);
        return Exit;
    }

    // An address the run did not get to.
    void Skipped(int address) {
        Problem(QCoreApplication::translate("Cli", "Адрес %1: не выполнено (остановлено)").arg(address));
        Devices.append(QJsonObject{{QStringLiteral("address"), address},
                                   {QStringLiteral("status"), QStringLiteral("stopped")}});
    }

    int Ports() {
        QJsonArray ports;
        for (const QString& p : State.PortList) {
            // A link (a stable /dev/serial/by-id name, a pseudo-terminal's) shows the device it
            // stands for now.
            const QFileInfo link(p);
            const QString device =
                p.startsWith(QLatin1Char('/')) && link.isSymLink() ? link.canonicalFilePath() : QString();
            Out(device.isEmpty() ? p : p + QStringLiteral(" -> ") + device);
            ports.append(p);
        }
        if (O.Json)
            PrintJson(QJsonObject{{QStringLiteral("command"), O.Command}, {QStringLiteral("ports"), ports}});
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
        int searched = 0;
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
                    Out(QCoreApplication::translate(
                            "Cli", "адрес %1, скорость %2, номер типа %3, \"%4\", версия \"%5\"")
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
                Problem(QCoreApplication::translate("Cli", "скорость %1: Поиск прерван, %2")
                            .arg(speed, CodeText(rc)));
                Fail(CliExchangeFailed);
            } else if (!Stop) {
                ++searched;
            }
        }
        // Complete only when every speed was searched to its end.
        if (searched == static_cast<int>(speeds.size()))
            Out(QCoreApplication::translate("Cli", "Поиск приборов завершен! Найдено: %1.").arg(count));
        else
            Problem(QCoreApplication::translate(
                        "Cli", "Поиск приборов выполнен не полностью (скоростей: %1 из %2). Найдено: %3.")
                        .arg(searched)
                        .arg(speeds.size())
                        .arg(count));
        TraceOutcome();
        // A search that found nothing did not do what it was run for: scripts must see it.
        if (count == 0) {
            Problem(QCoreApplication::translate("Cli", "Приборы не найдены."));
            Fail(CliExchangeFailed);
        }
        if (Stop)
            Fail(CliExchangeFailed);
        EmitJson(QJsonObject{{QStringLiteral("command"), O.Command},
                             {QStringLiteral("port"), O.Port},
                             {QStringLiteral("found"), found},
                             {QStringLiteral("stopped"), Stop.load()},
                             {QStringLiteral("exit"), Exit},
                             {QStringLiteral("summary"),
                              QJsonObject{{QStringLiteral("found"), count},
                                          {QStringLiteral("speeds"), searched},
                                          {QStringLiteral("total"), static_cast<int>(speeds.size())},
                                          {QStringLiteral("stopped"), Stop.load()},
                                          {QStringLiteral("exit"), Exit}}}});
        return Exit;
    }

    // Read-all of one address into dev; the outcome's status text and JSON entry.
    struct TReadOutcome {
        bool Complete = false; // every parameter read (or not readable by its kind)
        TRunEnd End;
        QJsonObject Json;
    };
    TReadOutcome ReadOne(TDev& dev, int address, std::vector<TFailure>& failures) {
        PrepareDev(dev, address);
        Ui.Begin(Type(), dev, Label(address));
        TExchangeRun run = MakeRun(dev, State.Settings.ReRead, failures);
        ReadAll(run);
        Ui.ClearBar();
        TReadOutcome r;
        r.End = RunEnd(address, ReadDone());
        r.Complete = Ui.LastStatus == ReadDone() && failures.empty();
        if (Ui.LastStatus == ReadDone() && !failures.empty())
            r.End.Text =
                QCoreApplication::translate("Cli", "Прочитано не всё: не прочитано параметров %1 из %2")
                    .arg(failures.size())
                    .arg(Type().ParamCount());
        // An instrument that was not identified gave no version and no values: the entry says so
        // rather than showing the descriptions an earlier address left loaded.
        r.Json = r.End.Identified ? DeviceJson(Type(), dev, Ui.Delivered)
                                  : QJsonObject{{QStringLiteral("address"), address}};
        r.Json.insert(QStringLiteral("message"), r.End.Text);
        if (Ui.DescriptionsMissing) {
            r.Json.insert(QStringLiteral("version"), Ui.MissingVersion);
            r.Json.insert(QStringLiteral("missingFile"), Ui.MissingFile);
        }
        return r;
    }

    // The address's first report line: on standard output when it went well.
    void AddressLine(int address, const QString& text, bool ok) {
        const QString line = QCoreApplication::translate("Cli", "Адрес %1: %2").arg(address).arg(text);
        if (ok)
            Out(line);
        else
            Problem(line);
    }

    int Read() {
        const bool several = O.Addresses.size() > 1;
        QJsonArray fileDevices;
        const int done = EachAddress([&](int address) {
            std::vector<TFailure> failures;
            TReadOutcome r = ReadOne(Dev(), address, failures);
            AddressLine(address,
                        r.End.Identified ? QCoreApplication::translate("Cli", "%1 (\"%2\", версия \"%3\")")
                                               .arg(r.End.Text, Type().Name, Type().Version)
                                         : r.End.Text,
                        r.Complete);
            ReportFailures(failures, r.Json);
            r.Json.insert(QStringLiteral("status"),
                          r.Complete ? QStringLiteral("ok") : QStringLiteral("error"));
            Fail(r.End.Status);
            if (!r.Complete)
                Fail(CliExchangeFailed);
            bool ok = r.Complete;
            if (!O.Out.isEmpty() && QFileInfo(O.Out).suffix().toLower() == Type().DevExt.toLower()) {
                const QString name = PerAddressName(O.Out, address, several);
                if (!r.Complete) {
                    Problem(QCoreApplication::translate("Cli", "  файл %1 не записан: чтение не завершено")
                                .arg(name));
                } else if (const TFileResult w = SaveFileBytes(name, ParamSetBytes(Type(), Dev().Values));
                           !w.Ok) {
                    Err(w.Error);
                    Fail(CliFileError);
                    ok = false;
                } else {
                    Out(QCoreApplication::translate("Cli", "  записан файл %1").arg(name));
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
                    Emit(stdout, QString::fromUtf8(doc));
            } else if (const TFileResult w = SaveFileBytes(O.Out, doc); !w.Ok) {
                Err(w.Error);
                Fail(CliFileError);
            } else {
                Out(QCoreApplication::translate("Cli", "Записан файл %1").arg(O.Out));
            }
        }
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    // The file's values for every address, checked before anything is sent; exits with its
    // status when refused.
    bool LoadInputs(bool checkValues) {
        for (const int address : O.Addresses) {
            TValueSet set;
            const TValueSetLoad load = LoadValueSet(State.ProgDir, Type(), O.In, checkValues, address, set);
            if (load.Status != TValueSetStatus::Ok) {
                QString what = QCoreApplication::translate("Cli", "файл %1 не принят").arg(O.In);
                if (set.Several)
                    what += QCoreApplication::translate("Cli", " (прибор с адресом %1)").arg(address);
                EarlyExit(what + QLatin1Char(':'),
                          load.Status == TValueSetStatus::Refused ? CliRefused : CliFileError, load.Problems);
                return false;
            }
            const bool several = set.Several;
            Sets[address] = std::move(set);
            if (!several) { // one set for every address
                for (const int a : O.Addresses)
                    Sets[a] = Sets[address];
                return true;
            }
        }
        return true;
    }

    // Before each address the descriptions the file fits, since an earlier address may have
    // left another version loaded.
    void UseSetVersion(const TValueSet& set) {
        if (Type().Version != set.Versions.first())
            LoadDescriptions(State.ProgDir, Type(), set.Versions.first());
        Ui.AcceptedVersions = set.Versions;
    }

    int NetAddressIndex() {
        for (int i = 0; i < Type().ParamCount(); ++i)
            if (Type().Param(i).Name == NetAddressParamName)
                return i;
        return -1;
    }

    // The values written to one address. The instrument keeps its own network address: the file's
    // would move it, silently, onto an address another instrument may hold. --file-address asks
    // for the file's.
    QStringList ValuesFor(const TValueSet& set, int address) {
        QStringList values = set.Values;
        const int k = NetAddressIndex();
        if (!O.FileAddress && k >= 0 && k < values.size())
            values[k] = QString::number(address);
        return values;
    }

    // Bit-string parameters among those the run got to: the protocol carries none of their
    // values, so a value in the file other than the factory one is neither written nor checked
    // (exit status 3, as for a refused value).
    QJsonObject BitStrings(const QStringList& values, const std::vector<int>& reached, const QString& doing,
                           bool& anyChanged) {
        QJsonArray changed;
        int count = 0;
        QStringList same;
        for (const int i : reached) {
            const TParam& p = Type().Param(i);
            if (p.VType != BitStringCode)
                continue;
            ++count;
            const QString v = i < values.size() ? values[i] : QString();
            if (v == p.Value) {
                same << QStringLiteral("\"%1\"").arg(p.Name);
                continue;
            }
            Problem(QCoreApplication::translate(
                        "Cli", "  \"%1\" = %2: не %3 — значения битовых строк этот протокол не передаёт")
                        .arg(p.Name, v, doing));
            changed.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                       {QStringLiteral("value"), v},
                                       {QStringLiteral("factory"), p.Value}});
        }
        anyChanged = !changed.isEmpty();
        if (anyChanged)
            Fail(CliRefused);
        if (!same.isEmpty())
            Out(QCoreApplication::translate("Cli",
                                            "  битовые строки (протокол не передаёт значений, не %1): %2")
                    .arg(doing, same.join(QStringLiteral(", "))));
        return QJsonObject{{QStringLiteral("count"), count}, {QStringLiteral("changed"), changed}};
    }

    std::vector<int> AllParams() {
        std::vector<int> all(static_cast<size_t>(Type().ParamCount()));
        for (int i = 0; i < Type().ParamCount(); ++i)
            all[static_cast<size_t>(i)] = i;
        return all;
    }

    void DryRun(const TValueSet& set, int address) {
        const QStringList values = ValuesFor(set, address);
        Out(QCoreApplication::translate("Cli", "Адрес %1: было бы отправлено (ничего не отправлено):")
                .arg(address));
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
                         rc == ExOk ? request : QCoreApplication::translate("Cli", "(не кодируется)")));
            requests.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                        {QStringLiteral("value"), values[i]},
                                        {QStringLiteral("request"), request}});
            // Write-all sends the following requests to the new address.
            if (special == 1 && rc == ExOk)
                if (const auto a = Numbers::ParseInt(values[i]))
                    to = static_cast<uint8_t>(*a);
        }
        QJsonObject json{{QStringLiteral("address"), address},
                         {QStringLiteral("status"), QStringLiteral("dry-run")},
                         {QStringLiteral("requests"), requests}};
        bool changed = false;
        json.insert(
            QStringLiteral("bitStrings"),
            BitStrings(values, AllParams(), QCoreApplication::translate("Cli", "будет записано"), changed));
        Devices.append(json);
    }

    // Whether an instrument answers at address (which --file-address would move another one to).
    // Nothing, yes, or a line failure's code.
    std::optional<int> AddressTaken(int address, int& lineCode) {
        TDev probe;
        probe.Address = static_cast<uint8_t>(address);
        probe.BaudRate = static_cast<uint16_t>(O.Speed.toInt());
        probe.COMPort = O.Port;
        ExchangeHandle h;
        h.Tap = Tap();
        const TDevLinkCloser closer(h);
        lineCode = OpenDevLink(Api(), probe, Type(), h);
        if (lineCode != ExOk)
            return std::nullopt;
        uint8_t from = 0;
        QString data;
        bool noAnswer = false;
        const TLinePurpose purpose(h, QStringLiteral("адрес занят?"));
        const int rc =
            ExchangeParcel(h, IdentifyRequest(static_cast<uint8_t>(address)), from, data, &noAnswer);
        if (rc != ExOk && !noAnswer) {
            lineCode = rc;
            return std::nullopt;
        }
        lineCode = ExOk;
        return rc == ExOk ? 1 : 0;
    }

    int Write() {
        if (!LoadInputs(true))
            return Exit;
        const int done = EachAddress([&](int address) {
            const TValueSet& set = Sets[address];
            UseSetVersion(set);
            if (O.DryRun) {
                DryRun(set, address);
                return true;
            }
            TDev& dev = Dev();
            PrepareDev(dev, address);
            dev.Values = ValuesFor(set, address);
            QJsonObject json{{QStringLiteral("address"), address}};
            // The file's address for this instrument: never onto one another instrument holds.
            if (O.FileAddress) {
                const int k = NetAddressIndex();
                const auto target = k >= 0 ? Numbers::ParseInt(dev.Values[k]) : std::nullopt;
                if (target && *target != address) {
                    int lineCode = ExOk;
                    const auto taken = AddressTaken(*target, lineCode);
                    if (!taken || *taken) {
                        const QString why =
                            taken ? QCoreApplication::translate(
                                        "Cli", "адрес %1 из файла занят другим прибором, ничего не записано")
                                        .arg(*target)
                                  : QCoreApplication::translate("Cli",
                                                                "проверка адреса %1: %2, ничего не записано")
                                        .arg(*target)
                                        .arg(CodeText(lineCode));
                        AddressLine(address, why, false);
                        Fail(taken ? CliRefused : CliExchangeFailed);
                        json.insert(QStringLiteral("message"), why);
                        json.insert(QStringLiteral("status"), QStringLiteral("error"));
                        Devices.append(json);
                        return false;
                    }
                }
            }
            std::vector<std::optional<QString>> before;
            if (O.ReadFirst)
                before = ReadBefore(address);
            Ui.Begin(Type(), dev, Label(address));
            std::vector<TFailure> failures;
            std::vector<int> written;
            TExchangeRun run = MakeRun(dev, State.Settings.ReWrite, failures);
            run.Written = [&written](int i) { written.push_back(i); };
            TWriteReport report;
            run.Report = &report;
            const QDateTime when = Now();
            WriteAll(run);
            Ui.ClearBar();
            TRunEnd end = RunEnd(address, WriteDone());
            QString status = end.Text;
            if (Ui.VersionRefused)
                status = QCoreApplication::translate(
                             "Cli",
                             "версия прибора \"%1\" не подходит к файлу (версия \"%2\"), ничего не записано")
                             .arg(Ui.RefusedVersion, set.Versions.join(QStringLiteral("\", \"")));
            bool ok = Ui.LastStatus == WriteDone() && failures.empty();
            AddressLine(address, status, ok);
            json.insert(QStringLiteral("message"), status);
            ReportFailures(failures, json);
            QJsonArray writtenNames;
            QStringList writtenList;
            for (const int i : written) {
                writtenNames.append(Type().Param(i).Name);
                writtenList << QStringLiteral("\"%1\"").arg(Type().Param(i).Name);
            }
            json.insert(QStringLiteral("written"), writtenNames);
            // Where a write ended early, what the instrument now holds from the file.
            if (Ui.LastStatus != WriteDone() && !Ui.VersionRefused)
                Problem(written.empty()
                            ? QCoreApplication::translate("Cli", "  ничего не записано")
                            : QCoreApplication::translate("Cli", "  записано параметров %1 из %2: %3")
                                  .arg(written.size())
                                  .arg(Type().ParamCount())
                                  .arg(writtenList.join(QStringLiteral(", "))));
            // The instrument is now where the write took it: said, and the check goes there.
            if (dev.Address != address) {
                Out(QCoreApplication::translate("Cli", "  сетевой адрес прибора изменён: %1 → %2")
                        .arg(address)
                        .arg(dev.Address));
                json.insert(QStringLiteral("newAddress"), dev.Address);
            }
            if (dev.BaudRate != O.Speed.toInt()) {
                Out(QCoreApplication::translate("Cli", "  скорость обмена прибора изменена: %1 → %2")
                        .arg(O.Speed)
                        .arg(dev.BaudRate));
                json.insert(QStringLiteral("newSpeed"), dev.BaudRate);
            }
            bool bitsChanged = false;
            json.insert(
                QStringLiteral("bitStrings"),
                BitStrings(dev.Values, written, QCoreApplication::translate("Cli", "записано"), bitsChanged));
            ok = ok && !bitsChanged;
            if (Ui.VersionRefused)
                Fail(CliRefused);
            else if (!failures.empty() &&
                     std::all_of(failures.begin(), failures.end(),
                                 [](const TFailure& f) { return InstrumentAnswered(f.Code); }))
                Fail(CliRefused); // the instrument refused values
            else if (Ui.LastStatus != WriteDone() || !failures.empty())
                Fail(std::max(end.Status, static_cast<int>(CliExchangeFailed)));
            // Nothing is recorded for a write refused before anything was sent.
            std::optional<TCommissionEntry> entry;
            if (report.Sent)
                entry = EntryOf(address, dev, report, before, status, when);
            if (Ui.LastStatus == WriteDone() && O.Verify && !Stop)
                ok = Verify(dev, json, entry ? &*entry : nullptr) && ok;
            if (entry)
                Record(*entry, json);
            json.insert(QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error"));
            Devices.append(json);
            return ok;
        });
        QJsonObject extra;
        if (!O.DryRun) {
            QJsonObject record{{QStringLiteral("file"), CommissioningFile()},
                               {QStringLiteral("entries"), Recorded}};
            if (!RecordError.isEmpty())
                record.insert(QStringLiteral("error"), RecordError);
            extra.insert(QStringLiteral("record"), record);
        }
        if (!O.Report.isEmpty()) {
            if (const TFileResult w = SaveFileBytes(O.Report, CommissionReportHtml(Entries)); !w.Ok) {
                Err(w.Error);
                Fail(CliFileError);
            } else {
                Out(QCoreApplication::translate("CliCommands",
                                                "Отчёт о наладке (приборов: %1): записан файл %2")
                        .arg(Entries.size())
                        .arg(O.Report));
                extra.insert(QStringLiteral("report"), O.Report);
            }
        }
        return Finish(done, static_cast<int>(O.Addresses.size()), extra);
    }

    QDateTime Now() {
        const std::lock_guard<std::mutex> local(LocalTime);
        const QDateTime now = QDateTime::currentDateTime();
        // Kept with its offset, so that showing it later needs no time-zone rules.
        return now.toOffsetFromUtc(now.offsetFromUtc());
    }

    // --read-first: the instrument's values before the write, where it delivered them.
    std::vector<std::optional<QString>> ReadBefore(int address) {
        TDev was;
        PrepareDev(was, address);
        Ui.Begin(Type(), was,
                 Label(address) + QCoreApplication::translate("CliCommands", " чтение перед записью"));
        std::vector<TFailure> failures;
        TExchangeRun run = MakeRun(was, State.Settings.ReRead, failures);
        ReadAll(run);
        Ui.ClearBar();
        std::vector<std::optional<QString>> before(static_cast<size_t>(Type().ParamCount()));
        for (int i = 0; i < Type().ParamCount() && i < was.Values.size(); ++i)
            if (static_cast<size_t>(i) < Ui.Delivered.size() && Ui.Delivered[static_cast<size_t>(i)])
                before[static_cast<size_t>(i)] = was.Values[i];
        if (Ui.LastStatus != ReadDone())
            Problem(QCoreApplication::translate(
                        "CliCommands",
                        "  чтение перед записью: %1; у непрочитанных параметров в журнале наладки только "
                        "новые значения")
                        .arg(Explained(Ui.LastStatus)));
        else if (!failures.empty())
            Problem(QCoreApplication::translate(
                        "CliCommands",
                        "  чтение перед записью: не прочитано параметров %1 из %2; у них в журнале наладки "
                        "только новые значения")
                        .arg(failures.size())
                        .arg(Type().ParamCount()));
        return before;
    }

    // The commissioning record of the write just made on dev.
    TCommissionEntry EntryOf(int address, const TDev& dev, const TWriteReport& report,
                             const std::vector<std::optional<QString>>& before, const QString& status,
                             const QDateTime& when) {
        const TWriteSite site{QStringLiteral("kestrin-cli"), QString::fromLatin1(Launch::Version()), O.Port,
                              O.Speed.toInt(), address};
        return WriteCommissionEntry(site, Type(), dev, when, report, before, status,
                                    Ui.LastStatus == WriteDone());
    }

    // Appends the record; a failure is told once and the write still counts as done.
    void Record(const TCommissionEntry& entry, QJsonObject& json) {
        Entries.push_back(entry);
        QJsonArray changes;
        for (const TCommissionChange& c : entry.Changes) {
            QJsonObject o{{QStringLiteral("name"), c.Name}, {QStringLiteral("after"), c.After}};
            if (c.Before)
                o.insert(QStringLiteral("before"), *c.Before);
            changes.append(o);
        }
        json.insert(QStringLiteral("changes"), changes);
        TFileResult w;
        {
            const std::lock_guard<std::mutex> lock(RecordFile);
            w = AppendCommissionEntry(CommissioningFile(), entry);
        }
        json.insert(QStringLiteral("recorded"), w.Ok);
        if (w.Ok) {
            ++Recorded;
            return;
        }
        Fail(CliFileError);
        if (!RecordError.isEmpty())
            return;
        RecordError = w.Error;
        Err(QCoreApplication::translate("CliCommands", "%1; этой записи в прибор нет в журнале наладки")
                .arg(w.Error));
    }

    // Reads back what was written to dev (at its address and speed after the write).
    bool Verify(const TDev& written, QJsonObject& json, TCommissionEntry* entry) {
        TDev back;
        back.Address = written.Address;
        back.BaudRate = written.BaudRate;
        back.COMPort = written.COMPort;
        back.Values = QStringList(Type().ParamCount());
        Ui.Begin(Type(), back, QCoreApplication::translate("Cli", "адрес %1 проверка").arg(back.Address));
        std::vector<TFailure> failures;
        TExchangeRun run = MakeRun(back, State.Settings.ReRead, failures);
        ReadAll(run);
        Ui.ClearBar();
        QJsonArray mismatches;
        int checked = 0;
        int bitStrings = 0;
        for (int i = 0; i < Type().ParamCount(); ++i) {
            if (Type().Param(i).VType == BitStringCode)
                ++bitStrings;
            if (!Ui.Delivered[static_cast<size_t>(i)])
                continue;
            ++checked;
            const TParam& p = Type().Param(i);
            const QString expected = ExpectedReadBack(p, written.Values[i]);
            if (back.Values[i] != expected) {
                Out(QCoreApplication::translate("Cli", "  расхождение: \"%1\": записано %2, прочитано %3")
                        .arg(p.Name, DisplayValue(p, expected), DisplayValue(p, back.Values[i])));
                mismatches.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                              {QStringLiteral("written"), expected},
                                              {QStringLiteral("read"), back.Values[i]}});
            }
        }
        const bool readOk = Ui.LastStatus == ReadDone() && failures.empty();
        const QString line =
            QCoreApplication::translate("Cli", "  проверка: %1, сверено параметров: %2, расхождений: %3, не "
                                               "проверено битовых строк: %4")
                .arg(RunEnd(back.Address, ReadDone()).Text)
                .arg(checked)
                .arg(mismatches.size())
                .arg(bitStrings);
        if (readOk)
            Out(line);
        else
            Problem(line);
        QJsonObject v{{QStringLiteral("message"), Explained(Ui.LastStatus)},
                      {QStringLiteral("checked"), checked},
                      {QStringLiteral("unverifiable"), bitStrings},
                      {QStringLiteral("mismatches"), mismatches}};
        ReportFailures(failures, v);
        json.insert(QStringLiteral("verify"), v);
        if (!mismatches.isEmpty())
            Fail(CliRefused);
        if (!readOk)
            Fail(CliExchangeFailed);
        if (entry) {
            entry->Checked = checked;
            entry->Verification = !mismatches.isEmpty() ? TVerification::Differences
                                  : readOk              ? TVerification::Verified
                                                        : TVerification::NotVerified;
            if (!readOk)
                entry->VerifyStatus = RunEnd(back.Address, ReadDone()).Text;
            for (const QJsonValue& m : mismatches) {
                const QJsonObject o = m.toObject();
                entry->Mismatches.push_back({o.value(QStringLiteral("name")).toString(),
                                             o.value(QStringLiteral("written")).toString(),
                                             o.value(QStringLiteral("read")).toString()});
            }
        }
        return readOk && mismatches.isEmpty();
    }

    int Diff() {
        if (!LoadInputs(false))
            return Exit;
        const int done = EachAddress([&](int address) {
            const TValueSet& set = Sets[address];
            UseSetVersion(set);
            std::vector<TFailure> failures;
            TReadOutcome r = ReadOne(Dev(), address, failures);
            if (Ui.VersionRefused) {
                Problem(QCoreApplication::translate(
                            "Cli", "Адрес %1: версия прибора \"%2\" не подходит к файлу, ничего не сравнено")
                            .arg(address)
                            .arg(Ui.RefusedVersion));
                Fail(CliRefused);
                Devices.append(QJsonObject{{QStringLiteral("address"), address},
                                           {QStringLiteral("status"), QStringLiteral("error")},
                                           {QStringLiteral("compared"), 0},
                                           {QStringLiteral("message"), QStringLiteral("другая версия")}});
                return false;
            }
            AddressLine(address, r.End.Text, r.Complete);
            Fail(r.End.Status);
            QJsonArray diffs;
            int compared = 0;
            if (r.End.Identified) {
                // Read values are the instrument's stored forms already.
                const TValueSetComparison c =
                    CompareValueSets(Type(), set.Values, Dev().Values, Ui.Delivered, true);
                compared = c.Compared;
                for (const TValueDifference& d : c.Differences) {
                    const TParam& p = Type().Param(d.Index);
                    Out(QCoreApplication::translate("Cli", "  \"%1\": файл %2, прибор %3")
                            .arg(p.Name, DisplayValue(p, d.File), DisplayValue(p, d.Device)));
                    diffs.append(QJsonObject{{QStringLiteral("name"), p.Name},
                                             {QStringLiteral("file"), d.File},
                                             {QStringLiteral("device"), d.Device}});
                }
            }
            ReportFailures(failures, r.Json);
            bool bitsChanged = false;
            if (r.End.Identified)
                r.Json.insert(QStringLiteral("bitStrings"),
                              BitStrings(set.Values, AllParams(),
                                         QCoreApplication::translate("Cli", "сравнено"), bitsChanged));
            // No "0 differences" for an instrument nothing was compared with.
            if (compared == 0)
                Problem(QCoreApplication::translate("Cli", "  ничего не сравнено"));
            else if (r.Complete)
                Out(QCoreApplication::translate("Cli", "  сравнено параметров: %1, различий: %2")
                        .arg(compared)
                        .arg(diffs.size()));
            else
                Problem(QCoreApplication::translate(
                            "Cli", "  сравнено только параметров: %1, различий среди них: %2")
                            .arg(compared)
                            .arg(diffs.size()));
            r.Json.insert(QStringLiteral("compared"), compared);
            r.Json.insert(QStringLiteral("differences"), diffs);
            if (!r.Complete)
                Fail(CliExchangeFailed);
            else if (!diffs.isEmpty())
                Fail(CliRefused);
            const bool ok = r.Complete && diffs.isEmpty() && compared > 0 && !bitsChanged;
            r.Json.insert(QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error"));
            Devices.append(r.Json);
            return ok;
        });
        return Finish(done, static_cast<int>(O.Addresses.size()));
    }

    int Measure() {
        for (const int k : O.Channels)
            if (k > Type().Channels)
                return EarlyExit(QCoreApplication::translate("Cli", "--channels: у типа \"%1\" каналов %2")
                                     .arg(Type().Name)
                                     .arg(Type().Channels),
                                 CliUsage);
        // A file appears only with its header and keeps whole lines: a full disk ends the run at
        // once with the file ending in the last complete reading.
        TLineFile csvFile(O.Csv);
        const bool toStdout = O.Csv == QLatin1String("-");
        const QByteArray header("time,minutes,address,channel,value\n");
        if (toStdout) {
            Print(stdout, QString::fromUtf8(header));
        } else if (!csvFile.Start(header)) {
            return EarlyExit(QCoreApplication::translate("Cli", "Не удалось создать файл \"%1\": %2")
                                 .arg(O.Csv, csvFile.Reason()),
                             CliFileError);
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
                QString now;
                {
                    const std::lock_guard<std::mutex> local(LocalTime);
                    now = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
                }
                const QByteArray line = QStringLiteral("%1,%2,%3,%4,%5\n")
                                            .arg(now, Numbers::FormatFixed(minutes, 5))
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
            const bool polled =
                Ui.LastStatus == QCoreApplication::translate("Exchange", "Измерение остановлено") && !Stop;
            const bool ok = polled && fileOk;
            const QString status =
                RunEnd(address, QCoreApplication::translate("Exchange", "Измерение остановлено")).Text;
            AddressLine(address,
                        QCoreApplication::translate("Cli", "%1, отсчётов: %2").arg(status).arg(points), ok);
            if (!polled)
                Fail(CliExchangeFailed);
            Devices.append(
                QJsonObject{{QStringLiteral("address"), address},
                            {QStringLiteral("message"), status},
                            {QStringLiteral("readings"), points},
                            {QStringLiteral("status"), ok ? QStringLiteral("ok") : QStringLiteral("error")}});
            return ok;
        });
        if (!fileOk) {
            Err(QCoreApplication::translate(
                    "Cli", "ошибка записи файла \"%1\": %2; измерение прекращено, в файле записаны "
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
            const QString status = Explained(CalibLoop(run));
            const bool ok = status == QCoreApplication::translate("Exchange", "Параметр откалиброван");
            AddressLine(address, status, ok);
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

// The progress of every line on one line of standard error (a terminal): "ttyUSB0 адрес 3 45% | ...".
class TProgressBoard {
public:
    explicit TProgressBoard(bool on) : On(on) {}
    // Caller holds the output lock.
    void Set(int line, const QString& text) {
        if (!On)
            return;
        if (text.isEmpty())
            Items.erase(line);
        else
            Items[line] = text;
        Draw();
    }
    void Clear() {
        if (Shown) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            Shown = false;
        }
    }
    void Draw() {
        if (!On)
            return;
        QStringList parts;
        for (const auto& [line, text] : Items)
            parts << text;
        winsize ws{};
        const int width = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 ? ws.ws_col : 80;
        const QString text = parts.join(QStringLiteral(" | ")).left(width - 1);
        std::fputs(("\r\033[K" + text).toUtf8().constData(), stderr);
        std::fflush(stderr);
        Shown = !text.isEmpty();
    }

private:
    bool On;
    bool Shown = false;
    std::map<int, QString> Items;
};

// A JSON document for a run that ends before any line starts.
int UsageError(const TCliOptions& o, const QString& text) {
    Print(stderr, QStringLiteral("kestrin-cli: ") + text + QLatin1Char('\n'));
    if (o.Json)
        PrintJson(QJsonObject{{QStringLiteral("command"), o.Command},
                              {QStringLiteral("error"), text},
                              {QStringLiteral("exit"), CliUsage},
                              {QStringLiteral("summary"), SummaryJson(0, 0, false, CliUsage)}});
    return CliUsage;
}

// Several lines at once: each port on its own thread with its own library handle, one exchange
// at a time per line. Everything a line reports is kept and written whole when the line ends,
// every text line under the port's name; one JSON document with a document per port; the
// highest exit status of the lines.
int RunLines(const TCliOptions& options, const QString& progDir, const std::atomic<bool>& stop) {
    // Two lines never write one file: every name the run may write, checked before it starts.
    for (const QString& file : {options.Out, options.Csv, options.Report}) {
        if (file.isEmpty())
            continue;
        const bool perAddress =
            file == options.Out && QFileInfo(file).suffix().toLower() != QLatin1String("json");
        QMap<QString, QString> names;
        for (const TCliLine& line : options.Lines) {
            const QList<int> addresses = perAddress ? line.Addresses : QList<int>{0};
            for (const int a : addresses) {
                const QString name = PerAddressName(PerPortName(file, line.Port), a, addresses.size() > 1);
                if (names.contains(name) && names.value(name) != line.Port)
                    return UsageError(options, QCoreApplication::translate(
                                                   "Cli", "порты %1 и %2 дают одно имя файла %3; задайте "
                                                          "их в разных запусках")
                                                   .arg(names.value(name), line.Port, name));
                names.insert(name, line.Port);
            }
        }
    }
    TCliShared shared;
    std::mutex output;
    TProgressBoard board(isatty(STDERR_FILENO) == 1 && !options.Json);
    std::vector<std::unique_ptr<TCli>> lines;
    QHash<QString, int> lineOf;
    shared.Progress = [&](const QString& port, const QString& label, int percent) {
        const std::lock_guard<std::mutex> lock(output);
        board.Set(lineOf.value(port),
                  percent < 0 ? QString() : QStringLiteral("%1 %2 %3%").arg(port, label).arg(percent));
    };
    // Everything that can be found out before the exchange, line by line, as for one port: a
    // wrong port, type or file stops the whole run before any line starts.
    for (const TCliLine& line : options.Lines) {
        TCliOptions o = options;
        o.Lines.clear();
        o.Port = line.Port;
        o.Addresses = line.Addresses;
        o.Out = PerPortName(options.Out, line.Port);
        o.Csv = PerPortName(options.Csv, line.Port);
        o.Report = PerPortName(options.Report, line.Port);
        lineOf.insert(line.Port, static_cast<int>(lines.size()));
        lines.push_back(std::make_unique<TCli>(std::move(o), progDir, stop, &shared));
        if (const int rc = lines.back()->Setup(); rc != CliOk)
            return rc;
    }
    std::vector<std::thread> threads;
    for (auto& cli : lines) {
        cli->KeepReport();
        threads.emplace_back([&output, &board, &cli] {
            cli->Command();
            const std::lock_guard<std::mutex> lock(output);
            board.Clear();
            cli->Flush();
            board.Draw();
        });
    }
    for (std::thread& t : threads)
        t.join();
    board.Clear();

    int exit = CliOk;
    int done = 0, total = 0, found = 0;
    QJsonArray ports;
    QStringList perPort;
    for (const auto& cli : lines) {
        exit = std::max(exit, cli->ExitStatus());
        QJsonObject doc = cli->Document();
        doc.remove(QStringLiteral("command"));
        const QJsonObject summary = doc.value(QStringLiteral("summary")).toObject();
        done += summary.value(QStringLiteral("done")).toInt();
        total += summary.value(QStringLiteral("total")).toInt();
        found += summary.value(QStringLiteral("found")).toInt();
        perPort << QStringLiteral("%1 — %2").arg(
            doc.value(QStringLiteral("port")).toString(),
            options.Command == QLatin1String("scan")
                ? QCoreApplication::translate("Cli", "найдено %1")
                      .arg(summary.value(QStringLiteral("found")).toInt())
                : QCoreApplication::translate("Cli", "%1 из %2")
                      .arg(summary.value(QStringLiteral("done")).toInt())
                      .arg(summary.value(QStringLiteral("total")).toInt()));
        ports.append(doc);
    }
    if (stop)
        exit = std::max(exit, static_cast<int>(CliExchangeFailed));
    if (options.Json) {
        QJsonObject summary{{QStringLiteral("ports"), static_cast<int>(lines.size())},
                            {QStringLiteral("stopped"), stop.load()},
                            {QStringLiteral("exit"), exit}};
        if (options.Command == QLatin1String("scan")) {
            summary.insert(QStringLiteral("found"), found);
        } else {
            summary.insert(QStringLiteral("done"), done);
            summary.insert(QStringLiteral("total"), total);
        }
        QJsonObject doc{{QStringLiteral("command"), options.Command},
                        {QStringLiteral("ports"), ports},
                        {QStringLiteral("summary"), summary},
                        {QStringLiteral("exit"), exit}};
        if (!options.Speed.isEmpty() && options.Speed != QLatin1String("all"))
            doc.insert(QStringLiteral("speed"), options.Speed.toInt());
        PrintJson(doc);
    } else {
        const QString text =
            options.Command == QLatin1String("scan")
                ? QCoreApplication::translate("Cli", "Всего по портам (%1): найдено приборов %2; %3.")
                      .arg(lines.size())
                      .arg(found)
                      .arg(perPort.join(QStringLiteral(", ")))
                : QCoreApplication::translate("Cli", "Всего по портам (%1): выполнено %2 из %3; %4.")
                      .arg(lines.size())
                      .arg(done)
                      .arg(total)
                      .arg(perPort.join(QStringLiteral(", ")));
        Print(options.Out == QLatin1String("-") ? stderr : stdout, text + QLatin1Char('\n'));
    }
    return exit;
}
} // namespace

int RunCli(const QStringList& args, const QString& progDir, const std::atomic<bool>& stop) {
    TCliOptions options;
    const QString error = ParseCliArgs(args, options);
    if (!error.isEmpty()) {
        Print(
            stderr,
            QCoreApplication::translate("Cli", "kestrin-cli: %1\nkestrin-cli --help: справка\n").arg(error));
        // A script that asked for JSON gets its one document even for a command line it got wrong.
        if (args.contains(QStringLiteral("--json")))
            PrintJson(QJsonObject{{QStringLiteral("command"), options.Command},
                                  {QStringLiteral("error"), error},
                                  {QStringLiteral("exit"), CliUsage},
                                  {QStringLiteral("summary"), SummaryJson(0, 0, false, CliUsage)}});
        return CliUsage;
    }
    if (options.Version && !options.Help) {
        if (options.Json)
            PrintJson(QJsonObject{{QStringLiteral("program"), QStringLiteral("kestrin-cli")},
                                  {QStringLiteral("version"), QString::fromLatin1(Launch::Version())}});
        else
            Print(stdout, QStringLiteral("kestrin-cli %1\n").arg(QString::fromLatin1(Launch::Version())));
        return CliOk;
    }
    if (options.Help) {
        Print(stdout, CliHelpText(options.Command));
        return CliOk;
    }
    if (options.Lines.size() > 1)
        return RunLines(options, progDir, stop);
    TCli cli(std::move(options), progDir, stop);
    return cli.Run();
}
