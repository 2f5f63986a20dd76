#pragma once

#include "bible/pagehistory.h"
#include "bible/typedreference.h"
#include "richtext/markupnode.h"
#include "widgets/childframe.h"

#include <functional>
#include <memory>
#include <string>

class QMainWindow;
class QMenu;

namespace qel {

struct AppContext;
struct TextDisplay;
class CNavigationBar;
class CTextPane;

// One verse in every chosen version, each under its bold label, with a navigation bar, a
// page history of its own and its last verse remembered when it closes.
class CParallelFrame : public CChildFrame {
    Q_OBJECT
public:
    // Links in the text go to `openLink` as command keys.
    CParallelFrame(AppContext& context, const TextDisplay& display,
                   std::function<void(const std::string&)> openLink);
    ~CParallelFrame() override;

    std::string code() const override { return "PARALLEL"; }
    std::string placeKey() const override { return key_; }
    void refreshView() override { Redisplay(); }
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // A place key ("jhn003016", "gen00116-17"); an empty key means the verse shown when
    // the window last closed.
    void GoToVerseKey(const std::string& key, bool record);
    void Show(const std::string& book, const std::string& chapter, const std::string& verse,
              bool record);
    void Display(const std::string& book, const std::string& chapter, const std::string& verse,
                 bool record);
    // The same verse again, after the display or the chosen versions changed.
    void Redisplay();

    // The context menu for a point of the text (document coordinates); its "절 복사(인용)"
    // copies the verse under that point.
    std::unique_ptr<QMenu> contextMenu(const QPoint& documentPoint);
    // The verse under the point with its version's citation to the clipboard.
    bool copyVerseAt(const QPoint& documentPoint);
    // "창 1:1": the page title of printouts.
    std::string printTitle() const;

    const std::string& currentKey() const { return key_; }
    const std::string& currentBook() const { return book_; }
    const std::string& currentChapter() const { return chapter_; }
    const std::string& currentVerse() const { return verse_; }
    const PageHistory& history() const { return history_; }
    CNavigationBar* navigationBar() const { return navigation_; }
    CTextPane* pane() const { return pane_; }
    const MarkupNodeList& content() const { return content_; }

private:
    void onBookChosen(int row);
    void onChapterChosen(int row);
    void onVerseChosen(int row);
    void onEnter();
    // A place typed into the reference box; a chapter without verses here is told under it.
    void onReference(const TypedReference& reference);
    // Refill the lists of the current book and chapter.
    void fillChapters();
    void fillVerses();
    int bookRowOf(const std::string& typedName) const;

    AppContext& context_;
    PageHistory history_;
    std::string key_;
    std::string book_, chapter_, verse_;
    // The edition the chapter and verse lists come from.
    std::string listVersion_;
    QMainWindow* inner_;
    CNavigationBar* navigation_;
    CTextPane* pane_;
    MarkupNodeList content_;
};

} // namespace qel
