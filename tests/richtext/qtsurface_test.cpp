#include "app/fontresolver.h"
#include "bible/biblequeries.h"
#include "platform/appsettings.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/qtsurface.h"
#include "richtext/textlayoutengine.h"

#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace qel;

namespace {

// Measures every text as Qt does for the whole string, and breaks by growing prefixes: the
// rule as written, against which the per-character surface must agree.
class LiteralQtSurface : public QtSurface {
public:
    using QtSurface::QtSurface;

    TextExtent textExtent(std::string_view text) override {
        const QFontMetricsF metrics(font(currentFont()), &device);
        const double advance = metrics.horizontalAdvance(toUnicode(text));
        return {widthFromAdvances(std::llround(advance * 64)), QtSurface::textExtent("").height};
    }
    std::size_t fitCount(std::string_view text, int available) override {
        return fitCountByPrefixes(text, available);
    }

    static QImage device;
};
QImage LiteralQtSurface::device(800, 600, QImage::Format_RGB32);

std::string chapterMarkup(const char* version, const char* book, const char* chapter) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    std::string markup;
    for (const VerseRow& row : chapterRows(db, version, book, chapter))
        markup += "{S VAL=" + row.verse + "}{/S}" + row.body;
    return markup;
}

// The display font, UnBatang at 11 points, selected on a fresh surface.
template <typename SurfaceType> void selectDisplayFont(SurfaceType& surface) {
    installFontSubstitutions();
    surface.setClientSize(800, 600);
    surface.selectFont(surface.addFont(makeDisplayFont(AppSettings(), surface.dpiY())));
}

struct Box {
    std::string text;
    int left, top, right, bottom;
    bool operator==(const Box&) const = default;
};

std::vector<Box> layOut(Surface& surface, const std::string& markup, TextLayoutEngine& engine) {
    MarkupNodeList list;
    MarkupParser::parse(&list, markup);
    engine.ReSize(surface, 40, &list, false);
    std::vector<Box> boxes;
    for (const MarkupNode* n = list.head(); n; n = n->next())
        if (n->isText())
            boxes.push_back({n->text, n->left, n->top, n->right, n->bottom});
    return boxes;
}

} // namespace

// Per-character advances give the same widths and the same break offsets as measuring each
// prefix with Qt, on real Korean and English text.
TEST(QtSurface, BreakOffsetsEqualTheLiteralRuleOnRealText) {
    QtSurface fast(&LiteralQtSurface::device);
    LiteralQtSurface literal(&LiteralQtSurface::device);
    selectDisplayFont(fast);
    selectDisplayFont(literal);

    int runs = 0;
    for (const char* version : {"KJV", "VRA"}) {
        MarkupNodeList list;
        MarkupParser::parse(&list, chapterMarkup(version, "psa", "119"));
        for (const MarkupNode* n = list.head(); n; n = n->next()) {
            if (!n->isText() || ++runs % 3 != 0)
                continue;
            ASSERT_EQ(fast.textExtent(n->text).width, literal.textExtent(n->text).width)
                << cp949ToUtf8(n->text);
            for (int available : {1, 37, 150, 333}) {
                ASSERT_EQ(fast.fitCount(n->text, available), literal.fitCount(n->text, available))
                    << cp949ToUtf8(n->text) << " in " << available;
            }
        }
    }
    EXPECT_GT(runs, 300);

    for (const char* chapter : {"1", "3"}) {
        const std::string markup =
            chapterMarkup("VRA", "jhn", chapter) + chapterMarkup("KJV", "jhn", chapter);
        TextLayoutEngine engine;
        const auto expected = layOut(literal, markup, engine);
        EXPECT_EQ(layOut(fast, markup, engine), expected);
        EXPECT_GT(expected.size(), 50u);
    }
}

TEST(QtSurface, FontsFromRequests) {
    QtSurface surface(&LiteralQtSurface::device);
    selectDisplayFont(surface);
    // The display font is UnBatang without kerning, so widths add up character by character.
    EXPECT_EQ(QFontInfo(surface.font(surface.currentFont())).family(), QStringLiteral("UnBatang"));
    EXPECT_FALSE(surface.font(surface.currentFont()).kerning());
    FontRequest request;
    request.face = utf8ToCp949("바탕체");
    request.height = 30;
    request.cellHeight = true;
    request.weight = 800;
    request.italic = true;
    const FontId bold = surface.createFont(request);
    EXPECT_EQ(surface.createFont(request), bold); // made once
    surface.selectFont(bold);
    EXPECT_NEAR(surface.textExtent("x").height, 30, 1);
    EXPECT_EQ(surface.fontDescription().weight, 800);
    EXPECT_TRUE(surface.fontDescription().italic);
    EXPECT_EQ(surface.fontDescription().face, "UnBatang");
    request.cellHeight = false;
    surface.selectFont(surface.createFont(request));
    EXPECT_GT(surface.textExtent("x").height, 30); // the leading comes on top
}
