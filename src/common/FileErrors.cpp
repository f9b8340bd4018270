#include "common/FileErrors.h"

#include <QCoreApplication>
#include <cerrno>
#include <initializer_list>

QString FileErrorReason(const QString& systemText, bool writing) {
    struct TReason {
        std::initializer_list<int> Codes;
        const char* Text; // source text of the translation
    };
    // Compared with the texts Qt itself gives for these codes, so the system's language does not
    // matter.
    const TReason reasons[] = {
        {{ENOENT, ENOTDIR},
         writing ? QT_TRANSLATE_NOOP("Common", "папка не найдена")
                 : QT_TRANSLATE_NOOP("Common", "файл не найден")},
        {{EACCES, EPERM}, QT_TRANSLATE_NOOP("Common", "нет прав доступа")},
        {{ENOSPC, EDQUOT}, QT_TRANSLATE_NOOP("Common", "на диске нет места")},
        {{EROFS}, QT_TRANSLATE_NOOP("Common", "файловая система доступна только для чтения")},
    };
    for (const TReason& r : reasons)
        for (const int code : r.Codes) {
            const QString known = qt_error_string(code);
            if (!known.isEmpty() && systemText.contains(known, Qt::CaseInsensitive))
                return QCoreApplication::translate("Common", r.Text);
        }
    return systemText;
}
