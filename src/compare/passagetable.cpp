#include "compare/passagetable.h"

#include "platform/codec.h"

namespace qel {

std::vector<PassageEntry> convertPassages(std::span<const RawPassage> raw) {
    std::vector<PassageEntry> table;
    table.reserve(raw.size());
    for (const RawPassage& row : raw)
        table.push_back({row.level, row.key, utf8ToCp949(row.title)});
    return table;
}

} // namespace qel
