// The languages vemo speaks and how one is chosen. The program text holds each
// item once per language number (qel.dat); the names below are the ones the
// settings store and vemo-cli's --language take, the same in every language.
#pragma once

#include <string>
#include <string_view>

#include "app/time/date_texts.h"  // kEnglish, kGerman

namespace vemo {

inline constexpr int kLanguageCount = 2;

// "en" or "de"; "en" for a number out of range.
const char* LanguageCode(int language);
// The language of a code ("en", "de", any case), or -1.
int LanguageOfCode(std::string_view code);
// The language of a POSIX or Qt locale name: German for "de" and "de_*"
// ("de_AT.UTF-8", "de-CH"), English for everything else, "C" and "" included.
int LanguageOfLocaleName(std::string_view name);
// The language command-line programs follow: that of the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty (POSIX, "Internationalization
// Variables"), else English.
int LanguageFromEnvironment();

// A number written for the reader: in German the decimal point of digits
// written in C locale becomes a comma ("2451545,500000"); in English it
// stays. Never for what programs read (CSV, JSON, iCalendar).
std::string ReadableNumber(std::string digits);

}  // namespace vemo
