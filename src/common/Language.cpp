#include "common/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace Language {
namespace {
TLanguage InEffect = TLanguage::Russian;
// What the last Install put in; the next one takes them out first.
std::vector<QTranslator*> Installed;
} // namespace

std::optional<TLanguage> Parse(const QString& code) {
    const QString c = code.trimmed().toLower();
    if (c == QLatin1String("ru"))
        return TLanguage::Russian;
    if (c == QLatin1String("en"))
        return TLanguage::English;
    return std::nullopt;
}

std::optional<QString> ArgValue(const QStringList& args) {
    std::optional<QString> value;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lang"))
            value = i + 1 < args.size() ? args[++i] : QString();
        else if (args[i].startsWith(QLatin1String("--lang=")))
            value = args[i].mid(7);
    }
    return value;
}

TLanguage FromLocale(const std::function<QString(const char*)>& env) {
    QString locale;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = env(name);
        if (name == std::string_view("LANGUAGE"))
            locale = locale.section(QLatin1Char(':'), 0, 0);
        if (!locale.isEmpty())
            break;
    }
    // "en", "en_GB.UTF-8", "en@euro": the language is what stands before '_', '.' and '@'.
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != QLatin1Char('_') && locale[end] != QLatin1Char('.') &&
           locale[end] != QLatin1Char('@'))
        ++end;
    return locale.left(end).compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 ? TLanguage::English
                                                                                   : TLanguage::Russian;
}

TLanguage FromSystemLocale() {
    return FromLocale([](const char* name) { return QString::fromLocal8Bit(std::getenv(name)); });
}

TLanguage Choose(std::optional<TLanguage> arg, const QString& setting, TLanguage locale) {
    if (arg)
        return *arg;
    if (const auto chosen = Parse(setting))
        return *chosen;
    return locale;
}

QString TranslationFile(const QString& progDir) {
    return progDir + QStringLiteral("kestrin_en.qm");
}

TLanguage Install(TLanguage wanted, const QString& progDir, bool qtTexts, QString* warning) {
    QCoreApplication* app = QCoreApplication::instance();
    for (QTranslator* t : Installed) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    Installed.clear();
    TLanguage in = wanted;
    if (wanted == TLanguage::English) {
        auto* own = new QTranslator(app);
        if (own->load(TranslationFile(progDir))) {
            QCoreApplication::installTranslator(own);
            Installed.push_back(own);
        } else {
            delete own;
            in = TLanguage::Russian;
            if (warning)
                // Said in both languages: the English texts are the very thing that is missing.
                *warning = QStringLiteral(
                               "не найден или повреждён файл перевода %1; программа работает на русском / "
                               "the translation file %1 is missing or damaged; continuing in Russian")
                               .arg(TranslationFile(progDir));
        }
    }
    // Qt's own texts are English already; in Russian they come from Qt's own translation.
    if (qtTexts && in == TLanguage::Russian) {
        auto* qt = new QTranslator(app);
        if (qt->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt);
            Installed.push_back(qt);
        } else
            delete qt;
    }
    InEffect = in;
    return in;
}

TLanguage Current() {
    return InEffect;
}

QString HelpDir(const QString& progDir) {
    return progDir + (InEffect == TLanguage::English ? QStringLiteral("help/en/") : QStringLiteral("help/"));
}
} // namespace Language
