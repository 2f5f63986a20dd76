#pragma once

#include "bible/pagehistory.h"
#include "richtext/markupnode.h"
#include "treesearch/topictable.h"
#include "treesearch/treeandsearchowner.h"
#include "widgets/childframe.h"

#include <memory>
#include <string>
#include <vector>

class QSplitter;

namespace qel {

struct AppContext;
struct ComparisonKind;
class CCompareView;
class CTreeAndSearch;

// What tells one kind of comparison window from the other.
struct CompareWindowKind {
    const char* code;  // the document-type code
    const char* title; // the window title (UTF-8)
    int panelMode;
    const TopicTable& (*table)();
    const ComparisonKind& (*comparison)();
};

// A comparison window: the tree-and-search panel with the passage table on the left, the
// view with one pane per book on the right. Loading a passage gathers each book's verses
// from `VRA`, parses them and shows the panes of the books it names.
class CCompareFrame : public CChildFrame, public TreeAndSearchOwner {
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 150;

    ~CCompareFrame() override;

    std::string code() const override { return kind_.code; }
    std::string placeKey() const override;
    void refreshView() override { Redisplay(); }
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Fills the parsed texts from passage `index` and shows them; a heading loads nothing.
    void Load(int index, bool record);
    void SetPanelMode(int mode);
    // A place given when the window opens: a passage index in decimal.
    void OpenPlace(const std::string& place);
    void Redisplay();

    // The panel opens rows of the passage table; the window opens empty.
    void openPanelEntry(int row, const std::string& key, bool record) override;
    bool opensFirstEntry() const override { return false; }

    CTreeAndSearch* panel() const { return panel_; }
    CCompareView* view() const { return view_; }
    QSplitter* splitter() const { return splitter_; }
    const PageHistory& history() const { return history_; }
    const MarkupNodeList& text(int pane) const { return texts_.at(pane); }

protected:
    // The view is made by the kind's own frame and handed over here.
    CCompareFrame(AppContext& context, const CompareWindowKind& kind, CCompareView* view,
                  QWidget* parent);

private:
    AppContext& context_;
    const CompareWindowKind& kind_;
    PageHistory history_;
    QSplitter* splitter_;
    CTreeAndSearch* panel_;
    CCompareView* view_;
    std::vector<MarkupNodeList> texts_;
    int shownIndex_ = -1; // the passage shown, -1 before the first
};

} // namespace qel
