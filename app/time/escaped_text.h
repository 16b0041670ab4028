// Text that comes from outside (file contents, file names, command-line
// arguments) as a message quotes it: control characters and bytes that are not
// UTF-8 are written as escapes, so a message stays one line and cannot
// recolour, retitle or otherwise drive a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vemo {

// "\n", "\r" and "\t" for those three, "\x1b" for any other C0 control
// character or DEL, "\u009b" for a C1 control character, "\xff" for each byte
// that is not part of a valid UTF-8 sequence; everything else as it is.
std::string EscapedForDisplay(std::string_view text);

// Bytes of the character at text[at]: the length of a valid UTF-8 sequence
// there, else 1 (a byte EscapedForDisplay shows as "\xNN").
std::size_t Utf8CharacterBytes(std::string_view text, std::size_t at);

}  // namespace vemo
