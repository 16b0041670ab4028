// Numbers and counts in words, in English and German: the count sentences
// of the report ("There are two conjunctions") and the run search's
// messages. Qt-free.
#pragma once

#include <string>

#include "app/aspects/vocabulary.h"

namespace vemo::reports {

// A count in words with a capital first letter.
// English: "No", "One" .. "Twenty", "Twenty three" .. "Ninety nine"; above 99
// the digits with the thousands separator of the C++ global locale ("12,345"
// under "en_US", "12345" under the default "C" locale).
// German: "Keine" for 0 (a plural noun follows, as after "No"), then the
// words of GermanNumberWord: "Eins", "Einundzwanzig", "Hunderteins",
// "Tausend". Negative counts are written in digits in both languages.
std::string NumberInWords(int n, bool german = false);

// The case of a German noun phrase; only a masculine "einen" tells the two
// apart ("Es gibt einen Quinkunx").
enum class GermanCase { Nominative, Accusative };

// n in German words, lower case, as they are written in running text:
// "null", "eins", "sechzehn", "einundzwanzig", "dreißig", "hundert",
// "hunderteins", "tausend", "zweitausendeinhundert", "eine Million
// dreihunderttausend". A leading one hundred or one thousand is "hundert"
// and "tausend"; inside a number "einhundert" and "eintausend".
// With a gender the word stands before a noun: one becomes "ein", "eine",
// "ein" (masculine accusative "einen"), and zero "keine" (the noun then in
// the plural). Larger numbers keep their counting form ("einundzwanzig").
// Negative numbers are written in digits.
std::string GermanNumberWord(int n, Gender gender = Gender::None,
                             GermanCase grammaticalCase = GermanCase::Nominative);

// A count of aspects of kind 1..7 or of patterns 0..13 in words, lower case
// but for the nouns' own capitals: "no conjunctions", "one quincunx",
// "twenty three squares", "two T-squares"; "eine Konjunktion", "zwei
// Konjunktionen", "ein Trigon", "keine Großen Trigone", "einen Drachen"
// (accusative). Language 1 is German, every other English; the case matters
// in German only. "" for an unknown kind or pattern.
std::string KindCountPhrase(int kind, int count, int language,
                            GermanCase grammaticalCase = GermanCase::Nominative);
std::string PatternCountPhrase(int index, int count, int language,
                               GermanCase grammaticalCase = GermanCase::Nominative);

}  // namespace vemo::reports
