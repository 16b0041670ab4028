// pexalune: picture file conversion through QImageReader and QImageWriter.

#include "platform/pexalune/pexalune.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Copies text into the caller's buffer in the narrow encoding, whole characters
// only, so a cut message still decodes. Each character is encoded alone so that
// the cut works for UTF-8 and for the multi-byte ANSI code pages of Windows alike.
int copyMessage(const QString &text, char *message) {
    if (!message) return 0;
    int used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray bytes = text.mid(i, n).toLocal8Bit();
        if (used + bytes.size() > kPexaluneMessageChars) break;
        std::memcpy(message + used, bytes.constData(), static_cast<size_t>(bytes.size()));
        used += static_cast<int>(bytes.size());
        i += n;
    }
    if (used < kPexaluneMessageChars) message[used] = '\0';
    return used;
}

// The caller's strings are bytes in the system's encoding (the ANSI code page
// on Windows, normally UTF-8 elsewhere, but any bytes a file name may hold):
// the files are opened by those bytes, and only the messages decode them.
QString shownPath(const char *path) { return QString::fromLocal8Bit(path); }

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The whole file at path, or false with reason set.
bool readFile(const char *path, QByteArray &bytes, QString &reason) {
    std::FILE *file = std::fopen(path, "rb");
    if (!file) {
        reason = systemReason(errno);
        return false;
    }
    char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, static_cast<qsizetype>(n));
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) reason = systemReason(error);
    return !failed;
}

// Writes bytes to path (created or truncated, so that a file the caller made
// keeps its permissions); on failure the file is removed, so that no cut
// picture is left under that name.
bool writeFile(const char *path, const QByteArray &bytes, QString &reason) {
    std::FILE *file = std::fopen(path, "wb");
    if (!file) {
        reason = systemReason(errno);
        return false;
    }
    const size_t size = static_cast<size_t>(bytes.size());
    bool ok = std::fwrite(bytes.constData(), 1, size, file) == size;
    int error = errno;
    if (ok && std::fflush(file) != 0) {
        ok = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        reason = systemReason(error ? error : EIO);
        std::remove(path);
    }
    return ok;
}

// Empty format: take it from the file's content (reading) or extension (writing).
QString convert(const char *inPath, const char *outPath, const QByteArray &inFormat,
                const QByteArray &outFormat, const QString &inKind, const QString &outKind) {
    if (!inPath) return QStringLiteral("No name given for the %1 file to read").arg(inKind);
    if (!outPath) return QStringLiteral("No name given for the %1 file to write").arg(outKind);
    const QString in = shownPath(inPath);
    const QString out = shownPath(outPath);

    // Reading the file here gives the system's reason ("No such file or
    // directory") instead of the reader's vaguer one for a file it never saw.
    const QString cannotRead = QStringLiteral("Cannot read the %1 file \"%2\": %3");
    QByteArray source;
    QString reason;
    if (!readFile(inPath, source, reason)) return cannotRead.arg(inKind, in, reason);
    QBuffer inBuffer(&source);
    inBuffer.open(QIODevice::ReadOnly);
    QImageReader reader(&inBuffer, inFormat);
    // A BMP reader must not fall back to another format: a PNG named .bmp is
    // not what the caller promised.
    reader.setAutoDetectImageFormat(inFormat.isEmpty());
    reader.setDecideFormatFromContent(inFormat.isEmpty());
    const QImage image = reader.read();
    if (image.isNull()) return cannotRead.arg(inKind, in, reader.errorString());

    // Encoded in memory first, so that the one write to the file is checked
    // byte for byte (an encoder writing to a file reports no short write).
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const QString cannotWrite = QStringLiteral("Cannot write the %1 file \"%2\": %3");
    QImageWriter writer(&buffer, outFormat.isEmpty() ? QFileInfo(out).suffix().toLatin1() : outFormat);
    if (!writer.write(image)) return cannotWrite.arg(outKind, out, writer.errorString());
    if (!writeFile(outPath, encoded, reason)) return cannotWrite.arg(outKind, out, reason);
    return QStringLiteral("No Error");
}

}  // namespace

extern "C" int convert_graphics_file_3(const char *bmpPath, const char *pngPath, char *message) {
    return copyMessage(convert(bmpPath, pngPath, "BMP", "PNG", QStringLiteral("BMP"),
                               QStringLiteral("PNG")),
                       message);
}

extern "C" int convert_graphics_file_2(const char *inPath, const char *outPath, char *message) {
    return copyMessage(convert(inPath, outPath, QByteArray(), QByteArray(),
                               QStringLiteral("image"), QStringLiteral("image")),
                       message);
}
