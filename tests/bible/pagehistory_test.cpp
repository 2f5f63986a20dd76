#include "bible/pagehistory.h"

#include "../support/shownmessages.h"
#include "platform/commands.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(PageHistory, KeepsTheLast21PagesAndBacksDownToTheOldest) {
    PageHistory h;
    EXPECT_FALSE(h.back());
    for (int i = 1; i <= 22; ++i)
        h.push("VRAgen" + std::to_string(100 + i) + "001");
    EXPECT_EQ(h.current(), "VRAgen122001");
    std::string last;
    for (int i = 0; i < 20; ++i)
        last = *h.back();
    EXPECT_EQ(last, "VRAgen102001"); // page 1 fell out
    EXPECT_FALSE(h.back());
    EXPECT_EQ(*h.forward(), "VRAgen103001");
}

TEST(PageHistory, NewPageEndsForwardHistory) {
    PageHistory h;
    for (const char* key : {"a", "b", "c", "d"})
        h.push(key);
    EXPECT_EQ(*h.back(), "c");
    EXPECT_EQ(*h.back(), "b");
    EXPECT_TRUE(h.canGoForward());
    h.push("x");
    EXPECT_FALSE(h.canGoForward());
    EXPECT_FALSE(h.forward());
    EXPECT_EQ(*h.back(), "b");
}

// The windows' Back and Forward commands: the pages they open, their enabling, the message
// at either end, and other commands left alone.
TEST(PageHistory, BackAndForwardCommandsStepThroughThePages) {
    const ShownMessages messages;
    PageHistory h;
    h.push("a");
    h.push("b");
    std::vector<std::string> opened;
    const auto open = [&](const std::string& key) { opened.push_back(key); };
    EXPECT_EQ(historyCommandEnabled(h, qel::cmd::Back), true);
    EXPECT_EQ(historyCommandEnabled(h, qel::cmd::Forward), false);
    EXPECT_EQ(historyCommandEnabled(h, qel::cmd::Copy), std::nullopt);

    EXPECT_TRUE(stepHistoryCommand(h, qel::cmd::Back, open));
    EXPECT_EQ(historyCommandEnabled(h, qel::cmd::Back), false);
    EXPECT_EQ(historyCommandEnabled(h, qel::cmd::Forward), true);
    EXPECT_TRUE(stepHistoryCommand(h, qel::cmd::Back, open));
    EXPECT_TRUE(stepHistoryCommand(h, qel::cmd::Forward, open));
    EXPECT_TRUE(stepHistoryCommand(h, qel::cmd::Forward, open));
    EXPECT_FALSE(stepHistoryCommand(h, qel::cmd::Copy, open));
    EXPECT_EQ(opened, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"되돌아 갈 페이지가 더 이상 없습니다.",
                                                  "페이지가 더 이상 없습니다."}));
}

TEST(FindVerseLabel, ExactThenPrefixThenContainingRange) {
    const std::vector<std::string> labels = {"1", "2", "3-5", "6", "10-12"};
    EXPECT_EQ(findVerseLabel(labels, "6"), 3);
    EXPECT_EQ(findVerseLabel(labels, " 2 "), 1);
    EXPECT_EQ(findVerseLabel(labels, "4"), 2);
    EXPECT_EQ(findVerseLabel(labels, "2-3"), 1); // the part before "-"
    EXPECT_EQ(findVerseLabel(labels, "11"), 4);
    EXPECT_EQ(findVerseLabel(labels, "0"), 0);
    EXPECT_EQ(findVerseLabel(labels, "99"), 0);
    EXPECT_EQ(findVerseLabel({}, "1"), -1);
}
