// Choosing the language: codes, locale names, and the environment's order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/text/languages.h"

namespace vemo {
namespace {

TEST(Languages, CodesAndLocaleNames) {
  EXPECT_STREQ(LanguageCode(kEnglish), "en");
  EXPECT_STREQ(LanguageCode(kGerman), "de");
  EXPECT_STREQ(LanguageCode(7), "en");
  for (const auto& [code, language] : {std::pair{"de", kGerman}, {"DE", kGerman}, {"en", kEnglish},
                                       {"En", kEnglish}, {"fr", -1}, {"", -1}, {"deu", -1}}) {
    EXPECT_EQ(LanguageOfCode(code), language) << code;
  }
  for (const auto& [name, language] :
       {std::pair{"de_DE.UTF-8", kGerman}, {"de_AT", kGerman}, {"de-CH", kGerman}, {"de", kGerman},
        {"de_DE@euro", kGerman}, {"en_US.UTF-8", kEnglish}, {"C", kEnglish}, {"POSIX", kEnglish},
        {"", kEnglish}, {"dk_DK", kEnglish}, {"fr_FR", kEnglish}, {"nl_BE", kEnglish}}) {
    EXPECT_EQ(LanguageOfLocaleName(name), language) << name;
  }
}

#ifndef _WIN32
// Sets or clears the three variables for the test and restores them after.
class Locale {
 public:
  Locale(const char* all, const char* messages, const char* lang) {
    const char* values[] = {all, messages, lang};
    for (int i = 0; i < 3; ++i) {
      const char* old = std::getenv(kNames[i]);
      if (old != nullptr) saved_[i] = old;
      if (values[i] != nullptr)
        setenv(kNames[i], values[i], 1);
      else
        unsetenv(kNames[i]);
    }
  }
  ~Locale() {
    for (int i = 0; i < 3; ++i) {
      if (saved_[i])
        setenv(kNames[i], saved_[i]->c_str(), 1);
      else
        unsetenv(kNames[i]);
    }
  }

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

TEST(Languages, TheFirstVariableSetDecides) {
  struct Case {
    const char* all;
    const char* messages;
    const char* lang;
    int language;
  } cases[] = {
      {nullptr, nullptr, nullptr, kEnglish},        {nullptr, nullptr, "de_DE.UTF-8", kGerman},
      {nullptr, "en_GB", "de_DE", kEnglish},        {"de_AT", "en_GB", "en_US", kGerman},
      {"C", nullptr, "de_DE", kEnglish},            {"", "", "de_CH", kGerman},
      {"", "de_DE", "en_US", kGerman},
  };
  for (const Case& c : cases) {
    Locale locale(c.all, c.messages, c.lang);
    EXPECT_EQ(LanguageFromEnvironment(), c.language)
        << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-");
  }
}
#endif

}  // namespace
}  // namespace vemo
