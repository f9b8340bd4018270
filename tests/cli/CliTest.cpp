// kestrin-cli against kestrin-sim on a pseudo-terminal: every command, the files it writes and
// reads, and the input it must refuse.
#include "CliRun.h"
#include "SimProcess.h"
#include "TestUtil.h"
#include "cli/CliArgs.h"
#include "cli/CliFiles.h"
#include "formats/DevTableGrid.h"
#include "formats/ParamSetFile.h"
#include "model/AppState.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {
const QString ProgDir = QStringLiteral(KESTRIN_PROGDIR);
// Parameter of the base and K1_205 descriptions: a real at location 00010A, factory value 20.
const QString ColdJunction = QStringLiteral("Температура холодного спая");

QJsonObject Json(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Requests that write (command 38) among the frames the simulator received.
int WriteRequests(const TSimProcess& sim) {
    int n = 0;
    for (const QString& frame : sim.Trace())
        if (frame.contains(QStringLiteral(";38;")))
            ++n;
    return n;
}

// The catalogue entry with its descriptions for a version.
std::unique_ptr<TAppState> Catalogue(const QString& version) {
    auto s = std::make_unique<TAppState>();
    s->ProgDir = ProgDir;
    s->LoadCatalogue();
    if (!version.isEmpty())
        LoadDescriptions(ProgDir, s->CurDevType(), version);
    return s;
}

QJsonArray Params(const QJsonObject& device) {
    return device.value("parameters").toArray();
}

// A read document with one parameter's value replaced.
QByteArray WithValue(QJsonObject device, const QString& name, const QString& value) {
    QJsonArray params = Params(device);
    for (int i = 0; i < params.size(); ++i) {
        QJsonObject o = params[i].toObject();
        if (o.value("name").toString() == name) {
            o.insert("value", value);
            params[i] = o;
        }
    }
    device.insert("parameters", params);
    return QJsonDocument(device).toJson();
}


// Waits (bounded) until done() holds.
template <class TDone> bool WaitFor(const TDone& done, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class Cli : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QStringList Line(const TSimProcess& sim, const QString& speed = QStringLiteral("9600")) const {
        return {QStringLiteral("--port"), sim.PtyPath(), QStringLiteral("--speed"), speed};
    }
    // Read of one address as a JSON device; bit strings, which cannot be read, get their factory values.
    QJsonObject ReadDevice(const TSimProcess& sim, int address) {
        const TCliResult r = RunCliProgram(QStringList{"read"} + Line(sim) +
                                           QStringList{"--address", QString::number(address), "--out", "-"});
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        QJsonObject device = Json(r.Out).value("devices").toArray().first().toObject();
        EXPECT_EQ(Params(device).size(), 48) << r.Out.toStdString();
        auto state = Catalogue(device.value("version").toString());
        QJsonArray params = Params(device);
        for (int i = 0; i < params.size(); ++i) {
            QJsonObject o = params[i].toObject();
            if (!o.value("read").toBool())
                o.insert("value", state->CurDevType().Param(i).Value);
            params[i] = o;
        }
        device.insert("parameters", params);
        return device;
    }
};
} // namespace

