#pragma once

#include "richtext/highlightmarks.h"
#include "study/highlightstore.h"

#include <string>
#include <vector>

namespace qel {

// The highlights of one Bible window's edition: read per chapter for the view, changed
// from the view's verse spans. A store that cannot be written has been reported; a change
// that fails is reported and the view keeps what the file holds.
class BibleHighlights {
public:
    BibleHighlights(std::string studyFile, std::string version);

    bool available() const { return store_.isOpen(); }
    std::vector<HighlightSpan> chapter(const std::string& book, const std::string& chapter);
    void apply(const std::string& book, const std::string& chapter,
               const std::vector<HighlightSpan>& spans, int colour);

private:
    HighlightStore store_;
    std::string version_;
};

} // namespace qel
