// Program text: the numbered captions, titles and messages of vemo.
//
// Almost everything the user reads is an item of the program-text file "qel.dat" in the
// program folder, fetched by item number in the current language. The file is loaded
// once at start-up into the process-wide store of platform/tovrix6 (its format is
// described in platform/tovrix6/tovrix6.h and at the top of data/qel.dat). The item
// numbers the program asks for are listed in app/text/used_items.h.
//
// Placeholders inside item texts: "[r1]" to "[r5]" are filled from call arguments
// (ProgramTextWithArgs, FillPlaceholders), "^" stands for a line break (CR LF). Some
// items carry their own markers that one caller replaces (for example "[count]" in item 127);
// used_items.h lists those too.
//
// No Qt here: the window shows the message of a failed LoadProgramText with the
// critical icon and ends the program; vemo-cli prints it.
#ifndef VEMO_APP_TEXT_PROGRAM_TEXT_H
#define VEMO_APP_TEXT_PROGRAM_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemo {

// File name of the program text in the program folder.
inline constexpr std::string_view kProgramTextFileName = "qel.dat";

// Size of the lookup buffer in bytes of UTF-8; no item is longer.
inline constexpr int kProgramTextBufferSize = 1024;

// The current language number: 0 English (the first language of the file), 1 German.
// Module-wide, like the store itself.
std::int16_t LanguageIndex();
void SetLanguageIndex(std::int16_t language);

// The path of fileName in programFolder: the folder, a separator unless the folder
// already ends with one ('/' or, on Windows, '\'), then the file name. An empty folder
// gives the bare file name (the working folder).
std::string ProgramTextPath(std::string_view programFolder, std::string_view fileName);

// File name of the help text in the program folder for a language: "vemo_help.txt" for
// English and any number out of range, else with the language code ("vemo_help.de.txt").
std::string HelpFileName(int language);

// The help file to show from programFolder: the one of the language when it is there,
// otherwise the English one (named even when missing, so that the viewer's message
// names it).
std::string HelpFilePath(std::string_view programFolder, int language);

// Loads the program text from programFolder/fileName into the process-wide store.
// Returns "" on success, otherwise the message to show before the program ends
// (for example "Duplicate in program text at line 12."). A failed load leaves the
// store as it was. Calling it again with another file replaces the store; tests use
// that to load files from a temporary folder.
std::string LoadProgramText(std::string_view programFolder,
                            std::string_view fileName = kProgramTextFileName);

// The message for a result of the store's loader. result is what lt() returned; kind
// and line are the store's detail of that result (lt_error_detail), which tell the kind
// and the line apart where the result codes overlap (past line 500). Pass kind = result
// and line = 0 to read the bare code. path is named in the "cannot open" message.
// Returns "" for result > 0.
std::string ProgramTextLoadMessage(std::int32_t result, std::int32_t kind, std::int32_t line,
                                   std::string_view path);

// The items the program uses (used_items.h) that the loaded store lacks in the current
// language, ascending. An item stored as "~" is present. A missing item is not a load
// error (edited or older files keep working; the item reads as empty), but the user
// should hear of it once.
std::vector<int> MissingUsedItems();

// One warning naming the missing items of fileName ("" when none).
std::string MissingItemsWarning(const std::vector<int>& missing,
                                std::string_view fileName = kProgramTextFileName);

// Item n in the current language; "" when it is missing or stored as "~".
std::string ProgramText(int n);

// Item n with its placeholders filled, as FillPlaceholders does.
std::string ProgramTextWithArgs(int n, std::string_view r1 = {}, std::string_view r2 = {},
                                std::string_view r3 = {}, std::string_view r4 = {},
                                std::string_view r5 = {});

// Fills the placeholders of text:
//   1. a text holding neither "^" nor "[r" comes back unchanged;
//   2. every "[r1]" becomes r1; then, while the arguments r2, r3, ... are not empty,
//      "[r2]" becomes r2, "[r3]" becomes r3 and so on up to r5; the first empty argument
//      stops the chain and the later placeholders stay in the text;
//   3. every "^" becomes CR LF.
// The text is scanned once, so that an argument holding "^" or "[r2]" (a file name, say)
// is inserted as it stands and never rewritten itself.
std::string FillPlaceholders(std::string_view text, std::string_view r1 = {},
                             std::string_view r2 = {}, std::string_view r3 = {},
                             std::string_view r4 = {}, std::string_view r5 = {});

}  // namespace vemo

#endif
