#pragma once

#include "compare/compareframe.h"
#include "compare/compareview.h"

namespace qel {

// "4복음서 대조": one passage of the gospel harmony, the gospels that tell it side by side.
class CCompare4Frame : public CCompareFrame {
    Q_OBJECT
public:
    CCompare4Frame(AppContext& context, const TextDisplay& display, CCompareView::LinkHandler links,
                   QWidget* parent = nullptr);
};

} // namespace qel
