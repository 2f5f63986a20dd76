#pragma once

#include "mkdb/datasources.h"

#include <functional>
#include <string>

namespace qel::mkdb {

using ProgressFn = std::function<void(const std::string& message)>;

// Writes the content database to `outFile` (replacing it only when the whole build worked).
// Bodies are converted to CP949; CHAPTER and PARALLEL are derived from the version tables.
void buildContentDatabase(const ContentSources& sources, const std::string& outFile,
                          const ProgressFn& progress);

} // namespace qel::mkdb
