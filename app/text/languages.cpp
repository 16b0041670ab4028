#include "app/text/languages.h"

#include <cstdlib>

#include "app/text/program_text.h"

namespace vemo {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

const char* LanguageCode(int language) { return language == kGerman ? "de" : "en"; }

int LanguageOfCode(std::string_view code) {
  if (EqualsIgnoringCase(code, "en")) return kEnglish;
  if (EqualsIgnoringCase(code, "de")) return kGerman;
  return -1;
}

int LanguageOfLocaleName(std::string_view name) {
  // The language part ends at the territory ("_", or "-" in Qt's and BCP 47's
  // names), the code set (".") or the modifier ("@").
  const size_t end = name.find_first_of("_-.@");
  return LanguageOfCode(name.substr(0, end)) == kGerman ? kGerman : kEnglish;
}

int LanguageFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LanguageOfLocaleName(value);
  }
  return kEnglish;
}

std::string ReadableNumber(std::string digits) {
  if (LanguageIndex() == kGerman) {
    for (char& c : digits) {
      if (c == '.') c = ',';
    }
  }
  return digits;
}

}  // namespace vemo
