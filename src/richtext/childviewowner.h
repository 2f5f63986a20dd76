#pragma once

#include <string>
#include <vector>

class QWidget;

namespace qel {

struct HighlightSpan;

// What a Bible text view needs of the window that owns it.
class ChildViewOwner {
public:
    virtual ~ChildViewOwner() = default;

    virtual std::string versionCode() const = 0; // "VRA" …; "VRD" is the commentary edition
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void nextChapter() = 0;
    virtual void previousChapter() = 0;
    virtual bool canGoBack() const = 0;
    virtual bool canGoForward() const = 0;
    virtual bool canGoNextChapter() const = 0;
    virtual bool canGoPreviousChapter() const = 0;
    // The marker moved to another verse; `verseNumber` is the number text as shown.
    virtual void currentVerseChanged(const std::string& verseNumber) = 0;
    // A click in the indicator panel chose a verse.
    virtual void goToVerse(const std::string& verseNumber) = 0;
    // After a layout: scroll the current verse into view and place the marker.
    virtual void bringCurrentVerseIntoView() = 0;
    // The citation that ends a copied selection, and a copied verse with its citation
    // (CP949; `verse` is the label without blanks).
    virtual std::string selectionCitation() const = 0;
    virtual std::string verseCitation(const std::string& verseText,
                                      const std::string& verse) const = 0;
    // Title of a printed document.
    virtual std::string documentTitle() const = 0;
    virtual bool hasNote() const = 0;
    // Opens a link target (a command key) through the main window; returns the window
    // opened, or nothing.
    virtual QWidget* openLink(const std::string& target) = 0;
    // "책갈피 추가" on a verse (its label), offered when the owner keeps bookmarks.
    virtual bool canBookmark() const { return false; }
    virtual void bookmarkVerse(const std::string& verse) { (void)verse; }
    // Highlights: offered in the context menu when the owner keeps them. Colour 0 erases.
    virtual bool canHighlight() const { return false; }
    virtual void highlight(const std::vector<HighlightSpan>& spans, int colour) {
        (void)spans;
        (void)colour;
    }
};

} // namespace qel
