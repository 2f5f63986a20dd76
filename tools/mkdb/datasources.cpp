#include "mkdb/datasources.h"

#include "bible/booktable.h"
#include "platform/codec.h"

#include <algorithm>
#include <fstream>
#include <functional>

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void fail(const fs::path& file, int line, const std::string& reason) {
    throw SourceError(file.string() + ":" + std::to_string(line) + ": " + reason);
}

bool isNumber(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isVerseLabel(std::string_view s) {
    const auto dash = s.find('-');
    if (dash == std::string_view::npos)
        return isNumber(s);
    return isNumber(s.substr(0, dash)) && isNumber(s.substr(dash + 1));
}

} // namespace

void forEachFields(const fs::path& file, std::size_t count,
                   const std::function<void(int line, std::vector<std::string> fields)>& record) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        fail(file, 0, "cannot read file");
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text.front() == '#')
            continue;
        std::vector<std::string> fields;
        for (std::size_t begin = 0;;) {
            const auto tab = text.find('\t', begin);
            fields.push_back(text.substr(begin, tab - begin));
            if (tab == std::string::npos)
                break;
            begin = tab + 1;
        }
        if (fields.size() != count)
            fail(file, line,
                 "expected " + std::to_string(count) + " fields separated by single TABs");
        for (std::size_t i = 1; i < fields.size(); ++i) {
            if (fields[i].empty())
                fail(file, line, "empty field " + std::to_string(i + 1));
            // Every character must survive the trip to CP949 and back.
            if (cp949ToUtf8(utf8ToCp949(fields[i])) != fields[i])
                fail(file, line, "text that CP949 cannot hold");
        }
        record(line, std::move(fields));
    }
}

namespace {

// Calls `record` with the two TAB-separated fields of every record line.
void forEachRecord(const fs::path& file,
                   const std::function<void(int line, std::string key, std::string body)>& record) {
    forEachFields(file, 2, [&](int line, std::vector<std::string> fields) {
        record(line, std::move(fields[0]), std::move(fields[1]));
    });
}

// "3:16" → chapter and verse; the verse may be a range.
std::pair<std::string, std::string> splitPlace(const fs::path& file, int line,
                                               std::string_view place) {
    const auto colon = place.find(':');
    if (colon == std::string_view::npos || !isNumber(place.substr(0, colon)) ||
        !isVerseLabel(place.substr(colon + 1)))
        fail(file, line, "bad place '" + std::string(place) + "' (expected CHAP:VERSE)");
    return {std::string(place.substr(0, colon)), std::string(place.substr(colon + 1))};
}

std::vector<fs::path> filesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file() && entry.path().extension() == ".txt")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::vector<SourceVerse> readVerseFile(const fs::path& file, const std::string& book) {
    if (!isBookCode(book))
        fail(file, 0, "unknown book code '" + book + "'");
    std::vector<SourceVerse> verses;
    forEachRecord(file, [&](int line, std::string key, std::string body) {
        auto [chapter, verse] = splitPlace(file, line, key);
        verses.push_back({book, std::move(chapter), std::move(verse), std::move(body)});
    });
    return verses;
}

std::vector<TitleRecord> readTitleFile(const fs::path& file) {
    std::vector<TitleRecord> titles;
    forEachRecord(file, [&](int line, std::string key, std::string body) {
        if (!isBookCode(key))
            fail(file, line, "unknown book code '" + key + "'");
        const auto open = body.find('[');
        const auto close = body.find(']', open);
        if (open == std::string::npos || close == std::string::npos)
            fail(file, line, "a section title must end with its place, e.g. [3:16]");
        splitPlace(file, line, std::string_view(body).substr(open + 1, close - open - 1));
        titles.push_back({std::move(key), std::move(body)});
    });
    return titles;
}

std::vector<RefRecord> readRefFile(const fs::path& file) {
    std::vector<RefRecord> refs;
    forEachRecord(file, [&](int line, std::string key, std::string body) {
        const auto blank = key.find(' ');
        if (blank == std::string::npos || !isBookCode(key.substr(0, blank)))
            fail(file, line, "expected 'BOOK CHAP:VERSE'");
        auto [chapter, verse] = splitPlace(file, line, std::string_view(key).substr(blank + 1));
        refs.push_back(
            {key.substr(0, blank), std::move(chapter), std::move(verse), std::move(body)});
    });
    return refs;
}

std::vector<ArticleRecord> readArticleFile(const fs::path& file) {
    std::vector<ArticleRecord> articles;
    forEachRecord(file, [&](int, std::string key, std::string body) {
        articles.push_back({std::move(key), std::move(body)});
    });
    return articles;
}

ContentSources readDataFolder(const fs::path& dataDir) {
    ContentSources sources;
    if (fs::is_directory(dataDir / "text"))
        for (const auto& entry : fs::directory_iterator(dataDir / "text")) {
            if (!entry.is_directory())
                continue;
            auto& verses = sources.versions[entry.path().filename().string()];
            // Books in canonical order, whatever the file names sort to.
            const auto& canon = everyBookInOrder();
            auto position = [&](const fs::path& file) {
                return std::find_if(canon.begin(), canon.end(),
                                    [&](const BookRow& row) { return file.stem() == row.code; }) -
                       canon.begin();
            };
            std::vector<fs::path> files = filesIn(entry.path());
            std::stable_sort(files.begin(), files.end(), [&](const fs::path& a, const fs::path& b) {
                return position(a) < position(b);
            });
            for (const fs::path& file : files) {
                auto book = readVerseFile(file, file.stem().string());
                verses.insert(verses.end(), book.begin(), book.end());
            }
        }
    for (const fs::path& file : filesIn(dataDir / "titles"))
        sources.titles[file.stem().string()] = readTitleFile(file);
    if (fs::exists(dataDir / "ref.txt"))
        sources.related = readRefFile(dataDir / "ref.txt");
    for (const fs::path& file : filesIn(dataDir / "articles"))
        sources.articles[file.stem().string()] = readArticleFile(file);
    return sources;
}

} // namespace qel::mkdb
