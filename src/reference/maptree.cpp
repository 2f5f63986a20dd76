#include "reference/topictrees.h"

namespace qel {
namespace {

constexpr RawTopic kEntries[] = {
    {0, "", "구약 시대"},
    {1, "f1", "구약시대의 팔레스티나"},
    {1, "f4", "구약시대의 중동"},
    {1, "m01patriarchs", "족장들의 발자취"},
    {1, "m02exodusroad", "출애굽과 광야의 길"},
    {1, "m03settlement", "정복과 지파의 정착"},
    {1, "m04unitedking", "통일 왕국"},
    {1, "m05dividedkng", "분열 왕국"},
    {1, "m06assyrianem", "앗시리아 제국"},
    {1, "m07babylonian", "바빌론 제국과 포로"},
    {1, "m08persianera", "페르시아 시대와 귀환"},
    {0, "", "신약 시대"},
    {1, "f2", "신약시대의 팔레스티나"},
    {1, "f3", "사도 바울의 여행"},
    {1, "m09maccabeans", "헬라 시대와 마카비 항쟁"},
    {1, "m10herodrealm", "헤롯의 나라와 그 분할"},
    {1, "m11galileemin", "갈릴리 사역"},
    {1, "m12jerusalems", "예루살렘으로 가는 길"},
    {1, "m13paulsroads", "바울의 전도 여행과 로마로 가는 길"},
    {0, "", "땅과 길"},
    {1, "m14landscapes", "팔레스타인의 지형"},
    {1, "m15greatroads", "옛 길과 교역로"},
    {-1, "", ""},
};

} // namespace

const TopicTable& mapTree() {
    static const TopicTable table = convertTopics(kEntries);
    return table;
}

} // namespace qel
