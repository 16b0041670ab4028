#include "app/time/escaped_text.h"

#include <cstdio>

namespace vemo {

namespace {

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when
// the bytes there are not one (overlong forms, surrogates and code points
// beyond U+10FFFF included, RFC 3629).
std::size_t Utf8Sequence(std::string_view text, std::size_t i, char32_t& code) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void AppendHex(std::string& out, const char* form, unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, form, value);
  out += buffer;
}

}  // namespace

std::size_t Utf8CharacterBytes(std::string_view text, std::size_t at) {
  char32_t code = 0;
  const std::size_t length = Utf8Sequence(text, at, code);
  return length == 0 ? 1 : length;
}

std::string EscapedForDisplay(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const std::size_t length = Utf8Sequence(text, i, code);
    if (length == 0) {
      AppendHex(out, "\\x%02x", static_cast<unsigned char>(text[i]));
      ++i;
      continue;
    }
    if (code == '\n') {
      out += "\\n";
    } else if (code == '\r') {
      out += "\\r";
    } else if (code == '\t') {
      out += "\\t";
    } else if (code < 0x20 || code == 0x7F) {
      AppendHex(out, "\\x%02x", static_cast<unsigned>(code));
    } else if (code >= 0x80 && code <= 0x9F) {
      AppendHex(out, "\\u%04x", static_cast<unsigned>(code));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

}  // namespace vemo
