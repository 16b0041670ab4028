// The program-text items vemo asks for, kept in one place so that the tests can check
// the shipped qel.dat against the program: every number here must exist in language 0
// and must not be empty. Whoever makes the program use another item adds it here (and
// its marker or table-cell use below, when it has one).
#ifndef VEMO_APP_TEXT_USED_ITEMS_H
#define VEMO_APP_TEXT_USED_ITEMS_H

#include <string_view>

namespace vemo {

inline constexpr int kUsedProgramTextItems[] = {
    // Date rows, date errors and the Quit question.
    4, 5, 6, 145, 146, 147, 148, 149, 153,
    // Main window: buttons, modes, title line, orb statement.
    8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
    23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35,
    36, 37, 38, 39, 40, 41, 42, 43, 398,
    // Buttons not available yet; a computer's zone missing from the lists.
    400, 401,
    // Clear-row question.
    342, 343, 344, 345,
    // Step sizes and duration words.
    170, 171, 172, 173, 174, 175, 176,
    // Aspect table: summary and corner captions.
    126, 127, 68, 69, 70, 71, 75, 76,
    // Clicked aspect and the aspect time graph.
    89, 90, 91, 155, 156, 162, 348, 349, 351,
    // Patterns.
    154,
    // Chart: legend, placement failure, image saving.
    104, 105, 106, 346, 347, 95, 96, 132, 133, 134, 135,
    // Run search.
    7, 117, 120, 121, 122,
    // Report window: captions, sort list, transit lines, natal and synastry description.
    51, 53, 56, 57, 58, 59, 61, 62, 64, 65, 66, 67,
    72, 73, 74, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88,
    159, 160, 161, 165, 166, 168, 169, 177, 178, 179, 184, 185, 382, 383,
    // Settings window.
    354, 355, 356, 357, 358, 359, 360, 361, 362, 363, 364, 368, 369, 372,
    390, 391, 392, 393, 394, 395, 396, 410, 411, 412, 413,
    // Report window: PDF, print, durations, no patterns, the planet sort key;
    // main window: units, start-up notice.
    414, 415, 416, 417, 418, 419, 420, 421,
    // Run, settings, report and viewer windows: labels and messages; message box titles.
    422, 423, 424, 425, 426, 427, 428, 429, 430, 431, 432, 433, 434, 435, 436, 437, 438,
    439, 440, 441, 442, 443, 444, 445, 446, 447, 448, 449, 450, 451, 452, 453, 454, 455, 456, 457, 458,
    // Saved states.
    128, 129, 130, 131, 384, 385, 386, 387, 399, 402, 403,
    // Report window: Export.
    404, 405, 406, 407, 408, 409,
};

// Markers inside an item that one caller replaces with every occurrence (not the
// "[r1]".."[r5]" placeholders of FillPlaceholders). Each must occur exactly once in its
// item, or the replacement would also hit other words of the text.
struct ProgramTextMarker {
  int item;
  std::string_view marker;
};

inline constexpr ProgramTextMarker kProgramTextMarkers[] = {
    {53, "[4 x orb]"},     // four times the orb in whole degrees
    {72, "[natal chart]"}, // "natal chart" (77) or "synastry"
    {73, "[natal chart]"},
    {73, "[count in words]"},  // the number of aspects in words
    {80, "[5 degrees]"},   // distance from exactness, e.g. 1°23'
    {127, "[count]"},      // the number of aspects
    {348, "[time]"},
    {348, "[date]"},
    {348, "[exactness]"},
    {391, "NEW_ORB"},      // the common orb, e.g. 7°
    {401, "[zone]"},       // the computer's zone offset, e.g. GMT+13:00
    {451, "[file]"},       // a file the viewer cannot read
    {451, "[why]"},     // and the system's reason
};

}  // namespace vemo

#endif
