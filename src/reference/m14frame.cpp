#include "reference/m14frame.h"

#include "bible/bibleframehost.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/m14view.h"
#include "reference/mapframe.h"
#include "reference/mappane.h"
#include "reference/topiclibraries.h"
#include "reference/topiclibrary.h"
#include "reference/topictrees.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QSplitter>
#include <algorithm>

namespace qel {
namespace {

struct TopicWindowKind {
    const char* code;
    const char* title; // UTF-8
    const TopicTable& (*table)();
};

const TopicWindowKind kKinds[] = {
    {"CAME", "성서가 우리에게 오기까지", cameTree},
    {"MAP", "성서 지도", mapTree},
    {"PHOTO", "사진 자료", photoTree},
    {"SHORT", "주제별 단편 성서", shortTopicTree},
    {"HIS", "연대표", chronologyTree},
    {"ABOUT", "QEL 소개", aboutTree},
};

const TopicWindowKind* kindOf(const std::string& code) {
    for (const TopicWindowKind& kind : kKinds)
        if (code == kind.code)
            return &kind;
    return nullptr;
}

constexpr int kChronologyKind = 10;

} // namespace

CM14Frame::CM14Frame(AppContext& context, BibleFrameHost& host, std::string code, QWidget* parent)
    : CChildFrame(parent), context_(context), host_(host), code_(std::move(code)),
      splitter_(new QSplitter(this)), panel_(new CTreeAndSearch(*this, splitter_)),
      view_(new CM14View(splitter_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    const TopicWindowKind* kind = kindOf(code_);
    title_ = kind ? QString::fromUtf8(kind->title) : QString::fromStdString(code_);
    setWindowTitle(title_);
    splitter_->addWidget(panel_);
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kPanelWidth, 1000});
    setWidget(splitter_);
    view_->Bind(code_, context_.paths.topicFolder);
    connect(view_, &CM14View::linkActivated, this, &CM14Frame::FollowLink);
}

CM14Frame::~CM14Frame() = default;

void CM14Frame::Init(const std::string& pendingPlace) {
    if (const TopicWindowKind* kind = kindOf(code_)) {
        panel_->SetMode(view_->kind(), kind->table(),
                        view_->kind() == panelmode::Map ? &placeNameTree() : nullptr);
        panel_->fitInto(*splitter_, kPanelWidth);
    }
    if (!pendingPlace.empty())
        Navigate(pendingPlace, true);
}

QWidget* CM14Frame::rightPane() const {
    return splitter_->widget(1);
}

void CM14Frame::showInRightPane(QWidget* widget) {
    if (rightPane() == widget)
        return;
    // The other view stays, hidden, for the next time it is wanted; the splitter lets go of
    // the widget it gives up.
    QWidget* replaced = splitter_->replaceWidget(1, widget);
    replaced->hide();
    replaced->setParent(this);
    widget->show();
    widget->setFocus();
}

void CM14Frame::Navigate(const std::string& key, bool record) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    currentKey_ = key;
    if (code_ == "MAP" && !key.empty() && key.front() == 'f') {
        if (!map_)
            map_ = createMapPane(context_, this);
        showInRightPane(map_->widget());
        if (map_->LoadMap(key.substr(1))) {
            setWindowTitle(title_ + QStringLiteral(" - ") +
                           QString::fromUtf8(mapNameUtf8(key[1] - '0')));
            // The tree lists the maps as "f1" ... "f4".
            if (const std::optional<std::string> name = panel_->TitleForKey(key.substr(0, 2)))
                panel_->ShowCurrentTitle(*name);
        }
    } else if (code_ == "MAP" && !key.empty() && key.front() == 'm') {
        showTopicMap(key);
    } else {
        showInRightPane(view_);
        ShowTopic(key);
    }
    rightPane()->update();
    QApplication::restoreOverrideCursor();
    if (view_->kind() != kChronologyKind && !key.empty() && record)
        history_.push(key);
    emit commandStateChanged();
}

