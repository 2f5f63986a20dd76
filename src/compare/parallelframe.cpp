#include "compare/parallelframe.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/citation.h"
#include "bible/editions.h"
#include "bible/navigationbar.h"
#include "bible/versekey.h"
#include "compare/parallelpage.h"
#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "platform/text.h"
#include "richtext/markupparser.h"
#include "richtext/textpane.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <algorithm>

namespace qel {
namespace {

constexpr const char* kFirstPlace = "gen001001";

std::vector<std::string> entriesOf(QComboBox* box) {
    std::vector<std::string> entries;
    for (int i = 0; i < box->count(); ++i)
        entries.push_back(utf8ToCp949(box->itemText(i).toStdString()));
    return entries;
}

} // namespace

CParallelFrame::CParallelFrame(AppContext& context, const TextDisplay& display,
                               std::function<void(const std::string&)> openLink)
    : context_(context), inner_(new QMainWindow), navigation_(new CNavigationBar(inner_)),
      pane_(new CTextPane(display, inner_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("절별 비교"));
    QToolBar* navigationDock = inner_->addToolBar(QStringLiteral("navigation"));
    navigationDock->setObjectName(QStringLiteral("NavigationBar"));
    navigationDock->addWidget(navigation_);
    inner_->setCentralWidget(pane_);
    inner_->setMinimumSize(120, 80);
    setWidget(inner_);

    // Every book is listed whatever versions are shown.
    std::vector<std::string> names, codes;
    for (const BookRow& row : bookTableOf(kKoreanEdition)) {
        names.push_back(row.name);
        codes.push_back(row.code);
    }
    navigation_->setBooks(names, codes);
    connect(navigation_, &CNavigationBar::bookChosen, this, &CParallelFrame::onBookChosen);
    connect(navigation_, &CNavigationBar::chapterChosen, this, &CParallelFrame::onChapterChosen);
    connect(navigation_, &CNavigationBar::verseChosen, this, &CParallelFrame::onVerseChosen);
    connect(navigation_, &CNavigationBar::enterPressed, this, &CParallelFrame::onEnter);
    connect(navigation_, &CNavigationBar::referenceChosen, this, &CParallelFrame::onReference);
    navigation_->addReferenceShortcut(this);
    pane_->setLinkHandler(std::move(openLink));
    pane_->setContextMenuHandler([this](const QPoint& documentPoint, const QPoint& globalPoint) {
        contextMenu(documentPoint)->exec(globalPoint);
    });
    connect(pane_, &RichTextArea::selectionChanged, this, &CChildFrame::commandStateChanged);

    // The window starts at the first verse of the first book, its first page.
    navigation_->bookBox()->setCurrentIndex(0);
    onBookChosen(0);
}

CParallelFrame::~CParallelFrame() {
    if (!key_.empty())
        context_.store->writeString("Last Staus", "PARALLEL", verseKey(book_, chapter_, verse_));
    disconnect(pane_, nullptr, this, nullptr);
    pane_->clear();
}

void CParallelFrame::fillChapters() {
    listVersion_ = parallelListVersion(context_.contentDb, book_, context_.settings.parallelMask);
    CNavigationBar::fill(navigation_->chapterBox(),
                         chaptersOf(context_.contentDb, listVersion_, book_));
}

void CParallelFrame::fillVerses() {
    CNavigationBar::fill(navigation_->verseBox(),
                         versesOf(context_.contentDb, listVersion_, book_, chapter_));
}

void CParallelFrame::onBookChosen(int row) {
    const std::string code = navigation_->bookCodeAt(row);
    if (row < 0 || code == book_)
        return;
    book_ = code;
    fillChapters();
    navigation_->chapterBox()->setCurrentIndex(0);
    onChapterChosen(0);
}

void CParallelFrame::onChapterChosen(int) {
    chapter_ = CNavigationBar::selectedText(navigation_->chapterBox());
    fillVerses();
    navigation_->verseBox()->setCurrentIndex(0);
    onVerseChosen(0);
}

void CParallelFrame::onVerseChosen(int) {
    if (navigation_->verseBox()->currentIndex() < 0) {
        // A chapter without verses shows nothing.
        verse_.clear();
        key_.clear();
        content_.clear();
        pane_->clear();
        return;
    }
    verse_ = CNavigationBar::selectedText(navigation_->verseBox());
    Display(book_, chapter_, verse_, true);
}

void CParallelFrame::GoToVerseKey(const std::string& key, bool record) {
    std::optional<ParallelPlace> place = parseParallelKey(key);
    if (!place)
        place = parseParallelKey(context_.store->readString("Last Staus", "PARALLEL", kFirstPlace));
    if (!place)
        place = parseParallelKey(kFirstPlace);
    Show(place->book, place->chapter, place->verse, record);
    raise();
}

void CParallelFrame::Show(const std::string& book, const std::string& chapter,
                          const std::string& verse, bool record) {
    QComboBox* bookBox = navigation_->bookBox();
    QComboBox* chapterBox = navigation_->chapterBox();
    QComboBox* verseBox = navigation_->verseBox();
    const int bookRow = std::max(0, navigation_->rowOfBookCode(book));
    bookBox->setCurrentIndex(bookRow);
    book_ = navigation_->bookCodeAt(bookRow);

    fillChapters();
    chapterBox->setCurrentIndex(std::max(0, CNavigationBar::find(chapterBox, chapter)));
    chapter_ = CNavigationBar::selectedText(chapterBox);

    fillVerses();
    const int verseRow = findVerseLabel(entriesOf(verseBox), trimmed(verse));
    verseBox->setCurrentIndex(verseRow);
    if (verseRow < 0) {
        onVerseChosen(verseRow);
        return;
    }
    verse_ = CNavigationBar::selectedText(verseBox);
    Display(book_, chapter_, verse_, record);
}

void CParallelFrame::onReference(const TypedReference& reference) {
    if (navigation_->rowOfBookCode(reference.book) < 0) {
        navigation_->showReferenceNote(utf8ToCp949("이 책은 절별 비교에 없습니다."));
        return;
    }
    const std::string chapter = reference.chapter ? std::to_string(reference.chapter) : "1";
    const std::string version =
        parallelListVersion(context_.contentDb, reference.book, context_.settings.parallelMask);
    const std::vector<std::string> verses =
        versesOf(context_.contentDb, version, reference.book, chapter);
    if (verses.empty()) {
        navigation_->showReferenceNote(bookNameOf(reference.book, kKoreanEdition) + " " + chapter +
                                       utf8ToCp949("장은 비교할 본문이 없습니다."));
        return;
    }
    Show(reference.book, chapter, std::to_string(std::max(reference.verse, 1)), true);
}

void CParallelFrame::Display(const std::string& book, const std::string& chapter,
                             const std::string& verse, bool record) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    key_ = parallelPlaceKey(book, chapter, verse);
    pane_->clear();
    content_.clear();
    const ParallelPage page = parallelPage(parallelRows(context_.contentDb, book, chapter, verse),
                                           context_.settings.parallelMask);
    if (!page.complete)
        showMessage(utf8ToCp949("메모리 부족..."), applicationTitle());
    MarkupParser::parse(&content_, page.markup);
    pane_->setList(&content_);
    if (!key_.empty() && record)
        history_.push(key_);
    QApplication::restoreOverrideCursor();
    emit commandStateChanged();
}

