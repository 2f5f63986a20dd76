#include "reference/generalframe.h"

#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/articleload.h"
#include "reference/articletext.h"
#include "reference/articletrees.h"
#include "reference/generaltreeview.h"
#include "reference/generalview.h"
#include "richtext/markupparser.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QApplication>
#include <QSplitter>

namespace qel {

CGeneralFrame::CGeneralFrame(AppContext& context, const TextDisplay& display, int kind,
                             LinkOpener links, QWidget* parent)
    : CChildFrame(parent), context_(context), kind_(kind), splitter_(new QSplitter(this)),
      view_(new CGeneralView(
          display, kind == articlekind::Criticism,
          [links = std::move(links)](const std::string& key) -> QWidget* {
              return links ? links(key) : nullptr;
          },
          nullptr)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(articleKindInfo(kind).windowTitle));
    if (kind == articlekind::Units) {
        treeView_ = new CGeneralTreeView(*this, splitter_);
        splitter_->addWidget(treeView_);
    } else {
        panel_ = new CTreeAndSearch(*this, splitter_);
        splitter_->addWidget(panel_);
    }
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kPanelWidth, 1000});
    setWidget(splitter_);
    connect(view_, &RichTextArea::selectionChanged, this, &CChildFrame::commandStateChanged);
}

CGeneralFrame::~CGeneralFrame() {
    disconnect(view_, nullptr, this, nullptr);
    view_->clear();
}

std::string CGeneralFrame::code() const {
    return articleKindInfo(kind_).documentType;
}

void CGeneralFrame::SetKind(int kind) {
    const TopicTable* tree = articleTree(kind);
    if (!tree)
        return;
    if (panel_) {
        panel_->SetMode(kind, *tree);
        panel_->fitInto(*splitter_, kPanelWidth);
    } else {
        treeView_->SetMode(kind, *tree);
    }
}

std::optional<std::string> CGeneralFrame::titleForKey(const std::string& key) const {
    return panel_ ? panel_->TitleForKey(key) : treeView_->TitleForKey(key);
}

bool CGeneralFrame::Load(const std::string& id, bool record) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view_->clear();
    article_.clear();
    const LoadedArticle loaded = loadArticle(context_.contentDb, kind_, id);
    MarkupParser::parse(&article_, loaded.markup);
    view_->SetArticle(&article_);
    view_->viewport()->repaint();
    if (!loaded.found) {
        QApplication::restoreOverrideCursor();
        emit commandStateChanged();
        return false;
    }
    currentId_ = loaded.address.id;
    // The entry as requested; "007" or a note's anchor ("gen012") names its entry only
    // once read as the window reads it.
    std::optional<std::string> title = titleForKey(id);
    for (const std::string* other : {&loaded.address.id, &loaded.address.rowId})
        if (!title)
            title = titleForKey(*other);
    if (title) {
        setWindowTitle(QString::fromUtf8(articleKindInfo(kind_).windowTitle) +
                       QStringLiteral(" - ") + QString::fromStdString(cp949ToUtf8(*title)));
        panel_ ? panel_->ShowCurrentTitle(*title) : treeView_->ShowCurrentTitle(*title);
    }
    if (!loaded.address.anchor.empty())
        view_->ScrollToAnchor(loaded.address.anchor);
    if (!currentId_.empty() && record)
        history_.push(currentId_);
    QApplication::restoreOverrideCursor();
    raise();
    emit commandStateChanged();
    return true;
}

void CGeneralFrame::Redisplay() {
    if (view_->hasContent())
        view_->layOut();
}

void CGeneralFrame::openPanelEntry(int, const std::string& key, bool record) {
    Load(key, record);
}

bool CGeneralFrame::searchesText() const {
    return hasArticleTextIndex(context_.contentDb);
}

std::vector<std::string> CGeneralFrame::keysWithText(const std::string& text) {
    return searchArticleText(context_.contentDb, articleKindInfo(kind_).table, text);
}

void CGeneralFrame::showTextMatch(const std::string& text) {
    view_->ScrollToText(text);
}

bool CGeneralFrame::handleCommand(int id) {
    if (stepHistoryCommand(history_, id, [this](const std::string& page) { Load(page, false); })) {
        emit commandStateChanged();
        return true;
    }
    switch (id) {
    case cmd::Copy:
    case cmd::SelectAll:
    case cmd::Print:
        return view_->handleCommand(id);
    default:
        return false;
    }
}

bool CGeneralFrame::updateCommand(int id, QAction* action) {
    if (const std::optional<bool> enabled = historyCommandEnabled(history_, id)) {
        action->setEnabled(*enabled);
        return true;
    }
    switch (id) {
    case cmd::Copy:
        action->setEnabled(view_->hasSelection());
        return true;
    case cmd::Cut:
    case cmd::Paste:
        action->setEnabled(false);
        return true;
    case cmd::SelectAll:
    case cmd::Print:
        action->setEnabled(view_->hasContent());
        return true;
    default:
        return false;
    }
}

} // namespace qel
