// The language the program chooses: --lang, then the setting, then the system locale.
#include "common/Language.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

using Language::TLanguage;

namespace {
TLanguage FromEnv(const std::map<std::string, QString>& env) {
    return Language::FromLocale([&env](const char* name) {
        const auto it = env.find(name);
        return it == env.end() ? QString() : it->second;
    });
}
} // namespace

TEST(Language, TheFirstSetLocaleVariableDecidesAndOnlyEnglishGivesEnglish) {
    const TLanguage en = TLanguage::English, ru = TLanguage::Russian;
    struct TCase {
        std::map<std::string, QString> Env;
        TLanguage Want;
    };
    const TCase cases[] = {
        {{}, ru},
        {{{"LANG", ""}}, ru},
        {{{"LANG", "en_US.UTF-8"}}, en},
        {{{"LANG", "en"}}, en},
        {{{"LANG", "en_GB@euro"}}, en},
        {{{"LANG", "C"}}, ru},
        {{{"LANG", "C.UTF-8"}}, ru},
        {{{"LANG", "ru_RU.UTF-8"}}, ru},
        {{{"LANG", "de_DE.UTF-8"}}, ru},
        {{{"LANG", "eng"}}, ru}, // not the language "en"
        // The order: LANGUAGE, LC_ALL, LC_MESSAGES, LANG; an empty one does not count.
        {{{"LANGUAGE", "en_US"}, {"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "ru_RU"}, {"LANG", "ru_RU"}}, en},
        {{{"LANGUAGE", "ru"}, {"LC_ALL", "en_US.UTF-8"}}, ru},
        {{{"LANGUAGE", ""}, {"LC_ALL", "en_US.UTF-8"}, {"LANG", "ru_RU.UTF-8"}}, en},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, ru},
        {{{"LC_MESSAGES", "en_US.UTF-8"}, {"LANG", "ru_RU.UTF-8"}}, en},
        {{{"LC_MESSAGES", "C"}, {"LANG", "en_US.UTF-8"}}, ru},
        // LANGUAGE is a list: its first entry counts.
        {{{"LANGUAGE", "en_GB:ru"}, {"LANG", "ru_RU.UTF-8"}}, en},
        {{{"LANGUAGE", "de:en"}, {"LANG", "en_US.UTF-8"}}, ru},
    };
    for (const TCase& c : cases) {
        QString where;
        for (const auto& [k, v] : c.Env)
            where += QString::fromStdString(k) + QLatin1Char('=') + v + QLatin1Char(' ');
        EXPECT_EQ(FromEnv(c.Env), c.Want) << where.toStdString();
    }
}

TEST(Language, LangOptionOverSettingOverLocaleAndOnlyEnOrRuAreLanguages) {
    const TLanguage en = TLanguage::English, ru = TLanguage::Russian;
    EXPECT_EQ(Language::Choose(ru, "en", en), ru);
    EXPECT_EQ(Language::Choose(en, "ru", ru), en);
    EXPECT_EQ(Language::Choose(std::nullopt, "en", ru), en);
    EXPECT_EQ(Language::Choose(std::nullopt, "ru", en), ru);
    EXPECT_EQ(Language::Choose(std::nullopt, "", en), en);
    EXPECT_EQ(Language::Choose(std::nullopt, "", ru), ru);
    // A setting older or newer copies wrote differently does not count.
    EXPECT_EQ(Language::Choose(std::nullopt, "de", en), en);

    EXPECT_EQ(Language::Parse("EN"), en);
    EXPECT_EQ(Language::Parse("ru"), ru);
    EXPECT_EQ(Language::Parse("english"), std::nullopt);
    EXPECT_EQ(Language::Parse(""), std::nullopt);

    EXPECT_EQ(Language::ArgValue({"read", "--lang", "en", "--json"}), QString("en"));
    EXPECT_EQ(Language::ArgValue({"--lang=ru"}), QString("ru"));
    EXPECT_EQ(Language::ArgValue({"--lang"}), QString());
    EXPECT_EQ(Language::ArgValue({"read", "--port", "x"}), std::nullopt);
}
