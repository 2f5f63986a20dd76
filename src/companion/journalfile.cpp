#include "companion/journalfile.h"

#include <charconv>
#include <string>
#include <vector>

namespace qel {
namespace {

constexpr std::string_view kHeader = "# QEL reading plans and diary 1";

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

void writeLine(std::ostream& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        out << (first ? "" : "\t") << escaped(field);
        first = false;
    }
    out << '\n';
}

struct Line {
    std::vector<std::string> fields;
    int number = 0;

    [[noreturn]] void fail(const std::string& what) const {
        throw JournalFileError("line " + std::to_string(number) + ": " + what);
    }
    int integer(std::size_t i) const {
        int value = -1;
        const std::string& f = fields[i];
        if (std::from_chars(f.data(), f.data() + f.size(), value).ptr != f.data() + f.size() ||
            value < 0)
            fail("not a number: " + f);
        return value;
    }
    CivilDate date(std::size_t i) const {
        const auto d = parseIsoDate(fields[i]);
        if (!d)
            fail("not a date: " + fields[i]);
        return *d;
    }
};

Line split(const std::string& text, int number) {
    Line line{{std::string()}, number};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            line.fields.emplace_back();
        } else if (c == '\\' && i + 1 < text.size()) {
            const char e = text[++i];
            line.fields.back().push_back(e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e);
        } else {
            line.fields.back().push_back(c);
        }
    }
    return line;
}

void readRecord(const Line& line, JournalData& data) {
    const std::string& kind = line.fields[0];
    const std::size_t count = line.fields.size();
    if (kind == "plan" && count == 3) {
        data.plans.push_back({line.fields[1], line.date(2)});
    } else if (kind == "read" && count == 5) {
        line.date(4);
        data.marks.push_back({line.fields[1], line.integer(2), line.integer(3), line.fields[4]});
    } else if (kind == "diary" && count == 7) {
        line.date(1);
        const auto& f = line.fields;
        data.entries.push_back({f[1], f[2], f[3], f[4], f[5], f[6]});
    } else {
        line.fail("not a plan, read or diary line of the right length");
    }
}

} // namespace

void writeJournalFile(std::ostream& out, const JournalData& data) {
    out << kHeader << '\n';
    for (const PlanRun& run : data.plans)
        writeLine(out, {"plan", run.plan, isoDate(run.start)});
    for (const ReadMark& m : data.marks)
        writeLine(out,
                  {"read", m.plan, std::to_string(m.day), std::to_string(m.reading), m.readOn});
    for (const DiaryEntry& e : data.entries)
        writeLine(out, {"diary", e.date, e.title, e.passage, e.passageKey, e.prayer, e.body});
}

JournalData readJournalFile(std::istream& in) {
    JournalData data;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text.front() == '#')
            continue;
        readRecord(split(text, number), data);
    }
    return data;
}

} // namespace qel
