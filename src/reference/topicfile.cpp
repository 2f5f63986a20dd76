#include "reference/topicfile.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "compare/passagegather.h"
#include "compare/passagereference.h"
#include "platform/codec.h"
#include "platform/messagesink.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace qel {

bool TopicFile::open(const std::string& path) {
    close();
    // A missing file is no error: the view shows its notice.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    try {
        db_.open(path, Database::Mode::ReadOnly);
        // A file that is no database, or not a topic file, fails here already; one whose pages
        // are damaged fails the check, so that its window says so instead of showing garbage.
        if (!db_.hasTable("TOPIC") && !db_.hasTable("CHRONO"))
            db_.close();
        else if (RecordSet check(db_, "pragma quick_check");
                 check.isEOF() || check.field("quick_check") != "ok")
            db_.close();
    } catch (const std::exception& e) {
        logWarning("topic file " + path + ": " + e.what());
        db_.close();
        return false;
    }
    if (!isOpen())
        logWarning("topic file " + path + " is damaged or no topic file");
    return isOpen();
}

std::optional<TopicRecord> TopicFile::topic(const std::string& key) {
    if (!isOpen() || !db_.hasTable("TOPIC"))
        return std::nullopt;
    try {
        RecordSet rs(db_, "select * from TOPIC where tkey = ?", {key});
        if (rs.isEOF())
            return std::nullopt;
        return TopicRecord{rs.field("tkey"), rs.text("heading"), rs.text("body"), rs.field("refs"),
                           rs.field("picture")};
    } catch (const std::exception& e) {
        logWarning("topic " + key + ": " + e.what());
        return std::nullopt;
    }
}

std::vector<std::string> TopicFile::keys() {
    std::vector<std::string> out;
    if (!isOpen())
        return out;
    try {
        const char* table = db_.hasTable("TOPIC") ? "TOPIC" : "CHRONO";
        for (RecordSet rs(db_, std::string("select tkey from ") + table); !rs.isEOF();
             rs.moveNext())
            out.push_back(rs.field("tkey"));
    } catch (const std::exception& e) {
        logWarning(std::string("topic keys: ") + e.what());
        out.clear();
    }
    return out;
}

std::optional<int> chronologyYear(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long long year = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || year == 0 || year < -kChronologyYearLimit ||
        year > kChronologyYearLimit)
        return std::nullopt;
    return static_cast<int>(year);
}

std::vector<ChronologyRecord> TopicFile::chronology() {
    std::vector<ChronologyRecord> out;
    if (!isOpen() || !db_.hasTable("CHRONO"))
        return out;
    try {
        for (RecordSet rs(db_, "select * from CHRONO order by seq"); !rs.isEOF(); rs.moveNext()) {
            const std::optional<int> from = chronologyYear(rs.field("yfrom"));
            const std::optional<int> to = chronologyYear(rs.field("yto"));
            // A row with a year the chart cannot hold is left out, not drawn across it.
            if (!from || !to || *from > *to) {
                logWarning("chronology entry " + rs.field("tkey") + " has bad years");
                continue;
            }
            out.push_back({rs.field("tkey"), rs.field("track"), *from, *to,
                           rs.field("circa") != "0", rs.text("label"), rs.text("body")});
        }
    } catch (const std::exception& e) {
        logWarning(std::string("chronology: ") + e.what());
        out.clear();
    }
    return out;
}

std::string missingTopicDataLine(const std::string& fileName) {
    return utf8ToCp949("자료 파일(") + fileName +
           utf8ToCp949(")이 없거나 손상되어 내용을 보일 수 없습니다.");
}

namespace {

std::string verseLink(const std::string& version, const VerseSpan& span) {
    char key[32];
    std::snprintf(key, sizeof key, "B%s%s%03d%03d", version.c_str(), span.book.c_str(),
                  span.chapter % 1000, (span.range ? span.firstVerse : span.lastVerse) % 1000);
    return key;
}

} // namespace

std::string shortTopicMarkup(const TopicRecord& topic, bool english, PassageSource& source) {
    const std::string version = english ? "KJV" : kKoreanEdition;
    const std::string notice = english
                                   ? std::string("{B}(The text of this passage is not installed.)")
                                   : utf8ToCp949("{B}(이 본문은 이 판에 들어 있지 않습니다.)");
    std::string text = "{H}" + topic.heading + "{/H}";
    const std::vector<VerseSpan> spans = readBookReferences(topic.refs);
    for (std::size_t i = 0; i < spans.size();) {
        // One heading per written reference; its spans follow it.
        const VerseSpan& first = spans[i];
        std::string name = bookNameOf(first.book, english ? "KJV" : kKoreanEdition);
        text +=
            "{B}{B}{A TAR=" + verseLink(version, first) + "}" + name + " " + first.heading + "{/A}";
        bool any = false;
        std::string verses;
        for (; i < spans.size() && spans[i].book == first.book && spans[i].heading == first.heading;
             ++i)
            verses += gatherVerseSpan(spans[i], source, &any);
        text += any ? verses : notice;
    }
    return text;
}

} // namespace qel
