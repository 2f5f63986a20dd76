#include "viewtestframe.h"

#include "../support/pdftext.h"
#include "../support/scopedenv.h"
#include "../support/tempdir.h"
#include "bible/biblequeries.h"
#include "platform/apptitle.h"
#include "platform/commands.h"
#include "platform/database.h"
#include "richtext/textpane.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

using namespace qel;
using namespace viewtest;

namespace {

int pageCount(const std::string& pdf) {
    const std::string info = commandOutput("pdfinfo '" + pdf + "' 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

std::string pageText(const std::string& pdf, int page) {
    const std::string n = std::to_string(page);
    return commandOutput("pdftotext -enc UTF-8 -layout -f " + n + " -l " + n + " '" + pdf +
                         "' - 2>/dev/null");
}

PrintDialogStep toPdf(const std::string& file, int* asked = nullptr) {
    return [file, asked](QPrinter& printer, QWidget*) {
        if (asked)
            ++*asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    };
}

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        prepareDisplay(display);
        ASSERT_FALSE(commandOutput("command -v pdfinfo").empty()) << "poppler-utils is needed";
    }

    TextDisplay display;
    TempDir dir;
};

TEST_F(PrintTest, ALongChapterPrintsPagesEachWithTitleAndFooter) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    std::string markup;
    for (const VerseRow& row : chapterRows(db, "KJV", "psa", "119"))
        markup += "{S VAL=" + row.verse + "}{/S}" + row.body; // bodies carry their number
    ASSERT_GT(markup.size(), 15000u);

    TestFrame frame(display);
    frame.version = "KJV";
    frame.title = cp("성경전서 KJV - Psalms 119");
    frame.showMarkup(markup);
    const std::string file = dir.str() + "/psalm119.pdf";
    int asked = 0;
    frame.view.setPrintDialog(toPdf(file, &asked));
    ASSERT_TRUE(frame.view.handleCommand(cmd::Print));
    EXPECT_EQ(asked, 1);

    const int pages = pageCount(file);
    EXPECT_GE(pages, 5);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = pageText(file, page);
        EXPECT_NE(text.find("성경전서 KJV - Psalms 119"), std::string::npos) << page;
        EXPECT_NE(text.find("QEL CD-ROM 성경"), std::string::npos) << page;
    }
    EXPECT_NE(pageText(file, 1).find("Blessed"), std::string::npos);
    EXPECT_NE(pageText(file, pages).find("commandments"), std::string::npos);
}

TEST_F(PrintTest, ACancelledDialogOrAnEmptyViewPrintsNothing) {
    TestFrame frame(display);
    frame.showMarkup(chapter({"First verse. "}));
    int asked = 0;
    frame.view.setPrintDialog([&](QPrinter&, QWidget*) { return ++asked, false; });
    EXPECT_FALSE(frame.view.print());
    EXPECT_EQ(asked, 1);

    frame.view.reset();
    EXPECT_FALSE(frame.view.print());
    EXPECT_EQ(asked, 1);
}

TEST_F(PrintTest, TheDialogOffersAValidPdfNameInTheDocumentsFolder) {
    // The documents folder comes from the user's folder list (xdg-user-dirs).
    const std::string documents = dir.str() + "/문서";
    std::filesystem::create_directories(dir.path() / "config");
    std::ofstream(dir.path() / "config" / "user-dirs.dirs")
        << "XDG_DOCUMENTS_DIR=\"" << documents << "\"\n";
    const ScopedEnv config("XDG_CONFIG_HOME", dir.str() + "/config");

    TestFrame frame(display);
    frame.title = cp("역본 나 : 토비트 1 장 ");
    frame.showMarkup(chapter({"First verse. "}));
    QString offered;
    frame.view.setPrintDialog([&](QPrinter& printer, QWidget*) {
        offered = printer.outputFileName();
        return false;
    });
    frame.view.print();
    // A missing documents folder falls back to the home folder.
    EXPECT_EQ(offered, QDir::homePath() + QStringLiteral("/역본 나 토비트 1 장.pdf"));

    std::filesystem::create_directories(documents);
    frame.view.print();
    EXPECT_EQ(offered.toStdString(), documents + "/역본 나 토비트 1 장.pdf");
}

TEST_F(PrintTest, ThePanePrintsWithTheTitlesItsHolderGives) {
    CTextPane pane(display);
    pane.resize(400, 300);
    MarkupNodeList list;
    std::string markup;
    for (int i = 0; i < 200; ++i)
        markup += "Line " + std::to_string(i) + " of the introduction.{B}";
    MarkupParser::parse(&list, markup);
    pane.setList(&list);
    pane.setPrintTexts(applicationTitle(), cp("창 1:1"), applicationTitle());
    const std::string file = dir.str() + "/pane.pdf";
    pane.setPrintDialog(toPdf(file));
    EXPECT_TRUE(pane.handleCommand(cmd::Print));
    const int pages = pageCount(file);
    EXPECT_GE(pages, 2);
    const std::string last = pageText(file, pages);
    EXPECT_NE(last.find("창 1:1"), std::string::npos);
    EXPECT_NE(last.find("Line 199"), std::string::npos);
    pane.clear();
}

} // namespace
