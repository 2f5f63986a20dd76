#include "compare/compareframe.h"

#include "compare/compareview.h"
#include "compare/passagegather.h"
#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "richtext/markupparser.h"
#include "richtext/richtextarea.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QApplication>
#include <QSplitter>
#include <charconv>
#include <optional>

namespace qel {

CCompareFrame::CCompareFrame(AppContext& context, const CompareWindowKind& kind, CCompareView* view,
                             QWidget* parent)
    : CChildFrame(parent), context_(context), kind_(kind), splitter_(new QSplitter(this)),
      panel_(new CTreeAndSearch(*this, splitter_)), view_(view),
      texts_(kind.comparison().paneBooks.size()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kind.title));
    splitter_->addWidget(panel_);
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kPanelWidth, 1000});
    setWidget(splitter_);
}

CCompareFrame::~CCompareFrame() {
    view_->ClearPanes();
}

void CCompareFrame::SetPanelMode(int mode) {
    panel_->SetMode(mode, kind_.table());
    panel_->fitInto(*splitter_, kPanelWidth);
}

void CCompareFrame::Load(int index, bool record) {
    const TopicTable& table = kind_.table();
    if (index < 0 || index >= entryCount(table))
        return;
    const TopicEntry& entry = table[index];
    DatabasePassageSource source(context_.contentDb);
    const auto panes = loadPaneTexts(kind_.comparison(), entry, source);
    if (!panes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view_->ClearPanes();
    std::vector<MarkupNodeList*> lists;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        texts_[i].clear();
        if (!(*panes)[i].empty())
            MarkupParser::parse(&texts_[i], (*panes)[i]);
        lists.push_back(&texts_[i]);
    }
    view_->SetTexts(lists);
    shownIndex_ = index;
    setWindowTitle(QString::fromUtf8(kind_.title) + QStringLiteral(" - ") +
                   QString::fromStdString(cp949ToUtf8(entry.title)));
    panel_->ShowCurrentTitle(entry.title);
    QApplication::restoreOverrideCursor();
    if (record)
        history_.push(std::to_string(index));
    raise();
    emit commandStateChanged();
}

namespace {

// Pages and places hold passage indices in decimal.
std::optional<int> passageIndex(const std::string& text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return index;
}

} // namespace

void CCompareFrame::OpenPlace(const std::string& place) {
    if (const auto index = passageIndex(place))
        Load(*index, true);
}

std::string CCompareFrame::placeKey() const {
    return shownIndex_ < 0 ? std::string() : std::to_string(shownIndex_);
}

void CCompareFrame::openPanelEntry(int row, const std::string&, bool record) {
    Load(row, record);
}

void CCompareFrame::Redisplay() {
    view_->RedisplayPanes();
}

bool CCompareFrame::handleCommand(int id) {
    const bool stepped = stepHistoryCommand(history_, id, [this](const std::string& page) {
        Load(passageIndex(page).value_or(-1), false);
    });
    if (stepped)
        emit commandStateChanged();
    return stepped;
}

bool CCompareFrame::updateCommand(int id, QAction* action) {
    const std::optional<bool> enabled = historyCommandEnabled(history_, id);
    if (enabled)
        action->setEnabled(*enabled);
    return enabled.has_value();
}

} // namespace qel
