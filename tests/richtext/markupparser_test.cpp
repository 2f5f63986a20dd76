#include "platform/codec.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qel;

namespace {

// One line per node: the id, then text in quotes or attributes in list order.
std::string dump(const MarkupNodeList& list) {
    std::string out;
    for (const MarkupNode* n = list.head(); n; n = n->next()) {
        if (!out.empty())
            out += ' ';
        out += n->GetID();
        if (n->isText())
            out += "\"" + n->text + "\"";
        for (const MarkupAttribute* a = n->firstAttribute(); a; a = a->next.get())
            out += "[" + a->name + "=" + a->value + "]";
    }
    return out;
}

std::string parsed(std::string_view text) {
    MarkupNodeList list;
    MarkupParser::parse(&list, text);
    return dump(list);
}

} // namespace

TEST(MarkupParser, TagsTextAndClosingIds) {
    EXPECT_EQ(parsed("{S VAL=1}{/S}In the {F VAL=I}beginning{/F}"),
              "S[VAL=1] s .\"In the \" F[VAL=I] .\"beginning\" f");
    EXPECT_EQ(parsed("{B}{/B}{/x}"), std::string("B b ") + char('x' + 32));
    // Every letter of the language opens a tag; anything else reads as text after it.
    EXPECT_EQ(parsed("{A}{B}{F}{T}{W}{N}{I}{C}{R}{S}{H}{D}"), "A B F T W N I C R S H D");
    EXPECT_EQ(parsed("{x}abc"), ".\"}abc\"");
    EXPECT_EQ(parsed("ab{x}cd"), ".\"ab\" .\"}cd\"");
    EXPECT_EQ(parsed("a } b"), ".\"a } b\"");
}

TEST(MarkupParser, LineEndsAreSkippedOnlyBetweenItems) {
    EXPECT_EQ(parsed("{B}\r\n{B}\r\nab\r\ncd{B}"), "B B .\"ab\r\ncd\" B");
    EXPECT_EQ(parsed("\r\n\r\n"), "");
}

TEST(MarkupParser, AttributeSyntax) {
    EXPECT_EQ(parsed("{F SIZ=1.4 VAL=B}"), "F[VAL=B][SIZ=1.4]");
    EXPECT_EQ(parsed("{FSIZ=1.4}"), "F[SIZ=1.4]");
    EXPECT_EQ(parsed("{F \t\r\n SIZ= \t1.4\tVAL=x=\"y'}"), "F[VAL=x=\"y'][SIZ=1.4]");
    EXPECT_EQ(parsed("{B }{B\t}"), "B B");
    EXPECT_EQ(parsed("{F SIZ=}"), "F[SIZ=]");
    // Quoted values may hold blanks and braces and end at the quote before "}".
    EXPECT_EQ(parsed("{S VAL=\"a b\"}x"), "S[VAL=a b] .\"x\"");
    EXPECT_EQ(parsed("{N TEX='{F VAL=B}x{/F}'}*{/N}"), "N[TEX={F VAL=B}x{/F}] .\"*\" n");
    EXPECT_EQ(parsed("{N A=1 TEX=\"he said \"no\" \"}"), "N[TEX=he said \"no\" ][A=1]");
    // Later attributes come first, so a name written twice finds the later value.
    MarkupNodeList list;
    MarkupParser::parse(&list, "{N TEX=first TEX=second}");
    EXPECT_EQ(*list.head()->attribute("TEX"), "second");
    EXPECT_EQ(list.head()->attribute("tex"), nullptr);
    EXPECT_TRUE(list.head()->hasAttributes);
}

TEST(MarkupParser, MalformedTagsEndTheParse) {
    // Empty name or a name not followed by "=": the tag is kept with what was read.
    EXPECT_EQ(parsed("a{B}{F VAL=B =x}b"), ".\"a\" B F[VAL=B]");
    for (const char* tag : {"{F \"x\"=1}b", "{F \bx=1}b", "{F VAL =B}b", "{F VAL}b"})
        EXPECT_EQ(parsed(tag), "F") << tag;
    // An attribute after a quoted value leaves the tag unterminated, and unterminated tags at
    // the end of the input are dropped; so is a "{" as the last byte.
    for (const char* tail : {"{S VAL=\"a b\" X=1}y", "{N TEX=\"never closed}", "{F VAL=B", "{F VAL",
                             "{F ", "{F", "{/F", "{/", "{"})
        EXPECT_EQ(parsed(std::string("x") + tail), ".\"x\"") << tail;
}

TEST(MarkupParser, NothingWithoutListOrText) {
    MarkupParser::parse(nullptr, "{B}");
    MarkupNodeList list;
    MarkupParser::parse(&list, "");
    EXPECT_TRUE(list.empty());
    // Parsing appends to what the list holds.
    MarkupParser::parse(&list, "a");
    MarkupParser::parse(&list, "{B}");
    EXPECT_EQ(dump(list), ".\"a\" B");
    EXPECT_EQ(list.size(), 2u);
}

