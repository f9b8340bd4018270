// Fuzz entry point for the readers of INI text that users may hand-edit or that other programs may
// have written: the settings file and project files. Any input must be read without a crash; what
// was read must survive the program's own write and a second read unchanged, and an untouched line
// must keep every byte.
#include "app/Settings.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "model/Model.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// In memory where the system offers it: every write of the program's INI files is synced to disk.
QString TempPath(const char* name) {
    const QDir shm(QStringLiteral("/dev/shm"));
    return (shm.exists() && QFileInfo(shm.path()).isWritable() ? shm : QDir::temp())
        .filePath(QStringLiteral("kestrin-fuzz-%1-%2")
                      .arg(QCoreApplication::applicationPid())
                      .arg(QLatin1String(name)));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    Check(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size(), "temp file");
}

QByteArray WithoutLineBreaks(QByteArray b) {
    b.replace('\r', QByteArray());
    b.replace('\n', QByteArray());
    return b;
}

bool SameSettings(const TSettings& a, const TSettings& b) {
    return a.Save == b.Save && (!a.Save || (a.Left == b.Left && a.Top == b.Top)) && a.Load == b.Load &&
           (!a.Load || a.Project == b.Project) && a.Hint == b.Hint && a.Confirm == b.Confirm &&
           a.ReWrite == b.ReWrite && a.ReRead == b.ReRead;
}

// Two catalogue entries with different numbers of parameters and values already present, as the
// open command finds them.
const QString KTypes[2] = {QStringLiteral("Kestrin K1"), QStringLiteral("Kestrin K1 mini")};
constexpr int KParams[2] = {6, 2};

std::vector<TDev> ReadProject(const TIniFile& ini) {
    std::vector<TDev> devs;
    for (int i = 0; i < 2; ++i) {
        TDev d(KParams[i]);
        for (int k = 0; k < KParams[i]; ++k)
            d.Values[k] = QStringLiteral("old%1").arg(k);
        UnpackValues(d, ini.ReadWholeString(KTypes[i], QStringLiteral("Device"), QString()));
        Check(d.Values.size() == KParams[i], "one value per parameter");
        devs.push_back(d);
    }
    // The main section's keys, as the open command reads them.
    (void)ini.ReadString(QStringLiteral("Main"), QStringLiteral("Version"), QString());
    (void)ini.ReadInteger(QStringLiteral("Main"), QStringLiteral("ActDevice"), 0);
    (void)ini.ReadString(QStringLiteral("Main"), QStringLiteral("COMPort"), QStringLiteral("COM1"));
    (void)ini.ReadInteger(QStringLiteral("Main"), QStringLiteral("BaudRate"), 9600);
    return devs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Removed when the run ends.
    static const struct TTempFiles {
        QString Input = TempPath("in.ini");
        QString Output = TempPath("out.ini");
        ~TTempFiles() {
            QFile::remove(Input);
            QFile::remove(Output);
        }
    } temp;
    const QString& input = temp.Input;
    const QString& output = temp.Output;

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    WriteFile(input, bytes);

    // An untouched file written back keeps every byte; only line ends become CR LF.
    {
        TIniFile ini(input);
        for (const QString& section : ini.ReadSections())
            for (const auto& [key, value] : ini.ReadSectionValues(section))
                Check(value.size() <= TIniFile::MaxValueLength, "values within their limit");
        if (ini.UpdateFile()) {
            QFile f(input);
            Check(f.open(QIODevice::ReadOnly), "rewritten file");
            Check(WithoutLineBreaks(f.readAll()) == WithoutLineBreaks(bytes),
                  "untouched text keeps its bytes");
        } else {
            Check(bytes.size() > TIniFile::MaxFileSize, "only an oversized file is not rewritten");
        }
        WriteFile(input, bytes);
    }

    // Settings: what was read is written back and read again unchanged; other sections stay.
    {
        const TSettings s = SettingsFile::Read(input);
        Check(SettingsFile::Write(input, s, s.Project, s.Left, s.Top), "settings written");
        Check(SameSettings(s, SettingsFile::Read(input)), "settings survive a write");
        const TIniFile before = [&] {
            TIniFile i;
            i.SetText(Cp1251::Decode(bytes));
            return i;
        }();
        const TIniFile after(input);
        for (const QString& section : before.ReadSections())
            if (section.compare(QStringLiteral("Main"), Qt::CaseInsensitive) != 0)
                Check(before.ReadSectionValues(section) == after.ReadSectionValues(section),
                      "other sections are left as they were");
        WriteFile(input, bytes);
    }

    // Project: the device values read are written the program's way and read back the same.
    {
        const TIniFile ini(input);
        const std::vector<TDev> devs = ReadProject(ini);
        WriteFile(output, QByteArray());
        TIniFile out(output);
        for (int i = 0; i < 2; ++i) {
            out.EraseSection(KTypes[i]);
            out.WriteString(KTypes[i], QStringLiteral("Device"), PackValues(devs[static_cast<size_t>(i)]));
        }
        Check(out.UpdateFile(), "project written");
        const std::vector<TDev> again = ReadProject(TIniFile(output));
        for (size_t i = 0; i < devs.size(); ++i)
            Check(again[i].Values == devs[i].Values, "project values survive a save and an open");
    }
    return 0;
}

// Hand-written and program-written files for the seeded mutator (and a libFuzzer corpus).
std::vector<QByteArray> FuzzSeeds() {
    const char* texts[] = {
        "[Main]\r\nSave=1\r\nLeft=$20\r\nTop=0x10\r\nLoad=1\r\nProject=/home/u/"
        "p.prj\r\nHint=0\r\nReWrite=3\r\n"
        "ReRead=-1\r\nConfirm=1\r\n[Monitor]\r\nWidth=600\r\n",
        "; comment\n[main]\n save = 0 \nLeft=1\n[Other]\nk=v\n[MAIN]\nLoad=1\n",
        "[Main]\r\nVersion=1.02\r\nActDevice=2\r\nCOMPort=ttyUSB0\r\nBaudRate=19200\r\nAddress=5\r\nActPage="
        "2\r\n"
        "[Kestrin K1]\r\nDevice=|1|2||\xC2\xEA\xEB|0|1|\r\n[Kestrin K1 "
        "mini]\r\nDevice=|a|b|c|\r\n[Notes]\r\nText=\x98\r\n",
        "[Kestrin K1]\rDevice=| a |b\r[Main\rProject=\r",
    };
    std::vector<QByteArray> seeds;
    for (const char* t : texts)
        seeds.emplace_back(t);
    return seeds;
}