TEST(CliArgs, AddressListsSpeedsAndOptionsAreChecked) {
    QString why;
    EXPECT_EQ(ParseAddressList("1,2,5-9,2", &why), (QList<int>{1, 2, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ParseAddressList(" 255 ", &why), (QList<int>{255}));
    for (const char* bad : {"0", "256", "1-256", "9-5", "a", "1,,2", "", "-3"}) {
        EXPECT_FALSE(ParseAddressList(bad, &why)) << bad;
        EXPECT_FALSE(why.isEmpty());
    }
    TCliOptions o;
    EXPECT_TRUE(
        ParseCliArgs({"read", "--port", "P", "--speed", "19200", "--address", "3", "--json"}, o).isEmpty());
    EXPECT_TRUE(o.Json);
    for (const QStringList& bad :
         {QStringList{"read", "--port", "P", "--speed", "14400", "--address", "1"},
          QStringList{"read", "--port", "P", "--speed", "all", "--address", "1"},
          QStringList{"read", "--port", "P", "--address", "1"},
          QStringList{"write", "--port", "P", "--speed", "9600", "--address", "1"},
          QStringList{"read", "--port", "P", "--speed", "9600", "--address", "1", "--verify"},
          QStringList{"measure", "--port", "P", "--speed", "9600", "--address", "1", "--csv", "-"},
          QStringList{"measure", "--port", "P", "--speed", "9600", "--address", "1", "--seconds", "1",
                      "--csv", "-", "--json"},
          QStringList{"frobnicate"}, QStringList{"read", "--timeout", "0"}}) {
        TCliOptions x;
        EXPECT_FALSE(ParseCliArgs(bad, x).isEmpty()) << bad.join(' ').toStdString();
    }
    TCliOptions scan;
    EXPECT_TRUE(ParseCliArgs({"scan", "--port", "P", "--speed", "all"}, scan).isEmpty());
}

TEST_F(Cli, ReadWritesParameterSetsAndJsonPerAddressWithEachInstrumentsVersion) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "2:21:K1_205"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const TCliResult r = RunCliProgram(
        QStringList{"read"} + Line(sim) +
        QStringList{"--address", "1-2", "--out", Path("set.kpr"), "--json", "--trace", Path("trace.txt")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString() << r.Out.toStdString();
    // The trace has every request the instruments received and an answer to each, dated and timed to
    // the ms.
    const QStringList trace = QString::fromUtf8(FileBytes(Path("trace.txt"))).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(trace.size(), 2 * sim.Trace().size());
    const QRegularExpression stamp(
        QStringLiteral("^\\d\\d\\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\t"));
    for (int i = 0; i < trace.size(); ++i) {
        EXPECT_TRUE(stamp.match(trace[i]).hasMatch()) << trace[i].toStdString();
        EXPECT_TRUE(trace[i].contains(i % 2 == 0 ? QStringLiteral("→") : QStringLiteral("←")))
            << trace[i].toStdString();
    }
    EXPECT_TRUE(trace[0].contains(sim.Trace().first())) << trace[0].toStdString();
    const QJsonArray devices = Json(r.Out).value("devices").toArray();
    ASSERT_EQ(devices.size(), 2);
    for (int d = 0; d < 2; ++d) {
        const QJsonObject device = devices[d].toObject();
        const QString version = d == 0 ? QString() : QStringLiteral("K1_205");
        EXPECT_EQ(device.value("version").toString(), version);
        auto state = Catalogue(version);
        const TDevProp& type = state->CurDevType();
        const QJsonArray params = Params(device);
        ASSERT_EQ(params.size(), type.ParamCount());
        // Every readable parameter holds its factory value in the stored form.
        QStringList values;
        for (int i = 0; i < type.ParamCount(); ++i) {
            const QJsonObject p = params[i].toObject();
            EXPECT_EQ(p.value("name").toString(), type.Param(i).Name);
            values << p.value("value").toString();
            if (type.Param(i).VType == 4) {
                // Never read back: the factory value, marked as not read, so the set can be written again.
                EXPECT_FALSE(p.value("read").toBool());
                EXPECT_EQ(values.last(), type.Param(i).Value) << i;
            } else if (type.Param(i).Name != QStringLiteral("Сетевой адрес")) {
                EXPECT_EQ(values.last(), ExpectedReadBack(type.Param(i), type.Param(i).Value)) << i;
            }
        }
        // The parameter set holds the table of those values: names, option texts, check boxes.
        const QString file = Path(QStringLiteral("set_%1.kpr").arg(d + 1));
        TGridData grid;
        ASSERT_TRUE(ReadParamSetFile(grid, file).Ok);
        EXPECT_TRUE(DevTableNameMismatches(type, grid).isEmpty());
        const QStringList back = DevTableValuesFromGrid(type, grid);
        for (int i = 0; i < type.ParamCount(); ++i)
            if (type.Param(i).VType != 4) {
                EXPECT_EQ(back[i], values[i]) << type.Param(i).Name.toStdString();
            }
        EXPECT_EQ(FileBytes(file), ParamSetBytes(type, values));
    }
}

TEST_F(Cli, WriteFollowsTheSetAndVerifyCatchesAValueTheInstrumentDoesNotKeep) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "3:21", "--unkept", "00010A"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QJsonObject device = ReadDevice(sim, 1);
    WriteFile(Path("set.json"), WithValue(device, ColdJunction, "25.5"));

    // Nothing is sent by a dry run; it shows the requests.
    TCliResult r = RunCliProgram(QStringList{"write"} + Line(sim) +
                                 QStringList{"--address", "3", "--in", Path("set.json"), "--dry-run"});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    // The set's network address is 1; the instrument keeps its own.
    EXPECT_TRUE(r.Out.contains(":3;38;000101;03;")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(":3;38;00010A;0000CC41;")) << r.Out.toStdString();
    EXPECT_EQ(WriteRequests(sim), 0);

    r = RunCliProgram(QStringList{"write"} + Line(sim) +
                      QStringList{"--address", "1,3", "--in", Path("set.json"), "--verify", "--json"});
    EXPECT_EQ(r.Exit, 3) << r.Out.toStdString() << r.Err.toStdString();
    const QJsonArray written = Json(r.Out).value("devices").toArray();
    ASSERT_EQ(written.size(), 2);
    for (const QJsonValue& w : written) {
        const QJsonObject verify = w.toObject().value("verify").toObject();
        EXPECT_GT(verify.value("checked").toInt(), 40);
        const QJsonArray mismatches = verify.value("mismatches").toArray();
        ASSERT_EQ(mismatches.size(), 1) << r.Out.toStdString();
        EXPECT_EQ(mismatches[0].toObject().value("name").toString(), ColdJunction);
        EXPECT_EQ(mismatches[0].toObject().value("written").toString(), "25.5");
        EXPECT_EQ(mismatches[0].toObject().value("read").toString(), "20");
    }
    EXPECT_GT(WriteRequests(sim), 90);

    // diff names the one parameter that differs, and nothing for an equal set.
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "1", "--in", Path("set.json")});
    EXPECT_EQ(r.Exit, 3);
    EXPECT_TRUE(r.Out.contains(ColdJunction)) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("различий: 1")));
    WriteFile(Path("same.json"), QJsonDocument(device).toJson());
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "1", "--in", Path("same.json")});
    EXPECT_EQ(r.Exit, 0) << r.Out.toStdString();
}

