#include "compare/compare4frame.h"
#include "compare/comparehisframe.h"

#include "../richtext/viewtestframe.h"
#include "../support/fixturedb.h"
#include "../support/tempdir.h"
#include "../support/testcontext.h"
#include "app/displaysettings.h"
#include "app/fontresolver.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "compare/comparepane.h"
#include "compare/compareview.h"
#include "compare/panetiling.h"
#include "compare/passagetable.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "richtext/markupparser.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qel;

namespace {

const std::string kNotInstalled = utf8ToCp949("이 본문은 설치되어 있지 않습니다.");

// The built content database with its sample chapters, and settings in a temporary folder.
class CompareFrameTest : public ::testing::Test {
protected:
    CompareFrameTest() {
        installFontSubstitutions();
        context.displayFont = makeDisplayFont(context.settings, 96);
        context.store = std::make_unique<SettingsStore>((dir.path() / "settings.ini").string());
        context.contentDb.open(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
        display = textDisplayOf(context.settings, context.displayFont);
    }

    PaneTilers tilers;

    template <typename Frame> std::unique_ptr<Frame> open(int mode) {
        auto frame = std::make_unique<Frame>(
            context, display, [this](const std::string& key) { links.push_back(key); });
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->resize(1000, 700);
        frame->show();
        frame->SetPanelMode(mode);
        return frame;
    }

    // The plain text a pane shows.
    static std::string shown(CComparePane* pane) {
        pane->selectAll();
        return pane->selectedText();
    }

    static std::vector<int> visiblePanes(const CCompareView* view) {
        std::vector<int> visible;
        for (std::size_t i = 0; i < view->panes().size(); ++i)
            if (view->panes()[i]->isVisible())
                visible.push_back(static_cast<int>(i));
        return visible;
    }

    static QRect tile(const CCompareView* view, int n, int k) {
        const QRect area = view->contentsRect();
        const PaneRect r = tilePosition(n, k, area.width(), area.height());
        return {area.x() + r.x, area.y() + r.y, r.width, r.height};
    }

    TempDir dir;
    AppContext context;
    TextDisplay display;
    std::vector<std::string> links;
};

} // namespace

TEST_F(CompareFrameTest, LastSupperFillsFourPanesInAGrid) {
    auto frame = open<CCompare4Frame>(panelmode::Gospels);
    // The window opens empty.
    EXPECT_EQ(frame->view()->visibleCount(), 0);
    // Wide enough for the tabs and the typical passage title.
    EXPECT_EQ(frame->panel()->width(),
              std::max(CCompareFrame::kPanelWidth, frame->panel()->preferredWidth()));
    EXPECT_GT(frame->panel()->width(), CCompareFrame::kPanelWidth);

    frame->Load(248, true);
    const CCompareView* view = frame->view();
    EXPECT_EQ(view->visibleCount(), 4);
    EXPECT_EQ(frame->windowTitle(),
              QStringLiteral("4복음서 대조 - 제자들과 함께 유월절을 지키시다"));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(view->panes()[k]->geometry(), tile(view, 4, k + 1)) << k;
        EXPECT_EQ(shown(view->panes()[k]).find(kNotInstalled), std::string::npos) << k;
    }
    EXPECT_EQ(frame->panel()->topicTree()->currentItem()->text(0),
              QStringLiteral("제자들과 함께 유월절을 지키시다"));

    // Resizing re-tiles at once.
    frame->resize(700, 500);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(view->panes()[k]->geometry(), tile(view, 4, k + 1)) << k;

    // A book without sample text takes the whole view to say so.
    frame->Load(2, true); // luk1:1-4
    EXPECT_EQ(visiblePanes(view), (std::vector<int>{2}));
    EXPECT_EQ(view->panes()[2]->geometry(), view->contentsRect());
    EXPECT_NE(shown(view->panes()[2]).find(kNotInstalled), std::string::npos);
}

TEST_F(CompareFrameTest, ZionEntryShowsSamuelLeftOfChronicles) {
    auto frame = open<CCompareHisFrame>(panelmode::HistoryBooks);
    frame->Load(13, true);
    const CCompareView* view = frame->view();
    EXPECT_EQ(visiblePanes(view), (std::vector<int>{1, 4}));
    EXPECT_EQ(view->panes()[1]->geometry(), tile(view, 2, 1));
    EXPECT_EQ(view->panes()[4]->geometry(), tile(view, 2, 2));
    const std::string chronicles = cp949ToUtf8(shown(view->panes()[4]));
    EXPECT_EQ(chronicles.rfind("역대상 11:4-9,14:1-2", 0), 0u) << chronicles;
    EXPECT_EQ(frame->windowTitle(),
              QStringLiteral("역사서 대조 - 다윗이 시온을 빼앗아 성을 둘러 쌓다"));

    // A heading loads nothing; the window stays as it was.
    frame->Load(1, true);
    EXPECT_EQ(visiblePanes(view), (std::vector<int>{1, 4}));
    EXPECT_TRUE(frame->windowTitle().endsWith(QStringLiteral("성을 둘러 쌓다")));
    EXPECT_EQ(frame->history().index(), 0);
}

