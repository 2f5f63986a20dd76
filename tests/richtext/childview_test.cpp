#include "viewtestframe.h"

#include "bible/biblequeries.h"
#include "bible/citation.h"
#include "platform/bookmarkcommands.h"
#include "platform/commands.h"
#include "platform/database.h"
#include "richtext/smallview.h"
#include "widgets/childframe.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <memory>

using namespace qel;
using namespace viewtest;

namespace {

class ChildViewTest : public ::testing::Test {
protected:
    void SetUp() override { prepareDisplay(display); }

    TestFrame& open(const std::string& markup) {
        frame = std::make_unique<TestFrame>(display);
        frame->show();
        frame->showMarkup(markup);
        QApplication::processEvents();
        return *frame;
    }

    CChildView& view() { return frame->view; }
    QWidget* viewport() { return frame->view.viewport(); }
    MarkupNodeList& content() { return frame->content; }

    // A viewport point inside a piece, `dx` pixels from its left edge.
    QPoint in(const MarkupNode* piece, int dx = 2) {
        return {piece->left + dx, (piece->top + piece->bottom) / 2 - view().scrollPosition()};
    }

    static std::string clipboardCp949() {
        return utf8ToCp949(QGuiApplication::clipboard()->text().toStdString());
    }

    QImage grab() { return viewport()->grab().toImage(); }
    QRect boxOf(const MarkupNode* piece) {
        return {piece->left, piece->top - view().scrollPosition(), piece->right - piece->left,
                piece->bottom - piece->top};
    }

