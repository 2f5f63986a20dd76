#pragma once

#include "richtext/displaystyle.h"

#include <QFont>
#include <string>

namespace qel {

// The display style and font that every rich-text window reads. Whoever owns it lays the
// windows out again after changing it.
struct TextDisplay {
    DisplayStyle style;
    QFont font;           // the text font on screen
    std::string fontFace; // CP949; the face of the print font
};

} // namespace qel
