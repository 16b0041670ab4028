// tovrix6: the program-text store. The file format and the result codes are described
// in tovrix6.h.
#include "platform/tovrix6/tovrix6.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Key of one item: item number in the high half, language number in the low half.
using ItemKey = uint32_t;

ItemKey MakeKey(int32_t n, int32_t language) {
  return (static_cast<uint32_t>(n) << 16) | static_cast<uint32_t>(language);
}

constexpr long kMaxNumber = 32767;  // item and language numbers are 16-bit, signed

struct Store {
  std::mutex mutex;
  std::unordered_map<ItemKey, std::string> items;
  int32_t lastResult = 0;
  int32_t lastKind = 0;
  int32_t lastLine = 0;
};

Store& TheStore() {
  static Store store;
  return store;
}

// Strict UTF-8 check (RFC 3629): no overlong forms, no surrogates, nothing above
// U+10FFFF. Returns the offset of the first byte of the first invalid sequence, or
// npos when the whole text is valid.
size_t FirstInvalidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates U+D800..U+DFFF
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return i;
    }
    if (i + len > n) return i;
    const auto c1 = static_cast<unsigned char>(s[i + 1]);
    if (c1 < lo || c1 > hi) return i;
    for (size_t k = 2; k < len; ++k) {
      const auto ck = static_cast<unsigned char>(s[i + k]);
      if (ck < 0x80 || ck > 0xBF) return i;
    }
    i += len;
  }
  return std::string_view::npos;
}

// A file saved as UTF-16 by an editor: its byte-order mark, or a NUL byte among
// the first two (the high byte of an ASCII digit of the first item or comment).
bool LooksLikeUtf16(std::string_view s) {
  if (s.size() >= 2 && ((s[0] == '\xFF' && s[1] == '\xFE') || (s[0] == '\xFE' && s[1] == '\xFF'))) {
    return true;
  }
  return s.size() >= 2 && (s[0] == '\0' || s[1] == '\0');
}

// A control character inside an item's text: C0 except TAB, DEL, and the C1 range
// U+0080..U+009F (UTF-8 C2 80..C2 9F). They would show as boxes or move the caret
// in captions and messages.
bool HasControlCharacter(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t') || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
  }
  return false;
}

// Reads a field of decimal digits ending at a TAB or at the end of the line.
// Returns false unless it is 1 to 5 digits with a value of at most kMaxNumber.
bool ParseNumber(std::string_view field, int32_t& value) {
  if (field.empty() || field.size() > 5) return false;
  long v = 0;
  for (char ch : field) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + (ch - '0');
  }
  if (v > kMaxNumber) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool IsBlank(std::string_view line) {
  for (char ch : line) {
    if (ch != ' ' && ch != '\t') return false;
  }
  return true;
}

struct LoadOutcome {
  int32_t result = 0;
  int32_t kind = 0;
  int32_t line = 0;
};

LoadOutcome LineError(int32_t kind, int32_t line) {
  LoadOutcome o;
  o.kind = kind;
  o.line = line;
  if (kind == TOVRIX6_KIND_BAD_LINE || kind == TOVRIX6_KIND_CONTROL_CHARACTER) {
    o.result = TOVRIX6_KIND_BAD_LINE;
  } else if (kind == TOVRIX6_KIND_INVALID_UTF8 || kind == TOVRIX6_KIND_UTF16) {
    o.result = -4;
  } else {
    o.result = kind - line;
  }
  return o;
}

LoadOutcome PlainError(int32_t code) {
  LoadOutcome o;
  o.result = code;
  o.kind = code;
  return o;
}

// Parses the whole file content into items; fills `items` only on success.
LoadOutcome ParseItems(std::string_view content,
                       std::unordered_map<ItemKey, std::string>& items) {
  if (content.size() >= 3 && content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  std::unordered_map<ItemKey, std::string> parsed;
  int32_t lineNumber = 0;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = content.find('\n', pos);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (IsBlank(line) || line.front() == '#') continue;

    const size_t tab1 = line.find('\t');
    int32_t number = 0;
    if (!ParseNumber(line.substr(0, tab1), number)) {
      return LineError(TOVRIX6_KIND_BAD_LINE, lineNumber);
    }
    if (tab1 == std::string_view::npos) {
      return LineError(TOVRIX6_KIND_MISSING_TEXT, lineNumber);
    }
    const std::string_view rest = line.substr(tab1 + 1);
    const size_t tab2 = rest.find('\t');
    int32_t language = 0;
    if (!ParseNumber(rest.substr(0, tab2), language)) {
      return LineError(TOVRIX6_KIND_BAD_LINE, lineNumber);
    }
    if (tab2 == std::string_view::npos || tab2 + 1 == rest.size()) {
      return LineError(TOVRIX6_KIND_MISSING_TEXT, lineNumber);
    }
    const std::string_view text = rest.substr(tab2 + 1);
    if (text.size() > TOVRIX6_MAX_TEXT_BYTES) {
      return LineError(TOVRIX6_KIND_TOO_LONG, lineNumber);
    }
    if (HasControlCharacter(text)) return LineError(TOVRIX6_KIND_CONTROL_CHARACTER, lineNumber);
    const auto [it, inserted] = parsed.try_emplace(MakeKey(number, language), text);
    if (!inserted) return LineError(TOVRIX6_KIND_DUPLICATE, lineNumber);
  }
  LoadOutcome o;
  o.result = static_cast<int32_t>(parsed.size());
  if (!parsed.empty()) items = std::move(parsed);
  return o;
}

