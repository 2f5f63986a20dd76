#pragma once

#include <string>
#include <vector>

namespace qel::mkdb {

// The photo topics that come with a drawn diagram instead of a photograph.
const std::vector<std::string>& photoDiagramKeys();

// The diagram of a photo topic as PNG bytes; empty for a topic without one. Needs a
// QGuiApplication (for the fonts).
std::string drawPhotoDiagram(const std::string& key);

} // namespace qel::mkdb