TEST_F(Cli, WriteKeepsTheInstrumentsAddressUnlessAskedAndNeverMovesItOntoAnother) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "4:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QJsonObject device = ReadDevice(sim, 1); // network address 1
    WriteFile(Path("set.json"), QJsonDocument(device).toJson());
    const auto framesTo = [&](const QString& start) {
        int n = 0;
        for (const QString& frame : sim.Trace())
            n += frame.startsWith(start) ? 1 : 0;
        return n;
    };
    const int readsOf1 = framesTo(":1;");

    // The file's address is not written: the instrument at 4 stays there and is verified there.
    TCliResult r =
        RunCliProgram(QStringList{"write"} + Line(sim) +
                      QStringList{"--address", "4", "--in", Path("set.json"), "--verify", "--json"});
    EXPECT_EQ(r.Exit, 0) << r.Out.toStdString() << r.Err.toStdString();
    QJsonObject written = Json(r.Out).value("devices").toArray().first().toObject();
    EXPECT_FALSE(written.contains("newAddress")) << r.Out.toStdString();
    EXPECT_EQ(written.value("written").toArray().size(), 48);
    EXPECT_GT(written.value("verify").toObject().value("checked").toInt(), 40);
    EXPECT_EQ(framesTo(":4;38;000101;04;"), 1);
    EXPECT_EQ(framesTo(":1;"), readsOf1) << "nothing may go to the instrument at the file's address";

    // --file-address onto an address another instrument holds: refused, nothing written.
    const int writes = WriteRequests(sim);
    r = RunCliProgram(QStringList{"write"} + Line(sim) +
                      QStringList{"--address", "4", "--in", Path("set.json"), "--file-address"});
    EXPECT_EQ(r.Exit, 3) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("адрес 1 из файла занят"))) << r.Err.toStdString();
    EXPECT_EQ(WriteRequests(sim), writes);
    EXPECT_EQ(RunCliProgram(QStringList{"write"} + Line(sim) +
                            QStringList{"--address", "1,4", "--in", Path("set.json"), "--file-address"})
                  .Exit,
              1);

    // Onto a free address, and to another speed: both reported, and the check follows the instrument.
    QJsonObject moved = Json(QString::fromUtf8(WithValue(device, "Сетевой адрес", "7")));
    WriteFile(Path("moved.json"), WithValue(moved, "Скорость обмена", "6"));
    r = RunCliProgram(
        QStringList{"write"} + Line(sim) +
        QStringList{"--address", "4", "--in", Path("moved.json"), "--file-address", "--verify"});
    EXPECT_EQ(r.Exit, 0) << r.Out.toStdString() << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("сетевой адрес прибора изменён: 4 → 7")))
        << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("скорость обмена прибора изменена: 9600 → 19200")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("расхождений: 0")));
    EXPECT_GT(framesTo(":7;"), 40);
}

