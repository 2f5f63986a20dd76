#include "app/slotwarning.h"

#include "bible/editions.h"
#include "platform/database.h"

namespace qel {

long long slotVerseCount(Database& content, const std::string& code) {
    if (!content.isOpen() || !content.hasTable(code))
        return 0;
    RecordSet rs(content, "select count(*) as n from " + code);
    return std::stoll(rs.field("n"));
}

QString slotReplacementWarning(Database& content, const std::string& code, const QString& verb,
                               bool sample) {
    const long long verses = slotVerseCount(content, code);
    if (verses == 0)
        return QStringLiteral("이 자리는 비어 있습니다.");
    QString replaced = QStringLiteral("본문, 소제목, 장 목록, 절별 비교와 단어찾기 색인");
    if (const Edition* edition = findEdition(code); edition && edition->verseIndex)
        replaced += QStringLiteral(", 성구찾기 색인");
    return (sample ? QStringLiteral("이 자리에는 견본 구절 %1절이 있습니다. ")
                   : QStringLiteral("주의: 이 자리에는 이미 %1절의 본문이 있습니다. "))
               .arg(verses) +
           QStringLiteral("%1 이 역본의 %2이 모두 바뀝니다.").arg(verb, replaced);
}

} // namespace qel
