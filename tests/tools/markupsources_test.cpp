// ThML and GBF verses, and the fitting of letters to CP949.
#include "mkdb/gbf.h"
#include "mkdb/letterfit.h"
#include "mkdb/sourcerecords.h"
#include "mkdb/thml.h"

#include <gtest/gtest.h>

using namespace qel::mkdb;

namespace {

ConvertedVerse thml(std::string_view text) {
    OsisConverter converter;
    feedThml(converter, text, false);
    return converter.finish();
}

ConvertedVerse gbf(std::string_view text) {
    OsisConverter converter;
    feedGbf(converter, text, false);
    return converter.finish();
}

} // namespace

TEST(Thml, ElementsBecomeOurMarkup) {
    const ConvertedVerse v =
        thml(R"(<div class="sechead">The New Birth</div>There was a man<note place="foot">)"
             R"(or, <scripRef passage="Lk 1:1">Lk 1:1</scripRef></note> named<sync type="Strongs" )"
             R"(value="G3530"/> Nicodemus &amp; <I>others</I>: <font color="#FF0000">Ye must)"
             R"( be born again</font><br/>and <FONT COLOR="blue">more</FONT>.)");
    EXPECT_EQ(v.body, "There was a man{N TEX=\"or, Lk 1:1\"}*{/N} named Nicodemus & "
                      "{F VAL=I}others{/F}: {W VAL=J}Ye must be born again{/W} and more.");
    EXPECT_EQ(v.sectionTitles, std::vector<std::string>{"The New Birth"});
    EXPECT_EQ(thml(R"(<div class="title">A Psalm of David.</div><h3>Trust</h3>The LORD)").body,
              "{H}A Psalm of David.{/H}The LORD");
}

TEST(Thml, AVerseThatIsNotWellFormedIsStillRead) {
    // Red letters that run on into the next verse, and an HTML entity expat does not know.
    EXPECT_EQ(thml(R"(<font color="red">Verily,&nbsp;verily <i>I say)").body,
              "{W VAL=J}Verily, verily {F VAL=I}I say{/F}{/W}");
    EXPECT_EQ(thml(R"(unto thee</font>, <i>that</b> a < b)").body,
              "unto thee, {F VAL=I}that a < b{/F}");
}

TEST(Gbf, TokensBecomeOurMarkup) {
    const ConvertedVerse v =
        gbf("<TS>The Creation<Ts>In the beginning<WH07225> God<WH0430> <FI>was<Fi><RF>or, "
            "<FI>at<Fi> first<Rf> <FR>Follow me<Fr><CM>and 1 < 2 <WTH8804 l=\"x\">end<ZZ");
    EXPECT_EQ(v.body, "In the beginning God {F VAL=I}was{/F}{N TEX=\"or, at first\"}*{/N} "
                      "{W VAL=J}Follow me{/W} and 1 < 2 end<ZZ");
    EXPECT_EQ(v.sectionTitles, std::vector<std::string>{"The Creation"});
}

TEST(LetterFit, SimplifiesDropsOrRefusesWhatCp949LacksAndSaysSo) {
    LetterFit fit;
    // Korean in decomposed jamo, as many Unicode sources have it.
    EXPECT_EQ(fit.fit("\u1112\u1161\u1102\u1161\u1102\u1175\u11B7", "gen 1:1"), "하나님");
    // Polytonic Greek: CP949 has the plain Greek letters.
    EXPECT_EQ(fit.fit("agape (\u1F00\u03B3\u03AC\u03C0\u03B7)", "jhn 3:16"),
              "agape (\u03B1\u03B3\u03B1\u03C0\u03B7)");
    EXPECT_EQ(fit.fit("\u1F08\u03B2\u03B2\u03B1", "mrk 14:36"), "\u0391\u03B2\u03B2\u03B1");
    EXPECT_EQ(fit.simplified().count, 3u);
    // Hebrew letters go with the blank after them; the dash becomes CP949's bar.
    EXPECT_EQ(fit.fit("{H}\u05D0 ALEPH.{/H}sin\u2014; and", "psa 119:1"),
              "{H}ALEPH.{/H}sin\u2015; and");
    EXPECT_EQ(fit.dropped().count, 1u);
    EXPECT_NO_THROW(fit.check());
    std::vector<std::string> notices;
    fit.report([&](const std::string& n) { notices.push_back(n); });
    EXPECT_EQ(notices,
              (std::vector<std::string>{
                  "3 letters simplified, e.g. jhn 3:16 U+1F00 '\u1F00' as '\u03B1', jhn 3:16 "
                  "U+03AC '\u03AC' as '\u03B1', mrk 14:36 U+1F08 '\u1F08' as '\u0391'",
                  "1 Hebrew letters and points dropped, e.g. psa 119:1 U+05D0 '\u05D0'"}));

    // Nothing of a snowman is in CP949.
    EXPECT_EQ(fit.fit("a \u2603", "gen 1:2"), "a ?");
    EXPECT_EQ(fit.unfit().count, 1u);
    try {
        fit.check();
        ADD_FAILURE() << "no error";
    } catch (const SourceError& e) {
        EXPECT_STREQ(e.what(), "1 characters that CP949 cannot hold, e.g. gen 1:2 U+2603 "
                               "'\u2603' (--replace turns them into \"?\")");
    }
    LetterFit replacing(true);
    EXPECT_EQ(replacing.fit("a \u2603", "gen 1:2"), "a ?");
    EXPECT_NO_THROW(replacing.check());
    // The final sigma and the en dash of ranges have plain forms of their own.
    EXPECT_EQ(replacing.fit("\u03BB\u03BF\u03B3\u03BF\u03C2 7:53\u20138:11", "jhn 1:1"),
              "\u03BB\u03BF\u03B3\u03BF\u03C3 7:53-8:11");
}
