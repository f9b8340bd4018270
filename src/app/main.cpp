#include "AppState.h"
#include "KvLibrary.h"
#include "Main_u.h"
#include "MainExchange.h"
#include "PortList.h"
#include "UserDialogs.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Настройка приборов серии KestrinK1"));

    TAppState state;
    TQtUserDialogs dialogs;
    TKvLibrary library;
    TfrmMain main(state, dialogs);
    main.LoadPortList = [&](TAppState& s) {
        if (!library.Load(s.ProgDir)) {
            dialogs.Message(QStringLiteral("Ошибка! Не удалось загрузить библиотеку обмена:\r") + library.ErrorText(),
                            QStringLiteral("Ошибка"), TMsgButtons::Ok);
            return false;
        }
        LoadPortList(library.Table(), s.PortList, s.SpeedList, &main);
        return true;
    };
    if (!main.FormCreate())
        return 1; // the reason was shown; nothing else was created
    TMainExchange exchange(main, library.Table());
    main.CreateDialogs();
    main.show();
    return app.exec();
}
