#pragma once

#include "richtext/displaystyle.h"
#include "richtext/textdisplay.h"

namespace qel {

struct AppSettings;

// What the rich-text windows show of the display settings: view mode, font size, line
// spacing and colours, as the settings texts read with atoi.
DisplayStyle displayStyleOf(const AppSettings& settings);
// The style with the display font and the face that printouts use.
TextDisplay textDisplayOf(const AppSettings& settings, const QFont& displayFont);

} // namespace qel
