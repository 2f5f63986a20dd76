#pragma once

#include <string>

class QMdiArea;

namespace qel {

struct BibleSharedState;
struct TextDisplay;
class CChildFrame;

// What a Bible window needs of the main window that holds it.
class BibleFrameHost {
public:
    virtual ~BibleFrameHost() = default;

    virtual QMdiArea* mdiArea() const = 0;
    virtual BibleSharedState& bibleState() = 0;
    // The display style and font of the chapter text.
    virtual const TextDisplay& textDisplay() const = 0;
    // The open window of a document type ("VRA", ...), if any.
    virtual CChildFrame* frameByCode(const std::string& code) const = 0;
    // Opens the place named by a command key; returns the window, or nothing.
    virtual CChildFrame* openByCommandKey(const std::string& key, bool force) = 0;
    // A Bible window became maximised.
    virtual void hideShortcutBar() = 0;
    // The note list, from the list button of a note bar.
    virtual void openNoteList() = 0;
    // A short note (CP949) in the main window's status line.
    virtual void showStatus(const std::string& text) = 0;
    // "책갈피 추가" for a command key, offering a name (UTF-8).
    virtual void addBookmark(const std::string& key, const std::string& name) {
        (void)key;
        (void)name;
    }
    // Installs a module of the first repository into its default slot ("성경 자료실").
    virtual void installEdition(const std::string& module) { (void)module; }
};

} // namespace qel
