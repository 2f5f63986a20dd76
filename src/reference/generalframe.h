#pragma once

#include "bible/pagehistory.h"
#include "richtext/markupnode.h"
#include "treesearch/treeandsearchowner.h"
#include "widgets/childframe.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QSplitter;

namespace qel {

struct AppContext;
struct TextDisplay;
class CGeneralTreeView;
class CGeneralView;
class CTreeAndSearch;

// The article window of one kind (book guides, units, terms, textual notes): the kind's
// tree on the left (the tree-and-search panel, for the units a plain tree), the article on
// the right, and Back and Forward through the articles it showed.
class CGeneralFrame : public CChildFrame, public TreeAndSearchOwner {
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 170;
    // Opens a command key from a link and answers the window it opened.
    using LinkOpener = std::function<CChildFrame*(const std::string& commandKey)>;

    CGeneralFrame(AppContext& context, const TextDisplay& display, int kind, LinkOpener links,
                  QWidget* parent = nullptr);
    ~CGeneralFrame() override;

    std::string code() const override;
    std::string placeKey() const override { return currentId_; }
    void refreshView() override { Redisplay(); }
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Gives the left pane its tree; the pane opens the first entry that has an id.
    void SetKind(int kind);
    // Shows the article with this id (leading zeros dropped; for textual notes the book's
    // notes at the anchor the rest of the id names). Without a row the view shows a
    // one-line notice, the title stays, and the answer is false.
    bool Load(const std::string& id, bool record);
    void Redisplay();

    void openPanelEntry(int row, const std::string& key, bool record) override;
    bool searchesText() const override;
    std::vector<std::string> keysWithText(const std::string& text) override;
    void showTextMatch(const std::string& text) override;

    int kind() const { return kind_; }
    const std::string& currentId() const { return currentId_; }
    const PageHistory& history() const { return history_; }
    CGeneralView* view() const { return view_; }
    CTreeAndSearch* panel() const { return panel_; }
    CGeneralTreeView* treeView() const { return treeView_; }
    QSplitter* splitter() const { return splitter_; }
    const MarkupNodeList& article() const { return article_; }

private:
    std::optional<std::string> titleForKey(const std::string& key) const;

    AppContext& context_;
    int kind_;
    MarkupNodeList article_;
    QSplitter* splitter_;
    CTreeAndSearch* panel_ = nullptr;
    CGeneralTreeView* treeView_ = nullptr;
    CGeneralView* view_;
    std::string currentId_;
    PageHistory history_;
};

} // namespace qel
