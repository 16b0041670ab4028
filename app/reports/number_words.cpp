// Numbers and counts in words. See number_words.h.
#include "app/reports/number_words.h"

#include <locale>
#include <sstream>

#include "app/time/date_texts.h"

namespace vemo::reports {

namespace {

const char* const kNumberWords[] = {
    "No",      "One",     "Two",     "Three",  "Four",    "Five",     "Six",
    "Seven",   "Eight",   "Nine",    "Ten",    "Eleven",  "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty",
    "Thirty",  "Forty",   "Fifty",   "Sixty",  "Seventy", "Eighty",   "Ninety"};

const char* const kGermanUnits[] = {
    "null",  "eins",  "zwei",     "drei",     "vier",     "f\u00FCnf",     "sechs",
    "sieben", "acht", "neun",     "zehn",     "elf",      "zw\u00F6lf",    "dreizehn",
    "vierzehn", "f\u00FCnfzehn", "sechzehn", "siebzehn", "achtzehn", "neunzehn"};
const char* const kGermanTens[] = {"",        "",         "zwanzig", "drei\u00DFig", "vierzig",
                                   "f\u00FCnfzig", "sechzig", "siebzig", "achtzig",      "neunzig"};

std::string Lower(std::string s) {
  for (char& ch : s) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return s;
}

// 1..99 as the start or middle of a German number: a unit one is "ein"
// ("einundzwanzig", "einhundert").
std::string GermanBelowHundred(int n) {
  if (n == 1) return "ein";
  if (n < 20) return kGermanUnits[n];
  const int unit = n % 10;
  const std::string tens = kGermanTens[n / 10];
  return unit == 0 ? tens : GermanBelowHundred(unit) + "und" + tens;
}

// 1..999 in German. leading: the first word of the number, where one
// hundred is "hundert" rather than "einhundert". one: what a lone one at the
// end becomes ("eins" in counting, "ein" before "tausend", "eine" before
// "Million").
std::string GermanBelowThousand(int n, bool leading, const char* one) {
  const int hundreds = n / 100;
  const int rest = n % 100;
  std::string text;
  if (hundreds > 0) text = (hundreds == 1 && leading ? std::string() : GermanBelowHundred(hundreds)) + "hundert";
  if (rest == 1) {
    text += one;
  } else if (rest > 0) {
    text += GermanBelowHundred(rest);
  }
  return text;
}

// A non-negative n in German counting words. Millions and milliards are
// words of their own ("zwei Millionen dreihunderttausendeins"); below a
// million the number is one word.
std::string GermanCardinal(int n) {
  if (n == 0) return kGermanUnits[0];
  std::string text;
  auto large = [&text](int count, const char* singular, const char* plural) {
    if (count == 0) return;
    const bool leading = text.empty();
    if (!leading) text += " ";
    text += count == 1 ? std::string("eine ") + singular
                       : GermanBelowThousand(count, leading, "eine") + " " + plural;
  };
  large(n / 1000000000, "Milliarde", "Milliarden");
  large(n / 1000000 % 1000, "Million", "Millionen");
  std::string word;
  const int thousands = n / 1000 % 1000;
  if (thousands == 1 && text.empty()) {
    word = "tausend";
  } else if (thousands > 0) {
    word = GermanBelowThousand(thousands, text.empty(), "ein") + "tausend";
  }
  if (n % 1000 > 0) word += GermanBelowThousand(n % 1000, text.empty() && word.empty(), "eins");
  if (!word.empty()) text += (text.empty() ? "" : " ") + word;
  return text;
}

std::string CountPhrase(const CountNoun& noun, int count, int language, GermanCase grammaticalCase) {
  if (noun.Singular[0] == '\0') return "";
  const char* form = count == 1 ? noun.Singular : noun.Plural;
  if (language != kGerman) return Lower(NumberInWords(count)) + " " + form;
  if (count == 0) form = noun.PluralAfterNo;
  return GermanNumberWord(count, noun.Genus, grammaticalCase) + " " + form;
}

}  // namespace

std::string NumberInWords(int n, bool german) {
  if (german) {
    if (n < 0) return std::to_string(n);
    std::string text = n == 0 ? "keine" : GermanCardinal(n);
    text[0] = static_cast<char>(text[0] - 'a' + 'A');  // every German number word starts with a-z
    return text;
  }
  if (n >= 0 && n <= 20) return kNumberWords[n];
  if (n > 20 && n < 100) {
    const std::string tens = kNumberWords[18 + n / 10];
    return n % 10 == 0 ? tens : tens + " " + Lower(kNumberWords[n % 10]);
  }
  std::ostringstream out;
  out.imbue(std::locale());
  out << n;
  return out.str();
}

std::string GermanNumberWord(int n, Gender gender, GermanCase grammaticalCase) {
  if (n < 0) return std::to_string(n);
  if (gender != Gender::None && n == 0) return "keine";
  if (gender != Gender::None && n == 1) {
    if (gender == Gender::Feminine) return "eine";
    return gender == Gender::Masculine && grammaticalCase == GermanCase::Accusative ? "einen" : "ein";
  }
  return GermanCardinal(n);
}

std::string KindCountPhrase(int kind, int count, int language, GermanCase grammaticalCase) {
  return CountPhrase(KindNoun(kind, language), count, language, grammaticalCase);
}

std::string PatternCountPhrase(int index, int count, int language, GermanCase grammaticalCase) {
  return CountPhrase(PatternNoun(index, language), count, language, grammaticalCase);
}

}  // namespace vemo::reports