void CParallelFrame::Redisplay() {
    Display(book_, chapter_, verse_, false);
}

int CParallelFrame::bookRowOf(const std::string& typedName) const {
    QComboBox* bookBox = navigation_->bookBox();
    if (const int row = CNavigationBar::find(bookBox, typedName); row >= 0)
        return row;
    // A name typed in part takes the first book it begins.
    const std::vector<std::string> names = entriesOf(bookBox);
    if (!typedName.empty())
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i].starts_with(typedName))
                return static_cast<int>(i);
    return 0;
}

void CParallelFrame::onEnter() {
    QComboBox* bookBox = navigation_->bookBox();
    QComboBox* chapterBox = navigation_->chapterBox();
    QComboBox* verseBox = navigation_->verseBox();
    const std::string typedBook = CNavigationBar::typedText(bookBox);
    const std::string typedChapter = CNavigationBar::typedText(chapterBox);
    const std::string typedVerse = CNavigationBar::typedText(verseBox);

    const int bookRow = bookRowOf(typedBook);
    bookBox->setCurrentIndex(bookRow);
    const std::string code = navigation_->bookCodeAt(bookRow);
    bool chapterChanged = false;
    if (code != book_) {
        book_ = code;
        fillChapters();
        chapterBox->setCurrentIndex(0);
        chapterChanged = true;
    } else {
        chapterChanged = typedChapter != chapter_;
    }
    if (chapterChanged) {
        // A new chapter opens at its first verse whatever verse was typed.
        chapterBox->setCurrentIndex(std::max(0, CNavigationBar::find(chapterBox, typedChapter)));
        chapter_ = CNavigationBar::selectedText(chapterBox);
        fillVerses();
        verseBox->setCurrentIndex(0);
    } else if (typedVerse == verse_) {
        chapterBox->setCurrentIndex(CNavigationBar::find(chapterBox, chapter_));
        verseBox->setCurrentIndex(CNavigationBar::find(verseBox, verse_));
        return;
    }
    const std::string wanted = chapterChanged ? CNavigationBar::selectedText(verseBox) : typedVerse;
    const std::vector<std::string> labels = entriesOf(verseBox);
    int verseRow = labels.empty() ? -1 : 0;
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i].starts_with(wanted)) {
            verseRow = static_cast<int>(i);
            break;
        }
    verseBox->setCurrentIndex(verseRow);
    onVerseChosen(verseRow);
}

