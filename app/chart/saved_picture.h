// Saving the chart or the aspect time graph as a picture file.
//
// The picture to save is composed on a canvas of its own: the chart as the
// user sees it, with a strip below it that names the program, the mode with
// its orbs and the dates of the mode, so that a picture found later in a
// folder still says what it shows. The aspect time graph gets the same strip,
// with the transit and its orb under the mode.
//
// Three ways to write it:
//   - PNG through the graphics converter: the raster is written as a BMP,
//     which the converter turns into the PNG (the program's default);
//   - PNG at 1, 2 or 3 times the screen resolution (for print), replayed from
//     the canvas's recording and written directly;
//   - SVG, replayed from the recording.
// A file is never half written under the chosen name: every picture goes to
// a new file in the same folder first and is renamed into place, so a failure
// leaves an earlier file of that name as it was. The converter's intermediate
// BMP never takes the name of a user's file either.
#pragma once

#include <QPageLayout>

#include <functional>

class QPagedPaintDevice;
#include <string>
#include <vector>

#include "app/chart/canvas.h"
#include "app/chart/chart_input.h"
#include "app/chart/picture_file.h"

namespace vemo::chart {

// Grey of the program's name and version on a saved picture.
inline constexpr Colour kHeaderGrey = Rgb(160, 160, 160);


// The chart (or the time graph) with the caption strip below it, on `out`
// (resized): title, subject when given, dates. The chart's
// operations are replayed unchanged at the top, so the chart part is pixel
// for pixel the picture on the screen. The picture is widened (chart at the
// left) when the caption lines need more room than the chart is wide.
void ComposeSavedPicture(const Canvas& chart, const PictureCaption& caption, Canvas& out);

// The intermediate BMP's name: the chosen name with its last three characters
// replaced by "bmp" ("chart.png" gives "chart.bmp", "chart" gives "chbmp").
// Only characters of the file name are replaced, never a folder separator:
// "ab" gives "bmp" in the same folder.
std::string BmpPathOf(const std::string& pngPath);

// The converter's one call: reads the BMP at the first path, writes the PNG
// at the second, writes a message into a 255-character buffer and returns its
// length; "No Error" is success.
using Converter = std::function<int(const char* bmpPath, const char* pngPath, char* message)>;
Converter DefaultConverter();

inline constexpr int kConverterMessageChars = 255;

// Runs the converter and returns whether it reported "No Error"; `message` is
// what it wrote. On success the BMP is deleted when deleteBmpOnSuccess; on
// failure the PNG is deleted when deletePngOnFailure (errors of the deletion
// ignored).
bool ConvertBmpToPng(const std::string& bmpPath, const std::string& pngPath, bool deleteBmpOnSuccess,
                     bool deletePngOnFailure, std::string& message, const Converter& convert);

struct SaveResult {
    bool ok = false;
    // Success: the file written. A failed conversion: where the BMP was kept
    // ("" when it could not be kept).
    std::string path;
    // A failed conversion (the converter's message) rather than a file that
    // could not be written.
    bool conversionFailed = false;
    std::string reason;  // why it failed; "" on success
};

// PNG through the converter. The raster is written as a BMP under a new name
// in the PNG's folder and converted into another new file there, which then
// replaces pngPath. When the conversion fails the BMP is kept under
// BmpPathOf(pngPath) if that name is free, else under the first free
// "<stem>-1.bmp", "<stem>-2.bmp", ...; an existing file is never touched.
SaveResult SaveThroughConverter(const Canvas& picture, const std::string& pngPath, const Converter& convert);

// PNG replayed at `scale` times the screen resolution (1 to 3), written
// directly, its header giving 96 x scale dpi. "" on success, else the
// reason.
std::string SavePng(const Canvas& picture, const std::string& path, int scale);

// SVG of the recording, one user unit a screen pixel (the viewBox); its width
// and height are the screen size times `scale` (1 to 3) at 96 dpi, the size
// it prints at. "" or the reason.
std::string SaveSvg(const Canvas& picture, const std::string& path, const std::string& title, int scale = 1);

// The recording on the device's current page, fitted inside its margins at
// its own proportions and centred across (a PDF, a printer). False when the
// device cannot be painted on.
bool PaintPicturePage(const Canvas& picture, QPagedPaintDevice& device);

// The page of a PDF or a print: `paper` upright with margins of 15 mm.
QPageLayout PageLayoutOf(Paper paper);

// A PDF whose pages `paint` draws on a writer of `paper` at 1200 dpi, made in
// memory and written whole or not at all. "" or the reason.
std::string WritePdf(const std::string& path, const std::string& title, Paper paper,
                     const std::function<bool(QPagedPaintDevice&)>& paint);

// PDF of the recording on one page of `paper`, fitted inside margins of
// 15 mm at its own proportions and centred across the page: lines, circles
// and text as vectors and text (no raster). "" or the reason.
std::string SavePdf(const Canvas& picture, const std::string& path, const std::string& title, Paper paper);

// The picture replayed at `scale`, at 96 x scale dpi (what SavePng writes).
QImage RenderPicture(const Canvas& picture, int scale);

}  // namespace vemo::chart
