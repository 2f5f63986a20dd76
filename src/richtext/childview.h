#pragma once

#include "richtext/richtextarea.h"

#include <QPixmap>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace qel {

class ChildViewOwner;
class SmallView;

// The scrolling text of a Bible chapter window. Paints the frame's markup list, keeps a
// marker beside the current verse in an indicator panel at its left, shows footnotes in a
// popup while the pointer rests on a marker, follows links, selects, copies with the
// citation of the place, and prints.
class CChildView : public RichTextArea {
    Q_OBJECT
public:
    static constexpr int kLeftMargin = 40;
    static constexpr int kPanelWidth = 30;
    static constexpr int kMarkerX = 7;
    static constexpr int kMarkerWidth = 18;
    static constexpr int kPopupWidth = 300;
    static constexpr int kPopupHeight = 100;

    CChildView(const TextDisplay& display, ChildViewOwner& owner, QWidget* parent = nullptr);
    ~CChildView() override;

    // Colours (0 erases) the selection, or else the whole fallback verse, through the owner.
    void applyHighlight(int colour, const std::string& fallbackVerse);

    // Stores the frame's list (not owned); the next relayout or paint lays it out.
    void setList(MarkupNodeList* list);
    // Lays the list out at the current width and asks the frame to show its current verse.
    void relayout();
    // Forgets the list, the selection and the layout; called before the frame destroys the
    // list.
    void reset();

    // Moves the marker beside the verse number whose top is at this document height.
    void placeMarker(int top);
    // Selects the verses from the one labelled `first` (or the range holding it) to the
    // one holding `last`.
    void selectVerses(const std::string& first, const std::string& last);
    // Repaints the marker after the frame's has-note flag changed.
    void updateMarker();
    int markerTop() const { return markerTop_; }

    // Back 32806, Forward 32808, Previous chapter 32809, Next chapter 32812, Copy 57634,
    // Copy verse 32798 (at the point of the last context menu), Select all 57642, Print
    // 57607. Return false for other commands.
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Popup 3 of the context menu, its items enabled for a request at this point.
    std::unique_ptr<QMenu> createContextMenu(const QPoint& documentPoint);
    void addHighlightMenu(QMenu& menu);

    // The selection with the citation of the place.
    bool copySelection() override;
    // The verse at the point with its citation.
    bool copyVerse(const QPoint& documentPoint);
    bool print() override;

    QWidget* indicatorPanel() const;
    QWidget* marker() const;
    SmallView* footnoteWindow() const { return footnote_; }

    // The two marker pictures, 18 × 11: with and without a note for the verse.
    static QPixmap markerPixmap(bool hasNote);

protected:
    bool commentary() const override;
    void openLink(const std::string& target) override;
    void afterPress(const QPoint& documentPoint) override;
    void afterRelease() override;
    void hover(const QPoint& viewportPoint, const QPoint& documentPoint) override;
    void afterScroll() override;
    void afterLayout() override;
    void paintWithoutList() override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class IndicatorPanel;
    class IndicatorButton;
    friend class IndicatorPanel;
    friend class IndicatorButton;

    void movePanel();
    void hideFootnote();
    // Makes the verse whose number piece this is current: marker and frame.
    void makeCurrent(const MarkupNode* numberPiece);
    void currentVerseAtHeight(int y);
    void panelPressed(int documentY);

    ChildViewOwner& owner_;
    IndicatorPanel* panel_;
    IndicatorButton* marker_;
    SmallView* footnote_;
    int markerTop_ = 0;
    QPoint contextPoint_;
    const MarkupNode* shownFootnote_ = nullptr;
};

} // namespace qel
