#include "richtext/richtextarea.h"

#include "platform/codec.h"
#include "platform/commands.h"
#include "richtext/markupnode.h"
#include "richtext/printfilename.h"
#include "richtext/qtsurface.h"
#include "richtext/richtextpainter.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStandardPaths>
#include <algorithm>

namespace qel {

void arrangeSideBySide(QWidget* from, QWidget* opened) {
    QMdiSubWindow* self = nullptr;
    for (QWidget* w = from; w && !self; w = w->parentWidget())
        self = qobject_cast<QMdiSubWindow*>(w);
    auto* other = qobject_cast<QMdiSubWindow*>(opened);
    if (!self || !other || self == other || !self->mdiArea())
        return;
    self->showNormal();
    other->showNormal();
    const QRect client = self->mdiArea()->viewport()->rect();
    const int half = client.width() / 2;
    self->setGeometry(client.left(), client.top(), half, client.height());
    other->setGeometry(client.left() + half, client.top(), client.width() - half, client.height());
}

bool copyTextToClipboard(const std::string& cp949) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(QString::fromStdString(cp949ToUtf8(cp949)));
    return true;
}

RichTextArea::RichTextArea(const TextDisplay& display, int leftMargin, QWidget* parent)
    : QAbstractScrollArea(parent), display_(display), leftMargin_(leftMargin),
      engine_(display.style) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setRange(0, 0);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::ArrowCursor);
}

RichTextArea::~RichTextArea() = default;

QtSurface& RichTextArea::surface() {
    if (!surface_ || surfaceFont_ != display_.font) {
        // Measurements are cached per font, so the surface lives as long as the font does.
        surface_ = std::make_unique<QtSurface>(viewport());
        surfaceFont_ = display_.font;
        baseFont_ = surface_->addFont(surfaceFont_);
    }
    surface_->setClientSize(layoutWidth(), viewport()->height());
    return *surface_;
}

int RichTextArea::layoutWidth() const {
    return viewport()->width();
}

void RichTextArea::selectBaseFont() {
    surface().selectFont(baseFont_);
}

std::optional<SelectionRange> RichTextArea::selection() const {
    if (!hasSelection_)
        return std::nullopt;
    return range_;
}

int RichTextArea::scrollPosition() const {
    return verticalScrollBar()->value();
}

int RichTextArea::pageHeight() const {
    return viewport()->height();
}

void RichTextArea::scrollTo(int position) {
    verticalScrollBar()->setValue(position);
}

void RichTextArea::setScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const int page = std::max(pageHeight(), 1);
    bar->setPageStep(page);
    bar->setRange(0, list_ ? std::max(documentHeight_ - pageHeight(), 0) : 0);
}

void RichTextArea::setListPointer(MarkupNodeList* list) {
    engine_.reset();
    list_ = list;
    layoutValid_ = false;
    marksValid_ = false;
    forgetSelection();
}

void RichTextArea::setHasSelection(bool selected) {
    if (selected == hasSelection_)
        return;
    hasSelection_ = selected;
    emit selectionChanged();
}

void RichTextArea::forgetSelection() {
    if ((hasSelection_ || selecting_) && list_)
        clearSelectionFlags(*list_);
    selecting_ = false;
    range_ = {};
    setHasSelection(false);
}

void RichTextArea::layoutNow() {
    // Layout joins and splits text runs, so node pointers held for a selection may die.
    forgetSelection();
    engine_.setSettings(display_.style);
    selectBaseFont();
    // The highlights are placed on the runs as the layout finishes each.
    marker_.start(highlights_);
    documentHeight_ = engine_.ReSize(surface(), leftMargin_, list_, commentary(),
                                     highlights_.empty() ? nullptr : &marker_);
    marksValid_ = list_ != nullptr;
    laidOutWidth_ = viewport()->width();
    layoutValid_ = list_ != nullptr;
    {
        // A range cut to the new height moves the position, but places of the old layout
        // mean nothing now: afterLayout places everything again.
        const QScopedValueRollback<bool> settling(layingOut_, true);
        setScrollRange();
    }
    afterLayout();
}

void RichTextArea::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (!list_) {
        paintWithoutList();
        return;
    }
    if (!layoutValid_)
        layoutNow();
    QtSurface& s = surface();
    s.setPainter(&painter);
    selectBaseFont();
    PaintParameters parameters;
    parameters.settings = &display_.style;
    parameters.fontSize = engine_.fontSize();
    parameters.scrollPosition = scrollPosition();
    parameters.bandTop = event->rect().top() + scrollPosition();
    parameters.bandBottom = event->rect().bottom() + 1 + scrollPosition();
    parameters.background = background_;
    parameters.commentary = commentary();
    // Placed again after each layout, which splits and joins runs, not at every paint.
    if (!marksValid_) {
        marker_.start(highlights_);
        marker_.markList(*list_);
        marksValid_ = true;
    }
    parameters.marks = &marker_.marks();
    paintMarkup(s, *list_, parameters);
    s.setPainter(nullptr);
}

void RichTextArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // Only the width changes the lines; a new height only changes the page.
    if (relayoutOnResize_ && list_ && viewport()->width() != laidOutWidth_)
        layoutNow();
    else
        setScrollRange();
}

void RichTextArea::scrollContentsBy(int, int) {
    viewport()->update();
    if (!layingOut_)
        afterScroll();
}

QPoint RichTextArea::toDocument(const QPoint& viewportPoint) const {
    return {viewportPoint.x(), viewportPoint.y() + scrollPosition()};
}

MarkupNode* RichTextArea::pieceAt(const QPoint& documentPoint) const {
    return list_ ? hitPiece(*list_, documentPoint.x(), documentPoint.y()) : nullptr;
}

