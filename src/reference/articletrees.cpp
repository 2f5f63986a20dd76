#include "reference/articletrees.h"

namespace qel {
namespace {

constexpr RawTopic kUnits[] = {
    {0, "0", "길이 단위"},
    {0, "1", "신약 성경의 거리 단위"},
    {0, "2", "구약 성경의 액체 측량 단위"},
    {0, "3", "구약 성경의 마른 곡물 측량 단위"},
    {0, "4", "신약 성경의 부피 단위"},
    {0, "5", "무게 단위"},
    {0, "6", "구약 성경의 화폐 단위"},
    {0, "7", "신약 성경의 화폐 단위"},
    {-1, "", ""},
};

// Only books whose text has readings worth a note; the last one is 1 John.
constexpr RawTopic kCriticism[] = {
    {0, "all", "본문 비평 주 소개"},
    {0, "gen", "창세기"},
    {0, "exo", "출애굽기"},
    {0, "num", "민수기"},
    {0, "deu", "신명기"},
    {0, "jos", "여호수아"},
    {0, "jdg", "사사기"},
    {0, "1sa", "사무엘상"},
    {0, "2sa", "사무엘하"},
    {0, "1ki", "열왕기상"},
    {0, "2ki", "열왕기하"},
    {0, "1ch", "역대상"},
    {0, "2ch", "역대하"},
    {0, "ezr", "에스라"},
    {0, "neh", "느헤미야"},
    {0, "est", "에스더"},
    {0, "job", "욥기"},
    {0, "psa", "시편"},
    {0, "pro", "잠언"},
    {0, "isa", "이사야"},
    {0, "jer", "예레미야"},
    {0, "ezk", "에스겔"},
    {0, "dan", "다니엘"},
    {0, "hos", "호세아"},
    {0, "amo", "아모스"},
    {0, "hab", "하박국"},
    {0, "zec", "스가랴"},
    {0, "mal", "말라기"},
    {0, "mat", "마태복음"},
    {0, "mrk", "마가복음"},
    {0, "luk", "누가복음"},
    {0, "jhn", "요한복음"},
    {0, "act", "사도행전"},
    {0, "rom", "로마서"},
    {0, "1co", "고린도전서"},
    {0, "eph", "에베소서"},
    {0, "col", "골로새서"},
    {0, "1th", "데살로니가전서"},
    {0, "2th", "데살로니가후서"},
    {0, "1ti", "디모데전서"},
    {0, "heb", "히브리서"},
    {0, "2pe", "베드로후서"},
    {0, "1jn", "요한일서"},
    {-1, "", ""},
};

} // namespace

const TopicTable& unitTree() {
    static const TopicTable table = convertTopics(kUnits);
    return table;
}

const TopicTable& criticismTree() {
    static const TopicTable table = convertTopics(kCriticism);
    return table;
}

const TopicTable* articleTree(int kind) {
    switch (kind) {
    case articlekind::Book:
        return &bookGuideTree();
    case articlekind::Units:
        return &unitTree();
    case articlekind::Term:
        return &termTree();
    case articlekind::Criticism:
        return &criticismTree();
    default:
        return nullptr;
    }
}

} // namespace qel
