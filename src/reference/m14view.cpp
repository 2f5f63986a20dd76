#include "reference/m14view.h"

#include "platform/commands.h"
#include "reference/topiclibraries.h"
#include "reference/topiclink.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace qel {
namespace {

int none(void*) {
    return 0;
}
int none(void*, const char*) {
    return 0;
}
int none(const char*) {
    return 0;
}
int none() {
    return 0;
}

#define QEL_TOPIC_BINDING(P)                                                                       \
    TopicBinding {                                                                                 \
        P##AttachTopicView, P##OpenTopicFile, P##ShowTopic, P##MoveTopicWnd, P##PrintTopic,        \
            P##CopyTopic, P##SelectTopic                                                           \
    }

const TopicLibraryInfo kLibraries[] = {
    {"CAME", 4, "ca.m14", QEL_TOPIC_BINDING(Ca)},  {"MAP", 5, "ma.m14", QEL_TOPIC_BINDING(Ma)},
    {"PHOTO", 6, "ph.m14", QEL_TOPIC_BINDING(Ph)}, {"SHORT", 9, "sh.m14", QEL_TOPIC_BINDING(Sh)},
    {"HIS", 10, "hi.m14", QEL_TOPIC_BINDING(Hi)},  {"ABOUT", 11, "ad.m14", QEL_TOPIC_BINDING(Ad)},
};

const TopicLibraryInfo kUnbound = {"", -1, "", {none, none, none, none, none, none, none}};

} // namespace

const TopicLibraryInfo& topicLibraryFor(std::string_view code) {
    for (const TopicLibraryInfo& info : kLibraries)
        if (code == info.code)
            return info;
    return kUnbound;
}

CM14View::CM14View(QWidget* parent) : QWidget(parent), binding_(kUnbound.binding) {}

void CM14View::Bind(const std::string& code, const std::string& topicFolder) {
    const TopicLibraryInfo& info = topicLibraryFor(code);
    binding_ = info.binding;
    kind_ = info.kind;
    dataPath_ = info.kind < 0 ? std::string() : topicFolder + info.file;
    // Their results are not examined: a library that cannot read its file says so itself.
    binding_.attach(this);
    binding_.open(this, dataPath_.c_str());
}

int CM14View::ShowTopic(const std::string& key) {
    return binding_.show(key.c_str());
}

bool CM14View::handleCommand(int id) {
    switch (id) {
    case cmd::Copy:
        binding_.copy();
        return true;
    case cmd::SelectAll:
        binding_.selectAll();
        return true;
    case cmd::Print:
    case cmd::PartialPrint:
        binding_.print();
        return true;
    default:
        return false;
    }
}

bool CM14View::updateCommand(int id, QAction* action) {
    switch (id) {
    case cmd::Copy:
    case cmd::SelectAll:
    case cmd::Print:
    case cmd::PartialPrint:
        action->setEnabled(true);
        return true;
    default:
        return false;
    }
}

bool CM14View::event(QEvent* event) {
    if (event->type() == TopicLinkEvent::kType) {
        emit linkActivated(static_cast<TopicLinkEvent*>(event)->commandKey());
        return true;
    }
    return QWidget::event(event);
}

void CM14View::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    binding_.move();
}

void CM14View::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const std::pair<int, const char*> items[] = {{cmd::Copy, "복사"},
                                                 {cmd::SelectAll, "모두 선택"},
                                                 {cmd::Print, "인쇄"},
                                                 {cmd::PartialPrint, "부분 인쇄"}};
    for (const auto& [id, label] : items) {
        if (id == cmd::SelectAll || id == cmd::Print)
            menu.addSeparator();
        const int command = id;
        menu.addAction(QString::fromUtf8(label), this, [this, command] { handleCommand(command); });
    }
    menu.exec(event->globalPos());
}

} // namespace qel
