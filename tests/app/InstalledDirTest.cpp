// A program directory that belongs to an installation: the user's own files take the place of the
// writable ones, and nothing is written into the program directory.
#include "TestUtil.h"
#include "common/ProgDir.h"
#include "app/Settings.h"
#include "kvcom/kvcom.h"

#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {
class InstalledDir : public ::testing::Test {
protected:
    QTemporaryDir Prog;
    QTemporaryDir Config;
    QString ProgDir;

    void SetUp() override {
        ProgDir = Prog.path() + "/";
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }
    void MarkInstalled(const QString& dir) const {
        TestUtil::WriteBytes(dir + StartupFiles::InstalledMarker, "installed");
    }
};

// The port list of a private copy of the library in dir (kept loaded, as the program keeps it).
QString PortsOfLibraryIn(const QString& dir) {
    const QString lib = dir + "libkvcom.so";
    if (!QFile::copy(QStringLiteral(KESTRIN_PROGDIR "libkvcom.so"), lib))
        return QStringLiteral("(no library)");
    void* module = dlopen(QFile::encodeName(lib).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return QStringLiteral("(not loaded)");
    const auto create = reinterpret_cast<decltype(&KV_CreateCOM)>(dlsym(module, "KV_CreateCOM"));
    const auto search =
        reinterpret_cast<decltype(&KV_SearchAvailableCOMPorts)>(dlsym(module, "KV_SearchAvailableCOMPorts"));
    const auto freeCom = reinterpret_cast<decltype(&KV_FreeCOM)>(dlsym(module, "KV_FreeCOM"));
    int32_t h = create();
    char ports[KV_PORTS_BUFFER_SIZE] = {};
    const int32_t rc = search(h, 0, nullptr, ports);
    freeCom(&h);
    return rc == KV_OK ? QString::fromLatin1(ports) : QStringLiteral("(search failed)");
}
} // namespace

TEST_F(InstalledDir, SettingsGoToTheUsersCopyMadeOnceFromTheShippedFile) {
    const QString shipped = ProgDir + "kestrin.ini";
    TestUtil::WriteCp1251(shipped, QStringLiteral("[Main]\nHint=1\nReRead=7\n"));
    // A writable directory without the marker keeps its own settings file, as always.
    EXPECT_EQ(SettingsFile::Location(ProgDir), shipped);
    EXPECT_FALSE(QFileInfo::exists(Config.path() + "/kestrin"));

    MarkInstalled(ProgDir);
    // An installed file is read-only; the user's copy must still take the close's write.
    QFile::setPermissions(shipped, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray shippedBytes = TestUtil::ReadBytes(shipped);
    const QString own = SettingsFile::Location(ProgDir);
    EXPECT_EQ(own, Config.path() + "/kestrin/kestrin.ini");
    EXPECT_EQ(SettingsFile::Read(own).ReRead, 7);
    TSettings changed = SettingsFile::Read(own);
    changed.ReRead = 3;
    QString error;
    ASSERT_TRUE(SettingsFile::Write(own, changed, QString(), 0, 0, &error)) << error.toStdString();
    // The next start keeps the user's settings instead of copying the shipped ones again.
    EXPECT_EQ(SettingsFile::Read(SettingsFile::Location(ProgDir)).ReRead, 3);
    EXPECT_EQ(TestUtil::ReadBytes(shipped), shippedBytes);

    // A relative XDG_CONFIG_HOME is not a base directory: the default one under home is.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(StartupFiles::UserConfigDir(), QDir::homePath() + "/.config/kestrin/");
}

TEST_F(InstalledDir, UsersKvcomIniReplacesTheShippedOneOnlyBesideAnInstalledLibrary) {
    const QString shippedIni = QStringLiteral("[Ports]\nDemo=1\n");
    TestUtil::WriteCp1251(Config.path() + "/kestrin/kvcom.ini",
                          QStringLiteral("[Ports]\nDemo=0\nExtra=/dev/kestrin-own-port\n"));
    QTemporaryDir installed;
    QTemporaryDir build;
    const QString installedDir = installed.path() + "/";
    const QString buildDir = build.path() + "/";
    TestUtil::WriteCp1251(installedDir + "kvcom.ini", shippedIni);
    TestUtil::WriteCp1251(buildDir + "kvcom.ini", shippedIni);
    MarkInstalled(installedDir);

    const QString installedPorts = PortsOfLibraryIn(installedDir);
    EXPECT_TRUE(installedPorts.contains("/dev/kestrin-own-port;")) << installedPorts.toStdString();
    EXPECT_FALSE(installedPorts.contains("SIM1")) << installedPorts.toStdString();
    const QString buildPorts = PortsOfLibraryIn(buildDir);
    EXPECT_TRUE(buildPorts.contains("SIM1;")) << buildPorts.toStdString();
    EXPECT_FALSE(buildPorts.contains("kestrin-own-port")) << buildPorts.toStdString();
}
