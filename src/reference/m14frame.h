#pragma once

#include "bible/pagehistory.h"
#include "treesearch/treeandsearchowner.h"
#include "widgets/childframe.h"

#include <string>

class QSplitter;

namespace qel {

struct AppContext;
class BibleFrameHost;
class CM14View;
class CTreeAndSearch;
class MapPane;

// The window of a multimedia topic kind ("CAME", "MAP", "PHOTO", "SHORT", "HIS",
// "ABOUT"): the tree panel of the kind's topics on the left, on the right the view its topic
// library paints into, or for map keys ("f...") of the map window the map view.
class CM14Frame : public CChildFrame, public TreeAndSearchOwner {
    Q_OBJECT
public:
    static constexpr int kPanelWidth = 170;

    CM14Frame(AppContext& context, BibleFrameHost& host, std::string code,
              QWidget* parent = nullptr);
    ~CM14Frame() override;

    std::string code() const override { return code_; }
    void refreshView() override;
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Gives the panel the kind's table (which opens the first topic), then goes to the
    // pending place, if any.
    void Init(const std::string& pendingPlace);
    // Shows the key (a map or a topic); with record, the page history keeps it (never in
    // the chronology).
    void Navigate(const std::string& key, bool record);
    // Sets the title with the topic's name, selects its entry in the panel and shows it.
    int ShowTopic(const std::string& key);
    // A link from the topic library.
    void FollowLink(const std::string& commandKey);

    // The panel's owner.
    void openPanelEntry(int row, const std::string& key, bool record) override;
    std::string currentPanelKey() const override { return currentKey_; }
    std::string placeKey() const override { return currentKey_; }
    bool showsMap() const override;
    void showMapLegend() override;
    bool toggleMapZoom() override;

    const std::string& currentKey() const { return currentKey_; }
    const PageHistory& history() const { return history_; }
    CTreeAndSearch* panel() const { return panel_; }
    CM14View* topicView() const { return view_; }
    MapPane* mapView() const { return map_; }
    QSplitter* splitter() const { return splitter_; }
    // The splitter of a map topic's map and text, once one was shown.
    QSplitter* topicSplit() const { return topicSplit_; }
    // The widget in the right pane now.
    QWidget* rightPane() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showInRightPane(QWidget* widget);
    // A map topic: its map with the topic's drawing above, its text below; the text alone
    // when the drawn map is missing.
    void showTopicMap(const std::string& key);

    AppContext& context_;
    BibleFrameHost& host_;
    const std::string code_;
    QString title_;
    PageHistory history_;
    std::string currentKey_;
    QSplitter* splitter_;
    CTreeAndSearch* panel_;
    CM14View* view_;
    MapPane* map_ = nullptr;
    QSplitter* topicSplit_ = nullptr;
    bool lastResizeMaximized_ = false;
};

} // namespace qel
