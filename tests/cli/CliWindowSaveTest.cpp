// A parameter set that kestrin-cli reads from an instrument is the file the window saves for the
// same values: the same bytes.
#include "CliRun.h"
#include "MainFixture.h"
#include "SimProcess.h"
#include "common/Language.h"
#include "ui/DevTable.h"

#include <QPushButton>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
class CliWindowSave : public MainFixture {};

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST_F(CliWindowSave, ReadOfAnInstrumentGivesTheWindowsSaveByteForByte) {
    TSimProcess sim(QStringLiteral(KESTRIN_PROGDIR), {"--device", "1:21"});
    ASSERT_FALSE(sim.PtyPath().isEmpty());
    const QString cliFile = Dir.filePath("cli.kpr");
    const TCliResult r = RunCliProgram(
        {"read", "--port", sim.PtyPath(), "--speed", "9600", "--address", "1", "--out", cliFile, "--json"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonArray params = QJsonDocument::fromJson(r.Out.toUtf8())
                                  .object()
                                  .value("devices")
                                  .toArray()
                                  .first()
                                  .toObject()
                                  .value("parameters")
                                  .toArray();

    // The window at its default size, its table showing the same values row by row as read-all does.
    ASSERT_TRUE(Start());
    NewProject();
    Main->show();
    QApplication::processEvents();
    TDev& dev = State.CurDev();
    ASSERT_EQ(params.size(), dev.Values.size());
    for (int i = 0; i < params.size(); ++i) {
        dev.Values[i] = params[i].toObject().value("value").toString();
        DevView().ShowParamRow(dev, i);
    }
    const QString windowFile = Dir.filePath("window.kpr");
    Dialogs.FileNames = {windowFile};
    Dialogs.FilterIndices = {0};
    Trigger("actDevSave");
    ASSERT_TRUE(QFileInfo::exists(windowFile));
    EXPECT_EQ(FileBytes(cliFile).toHex().toStdString(), FileBytes(windowFile).toHex().toStdString());
    EXPECT_EQ(DevView().ColWidth(0), 399);
    EXPECT_EQ(DevView().ColWidth(1), 133);
}

// What is stored does not follow the language: a project, a parameter set and a text export written by a
// window that speaks English are the bytes a Russian one writes.
TEST_F(CliWindowSave, ProjectParameterSetAndExportAreTheSameBytesInEnglishAndRussian) {
    std::map<QString, QByteArray> written[2];
    const Language::TLanguage languages[] = {Language::TLanguage::English, Language::TLanguage::Russian};
    for (int run = 0; run < 2; ++run) {
        QString warning;
        ASSERT_EQ(Language::Install(languages[run], ProgDir, true, &warning), languages[run])
            << warning.toStdString();
        // The English translation is really in use.
        if (run == 0) {
            EXPECT_EQ(QCoreApplication::translate("Model", "Проект был сохранен"),
                      QStringLiteral("The project was saved"));
        }
        ASSERT_TRUE(Start());
        NewProject();
        ASSERT_TRUE(Trigger("actDevDef"));
        TDev& dev = State.CurDev();
        dev.Values[2] = QStringLiteral("15");
        DevView().ShowParamRow(dev, 2);
        const QString dir = Dir.filePath(QString::number(run) + QStringLiteral("/"));
        ASSERT_TRUE(QDir().mkpath(dir));
        Dialogs.FileNames = {dir + "set.kpr"};
        Dialogs.FilterIndices = {0};
        ASSERT_TRUE(Trigger("actDevSave"));
        Dialogs.FileNames = {dir + "set.txt"};
        Dialogs.FilterIndices = {1};
        ASSERT_TRUE(Trigger("actDevSave"));
        Dialogs.FileNames = {dir + "first.prj"};
        ASSERT_TRUE(Trigger("actSave"));
        for (const char* name : {"set.kpr", "set.txt", "first.prj"}) {
            written[run][name] = FileBytes(dir + name);
            EXPECT_FALSE(written[run][name].isEmpty()) << name;
        }
        State.PrjState = TPrjState::PrjNone;
        Main.reset();
    }
    for (const auto& [name, bytes] : written[1]) {
        // The project names its own path, which differs between the runs' folders.
        QByteArray english = written[0][name];
        english.replace(Dir.filePath("0/").toUtf8(), Dir.filePath("1/").toUtf8());
        EXPECT_TRUE(english == bytes) << name.toStdString() << ":\n"
                                      << english.left(400).toStdString() << "\n---\n"
                                      << bytes.left(400).toStdString();
    }
    Language::Install(Language::TLanguage::Russian, ProgDir, true, nullptr);
}