TEST_F(Cli, DiffAndWriteSayWhatWasComparedAndTakeAReadOfSeveralAddresses) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "2:21:K1_205"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    // A read of several addresses is a set for each of them, matched by address.
    TCliResult r = RunCliProgram(QStringList{"read"} + Line(sim) +
                                 QStringList{"--address", "1,2", "--out", Path("all.json")});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "2,1", "--in", Path("all.json"), "--json"});
    EXPECT_EQ(r.Exit, 0) << r.Out.toStdString() << r.Err.toStdString();
    const QJsonArray compared = Json(r.Out).value("devices").toArray();
    ASSERT_EQ(compared.size(), 2);
    for (const QJsonValue& d : compared) {
        EXPECT_EQ(d.toObject().value("status").toString(), "ok");
        // Every parameter but the bit strings.
        auto state = Catalogue(d.toObject().value("version").toString());
        int bitStrings = 0;
        for (int i = 0; i < state->CurDevType().ParamCount(); ++i)
            bitStrings += state->CurDevType().Param(i).VType == 4 ? 1 : 0;
        EXPECT_GE(bitStrings, 2);
        EXPECT_EQ(d.toObject().value("compared").toInt(), state->CurDevType().ParamCount() - bitStrings);
        EXPECT_EQ(d.toObject().value("bitStrings").toObject().value("count").toInt(), bitStrings);
    }
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "3", "--in", Path("all.json")});
    EXPECT_EQ(r.Exit, 3);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("нет прибора с адресом 3"))) << r.Err.toStdString();

    // An address that does not answer: nothing compared, and no "0 differences".
    const QJsonObject device = ReadDevice(sim, 1);
    WriteFile(Path("one.json"), QJsonDocument(device).toJson());
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "9", "--in", Path("one.json"), "--timeout", "100"});
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("ничего не сравнено"))) << r.Err.toStdString();
    EXPECT_FALSE((r.Out + r.Err).contains(QStringLiteral("различий"))) << r.Out.toStdString();

    // A bit-string value changed in the file is never sent: said per parameter, counted, not a pass.
    const QString mask = QStringLiteral("Маска опроса каналов");
    WriteFile(Path("mask.json"), WithValue(device, mask, "1010"));
    r = RunCliProgram(QStringList{"write"} + Line(sim) +
                      QStringList{"--address", "1", "--in", Path("mask.json"), "--verify", "--json"});
    EXPECT_EQ(r.Exit, 3) << r.Out.toStdString();
    const QJsonObject written = Json(r.Out).value("devices").toArray().first().toObject();
    EXPECT_EQ(written.value("status").toString(), "error");
    const QJsonArray changed = written.value("bitStrings").toObject().value("changed").toArray();
    ASSERT_EQ(changed.size(), 1) << r.Out.toStdString();
    EXPECT_EQ(changed[0].toObject().value("name").toString(), mask);
    EXPECT_EQ(written.value("verify").toObject().value("unverifiable").toInt(), 2);
    EXPECT_TRUE(written.value("verify").toObject().value("mismatches").toArray().isEmpty());
    r = RunCliProgram(QStringList{"diff"} + Line(sim) +
                      QStringList{"--address", "1", "--in", Path("mask.json")});
    EXPECT_EQ(r.Exit, 3) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains(mask + QStringLiteral("\" = 1010: не сравнено"))) << r.Err.toStdString();
}

TEST_F(Cli, RefusedInputSendsNothing) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "2:21:K1_205"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QJsonObject device = ReadDevice(sim, 1);
    ASSERT_EQ(Params(device).size(), 48);
    const int framesBefore = static_cast<int>(sim.Trace().size());
    const auto refused = [&](const QByteArray& content, const QString& name, const QStringList& named) {
        WriteFile(Path(name), content);
        const TCliResult r = RunCliProgram(QStringList{"write"} + Line(sim) +
                                           QStringList{"--address", "1", "--in", Path(name)});
        EXPECT_EQ(r.Exit, 3) << name.toStdString() << r.Err.toStdString();
        for (const QString& n : named)
            EXPECT_TRUE(r.Err.contains(n)) << name.toStdString() << ": " << r.Err.toStdString();
    };
    // Unknown and missing parameters, named.
    QJsonObject odd = device;
    QJsonArray params = Params(device);
    params.removeAt(3);
    params.append(QJsonObject{{"name", "Лишний параметр"}, {"value", "1"}});
    odd.insert("parameters", params);
    refused(QJsonDocument(odd).toJson(), "odd.json",
            {"Лишний параметр", Params(device)[3].toObject().value("name").toString()});
    // Values beyond limits, not numbers, not an option, empty.
    refused(WithValue(device, "Задержка ответа", "251"), "max.json", {"Задержка ответа", "250"});
    refused(WithValue(device, "Время индикации канала", "0"), "min.json", {"Время индикации канала"});
    refused(WithValue(device, ColdJunction, "2x"), "bad.json", {ColdJunction});
    refused(WithValue(device, "Скорость обмена", "9"), "option.json", {"Скорость обмена"});
    refused(WithValue(device, "Задержка ответа", ""), "empty.json",
            {"Неверно введен параметр \"Задержка ответа\""});
    // Another version or type.
    QJsonObject other = device;
    other.insert("version", "K1_205");
    refused(QJsonDocument(other).toJson(), "version.json", {"нет параметров"});
    other.insert("type", "Kestrin K1 mini");
    refused(QJsonDocument(other).toJson(), "type.json", {"Kestrin K1 mini"});
    // A parameter set of the other type's table.
    auto state = Catalogue(QString());
    const TDevProp& mini = *state->DevTypes[1];
    WriteFile(Path("mini.kpr"), ParamSetBytes(mini, QStringList(mini.ParamCount())));
    refused(FileBytes(Path("mini.kpr")), "mini.kpr", {"не подходит"});
    EXPECT_EQ(static_cast<int>(sim.Trace().size()), framesBefore) << "a refused file must send nothing";

    // A set of the K1_205 descriptions fits only an instrument of that version.
    auto v205 = Catalogue("K1_205");
    QStringList values;
    for (int i = 0; i < v205->CurDevType().ParamCount(); ++i) {
        const TParam& p = v205->CurDevType().Param(i);
        values << (p.Name == QStringLiteral("Сетевой адрес") ? QStringLiteral("1") : p.Value);
    }
    WriteFile(Path("v205.kpr"), ParamSetBytes(v205->CurDevType(), values));
    const TCliResult r = RunCliProgram(QStringList{"write"} + Line(sim) +
                                       QStringList{"--address", "1", "--in", Path("v205.kpr")});
    EXPECT_EQ(r.Exit, 3) << r.Out.toStdString();
    EXPECT_TRUE(r.Err.contains("K1_205")) << r.Err.toStdString();
    EXPECT_EQ(WriteRequests(sim), 0);
    const TCliResult ok = RunCliProgram(QStringList{"write"} + Line(sim) +
                                        QStringList{"--address", "2", "--in", Path("v205.kpr")});
    EXPECT_EQ(ok.Exit, 0) << ok.Out.toStdString() << ok.Err.toStdString();
}

