#pragma once

#include "richtext/richtextarea.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;

namespace qel {

// The plain rich-text window of the parallel, introduction and related-content windows: one
// markup list owned by the window that holds the pane, with selection, copy without
// citation, select all and print, but no verse marker and no footnote popup.
class CTextPane : public RichTextArea {
    Q_OBJECT
public:
    static constexpr int kLeftMargin = 10;

    explicit CTextPane(const TextDisplay& display, QWidget* parent = nullptr);
    ~CTextPane() override;

    // Clears, stores the list (not owned) and lays it out.
    void setList(MarkupNodeList* list);
    // Forgets the list and the selection and scrolls to the top; call before the holder
    // destroys the list.
    void clear();
    // Lays the list out again and scrolls to the top.
    void layOut();
    bool laidOut() const { return layoutValid(); }

    // The plain text of the selection to the clipboard, without citation.
    bool print() override;

    // Link targets (command keys) go here.
    void setLinkHandler(std::function<void(const std::string&)> handler) {
        linkHandler_ = std::move(handler);
    }
    // The holding window shows its own context menu; it gets the point in document
    // coordinates and on the screen.
    void setContextMenuHandler(
        std::function<void(const QPoint& documentPoint, const QPoint& globalPoint)> handler) {
        contextMenuHandler_ = std::move(handler);
    }
    // Document name, page title and footer of printouts; by default the application title,
    // no page title and the application title.
    void setPrintTexts(std::string documentName, std::string pageTitle,
                       std::optional<std::string> footerText);

    // Copy 57634, Select all 57642, Print 57607.

    // The pane's own context menu: "복사" (enabled with a selection), "모두 선택" and, with
    // print, "인쇄", then with separators between the three; each item carries its command id.
    std::unique_ptr<QMenu> createEditMenu(bool withPrint);

protected:
    void openLink(const std::string& target) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::function<void(const std::string&)> linkHandler_;
    std::function<void(const QPoint&, const QPoint&)> contextMenuHandler_;
    std::string documentName_;
    std::string pageTitle_;
    std::optional<std::string> footerText_;
};

} // namespace qel
