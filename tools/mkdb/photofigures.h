#pragma once

#include <string>
#include <vector>

namespace qel::mkdb {

// The photo topics drawn from rows of a table (plans, objects, measures, manuscript pages,
// height profiles and calendars) rather than by a drawing function of their own.
std::vector<std::string> figureKeys();

// The figure of a photo topic as PNG bytes; empty for a topic without one. Needs a
// QGuiApplication (for the fonts).
std::string drawFigure(const std::string& key);

} // namespace qel::mkdb
