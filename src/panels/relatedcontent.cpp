#include "panels/relatedcontent.h"

#include "bible/biblequeries.h"
#include "platform/database.h"

namespace qel {

std::string relatedChapter(std::string_view chapter) {
    for (int i = 0; i < 2 && !chapter.empty() && chapter.front() == '0'; ++i)
        chapter.remove_prefix(1);
    return std::string(chapter);
}

RelatedContent relatedContentOf(Database& db, std::string_view book, std::string_view chapter,
                                std::string_view verse) {
    RecordSet rs(db, sql::relatedContent(book, relatedChapter(chapter), verse));
    RelatedContent content;
    if (rs.isEOF())
        return content;
    std::string body = rs.text("body");
    if (body.size() > kRelatedContentLimit)
        content.tooLong = true;
    else
        content.body = std::move(body);
    return content;
}

} // namespace qel