TEST_F(Cli, BadLinesAddressesAndPathsAreReportedWithTheirStatus) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "3:21", "--silence-after", "20"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    // Usage errors.
    EXPECT_EQ(RunCliProgram({"read", "--port", "ttyNOSUCH9", "--speed", "9600", "--address", "1"}).Exit, 1);
    EXPECT_EQ(RunCliProgram(QStringList{"read"} + Line(sim, "14400") + QStringList{"--address", "1"}).Exit,
              1);
    EXPECT_EQ(RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "256"}).Exit, 1);
    EXPECT_EQ(
        RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "1", "--out", Path("x.txt")})
            .Exit,
        1);
    // An output path that cannot be created: found before anything is sent, nothing left behind.
    WriteFile(Path("plain"), "x");
    const QStringList before = QDir(Dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& out : {Path("plain/set.kpr"), QStringLiteral("/proc/kestrin-cli-test.json")}) {
        const TCliResult r =
            RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "1", "--out", out});
        EXPECT_EQ(r.Exit, 4) << out.toStdString();
        EXPECT_FALSE(r.Err.isEmpty());
    }
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(sim.Trace().isEmpty());
    // With --json every early error is still one document on standard output.
    for (const QStringList& early :
         {QStringList{"read", "--port", "ttyNOSUCH9", "--speed", "9600", "--address", "1", "--json"},
          QStringList{"read", "--json", "--port", sim.PtyPath(), "--speed", "14400", "--address", "1"},
          QStringList{"read"} + Line(sim) +
              QStringList{"--address", "1", "--out", Path("plain/x.json"), "--json"},
          QStringList{"measure"} + Line(sim) +
              QStringList{"--address", "1", "--seconds", "1", "--csv", Path("plain/m.csv"), "--json"}}) {
        const TCliResult r = RunCliProgram(early);
        const QJsonObject doc = Json(r.Out);
        EXPECT_NE(r.Exit, 0);
        EXPECT_FALSE(doc.value("error").toString().isEmpty())
            << early.join(' ').toStdString() << r.Out.toStdString();
        EXPECT_EQ(doc.value("summary").toObject().value("exit").toInt(-1), r.Exit)
            << early.join(' ').toStdString();
    }
    EXPECT_TRUE(sim.Trace().isEmpty());

    // The line goes silent during the first instrument: reported, and the next address still runs.
    const TCliResult r = RunCliProgram(QStringList{"read"} + Line(sim) +
                                       QStringList{"--address", "1,3", "--timeout", "100", "--json"});
    EXPECT_EQ(r.Exit, 2);
    const QJsonArray devices = Json(r.Out).value("devices").toArray();
    ASSERT_EQ(devices.size(), 2) << r.Out.toStdString();
    EXPECT_EQ(devices[0].toObject().value("status").toString(), "error");
    EXPECT_EQ(devices[0].toObject().value("failed").toArray().size(), 1);
    EXPECT_EQ(devices[1].toObject().value("address").toInt(), 3);
    EXPECT_EQ(devices[1].toObject().value("message").toString(), QStringLiteral("Нет связи с прибором!"));
    EXPECT_EQ(Json(r.Out).value("summary").toObject().value("done").toInt(), 0);
}

