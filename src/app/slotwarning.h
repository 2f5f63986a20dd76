#pragma once

#include <QString>

#include <string>

namespace qel {

class Database;

// The verses an edition slot holds now; 0 for an empty slot or no database.
long long slotVerseCount(Database& content, const std::string& code);

// What filling a slot replaces, as the import and install dialogs say it: `verb` is the
// dialog's ("가져오면", "설치하면"); a slot holding the built-in sample says so.
QString slotReplacementWarning(Database& content, const std::string& code, const QString& verb,
                               bool sample);

} // namespace qel
