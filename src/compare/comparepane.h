#pragma once

#include "richtext/textpane.h"

#include <memory>

class QMenu;

namespace qel {

// One book's text in a comparison view: a text pane whose context menu offers only Copy
// (without citation) and Select all, which reach it through that menu alone.
class CComparePane : public CTextPane {
    Q_OBJECT
public:
    explicit CComparePane(const TextDisplay& display, QWidget* parent = nullptr);

    // "복사" 57634 (enabled with a selection) and "모두 선택" 57642.
    std::unique_ptr<QMenu> createContextMenu();
};

} // namespace qel