// Reads the whole file at path into content, refusing anything but a regular file
// before a byte is read: a FIFO or a device in place of the file would block or
// never end. Returns 0 or the store's error code.
int32_t ReadRegularFile(const char* path, std::string& content) {
#ifdef _WIN32
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return -1;
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return -1;
  auto readSome = [f](char* buffer, size_t size) -> long {
    const size_t got = std::fread(buffer, 1, size, f);
    return std::ferror(f) != 0 ? -1 : static_cast<long>(got);
  };
  auto closeFile = [f] { std::fclose(f); };
#else
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  auto readSome = [fd](char* buffer, size_t size) -> long {
    for (;;) {
      const ssize_t got = ::read(fd, buffer, size);
      if (got >= 0 || errno != EINTR) return static_cast<long>(got);
    }
  };
  auto closeFile = [fd] { ::close(fd); };
#endif
  // Read in chunks and stop at the size limit, so that an oversized file is refused
  // without ever being held whole.
  int32_t status = 0;
  try {
    content.reserve(64 * 1024);
    char chunk[64 * 1024];
    for (;;) {
      const long got = readSome(chunk, sizeof chunk);
      if (got < 0) {
        status = -7;
        break;
      }
      if (got == 0) break;
      if (content.size() + static_cast<size_t>(got) > static_cast<size_t>(TOVRIX6_MAX_FILE_BYTES)) {
        status = -3;
        break;
      }
      content.append(chunk, static_cast<size_t>(got));
    }
  } catch (const std::bad_alloc&) {
    status = -8;
  }
  closeFile();
  return status;
}

// The line (1-based) holding byte offset of content.
int32_t LineOfOffset(std::string_view content, size_t offset) {
  int32_t line = 1;
  for (size_t i = 0; i < offset && i < content.size(); ++i) {
    if (content[i] == '\n') ++line;
  }
  return line;
}

LoadOutcome LoadFile(const char* path) {
  if (path == nullptr) return PlainError(-1);
  std::string content;
  if (const int32_t status = ReadRegularFile(path, content); status != 0) return PlainError(status);
  if (content.empty()) return PlainError(-6);
  if (LooksLikeUtf16(content)) return LineError(TOVRIX6_KIND_UTF16, 0);
  if (const size_t bad = FirstInvalidUtf8(content); bad != std::string_view::npos) {
    return LineError(TOVRIX6_KIND_INVALID_UTF8, LineOfOffset(content, bad));
  }

  Store& store = TheStore();
  std::unordered_map<ItemKey, std::string> items;
  LoadOutcome o;
  try {
    o = ParseItems(content, items);
  } catch (const std::bad_alloc&) {
    return PlainError(-2);
  }
  if (o.result > 0) {
    std::lock_guard<std::mutex> lock(store.mutex);
    store.items = std::move(items);
  }
  return o;
}

}  // namespace

extern "C" int32_t lt(const char* path, int32_t /*flags*/) {
  const LoadOutcome o = LoadFile(path);
  Store& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.lastResult = o.result;
  store.lastKind = o.result > 0 ? 0 : o.kind;
  store.lastLine = o.line;
  return o.result;
}

extern "C" int32_t gt(int32_t n, int32_t language, char* buffer, int32_t bufferSize,
                      int32_t /*flags*/) {
  if (buffer == nullptr || bufferSize < 1) return -1;
  if (n < 0 || n > kMaxNumber || language < 0 || language > kMaxNumber) return 0;
  Store& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  const auto it = store.items.find(MakeKey(n, language));
  if (it == store.items.end()) return 0;
  const std::string& text = it->second;
  if (text.size() > static_cast<size_t>(bufferSize)) return -2;
  std::memcpy(buffer, text.data(), text.size());
  if (text.size() < static_cast<size_t>(bufferSize)) buffer[text.size()] = '\0';
  return static_cast<int32_t>(text.size());
}

extern "C" int32_t lt_error_detail(int32_t* kind, int32_t* line) {
  Store& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  if (kind != nullptr) *kind = store.lastKind;
  if (line != nullptr) *line = store.lastLine;
  return store.lastResult;
}
