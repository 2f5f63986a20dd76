#include "richtext/childview.h"

#include "platform/apptitle.h"
#include "platform/bookmarkcommands.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/highlightcommands.h"
#include "platform/text.h"
#include "richtext/childviewowner.h"
#include "richtext/markupnode.h"
#include "richtext/smallview.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace qel {

// The strip at the left edge that moves with the document and carries the marker.
class CChildView::IndicatorPanel : public QWidget {
public:
    IndicatorPanel(CChildView& view, QWidget* parent) : QWidget(parent), view_(view) {
        setObjectName(QStringLiteral("IndicatorPannelClass"));
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            view_.panelPressed(event->position().toPoint().y());
    }

private:
    CChildView& view_;
};

// The current-verse marker.
class CChildView::IndicatorButton : public QWidget {
public:
    IndicatorButton(CChildView& view, QWidget* parent) : QWidget(parent), view_(view) {
        setObjectName(QStringLiteral("IndicatorButtonClass"));
        setFixedSize(kMarkerWidth, kMarkerHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, markerPixmap(view_.owner_.hasNote()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        // A press on the marker is a press in the panel at the marker's height.
        if (event->button() == Qt::LeftButton)
            view_.panelPressed(y() + event->position().toPoint().y());
    }

private:
    CChildView& view_;
};

QPixmap CChildView::markerPixmap(bool hasNote) {
    QPixmap pixmap(kMarkerWidth, kMarkerHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    if (hasNote) {
        // A yellow note sheet with two lines, then the pointer.
        p.setPen(QColor(0x8A, 0x6D, 0x00));
        p.setBrush(QColor(0xFF, 0xD8, 0x4A));
        p.drawRect(QRectF(0.5, 0.5, 9, 10));
        p.setPen(QColor(0x8A, 0x6D, 0x00));
        p.drawLine(QPointF(2.5, 3.5), QPointF(7.5, 3.5));
        p.drawLine(QPointF(2.5, 6.5), QPointF(7.5, 6.5));
        arrow.moveTo(11, 1);
        arrow.lineTo(17.5, 5.5);
        arrow.lineTo(11, 10);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xB0, 0x30, 0x20));
        p.drawPath(arrow);
    } else {
        arrow.moveTo(1, 3.5);
        arrow.lineTo(9, 3.5);
        arrow.lineTo(9, 0.5);
        arrow.lineTo(17.5, 5.5);
        arrow.lineTo(9, 10.5);
        arrow.lineTo(9, 7.5);
        arrow.lineTo(1, 7.5);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2F, 0x5F, 0x8F));
        p.drawPath(arrow);
    }
    return pixmap;
}

CChildView::CChildView(const TextDisplay& display, ChildViewOwner& owner, QWidget* parent)
    : RichTextArea(display, kLeftMargin, parent), owner_(owner) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel_ = new IndicatorPanel(*this, viewport());
    marker_ = new IndicatorButton(*this, panel_);
    marker_->move(kMarkerX, 0);
    marker_->hide();
    footnote_ = new SmallView(display, viewport());
    footnote_->setLinkHandler([this](const std::string& target) { owner_.openLink(target); });
    movePanel();
}

CChildView::~CChildView() {
    layoutEngine().reset();
}

QWidget* CChildView::indicatorPanel() const {
    return panel_;
}

QWidget* CChildView::marker() const {
    return marker_;
}

bool CChildView::commentary() const {
    return owner_.versionCode() == "VRD";
}

void CChildView::setList(MarkupNodeList* list) {
    hideFootnote();
    setListPointer(list);
    marker_->setVisible(list != nullptr);
}

void CChildView::relayout() {
    layoutNow();
}

void CChildView::reset() {
    hideFootnote();
    setListPointer(nullptr);
    layoutNow();
    scrollTo(0);
    marker_->hide();
    viewport()->update();
}

void CChildView::afterLayout() {
    movePanel();
    // A page without verse numbers (a notice) has no verse to mark.
    marker_->setVisible(list() && !engine().verseNumbers().empty());
    if (list())
        owner_.bringCurrentVerseIntoView();
}

void CChildView::paintWithoutList() {
    marker_->hide();
}

void CChildView::placeMarker(int top) {
    markerTop_ = top;
    marker_->move(kMarkerX, top);
    marker_->setVisible(list() && !engine().verseNumbers().empty());
}

