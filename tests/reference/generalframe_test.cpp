#include "reference/etcframe.h"
#include "reference/generalframe.h"

#include "../richtext/viewtestframe.h"
#include "../support/fixturedb.h"
#include "../support/shownmessages.h"
#include "../support/testcontext.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "biblewindow/bibleframe.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "reference/articletrees.h"
#include "reference/generaltreeview.h"
#include "reference/generalview.h"
#include "richtext/textpane.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QSplitter>
#include <QTabBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qel;
using viewtest::cp;

namespace {

// Terms 0-29, the seventh with a link to Genesis 1:1 in VRA; the notes of Genesis with the
// anchor 012 far below the top; every unit; the reader's notes.
mkdb::ContentSources articleSources(bool withProlog = true) {
    mkdb::ContentSources s = fixtureSources();
    s.articles["TERM"].clear();
    for (int i = 0; i < 30; ++i)
        s.articles["TERM"].push_back(
            {std::to_string(i), "{H}용어 " + std::to_string(i) + "{/H}{B}풀이 " +
                                    std::to_string(i) +
                                    (i == 7 ? " {A TAR=BVRAgen001001}창 1:1{/A}" : "")});
    std::string filler;
    for (int i = 0; i < 80; ++i)
        filler += "{B}앞선 주 " + std::to_string(i);
    s.articles["CRI"] = {{"gen", "{H}창세기{/H}" + filler + "{S VAL=012}{/S}{B}열둘째 주" + filler +
                                     "{B}Isaac 뒤쪽의 주"}};
    s.articles["UNITS"].clear();
    for (int i = 0; i < 8; ++i)
        s.articles["UNITS"].push_back({std::to_string(i), "{H}단위 " + std::to_string(i) + "{/H}"});
    s.articles["BOOK"] = {{"gen", "{H}창세기 안내{/H}{B}처음 책"}};
    if (!withProlog)
        s.articles["ETC"] = {{"other", "{H}다른 글{/H}"}};
    return s;
}

class ArticleWindow : public ::testing::Test {
protected:
    explicit ArticleWindow(bool withProlog = true)
        : test(articleSources(withProlog)), frame(test.context, "") {
        frame.setExitConfirmation([] { return true; });
        frame.resize(1000, 700);
        frame.show();
    }

    CGeneralFrame* open(const char* code, const std::string& id) {
        return qobject_cast<CGeneralFrame*>(frame.openWindow(code, id));
    }
    // The pane's plain text, its line ends as "\n", without the blank lines around it.
    static std::string shown(CTextPane* pane) {
        pane->selectAll();
        std::string text;
        for (char c : cp949ToUtf8(pane->selectedText()))
            if (c != '\r')
                text.push_back(c);
        const std::size_t first = text.find_first_not_of('\n');
        return first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of('\n') + 1 - first);
    }
    static QString title(const QWidget* window) { return window->windowTitle(); }
    int articleWindows() const {
        int n = 0;
        for (CChildFrame* f : const_cast<CMainFrame&>(frame).frameRegistry().frames())
            n += qobject_cast<CGeneralFrame*>(f) != nullptr;
        return n;
    }

    TestContext test;
    CMainFrame frame;
    ShownMessages messages;
};

} // namespace

TEST_F(ArticleWindow, IdsLoseLeadingZerosAndAMissingIdShowsANotice) {
    CGeneralFrame* terms = open("TERM", "007");
    ASSERT_NE(terms, nullptr);
    EXPECT_EQ(terms->currentId(), "7");
    EXPECT_EQ(title(terms), QStringLiteral("용어 해설 - ") +
                                QString::fromStdString(cp949ToUtf8(termTree()[7].title)));
    EXPECT_EQ(shown(terms->view()).substr(0, 17), "용어 7\n풀이 7");

    const QString before = title(terms);
    const int index = terms->history().index();

    // An id without a row: a notice in the view, the title and the history as they were.
    EXPECT_FALSE(terms->Load("0999", true));
    EXPECT_EQ(shown(terms->view()), "이 항목의 글이 없습니다: 0999");
    EXPECT_EQ(title(terms), before);
    EXPECT_EQ(terms->history().index(), index);
    EXPECT_EQ(terms->currentId(), "7");
}

TEST_F(ArticleWindow, TextualNotesOpenAtTheAnchorTheIdNames) {
    CGeneralFrame* notes = open("CRI", "gen012");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->currentId(), "gen012");
    EXPECT_EQ(title(notes), QStringLiteral("본문 비평 주 - 창세기"));
    const MarkupNode* anchor = nullptr;
    for (const MarkupNode* a : notes->view()->engine().anchors())
        if (a->attribute("VAL") && *a->attribute("VAL") == "012")
            anchor = a;
    ASSERT_NE(anchor, nullptr);
    EXPECT_GT(anchor->top, notes->view()->pageHeight());
    EXPECT_EQ(notes->view()->scrollPosition(), anchor->top);
    EXPECT_TRUE(notes->view()->engine().commentary());
    // The book alone opens at the top.
    notes->Load("gen", true);
    EXPECT_EQ(notes->view()->scrollPosition(), 0);
}

