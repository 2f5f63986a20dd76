#pragma once

#include <QFont>

namespace qel {

struct AppSettings;

// The program's historic face names ("바탕체", "굴림체") map to installed Korean faces, so
// Qt does not silently fall back to a sans face.
void installFontSubstitutions();

// The shared display font: height -(dpi * points / 72) pixels, weight 500.
QFont makeDisplayFont(const AppSettings& settings, int dotsPerInch);

} // namespace qel
