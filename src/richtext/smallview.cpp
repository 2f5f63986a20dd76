#include "richtext/smallview.h"

#include "richtext/markupparser.h"
#include "richtext/richtextselection.h"

#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace qel {
namespace {

std::uint32_t colorRef(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}

} // namespace

SmallView::SmallView(const TextDisplay& display, QWidget* parent)
    : RichTextArea(display, kLeftMargin, parent) {
    setObjectName(QStringLiteral("FootnoteViewClass"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectable(false);
    // Sized by its text, not laid out again by a new size.
    setRelayoutOnResize(false);
    QPalette colors = palette();
    const QColor tooltip = colors.color(QPalette::ToolTipBase);
    colors.setColor(QPalette::Base, tooltip);
    colors.setColor(QPalette::Window, tooltip);
    setPalette(colors);
    setBackgroundColor(colorRef(tooltip));
    hide();
}

SmallView::~SmallView() {
    layoutEngine().reset();
}

void SmallView::SetText(const std::string& markup) {
    setListPointer(nullptr);
    text_.clear();
    linkCount_ = 0;
    scrollTo(0);

    MarkupParser::parse(&text_, markup);
    setListPointer(&text_);
    layoutNow();
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int frame = frameWidth();
    for (MarkupNode* node : engine().links()) {
        if (linkCount_ == kLinkCapacity)
            break;
        links_[linkCount_++] = node;
    }
    int right = 0;
    for (const MarkupNode* n = text_.head(); n; n = n->next())
        if (n->isText())
            right = std::max(right, n->right);
    contentWidth_ = right + kLeftMargin;

    QRect box(pos(), QSize(contentWidth_ + 2 * frame, documentHeight() + 2 * frame));
    if (QWidget* parent = parentWidget()) {
        // Move the whole popup inside the parent; what still does not fit scrolls.
        const QRect client = parent->rect();
        if (box.bottom() > client.bottom())
            box.moveBottom(client.bottom());
        if (box.top() < client.top()) {
            box.moveTop(client.top());
            box.setHeight(std::min(box.height(), client.height()));
        }
        if (box.height() - 2 * frame < documentHeight())
            box.setWidth(box.width() + scrollBarWidth);
        if (box.right() > client.right())
            box.moveRight(client.right());
        if (box.left() < client.left()) {
            box.moveLeft(client.left());
            box.setWidth(std::min(box.width(), client.width()));
        }
    }
    setGeometry(box);
    setScrollRange();
    scrollTo(0);
    viewport()->update();
}

// The scroll bar comes and goes with the text: lines are broken as if it were there, so
// that showing it never hides text.
int SmallView::layoutWidth() const {
    const int scrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return std::max(width() - 2 * frameWidth() - scrollBarWidth, 1);
}

MarkupNode* SmallView::linkAt(const QPoint& documentPoint) const {
    return hitHotSpot(links_.data(), links_.data() + linkCount_, documentPoint.x(),
                      documentPoint.y());
}

void SmallView::openLink(const std::string& target) {
    if (linkHandler_)
        linkHandler_(target);
}

void SmallView::afterPress(const QPoint&) {
    hide();
    if (QWidget* parent = parentWidget())
        parent->setFocus(Qt::MouseFocusReason);
}

} // namespace qel
