// pexalune: picture file conversion.
//
// Arguments of both calls:
//   - the first path names the picture to read, the second the file to write;
//   - message is a caller buffer of kPexaluneMessageChars (255) characters. It
//     receives "No Error" when the conversion succeeded, otherwise a reason that
//     names the file, e.g. Cannot read the BMP file "/x/y.bmp": File not found.
//     The text is cut to at most 255 bytes without splitting a character; a
//     terminating NUL follows only when it fits inside the 255 bytes.
//   - the result is the number of bytes written into message, NUL not counted;
//     0 when message is null (the conversion still runs then).
//
// All strings are narrow: the system's ANSI code page on Windows, UTF-8 elsewhere;
// the files are opened by the bytes of their names as given. A null path is a
// failure with a reason. The output file is written in place (created, or
// truncated and filled, so a file the caller made keeps its permissions); after
// a failed write it is removed, so no partial picture is left behind. A caller
// that must keep an earlier file whole names a temporary file of its own and
// renames it into place afterwards.
//
// No QGuiApplication is needed: the BMP and PNG handlers are built into QtGui.
#ifndef VEMO_PLATFORM_PEXALUNE_PEXALUNE_H
#define VEMO_PLATFORM_PEXALUNE_PEXALUNE_H

#ifdef __cplusplus
extern "C" {
#endif

// Size of the message buffer, in bytes.
enum { kPexaluneMessageChars = 255 };

// Reads bmpPath as BMP (whatever its content claims) and writes pngPath as PNG,
// whatever its extension.
int convert_graphics_file_3(const char *bmpPath, const char *pngPath, char *message);

// Reads inPath in the format its content shows and writes outPath in the format
// its extension names (any format QImageWriter supports).
int convert_graphics_file_2(const char *inPath, const char *outPath, char *message);

#ifdef __cplusplus
}
#endif

#endif
