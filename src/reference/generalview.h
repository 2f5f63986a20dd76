#pragma once

#include "richtext/textpane.h"

#include <functional>
#include <string>

namespace qel {

// The right side of an article window: the article laid out with the commentary rules when
// it is a textual note, its links handed to the main window, copy without citation, select
// all, print, and the context menu "복사", "모두 선택", "인쇄".
class CGeneralView : public CTextPane {
    Q_OBJECT
public:
    // Opens a command key and answers the window it opened, if any.
    using LinkOpener = std::function<QWidget*(const std::string& commandKey)>;

    CGeneralView(const TextDisplay& display, bool commentary, LinkOpener links,
                 QWidget* parent = nullptr);

    // Drops the selection, keeps the article (not owned) and lays it out from the top.
    void SetArticle(MarkupNodeList* article) { setList(article); }
    // Brings the anchor {S VAL=name} to the top unless its line shows whole already; the
    // text's end stops the scroll. False when there is no such anchor.
    bool ScrollToAnchor(const std::string& name);
    // The same for the first place that holds the text (a hit of the text search).
    bool ScrollToText(const std::string& text);

protected:
    bool commentary() const override { return commentary_; }
    // A link into edition VRA puts this window on the left half and the Bible window on the
    // right half of the area.
    void openLink(const std::string& target) override;

private:
    void bringIntoView(int top, int bottom);

    const bool commentary_;
    LinkOpener links_;
};

} // namespace qel