MarkupNode* RichTextArea::linkAt(const QPoint& documentPoint) const {
    return list_ ? hitHotSpot(engine_.links(), documentPoint.x(), documentPoint.y()) : nullptr;
}

void RichTextArea::setHandCursor(bool hand) {
    if (hand == handCursor_)
        return;
    handCursor_ = hand;
    viewport()->setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void RichTextArea::hover(const QPoint&, const QPoint& documentPoint) {
    setHandCursor(linkAt(documentPoint) != nullptr);
}

void RichTextArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = toDocument(event->position().toPoint());
    beforePress(point);
    forgetSelection();
    anchor_ = point;
    std::optional<std::string> target;
    if (list_) {
        if (MarkupNode* link = linkAt(point))
            target = linkTarget(link).value_or(std::string());
        else
            selecting_ = selectable_;
    }
    viewport()->update();
    afterPress(point);
    // Last: opening a link may replace this window's content.
    if (target && !target->empty())
        openLink(*target);
}

void RichTextArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint viewportPoint = event->position().toPoint();
    const QPoint point = toDocument(viewportPoint);
    if (selecting_ && list_) {
        // Show the selection while dragging; the release settles it the same way.
        clearSelectionFlags(*list_);
        selectBetween(*list_, anchor_.x(), anchor_.y(), point.x(), point.y());
        viewport()->update();
        return;
    }
    if (list_)
        hover(viewportPoint, point);
}

void RichTextArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    bool selected = false;
    if (selecting_ && list_) {
        selecting_ = false;
        clearSelectionFlags(*list_);
        const QPoint point = toDocument(event->position().toPoint());
        if (const auto range =
                selectBetween(*list_, anchor_.x(), anchor_.y(), point.x(), point.y())) {
            range_ = *range;
            selected = true;
        }
        viewport()->update();
    }
    selecting_ = false;
    setHasSelection(selected);
    afterRelease();
}

void RichTextArea::selectAll() {
    if (!list_)
        return;
    if (!layoutValid_)
        layoutNow();
    selecting_ = false;
    if (const auto range = selectAllPieces(*list_)) {
        range_ = *range;
        setHasSelection(true);
    }
    viewport()->update();
}

void RichTextArea::selectPieces(MarkupNode* start, MarkupNode* end) {
    if (!list_ || !start || !end)
        return;
    if (!layoutValid_)
        layoutNow();
    clearSelectionFlags(*list_);
    selecting_ = false;
    for (MarkupNode* n = start; n; n = n->next()) {
        if (n->isText())
            n->setSelection(MarkupNode::kSelectFromStart, MarkupNode::kSelectToEnd);
        if (n == end)
            break;
    }
    range_ = {start, end};
    setHasSelection(true);
    viewport()->update();
}

void RichTextArea::setHighlights(std::vector<HighlightSpan> spans) {
    highlights_ = std::move(spans);
    marksValid_ = false;
    viewport()->update();
}

std::vector<HighlightSpan> RichTextArea::selectedVerseSpans() {
    if (!hasSelection_ || !list_)
        return {};
    selectBaseFont();
    measureSelection(surface(), *list_, display_.style, engine_.fontSize(), commentary());
    return selectedSpans(*list_);
}

std::string RichTextArea::selectedText() {
    const std::optional<SelectionRange> range = selection();
    if (!range || !list_ || !range->start)
        return {};
    selectBaseFont();
    measureSelection(surface(), *list_, display_.style, engine_.fontSize(), commentary());
    return plainText(range->start, range->end, commentary());
}

bool askForPrinter(QPrinter& printer, const std::string& documentName, const PrintDialogStep& step,
                   QWidget* parent) {
    const std::string title = cp949ToUtf8(documentName);
    printer.setDocName(QString::fromStdString(title));
    // The dialog offers this file for a PDF; without it Qt proposes the bare title in the
    // home folder, with a ":" that FAT and Windows file systems refuse.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    printer.setOutputFileName(folder + '/' + QString::fromStdString(pdfFileName(title)));
    // Naming a PDF file chose PDF output; a real printer stays the first choice.
    if (const QString name = QPrinterInfo::defaultPrinterName(); !name.isEmpty())
        printer.setPrinterName(name);
    if (step)
        return step(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RichTextArea::printList(const std::string& documentName, const std::string* pageTitle,
                             const std::string* footerText) {
    if (!list_)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!askForPrinter(printer, documentName, printDialog_, this))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QtSurface printerSurface(&printer);
    printerSurface.setPainter(&painter);
    printerSurface.selectFont(printerSurface.createFont(
        printFontRequest(printerSurface.dpiY(), engine_.fontSize(), display_.fontFace)));
    engine_.setSettings(display_.style);
    const std::vector<NodeMark> marks = markVerses(*list_, highlights_);
    engine_.Print(printerSurface, list_, commentary(), pageTitle, footerText, &marks);
    printerSurface.setPainter(nullptr);
    return painter.end();
}

bool RichTextArea::copySelection() {
    return hasSelection() && copyTextToClipboard(selectedText());
}

bool RichTextArea::handleCommand(int id) {
    switch (id) {
    case cmd::Copy:
        copySelection();
        return true;
    case cmd::SelectAll:
        selectAll();
        return true;
    case cmd::Print:
        print();
        return true;
    default:
        return false;
    }
}

bool RichTextArea::updateCommand(int id, QAction* action) {
    switch (id) {
    case cmd::Copy:
        action->setEnabled(hasSelection());
        return true;
    case cmd::SelectAll:
    case cmd::Print:
        action->setEnabled(hasContent());
        return true;
    default:
        return false;
    }
}

} // namespace qel
