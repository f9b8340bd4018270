// A parameter set that kestrin-cli reads from an instrument is the file the window saves for the
// same values: the same bytes.
#include "CliRun.h"
#include "MainFixture.h"
#include "SimProcess.h"
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
