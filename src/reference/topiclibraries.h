#pragma once

// The entry points of the six topic libraries, with C linkage. Every library exports the
// same seven operations under its prefix (Ca, Ma, Ph, Sh, Hi, Ad); three of them were
// reached by ordinal only:
//
//   ordinal  operation            called with
//   2        <P>OpenTopicFile     (view window, full path of the topic file)
//   3        <P>AttachTopicView   (view window)
//   6        <P>ShowTopic         (topic key) -> 1 when the topic was shown, else 0
//   -        <P>MoveTopicWnd      () fits the library's window to the view
//   -        <P>PrintTopic        ()
//   -        <P>CopyTopic         () the selection to the clipboard
//   -        <P>SelectTopic       () selects all
//
// The chronology library also exports HiHScrollPos (key). The view window is the QWidget
// the library paints into; every operation returns 1 when it did its work, else 0.

#define QEL_TOPIC_LIBRARY_DECLARATIONS(P)                                                          \
    int P##OpenTopicFile(void* view, const char* path);                                            \
    int P##AttachTopicView(void* view);                                                            \
    int P##ShowTopic(const char* key);                                                             \
    int P##MoveTopicWnd(void);                                                                     \
    int P##PrintTopic(void);                                                                       \
    int P##CopyTopic(void);                                                                        \
    int P##SelectTopic(void);

extern "C" {
QEL_TOPIC_LIBRARY_DECLARATIONS(Ca)
QEL_TOPIC_LIBRARY_DECLARATIONS(Ma)
QEL_TOPIC_LIBRARY_DECLARATIONS(Ph)
QEL_TOPIC_LIBRARY_DECLARATIONS(Sh)
QEL_TOPIC_LIBRARY_DECLARATIONS(Hi)
QEL_TOPIC_LIBRARY_DECLARATIONS(Ad)
int HiHScrollPos(const char* key);
}
