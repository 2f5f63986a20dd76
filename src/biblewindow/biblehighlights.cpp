#include "biblewindow/biblehighlights.h"

#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/messagesink.h"

namespace qel {

BibleHighlights::BibleHighlights(std::string studyFile, std::string version)
    : store_(std::move(studyFile)), version_(std::move(version)) {}

std::vector<HighlightSpan> BibleHighlights::chapter(const std::string& book,
                                                    const std::string& chapter) {
    std::vector<HighlightSpan> spans;
    if (!store_.isOpen())
        return spans;
    try {
        for (const Highlight& h : store_.chapter(version_, book, chapter))
            spans.push_back({h.key.verse, h.start, h.end, h.colour});
    } catch (const DatabaseError& e) {
        logWarning(std::string("highlights: ") + e.what());
    }
    return spans;
}

void BibleHighlights::apply(const std::string& book, const std::string& chapter,
                            const std::vector<HighlightSpan>& spans, int colour) {
    if (!store_.isOpen())
        return;
    for (const HighlightSpan& span : spans) {
        try {
            (void)store_.apply({version_, book, chapter, span.verse}, span.start, span.end, colour);
        } catch (const DatabaseError& e) {
            logWarning(std::string("highlights: ") + e.what());
            showMessage(utf8ToCp949("형광펜을 저장하지 못했습니다. 다른 프로그램이 노트 "
                                    "파일을 쓰고 있을 수 있습니다."),
                        applicationTitle());
            return;
        }
    }
}

} // namespace qel
