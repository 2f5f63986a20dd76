#pragma once

#include "richtext/highlightmarks.h"
#include "richtext/richtextselection.h"
#include "richtext/textdisplay.h"
#include "richtext/textlayoutengine.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPrinter;

class QAction;

namespace qel {

class MarkupNode;
class MarkupNodeList;
class QtSurface;

// Puts CP949 text on the system clipboard as Unicode. Returns false, copying nothing, when
// there is no clipboard.
bool copyTextToClipboard(const std::string& cp949);

// Restores the MDI window holding `from` onto the left half of the MDI area and the window
// `opened` onto the right half: an article or commentary beside the Bible text it links to.
void arrangeSideBySide(QWidget* from, QWidget* opened);

// Asks the user for a printer; false cancels. Replaceable so that tests print to a file.
using PrintDialogStep = std::function<bool(QPrinter& printer, QWidget* parent)>;

// Names the document (CP949) and its PDF file, then asks through `step`, or the print dialog
// when there is none. False when the reader cancelled.
bool askForPrinter(QPrinter& printer, const std::string& documentName, const PrintDialogStep& step,
                   QWidget* parent);

// What the three rich-text windows share: one laid-out markup list painted with the colours
// and fonts of its tags, vertical scrolling, pointing at links, selecting by dragging,
// copying and printing. The windows add their own behaviour through the hooks.
class RichTextArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kLineStep = 16;

    ~RichTextArea() override;

    MarkupNodeList* list() const { return list_; }
    const TextLayoutEngine& engine() const { return engine_; }
    bool hasContent() const { return list_ != nullptr; }
    bool hasSelection() const { return hasSelection_; }
    std::optional<SelectionRange> selection() const;
    // Highlighted verse spans painted under the text (the list's verses).
    void setHighlights(std::vector<HighlightSpan> spans);
    const std::vector<HighlightSpan>& highlights() const { return highlights_; }
    // The selected characters as verse spans.
    std::vector<HighlightSpan> selectedVerseSpans();

    int scrollPosition() const;
    int pageHeight() const;
    int documentHeight() const { return documentHeight_; }
    // Scrolls to the position, limited to the scroll range.
    void scrollTo(int position);

    // Selects every text piece and repaints.
    void selectAll();
    // Selects the text pieces from `start` to `end` whole and repaints.
    void selectPieces(MarkupNode* start, MarkupNode* end);
    // The plain text of the selection (CP949); empty without one.
    std::string selectedText();
    // The text piece exactly under a document point, if any.
    MarkupNode* pieceAt(const QPoint& documentPoint) const;
    QPoint toDocument(const QPoint& viewportPoint) const;

    // Copy of the plain selection; windows that cite their place add the citation.
    virtual bool copySelection();
    // Prints the page; false when cancelled, empty, or the window does not print.
    virtual bool print() { return false; }
    // Copy, Select all and Print, which every rich-text window offers; false for other
    // commands.
    virtual bool handleCommand(int id);
    virtual bool updateCommand(int id, QAction* action);

    void setPrintDialog(PrintDialogStep step) { printDialog_ = std::move(step); }
    // Runs the print dialog and prints the list; false when cancelled or empty.
    bool printList(const std::string& documentName, const std::string* pageTitle,
                   const std::string* footerText);

signals:
    // A selection was made or dropped; Copy follows it.
    void selectionChanged();

protected:
    RichTextArea(const TextDisplay& display, int leftMargin, QWidget* parent);

    TextLayoutEngine& layoutEngine() { return engine_; }
    QtSurface& surface();

    // Replaces the list (not owned) and forgets everything about the previous one.
    void setListPointer(MarkupNodeList* list);
    // Runs the layout pass at the current width and sets the scroll range.
    void layoutNow();
    bool layoutValid() const { return layoutValid_; }
    void forgetSelection();
    void setScrollRange();

    void setBackgroundColor(std::uint32_t color) { background_ = color; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    void setRelayoutOnResize(bool relayout) { relayoutOnResize_ = relayout; }

    // --- hooks
    virtual bool commentary() const { return false; }
    // The width that lines are broken to.
    virtual int layoutWidth() const;
    virtual MarkupNode* linkAt(const QPoint& documentPoint) const;
    virtual void openLink(const std::string& target) { (void)target; }
    // After a left press was handled (position in viewport and document coordinates).
    virtual void afterPress(const QPoint& documentPoint) { (void)documentPoint; }
    virtual void beforePress(const QPoint& documentPoint) { (void)documentPoint; }
    virtual void afterRelease() {}
    // A move that is not part of a drag; the default sets the hand cursor over links.
    virtual void hover(const QPoint& viewportPoint, const QPoint& documentPoint);
    virtual void afterScroll() {}
    virtual void afterLayout() {}
    virtual void paintWithoutList() {}

    void setHandCursor(bool hand);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void selectBaseFont();
    void setHasSelection(bool selected);

    const TextDisplay& display_;
    const int leftMargin_;
    TextLayoutEngine engine_;
    std::unique_ptr<QtSurface> surface_;
    QFont surfaceFont_;
    int baseFont_ = 0;
    MarkupNodeList* list_ = nullptr;
    bool layoutValid_ = false;
    bool layingOut_ = false;
    int documentHeight_ = 0;
    int laidOutWidth_ = -1;
    std::uint32_t background_ = 0xFFFFFF;
    std::vector<HighlightSpan> highlights_;
    // The highlights placed on the laid-out runs.
    VerseMarker marker_; // the marks of the highlights on the laid-out runs
    bool marksValid_ = false;
    bool selectable_ = true;
    bool relayoutOnResize_ = true;

    QPoint anchor_;
    bool selecting_ = false;
    bool hasSelection_ = false;
    SelectionRange range_;
    bool handCursor_ = false;
    PrintDialogStep printDialog_;
};

} // namespace qel