std::unique_ptr<QMenu> CParallelFrame::contextMenu(const QPoint& documentPoint) {
    auto menu = std::make_unique<QMenu>(this);
    const bool selected = pane_->hasSelection();
    QAction* copy = menu->addAction(QStringLiteral("복사"), pane_, &CTextPane::copySelection);
    copy->setEnabled(selected);
    QAction* copyVerse = menu->addAction(QStringLiteral("절 복사(인용)"), this,
                                         [this, documentPoint] { copyVerseAt(documentPoint); });
    copyVerse->setEnabled(!selected && pane_->pieceAt(documentPoint));
    menu->addSeparator();
    menu->addAction(QStringLiteral("모두 선택"), pane_, &CTextPane::selectAll);
    menu->addSeparator();
    menu->addAction(QStringLiteral("인쇄"), this, [this] { handleCommand(cmd::Print); });
    return menu;
}

bool CParallelFrame::copyVerseAt(const QPoint& documentPoint) {
    const MarkupNode* piece = pane_->pieceAt(documentPoint);
    const std::optional<ParallelVerse> verse = piece ? parallelVerseAt(piece) : std::nullopt;
    if (!verse || verse->versionIndex < 0)
        return false;
    // The place as the navigation bar shows it.
    return copyTextToClipboard(
        parallelVerseCitation(verse->text, parallelVersionCode(verse->versionIndex),
                              CNavigationBar::typedText(navigation_->bookBox()),
                              CNavigationBar::typedText(navigation_->chapterBox()),
                              CNavigationBar::typedText(navigation_->verseBox())));
}

std::string CParallelFrame::printTitle() const {
    return bookAbbrOf(bookNameOf(book_, kKoreanEdition), kKoreanEdition) + " " + chapter_ + ":" +
           verse_;
}

bool CParallelFrame::handleCommand(int id) {
    if (stepHistoryCommand(history_, id,
                           [this](const std::string& page) { GoToVerseKey(page, false); })) {
        emit commandStateChanged();
        return true;
    }
    switch (id) {
    case cmd::Print:
        pane_->setPrintTexts(applicationTitle(), printTitle(), std::nullopt);
        pane_->print();
        return true;
    case cmd::Copy:
    case cmd::SelectAll:
        return pane_->handleCommand(id);
    default:
        return false;
    }
}

bool CParallelFrame::updateCommand(int id, QAction* action) {
    if (const std::optional<bool> enabled = historyCommandEnabled(history_, id)) {
        action->setEnabled(*enabled);
        return true;
    }
    switch (id) {
    case cmd::Copy:
    case cmd::SelectAll:
    case cmd::Print:
        return pane_->updateCommand(id, action);
    default:
        return false;
    }
}

} // namespace qel
