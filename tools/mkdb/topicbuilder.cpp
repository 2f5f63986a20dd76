#include "mkdb/topicbuilder.h"

#include "compare/passagereference.h"
#include "mkdb/datasources.h"
#include "mkdb/sourcerecords.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/chronologylayout.h"
#include "reference/topicfile.h"

#include <charconv>
#include <set>

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void fail(const fs::path& file, int line, const std::string& reason) {
    throw SourceError(file.string() + ":" + std::to_string(line) + ": " + reason);
}

int year(const fs::path& file, int line, const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0)
        fail(file, line, "bad year '" + text + "' (an integer, BC negative, no year 0)");
    return value;
}

// Every key once per file.
void checkKey(const fs::path& file, int line, const std::string& key, std::set<std::string>& seen) {
    if (key.empty())
        fail(file, line, "empty key");
    if (!seen.insert(key).second)
        fail(file, line, "key '" + key + "' given twice");
}

void writeTopics(Database& db, const fs::path& source, const std::string& kind,
                 const TopicPicturePainter& picture) {
    db.execute(topicschema::kTopicTable);
    std::set<std::string> seen;
    const bool shortTopics = kind == "SHORT";
    forEachFields(source, shortTopics ? 3 : 2, [&](int line, std::vector<std::string> f) {
        checkKey(source, line, f[0], seen);
        std::string heading, body, refs;
        if (shortTopics) {
            if (readBookReferences(f[2]).empty())
                fail(source, line, "no verse in the references '" + f[2] + "'");
            heading = utf8ToCp949(f[1]);
            refs = f[2];
        } else {
            body = utf8ToCp949(f[1]);
        }
        std::string png = kind == "PHOTO" && picture ? picture(f[0]) : std::string();
        // No picture is an empty text, so that it reads back as empty rather than "NULL".
        const SqlValue stored = png.empty() ? SqlValue(std::string()) : SqlBlob{std::move(png)};
        db.execute("insert into TOPIC values (?, ?, ?, ?, ?)", {f[0], heading, body, refs, stored});
    });
}

void writeChronology(Database& db, const fs::path& source) {
    db.execute(topicschema::kChronologyTable);
    std::set<std::string> seen;
    long long seq = 0;
    forEachFields(source, 7, [&](int line, std::vector<std::string> f) {
        checkKey(source, line, f[0], seen);
        const std::string& track = f[1];
        if (chronologyTracks()[trackIndex(track)].code != track)
            fail(source, line, "unknown track '" + track + "'");
        const int from = year(source, line, f[2]);
        const int to = year(source, line, f[3]);
        if (to < from)
            fail(source, line, "the entry ends before it begins");
        if (f[4] != "0" && f[4] != "1")
            fail(source, line, "circa must be 0 or 1");
        db.execute("insert into CHRONO values (?, ?, ?, ?, ?, ?, ?, ?)",
                   {seq++, f[0], track, static_cast<long long>(from), static_cast<long long>(to),
                    static_cast<long long>(f[4] == "1"), utf8ToCp949(f[5]), utf8ToCp949(f[6])});
    });
}

} // namespace

const std::vector<TopicKind>& topicKinds() {
    static const std::vector<TopicKind> kinds = {{"CAME", "ca.m14"},  {"MAP", "ma.m14"},
                                                 {"PHOTO", "ph.m14"}, {"SHORT", "sh.m14"},
                                                 {"HIS", "hi.m14"},   {"ABOUT", "ad.m14"}};
    return kinds;
}

std::vector<std::string> buildTopicFiles(const fs::path& sourceDir, const fs::path& outDir,
                                         const TopicPicturePainter& picture,
                                         const std::function<void(const std::string&)>& progress) {
    std::vector<std::string> written;
    fs::create_directories(outDir);
    for (const TopicKind& kind : topicKinds()) {
        const fs::path source = sourceDir / (std::string(kind.source) + ".txt");
        const fs::path target = outDir / kind.file;
        if (!fs::exists(source)) {
            fs::remove(target);
            progress(std::string("no ") + kind.source + ".txt: no " + kind.file);
            continue;
        }
        const fs::path part = target.string() + ".part";
        fs::remove(part);
        try {
            Database db(part.string(), Database::Mode::Create);
            db.execute("begin");
            if (std::string(kind.source) == "HIS")
                writeChronology(db, source);
            else
                writeTopics(db, source, kind.source, picture);
            db.execute("commit");
        } catch (...) {
            fs::remove(part);
            throw;
        }
        fs::rename(part, target);
        progress("topic file " + target.string());
        written.push_back(target.string());
    }
    return written;
}

} // namespace qel::mkdb