TEST_F(ArticleWindow, ASecondRequestReusesTheWindowAndPushesItsId) {
    CChildFrame* first = frame.openByCommandKey("W7", false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(frame.openByCommandKey("W012", false), first);
    EXPECT_EQ(articleWindows(), 1);
    auto* terms = static_cast<CGeneralFrame*>(first);
    EXPECT_EQ(terms->currentId(), "12");
    EXPECT_EQ(terms->history().current(), "12");
    EXPECT_TRUE(frame.pendingPlace().empty());

    // A disabled action would not trigger: the steps show the enabling too.
    frame.updateCommandStates();
    frame.action(cmd::Back)->trigger();
    EXPECT_EQ(terms->currentId(), "7");
    frame.updateCommandStates();
    frame.action(cmd::Forward)->trigger();
    EXPECT_EQ(terms->currentId(), "12");

    // The other letters open their own kinds; each kind keeps one window.
    EXPECT_EQ(frame.openByCommandKey("Cgen", false)->code(), "CRI");
    EXPECT_EQ(frame.openByCommandKey("Igen", false)->code(), "BOOK");
    EXPECT_EQ(frame.openByCommandKey("U3", false)->code(), "UNITS");
    EXPECT_EQ(frame.openByCommandKey("W1", false), first);
    EXPECT_EQ(articleWindows(), 4);
}

TEST_F(ArticleWindow, ALinkIntoVraPutsTheArticleLeftAndTheBibleRight) {
    CGeneralFrame* terms = open("TERM", "7");
    ASSERT_NE(terms, nullptr);
    terms->showMaximized();
    const MarkupNode* link = viewtest::pieceWith(terms->article(), cp("창 1:1"));
    ASSERT_NE(link, nullptr);
    const QPoint at(link->left + 5, (link->top + link->bottom) / 2);
    viewtest::moveTo(terms->view()->viewport(), at);
    viewtest::press(terms->view()->viewport(), at);
    viewtest::release(terms->view()->viewport(), at);

    auto* vra = qobject_cast<CBibleFrame*>(frame.frameByCode("VRA"));
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(vra->currentKey(), "VRAgen001001");
    const QRect area = frame.mdiArea()->viewport()->rect();
    EXPECT_FALSE(terms->isMaximized());
    EXPECT_EQ(terms->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(vra->geometry(),
              QRect(area.width() / 2, 0, area.width() - area.width() / 2, area.height()));
}

TEST_F(ArticleWindow, UnitsHaveAPlainTreeAndTheOthersTheSearchPanel) {
    CGeneralFrame* units = open("UNITS", "");
    ASSERT_NE(units, nullptr);
    ASSERT_NE(units->treeView(), nullptr);
    EXPECT_EQ(units->panel(), nullptr);
    ASSERT_EQ(units->treeView()->topLevelItemCount(), 8);
    // The first entry opens with the window.
    EXPECT_EQ(units->currentId(), "0");
    QTreeWidgetItem* fourth = units->treeView()->topLevelItem(3);
    emit units->treeView()->itemDoubleClicked(fourth, 0);
    EXPECT_EQ(units->currentId(), "3");
    EXPECT_EQ(units->treeView()->currentItem(), fourth);
    EXPECT_EQ(title(units), QStringLiteral("도량형 및 화폐단위 - ") + fourth->text(0));

    CGeneralFrame* book = open("BOOK", "gen");
    ASSERT_NE(book->panel(), nullptr);
    EXPECT_EQ(book->treeView(), nullptr);
    EXPECT_EQ(book->panel()->mode(), articlekind::Book);
    EXPECT_EQ(book->panel()->topicTree()->currentItem()->text(0), QStringLiteral("창세기"));
    EXPECT_EQ(book->splitter()->widget(1), book->view());
}

TEST_F(ArticleWindow, CopySelectAllAndPrintFollowTheSelection) {
    CGeneralFrame* terms = open("TERM", "5");
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::Copy)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::SelectAll)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::Print)->isEnabled());
    frame.action(cmd::SelectAll)->trigger();
    EXPECT_TRUE(frame.action(cmd::Copy)->isEnabled());
    frame.action(cmd::Copy)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("용어 5\r\n풀이 5"));
    QAction cut;
    EXPECT_TRUE(terms->updateCommand(cmd::Cut, &cut));
    EXPECT_FALSE(cut.isEnabled());

    // Copy, a separator, select all, a separator and print; Copy's enabling is the compare
    // pane's (the same menu without print).
    const std::unique_ptr<QMenu> menu = terms->view()->createEditMenu(true);
    ASSERT_EQ(menu->actions().size(), 5);
    EXPECT_EQ(menu->actions()[4]->data().toInt(), cmd::Print);
}

