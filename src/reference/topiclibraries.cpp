#include "reference/topiclibraries.h"

#include "reference/topiclibrary.h"

using qel::TopicLibrary;
using qel::TopicLibraryKind;

// Each prefix forwards to the one implementation, as the kind's own library.
#define QEL_TOPIC_LIBRARY_ENTRY_POINTS(P)                                                          \
    int P##OpenTopicFile(void* view, const char* path) {                                           \
        return TopicLibrary::of(TopicLibraryKind::P).open(view, path);                             \
    }                                                                                              \
    int P##AttachTopicView(void* view) {                                                           \
        return TopicLibrary::of(TopicLibraryKind::P).attach(view);                                 \
    }                                                                                              \
    int P##ShowTopic(const char* key) {                                                            \
        return TopicLibrary::of(TopicLibraryKind::P).show(key);                                    \
    }                                                                                              \
    int P##MoveTopicWnd(void) {                                                                    \
        return TopicLibrary::of(TopicLibraryKind::P).move();                                       \
    }                                                                                              \
    int P##PrintTopic(void) {                                                                      \
        return TopicLibrary::of(TopicLibraryKind::P).print();                                      \
    }                                                                                              \
    int P##CopyTopic(void) {                                                                       \
        return TopicLibrary::of(TopicLibraryKind::P).copy();                                       \
    }                                                                                              \
    int P##SelectTopic(void) {                                                                     \
        return TopicLibrary::of(TopicLibraryKind::P).selectAll();                                  \
    }

extern "C" {
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ca)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ma)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ph)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Sh)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Hi)
QEL_TOPIC_LIBRARY_ENTRY_POINTS(Ad)

int HiHScrollPos(const char* key) {
    return TopicLibrary::of(TopicLibraryKind::Hi).scrollTo(key);
}
}
