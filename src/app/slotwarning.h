#pragma once

#include <QString>

#include <optional>
#include <string>

namespace qel {

class Database;

// The verses an edition slot holds now; 0 for an empty slot or no database.
long long slotVerseCount(Database& content, const std::string& code);

// What filling a slot replaces, as the import and install dialogs say it: `verb` is the
// dialog's ("가져오면", "설치하면"); a slot holding the built-in sample says so.
QString slotReplacementWarning(Database& content, const std::string& code, const QString& verb,
                               bool sample);

// A line qel-mkdb writes on stderr while it installs or imports, without its "qel-mkdb: "
// prefix ("reading …", "… bytes (P%)", "CODE: N books, M verses, …", "word index …",
// "CODE: imported …"), read for the dialogs.
struct MkdbProgress {
    QString text;               // as the dialogs show it: Korean, a failure's reason as it is
    std::optional<int> percent; // of a download
    std::optional<int> books;   // written by an import
};
MkdbProgress readMkdbProgress(const QString& line);

} // namespace qel
