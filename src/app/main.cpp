#include "AppState.h"
#include "ProgDir.h"
#include "Settings.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Настройка приборов серии KestrinK1"));

    TAppState state;
    state.ProgDir = StartupFiles::ResolveProgDir();
    StartupFiles::UseDotDecimalSeparator();
    if (!StartupFiles::CheckRequiredFiles(state.ProgDir)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"),
                        QStringLiteral("Ошибка! Не найдены файлы необходимые для работы программы!"),
                        QMessageBox::Ok);
        box.exec();
        return 1;
    }
    state.Settings = SettingsFile::Read(state.ProgDir + QStringLiteral("kestrin.ini"));
    state.SpeedList = {QStringLiteral("300"),  QStringLiteral("600"),  QStringLiteral("1200"), QStringLiteral("2400"),
                       QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200")};
    state.LoadCatalogue();

    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Настройка приборов серии Kestrin K1"));
    w.resize(700, 509);
    w.setMinimumSize(600, 480);
    w.show();
    return app.exec();
}
