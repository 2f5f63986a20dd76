#include "versesearch/bookabbreviations.h"

#include "platform/codec.h"

namespace qel {

namespace {

const char* const kRows[66][2] = {
    {"창", "창세기"},
    {"출", "출애굽기"},
    {"레", "레위기"},
    {"민", "민수기"},
    {"신", "신명기"},
    {"수", "여호수아"},
    {"삿", "사사기"},
    {"룻", "룻기"},
    {"삼상", "사무엘상"},
    {"삼하", "사무엘하"},
    {"왕상", "열왕기상"},
    {"왕하", "열왕기하"},
    {"대상", "역대상"},
    {"대하", "역대하"},
    {"스", "에스라"},
    {"느", "느헤미야"},
    {"에", "에스더"},
    {"욥", "욥기"},
    {"시", "시편"},
    {"잠", "잠언"},
    {"전", "전도서"},
    {"아", "아가"},
    {"사", "이사야"},
    {"렘", "예레미야"},
    {"애", "예레미야애가"},
    {"겔", "에스겔"},
    {"단", "다니엘"},
    {"호", "호세아"},
    {"욜", "요엘"},
    {"암", "아모스"},
    {"옵", "오바댜"},
    {"욘", "요나"},
    {"미", "미가"},
    {"나", "나훔"},
    {"합", "하박국"},
    {"습", "스바냐"},
    {"학", "학개"},
    {"슥", "스가랴"},
    {"말", "말라기"},
    {"마", "마태복음"},
    {"막", "마가복음"},
    {"눅", "누가복음"},
    {"요", "요한복음"},
    {"행", "사도행전"},
    {"롬", "로마서"},
    {"고전", "고린도전서"},
    {"고후", "고린도후서"},
    {"갈", "갈라디아서"},
    {"엡", "에베소서"},
    {"빌", "빌립보서"},
    {"골", "골로새서"},
    {"살전", "데살로니가전서"},
    {"살후", "데살로니가후서"},
    {"딤전", "디모데전서"},
    {"딤후", "디모데후서"},
    {"딛", "디도서"},
    {"몬", "빌레몬서"},
    {"히", "히브리서"},
    {"약", "야고보서"},
    {"벧전", "베드로전서"},
    {"벧후", "베드로후서"},
    {"요일", "요한1서"},
    {"요이", "요한2서"},
    {"요삼", "요한3서"},
    {"유", "유다서"},
    {"계", "요한계시록"},
};

} // namespace

const std::vector<BookAbbreviation>& bookAbbreviationTable() {
    static const std::vector<BookAbbreviation> table = [] {
        std::vector<BookAbbreviation> rows;
        rows.reserve(66);
        for (const auto& row : kRows)
            rows.push_back({utf8ToCp949(row[0]), utf8ToCp949(row[1])});
        return rows;
    }();
    return table;
}

int bookIndexOfAbbreviation(std::string_view abbreviation) {
    const auto& table = bookAbbreviationTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].abbreviation == abbreviation)
            return static_cast<int>(i);
    return -1;
}

std::string abbreviationOfBookName(std::string_view name) {
    for (const auto& row : bookAbbreviationTable())
        if (row.name == name)
            return row.abbreviation;
    return {};
}

std::string bookNameOfAbbreviation(std::string_view abbreviation) {
    const int i = bookIndexOfAbbreviation(abbreviation);
    return i < 0 ? std::string() : bookAbbreviationTable()[static_cast<std::size_t>(i)].name;
}

} // namespace qel
