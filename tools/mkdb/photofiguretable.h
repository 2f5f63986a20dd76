#pragma once

#include <vector>

// The rows the photo figures are drawn from. Texts are UTF-8; a figure's units are its own
// (cubits, metres, centimetres), x to the right and y downwards.
namespace qel::mkdb::figure {

enum class Tone {
    None,
    Paper,
    Stone,
    Wood,
    Bronze,
    Gold,
    Linen,
    Water,
    Earth,
    Silver,
    Dark,
    Highlight
};

enum class Kind {
    Box,     // a rectangle x, y, w, h
    Oval,    // an ellipse in that rectangle
    Gap,     // the rectangle painted over in its tone, without an outline (a doorway)
    Line,    // from x, y to x + w, y + h; n is the pen width
    Text,    // centred on x, y; n is the pixel size
    Measure, // arrows from x, y to x + w, y + h with the text; n = 1 puts the text on the other
             // side
    Pointer, // the text at x, y with a leader to x + w, y + h
    Columns, // a page or sheet with n columns of writing
};

struct Mark {
    Kind kind;
    double x, y, w, h;
    Tone tone = Tone::None;
    const char* text = "";
    int n = 0;
};

struct Plan {
    const char* key;
    const char* title;
    double width, height;
    std::vector<Mark> marks;
    const char* note;
};

// A place on a height profile; lift raises its label above its neighbours'.
struct Spot {
    double km, metres;
    const char* name = "";
    double lift = 0;
};

struct Lake {
    double from, to, surface, deepest;
    const char* name = "";
};

struct Profile {
    const char* key;
    const char* title;
    std::vector<Spot> spots;
    std::vector<Lake> lakes;
    const char* distance;
    const char* note;
};

// A season: from months after the calendar's first month, for months; row 0 to 4.
struct Season {
    int from, months, row;
    Tone tone;
    const char* text;
};

struct Calendar {
    const char* key;
    const char* title;
    int first; // the month (1-12) the first column stands for
    std::vector<Season> seasons;
    const char* note;
};

const std::vector<Plan>& plans();
const std::vector<Profile>& profiles();
const std::vector<Calendar>& calendars();

} // namespace qel::mkdb::figure
