#include "bible/booktable.h"

#include "bible/editions.h"
#include "platform/codec.h"

#include <algorithm>
#include <array>
#include <span>

namespace qel {
namespace {

// Literal tables are UTF-8 so they stay readable; they are converted to CP949 once.
struct RawRow {
    const char* code;
    const char* abbreviation;
    const char* name;
};

constexpr std::size_t kOldTestamentCount = 39;

constexpr std::array<RawRow, 66> kStandard{{
    {"gen", "창", "창세기"},
    {"exo", "출", "출애굽기"},
    {"lev", "레", "레위기"},
    {"num", "민", "민수기"},
    {"deu", "신", "신명기"},
    {"jos", "수", "여호수아"},
    {"jdg", "삿", "사사기"},
    {"rut", "룻", "룻기"},
    {"1sa", "삼상", "사무엘상"},
    {"2sa", "삼하", "사무엘하"},
    {"1ki", "왕상", "열왕기상"},
    {"2ki", "왕하", "열왕기하"},
    {"1ch", "대상", "역대상"},
    {"2ch", "대하", "역대하"},
    {"ezr", "스", "에스라"},
    {"neh", "느", "느헤미야"},
    {"est", "에", "에스더"},
    {"job", "욥", "욥기"},
    {"psa", "시", "시편"},
    {"pro", "잠", "잠언"},
    {"ecc", "전", "전도서"},
    {"sng", "아", "아가"},
    {"isa", "사", "이사야"},
    {"jer", "렘", "예레미야"},
    {"lam", "애", "예레미야애가"},
    {"ezk", "겔", "에스겔"},
    {"dan", "단", "다니엘"},
    {"hos", "호", "호세아"},
    {"jol", "욜", "요엘"},
    {"amo", "암", "아모스"},
    {"oba", "옵", "오바댜"},
    {"jnh", "욘", "요나"},
    {"mic", "미", "미가"},
    {"nam", "나", "나훔"},
    {"hab", "합", "하박국"},
    {"zep", "습", "스바냐"},
    {"hag", "학", "학개"},
    {"zec", "슥", "스가랴"},
    {"mal", "말", "말라기"},
    {"mat", "마", "마태복음"},
    {"mrk", "막", "마가복음"},
    {"luk", "눅", "누가복음"},
    {"jhn", "요", "요한복음"},
    {"act", "행", "사도행전"},
    {"rom", "롬", "로마서"},
    {"1co", "고전", "고린도전서"},
    {"2co", "고후", "고린도후서"},
    {"gal", "갈", "갈라디아서"},
    {"eph", "엡", "에베소서"},
    {"php", "빌", "빌립보서"},
    {"col", "골", "골로새서"},
    {"1th", "살전", "데살로니가전서"},
    {"2th", "살후", "데살로니가후서"},
    {"1ti", "딤전", "디모데전서"},
    {"2ti", "딤후", "디모데후서"},
    {"tit", "딛", "디도서"},
    {"phm", "몬", "빌레몬서"},
    {"heb", "히", "히브리서"},
    {"jas", "약", "야고보서"},
    {"1pe", "벧전", "베드로전서"},
    {"2pe", "벧후", "베드로후서"},
    {"1jn", "요1", "요한1서"},
    {"2jn", "요2", "요한2서"},
    {"3jn", "요3", "요한3서"},
    {"jud", "유", "유다서"},
    {"rev", "계", "요한계시록"},
}};

// VRC keeps the standard order and differs only in these rows.
constexpr std::array<RawRow, 32> kVrcChanges{{
    {"jos", "수", "여호수아기"}, {"1sa", "삼상", "사무엘기상"},  {"2sa", "삼하", "사무엘기하"},
    {"1ch", "대상", "역대지상"}, {"2ch", "대하", "역대지하"},    {"ezr", "라", "에스라기"},
    {"neh", "느", "느헤미야기"}, {"est", "더", "에스더기"},      {"isa", "사", "이사야서"},
    {"jer", "렘", "예레미야서"}, {"lam", "애", "예레미야 애가"}, {"ezk", "겔", "에스겔서"},
    {"dan", "단", "다니엘서"},   {"hos", "호", "호세아서"},      {"jol", "욜", "요엘서"},
    {"amo", "암", "아모스서"},   {"oba", "옵", "오바댜서"},      {"jnh", "욘", "요나서"},
    {"mic", "미", "미가서"},     {"nam", "나", "나훔서"},        {"hab", "합", "하박국서"},
    {"zep", "습", "스바냐서"},   {"hag", "학", "학개서"},        {"zec", "슥", "스가랴서"},
    {"mal", "말", "말라기서"},   {"mat", "마", "마태복음서"},    {"mrk", "막", "마가복음서"},
    {"luk", "눅", "누가복음서"}, {"jhn", "요", "요한복음서"},    {"1jn", "요일", "요한1서"},
    {"2jn", "요이", "요한2서"},  {"3jn", "요삼", "요한3서"},
}};

constexpr std::array<RawRow, 75> kVrb{{
    {"gen", "창세", "창세기"},
    {"exo", "출애", "출애굽기"},
    {"lev", "레위", "레위기"},
    {"num", "민수", "민수기"},
    {"deu", "신명", "신명기"},
    {"jos", "여호", "여호수아"},
    {"jdg", "판관", "판관기"},
    {"rut", "룻", "룻기"},
    {"1sa", "1사무", "사무엘상"},
    {"2sa", "2사무", "사무엘하"},
    {"1ki", "1열왕", "열왕기상"},
    {"2ki", "2열왕", "열왕기하"},
    {"1ch", "1역대", "역대기상"},
    {"2ch", "2역대", "역대기하"},
    {"ezr", "에즈", "에즈라"},
    {"neh", "느헤", "느헤미야"},
    {"est", "에스", "에스델"},
    {"job", "욥", "욥기"},
    {"psa", "시편", "시편"},
    {"pro", "잠언", "잠언"},
    {"ecc", "전도", "전도서"},
    {"sng", "아가", "아가"},
    {"isa", "이사", "이사야"},
    {"jer", "예레", "예레미야"},
    {"lam", "애가", "애가"},
    {"ezk", "에제", "에제키엘"},
    {"dan", "다니", "다니엘"},
    {"hos", "호세", "호세아"},
    {"jol", "요엘", "요엘"},
    {"amo", "아모", "아모스"},
    {"oba", "오바", "오바디야"},
    {"jnh", "요나", "요나"},
    {"mic", "미가", "미가"},
    {"nam", "나훔", "나훔"},
    {"hab", "하바", "하바꾹"},
    {"zep", "스바", "스바니야"},
    {"hag", "하깨", "하깨"},
    {"zec", "즈가", "즈가리야"},
    {"mal", "말라", "말라기"},
    {"tob", "토비", "토비트"},
    {"jdt", "유딧", "유딧"},
    {"gke", "에스(외)", "에스델 (제2경전/외경)"},
    {"wsd", "지혜", "지혜서"},
    {"sir", "집회", "집회서"},
    {"bar", "바룩", "바룩"},
    {"da1", "다니(외)", "다니엘 (제2경전/외경)"},
    {"1ma", "1마카", "마카베오상"},
    {"2ma", "2마카", "마카베오하"},
    {"mat", "마태", "마태오의 복음서"},
    {"mrk", "마르", "마르코의 복음서"},
    {"luk", "루가", "루가의 복음서"},
    {"jhn", "요한", "요한의 복음서"},
    {"act", "사도", "사도행전"},
    {"rom", "로마", "로마인들에게 보낸 편지"},
    {"1co", "1고린", "고린토인들에게 보낸 첫째 편지"},
    {"2co", "2고린", "고린토인들에게 보낸 둘째 편지"},
    {"gal", "갈라", "갈라디아인들에게 보낸 편지"},
    {"eph", "에페", "에페소인들에게 보낸 편지"},
    {"php", "필립", "필립비인들에게 보낸 편지"},
    {"col", "골로", "골로사이인들에게 보낸 편지"},
    {"1th", "1데살", "데살로니카인들에게 보낸 첫째 편지"},
    {"2th", "2데살", "데살로니카인들에게 보낸 둘째 편지"},
    {"1ti", "1디모", "디모테오에게 보낸 첫째 편지"},
    {"2ti", "2디모", "디모테오에게 보낸 둘째 편지"},
    {"tit", "디도", "디도에게 보낸 편지"},
    {"phm", "필레", "필레몬에게 보낸 편지"},
    {"heb", "히브", "히브리인들에게 보낸 편지"},
    {"jas", "야고", "야고보의 편지"},
    {"1pe", "1베드", "베드로의 첫째 편지"},
    {"2pe", "2베드", "베드로의 둘째 편지"},
    {"1jn", "1요한", "요한의 첫째 편지"},
    {"2jn", "2요한", "요한의 둘째 편지"},
    {"3jn", "3요한", "요한의 세째 편지"},
    {"jud", "유다", "유다의 편지"},
    {"rev", "묵시", "요한의 묵시록"},
}};

constexpr std::array<RawRow, 66> kEnglish{{
    {"gen", "Gn", "Genesis"},
    {"exo", "Ex", "Exodus"},
    {"lev", "Lv", "Leviticus"},
    {"num", "Nu", "Numbers"},
    {"deu", "Dt", "Deuteronomy"},
    {"jos", "Js", "Joshua"},
    {"jdg", "Jg", "Judges"},
    {"rut", "Ru", "Ruth"},
    {"1sa", "1 S", "1 Samuel"},
    {"2sa", "2 S", "2 Samuel"},
    {"1ki", "1 K", "1 Kings"},
    {"2ki", "2 K", "2 Kings"},
    {"1ch", "1 Ch", "1 Chronicles"},
    {"2ch", "2 Ch", "2 Chronicles"},
    {"ezr", "Ezra", "Ezra"},
    {"neh", "Ne", "Nehemiah"},
    {"est", "Es", "Esther"},
    {"job", "Job", "Job"},
    {"psa", "Ps", "Psalms"},
    {"pro", "Pr", "Proverbs"},
    {"ecc", "Ec", "Ecclesiastes"},
    {"sng", "Sgs", "Song of Songs"},
    {"isa", "Is", "Isaiah"},
    {"jer", "Jr", "Jeremiah"},
    {"lam", "Lm", "Lamentations"},
    {"ezk", "Ez", "Ezekiel"},
    {"dan", "Dn", "Daniel"},
    {"hos", "Ho", "Hosea"},
    {"jol", "Jl", "Joel"},
    {"amo", "Am", "Amos"},
    {"oba", "Ob", "Obadiah"},
    {"jnh", "Jon", "Jonah"},
    {"mic", "Mic", "Micah"},
    {"nam", "Nh", "Nahum"},
    {"hab", "Hb", "Habakkuk"},
    {"zep", "Zep", "Zephaniah"},
    {"hag", "Hg", "Haggai"},
    {"zec", "Zec", "Zechariah"},
    {"mal", "Ml", "Malachi"},
    {"mat", "Mt", "Matthew"},
    {"mrk", "Mk", "Mark"},
    {"luk", "Lk", "Luke"},
    {"jhn", "Jn", "John"},
    {"act", "Ac", "Acts"},
    {"rom", "Ro", "Romans"},
    {"1co", "1 Co", "1 Corinthians"},
    {"2co", "2 Co", "2 Corinthians"},
    {"gal", "Ga", "Galatians"},
    {"eph", "Eph", "Ephesians"},
    {"php", "Phil", "Philippians"},
    {"col", "Col", "Colossians"},
    {"1th", "1 Th", "1 Thessalonians"},
    {"2th", "2 Th", "2 Thessalonians"},
    {"1ti", "1 Ti", "1 Timothy"},
    {"2ti", "2 Ti", "2 Timothy"},
    {"tit", "Titus", "Titus"},
    {"phm", "Phm", "Philemon"},
    {"heb", "He", "Hebrews"},
    {"jas", "Jas", "James"},
    {"1pe", "1 P", "1 Peter"},
    {"2pe", "2 P", "2 Peter"},
    {"1jn", "1 Jn", "1 John"},
    {"2jn", "2 Jn", "2 John"},
    {"3jn", "3 Jn", "3 John"},
    {"jud", "Jd", "Jude"},
    {"rev", "Rev", "Revelation"},
}};

// GNB = the English table with these rows after Malachi.
constexpr std::array<RawRow, 15> kGnbDeuterocanon{{
    {"tob", "Tb", "Tobit"},
    {"jdt", "Jdt", "Judith"},
    {"gke", "Gk Est", "Esther (Greek)"},
    {"wsd", "Ws", "The Wisdom of Solomon"},
    {"sir", "Si", "Sirach"},
    {"bar", "Ba", "Baruch"},
    {"ba1", "Let Jer", "Letter of Jeremiah"},
    {"da1", "S of 3 Y", "Song of Three Young Men"},
    {"da2", "Su", "Susanna"},
    {"da3", "Bel", "Bel and The Dragon"},
    {"1ma", "1 Macc", "1 Maccabees"},
    {"2ma", "2 Macc", "2 Maccabees"},
    {"1es", "1 Esd", "1 Esdras"},
    {"2es", "2 Esd", "2 Esdras"},
    {"pra", "Man", "The Prayer of Manasseh"},
}};

BookRow convert(const RawRow& raw) {
    return {raw.code, utf8ToCp949(raw.abbreviation), utf8ToCp949(raw.name)};
}

void appendRows(std::vector<BookRow>& out, std::span<const RawRow> rows) {
    for (const RawRow& raw : rows)
        out.push_back(convert(raw));
}

std::vector<BookRow> convertAll(std::span<const RawRow> rows) {
    std::vector<BookRow> out;
    out.reserve(rows.size());
    appendRows(out, rows);
    return out;
}

const std::vector<BookRow>& standardTable() {
    static const std::vector<BookRow> table = convertAll(kStandard);
    return table;
}

const std::vector<BookRow>& vrcTable() {
    static const std::vector<BookRow> table = [] {
        std::vector<BookRow> rows = standardTable();
        for (const RawRow& change : kVrcChanges) {
            auto it = std::find_if(rows.begin(), rows.end(),
                                   [&](const BookRow& row) { return row.code == change.code; });
            if (it != rows.end())
                *it = convert(change);
        }
        return rows;
    }();
    return table;
}

const std::vector<BookRow>& vrbTable() {
    static const std::vector<BookRow> table = convertAll(kVrb);
    return table;
}

const std::vector<BookRow>& englishTable() {
    static const std::vector<BookRow> table = convertAll(kEnglish);
    return table;
}

const std::vector<BookRow>& gnbTable() {
    static const std::vector<BookRow> table = [] {
        std::span<const RawRow> english(kEnglish);
        std::vector<BookRow> rows;
        rows.reserve(english.size() + kGnbDeuterocanon.size());
        appendRows(rows, english.first(kOldTestamentCount));
        appendRows(rows, kGnbDeuterocanon);
        appendRows(rows, english.subspan(kOldTestamentCount));
        return rows;
    }();
    return table;
}

const BookRow* findRow(std::string_view versionCode, auto matches) {
    const std::vector<BookRow>& table = bookTableOf(versionCode);
    auto it = std::find_if(table.begin(), table.end(), matches);
    return it == table.end() ? nullptr : &*it;
}

std::ptrdiff_t standardPosition(std::string_view bookCode) {
    const std::vector<BookRow>& table = standardTable();
    auto it = std::find_if(table.begin(), table.end(),
                           [&](const BookRow& row) { return row.code == bookCode; });
    return it == table.end() ? -1 : it - table.begin();
}

} // namespace

const std::vector<BookRow>& bookTableOf(std::string_view versionCode) {
    const Edition* edition = findEdition(versionCode);
    return bookTable(edition ? edition->books : EditionBooks::Standard);
}

const std::vector<BookRow>& bookTable(EditionBooks books) {
    switch (books) {
    case EditionBooks::Vrb:
        return vrbTable();
    case EditionBooks::Vrc:
        return vrcTable();
    case EditionBooks::English:
        return englishTable();
    case EditionBooks::Gnb:
        return gnbTable();
    case EditionBooks::Standard:
        break;
    }
    return standardTable();
}

std::string bookNameOf(std::string_view bookCode, std::string_view versionCode) {
    const BookRow* row = findRow(versionCode, [&](const BookRow& r) { return r.code == bookCode; });
    return row ? row->name : std::string();
}

std::string bookCodeOf(std::string_view bookName, std::string_view versionCode) {
    const BookRow* row = findRow(versionCode, [&](const BookRow& r) { return r.name == bookName; });
    return row ? row->code : std::string();
}

std::string bookAbbrOf(std::string_view bookName, std::string_view versionCode) {
    const BookRow* row = findRow(versionCode, [&](const BookRow& r) { return r.name == bookName; });
    return row ? row->abbreviation : std::string();
}

bool isBookCode(std::string_view code) {
    // The Vrb table holds the deuterocanonical books, the Gnb table their English codes.
    for (EditionBooks books : {EditionBooks::Vrb, EditionBooks::Gnb})
        for (const BookRow& row : bookTable(books))
            if (row.code == code)
                return true;
    return false;
}

bool isBibleVersion(std::string_view code) {
    return findEdition(code) != nullptr;
}

int parallelVersionIndex(std::string_view code) {
    const Edition* edition = findEdition(code);
    return edition ? edition->parallelIndex : -1;
}

bool isNewTestament(std::string_view bookCode) {
    return standardPosition(bookCode) >= static_cast<std::ptrdiff_t>(kOldTestamentCount);
}

} // namespace qel
