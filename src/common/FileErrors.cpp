#include "common/FileErrors.h"

#include <cerrno>
#include <initializer_list>

QString FileErrorReason(const QString& systemText, bool writing) {
    struct TReason {
        std::initializer_list<int> Codes;
        const char16_t* Text;
    };
    // Compared with the texts Qt itself gives for these codes, so the system's language does not
    // matter.
    const TReason reasons[] = {
        {{ENOENT, ENOTDIR}, writing ? u"папка не найдена" : u"файл не найден"},
        {{EACCES, EPERM}, u"нет прав доступа"},
        {{ENOSPC, EDQUOT}, u"на диске нет места"},
        {{EROFS}, u"файловая система доступна только для чтения"},
    };
    for (const TReason& r : reasons)
        for (const int code : r.Codes) {
            const QString known = qt_error_string(code);
            if (!known.isEmpty() && systemText.contains(known, Qt::CaseInsensitive))
                return QString::fromUtf16(r.Text);
        }
    return systemText;
}
