// kestrin-cli on a line behind a device server: kestrin-sim serving raw TCP, named in kvcom.ini's
// [Net] or given as an address.
#include "CliRun.h"
#include "TestUtil.h"
#include "sim/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QJsonObject JsonOf(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}
} // namespace

TEST(CliNet, ReadsOverADeviceServerByAddressAndByItsNetName) {
    const QString progDir = QStringLiteral(KESTRIN_PROGDIR);
    TestSupport::TSimProcess sim({"--progdir", progDir, "--device", "1:21", "--tcp", "0"});
    ASSERT_TRUE(sim.Started()) << sim.Stderr().constData();
    const QString address = "tcp://127.0.0.1:" + sim.Path();

    TCliResult r = RunCliProgram({"read", "--port", address, "--speed", "9600", "--address", "1", "--json"});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject device = JsonOf(r.Out).value("devices").toArray().first().toObject();
    EXPECT_EQ(device.value("address").toInt(), 1) << r.Out.toStdString();
    EXPECT_EQ(device.value("status").toString(), "ok") << r.Out.toStdString();

    // A malformed address is a usage error that names what is wrong, before any exchange.
    r = RunCliProgram({"read", "--port", "tcp://127.0.0.1", "--speed", "9600", "--address", "1"});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("не указан порт"))) << r.Err.toStdString();

    // The name from kvcom.ini is in the port list and stands for the address.
    QTemporaryDir copy;
    ASSERT_TRUE(TestUtil::CopyProgramDir(copy.path(), TestUtil::TCopyPrograms::CliAndSim));
    QFile ini(copy.filePath("kvcom.ini"));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write(("\r\n[Net]\r\nNET1=" + address + "\r\n").toLatin1());
    ini.close();
    const QString cli = copy.filePath("kestrin-cli");
    r = RunCliProgram({"ports", "--json"}, 60000, cli);
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(JsonOf(r.Out).value("ports").toArray().contains(QStringLiteral("NET1")))
        << r.Out.toStdString();
    r = RunCliProgram({"read", "--port", "NET1", "--speed", "9600", "--address", "1", "--json"}, 60000, cli);
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(JsonOf(r.Out).value("devices").toArray().first().toObject().value("status").toString(), "ok")
        << r.Out.toStdString();
}
