#include "mkdb/osisfile.h"

#include <expat.h>

#include <fstream>
#include <memory>
#include <optional>

namespace qel::mkdb {
namespace {

struct OsisName {
    std::string_view osis, code;
};
// clang-format off
constexpr OsisName kOsisBooks[] = {
    {"Gen", "gen"}, {"Exod", "exo"}, {"Lev", "lev"}, {"Num", "num"}, {"Deut", "deu"},
    {"Josh", "jos"}, {"Judg", "jdg"}, {"Ruth", "rut"}, {"1Sam", "1sa"}, {"2Sam", "2sa"},
    {"1Kgs", "1ki"}, {"2Kgs", "2ki"}, {"1Chr", "1ch"}, {"2Chr", "2ch"}, {"Ezra", "ezr"},
    {"Neh", "neh"}, {"Esth", "est"}, {"Job", "job"}, {"Ps", "psa"}, {"Prov", "pro"},
    {"Eccl", "ecc"}, {"Song", "sng"}, {"Isa", "isa"}, {"Jer", "jer"}, {"Lam", "lam"},
    {"Ezek", "ezk"}, {"Dan", "dan"}, {"Hos", "hos"}, {"Joel", "jol"}, {"Amos", "amo"},
    {"Obad", "oba"}, {"Jonah", "jnh"}, {"Mic", "mic"}, {"Nah", "nam"}, {"Hab", "hab"},
    {"Zeph", "zep"}, {"Hag", "hag"}, {"Zech", "zec"}, {"Mal", "mal"}, {"Matt", "mat"},
    {"Mark", "mrk"}, {"Luke", "luk"}, {"John", "jhn"}, {"Acts", "act"}, {"Rom", "rom"},
    {"1Cor", "1co"}, {"2Cor", "2co"}, {"Gal", "gal"}, {"Eph", "eph"}, {"Phil", "php"},
    {"Col", "col"}, {"1Thess", "1th"}, {"2Thess", "2th"}, {"1Tim", "1ti"}, {"2Tim", "2ti"},
    {"Titus", "tit"}, {"Phlm", "phm"}, {"Heb", "heb"}, {"Jas", "jas"}, {"1Pet", "1pe"},
    {"2Pet", "2pe"}, {"1John", "1jn"}, {"2John", "2jn"}, {"3John", "3jn"}, {"Jude", "jud"},
    {"Rev", "rev"}, {"Tob", "tob"}, {"Jdt", "jdt"}, {"EsthGr", "gke"}, {"Wis", "wsd"},
    {"Sir", "sir"}, {"Bar", "bar"}, {"EpJer", "ba1"}, {"PrAzar", "da1"}, {"Sus", "da2"},
    {"Bel", "da3"}, {"1Macc", "1ma"}, {"2Macc", "2ma"}, {"1Esd", "1es"}, {"2Esd", "2es"},
    {"PrMan", "pra"}};
// clang-format on

bool isNumber(std::string_view s) {
    return !s.empty() && s.size() <= 4 &&
           s.find_first_not_of("0123456789") == std::string_view::npos;
}

struct OsisId {
    std::string book, chapter, verse;
};

// "Gen.1.3" → gen, 1, 3; empty when malformed.
std::optional<OsisId> parseOsisId(std::string_view id) {
    const auto first = id.find('.');
    const auto second = id.find('.', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos)
        return std::nullopt;
    std::string_view chapter = id.substr(first + 1, second - first - 1);
    std::string_view verse = id.substr(second + 1);
    if (const auto bang = verse.find('!'); bang != std::string_view::npos)
        verse = verse.substr(0, bang);
    if (!isNumber(chapter) || !isNumber(verse))
        return std::nullopt;
    const std::string_view name = id.substr(0, first);
    const std::string_view code = osisBookCode(name);
    return OsisId{std::string(code.empty() ? name : code),
                  std::to_string(std::stoi(std::string(chapter))),
                  std::to_string(std::stoi(std::string(verse)))};
}

class OsisReader {
public:
    OsisReader(const std::filesystem::path& file, const ConvertOptions& options)
        : file_(file), options_(options), converter_(options) {}

    ImportedText read(std::istream& in) {
        std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
            XML_ParserCreate(nullptr), &XML_ParserFree);
        parser_ = parser.get();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &OsisReader::onStart, &OsisReader::onEnd);
        XML_SetCharacterDataHandler(parser_, &OsisReader::onText);
        std::string buffer(1 << 16, '\0');
        bool last = false;
        while (!last) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const auto n = static_cast<int>(in.gcount());
            last = n == 0 || !in;
            if (XML_Parse(parser_, buffer.data(), n, last) == XML_STATUS_ERROR) {
                if (!error_.empty())
                    throw SourceError(error_);
                fail(XML_ErrorString(XML_GetErrorCode(parser_)));
            }
        }
        return std::move(result_);
    }

