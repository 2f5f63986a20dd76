#include "mkdb/usfm.h"

#include "bible/booktable.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

bool isVerseLabel(std::string_view s) {
    const auto dash = s.find('-');
    auto number = [](std::string_view n) {
        return !n.empty() && n.size() <= 4 && std::all_of(n.begin(), n.end(), isAsciiDigit);
    };
    return dash == std::string_view::npos ? number(s)
                                          : number(s.substr(0, dash)) && number(s.substr(dash + 1));
}

bool startsWithAny(std::string_view marker, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (marker == name)
            return true;
        // Numbered forms: \s1, \q2, \mt3 …
        if (marker.size() > name.size() && marker.starts_with(name) &&
            std::all_of(marker.begin() + name.size(), marker.end(), isAsciiDigit))
            return true;
    }
    return false;
}

// Title and introduction matter, read to the end of its line and dropped.
bool isDroppedLine(std::string_view m) {
    return startsWithAny(m, {"id",   "ide", "h",  "toc", "mt", "imt", "is",  "ip",
                             "ipi",  "im",  "io", "iot", "ie", "iex", "rem", "sts",
                             "usfm", "cl",  "mr", "r",   "sr", "cd",  "sp"});
}

bool isParagraph(std::string_view m) {
    return startsWithAny(m, {"p",  "m",   "q",  "qc", "qr",  "qa",  "qm",  "pi", "li",
                             "b",  "nb",  "pc", "pm", "pmo", "pmc", "pmr", "mi", "lh",
                             "lf", "lim", "tr", "th", "tc",  "thr", "tcr"});
}

class UsfmReader {
public:
    UsfmReader(const fs::path& file, const ConvertOptions& options, ImportedText& out)
        : file_(file), options_(options), converter_(options), out_(out) {}

    void read(std::istream& in) {
        // Lines may end in LF, CR LF or a lone CR (old Mac editors).
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string unified;
        unified.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r')
                unified += text[i];
            else if (i + 1 == text.size() || text[i + 1] != '\n')
                unified += '\n';
        }
        std::istringstream lines(std::move(unified));
        std::string line;
        for (line_ = 1; std::getline(lines, line); ++line_) {
            if (line_ == 1 && line.starts_with("\xEF\xBB\xBF"))
                line.erase(0, 3);
            readLine(line);
            endLineTitle();
        }
        if (book_.empty())
            fail(1, "no \\id line naming the book");
        endVerse();
    }

