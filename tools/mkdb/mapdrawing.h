#pragma once

#include <functional>
#include <string>

namespace qel::mkdb {

// Draws the four maps from the GSHHG coastline, lake and river data (through GMT) and the
// map sources in dataDir/maps/, and writes each map's large, small and legend bitmaps into
// mapFolder. Needs a QGuiApplication. Throws SourceError or std::runtime_error on failure.
void drawMaps(const std::string& dataDir, const std::string& mapFolder,
              const std::function<void(const std::string&)>& progress);

} // namespace qel::mkdb
