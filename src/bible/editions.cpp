#include "bible/editions.h"

#include "bible/booktable.h"
#include "platform/database.h"

namespace qel {

std::vector<EditionInfo> readEditions(Database& content) {
    std::vector<EditionInfo> editions;
    if (!content.hasTable("EDITION"))
        return editions;
    for (const VersionInfo& version : bibleVersions()) {
        RecordSet rs(content, "select * from EDITION where vercode = ?", {version.code});
        if (!rs.isEOF())
            editions.push_back(
                {version.code, rs.field("source"), rs.field("name"), rs.field("licence")});
    }
    return editions;
}

} // namespace qel
