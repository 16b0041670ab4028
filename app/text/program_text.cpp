#include "app/text/program_text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "app/text/languages.h"
#include "app/text/used_items.h"
#include "app/time/date_texts.h"
#include "app/time/shared_library.h"
#include "platform/tovrix6/tovrix6.h"

namespace vemo {

namespace {

std::string LineMessage(std::string_view what, std::int32_t line) {
  // The line number follows the words with one blank: "... at line 12."
  return std::string(what) + " " + std::to_string(line) + ".";
}

std::int32_t Magnitude(std::int32_t v) { return v < 0 ? -v : v; }

}  // namespace

std::int16_t LanguageIndex() { return static_cast<std::int16_t>(ProgramLanguage()); }

void SetLanguageIndex(std::int16_t language) { SetProgramLanguage(language); }

std::string ProgramTextPath(std::string_view programFolder, std::string_view fileName) {
  // An empty folder means the working folder, not the root of the file system.
  if (programFolder.empty()) return std::string(fileName);
  std::string path(programFolder);
  // '/' ends a folder everywhere; Windows also takes its own '\\'.
  const bool endsWithSeparator = path.back() == '/' || path.back() == PathSeparator();
  if (!endsWithSeparator) path += PathSeparator();
  path += fileName;
  return path;
}

std::string HelpFileName(int language) {
  if (language <= kEnglish || language >= kLanguageCount) return "vemo_help.txt";
  return std::string("vemo_help.") + LanguageCode(language) + ".txt";
}

std::string HelpFilePath(std::string_view programFolder, int language) {
  const std::string path = ProgramTextPath(programFolder, HelpFileName(language));
  // The path is UTF-8 (it comes from the program's own path), also on Windows.
  std::error_code error;
  if (std::filesystem::is_regular_file(std::filesystem::path(std::u8string(path.begin(), path.end())), error)) {
    return path;
  }
  return ProgramTextPath(programFolder, HelpFileName(0));
}

std::string ProgramTextLoadMessage(std::int32_t result, std::int32_t kind, std::int32_t line,
                                   std::string_view path) {
  if (result > 0) return {};
  // Errors at a line: the store's detail names the kind, so that codes past line 500,
  // which fall into the neighbouring range, still give the right words and line.
  if (kind == TOVRIX6_KIND_DUPLICATE && line > 0) {
    return LineMessage(InProgramLanguage("Duplicate in program text at line", "Doppelter Eintrag im Programmtext in Zeile"), line);
  }
  if (kind == TOVRIX6_KIND_TOO_LONG && line > 0) {
    return LineMessage(InProgramLanguage("String too long at line", "Text zu lang in Zeile"), line);
  }
  if (kind == TOVRIX6_KIND_MISSING_TEXT && line > 0) {
    return LineMessage(InProgramLanguage("Missing string at line", "Text fehlt in Zeile"), line);
  }
  if (kind == TOVRIX6_KIND_CONTROL_CHARACTER && line > 0) {
    return LineMessage(InProgramLanguage("Control character in program text at line", "Steuerzeichen im Programmtext in Zeile"), line);
  }
  if (kind == TOVRIX6_KIND_INVALID_UTF8 && line > 0) {
    return LineMessage(InProgramLanguage("Text not recovered. Invalid UTF-8 at line", "Text nicht gelesen. Ung\u00FCltiges UTF-8 in Zeile"), line);
  }
  if (kind == TOVRIX6_KIND_UTF16) {
    return InProgramLanguage("Text not recovered. The file is UTF-16; save it as UTF-8.",
                             "Text nicht gelesen. Die Datei ist UTF-16; speichern Sie sie als UTF-8.");
  }
  if (kind == TOVRIX6_KIND_BAD_LINE && line > 0) {
    return LineMessage(InProgramLanguage("Unreadable line in program text at line", "Unlesbare Zeile im Programmtext in Zeile"), line);
  }
  switch (result) {
    case 0:
      return InProgramLanguage("No program text was read.", "Es wurde kein Programmtext gelesen.");
    case -1:
      return InProgramLanguage("Cannot open file containing program text.\r\n",
                               "Die Datei mit dem Programmtext kann nicht ge\u00F6ffnet werden.\r\n") +
             std::string(path);
    case -2:
      return InProgramLanguage("Particular memory allocation error.", "Fehler bei einer einzelnen Speicheranforderung.");
    case -3:
      return InProgramLanguage("Too much program text.", "Zu viel Programmtext.");
    case -4:
      return InProgramLanguage("Text not recovered.", "Text nicht gelesen.");
    case -6:
      return InProgramLanguage("File is empty.", "Die Datei ist leer.");
    case -7:
      return InProgramLanguage("Error reading file.", "Fehler beim Lesen der Datei.");
    case -8:
      return InProgramLanguage("General memory allocation error.", "Allgemeiner Fehler bei der Speicheranforderung.");
    default:
      break;
  }
  // Bare codes without the store's detail, read by their ranges.
  if (result < -1500) return LineMessage(InProgramLanguage("Duplicate in program text at line", "Doppelter Eintrag im Programmtext in Zeile"), Magnitude(result + 1500));
  if (result <= -1001) return LineMessage(InProgramLanguage("String too long at line", "Text zu lang in Zeile"), Magnitude(result + 1000));
  if (result <= -501) return LineMessage(InProgramLanguage("Missing string at line", "Text fehlt in Zeile"), Magnitude(result + 500));
  return InProgramLanguage("Error ", "Fehler ") + std::to_string(result);
}

std::string LoadProgramText(std::string_view programFolder, std::string_view fileName) {
  const std::string path = ProgramTextPath(programFolder, fileName);
  const std::int32_t r = lt(path.c_str(), 0);
  if (r > 0) return {};
  std::int32_t kind = r;
  std::int32_t line = 0;
  lt_error_detail(&kind, &line);
  return ProgramTextLoadMessage(r, kind, line, path);
}

std::vector<int> MissingUsedItems() {
  std::vector<int> missing;
  std::array<char, kProgramTextBufferSize> buffer{};
  for (const int n : kUsedProgramTextItems) {
    // "~" (an empty text) counts as present: only an absent item is reported.
    if (gt(n, LanguageIndex(), buffer.data(), kProgramTextBufferSize, 1) <= 0) missing.push_back(n);
  }
  std::sort(missing.begin(), missing.end());
  missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
  return missing;
}

std::string MissingItemsWarning(const std::vector<int>& missing, std::string_view fileName) {
  if (missing.empty()) return {};
  std::string list;
  for (const int n : missing) list += (list.empty() ? "" : ", ") + std::to_string(n);
  const bool one = missing.size() == 1;
  if (ProgramLanguage() == kGerman) {
    return "Dem Programmtext \u201E" + std::string(fileName) + "\u201C fehl" + (one ? "t der Eintrag " : "en die Eintr\u00E4ge ") +
           list + ". Beschriftungen und Meldungen, die " + (one ? "ihn" : "sie") + " verwenden, bleiben leer.";
  }
  return "The program text \"" + std::string(fileName) + "\" lacks item" + (one ? " " : "s ") + list +
         ". Captions and messages that use " + (one ? "it" : "them") + " are left empty.";
}

std::string ProgramText(int n) {
  std::array<char, kProgramTextBufferSize> buffer{};
  const std::int32_t k = gt(n, LanguageIndex(), buffer.data(), kProgramTextBufferSize, 1);
  if (k <= 0) return {};
  std::string text(buffer.data(), static_cast<std::size_t>(k));
  if (text == "~") return {};
  return text;
}

std::string ProgramTextWithArgs(int n, std::string_view r1, std::string_view r2,
                                std::string_view r3, std::string_view r4, std::string_view r5) {
  return FillPlaceholders(ProgramText(n), r1, r2, r3, r4, r5);
}

std::string FillPlaceholders(std::string_view text, std::string_view r1, std::string_view r2,
                             std::string_view r3, std::string_view r4, std::string_view r5) {
  if (text.find('^') == std::string_view::npos && text.find("[r") == std::string_view::npos) {
    return std::string(text);
  }
  const std::array<std::string_view, 5> args{r1, r2, r3, r4, r5};
  // "[r1]" is always filled; "[r2]".."[r5]" only up to the first empty argument.
  std::size_t filled = 1;
  while (filled < args.size() && !args[filled].empty()) ++filled;

  std::string out;
  out.reserve(text.size() + 16);
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '^') {
      out += "\r\n";
      ++i;
      continue;
    }
    if (c == '[' && i + 3 < text.size() && text[i + 1] == 'r' && text[i + 3] == ']' &&
        text[i + 2] >= '1' && text[i + 2] <= '5') {
      const std::size_t k = static_cast<std::size_t>(text[i + 2] - '1');
      if (k < filled) {
        out += args[k];
        i += 4;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace vemo
