#include "fuzzcheck.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace qel;

namespace {

// The list is well linked both ways and holds what it counts.
void checkList(const MarkupNodeList& list) {
    std::size_t count = 0;
    const MarkupNode* previous = nullptr;
    for (const MarkupNode* n = list.head(); n; n = n->next()) {
        check(n->prev() == previous);
        check(n->owner() == &list);
        check(n->GetID() != MarkupNode::kUnknown);
        check(n->isText() || n->text.empty()); // "{/\x0e}" makes a '.' node without text
        previous = n;
        ++count;
    }
    check(previous == list.tail());
    check(count == list.size());
}

} // namespace

// Parses any bytes, then works the node operations over the result.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MarkupNodeList list;
    MarkupParser::parse(&list, text);
    checkList(list);

    std::size_t step = 0;
    for (MarkupNode* n = list.head(); n; n = n->next(), ++step) {
        findAttribute(n, 'N', "TEX");
        linkTarget(n);
        check(!follows(n, n));
        if (n->next())
            check(follows(n->next(), n) && !follows(n, n->next()));
        if (n->isText() && n->text.size() > 1 && step % 2 == 0)
            check(splitAt(n, 1 + step % (n->text.size() - 1)) != nullptr);
        if (step % 5 == 0 && n->isText() && n->next() && n->next()->isText())
            mergeWithNext(n);
        n->setSelection(0, MarkupNode::kSelectToEnd);
    }
    checkList(list);

    // Parsing again appends; a moved list keeps working.
    MarkupParser::parse(&list, text);
    MarkupNodeList moved(std::move(list));
    checkList(moved);
    checkList(list);
    if (moved.head())
        delete moved.head();
    checkList(moved);
    return 0;
}