void CM14Frame::showTopicMap(const std::string& key) {
    if (!map_)
        map_ = createMapPane(context_, this);
    const std::optional<std::string> name = panel_->TitleForKey(key);
    const QString title = name ? QString::fromStdString(cp949ToUtf8(*name)) : title_;
    if (!map_->LoadTopicMap(key, title)) {
        showInRightPane(view_);
        ShowTopic(key);
        return;
    }
    if (!topicSplit_) {
        topicSplit_ = new QSplitter(Qt::Vertical, this);
        topicSplit_->hide();
    }
    if (rightPane() != topicSplit_) {
        // The splitter goes in with the view that is not in the pane now, so that it never
        // comes in empty and without width; the other follows.
        QWidget* shown = rightPane();
        QWidget* first = shown == view_ ? map_->widget() : view_;
        topicSplit_->insertWidget(first == view_ ? 1 : 0, first);
        first->show();
        showInRightPane(topicSplit_);
        topicSplit_->insertWidget(shown == view_ ? 1 : 0, shown);
        shown->show();
        topicSplit_->setStretchFactor(0, 3);
        topicSplit_->setStretchFactor(1, 1);
        topicSplit_->setSizes({3000, 1000});
    }
    ShowTopic(key);
}

int CM14Frame::ShowTopic(const std::string& key) {
    QString title = title_;
    if (!key.empty()) {
        // A key the tree does not list keeps the bare title.
        if (const std::optional<std::string> name = panel_->TitleForKey(key)) {
            title += QStringLiteral(" - ") + QString::fromStdString(cp949ToUtf8(*name));
            panel_->ShowCurrentTitle(*name);
        }
    }
    setWindowTitle(title);
    if (view_->kind() == kChronologyKind)
        return HiHScrollPos(key.c_str());
    return view_->ShowTopic(key);
}

void CM14Frame::FollowLink(const std::string& commandKey) {
    CChildFrame* opened = host_.openByCommandKey(commandKey, false);
    if (!opened || commandKey.rfind("BVRA", 0) != 0)
        return;
    // The verse beside the topic: this window on the left half, the Bible on the right.
    host_.hideShortcutBar();
    const QSize area = host_.mdiArea()->viewport()->size();
    const int half = area.width() / 2;
    showNormal();
    setGeometry(0, 0, half, area.height());
    opened->showNormal();
    opened->setGeometry(half, 0, area.width() - half, area.height());
}

void CM14Frame::openPanelEntry(int, const std::string& key, bool record) {
    Navigate(key, record);
}

bool CM14Frame::showsMap() const {
    return map_ && (rightPane() == map_->widget() || (topicSplit_ && rightPane() == topicSplit_));
}

void CM14Frame::showMapLegend() {
    if (showsMap())
        map_->showLegend();
}

bool CM14Frame::toggleMapZoom() {
    return showsMap() && map_->toggleZoom();
}

void CM14Frame::refreshView() {
    // The topic is painted again in the new display.
    if ((!map_ || rightPane() != map_->widget()) && !currentKey_.empty())
        ShowTopic(currentKey_);
}

bool CM14Frame::handleCommand(int id) {
    if (stepHistoryCommand(history_, id,
                           [this](const std::string& key) { Navigate(key, false); })) {
        emit commandStateChanged();
        return true;
    }
    switch (id) {
    default:
        break;
    }
    return showsMap() ? map_->handleCommand(id) : view_->handleCommand(id);
}

bool CM14Frame::updateCommand(int id, QAction* action) {
    if (const std::optional<bool> enabled = historyCommandEnabled(history_, id)) {
        action->setEnabled(*enabled);
        return true;
    }
    switch (id) {
    default:
        break;
    }
    if (!showsMap())
        return view_->updateCommand(id, action);
    switch (id) {
    case cmd::Copy:
        action->setEnabled(map_->canCopy());
        return true;
    case cmd::SelectAll:
        action->setEnabled(map_->canSelectAll());
        return true;
    case cmd::Print:
        action->setEnabled(true);
        return true;
    default:
        return false;
    }
}

void CM14Frame::resizeEvent(QResizeEvent* event) {
    // The first maximise of the window moves the shortcut panel aside, as for Bible windows.
    if (isMaximized() && !lastResizeMaximized_)
        host_.hideShortcutBar();
    lastResizeMaximized_ = isMaximized();
    CChildFrame::resizeEvent(event);
}

} // namespace qel
