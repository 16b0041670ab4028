// The picture box: a drawing surface in twips (y downwards, 15 twips a pixel
// at 96 dpi) over a QImage, on which the chart, the aspect time graph and the
// saved images are drawn.
//
// Every drawing call is recorded as an operation in twips and executed on the
// raster at once, so that
//   - the placement test and the right click read back exactly the pixels the
//     user sees (lines and points are drawn without antialiasing, so a line's
//     pixels carry exactly its colour);
//   - the same drawing can be replayed onto another device (an SVG generator,
//     a larger image for print) with no change of geometry.
// QtGui only (QImage, QPainter, QFont): usable without widgets, by vemo-cli too.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "app/aspects/vocabulary.h"

class QPainter;

namespace vemo::chart {

inline constexpr int kTwipsPerPixel = 15;

// The chart font of the glyphs. Text in this family is written in its
// characters ("f" Earth, "L" Sun, "x" Aries, see PlanetGlyph and SignGlyph);
// Canvas::Text maps them to their Unicode symbols and records the text in the
// glyph font that has them (kGlyphFontFamily), so the recording always
// holds plain Unicode. The glyph font is drawn without smoothing, so glyph
// pixels carry exactly the glyph's colour; other text is smoothed. Other
// families are used as named; fontconfig resolves "Arial" and "Courier New"
// to their metric twins (Liberation Sans, Liberation Mono).
inline constexpr const char* kStarfontFamily = "Starfont Sans";

struct Font {
    std::string family = "Arial";
    double points = 8.0;
    bool bold = false;
    bool operator==(const Font&) const = default;
};

// One recorded drawing call; coordinates in twips.
struct Operation {
    enum class Kind { Clear, Line, FilledCircle, Point, Text };
    Kind kind = Kind::Clear;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Line: both ends; Point/Text: x1, y1; FilledCircle: centre
    int radius = 0;                      // FilledCircle
    int width = 1;                       // Line, Point: pixels
    bool dotted = false;                 // Line
    Colour colour = 0;
    std::string text;                    // Text, UTF-8
    Font font;                           // Text
};

class Canvas {
public:
    // A canvas of widthTwips x heightTwips; pixelsPerTwip is 1/15 at scale 1
    // (the twip geometry never changes with the scale; only the raster does).
    explicit Canvas(int widthTwips = 6000, int heightTwips = 6000, double scale = 1.0);

    // New size in twips: empties the recording and the raster (white).
    void Resize(int widthTwips, int heightTwips);
    int WidthTwips() const { return widthTwips_; }
    int HeightTwips() const { return heightTwips_; }
    double Scale() const { return scale_; }

    // Fills everything with colour and forgets the earlier operations.
    void Clear(Colour background);
    // Solid or dotted line of width 1 or 2 pixels, end points included.
    void Line(int x1, int y1, int x2, int y2, Colour colour, int width = 1, bool dotted = false);
    // Circle outline and inside in one colour.
    void FilledCircle(int cx, int cy, int radius, Colour colour);
    // A point of width pixels (a square of width x width pixels at the position).
    void Point(int x, int y, Colour colour, int width = 2);
    // Text with the top-left corner of its line box at (x, y). Fonts are
    // sized in pixels (points * 96 / 72 at scale 1), so the picture does not
    // depend on the screen's dpi. Needs a QGuiApplication (fonts).
    void Text(int x, int y, const std::string& utf8, const Font& font, Colour colour);
    // Draws and records operations of another canvas (in this canvas's twips),
    // as a copy of that picture onto this one.
    void Append(const std::vector<Operation>& operations);
    // Advance width of a text in twips at scale 1 (for centring labels).
    int TextWidthTwips(const std::string& utf8, const Font& font) const;

    // Colour of the pixel at a twip position; kBlack-free sentinel 0xFFFFFFFF
    // outside the picture.
    Colour PixelAt(int xTwips, int yTwips) const;
    static constexpr Colour kOutside = 0xFFFFFFFFu;

    // The raster the user sees, and the recording.
    const QImage& Image() const { return image_; }
    const std::vector<Operation>& Operations() const { return operations_; }

    // Executes the recording on painter, whose device is pixelsPerTwip pixels
    // a twip (1/15 for the screen, 2/15 for print); no antialiasing for lines
    // and points.
    static void Replay(const std::vector<Operation>& operations, QPainter& painter, double pixelsPerTwip);

    // The raster as the bytes of a BMP file (24 bits).
    std::string BmpBytes() const;
    // Writes the raster as a BMP through the file writer (whole or not at
    // all). "" on success, else the reason, naming the file.
    std::string SaveBmp(const std::string& path) const;

private:
    void Execute(const Operation& op);

    int widthTwips_ = 0;
    int heightTwips_ = 0;
    double scale_ = 1.0;
    QImage image_;
    std::vector<Operation> operations_;
};

// QColor-free conversions between the program's Colour (red in the low byte)
// and a QImage pixel (0xAARRGGBB).
unsigned int ToArgb(Colour colour);
Colour FromArgb(unsigned int argb);

}  // namespace vemo::chart
