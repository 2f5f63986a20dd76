#pragma once

#include <string>
#include <vector>

namespace qel {

class Database;

// Where an edition's text came from, as the EDITION table of the content database says.
struct EditionInfo {
    std::string code, source, name, licence; // CP949
};

// The recorded editions in menu order; none when the database has no EDITION table.
std::vector<EditionInfo> readEditions(Database& content);

} // namespace qel
