#pragma once

#include "richtext/markupnode.h"

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <string>

class QLabel;

namespace qel {

class CTextPane;
struct TextDisplay;

// The window a text topic library paints into its view: an optional picture above the
// topic's rich text.
class CTopicPage : public QWidget {
    Q_OBJECT
public:
    CTopicPage(const TextDisplay& display, QWidget* parent);
    ~CTopicPage() override;

    // Shows the markup (CP949) and the picture (PNG bytes; none when empty).
    void setTopic(const std::string& markup, const std::string& png);

    CTextPane* pane() const { return pane_; }
    QLabel* picture() const { return picture_; }
    bool hasPicture() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The picture at the page's width, never wider than drawn.
    void fitPicture();

    QPixmap original_;
    QLabel* picture_;
    CTextPane* pane_;
    MarkupNodeList list_;
};

} // namespace qel
