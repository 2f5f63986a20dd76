#pragma once

#include <string>
#include <vector>

namespace qel {

struct DisplayStyle;
class MarkupNodeList;
class Surface;
struct NodeMark;

// Page geometry of a printout, in printer pixels.
struct PrintPage {
    int leftMargin = 0;  // 25 mm
    int topMargin = 0;   // 20 mm; the page title stands here
    int rightLimit = 0;  // page width − left margin
    int bottomLimit = 0; // page height − top margin
    int firstLine = 0;   // top margin + 4 blank heights
    int footerLine = 0;  // bottom limit + 2 blank heights
};
PrintPage printPageGeometry(Surface& surface);

// Lays out and draws `list` in one walk on a printer surface whose first page is started
// and whose print font is selected. Nodes are only read: runs are joined and split in local
// copies, so hot spots that a view holds into the same list stay valid. Every page carries
// the title at its top and the footer at its bottom right. Highlighted bytes (`marks`, in
// list order, as markVerses gives them) are printed on their colours. Returns the number of
// pages.
int printMarkup(Surface& surface, const MarkupNodeList& list, const DisplayStyle& settings,
                bool commentary, const std::string* pageTitle, const std::string* footerText,
                const std::vector<NodeMark>* marks = nullptr);

} // namespace qel
