#pragma once

#include "compare/compareview.h"

namespace qel {

// The four gospel panes in the order Matthew, Mark, Luke, John.
class CCompare4View : public CCompareView {
    Q_OBJECT
public:
    CCompare4View(const TextDisplay& display, LinkHandler links, QWidget* parent = nullptr);
};

} // namespace qel
