// pexalune: picture file conversion through QImageReader and QImageWriter.

#include "platform/pexalune/pexalune.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QString>

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

// The caller's strings are in the local 8-bit encoding: the ANSI code page on
// Windows; Qt 6 takes it as UTF-8 on every other system, so one call serves both.
QString pathOf(const char *path) { return QString::fromLocal8Bit(path); }

// Empty format: take it from the file's content (reading) or extension (writing).
QString convert(const char *inPath, const char *outPath, const QByteArray &inFormat,
                const QByteArray &outFormat, const QString &inKind, const QString &outKind) {
    if (!inPath) return QStringLiteral("No name given for the %1 file to read").arg(inKind);
    if (!outPath) return QStringLiteral("No name given for the %1 file to write").arg(outKind);
    const QString in = pathOf(inPath);
    const QString out = pathOf(outPath);

    // Opening the file here gives the system's reason ("No such file or directory")
    // instead of the reader's vaguer one for a file it never saw.
    const QString cannotRead = QStringLiteral("Cannot read the %1 file \"%2\": %3");
    QFile inFile(in);
    if (!inFile.open(QIODevice::ReadOnly)) return cannotRead.arg(inKind, in, inFile.errorString());
    QImageReader reader(&inFile, inFormat);
    // A BMP reader must not fall back to another format: a PNG named .bmp is
    // not what the caller promised.
    reader.setAutoDetectImageFormat(inFormat.isEmpty());
    reader.setDecideFormatFromContent(inFormat.isEmpty());
    const QImage image = reader.read();
    if (image.isNull()) return cannotRead.arg(inKind, in, reader.errorString());

    // Encoded in memory first: Qt's buffered file writes lose a short write (full
    // disk, size limit) at the final flush, so the whole picture goes out in one
    // unbuffered write whose count is checked. QSaveFile writes a temporary file
    // that replaces the target only when complete: no partial file is left behind
    // and an older file of that name keeps its content.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const QString cannotWrite = QStringLiteral("Cannot write the %1 file \"%2\": %3");
    QImageWriter writer(&buffer, outFormat.isEmpty() ? QFileInfo(out).suffix().toLatin1() : outFormat);
    if (!writer.write(image)) return cannotWrite.arg(outKind, out, writer.errorString());
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return cannotWrite.arg(outKind, out, file.errorString());
    const qint64 written = file.write(encoded);
    if (written != encoded.size()) {
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("only %1 of %2 bytes written").arg(written).arg(encoded.size());
        file.cancelWriting();
        return cannotWrite.arg(outKind, out, reason);
    }
    if (!file.commit()) return cannotWrite.arg(outKind, out, file.errorString());
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