void CChildView::selectVerses(const std::string& first, const std::string& last) {
    const auto holds = [](const MarkupNode* anchor, int verse) {
        const std::string* label = anchor->attribute("VAL");
        if (!label)
            return false;
        const auto dash = label->find('-');
        const int from = atoiText(*label);
        const int to = dash == std::string::npos ? from : atoiText(label->substr(dash + 1));
        return from <= verse && verse <= to;
    };
    const HotSpotTable& anchors = engine().anchors();
    const int firstVerse = atoiText(first);
    const int lastVerse = atoiText(last);
    MarkupNode* start = nullptr;
    MarkupNode* end = list() ? list()->tail() : nullptr;
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        if (!start && holds(anchors[i], firstVerse))
            start = anchors[i];
        if (start && i + 1 < anchors.size() && holds(anchors[i], lastVerse)) {
            end = anchors[i + 1]->prev();
            break;
        }
    }
    selectPieces(start, end);
}

void CChildView::updateMarker() {
    marker_->update();
}

void CChildView::movePanel() {
    const int position = scrollPosition();
    panel_->setGeometry(0, -position, kPanelWidth,
                        std::max(documentHeight(), position + pageHeight()));
}

void CChildView::hideFootnote() {
    footnote_->hide();
    shownFootnote_ = nullptr;
}

void CChildView::makeCurrent(const MarkupNode* numberPiece) {
    placeMarker(numberPiece->top);
    owner_.currentVerseChanged(numberPiece->text);
}

void CChildView::currentVerseAtHeight(int y) {
    const auto index =
        verseIndexAtHeight(engine().verseNumbers(), y, scrollPosition(), pageHeight());
    if (index)
        makeCurrent(engine().verseNumbers()[*index]);
}

void CChildView::afterScroll() {
    movePanel();
    if (!list() || engine().verseNumbers().empty())
        return;
    const int position = scrollPosition();
    const int bottom = position + pageHeight();
    if (markerTop_ >= position && markerTop_ + kMarkerHeight < bottom)
        return;
    currentVerseAtHeight(markerTop_ < position ? position : bottom);
}

void CChildView::panelPressed(int documentY) {
    if (!list())
        return;
    if (const MarkupNode* number = verseNumberPieceAt(*list(), 60, documentY)) {
        placeMarker(number->top);
        owner_.goToVerse(number->text);
    }
}

void CChildView::afterPress(const QPoint& documentPoint) {
    if (list())
        if (const MarkupNode* number =
                verseNumberPieceAt(*list(), documentPoint.x(), documentPoint.y()))
            makeCurrent(number);
    hideFootnote();
}

void CChildView::afterRelease() {
    hideFootnote();
}

void CChildView::openLink(const std::string& target) {
    const bool sideBySide = commentary() && target.starts_with("BVRA");
    QWidget* opened = owner_.openLink(target);
    if (sideBySide && opened)
        arrangeSideBySide(this, opened);
}

void CChildView::hover(const QPoint& viewportPoint, const QPoint& documentPoint) {
    if (const MarkupNode* note =
            hitHotSpot(engine().footnotes(), documentPoint.x(), documentPoint.y())) {
        setHandCursor(true);
        if (note != shownFootnote_) {
            shownFootnote_ = note;
            footnote_->setGeometry(viewportPoint.x() - 2, viewportPoint.y() - 2, kPopupWidth,
                                   kPopupHeight);
            footnote_->SetText(findAttribute(note, 'N', "TEX").value_or(std::string()));
            footnote_->show();
            footnote_->raise();
        }
        return;
    }
    shownFootnote_ = nullptr;
    if (linkAt(documentPoint)) {
        setHandCursor(true);
        return;
    }
    setHandCursor(false);
    footnote_->hide();
}

bool CChildView::viewportEvent(QEvent* event) {
    // Entering the popup is no leave: only leaving the view altogether hides it.
    if (event->type() == QEvent::Leave)
        hideFootnote();
    return RichTextArea::viewportEvent(event);
}

void CChildView::contextMenuEvent(QContextMenuEvent* event) {
    auto menu = createContextMenu(toDocument(event->pos()));
    if (QAction* chosen = menu->exec(event->globalPos()))
        handleCommand(chosen->data().toInt());
}

std::unique_ptr<QMenu> CChildView::createContextMenu(const QPoint& documentPoint) {
    contextPoint_ = documentPoint;
    auto menu = std::make_unique<QMenu>(this);
    menu->setTitle(QStringLiteral("콘택스트메뉴3"));
    auto add = [&](int id, const char* label) {
        QAction* action = menu->addAction(QString::fromUtf8(label));
        action->setData(id);
        updateCommand(id, action);
    };
    add(cmd::Back, "뒤로");
    add(cmd::Forward, "앞으로");
    add(cmd::PreviousChapter, "이전 장");
    add(cmd::NextChapter, "다음 장");
    menu->addSeparator();
    add(cmd::Copy, "복사");
    menu->addSeparator();
    add(cmd::CopyVerse, "절 복사(인용)");
    menu->addSeparator();
    add(cmd::SelectAll, "모두 선택");
    menu->addSeparator();
    add(cmd::Print, "인쇄");
    if (owner_.canBookmark()) {
        menu->addSeparator();
        add(cmd::AddBookmark, "책갈피 추가...");
        menu->actions().back()->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
        menu->actions().back()->setShortcutVisibleInContextMenu(true);
    }
    if (owner_.canHighlight())
        addHighlightMenu(*menu);
    return menu;
}