TEST(MarkupParser, KoreanTextKeepsItsBytes) {
    const std::string text = utf8ToCp949("맨 처음에 하나님께서 {F VAL=B}하늘과 땅{/F}을");
    EXPECT_EQ(parsed(text), ".\"" + utf8ToCp949("맨 처음에 하나님께서 ") + "\" F[VAL=B] .\"" +
                                utf8ToCp949("하늘과 땅") + "\" f .\"" + utf8ToCp949("을") + "\"");
}

TEST(MarkupNodeList, OwnershipAndUnlinking) {
    MarkupNodeList list;
    EXPECT_EQ(list.append(std::make_unique<MarkupNode>(MarkupNode::kUnknown)), nullptr);
    MarkupNode* a = list.append(std::make_unique<MarkupNode>('A'));
    MarkupNode* b = list.append(std::make_unique<MarkupNode>('.', "b"));
    MarkupNode* c = list.append(std::make_unique<MarkupNode>('a'));
    EXPECT_EQ(list.size(), 3u);

    delete b; // destroying a node joins its neighbours
    EXPECT_EQ(a->next(), c);
    EXPECT_EQ(c->prev(), a);
    delete a; // and moves the head
    EXPECT_EQ(list.head(), c);
    EXPECT_EQ(c->prev(), nullptr);
    delete c;
    EXPECT_EQ(list.head(), nullptr);
    EXPECT_EQ(list.tail(), nullptr);
    EXPECT_EQ(list.size(), 0u);

    MarkupParser::parse(&list, "{A TAR=x}y{/A}");
    MarkupNodeList moved(std::move(list));
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(moved.size(), 3u);
    EXPECT_EQ(moved.head()->owner(), &moved);
    delete moved.tail();
    EXPECT_EQ(moved.tail()->text, "y");
    moved.clear();
    EXPECT_TRUE(moved.empty());
}

TEST(MarkupNodeList, LongAttributeChainsAndListsAreFreedWithoutRecursion) {
    std::string tag = "{F";
    for (int i = 0; i < 200000; ++i)
        tag += " A=1";
    tag += "}";
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body += "{B}x";
    MarkupNodeList list;
    MarkupParser::parse(&list, tag + body);
    EXPECT_EQ(list.size(), 200001u);
    list.clear();
}

TEST(MarkupNode, LookupsBackwards) {
    MarkupNodeList list;
    MarkupParser::parse(&list, "{N TEX=one}*{/N}{A TAR=BKJVgen001001}Gen{/A} {N TEX=a TEX=two}*{/N}"
                               "{A}x{/A}");
    std::vector<MarkupNode*> nodes;
    for (MarkupNode* n = list.head(); n; n = n->next())
        nodes.push_back(n);
    ASSERT_EQ(nodes.size(), 13u);
    MarkupNode* firstStar = nodes[1];
    MarkupNode* gen = nodes[4];
    MarkupNode* secondStar = nodes[8];
    MarkupNode* x = nodes[11];

    EXPECT_EQ(findAttribute(firstStar, 'N', "TEX"), "one");
    EXPECT_EQ(findAttribute(secondStar, 'N', "TEX"), "two");
    EXPECT_EQ(findAttribute(nodes[0], 'N', "TEX"), "one"); // starts at the node itself
    EXPECT_EQ(findAttribute(gen, 'A', "HREF"), std::nullopt);
    EXPECT_EQ(findAttribute(nullptr, 'N', "TEX"), std::nullopt);

    EXPECT_EQ(linkTarget(gen), "BKJVgen001001");
    EXPECT_EQ(linkTarget(secondStar), "BKJVgen001001"); // closing tags are passed over
    EXPECT_EQ(linkTarget(x), std::nullopt);             // nearest A has no TAR
    EXPECT_EQ(linkTarget(firstStar), std::nullopt);
    EXPECT_EQ(linkTarget(nodes[3]), std::nullopt); // starts before the node

    EXPECT_TRUE(follows(x, gen));
    EXPECT_FALSE(follows(gen, x));
    EXPECT_FALSE(follows(gen, gen));
    EXPECT_FALSE(follows(gen, nullptr));
}

TEST(MarkupNode, MergeSplitAndSelection) {
    MarkupNodeList list;
    MarkupParser::parse(&list, "ab{x}cd{B}");
    MarkupNode* first = list.head();
    mergeWithNext(first);
    EXPECT_EQ(dump(list), ".\"ab}cd\" B");
    EXPECT_EQ(list.size(), 2u);

    MarkupNode* rest = splitAt(first, 2);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(dump(list), ".\"ab\" .\"}cd\" B");
    EXPECT_EQ(first->next(), rest);
    EXPECT_EQ(splitAt(first, 0), nullptr);
    EXPECT_EQ(splitAt(first, 2), nullptr);
    EXPECT_EQ(splitAt(first, 99), nullptr);

    mergeWithNext(list.tail()); // nothing after the tail
    EXPECT_EQ(list.size(), 3u);
    mergeWithNext(rest);
    EXPECT_EQ(list.tail(), rest);

    rest->setSelection(12, MarkupNode::kSelectToEnd);
    EXPECT_TRUE(rest->selected);
    EXPECT_EQ(rest->selectEndOffset, 3);
}