    TextDisplay display;
    std::unique_ptr<TestFrame> frame;
};

std::string longVerse(int n) {
    return "Verse " + std::to_string(n) +
           " speaks of the light that shines in the darkness, and the darkness has not "
           "overcome it, so the words run on past one line. ";
}

// A chapter of `count` such verses.
std::string longChapter(int count) {
    std::vector<std::string> verses;
    for (int i = 1; i <= count; ++i)
        verses.push_back(longVerse(i));
    return chapter(verses);
}

TEST_F(ChildViewTest, AClickWithoutMovementSelectsNothing) {
    open(chapter({"In the beginning was the Word. ", "The same was in the beginning. "}));
    const MarkupNode* piece = pieceWith(content(), "The same");
    ASSERT_NE(piece, nullptr);
    press(viewport(), in(piece, 10));
    release(viewport(), in(piece, 10));
    EXPECT_FALSE(view().hasSelection());
    for (const MarkupNode* n = content().head(); n; n = n->next())
        EXPECT_FALSE(n->selected);
    // A press makes the verse under it current.
    EXPECT_EQ(frame->currentVerses.back(), "2 ");
}

TEST_F(ChildViewTest, APressOnALinkOpensItAndNeverStartsASelection) {
    open("{A TAR=BVRAjhn003016}see John 3:16{/A} and then some more plain text");
    const MarkupNode* link = pieceWith(content(), "see John");
    const MarkupNode* plain = pieceWith(content(), "plain");
    ASSERT_TRUE(link && plain);
    drag(viewport(), in(link, 5), in(plain, 30));
    EXPECT_FALSE(view().hasSelection());
    EXPECT_EQ(frame->openedLinks, std::vector<std::string>{"BVRAjhn003016"});

    drag(viewport(), in(plain, 30), in(link, 5));
    EXPECT_TRUE(view().hasSelection());
    EXPECT_EQ(frame->openedLinks.size(), 1u);
}

TEST_F(ChildViewTest, DraggingUpOrDownBetweenTheSamePointsSelectsTheSameText) {
    open("alpha beta gamma{B}delta epsilon{B}zeta eta theta");
    const MarkupNode* first = pieceWith(content(), "alpha");
    const MarkupNode* last = pieceWith(content(), "zeta");
    ASSERT_TRUE(first && last);

    // Whole pieces: from the left edge of the first to the right edge of the last.
    const QPoint start(first->left, in(first).y());
    const QPoint end(last->right, in(last).y());
    drag(viewport(), start, end);
    EXPECT_EQ(view().selectedText(), "alpha beta gamma\r\ndelta epsilon\r\nzeta eta theta");
    drag(viewport(), end, start);
    EXPECT_EQ(view().selectedText(), "alpha beta gamma\r\ndelta epsilon\r\nzeta eta theta");

    // Inside pieces the text is cut at the points, the same way in both directions.
    const QPoint a = in(first, 40);
    const QPoint b = in(last, 30);
    drag(viewport(), a, b);
    const std::string down = view().selectedText();
    drag(viewport(), b, a);
    EXPECT_EQ(view().selectedText(), down);
    ASSERT_NE(down.find("\r\ndelta epsilon\r\n"), std::string::npos);
    EXPECT_TRUE(std::string("alpha beta gamma").ends_with(down.substr(0, down.find('\r'))));
    EXPECT_TRUE(std::string("zeta eta theta").starts_with(down.substr(down.rfind('\n') + 1)));
    EXPECT_FALSE(down.starts_with("alpha"));

    // On one line, right to left equals left to right.
    drag(viewport(), in(first, 10), in(first, 60));
    const std::string right = view().selectedText();
    drag(viewport(), in(first, 60), in(first, 10));
    EXPECT_EQ(view().selectedText(), right);
    EXPECT_FALSE(right.empty());
}

TEST_F(ChildViewTest, CopyOfTableRowsGivesTabSeparatedCellsWithTheCitation) {
    open("before{T VAL=3}{R}{C}alpha{/C}{C}beta{/C}{C}gamma{/C}{/R}"
         "{R}{C}one{/C}{C}two{/C}{C}three{/C}{/R}{/T}after");
    const MarkupNode* alpha = pieceWith(content(), "alpha");
    const MarkupNode* one = pieceWith(content(), "one");
    const MarkupNode* three = pieceWith(content(), "three");
    ASSERT_TRUE(alpha && one && three);

    drag(viewport(), QPoint(alpha->left, in(alpha).y()), QPoint(three->right, in(three).y()));
    ASSERT_TRUE(view().hasSelection());
    EXPECT_EQ(view().selectedText(), "alpha\tbeta\tgamma\r\none\ttwo\tthree");

    // A selection that begins inside the table still knows its columns.
    drag(viewport(), QPoint(one->left, in(one).y()), QPoint(three->right, in(three).y()));
    EXPECT_EQ(view().selectedText(), "one\ttwo\tthree");

    EXPECT_TRUE(view().handleCommand(cmd::Copy));
    EXPECT_EQ(clipboardCp949(), "one\ttwo\tthree" + selectionCitation("VRA", frame->bookName, "3"));
}

TEST_F(ChildViewTest, TheThumbMovesTheMarkerToAVerseInView) {
    open(longChapter(30));
    const HotSpotTable& numbers = view().engine().verseNumbers();
    ASSERT_EQ(numbers.size(), 30u);
    view().placeMarker(numbers[0]->top);
    frame->currentVerses.clear();

    QScrollBar* bar = view().verticalScrollBar();
    ASSERT_GT(view().documentHeight(), view().pageHeight());
    // Where the thumb stops is the shared scrolling's (TextPane).
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int position = view().scrollPosition();
    ASSERT_GT(position, 0);

    // The marker left through the top, so the verse at the top edge became current: the
    // first verse whose number is in view.
    std::size_t expected = 0;
    while (numbers[expected]->top < position)
        ++expected;
    ASSERT_FALSE(frame->currentVerses.empty());
    EXPECT_EQ(frame->currentVerses.back(), numbers[expected]->text);
    EXPECT_EQ(view().markerTop(), numbers[expected]->top);
    EXPECT_EQ(view().marker()->y(), numbers[expected]->top);
    EXPECT_EQ(view().indicatorPanel()->y(), -position);

    // Now put the marker on the last verse and drag the thumb to the top: the marker
    // left through the bottom, so the last verse still visible becomes current.
    view().placeMarker(numbers[29]->top);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    std::size_t lastVisible = 0;
    while (lastVisible + 1 < numbers.size() &&
           numbers[lastVisible + 1]->top + kMarkerHeight <= view().pageHeight())
        ++lastVisible;
    EXPECT_EQ(frame->currentVerses.back(), numbers[lastVisible]->text);
    EXPECT_LT(view().markerTop() + kMarkerHeight, view().pageHeight());
}

// Which tag gives which colour is the tag style's (PrintPass.ColoursInsideALink); here, that
// the view paints with it and with the colour table of its settings.
TEST_F(ChildViewTest, TagsPaintInTheColoursOfTheSettings) {
    display.style.useDifferentColor = 1;
    open("{A TAR=BVRAjhn003016}{W VAL=P}Nicodemus{/W} came by night{/A} to him");
    const QImage image = grab();
    const MarkupNode* word = pieceWith(content(), "Nicodemus");
    const MarkupNode* rest = pieceWith(content(), "came by night");
    ASSERT_TRUE(word && rest);
    EXPECT_GT(pixelsNear(image, boxOf(word), QColor(255, 0, 0)), 10); // "Name" 0x0000FF
    EXPECT_GT(pixelsNear(image, boxOf(rest), QColor(0, 0, 255)), 10); // "Link" 0xFF0000
}

TEST_F(ChildViewTest, SelectedTextIsDrawnWhiteOnDark) {
    open("alpha beta gamma{B}delta epsilon");
    const MarkupNode* first = pieceWith(content(), "alpha");
    const MarkupNode* second = pieceWith(content(), "delta");
    EXPECT_EQ(pixelsNear(grab(), boxOf(first), QColor(8, 0, 0), 8), 0);
    view().selectAll();
    const QImage image = grab();
    EXPECT_GT(pixelsNear(image, boxOf(first), QColor(8, 0, 0), 8), 50);
    EXPECT_GT(pixelsNear(image, boxOf(second), QColor(8, 0, 0), 8), 50);
}

TEST_F(ChildViewTest, TheLastItalicLetterKeepsItsOverhang) {
    // The slant of the "d" reaches past the run's box into the next run's; that box is
    // filled before any letter is drawn, so the top of the "d" survives.
    open("{F VAL=I SIZ=2.0}land{/F}{F SIZ=2.0}, more{/F}");
    const MarkupNode* italic = pieceWith(content(), "land");
    ASSERT_TRUE(italic);
    const QRect box = boxOf(italic);
    const QRect overhang(box.right() + 1, box.top(), 3, box.height() / 2);
    EXPECT_GT(pixelsNear(grab(), overhang, Qt::black, 200), 0);
}

TEST_F(ChildViewTest, SelectAllCopiesTextThatWasNeverPaintedAndANewWidthDropsItSafely) {
    open(longChapter(30));
    view().selectAll();
    const std::string text = view().selectedText();
    EXPECT_NE(text.find("Verse 1 speaks"), std::string::npos);
    EXPECT_TRUE(text.ends_with("past one line. ")) << text.substr(text.size() - 40);
    EXPECT_NE(text.find("\r\n30 Verse 30"), std::string::npos);

    const int before = frame->bringIntoViewCount;
    frame->view.resize(420, 400);
    EXPECT_FALSE(view().hasSelection());
    EXPECT_FALSE(view().copySelection());
    EXPECT_GT(frame->bringIntoViewCount, before);
    for (const MarkupNode* n = content().head(); n; n = n->next())
        EXPECT_FALSE(n->selected);

    // The commentary edition leaves verse numbers out.
    frame->version = "VRD";
    frame->showMarkup(longChapter(30));
    view().selectAll();
    const std::string commentary = view().selectedText();
    EXPECT_NE(commentary.find("\r\nVerse 30"), std::string::npos);
    EXPECT_EQ(commentary.find("30 Verse"), std::string::npos);
}

TEST_F(ChildViewTest, CopyVerseCopiesTheWholeVerseWithItsCitation) {
    open(chapter({"First verse. ", longVerse(2) + longVerse(2), "Third verse. "}));
    const MarkupNode* number = view().engine().verseNumbers()[1];
    // A point on the second line of verse 2.
    const MarkupNode* secondLine = nullptr;
    for (const MarkupNode* n = number->next(); n; n = n->next())
        if (n->isText() && n->top > number->top) {
            secondLine = n;
            break;
        }
    ASSERT_NE(secondLine, nullptr);
    const QPoint point(secondLine->left + 20, (secondLine->top + secondLine->bottom) / 2);

    auto menu = view().createContextMenu(point);
    ASSERT_TRUE(view().handleCommand(cmd::CopyVerse));
    EXPECT_EQ(clipboardCp949(),
              verseCitation(longVerse(2) + longVerse(2), "VRA", frame->bookName, "3", "2"));
    EXPECT_EQ(frame->currentVerses.back(), "2 ");
}

TEST_F(ChildViewTest, ContextMenuItemsAndTheirEnabling) {
    open(chapter({"First verse. ", "Second verse. "}));
    frame->backEnabled = true;
    const MarkupNode* piece = pieceWith(content(), "Second");
    const QPoint onText(piece->left + 5, (piece->top + piece->bottom) / 2);
    const QPoint nowhere(500, 380);

    auto enabled = [](QMenu& menu) {
        std::vector<std::pair<std::string, bool>> items;
        for (QAction* a : menu.actions())
            items.emplace_back(a->isSeparator() ? "-" : a->text().toStdString(), a->isEnabled());
        return items;
    };
    auto menu = view().createContextMenu(onText);
    const std::vector<std::pair<std::string, bool>> expected = {
        {"뒤로", true}, {"앞으로", false},   {"이전 장", false}, {"다음 장", true},
        {"-", true},    {"복사", false},     {"-", true},        {"절 복사(인용)", true},
        {"-", true},    {"모두 선택", true}, {"-", true},        {"인쇄", true}};
    EXPECT_EQ(enabled(*menu), expected);

    menu = view().createContextMenu(nowhere);
    EXPECT_FALSE(menu->actions()[7]->isEnabled());

    view().selectAll();
    menu = view().createContextMenu(onText);
    EXPECT_TRUE(menu->actions()[5]->isEnabled());
    EXPECT_FALSE(menu->actions()[7]->isEnabled());

    for (int id : {cmd::Back, cmd::Forward, cmd::NextChapter, cmd::PreviousChapter})
        EXPECT_TRUE(view().handleCommand(id));
    EXPECT_EQ(frame->commands, (std::vector<std::string>{"back", "forward", "next", "previous"}));
    EXPECT_FALSE(view().handleCommand(cmd::Paste));

    // With bookmarks, an entry names the verse under the pointer.
    frame->bookmarks = true;
    menu = view().createContextMenu(onText);
    QAction* add = menu->actions()[13];
    EXPECT_EQ(add->text(), QStringLiteral("책갈피 추가..."));
    EXPECT_TRUE(add->isEnabled());
    EXPECT_TRUE(view().handleCommand(add->data().toInt()));
    menu = view().createContextMenu(nowhere);
    EXPECT_FALSE(menu->actions()[13]->isEnabled());
    view().handleCommand(cmd::AddBookmark);
    EXPECT_EQ(frame->bookmarkedVerses, std::vector<std::string>{"2"});
}

TEST_F(ChildViewTest, AFootnoteMarkerShowsItsTextInThePopup) {
    open(chapter({"The words{N TEX=\"or, {A TAR=BKJVgen001001}sayings{/A}\"}*{/N} of the "
                  "Lord are pure words. ",
                  "Second verse. "}));
    SmallView* popup = view().footnoteWindow();
    ASSERT_EQ(view().engine().footnotes().size(), 1u);
    const MarkupNode* marker = view().engine().footnotes()[0];
    const MarkupNode* plain = pieceWith(content(), "Second");

    moveTo(viewport(), in(plain));
    EXPECT_FALSE(popup->isVisible());
    moveTo(viewport(), in(marker, 1));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(viewport()->cursor().shape(), Qt::PointingHandCursor);
    ASSERT_EQ(popup->linkCount(), 1u);
    EXPECT_EQ(popup->link(0)->text, "sayings");

    moveTo(viewport(), in(plain));
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);

