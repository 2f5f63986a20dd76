#include "reference/topiclibraries.h"

#include "reference/topiclibrary.h"

using qel::TopicLibraries;
using qel::TopicLibrary;
using qel::TopicLibraryKind;

namespace {

// 0 when the application has no libraries (before it starts, after it ends).
template <typename Call> int forward(TopicLibraryKind kind, Call call) {
    TopicLibraries* set = TopicLibraries::current();
    return set ? call(set->library(kind)) : 0;
}

} // namespace

// Each prefix forwards to the one implementation, as the kind's own library.
#define QEL_TOPIC_LIBRARY_ENTRY_POINTS(P)                                                          \
    int P##OpenTopicFile(void* view, const char* path) {                                           \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.open(view, path); });  \
    }                                                                                              \
    int P##AttachTopicView(void* view) {                                                           \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.attach(view); });      \
    }                                                                                              \
    int P##ShowTopic(const char* key) {                                                            \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.show(key); });         \
    }                                                                                              \
    int P##MoveTopicWnd(void) {                                                                    \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.move(); });            \
    }                                                                                              \
    int P##PrintTopic(void) {                                                                      \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.print(); });           \
    }                                                                                              \
    int P##CopyTopic(void) {                                                                       \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.copy(); });            \
    }                                                                                              \
    int P##SelectTopic(void) {                                                                     \
        return forward(TopicLibraryKind::P, [&](TopicLibrary& l) { return l.selectAll(); });       \
    }

extern "C" {
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ca)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ma)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ph)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Sh)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Hi)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ad)

int HiHScrollPos(const char* key) {
    return forward(TopicLibraryKind::Hi, [&](TopicLibrary& l) { return l.scrollTo(key); });
}
}