TEST_F(Cli, ReadReportsEachAddressWithWhatItGotAndNamesWhatIsMissing) {
    TSimProcess sim(ProgDir, {"--device", "2:21:K1_205", "--device", "5:7", "--device", "6:21:K1_777"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    // After an instrument of K1_205: an absent address, another type, a version without descriptions.
    TCliResult r = RunCliProgram(QStringList{"read"} + Line(sim) +
                                 QStringList{"--address", "2,3,5,6", "--timeout", "100", "--json"});
    EXPECT_EQ(r.Exit, 4) << r.Err.toStdString();
    const QJsonArray devices = Json(r.Out).value("devices").toArray();
    ASSERT_EQ(devices.size(), 4) << r.Out.toStdString();
    EXPECT_EQ(devices[0].toObject().value("version").toString(), "K1_205");
    for (int d = 1; d < 4; ++d) {
        const QJsonObject o = devices[d].toObject();
        EXPECT_FALSE(o.contains("parameters")) << d << r.Out.toStdString();
        EXPECT_EQ(o.value("status").toString(), "error");
        EXPECT_NE(o.value("version").toString(), "K1_205") << d;
    }
    EXPECT_EQ(devices[1].toObject().value("message").toString(), QStringLiteral("Нет связи с прибором!"));
    EXPECT_TRUE(devices[2].toObject().value("message").toString().contains(
        QStringLiteral("ответил прибор другого типа: номер типа 7")))
        << r.Out.toStdString();
    const QString noVersion = devices[3].toObject().value("message").toString();
    EXPECT_TRUE(noVersion.contains("K1_777") && noVersion.contains("data_ver/K1_777.dv"))
        << noVersion.toStdString();

    // Description files missing from the program directory: a file error, nothing written.
    const QString copy = Path("prog") + "/";
    ASSERT_TRUE(TestUtil::CopyProgramDir(copy, TestUtil::TCopyPrograms::CliAndSim));
    ASSERT_TRUE(QFile::remove(copy + "K1/data/dev_menu.ini"));
    r = RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "2", "--out", Path("x.kpr")},
                      60000, copy + "kestrin-cli");
    EXPECT_EQ(r.Exit, 4);
    EXPECT_TRUE(r.Err.contains("K1/data/dev_menu.ini")) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("x.kpr")));
    EXPECT_FALSE(r.Out.contains(QStringLiteral("завершено"))) << r.Out.toStdString();

    // A port another program holds: the code's meaning, not a bare number.
    QProcess holder;
    holder.setProcessEnvironment(CliEnvironment());
    holder.start(CliProgram(), QStringList{"measure"} + Line(sim) +
                                   QStringList{"--address", "2", "--seconds", "30", "--csv", Path("m.csv")});
    const auto framesBefore = sim.Trace().size();
    ASSERT_TRUE(holder.waitForStarted(10000));
    ASSERT_TRUE(WaitFor([&] { return sim.Trace().size() > framesBefore + 2; }, std::chrono::seconds(20)));
    r = RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "2"});
    ::kill(static_cast<pid_t>(holder.processId()), SIGINT);
    EXPECT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("-103 (порт не удалось открыть (занят другой программой")))
        << r.Err.toStdString();
}

TEST_F(Cli, AParameterTheInstrumentRefusesIsReportedAndTheReadGoesOn) {
    // A program directory whose descriptions have one parameter more than the instrument knows.
    const QString copy = Path("prog") + "/";
    ASSERT_TRUE(TestUtil::CopyProgramDir(copy, TestUtil::TCopyPrograms::CliAndSim));
    QFile ini(copy + "K1/data/device.ini");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("\r\n[Extra]\r\nVType=0\r\nAddress=$3FF\r\nValue=0\r\n");
    ini.close();
    TSimProcess sim(ProgDir, {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const TCliResult r =
        RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "1", "--json"}, 60000,
                      copy + "kestrin-cli");
    EXPECT_EQ(r.Exit, 2) << r.Err.toStdString();
    const QJsonObject device = Json(r.Out).value("devices").toArray().first().toObject();
    const QJsonArray failed = device.value("failed").toArray();
    ASSERT_EQ(failed.size(), 1) << r.Out.toStdString();
    EXPECT_EQ(failed[0].toObject().value("name").toString(), "Extra");
    EXPECT_EQ(failed[0].toObject().value("code").toInt(), -22); // "$1"
    EXPECT_TRUE(failed[0].toObject().value("meaning").toString().contains("$1")) << r.Out.toStdString();
    // Every other parameter was read.
    int read = 0;
    for (const QJsonValue& p : Params(device))
        read += p.toObject().value("read").toBool() ? 1 : 0;
    EXPECT_EQ(read, 48 - 2); // all but the two bit strings and the refused one
    // A read with a failed parameter is not reported complete.
    EXPECT_FALSE(device.value("message").toString().contains(QStringLiteral("завершено")))
        << device.value("message").toString().toStdString();
    EXPECT_TRUE(device.value("message").toString().contains(QStringLiteral("не прочитано параметров 1")));
    // Without --json the failure and its meaning go to standard error.
    const TCliResult text = RunCliProgram(QStringList{"read"} + Line(sim) + QStringList{"--address", "1"},
                                          60000, copy + "kestrin-cli");
    EXPECT_EQ(text.Exit, 2);
    EXPECT_TRUE(text.Err.contains(QStringLiteral("\"Extra\", ошибка -22: прибор ответил кодом ошибки")))
        << text.Err.toStdString();
    EXPECT_FALSE(text.Out.contains("Extra")) << text.Out.toStdString();
}

