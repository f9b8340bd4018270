#include "app/Launch.h"
#include "app/Settings.h"
#include "common/Language.h"
#include "common/ProgDir.h"
#include "exchange/KvLibrary.h"
#include "exchange/PortList.h"
#include "model/AppState.h"
#include "ui/CalibDialog.h"
#include "ui/ConnectionDialog.h"
#include "ui/MainExchange.h"
#include "ui/MainWindow.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    // Answered before the toolkit starts: neither "--version" nor a missing display needs a window.
    if (const std::optional<int> status = Launch::BeforeToolkit(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Настройка приборов серии KestrinK1"));
    // The installed desktop entry and icon: shells match the window to kestrin.desktop by this name,
    // and the icon theme holds the program's icon once the package is installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrin"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kestrin")));
    // The language: --lang, else the setting, else the system locale. Qt's own texts (file dialogs,
    // standard buttons) follow it.
    const QString progDir = StartupFiles::ResolveProgDir();
    const QStringList args = QApplication::arguments().mid(1);
    const std::optional<QString> lang = Language::ArgValue(args);
    const std::optional<Language::TLanguage> langArg = lang ? Language::Parse(*lang) : std::nullopt;
    QString warning;
    Language::Install(Language::Choose(langArg, SettingsFile::Read(SettingsFile::Location(progDir)).Language,
                                       Language::FromSystemLocale()),
                      progDir, true, &warning);
    if (!warning.isEmpty())
        std::fprintf(stderr, "kestrin: %s\n", warning.toUtf8().constData());
    if (lang && !langArg) {
        std::fprintf(stderr, "%s\n",
                     QCoreApplication::translate("Launch", "kestrin: --lang: нужно en или ru, а не «%1»")
                         .arg(*lang)
                         .toUtf8()
                         .constData());
        return 1;
    }

    TAppState state;
    TQtUserDialogs dialogs;
    TKvLibrary library;
    TfrmMain main(state, dialogs);
    // A termination request closes the window as its close button does, so the settings are saved.
    Launch::OnTerminate(&main, [&main] { main.close(); });
    main.LoadPortList = [&](TAppState& s) {
        if (!library.Load(s.ProgDir)) {
            dialogs.Message(
                QCoreApplication::translate("main", "Ошибка! Не удалось загрузить библиотеку обмена:\r%1")
                    .arg(library.ErrorText()),
                QCoreApplication::translate("main", "Ошибка"), TMsgButtons::Ok);
            return false;
        }
        LoadPortList(library.Table(), s.PortList, s.SpeedList, &main);
        s.ReadPortList = [&library, &main] { return ReadPortList(library.Table(), &main); };
        return true;
    };
    if (!main.FormCreate())
        return 1; // the reason was shown; nothing else was created
    TMainExchange exchange(main, library.Table());
    main.CreateDialogs();
    // Owned by the main window; hidden between uses.
    auto* frmDevSet = new TfrmDevSet(main, state, dialogs, library.Table(), &main);
    frmDevSet->setObjectName(QStringLiteral("frmDevSet"));
    main.ShowDevSetDialog = [frmDevSet] { return frmDevSet->Execute(); };
    auto* frmCalib = new TfrmCalib(state, library.Table(), &main);
    frmCalib->setObjectName(QStringLiteral("frmCalib"));
    QObject::connect(&main, &TfrmMain::TableCommand, frmCalib, [frmCalib](TTableCommand command) {
        if (command == TTableCommand::Calibrate)
            frmCalib->Execute();
    });
    main.show();
    return app.exec();
}
