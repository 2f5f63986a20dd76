#include "reference/topicpage.h"

#include "richtext/markupparser.h"
#include "richtext/textpane.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace qel {

CTopicPage::CTopicPage(const TextDisplay& display, QWidget* parent)
    : QWidget(parent), picture_(new QLabel(this)), pane_(new CTextPane(display, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    picture_->setAlignment(Qt::AlignCenter);
    // The picture shrinks with a narrow view instead of widening it.
    picture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    picture_->setStyleSheet(QStringLiteral("background: white"));
    picture_->hide();
    layout->addWidget(picture_);
    layout->addWidget(pane_, 1);
}

CTopicPage::~CTopicPage() {
    pane_->clear();
}

void CTopicPage::setTopic(const std::string& markup, const std::string& png) {
    pane_->clear();
    list_.clear();
    QPixmap pixmap;
    if (!png.empty() && pixmap.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                            static_cast<uint>(png.size()), "PNG")) {
        original_ = pixmap;
        fitPicture();
        picture_->show();
    } else {
        original_ = QPixmap();
        picture_->clear();
        picture_->hide();
    }
    if (!markup.empty()) {
        MarkupParser::parse(&list_, markup);
        pane_->setList(&list_);
    }
}

void CTopicPage::fitPicture() {
    if (original_.isNull())
        return;
    const int width = std::min(original_.width(), std::max(1, this->width()));
    picture_->setPixmap(width == original_.width()
                            ? original_
                            : original_.scaledToWidth(width, Qt::SmoothTransformation));
}

void CTopicPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPicture();
}

bool CTopicPage::hasPicture() const {
    return !picture_->pixmap().isNull();
}

} // namespace qel