TEST_F(Cli, ScanPortsMeasureAndCalibrate) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "2:21:K1_205", "--device", "4:99",
                              "--calib-seconds", "0.3"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    TCliResult r = RunCliProgram({"ports", "--json"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(Json(r.Out).value("ports").toArray().contains(QJsonValue("SIM1"))) << r.Out.toStdString();

    r = RunCliProgram({"--version"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(QRegularExpression("^kestrin-cli \\d+\\.\\d+").match(r.Out).hasMatch())
        << r.Out.toStdString();
    r = RunCliProgram({"measure", "--help"});
    EXPECT_TRUE(r.Out.contains("time,minutes,address,channel,value")) << r.Out.toStdString();

    r = RunCliProgram({"scan", "--port", sim.PtyPath(), "--speed", "9600", "--json"});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(Json(r.Out).value("summary").toObject().value("found").toInt(), 2) << r.Out.toStdString();
    const QJsonArray found = Json(r.Out).value("found").toArray();
    ASSERT_EQ(found.size(), 2) << r.Out.toStdString();
    // Nothing found at a speed nobody uses: not a success.
    r = RunCliProgram({"scan", "--port", sim.PtyPath(), "--speed", "300", "--json"});
    EXPECT_EQ(r.Exit, 2) << r.Out.toStdString();
    EXPECT_EQ(Json(r.Out).value("summary").toObject().value("found").toInt(-1), 0) << r.Out.toStdString();
    // A port held by another program: the search did not happen, so it is not called complete.
    {
        const int holder = ::open(QFile::encodeName(sim.PtyPath()).constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
        r = RunCliProgram({"scan", "--port", sim.PtyPath(), "--speed", "9600"});
        ::close(holder);
        EXPECT_EQ(r.Exit, 2);
        EXPECT_FALSE(r.Out.contains(QStringLiteral("завершен"))) << r.Out.toStdString();
        EXPECT_TRUE(r.Err.contains(QStringLiteral("выполнен не полностью")) && r.Err.contains("-103"))
            << r.Err.toStdString();
    }
    EXPECT_EQ(found[1].toObject().value("address").toInt(), 2);
    EXPECT_EQ(found[1].toObject().value("version").toString(), "K1_205");
    EXPECT_EQ(found[1].toObject().value("type").toString(), "Kestrin K1");

    // One line per reading, each channel at most once per Tmin (0.7 s).
    r = RunCliProgram(
        QStringList{"measure"} + Line(sim) +
        QStringList{"--address", "1", "--channels", "1,3", "--seconds", "1.6", "--csv", Path("m.csv")});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    QStringList lines = QString::fromUtf8(FileBytes(Path("m.csv"))).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 5) << r.Out.toStdString();
    EXPECT_EQ(lines.takeFirst(), "time,minutes,address,channel,value");
    std::map<int, double> last;
    for (const QString& line : lines) {
        const QStringList f = line.split(',');
        ASSERT_EQ(f.size(), 5) << line.toStdString();
        EXPECT_TRUE(QDateTime::fromString(f[0], Qt::ISODateWithMs).isValid());
        const int channel = f[3].toInt();
        EXPECT_TRUE(channel == 1 || channel == 3) << line.toStdString();
        bool ok = false;
        f[4].toDouble(&ok);
        EXPECT_TRUE(ok);
        const double minutes = f[1].toDouble();
        if (last.count(channel)) {
            EXPECT_GE((minutes - last[channel]) * 60, 0.69);
        }
        last[channel] = minutes;
    }

    r = RunCliProgram(QStringList{"calibrate"} + Line(sim) +
                      QStringList{"--address", "1,2", "--what", "compensator"});
    EXPECT_EQ(r.Exit, 0) << r.Out.toStdString();
    EXPECT_EQ(r.Out.count(QStringLiteral("Параметр откалиброван")), 2);
    EXPECT_TRUE(sim.Trace().join('\n').contains(":2;38;001000;10;"));
}

TEST_F(Cli, InterruptStopsAtAParameterBoundaryAndSkipsTheRest) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--device", "2:21", "--timing", "--speed", "1200"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    QProcess p;
    p.setProcessEnvironment(CliEnvironment());
    p.start(CliProgram(),
            QStringList{"read"} + Line(sim, "1200") + QStringList{"--address", "1,2", "--json"});
    ASSERT_TRUE(p.waitForStarted(10000));
    // Wait until parameters are being read, then Ctrl+C.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (sim.Trace().size() < 5 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_GE(sim.Trace().size(), 5);
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QJsonObject doc = Json(QString::fromUtf8(p.readAllStandardOutput()));
    const QJsonArray devices = doc.value("devices").toArray();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices[0].toObject().value("message").toString(), QStringLiteral("Чтение остановлено"));
    EXPECT_EQ(devices[1].toObject().value("status").toString(), "stopped");
    EXPECT_TRUE(doc.value("summary").toObject().value("stopped").toBool());
    // No request went to the second instrument.
    for (const QString& frame : sim.Trace())
        EXPECT_FALSE(frame.startsWith(":2;")) << frame.toStdString();
}

TEST_F(Cli, InterruptedWriteSaysStoppingAndListsWhatWasWritten) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--timing", "--speed", "1200"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    // The factory set for the instrument at address 1 (speed index 2: 1200 baud).
    auto state = Catalogue(QString());
    const TDevProp& type = state->CurDevType();
    QStringList values;
    for (int i = 0; i < type.ParamCount(); ++i)
        values << (type.Param(i).Name == QStringLiteral("Сетевой адрес")     ? QStringLiteral("1")
                   : type.Param(i).Name == QStringLiteral("Скорость обмена") ? QStringLiteral("2")
                                                                             : type.Param(i).Value);
    WriteFile(Path("set.kpr"), ParamSetBytes(type, values));
    QProcess p;
    p.setProcessEnvironment(CliEnvironment());
    p.start(CliProgram(), QStringList{"write"} + Line(sim, "1200") +
                              QStringList{"--address", "1", "--in", Path("set.kpr")});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(WaitFor([&] { return WriteRequests(sim) >= 5; }, std::chrono::seconds(20)));
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("остановка…"))) << err.toStdString();
    // Every parameter the instrument acknowledged, by name, and no other.
    const int sent = WriteRequests(sim);
    EXPECT_LT(sent, 48);
    EXPECT_TRUE(err.contains(QStringLiteral("записано параметров %1 из 48: \"Сетевой адрес\"").arg(sent)))
        << err.toStdString();
}

