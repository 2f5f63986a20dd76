#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One verse search or word search as its worker thread runs it: the engine calls in their
// order, the result rows and every message. The worker touches no window; it reports
// through a sink, which the dialog implements by posting to the user-interface thread.
namespace qel {

class SearchSink {
public:
    virtual ~SearchSink() = default;
    // The dialog's stop flag: 1 idle or stop asked, 0 running.
    virtual bool stopRequested() const = 0;
    virtual void message(const std::string& text) = 0;
    virtual void status(const std::string& text) = 0;
    // The grid loses its result rows.
    virtual void resetGrid() = 0;
    // A result row: book, chapter, verse, the text shown, the whole verse (not shown); the
    // item data of the text cell.
    virtual void addRow(std::vector<std::string> cells, std::uint32_t itemData) = 0;
    // The normalised query goes to the top of the query list.
    virtual void rememberQuery(const std::string& query) = 0;
    // A modal choice over a candidate list, one per line; false when cancelled.
    virtual bool choose(const std::string& title, const std::string& list, int& index,
                        std::string& text) = 0;
};

struct VerseSearchJob {
    std::string query;  // the query combo's text
    int searchType = 1; // radio index: 0 basic, 1 inflected, 2 extended
    int mode = 0;       // 0 phrase, 1 and, 2 or
    bool center = true;
    int rangeIndex = 0;      // -1: none selected
    std::string rangeItem;   // text of the selected range item
    std::string indexFolder; // the search index folder without its trailing "/"
    std::string resultPath;  // "out.dat" of the installation or the user data folder
};

// Returns the number of verses found.
int runVerseSearch(const VerseSearchJob& job, SearchSink& sink);

// The rows of a result file's text, one per verse, through the engine's get_key and
// get_clause (its contents open); the number of verses.
int readVerseResults(std::string_view fileText, bool center, int nWords, SearchSink& sink);

struct WordSearchJob {
    std::string query;
    int versionIndex = 0;
    int rangeIndex = 0;
    std::string rangeItem;
    int searchType = 1; // 0 basic, 1 all forms
    int mode = 1;
    bool center = true;
    std::string indexPath; // wordIndexFolder + version index + ".m14"
};

int runWordSearch(const WordSearchJob& job, SearchSink& sink);

} // namespace qel
