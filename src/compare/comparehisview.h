#pragma once

#include "compare/compareview.h"

namespace qel {

// The six history-book panes in the order 1 Samuel, 2 Samuel, 1 Kings, 2 Kings,
// 1 Chronicles, 2 Chronicles.
class CCompareHisView : public CCompareView {
    Q_OBJECT
public:
    CCompareHisView(const TextDisplay& display, LinkHandler links, QWidget* parent = nullptr);
};

} // namespace qel