private:
    [[noreturn]] void fail(const std::string& reason) {
        throw SourceError(file_.string() + ":" + std::to_string(XML_GetCurrentLineNumber(parser_)) +
                          ": " + reason);
    }
    // A callback cannot throw through expat: it stops the parser and keeps the reason.
    void stop(const std::string& reason) {
        if (error_.empty())
            error_ = file_.string() + ":" + std::to_string(XML_GetCurrentLineNumber(parser_)) +
                     ": " + reason;
        XML_StopParser(parser_, XML_FALSE);
    }

    static void onStart(void* self, const XML_Char* name, const XML_Char** atts) {
        OsisAttributes attributes;
        for (int i = 0; atts[i]; i += 2)
            attributes.emplace_back(atts[i], atts[i + 1]);
        static_cast<OsisReader*>(self)->start(name, attributes);
    }
    static void onEnd(void* self, const XML_Char* name) {
        static_cast<OsisReader*>(self)->end(name);
    }
    static void onText(void* self, const XML_Char* text, int length) {
        auto* reader = static_cast<OsisReader*>(self);
        if (reader->skipDepth_ == 0 && (reader->inVerse_ || reader->converter_.collecting()))
            reader->converter_.text(std::string_view(text, length), true);
    }

    void start(std::string_view name, const OsisAttributes& attrs) {
        if (skipDepth_ > 0) {
            ++skipDepth_;
            return;
        }
        const auto type = attributeOf(attrs, "type");
        // Introductions and other matter outside the verses is not text of the edition.
        if (name == "header" ||
            (name == "div" &&
             (type == "introduction" || type == "front" || type == "back" || type == "glossary")) ||
            (name == "note" && !inVerse_ && !converter_.collecting())) {
            skipDepth_ = 1;
            return;
        }
        if (name != "verse") {
            converter_.start(name, attrs);
            return;
        }
        if (attributeOf(attrs, "eID")) {
            endVerse();
            return;
        }
        const auto ids = attributeOf(attrs, "osisID");
        if (!ids)
            return stop("a verse without osisID");
        if (inVerse_)
            return stop("a verse inside a verse");
        // A list of osisIDs is one row for several verses.
        std::optional<OsisId> first, last;
        std::string_view rest = *ids;
        while (!rest.empty()) {
            const auto blank = rest.find(' ');
            const std::string_view one = rest.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            if (one.empty())
                continue;
            auto id = parseOsisId(one);
            if (!id)
                return stop("bad osisID " + quotedInput(one));
            (first ? last : first) = std::move(id);
        }
        if (!first)
            return stop("a verse without osisID");
        current_ = {first->book,
                    first->chapter,
                    first->verse,
                    {},
                    file_.string() + ":" + std::to_string(XML_GetCurrentLineNumber(parser_))};
        if (last && last->verse != first->verse)
            current_.verse += "-" + last->verse;
        inVerse_ = true;
        container_ = !attributeOf(attrs, "sID");
    }

    void end(std::string_view name) {
        if (skipDepth_ > 0) {
            --skipDepth_;
            return;
        }
        if (name != "verse")
            converter_.end(name);
        else if (container_)
            endVerse();
    }

    void endVerse() {
        if (!inVerse_)
            return;
        ConvertedVerse converted = converter_.finish();
        converter_ = OsisConverter(options_);
        current_.body = std::move(converted.body);
        addSectionTitles(current_, converted.sectionTitles, result_.titles);
        result_.verses.push_back(std::move(current_));
        inVerse_ = false;
        container_ = false;
    }

    std::filesystem::path file_;
    ConvertOptions options_;
    OsisConverter converter_;
    XML_Parser parser_ = nullptr;
    std::string error_;
    ImportedText result_;
    SourceVerse current_;
    bool inVerse_ = false;
    bool container_ = false;
    int skipDepth_ = 0;
};

} // namespace

std::string_view osisBookCode(std::string_view osisName) {
    for (const OsisName& b : kOsisBooks)
        if (b.osis == osisName)
            return b.code;
    return {};
}

ImportedText readOsisFile(const std::filesystem::path& file, const ConvertOptions& options) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw SourceError(file.string() + ":0: cannot read file");
    return readOsis(in, file.string(), options);
}

ImportedText readOsis(std::istream& in, const std::string& fileName,
                      const ConvertOptions& options) {
    return OsisReader(fileName, options).read(in);
}

} // namespace qel::mkdb
