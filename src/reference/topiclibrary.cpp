#include "reference/topiclibrary.h"

#include "compare/passagegather.h"
#include "platform/codec.h"
#include "reference/chronologyview.h"
#include "reference/topiclink.h"
#include "reference/topicpage.h"
#include "richtext/markupparser.h"
#include "richtext/textpane.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSplitter>
#include <array>
#include <filesystem>

namespace qel {
namespace {

struct Environment {
    Database* verses = nullptr;
    const TextDisplay* display = nullptr;
    PrintDialogStep printDialog;
};

Environment& environment() {
    static Environment env;
    return env;
}

const TextDisplay& display() {
    static const TextDisplay fallback;
    return environment().display ? *environment().display : fallback;
}

// The markup of a text topic: short topics gather their verses, the others are stored whole.
std::string topicMarkup(TopicLibraryKind kind, TopicFile& file, const std::string& key,
                        std::string* picture) {
    std::optional<TopicRecord> topic = file.topic(key);
    const bool english = kind == TopicLibraryKind::Sh && key.size() > 1 && key[1] == 'E';
    if (!topic && english) {
        // An English form not written out reads the Korean list in the KJV.
        std::string korean = key;
        korean[1] = 'K';
        topic = file.topic(korean);
    }
    if (!topic)
        return {};
    if (picture)
        *picture = topic->picture;
    if (kind != TopicLibraryKind::Sh)
        return topic->body;
    Database* verses = environment().verses;
    if (!verses || !verses->isOpen())
        return "{H}" + topic->heading + "{/H}{B}" + topic->refs;
    DatabasePassageSource source(*verses, english ? "KJV" : "VRA");
    return shortTopicMarkup(*topic, english, source);
}

} // namespace

TopicLibrary& TopicLibrary::of(TopicLibraryKind kind) {
    static std::array<TopicLibrary, 6> libraries = {
        TopicLibrary(TopicLibraryKind::Ca), TopicLibrary(TopicLibraryKind::Ma),
        TopicLibrary(TopicLibraryKind::Ph), TopicLibrary(TopicLibraryKind::Sh),
        TopicLibrary(TopicLibraryKind::Hi), TopicLibrary(TopicLibraryKind::Ad)};
    return libraries.at(static_cast<std::size_t>(kind));
}

void TopicLibrary::setEnvironment(Database* verses, const TextDisplay* display) {
    environment().verses = verses;
    environment().display = display;
}

void TopicLibrary::setPrintDialog(PrintDialogStep step) {
    environment().printDialog = std::move(step);
}

CTextPane* TopicLibrary::textPane() const {
    if (page_)
        return page_->pane();
    return entryPane_;
}

int TopicLibrary::attach(void* view) {
    delete window_;
    view_ = static_cast<QWidget*>(view);
    if (!view_)
        return 0;
    CTextPane* pane = nullptr;
    if (kind_ == TopicLibraryKind::Hi) {
        auto* split = new QSplitter(Qt::Vertical, view_);
        chronology_ = new CChronologyView(split);
        entryPane_ = new CTextPane(display(), split);
        split->addWidget(chronology_);
        split->addWidget(entryPane_);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 1);
        QObject::connect(chronology_, &CChronologyView::entryChosen, split,
                         [this](int row) { showEntryBody(row); });
        window_ = split;
        pane = entryPane_;
    } else {
        page_ = new CTopicPage(display(), view_);
        window_ = page_;
        pane = page_->pane();
    }
    pane->setLinkHandler([this](const std::string& key) { sendLink(key); });
    // The view offers the topic commands on a right click.
    pane->setContextMenuHandler([this](const QPoint&, const QPoint& global) {
        if (!view_)
            return;
        QContextMenuEvent event(QContextMenuEvent::Mouse, view_->mapFromGlobal(global), global);
        QApplication::sendEvent(view_, &event);
    });
    if (environment().printDialog)
        pane->setPrintDialog(environment().printDialog);
    window_->setGeometry(view_->rect());
    window_->show();
    return 1;
}

int TopicLibrary::open(void* view, const char* path) {
    if (!window_ || view != view_.data())
        return 0;
    fileName_ = path ? std::filesystem::path(path).filename().string() : std::string();
    if (!path || !file_.open(path)) {
        showMissingData();
        return 0;
    }
    if (kind_ == TopicLibraryKind::Hi) {
        chronology_->setRecords(file_.chronology());
        if (chronology_->records().empty())
            showMissingData();
    }
    return 1;
}

void TopicLibrary::showMissingData() {
    const std::string line = missingTopicDataLine(fileName_);
    if (page_) {
        page_->setTopic(line, {});
    } else if (entryPane_) {
        entryPane_->clear();
        entryText_.clear();
        MarkupParser::parse(&entryText_, line);
        entryPane_->setList(&entryText_);
    }
}

void TopicLibrary::showEntryBody(int row) {
    if (!entryPane_ || !chronology_ || row < 0 ||
        row >= static_cast<int>(chronology_->records().size()))
        return;
    const ChronologyRecord& r = chronology_->records()[row];
    entryPane_->clear();
    entryText_.clear();
    MarkupParser::parse(&entryText_, "{H}" + r.label + "{/H}{B}" + utf8ToCp949(datesText(r)) +
                                         "{B}{B}" + r.body);
    entryPane_->setList(&entryText_);
}

int TopicLibrary::show(const char* key) {
    if (!window_ || !file_.isOpen() || !key)
        return 0;
    if (kind_ == TopicLibraryKind::Hi)
        return scrollTo(key);
    std::string picture;
    const std::string markup = topicMarkup(kind_, file_, key, &picture);
    page_->setTopic(markup, picture);
    return markup.empty() ? 0 : 1;
}

int TopicLibrary::scrollTo(const char* key) {
    if (!chronology_ || !key || !chronology_->scrollToKey(key))
        return 0;
    showEntryBody(chronology_->selected());
    return 1;
}

int TopicLibrary::move() {
    if (!window_ || !view_)
        return 0;
    window_->setGeometry(view_->rect());
    return 1;
}

int TopicLibrary::print() {
    if (kind_ == TopicLibraryKind::Hi)
        return printChronology() ? 1 : 0;
    CTextPane* pane = textPane();
    return pane && pane->print() ? 1 : 0;
}

int TopicLibrary::copy() {
    CTextPane* pane = textPane();
    return pane && pane->copySelection() ? 1 : 0;
}

int TopicLibrary::selectAll() {
    CTextPane* pane = textPane();
    if (!pane)
        return 0;
    pane->selectAll();
    return 1;
}

void TopicLibrary::sendLink(const std::string& key) {
    if (view_)
        QApplication::postEvent(view_, new TopicLinkEvent(key));
}

bool TopicLibrary::printChronology() {
    if (!chronology_ || chronology_->records().empty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!askForPrinter(printer, utf8ToCp949("연대표"), environment().printDialog, chronology_))
        return false;
    // The chart at the page's height, cut into page-wide strips.
    const QSize chart = chronology_->chartSize();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const double scale =
        std::min(printer.resolution() / 96.0, double(page.height()) / chart.height());
    const int stripWidth = std::max(1, int(page.width() / scale));
    for (int x = 0; x < chart.width(); x += stripWidth) {
        if (x > 0)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        painter.translate(-x, 0);
        painter.setClipRect(QRect(x, 0, stripWidth, chart.height()));
        chronology_->paintChart(painter, x, x + stripWidth);
        painter.restore();
    }
    return painter.end();
}

} // namespace qel
