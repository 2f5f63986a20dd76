#include "../richtext/fakesurface.h"
#include "fuzzcheck.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/textlayoutengine.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace qel;

// The first byte picks the view mode, the commentary flag and the width; the rest is
// markup, parsed, laid out twice (as on a resize), printed, and checked.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const unsigned options = data[0];
    const std::string_view markup(reinterpret_cast<const char*>(data + 1), size - 1);

    DisplayStyle settings;
    settings.viewMode = options % 3;
    settings.lineSpacing = options & 0x40 ? 100 : 160;
    const bool commentary = options & 0x80;
    TextLayoutEngine engine(settings);
    engine.setMessageReporter([](const std::string&) {});

    MarkupNodeList list;
    MarkupParser::parse(&list, markup);
    FakeSurface surface(options & 0x08 ? 40 : 120 + 90 * ((options >> 3) & 7), 300);
    const int height = engine.ReSize(surface, options & 0x20 ? 10 : 40, &list, commentary);
    check(height >= 10);
    check(surface.currentFont() == 0);
    check(engine.links().size() <= 300 && engine.anchors().size() <= 300);
    for (const MarkupNode* n : engine.footnotes())
        check(n->isText() && n->owner() == &list);

    // Line breaking agrees with the literal rule on what the layout left.
    for (const MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText() && n->text.size() <= 64)
            for (int available : {-3, 0, 9, 17, 100})
                check(surface.fitCount(n->text, available) ==
                      surface.literalFitCount(n->text, available));

    FakeSurface wide(1000, 300);
    engine.ReSize(wide, 40, &list, commentary);
    check(wide.currentFont() == 0);

    FakeSurface printer(300 + options, 200 + options);
    const std::string title = "t";
    const std::size_t nodes = list.size();
    check(engine.Print(printer, &list, commentary, &title, &title) >= 1);
    check(list.size() == nodes);
    check(printer.currentFont() == 0);
    return 0;
}