void CChildView::addHighlightMenu(QMenu& menu) {
    QMenu* sub = menu.addMenu(QStringLiteral("형광펜"));
    const std::uint32_t* colours = highlightColoursFor(0xFFFFFF);
    for (int n = 0; n < kHighlightColourCount; ++n) {
        QPixmap swatch(16, 16);
        swatch.fill(QColor(colours[n] & 0xFF, (colours[n] >> 8) & 0xFF, (colours[n] >> 16) & 0xFF));
        QAction* action =
            sub->addAction(QIcon(swatch), QString::fromUtf8(highlightColourName(n + 1)));
        action->setData(cmd::Highlight1 + n);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+%1").arg(n + 1)));
        action->setShortcutVisibleInContextMenu(true);
    }
    sub->addSeparator();
    QAction* erase = sub->addAction(QStringLiteral("형광펜 지우기"));
    erase->setData(cmd::HighlightErase);
    erase->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+0")));
    erase->setShortcutVisibleInContextMenu(true);
}

void CChildView::applyHighlight(int colour, const std::string& fallbackVerse) {
    std::vector<HighlightSpan> spans = selectedVerseSpans();
    if (spans.empty() && !fallbackVerse.empty())
        spans.push_back({fallbackVerse, 0, kWholeVerseSpan, 0});
    if (spans.empty())
        return;
    owner_.highlight(spans, colour);
    // The colour shows at once instead of under the selection.
    forgetSelection();
    viewport()->update();
}

bool CChildView::handleCommand(int id) {
    if (id >= cmd::Highlight1 && id <= cmd::HighlightErase) {
        // Without a selection, the verse under the context menu.
        const auto at = versePosition(pieceAt(contextPoint_), 0);
        applyHighlight(id == cmd::HighlightErase ? 0 : id - cmd::Highlight1 + 1,
                       at ? at->verse : std::string());
        return true;
    }
    if (id == cmd::AddBookmark) {
        if (const auto at = versePosition(pieceAt(contextPoint_), 0))
            owner_.bookmarkVerse(at->verse);
        return true;
    }
    switch (id) {
    case cmd::Back:
        owner_.goBack();
        return true;
    case cmd::Forward:
        owner_.goForward();
        return true;
    case cmd::NextChapter:
        owner_.nextChapter();
        return true;
    case cmd::PreviousChapter:
        owner_.previousChapter();
        return true;
    case cmd::CopyVerse:
        copyVerse(contextPoint_);
        return true;
    default:
        return RichTextArea::handleCommand(id);
    }
}

bool CChildView::updateCommand(int id, QAction* action) {
    if (id == cmd::AddBookmark) {
        action->setEnabled(versePosition(pieceAt(contextPoint_), 0).has_value());
        return true;
    }
    switch (id) {
    case cmd::Back:
        action->setEnabled(owner_.canGoBack());
        return true;
    case cmd::Forward:
        action->setEnabled(owner_.canGoForward());
        return true;
    case cmd::NextChapter:
        action->setEnabled(owner_.canGoNextChapter());
        return true;
    case cmd::PreviousChapter:
        action->setEnabled(owner_.canGoPreviousChapter());
        return true;
    case cmd::CopyVerse:
        action->setEnabled(!hasSelection() && pieceAt(contextPoint_) != nullptr);
        return true;
    default:
        return RichTextArea::updateCommand(id, action);
    }
}

bool CChildView::copySelection() {
    if (!hasSelection())
        return false;
    return copyTextToClipboard(selectedText() + owner_.selectionCitation());
}

bool CChildView::copyVerse(const QPoint& documentPoint) {
    if (!list())
        return false;
    const MarkupNode* number = verseNumberPieceAt(*list(), documentPoint.x(), documentPoint.y());
    if (!number)
        return false;
    makeCurrent(number);
    std::string label = number->text;
    std::erase(label, ' ');
    return copyTextToClipboard(owner_.verseCitation(verseTextAfter(number), label));
}

bool CChildView::print() {
    const std::string title = owner_.documentTitle();
    const std::string footer = applicationTitle();
    return printList(title, &title, &footer);
}

} // namespace qel