    // Leaving the view hides it too.
    moveTo(viewport(), in(marker, 1));
    ASSERT_TRUE(popup->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(viewport(), &leave);
    EXPECT_FALSE(popup->isVisible());

    // A click on the popup's link opens it through the frame and hides the popup.
    moveTo(viewport(), in(marker, 1));
    ASSERT_TRUE(popup->isVisible());
    const MarkupNode* link = popup->link(0);
    press(popup->viewport(),
          QPoint(link->left + 3, (link->top + link->bottom) / 2 - popup->scrollPosition()));
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(frame->openedLinks, std::vector<std::string>{"BKJVgen001001"});
}

class TestChildFrame : public CChildFrame {
public:
    std::string code() const override { return "TEST"; }
};

TEST_F(ChildViewTest, ACommentaryLinkToVraPlacesBothWindowsSideBySide) {
    QMdiArea area;
    area.resize(800, 600);
    auto* own = new TestChildFrame;
    auto* other = new TestChildFrame;
    area.addSubWindow(own);
    area.addSubWindow(other);
    frame = std::make_unique<TestFrame>(display);
    frame->version = "VRD";
    own->setWidget(frame.get());
    area.show();
    own->showMaximized();
    frame->showMarkup("{A TAR=BVRAjhn003016}John 3:16{/A} in the Korean text");
    frame->linkResult = other;

    press(viewport(), in(pieceWith(content(), "John"), 5));
    release(viewport(), in(pieceWith(content(), "John"), 5));
    EXPECT_EQ(frame->openedLinks, std::vector<std::string>{"BVRAjhn003016"});
    // The halves themselves are ArticleWindow's (the same arrangement).
    EXPECT_FALSE(own->isMaximized());
    EXPECT_EQ(other->x(), area.viewport()->width() / 2);
    own->setWidget(nullptr);
    frame->setParent(nullptr);
}

TEST_F(ChildViewTest, APressInTheIndicatorPanelGoesToThatVerse) {
    open(longChapter(3));
    const MarkupNode* third = view().engine().verseNumbers()[2];
    press(view().indicatorPanel(), QPoint(10, third->top + 3));
    EXPECT_EQ(frame->chosenVerses, std::vector<std::string>{"3 "});
    EXPECT_EQ(view().markerTop(), third->top);
}

TEST_F(ChildViewTest, TheMarkerShowsWhetherTheVerseHasANote) {
    open(chapter({"First verse. "}));
    view().placeMarker(view().engine().verseNumbers()[0]->top);
    EXPECT_TRUE(view().marker()->isVisible());
    EXPECT_EQ(view().marker()->size(), QSize(18, 11));
    const QImage without = view().marker()->grab().toImage();
    frame->note = true;
    view().updateMarker();
    const QImage with = view().marker()->grab().toImage();
    EXPECT_NE(with, without);

    view().reset();
    EXPECT_FALSE(view().marker()->isVisible());
    EXPECT_FALSE(view().hasContent());
    EXPECT_EQ(view().scrollPosition(), 0);
}

} // namespace

