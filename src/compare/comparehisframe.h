#pragma once

#include "compare/compareframe.h"
#include "compare/compareview.h"

namespace qel {

// "역사서 대조": one passage of the history of the kings, the books that tell it side by side.
class CCompareHisFrame : public CCompareFrame {
    Q_OBJECT
public:
    CCompareHisFrame(AppContext& context, const TextDisplay& display,
                     CCompareView::LinkHandler links, QWidget* parent = nullptr);
};

} // namespace qel
