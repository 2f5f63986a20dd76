#pragma once

// What the rich-text window tests share: the display at the default settings, a frame that
// owns a chapter for a CChildView, and mouse events sent to real widgets.

#include "app/displaysettings.h"
#include "app/fontresolver.h"
#include "bible/citation.h"
#include "platform/appsettings.h"
#include "platform/codec.h"
#include "richtext/childview.h"
#include "richtext/childviewowner.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace viewtest {

inline std::string cp(const char* utf8) {
    return qel::utf8ToCp949(utf8);
}

// Settings at their defaults and the display font the program would make.
inline void prepareDisplay(qel::TextDisplay& display) {
    qel::installFontSubstitutions();
    const qel::AppSettings settings;
    display = qel::textDisplayOf(settings, qel::makeDisplayFont(settings, 96));
}

// A chapter markup: a verse anchor, a verse number and the text of each verse.
inline std::string chapter(const std::vector<std::string>& verses) {
    std::string markup;
    for (std::size_t i = 0; i < verses.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        markup += "{S VAL=" + n + "}{/S}{D}" + n + "{/D}" + verses[i];
    }
    return markup;
}

// `count` lines of text, each a word and its number.
inline std::string lines(int count, const std::string& word = "line") {
    std::string markup;
    for (int i = 0; i < count; ++i)
        markup += word + " " + std::to_string(i) + "{B}";
    return markup;
}

// Stands in for the Bible window: owns the list and records what the view tells it.
class TestFrame : public QWidget, public qel::ChildViewOwner {
public:
    explicit TestFrame(const qel::TextDisplay& display) : view(display, *this, this) {
        resize(600, 400);
        view.setGeometry(0, 0, 600, 400);
    }
    ~TestFrame() override { view.reset(); }

    void showMarkup(const std::string& markup) {
        view.reset();
        content.clear();
        qel::MarkupParser::parse(&content, markup);
        view.setList(&content);
        view.relayout();
    }

    std::string versionCode() const override { return version; }
    void goBack() override { commands.push_back("back"); }
    void goForward() override { commands.push_back("forward"); }
    void nextChapter() override { commands.push_back("next"); }
    void previousChapter() override { commands.push_back("previous"); }
    bool canGoBack() const override { return backEnabled; }
    bool canGoForward() const override { return false; }
    bool canGoNextChapter() const override { return true; }
    bool canGoPreviousChapter() const override { return false; }
    void currentVerseChanged(const std::string& verseNumber) override {
        currentVerses.push_back(verseNumber);
    }
    void goToVerse(const std::string& verseNumber) override { chosenVerses.push_back(verseNumber); }
    void bringCurrentVerseIntoView() override { ++bringIntoViewCount; }
    std::string selectionCitation() const override {
        return qel::selectionCitation(version, bookName, "3");
    }
    std::string verseCitation(const std::string& verseText,
                              const std::string& verse) const override {
        return qel::verseCitation(verseText, version, bookName, "3", verse);
    }
    std::string documentTitle() const override { return title; }
    bool hasNote() const override { return note; }
    bool canBookmark() const override { return bookmarks; }
    void bookmarkVerse(const std::string& verse) override { bookmarkedVerses.push_back(verse); }
    QWidget* openLink(const std::string& target) override {
        openedLinks.push_back(target);
        return linkResult;
    }

    std::string version = "VRA";
    std::string bookName = cp("요한복음");
    std::string title = cp("성경전서 역본 가 - 요한복음 3장");
    bool note = false;
    bool bookmarks = false;
    std::vector<std::string> bookmarkedVerses;
    bool backEnabled = false;
    std::vector<std::string> commands;
    std::vector<std::string> currentVerses;
    std::vector<std::string> chosenVerses;
    std::vector<std::string> openedLinks;
    int bringIntoViewCount = 0;
    QWidget* linkResult = nullptr;

    qel::MarkupNodeList content;
    qel::CChildView view;
};

inline void sendMouse(QWidget* target, QEvent::Type type, QPoint point, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(point), QPointF(target->mapToGlobal(point)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void press(QWidget* target, QPoint point) {
    sendMouse(target, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
}
inline void moveTo(QWidget* target, QPoint point, bool buttonHeld = false) {
    sendMouse(target, QEvent::MouseMove, point, Qt::NoButton,
              buttonHeld ? Qt::LeftButton : Qt::NoButton);
}
inline void release(QWidget* target, QPoint point) {
    sendMouse(target, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
}
inline void drag(QWidget* target, QPoint from, QPoint to) {
    press(target, from);
    moveTo(target, (from + to) / 2, true);
    moveTo(target, to, true);
    release(target, to);
}

// Pixels of a window region whose colour is close to `color`.
inline int pixelsNear(const QImage& image, const QRect& region, const QColor& color,
                      int tolerance = 60) {
    int count = 0;
    const QRect r = region.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
                    std::abs(c.blue() - color.blue()) <=
                tolerance)
                ++count;
        }
    return count;
}

// The text piece of a list holding `text`, searching from `from`.
inline qel::MarkupNode* pieceWith(const qel::MarkupNodeList& list, const std::string& text,
                                  qel::MarkupNode* from = nullptr) {
    for (qel::MarkupNode* n = from ? from->next() : list.head(); n; n = n->next())
        if (n->isText() && n->text.find(text) != std::string::npos)
            return n;
    return nullptr;
}

} // namespace viewtest
