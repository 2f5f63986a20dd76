#include "app/slotwarning.h"

#include "bible/editions.h"
#include "platform/database.h"

#include <QRegularExpression>

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

MkdbProgress readMkdbProgress(const QString& line) {
    static const QRegularExpression reading(QStringLiteral("^reading (.+)$"));
    static const QRegularExpression bytes(
        QStringLiteral("^(.+): (\\d+) / (\\d+) bytes \\((\\d+)%\\)$"));
    static const QRegularExpression books(QStringLiteral("^(\\w+): (\\d+) books, (\\d+) verses"));
    static const QRegularExpression imported(
        QStringLiteral("^(\\w+): imported (\\d+) verses and (\\d+) section titles in (.+) s$"));
    static const QRegularExpression wordIndex(QStringLiteral("^word index (.+)$"));
    static const QRegularExpression copying(
        QStringLiteral("^copying the content database and its indexes to (.+)$"));
    if (const auto m = reading.match(line); m.hasMatch())
        return {QStringLiteral("읽는 중: %1").arg(m.captured(1)), {}, {}};
    if (const auto m = wordIndex.match(line); m.hasMatch())
        return {QStringLiteral("단어찾기 색인을 만드는 중: %1").arg(m.captured(1)), {}, {}};
    if (const auto m = copying.match(line); m.hasMatch())
        return {QStringLiteral("본문과 색인을 옮기는 중: %1").arg(m.captured(1)), {}, {}};
    if (const auto m = bytes.match(line); m.hasMatch())
        return {QStringLiteral("받는 중: %1 (%2 / %3 바이트, %4%)")
                    .arg(m.captured(1), m.captured(2), m.captured(3), m.captured(4)),
                m.captured(4).toInt(),
                {}};
    if (const auto m = books.match(line); m.hasMatch())
        return {QStringLiteral("%1 자리에 넣는 중: %2권, %3절")
                    .arg(m.captured(1), m.captured(2), m.captured(3)),
                {},
                m.captured(2).toInt()};
    if (const auto m = imported.match(line); m.hasMatch())
        return {QStringLiteral("%1 자리에 %2절과 소제목 %3개 (%4초)")
                    .arg(m.captured(1), m.captured(2), m.captured(3), m.captured(4)),
                {},
                {}};
    return {line, {}, {}};
}

} // namespace qel
