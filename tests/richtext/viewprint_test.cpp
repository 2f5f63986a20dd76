#include "viewtestframe.h"

#include "../support/pdftext.h"
#include "../support/scopedenv.h"
#include "../support/tempdir.h"
#include "bible/biblequeries.h"
#include "platform/commands.h"
#include "platform/database.h"
#include "richtext/highlightmarks.h"

#include <QDir>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>

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

// The words of the first page and their boxes in points, as pdftotext finds them.
std::multimap<std::string, QRect> wordBoxes(const std::string& pdf) {
    const std::string html = commandOutput("pdftotext -bbox -f 1 -l 1 '" + pdf + "' - 2>/dev/null");
    const std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" )re"
                          R"re(yMax="([\d.]+)">([^<]*)</word>)re");
    std::multimap<std::string, QRect> boxes;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it) {
        const auto at = [&](int i) { return static_cast<int>(std::stod((*it)[i].str())); };
        // Inset, so that a box never reaches its neighbour's.
        boxes.emplace((*it)[5].str(),
                      QRect(QPoint(at(1) + 1, at(2) + 1), QPoint(at(3) - 1, at(4) - 1)));
    }
    return boxes;
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
    // Title and footer on every page are the print pass's (PrintPass.PageBreaks…); here, the
    // view's own title and footer.
    const std::string last = pageText(file, pages);
    EXPECT_NE(last.find("성경전서 KJV - Psalms 119"), std::string::npos);
    EXPECT_NE(last.find("QEL CD-ROM 성경"), std::string::npos);
    EXPECT_NE(last.find("commandments"), std::string::npos);
    EXPECT_NE(pageText(file, 1).find("Blessed"), std::string::npos);
}

// Korean spans are the print pass's (HighlightMarks.Print…); here, the printer's own measures.
TEST_F(PrintTest, HighlightsArePrintedUnderTheirWordsOnly) {
    TestFrame frame(display);
    frame.version = "KJV";
    frame.showMarkup(chapter({"In the beginning God created the heaven and the earth. "}));
    frame.view.setHighlights({{"1", 3, 20, 1}});
    const std::string file = dir.str() + "/marked.pdf";
    frame.view.setPrintDialog(toPdf(file));
    ASSERT_TRUE(frame.view.handleCommand(cmd::Print));
    ASSERT_EQ(std::system(("pdftoppm -r 72 -png -f 1 -l 1 -singlefile '" + file + "' '" +
                           dir.str() + "/marked'")
                              .c_str()),
              0);
    const QImage page(QString::fromStdString(dir.str() + "/marked.png"));
    ASSERT_FALSE(page.isNull());
    const auto boxes = wordBoxes(file);
    const std::uint32_t c = lightHighlightColours()[0];
    const auto colourIn = [&](const char* word) {
        const auto found = boxes.find(word);
        return found == boxes.end() ? -1
                                    : pixelsNear(page, found->second,
                                                 QColor(c & 0xFF, (c >> 8) & 0xFF, c >> 16), 12);
    };
    for (const char* word : {"the", "God"})
        EXPECT_GT(colourIn(word), 0) << word;
    for (const char* word : {"In", "created"})
        EXPECT_EQ(colourIn(word), 0) << word;
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

} // namespace
