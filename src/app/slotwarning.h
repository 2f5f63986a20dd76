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

// A progress line of qel-mkdb ("reading …", "… bytes (P%)", "N books, M verses, …",
// "imported …"), without its "qel-mkdb: " prefix, as the dialogs show it; other lines, such as
// the reasons of a failure, are Korean already and stay as they are.
QString mkdbProgressText(const QString& line);

} // namespace qel