namespace {

// Where Qt draws each character of a piece: the advance of the prefix as one string.
std::vector<double> characterEdges(const QFont& font, QWidget* device, const std::string& text) {
    const QFontMetricsF metrics(font, device);
    std::vector<double> edges{0};
    for (std::size_t i = 0; i < text.size();) {
        i += characterLength(text, i);
        edges.push_back(
            metrics.horizontalAdvance(QString::fromStdString(cp949ToUtf8(text.substr(0, i)))));
    }
    return edges;
}

std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i))
        out.push_back(text.substr(i, characterLength(text, i)));
    return out;
}

// A Korean chapter in the installed Korean font: pressing at the centre of one character
// and releasing at the centre of another selects both and every one between, whatever
// the size of the font.
TEST(ChildViewPointing, TheSelectionHoldsTheCharactersUnderThePressAndTheRelease) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    std::string markup;
    for (const VerseRow& row : chapterRows(db, "VRA", "jhn", "3"))
        markup += "{S VAL=" + row.verse + "}{/S}" + row.body;
    for (const int points : {9, 11, 14, 20}) {
        AppSettings settings;
        settings.fontSizeText = std::to_string(points);
        installFontSubstitutions();
        const TextDisplay display = textDisplayOf(settings, makeDisplayFont(settings, 96));
        TestFrame frame(display);
        frame.resize(760, 560);
        frame.view.setGeometry(0, 0, 760, 560);
        frame.show();
        frame.showMarkup(markup);
        QWidget* viewport = frame.view.viewport();

        // Verse 17 begins "하나님이": its first piece follows the verse number.
        ASSERT_GT(frame.view.engine().verseNumbers().size(), 16u);
        MarkupNode* number = frame.view.engine().verseNumbers()[16];
        ASSERT_EQ(number->text, "17 ");
        const MarkupNode* piece = pieceWith(frame.content, "", number); // the first after it
        ASSERT_NE(piece, nullptr);
        frame.view.scrollTo(piece->top - 20);
        const std::vector<std::string> chars = characters(piece->text);
        // The viewport point at the centre of character `i` of a piece.
        const auto centreIn = [&](const MarkupNode* p, std::size_t i) {
            const std::vector<double> edges = characterEdges(display.font, viewport, p->text);
            return QPoint(p->left + static_cast<int>((edges[i] + edges[i + 1]) / 2),
                          (p->top + p->bottom) / 2 - frame.view.scrollPosition());
        };
        ASSERT_EQ(cp949ToUtf8(chars[0]), "하");
        ASSERT_GE(chars.size(), 7u);
        const std::size_t lastChar = chars.size() - 1;
        for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{0, 3},
                                       {1, 6},
                                       {2, std::min<std::size_t>(11, lastChar)}}) {
            drag(viewport, centreIn(piece, from), centreIn(piece, to));
            std::string expected;
            for (std::size_t i = from; i <= to; ++i)
                expected += chars[i];
            EXPECT_EQ(cp949ToUtf8(frame.view.selectedText()), cp949ToUtf8(expected))
                << points << " pt, " << from << "-" << to;
        }

        // To the centre of the period that ends the verse: the copy ends with it.
        const MarkupNode* last = piece;
        for (const MarkupNode* n = piece; n && n->GetID() != 'S'; n = n->next())
            if (n->isText())
                last = n;
        const std::string trimmed = last->text.substr(0, last->text.find_last_not_of(' ') + 1);
        ASSERT_TRUE(trimmed.ends_with("."));
        drag(viewport, centreIn(piece, 1), centreIn(last, characters(trimmed).size() - 1));
        const std::string copied = frame.view.selectedText();
        EXPECT_TRUE(copied.starts_with(chars[1])) << points << " pt";
        EXPECT_TRUE(copied.ends_with(".")) << points << " pt: " << cp949ToUtf8(copied);
    }
}

} // namespace