private:
    [[noreturn]] void fail(int line, const std::string& reason) const {
        throw SourceError(file_.string() + ":" + std::to_string(line) + ": " + reason);
    }

    void readLine(std::string_view line) {
        std::size_t i = 0;
        dropLine_ = false;
        while (i < line.size()) {
            const std::size_t slash = line.find('\\', i);
            const std::size_t textEnd = slash == std::string_view::npos ? line.size() : slash;
            if (textEnd > i)
                text(line.substr(i, textEnd - i));
            if (slash == std::string_view::npos)
                break;
            std::size_t j = slash + 1;
            if (j < line.size() && line[j] == '+')
                ++j; // nested character style
            const std::size_t nameStart = j;
            while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j]))))
                ++j;
            std::string_view name = line.substr(nameStart, j - nameStart);
            bool closing = false;
            if (j < line.size() && line[j] == '*') {
                closing = true;
                ++j;
            } else if (j < line.size() && line[j] == ' ') {
                ++j;
            }
            i = marker(line, name, closing, j);
        }
        text(" ");
    }

    // Handles one marker; returns where reading goes on.
    std::size_t marker(std::string_view line, std::string_view name, bool closing,
                       std::size_t next) {
        auto word = [&](std::size_t from) { // the argument of \id, \c, \v
            std::size_t end = from;
            while (end < line.size() && line[end] != ' ' && line[end] != '\\')
                ++end;
            return std::pair{line.substr(from, end - from), end};
        };
        if (!dropping_.empty()) { // inside a cross reference or an alternate number
            if (closing && name == dropping_)
                dropping_.clear();
            return next;
        }
        if (name == "id") {
            const auto [id, end] = word(next);
            const std::string_view code = usfmBookCode(id);
            book_ = code.empty() ? std::string(id) : std::string(code);
            dropLine_ = true;
            return end;
        }
        if (name == "c") {
            endVerse();
            const auto [number, end] = word(next);
            if (!isVerseLabel(number) || number.find('-') != std::string_view::npos)
                fail(line_, "bad chapter number " + quotedInput(number));
            chapter_ = std::to_string(std::stoi(std::string(number)));
            return end;
        }
        if (name == "v") {
            endVerse();
            if (book_.empty())
                fail(line_, "a verse before the \\id line");
            if (chapter_.empty())
                fail(line_, "a verse before the first \\c");
            const auto [label, end] = word(next);
            if (!isVerseLabel(label))
                fail(line_, "bad verse number " + quotedInput(label));
            std::string verse(label);
            if (const auto dash = verse.find('-'); dash != std::string::npos)
                verse = std::to_string(std::stoi(verse.substr(0, dash))) + "-" +
                        std::to_string(std::stoi(verse.substr(dash + 1)));
            else
                verse = std::to_string(std::stoi(verse));
            current_ = {book_, chapter_, verse, {}, file_.string() + ":" + std::to_string(line_)};
            inVerse_ = true;
            return end;
        }
        if (name == "x" || name == "ca" || name == "va" || name == "vp" || name == "fig") {
            if (!closing)
                dropping_ = name;
            return next;
        }
        if (isDroppedLine(name)) {
            dropLine_ = true;
            return next;
        }
        if (startsWithAny(name, {"s", "ms", "d"}) && !closing) {
            // A heading ends the verse before it and opens the next one.
            endVerse();
            const bool psalm = name == "d";
            converter_.start("title", {{"type", psalm ? "psalm" : "section"}});
            lineTitle_ = true;
            return next;
        }
        if (isParagraph(name)) {
            converter_.start("p", {});
            return next;
        }
        if (name == "f" || name == "fe") {
            if (closing) {
                endReference();
                converter_.end("note");
            } else {
                converter_.start("note", {});
                // The caller ("+", "-" or a letter) is not text.
                std::size_t end = next;
                while (end < line.size() && line[end] != ' ' && line[end] != '\\')
                    ++end;
                return end;
            }
            return next;
        }
        if (name == "fr") {
            converter_.start("reference", {});
            inReference_ = true;
            return next;
        }
        if (name.starts_with('f')) { // \ft \fq \fqa \fk …: the reference part is over
            endReference();
            return next;
        }
        if (name == "add") {
            if (closing)
                converter_.end("transChange");
            else
                converter_.start("transChange", {{"type", "added"}});
            return next;
        }
        if (name == "wj") {
            if (closing)
                converter_.end("q");
            else
                converter_.start("q", {{"who", "Jesus"}});
            return next;
        }
        if (name == "w")
            inWord_ = !closing;
        return next;
    }

    void text(std::string_view t) {
        if (!dropping_.empty() || dropLine_)
            return;
        if (inWord_) { // \w word|strong="H0430"\w*: the attributes are not text
            const auto bar = t.find('|');
            if (bar != std::string_view::npos) {
                t = t.substr(0, bar);
                inWord_ = false;
            }
        }
        if (inVerse_ || converter_.collecting())
            converter_.text(t, true);
    }

    void endReference() {
        if (inReference_) {
            converter_.end("reference");
            inReference_ = false;
        }
    }

    void endLineTitle() {
        if (lineTitle_) {
            converter_.end("title");
            lineTitle_ = false;
        }
    }

    void endVerse() {
        endLineTitle();
        if (!inVerse_)
            return;
        inVerse_ = false;
        ConvertedVerse converted = converter_.finish();
        converter_ = OsisConverter(options_);
        current_.body = std::move(converted.body);
        addSectionTitles(current_, converted.sectionTitles, out_.titles);
        out_.verses.push_back(std::move(current_));
    }

    fs::path file_;
    ConvertOptions options_;
    OsisConverter converter_;
    ImportedText& out_;
    int line_ = 0;
    std::string book_, chapter_;
    SourceVerse current_;
    bool inVerse_ = false, dropLine_ = false, lineTitle_ = false, inReference_ = false,
         inWord_ = false;
    std::string dropping_; // the marker whose closing form ends the dropped part
};

} // namespace

void readUsfmBook(std::istream& in, const std::string& fileName, const ConvertOptions& options,
                  ImportedText& out) {
    UsfmReader(fileName, options, out).read(in);
}

std::string_view usfmBookCode(std::string_view id) {
    // Our book codes are the USFM ids in lower case, but for a few deuterocanonical books.
    static constexpr std::pair<std::string_view, std::string_view> kOther[] = {
        {"ESG", "gke"}, {"LJE", "ba1"}, {"S3Y", "da1"}, {"SUS", "da2"},
        {"BEL", "da3"}, {"MAN", "pra"}, {"1ES", "1es"}, {"2ES", "2es"}};
    for (const auto& [usfm, code] : kOther)
        if (usfm == id)
            return code;
    if (id.size() != 3)
        return {};
    for (EditionBooks books : {EditionBooks::Gnb, EditionBooks::Vrb})
        for (const BookRow& row : bookTable(books))
            if (row.code.size() == 3 &&
                std::equal(id.begin(), id.end(), row.code.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == b;
                }))
                return row.code;
    return {};
}

ImportedText readUsfmFolder(const fs::path& folder, const ConvertOptions& options) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (it->is_regular_file() && (ext == ".usfm" || ext == ".sfm" || ext == ".SFM"))
            files.push_back(it->path());
    }
    if (ec)
        throw SourceError(folder.string() + ": cannot read folder (" + ec.message() + ")");
    if (files.empty())
        throw SourceError(folder.string() + ": no .usfm or .sfm files");
    std::sort(files.begin(), files.end());
    ImportedText text;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw SourceError(file.string() + ":0: cannot read file");
        readUsfmBook(in, file.string(), options, text);
    }
    // Canonical order, whatever the file names sort to.
    const auto& canon = everyBookInOrder();
    auto position = [&](const std::string& book) {
        return std::find_if(canon.begin(), canon.end(),
                            [&](const BookRow& row) { return row.code == book; }) -
               canon.begin();
    };
    std::stable_sort(text.verses.begin(), text.verses.end(),
                     [&](const SourceVerse& a, const SourceVerse& b) {
                         return position(a.book) < position(b.book);
                     });
    std::stable_sort(text.titles.begin(), text.titles.end(),
                     [&](const TitleRecord& a, const TitleRecord& b) {
                         return position(a.book) < position(b.book);
                     });
    return text;
}

} // namespace qel::mkdb