TEST_F(ArticleWindow, TextSearchListsHitsByTitleAndOpensAtTheFirstMatch) {
    CGeneralFrame* notes = open("CRI", "");
    CTreeAndSearch* panel = notes->panel();
    panel->tabs()->setCurrentIndex(1);
    EXPECT_TRUE(panel->textChoice()->isVisible());
    panel->searchBox()->setEditText(QStringLiteral("isaac"));
    panel->SearchTopics();
    EXPECT_EQ(panel->hitList()->topLevelItemCount(), 0) << "no title holds it";
    panel->textChoice()->setChecked(true);
    panel->SearchTopics();
    ASSERT_EQ(panel->hitList()->topLevelItemCount(), 1);
    QTreeWidgetItem* hit = panel->hitList()->topLevelItem(0);
    EXPECT_EQ(hit->text(0), QStringLiteral("창세기"));
    emit panel->hitList()->itemDoubleClicked(hit, 0);
    EXPECT_EQ(notes->currentId(), "gen");
    const MarkupNode* match = viewtest::pieceWith(notes->article(), "Isaac");
    ASSERT_NE(match, nullptr);
    EXPECT_GT(match->top, notes->view()->pageHeight());
    EXPECT_GE(match->top, notes->view()->scrollPosition());
    EXPECT_LE(match->bottom, notes->view()->scrollPosition() + notes->view()->pageHeight());

    // Korean, in the terms window.
    CGeneralFrame* terms = open("TERM", "");
    terms->panel()->textChoice()->setChecked(true);
    terms->panel()->searchBox()->setEditText(QStringLiteral("풀이 2"));
    terms->panel()->SearchTopics();
    EXPECT_EQ(terms->panel()->hitList()->topLevelItemCount(), 11); // 2, 20-29

    // Windows without articles keep the search of titles alone.
    CTreeAndSearch* passages = frame.openWindow("COMPARE4", "")->findChild<CTreeAndSearch*>();
    ASSERT_NE(passages, nullptr);
    passages->tabs()->setCurrentIndex(1);
    EXPECT_FALSE(passages->textChoice()->isVisible());
}

TEST_F(ArticleWindow, MenuAndShortcutTreeOpenEveryArticleKind) {
    for (const auto& [command, code] :
         std::vector<std::pair<int, std::string>>{{cmd::OpenBOOK, "BOOK"},
                                                  {cmd::OpenTERM, "TERM"},
                                                  {cmd::OpenUNITS, "UNITS"},
                                                  {cmd::OpenCRI, "CRI"},
                                                  {cmd::OpenPROLOG, "PROLOG"}}) {
        SCOPED_TRACE(code);
        frame.updateCommandStates();
        ASSERT_TRUE(frame.action(command)->isEnabled());
        frame.action(command)->trigger();
        EXPECT_NE(frame.frameByCode(code), nullptr);
    }
    EXPECT_EQ(frame.frameRegistry().frames().size(), 5u);
    // The shortcut items of the same kinds bring the open windows forward.
    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(frame.frameRegistry().frames().empty());
    QTreeWidget* tree = frame.shortcutBar()->tree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (const int code = (*it)->data(0, Qt::UserRole).toInt();
            code == 102 || code == 103 || code == 105 || code == 106 || code == 116) {
            emit tree->itemDoubleClicked(*it, 0);
            emit tree->itemDoubleClicked(*it, 0);
        }
    EXPECT_EQ(articleWindows(), 4);
    EXPECT_NE(frame.frameByCode("PROLOG"), nullptr);
    EXPECT_EQ(frame.frameRegistry().frames().size(), 5u);
}

TEST_F(ArticleWindow, ReadersNotesLoadAgainInTheOneWindow) {
    auto* notes = qobject_cast<CETCFrame*>(frame.openWindow("PROLOG", ""));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(title(notes), QStringLiteral("일러두기"));
    EXPECT_EQ(shown(notes->pane()), "일러두기\n본문");
    notes->pane()->clear();
    EXPECT_FALSE(notes->pane()->hasContent());
    EXPECT_EQ(frame.openWindow("PROLOG", ""), notes);
    EXPECT_TRUE(notes->pane()->hasContent()) << "the article is loaded again";
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::Copy)->isEnabled());
    frame.action(cmd::SelectAll)->trigger();
    EXPECT_TRUE(frame.action(cmd::Copy)->isEnabled());
}

namespace {
class ReadersNotesMissing : public ArticleWindow {
protected:
    ReadersNotesMissing() : ArticleWindow(false) {}
};
} // namespace

TEST_F(ReadersNotesMissing, GiveAnEmptyWindowTitledAsUsual) {
    auto* notes = qobject_cast<CETCFrame*>(frame.openWindow("PROLOG", ""));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(title(notes), QStringLiteral("일러두기"));
    EXPECT_FALSE(notes->pane()->hasContent());
    EXPECT_TRUE(messages.empty());
}
