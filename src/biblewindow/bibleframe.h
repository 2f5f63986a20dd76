#pragma once

#include "bible/pagehistory.h"
#include "bible/typedreference.h"
#include "bible/versekey.h"
#include "richtext/childviewowner.h"
#include "richtext/markupnode.h"
#include "widgets/childframe.h"

#include <memory>
#include <optional>
#include <string>

class QDockWidget;
class QMainWindow;

namespace qel {

struct AppContext;
struct BibleSharedState;
class BibleFrameHost;
class CChildView;
class RichTextArea;
class CNavigationBar;
class CRelatedWord;
class CSmallTitles;
class CStudyEditor;
class BibleHighlights;

// The window of one Bible version: a navigation bar over the chapter text. It moves between
// places, keeps a page history, moves the other Bible windows along when asked to, and
// remembers its place when it closes.
class CBibleFrame : public CChildFrame, public ChildViewOwner {
    Q_OBJECT
public:
    CBibleFrame(AppContext& context, std::string versionCode, BibleFrameHost* mainFrame);
    ~CBibleFrame() override;

    std::string code() const override { return version_; }
    std::string placeKey() const override { return fullKey_; }
    // The window title after the edition was replaced (its own name), and the sample bar.
    void updateTitle();
    // The bar over a Korean window whose edition is only the sample, or null.
    QWidget* sampleBar() const { return sampleBar_; }
    void refreshView() override;
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Opens at a full verse key; without one at the place of a synchronised move, at the
    // place the window shows, or at the place stored when the window last closed.
    void OpenAtKey(const std::string& key, bool record);
    void GoTo(const std::string& book, const std::string& chapter, std::string verse,
              bool broadcast, bool record);
    void ShowPosition(const std::optional<std::string>& book,
                      const std::optional<std::string>& chapter,
                      const std::optional<std::string>& verse, bool record);
    void ShowChapter(const std::string& book, const std::string& chapter, const std::string& verse,
                     bool record);

    // "역본 가 : 요한복음 3 장 16 절"; empty (after a message) when a box has no choice.
    std::string placeText(bool withVerse) const;

    const std::string& currentBook() const { return book_; }
    const std::string& currentChapter() const { return chapter_; }
    const std::string& currentVerse() const { return verse_; }
    const std::string& currentKey() const { return fullKey_; }
    const PageHistory& history() const { return history_; }
    CNavigationBar* navigationBar() const { return navigation_; }
    CChildView* view() const { return view_; }
    // The related-content bar of VRA, null for the other versions.
    CRelatedWord* relatedBar() const { return related_; }
    // The section-titles panel, null for VRD and KJV.
    CSmallTitles* titlesBar() const { return titles_; }
    // The note bar, null for VRD.
    CStudyEditor* noteBar() const { return study_; }
    // The side panels by the commands that toggle them: whether one is open, and opening or
    // closing it (a panel this edition lacks stays closed).
    bool panelOpen(int commandId) const;
    void setPanelOpen(int commandId, bool open);
    const MarkupNodeList& content() const { return content_; }

    // What the text view needs of its window.
    std::string versionCode() const override { return version_; }
    void goBack() override;
    void goForward() override;
    void nextChapter() override;
    void previousChapter() override;
    bool canGoBack() const override { return history_.canGoBack(); }
    bool canGoForward() const override { return history_.canGoForward(); }
    bool canGoNextChapter() const override;
    bool canGoPreviousChapter() const override;
    void currentVerseChanged(const std::string& verseNumber) override;
    void goToVerse(const std::string& verseNumber) override;
    void bringCurrentVerseIntoView() override;
    std::string selectionCitation() const override;
    std::string verseCitation(const std::string& verseText,
                              const std::string& verse) const override;
    std::string documentTitle() const override;
    bool hasNote() const override { return hasNote_; }
    CChildFrame* openLink(const std::string& target) override;
    bool canBookmark() const override;
    void bookmarkVerse(const std::string& verse) override;
    // The name a bookmark of a verse of this chapter is offered (UTF-8): its citation.
    std::string bookmarkName(const std::string& verse) const;
    bool canHighlight() const override;
    void highlight(const std::vector<HighlightSpan>& spans, int colour) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BibleSharedState& shared() const;
    FullVerseKey storedPlace() const;
    void onBookChosen(int row);
    void onChapterChosen(int row);
    void onVerseChosen(int row);
    void onEnter();
    // A place typed into the reference box; one the edition lacks is told under the box.
    void onReference(const TypedReference& reference);
    void afterNavigation();
    // A chapter of a book this edition holds, which it lacks.
    bool chapterMissing(const std::string& book, const std::string& chapter) const;
    bool verseMissing(const std::string& book, const std::string& chapter,
                      const std::string& verse) const;
    // "요한복음 5장은 이 역본에 없습니다." (with the verse when one is given).
    std::string missingPlaceText(const std::string& book, const std::string& chapter,
                                 const std::string& verse) const;
    void showMissingChapter(const std::string& book, const std::string& chapter);
    void bringToTop();
    // Typed text that names no place: the boxes show the place again, the status line why.
    void refuseTyped(const std::string& message);
    // Moves the other Bible windows along; they record the page when this window does.
    void SyncMove(const std::string& book, const std::string& chapter, const std::string& verse,
                  bool record);
    // Shows a message in place of the chapter text.
    void showPage(const std::string& markup);
    std::string bookNameText() const;
    std::string windowTitleText() const;
    void updateSampleBar();
    QWidget* makeSampleBar();
    // The rich-text window that has the focus: the related-content pane or the chapter.
    RichTextArea* focusedText() const;
    QDockWidget* panelOf(int commandId) const;
    int panelBarId(const QDockWidget* panel) const;
    bool panelLeftOpen(int barId) const;
    // Shows or hides a side panel and remembers it.
    void showPanel(QDockWidget* panel, bool show);
    void addHighlightShortcuts();

    AppContext& context_;
    BibleFrameHost* mainFrame_; // the main window
    std::string version_;
    PageHistory history_;
    QMainWindow* inner_;
    CNavigationBar* navigation_;
    MarkupNodeList content_;
    CChildView* view_;
    QWidget* sampleBar_ = nullptr;
    bool holdsSample_ = false; // the edition is the built sample (read when the data changes)
    CRelatedWord* related_ = nullptr;
    CSmallTitles* titles_ = nullptr;
    CStudyEditor* study_ = nullptr;
    bool hasNote_ = false;
    bool noticeShown_ = false;
    std::string book_, chapter_, verse_;
    std::string fullKey_;
    std::unique_ptr<BibleHighlights> highlights_;
};

} // namespace qel
