#pragma once
// The language of the program's texts: Russian (the source texts) or English (kestrin_en.qm).
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace Language {
enum class TLanguage { Russian, English };

// "ru" or "en" (any case); nullopt for anything else.
std::optional<TLanguage> Parse(const QString& code);

// The value of "--lang VALUE" or "--lang=VALUE" in args (without the program name); nullopt when
// the option is absent, an empty string when it has no value.
std::optional<QString> ArgValue(const QStringList& args);

// The system's language: the first non-empty of LANGUAGE (its first entry of a colon list),
// LC_ALL, LC_MESSAGES and LANG, read through env. English when that locale's language is "en",
// Russian for every other locale and when none is set.
TLanguage FromLocale(const std::function<QString(const char*)>& env);
TLanguage FromSystemLocale();

// --lang first, then the setting ("ru", "en"; anything else counts as not set), then the locale.
TLanguage Choose(std::optional<TLanguage> arg, const QString& setting, TLanguage locale);

// The English translation's file in the program directory.
QString TranslationFile(const QString& progDir);

// Installs the translations of `wanted` into the running application: the program's own for English,
// and Qt's own texts when qtTexts is set (qtbase_ru in Russian). Returns the language in effect: Russian
// when the English translation cannot be loaded, with the reason in *warning. The translations of an
// earlier call are taken out first.
TLanguage Install(TLanguage wanted, const QString& progDir, bool qtTexts, QString* warning);

// The language Install put in effect (Russian before any Install).
TLanguage Current();

// The help pages of the language in effect: progDir's "help/" in Russian, "help/en/" in English.
QString HelpDir(const QString& progDir);
} // namespace Language