TEST_F(CompareFrameTest, PanelEntriesGoToTheHistoryAndBackReturns) {
    auto frame = open<CCompare4Frame>(panelmode::Gospels);
    frame->openPanelEntry(1, fourGospelTable()[1].key, true);
    frame->openPanelEntry(248, fourGospelTable()[248].key, true);
    EXPECT_EQ(frame->history().current(), "248");
    // Enabling at each step is PageHistory's; here that the window answers with it.
    QAction back;
    EXPECT_TRUE(frame->updateCommand(cmd::Back, &back));
    EXPECT_TRUE(back.isEnabled());
    EXPECT_TRUE(frame->handleCommand(cmd::Back));
    EXPECT_EQ(visiblePanes(frame->view()), (std::vector<int>{3}));
    EXPECT_EQ(frame->history().index(), 0);
    EXPECT_TRUE(frame->handleCommand(cmd::Forward));
    EXPECT_EQ(frame->view()->visibleCount(), 4);
    EXPECT_EQ(frame->history().index(), 1);
    // The panes offer no print command through the frame.
    EXPECT_FALSE(frame->handleCommand(cmd::Print));
}

TEST_F(CompareFrameTest, PaneMenuCopiesWithoutCitationAndRedisplayFollowsTheFont) {
    auto frame = open<CCompare4Frame>(panelmode::Gospels);
    frame->Load(1, true);
    CComparePane* john = frame->view()->panes()[3];
    std::unique_ptr<QMenu> menu = john->createContextMenu();
    ASSERT_EQ(menu->actions().size(), 2) << "copy and select all, no print";
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    menu->actions()[1]->trigger();
    EXPECT_TRUE(john->hasSelection());
    menu = john->createContextMenu();
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    menu->actions()[0]->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("요한복음 1:1-18"))) << copied.toStdString();
    EXPECT_FALSE(copied.contains(QStringLiteral("역본 가")));

    const int height = john->documentHeight();
    context.settings.fontSizeText = "22";
    context.displayFont = makeDisplayFont(context.settings, 96);
    display = textDisplayOf(context.settings, context.displayFont);
    frame->refreshView();
    EXPECT_GT(john->documentHeight(), height);
}

TEST_F(CompareFrameTest, PaneLinksGoToTheDispatcher) {
    auto frame = open<CCompare4Frame>(panelmode::Gospels);
    std::vector<MarkupNodeList> lists(4);
    MarkupParser::parse(&lists[1], "See {A TAR=BVRAjhn003016}John 3:16{/A} too.");
    CCompareView* view = frame->view();
    view->SetTexts({&lists[0], &lists[1], &lists[2], &lists[3]});
    CComparePane* mark = view->panes()[1];
    const MarkupNode* link = viewtest::pieceWith(lists[1], "John");
    ASSERT_NE(link, nullptr);
    const QPoint at(link->left + 5, (link->top + link->bottom) / 2);
    viewtest::moveTo(mark->viewport(), at);
    viewtest::press(mark->viewport(), at);
    viewtest::release(mark->viewport(), at);
    EXPECT_EQ(links, std::vector<std::string>{"BVRAjhn003016"});
    view->ClearPanes();
}

TEST(CompareWindows, MainFrameKeepsOneWindowOfEachKind) {
    TestContext test(fixtureSources());
    CMainFrame main(test.context, "");
    main.setExitConfirmation([] { return true; });
    main.show();
    main.action(cmd::OpenCOMPARE4)->trigger();
    CChildFrame* gospels = main.frameRegistry().findByCode("COMPARE4");
    ASSERT_NE(gospels, nullptr);
    EXPECT_TRUE(main.action(cmd::OpenCOMPAREHIS)->isEnabled());
    main.action(cmd::OpenCOMPARE4)->trigger();
    EXPECT_EQ(main.frameRegistry().frames().size(), 1u);

    // The place of --window COMPARE4:248; the fixture has no gospel text.
    EXPECT_EQ(main.openWindow("COMPARE4", "248"), gospels);
    auto* compare = static_cast<CCompareFrame*>(gospels);
    EXPECT_EQ(compare->view()->visibleCount(), 4);
    EXPECT_NE(compare->text(0).head(), nullptr);

    emit main.shortcutBar()->itemChosen(108);
    CChildFrame* history = main.frameRegistry().findByCode("COMPAREHIS");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(main.openWindow("COMPAREHIS", "13"), history);
    EXPECT_EQ(static_cast<CCompareFrame*>(history)->history().current(), "13");
    EXPECT_EQ(main.frameRegistry().frames().size(), 2u);
}