TEST_F(Cli, HangupBrokenPipeAndASecondInterruptEndTheRunAndLeaveThePortFree) {
    TSimProcess sim(ProgDir, {"--device", "1:21", "--timing", "--speed", "1200"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    // The next run opens the port at once.
    const auto portFree = [&] {
        const TCliResult r = RunCliProgram(
            QStringList{"measure"} + Line(sim, "1200") +
            QStringList{"--address", "1", "--channels", "1", "--seconds", "0.3", "--csv", Path("m.csv")});
        return r.Exit == 0 ? std::string() : r.Err.toStdString();
    };
    const auto framesReceived = [&](int n) {
        return WaitFor([&] { return sim.Trace().size() >= n; }, std::chrono::seconds(20));
    };

    // measure --csv - | head -n 2: the reader goes away.
    {
        QProcess cli, head;
        cli.setStandardOutputProcess(&head);
        head.setStandardOutputFile(Path("head.txt"));
        head.start("head", {"-n", "2"});
        cli.setProcessEnvironment(CliEnvironment());
        cli.start(CliProgram(), QStringList{"measure"} + Line(sim, "1200") +
                                    QStringList{"--address", "1", "--seconds", "120", "--csv", "-"});
        ASSERT_TRUE(cli.waitForStarted(10000));
        ASSERT_TRUE(cli.waitForFinished(30000)) << "a closed output pipe must end the run";
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains("SIGPIPE"));
        head.waitForFinished(5000);
        EXPECT_EQ(portFree(), "");
    }
    // A dropped SSH session: SIGHUP.
    {
        const int before = static_cast<int>(sim.Trace().size());
        QProcess cli;
        cli.setProcessEnvironment(CliEnvironment());
        cli.start(CliProgram(),
                  QStringList{"read"} + Line(sim, "1200") + QStringList{"--address", "1", "--json"});
        ASSERT_TRUE(cli.waitForStarted(10000));
        ASSERT_TRUE(framesReceived(before + 5));
        ::kill(static_cast<pid_t>(cli.processId()), SIGHUP);
        ASSERT_TRUE(cli.waitForFinished(10000));
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 2);
        const QJsonObject doc = Json(QString::fromUtf8(cli.readAllStandardOutput()));
        EXPECT_TRUE(doc.value("summary").toObject().value("stopped").toBool());
        EXPECT_EQ(portFree(), "");
    }
    // A long time-out on an absent address: the first Ctrl+C says so at once, the second ends it.
    {
        const int before = static_cast<int>(sim.Trace().size());
        QProcess cli;
        cli.setProcessEnvironment(CliEnvironment());
        cli.start(CliProgram(), QStringList{"read"} + Line(sim, "1200") +
                                    QStringList{"--address", "9", "--timeout", "60000"});
        ASSERT_TRUE(cli.waitForStarted(10000));
        ASSERT_TRUE(framesReceived(before + 1));
        ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
        QString err;
        EXPECT_TRUE(WaitFor(
            [&] {
                cli.waitForReadyRead(20);
                err += QString::fromUtf8(cli.readAllStandardError());
                return err.contains(QStringLiteral("остановка…"));
            },
            std::chrono::seconds(5)))
            << err.toStdString();
        EXPECT_EQ(cli.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
        ASSERT_TRUE(cli.waitForFinished(5000)) << "a second Ctrl+C must end the run at once";
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 2);
        EXPECT_EQ(portFree(), "");
    }
}
