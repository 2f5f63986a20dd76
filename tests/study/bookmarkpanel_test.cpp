// The bookmark panel: the tree of the store, its gestures, and undo.
#include "study/bookmarkpanel.h"

#include "../support/tempdir.h"
#include "platform/appcontext.h"

#include <QMainWindow>
#include <QTest>
#include <QTreeWidget>
#include <climits>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class BookmarkPanelTest : public ::testing::Test {
protected:
    BookmarkPanelTest() {
        context.store = std::make_unique<SettingsStore>(dir.str() + "/settings.ini");
        BookmarkStore store(file());
        psalms = store.folder("시편");
        gospels = store.folder("복음서");
        a = store.add(psalms, "등불", "BKJVpsa119105");
        b = store.add(psalms, "목자", "BVRApsa023001");
        c = store.add(0, "지도", "Mf0101");
        panel = std::make_unique<BookmarkPanel>(
            context, file(), [this](const std::string& key) { opened.push_back(key); }, &window);
    }
    std::string file() const { return dir.str() + "/Study.mdb"; }
    // The tree as shown: folders with their rows in brackets, then the loose bookmarks.
    std::string shown() const {
        std::string text;
        for (int i = 0; i < panel->tree()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = panel->tree()->topLevelItem(i);
            text += item->text(0).toStdString();
            if (BookmarkPanel::isFolderRow(item)) {
                text += "[";
                for (int k = 0; k < item->childCount(); ++k)
                    text += (k ? " " : "") + item->child(k)->text(0).toStdString();
                text += "]";
            }
            text += " ";
        }
        return text;
    }

    TempDir dir;
    AppContext context;
    QMainWindow window;
    long long psalms = 0, gospels = 0, a = 0, b = 0, c = 0;
    std::vector<std::string> opened;
    std::unique_ptr<BookmarkPanel> panel;
};

} // namespace

TEST_F(BookmarkPanelTest, TheTreeOpensRenamesRemovesAndUndoes) {
    EXPECT_EQ(shown(), "시편[등불 목자] 복음서[] 지도 ");
    QTreeWidget* tree = panel->tree();
    emit tree->itemActivated(panel->itemOf(b, false), 0);
    emit tree->itemActivated(panel->itemOf(psalms, true), 0); // a folder opens nothing
    EXPECT_EQ(opened, std::vector<std::string>{"BVRApsa023001"});

    // An edited name is stored; an empty one goes back to the stored name.
    panel->itemOf(a, false)->setText(0, QStringLiteral("내 발에 등"));
    panel->itemOf(gospels, true)->setText(0, QString());
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(), "시편[내 발에 등 목자] 복음서[] 지도 ");

    window.addDockWidget(Qt::RightDockWidgetArea, panel.get());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    tree->setFocus();
    tree->setCurrentItem(panel->itemOf(b, false));
    QTest::keyClick(tree, Qt::Key_Delete);
    tree->setCurrentItem(panel->itemOf(psalms, true));
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(shown(), "복음서[] 지도 ");
    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(), "시편[내 발에 등] 복음서[] 지도 ");
    panel->undo();
    EXPECT_EQ(shown(), "시편[내 발에 등 목자] 복음서[] 지도 ");
    EXPECT_FALSE(panel->canUndo());
    EXPECT_EQ(BookmarkStore(file()).bookmarks().size(), 3u);
}

TEST_F(BookmarkPanelTest, ADropPlacesTheBookmarkAmongTheOthersOfItsFolder) {
    const QTreeWidget& tree = *panel->tree();
    const auto item = [&](long long id, bool folder) { return panel->itemOf(id, folder); };
    using P = DropAt;
    const struct {
        long long dragged;
        QTreeWidgetItem* target;
        P where;
        std::optional<BookmarkDropPlace> place;
    } rows[] = {
        {c, item(gospels, true), P::On, BookmarkDropPlace{gospels, INT_MAX}},
        {a, item(gospels, true), P::Below, BookmarkDropPlace{0, INT_MAX}},
        {a, nullptr, P::Viewport, BookmarkDropPlace{0, INT_MAX}},
        {c, item(a, false), P::Above, BookmarkDropPlace{psalms, 0}},
        {c, item(b, false), P::Below, BookmarkDropPlace{psalms, 2}},
        {a, item(b, false), P::Below, BookmarkDropPlace{psalms, 1}}, // itself not counted
        {b, item(c, false), P::Above, BookmarkDropPlace{0, 0}},      // folders not counted
        {a, item(a, false), P::On, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(bookmarkDropPlace(tree, item(row.dragged, false), row.target, row.where),
                  row.place)
            << row.dragged;
    EXPECT_EQ(bookmarkDropPlace(tree, item(psalms, true), item(c, false), P::Above), std::nullopt);

    panel->move(c, psalms, 1);
    EXPECT_EQ(shown(), "시편[등불 지도 목자] 복음서[] ");
}
