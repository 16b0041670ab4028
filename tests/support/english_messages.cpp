// Linked into the test programs that start vemo-cli: the commands they run
// follow LC_ALL, LC_MESSAGES and LANG, and their output is checked in
// English whatever the machine's locale. Tests of another language say so
// on their command line (--language de).
#include <cstdlib>

#include "app/text/languages.h"

namespace {

void Set(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}

const bool kEnglishMessages = [] {
  const char* all = std::getenv("LC_ALL");
  if (all != nullptr && *all != '\0' && vemo::LanguageOfLocaleName(all) != vemo::kEnglish) {
    Set("LC_ALL", "C.UTF-8");
  }
  Set("LC_MESSAGES", "C");
  return true;
}();

}  // namespace
