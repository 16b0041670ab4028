// tovrix6: the program-text store.
//
// Holds the numbered texts of the program (captions, titles, messages) read from one
// text file, and hands them out by item number and language number. One store per
// process; loading a file replaces the store only when the whole file is sound.
//
// File format (UTF-8, at most 4 MB):
//
//   # a comment line (the first character is '#')
//                                  (blank lines, or lines of blanks and tabs, are skipped)
//   number<TAB>language<TAB>text
//
//   - number: item number, decimal digits, 0 to 32767;
//   - language: language number, decimal digits, 0 to 32767; 0 is English;
//   - text: everything after the second TAB up to the line end (a trailing CR of a
//     CR LF line end is dropped), at most 1024 bytes of UTF-8, not empty; the single
//     character "~" stands for an empty text. The store keeps "^" and "[r1]".."[r5]"
//     as they are: the caller turns them into line breaks and arguments.
//   - a UTF-8 byte-order mark at the very start of the file is skipped.
//
// Each (number, language) pair may occur once. Several languages may share one file.
//
// Results of lt(path, 0):
//   > 0            number of items loaded
//   0              the file holds only comments and blank lines
//   -1             the file cannot be opened, or is not a regular file (a folder,
//                  a FIFO, a device)
//   -2, -8         memory failures (item table, file buffer)
//   -3             the file holds more than 4 MB
//   -4             the file is not valid UTF-8 (lt_error_detail gives the line of the
//                  first invalid byte) or is UTF-16 (kind TOVRIX6_KIND_UTF16)
//   -5             a line is neither a comment, blank, nor "number<TAB>language<TAB>...",
//                  or an item's text holds a control character other than TAB (C0,
//                  DEL or C1; kind TOVRIX6_KIND_CONTROL_CHARACTER)
//   -6             the file has zero bytes
//   -7             read error
//   -(1500 + L)    item number (with its language) found again at line L
//   -(1000 + L)    text longer than 1024 bytes at line L
//   -(500 + L)     missing (empty) text at line L
// Past line 500 these ranges overlap (-1600 is a too-long text at line 600 as well as a
// duplicate at line 100), so lt_error_detail() reports the kind and the line apart.
//
// Results of gt(n, language, buffer, bufferSize, 1):
//   >= 1           length in bytes of the text copied to buffer (no terminating zero
//                  is written when the text fills the buffer exactly; otherwise one is)
//   0              no item n in that language, or nothing loaded
//   -1             buffer is null or bufferSize < 1
//   -2             the text does not fit into bufferSize bytes (nothing copied)
//
// Thread safety: the calls lock the store, so they may come from any thread.
#ifndef VEMO_PLATFORM_TOVRIX6_TOVRIX6_H
#define VEMO_PLATFORM_TOVRIX6_TOVRIX6_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Longest text of one item, in bytes of UTF-8.
#define TOVRIX6_MAX_TEXT_BYTES 1024
// Largest file the store accepts, in bytes.
#define TOVRIX6_MAX_FILE_BYTES (4L * 1024L * 1024L)

// Kinds reported by lt_error_detail() for errors tied to a line.
#define TOVRIX6_KIND_DUPLICATE (-1500)
#define TOVRIX6_KIND_TOO_LONG (-1000)
#define TOVRIX6_KIND_MISSING_TEXT (-500)
#define TOVRIX6_KIND_BAD_LINE (-5)
// Result -5 too: a control character (other than TAB) inside an item's text.
#define TOVRIX6_KIND_CONTROL_CHARACTER (-9)
// Result -4 too: invalid UTF-8 at a line, or a whole file in UTF-16 (line 0).
#define TOVRIX6_KIND_INVALID_UTF8 (-4)
#define TOVRIX6_KIND_UTF16 (-10)

// Loads the text file at path (zero-terminated, UTF-8 on this platform). flags
// is reserved; pass 0. On failure the store keeps what it held before.
int32_t lt(const char* path, int32_t flags);

// Copies the text of item n in the given language into buffer; see above.
// flags is reserved; pass 1.
int32_t gt(int32_t n, int32_t language, char* buffer, int32_t bufferSize, int32_t flags);

// The outcome of the last lt() call, without the overlap of the line codes.
// Sets *kind to the result of lt() for errors without a line (0, -1 .. -8 except -5)
// and to one of the TOVRIX6_KIND_* values for errors at a line; sets *line to the
// 1-based line of the error, or 0. Either pointer may be null. Returns the result of
// the last lt() call, 0 when lt() was never called.
int32_t lt_error_detail(int32_t* kind, int32_t* line);

#ifdef __cplusplus
}
#endif

#endif
