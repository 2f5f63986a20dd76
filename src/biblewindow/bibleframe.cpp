#include "biblewindow/bibleframe.h"

#include "biblewindow/biblehighlights.h"

#include "bible/bibleframehost.h"
#include "bible/biblequeries.h"
#include "bible/biblesharedstate.h"
#include "bible/booktable.h"
#include "bible/citation.h"
#include "bible/editions.h"
#include "bible/navigationbar.h"
#include "bible/versekey.h"
#include "bible/versiontitles.h"
#include "panels/relatedword.h"
#include "panels/smalltitles.h"
#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/highlightcommands.h"
#include "platform/messagesink.h"
#include "platform/settingsstore.h"
#include "platform/text.h"
#include "richtext/childview.h"
#include "richtext/markupparser.h"
#include "richtext/textpane.h"
#include "study/studyeditor.h"
#include "widgets/dockbarsizes.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

namespace qel {
namespace {

constexpr const char* kPanelVisible = "Visible";

std::string formatted(const char* utf8Format, const std::string& value) {
    std::string text = utf8ToCp949(utf8Format);
    const auto at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, value);
}

// Whether the verse label shown is the verse asked for, or the range holding it.
bool verseLabelHolds(const std::string& label, const std::string& verse) {
    if (label == verse || label == verse.substr(0, verse.find('-')))
        return true;
    const auto dash = label.find('-');
    const int n = atoiText(verse);
    return dash != std::string::npos && atoiText(label) <= n &&
           n <= atoiText(std::string_view(label).substr(dash + 1));
}

} // namespace

CBibleFrame::CBibleFrame(AppContext& context, std::string versionCode, BibleFrameHost* mainFrame)
    : context_(context), mainFrame_(mainFrame), version_(std::move(versionCode)),
      inner_(new QMainWindow), navigation_(new CNavigationBar(inner_)),
      view_(new CChildView(mainFrame->textDisplay(), *this, inner_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(cp949ToUtf8(windowTitleText())));
    QToolBar* navigationDock = inner_->addToolBar(QStringLiteral("navigation"));
    navigationDock->setObjectName(QStringLiteral("NavigationBar"));
    navigationDock->addWidget(navigation_);
    if (version_ == kKoreanEdition) {
        // The sample bar sits over the chapter text.
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        sampleBar_ = makeSampleBar();
        holdsSample_ = slotHoldsSample(context_.contentDb, version_);
        layout->addWidget(sampleBar_);
        layout->addWidget(view_, 1);
        inner_->setCentralWidget(central);
        updateSampleBar();
    } else {
        inner_->setCentralWidget(view_);
    }
    // Tiled windows may be narrower than the navigation bar, which is then cut off at the
    // right instead of widening the window.
    inner_->setMinimumSize(120, 80);
    setWidget(inner_);
    highlights_ = std::make_unique<BibleHighlights>(context_.paths.studyDatabaseFile(), version_);
    addHighlightShortcuts();
    if (const Edition* edition = findEdition(version_); !edition || edition->sectionTitles) {
        titles_ = new CSmallTitles(
            context_.contentDb, version_,
            [this](const std::string& book, const std::string& chapter, const std::string& verse) {
                GoTo(book, chapter, verse, true, true);
            },
            inner_);
        inner_->addDockWidget(Qt::LeftDockWidgetArea, titles_);
        titles_->setVisible(panelLeftOpen(cmd::ToggleSectionTitles));
        titles_->installEventFilter(this);
        connect(titles_, &QDockWidget::visibilityChanged, this, &CChildFrame::commandStateChanged);
    }
    if (version_ == kKoreanEdition) {
        related_ = new CRelatedWord(mainFrame->textDisplay(), context_, version_, inner_);
        inner_->addDockWidget(Qt::BottomDockWidgetArea, related_);
        related_->setVisible(panelLeftOpen(cmd::ToggleRelatedBar));
        related_->installEventFilter(this);
        related_->pane()->setLinkHandler(
            [this](const std::string& target) { mainFrame_->openByCommandKey(target, false); });
        connect(related_->pane(), &RichTextArea::selectionChanged, this,
                &CChildFrame::commandStateChanged);
        connect(related_, &QDockWidget::visibilityChanged, this, &CChildFrame::commandStateChanged);
    }
    if (!isCommentaryEdition(version_)) {
        study_ = new CStudyEditor(context_, version_, inner_);
        inner_->addDockWidget(Qt::BottomDockWidgetArea, study_);
        study_->hide();
        connect(study_, &CStudyEditor::listRequested, this, [this] { mainFrame_->openNoteList(); });
        connect(study_, &CStudyEditor::noteStateChanged, this, [this](bool hasNote) {
            if (study_->noteKey() == NoteKey{version_, book_, chapter_, verse_}) {
                hasNote_ = hasNote;
                view_->updateMarker();
            }
        });
        connect(study_, &QDockWidget::visibilityChanged, this, &CChildFrame::commandStateChanged);
        connect(study_->editor(), &QPlainTextEdit::selectionChanged, this,
                &CChildFrame::commandStateChanged);
    }

    std::vector<std::string> names, codes;
    for (const BookRow& row : bookTableOf(version_)) {
        names.push_back(row.name);
        codes.push_back(row.code);
    }
    navigation_->setBooks(names, codes);
    connect(navigation_, &CNavigationBar::bookChosen, this, &CBibleFrame::onBookChosen);
    connect(navigation_, &CNavigationBar::chapterChosen, this, &CBibleFrame::onChapterChosen);
    connect(navigation_, &CNavigationBar::verseChosen, this, &CBibleFrame::onVerseChosen);
    connect(navigation_, &CNavigationBar::enterPressed, this, &CBibleFrame::onEnter);
    connect(navigation_, &CNavigationBar::referenceChosen, this, &CBibleFrame::onReference);
    navigation_->addReferenceShortcut(this);
    // Copy and its shortcuts follow a selection made with the mouse.
    connect(view_, &RichTextArea::selectionChanged, this, &CChildFrame::commandStateChanged);
}

CBibleFrame::~CBibleFrame() {
    if (!fullKey_.empty())
        context_.store->writeString("Last Staus", version_, verseKey(book_, chapter_, verse_));
    // The view's tables point into the list, which goes first; nobody asks for command
    // states of a window that is going.
    disconnect(view_, nullptr, this, nullptr);
    view_->reset();
    if (titles_) {
        titles_->removeEventFilter(this);
        disconnect(titles_, nullptr, this, nullptr);
    }
    if (related_) {
        related_->removeEventFilter(this);
        disconnect(related_, nullptr, this, nullptr);
        disconnect(related_->pane(), nullptr, this, nullptr);
    }
    if (study_) {
        disconnect(study_, nullptr, this, nullptr);
        disconnect(study_->editor(), nullptr, this, nullptr);
    }
}

void CBibleFrame::closeEvent(QCloseEvent* event) {
    // A note written since the last move goes to the database before the window does.
    if (study_ && !study_->saveBeforeClose()) {
        event->ignore();
        return;
    }
    CChildFrame::closeEvent(event);
}

BibleSharedState& CBibleFrame::shared() const {
    return mainFrame_->bibleState();
}

std::string CBibleFrame::windowTitleText() const {
    return editionWindowTitle(version_);
}

void CBibleFrame::updateTitle() {
    setWindowTitle(QString::fromStdString(cp949ToUtf8(windowTitleText())));
    holdsSample_ = sampleBar_ && slotHoldsSample(context_.contentDb, version_);
    updateSampleBar();
}

QWidget* CBibleFrame::makeSampleBar() {
    auto* bar = new QFrame;
    bar->setObjectName(QStringLiteral("SampleBar"));
    bar->setStyleSheet(QStringLiteral("#SampleBar { background: #fff6d5; border-bottom: 1px solid "
                                      "#d9c77a; }"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 2, 6, 2);
    auto* text = new QLabel(QStringLiteral("견본 구절만 들어 있습니다."), bar);
    // The buttons keep their size; in a narrow window the text wraps instead of being cut.
    text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    text->setWordWrap(true);
    text->setToolTip(QStringLiteral("이 역본에는 견본 구절만 들어 있습니다. 공개 저작물인 성경 "
                                    "전체를 설치할 수 있습니다."));
    layout->addWidget(text, 1);
    auto* install = new QPushButton(QStringLiteral("개역한글(1961) 전체 설치"), bar);
    install->setObjectName(QStringLiteral("InstallWhole"));
    auto* never = new QPushButton(QStringLiteral("다시 묻지 않기"), bar);
    never->setObjectName(QStringLiteral("NeverAsk"));
    layout->addWidget(install);
    layout->addWidget(never);
    connect(install, &QPushButton::clicked, this, [this] { mainFrame_->installEdition("KorRV"); });
    connect(never, &QPushButton::clicked, this, [this] {
        context_.store->writeInt("Settings", "Sample Bar Off", 1);
        sampleBar_->hide();
    });
    return bar;
}

// Shown while VRA holds only the sample, unless the reader said not to ask again.
void CBibleFrame::updateSampleBar() {
    if (!sampleBar_)
        return;
    // A short window keeps all its room for the text.
    constexpr int kShortestWithBar = 240;
    const bool off = context_.store && context_.store->readInt("Settings", "Sample Bar Off", 0);
    sampleBar_->setVisible(!off && height() >= kShortestWithBar && holdsSample_);
}

void CBibleFrame::OpenAtKey(const std::string& key, bool record) {
    BibleSharedState& s = shared();
    std::optional<FullVerseKey> place = parseFullVerseKey(key);
    bool resumeSync = false;
    if (!place && s.syncEnabled && !s.lastBook.empty()) {
        place = parseFullVerseKey(fullVerseKey(version_, s.lastBook, s.lastChapter, s.lastVerse));
        // This window follows; it must not move the others in turn.
        s.syncEnabled = false;
        resumeSync = true;
    }
    // Opening the window again keeps the reader's place.
    if (!place && !book_.empty())
        place = FullVerseKey{version_, book_, chapter_, verse_};
    if (!place)
        place = storedPlace();
    GoTo(place->book, place->chapter, place->verse, s.syncEnabled, record);
    if (resumeSync)
        s.syncEnabled = true;
}

FullVerseKey CBibleFrame::storedPlace() const {
    static constexpr const char* kFirstPlace = "gen001001";
    const std::string stored = context_.store->readString("Last Staus", version_, kFirstPlace);
    // A damaged value would open the window on no text at all.
    std::optional<FullVerseKey> place =
        isVerseKey(stored) ? parseFullVerseKey(version_ + stored) : std::nullopt;
    if (!place || bookNameOf(place->book, version_).empty())
        place = parseFullVerseKey(version_ + kFirstPlace);
    return *place;
}

bool CBibleFrame::chapterMissing(const std::string& book, const std::string& chapter) const {
    if (chapter.empty() || navigation_->rowOfBookCode(book) < 0)
        return false;
    const std::vector<std::string> chapters = chaptersOf(context_.contentDb, version_, book);
    // A book without any text has a notice of its own.
    return !chapters.empty() &&
           std::find(chapters.begin(), chapters.end(), chapter) == chapters.end();
}

bool CBibleFrame::verseMissing(const std::string& book, const std::string& chapter,
                               const std::string& verse) const {
    const std::vector<std::string> labels = versesOf(context_.contentDb, version_, book, chapter);
    return std::none_of(labels.begin(), labels.end(),
                        [&](const std::string& label) { return verseLabelHolds(label, verse); });
}

std::string CBibleFrame::missingPlaceText(const std::string& book, const std::string& chapter,
                                          const std::string& verse) const {
    std::string place = bookNameOf(book, version_) + " " + chapter + utf8ToCp949("장");
    if (!verse.empty())
        place += " " + verse + utf8ToCp949("절");
    return place + utf8ToCp949("은 이 역본에 없습니다.");
}

void CBibleFrame::showMissingChapter(const std::string& book, const std::string& chapter) {
    // A window without a place yet shows the book's boxes under the notice.
    if (book_.empty())
        ShowPosition(book, std::nullopt, std::string("1"), false);
    showPage("{B} {B}{F SIZ=1.4 VAL=B}" + missingPlaceText(book, chapter, {}) + "{/F}{B}" +
             formatted("%s에는 이 장의 본문이 들어 있지 않습니다.", windowTitleText()));
}

void CBibleFrame::GoTo(const std::string& book, const std::string& chapter, std::string verse,
                       bool broadcast, bool record) {
    BibleSharedState& s = shared();
    if (verse.empty() || verse[0] == '0' || !std::isdigit(static_cast<unsigned char>(verse[0])))
        verse = s.lastVerse.empty() ? "1" : s.lastVerse;
    // A window that follows another one's move keeps out of the reader's way.
    const bool following = s.syncing;
    if (chapterMissing(book, chapter)) {
        // The window stays where it was; the reader learns why nothing moved.
        showMissingChapter(book, chapter);
        if (!following)
            bringToTop();
        return;
    }
    ShowPosition(book, chapter, verse, record);
    if (!following && book == book_ && !verseLabelHolds(verse_, verse))
        mainFrame_->showStatus(missingPlaceText(book, chapter_, verse));
    if (broadcast && s.syncEnabled && !book_.empty() && !chapter_.empty() && !verse_.empty()) {
        s.syncEnabled = false;
        SyncMove(book_, chapter_, verse_, record);
        s.syncEnabled = true;
    }
    s.lastBook = book;
    s.lastChapter = chapter;
    s.lastVerse = verse;
    if (!s.syncEnabled && !following)
        bringToTop();
}

void CBibleFrame::bringToTop() {
    if (isMinimized()) {
        QMdiSubWindow* active = mainFrame_->mdiArea()->activeSubWindow();
        active && active->isMaximized() ? showMaximized() : showNormal();
    }
    mainFrame_->mdiArea()->setActiveSubWindow(this);
}

void CBibleFrame::ShowPosition(const std::optional<std::string>& book,
                               const std::optional<std::string>& chapter,
                               const std::optional<std::string>& verse, bool record) {
    QComboBox* bookBox = navigation_->bookBox();
    QComboBox* chapterBox = navigation_->chapterBox();
    QComboBox* verseBox = navigation_->verseBox();
    bool refillChapters = false;
    if (book && *book != book_) {
        const int row = navigation_->rowOfBookCode(*book);
        if (row < 0) {
            bookBox->setCurrentIndex(navigation_->rowOfBookCode(book_));
            showPage(formatted("{B} {B}{F SIZ=1.4 VAL=B}이 성경에는 해당 본문이 포함되어 있지 "
                               "않습니다.{/F}{B}사용자가 동시 이동 기능을 사용하여, 제2경전/외경 "
                               "등과 같이 %s에 없는 본문을 열려고 한 경우입니다.",
                               windowTitleText()));
            return;
        }
        bookBox->setCurrentIndex(row);
        book_ = *book;
        refillChapters = true;
    }
    bool refillVerses = false;
    if (refillChapters || chapter_.empty()) {
        CNavigationBar::fill(chapterBox, chaptersOf(context_.contentDb, version_, book_));
        refillVerses = true;
    }
    if (chapterBox->count() == 0) {
        // The edition has no text for this book (NIV and GNB carry none at all).
        chapter_.clear();
        verse_.clear();
        fullKey_.clear();
        CNavigationBar::fill(verseBox, {});
        showPage(versionHasText(context_.contentDb, version_)
                     ? formatted("{B} {B}{F SIZ=1.4 VAL=B}이 책의 본문은 이 역본에 들어 있지 "
                                 "않습니다.{/F}{B}%s에는 이 책의 본문이 설치되어 있지 않습니다.",
                                 windowTitleText())
                     : formatted("{B} {B}{F SIZ=1.4 VAL=B}이 역본의 본문은 설치되어 있지 "
                                 "않습니다.{/F}{B}%s의 본문은 저작권 때문에 이 프로그램에 들어 "
                                 "있지 않습니다. 다른 역본을 선택해 주십시오.",
                                 windowTitleText()));
        return;
    }
    int chapterRow = 0;
    if (chapter) {
        if (*chapter != chapter_)
            refillVerses = true;
        chapterRow = std::max(0, CNavigationBar::find(chapterBox, *chapter));
    }
    chapterBox->setCurrentIndex(chapterRow);
    chapter_ = CNavigationBar::selectedText(chapterBox);

    if (refillVerses)
        CNavigationBar::fill(verseBox, versesOf(context_.contentDb, version_, book_, chapter_));
    std::vector<std::string> labels;
    for (int i = 0; i < verseBox->count(); ++i)
        labels.push_back(utf8ToCp949(verseBox->itemText(i).toStdString()));
    const int verseRow = verse ? findVerseLabel(labels, *verse) : (labels.empty() ? -1 : 0);
    verseBox->setCurrentIndex(verseRow);
    verse_ = verseRow < 0 ? "1" : labels[verseRow];
    // A move within the chapter changes the key as well.
    fullKey_ = fullVerseKey(version_, book_, chapter_, verse_);

    // A notice may have taken the chapter's place; the chapter comes back without becoming a
    // new page.
    if (refillVerses || noticeShown_)
        ShowChapter(book_, chapter_, verse_, record && refillVerses);
    if (related_)
        related_->ShowRelated(book_, chapter_, verse_);
    hasNote_ = study_ && study_->LoadNote(version_, book_, chapter_, verse_) != 0;
    view_->updateMarker();
    bringCurrentVerseIntoView();
}

void CBibleFrame::ShowChapter(const std::string& book, const std::string& chapter,
                              const std::string& verse, bool record) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    noticeShown_ = false;
    fullKey_ = fullVerseKey(version_, book, chapter, verse);
    view_->reset();
    content_.clear();
    const ChapterPage page =
        chapterPage(chapterRows(context_.contentDb, version_, book, chapter), kChapterBufferSize);
    if (!page.complete)
        showMessage(utf8ToCp949("메모리가 부족합니다."), applicationTitle());
    MarkupParser::parse(&content_, page.markup);
    view_->setList(&content_);
    view_->setHighlights(highlights_ ? highlights_->chapter(book, chapter)
                                     : std::vector<HighlightSpan>{});
    view_->relayout();
    if (!fullKey_.empty() && record)
        history_.push(fullKey_);
    view_->update();
    QApplication::restoreOverrideCursor();
    emit commandStateChanged();
}

// Ctrl+Alt+1..5 colour the selection or else the current verse; Ctrl+Alt+0 erases.
void CBibleFrame::addHighlightShortcuts() {
    for (int colour = 0; colour <= kHighlightColourCount; ++colour) {
        auto* action = new QAction(view_);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+%1").arg(colour)));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this,
                [this, colour] { view_->applyHighlight(colour, verse_); });
        view_->addAction(action);
    }
}

bool CBibleFrame::canBookmark() const {
    return !noticeShown_ && !chapter_.empty();
}

void CBibleFrame::bookmarkVerse(const std::string& verse) {
    if (canBookmark())
        mainFrame_->addBookmark("B" + fullVerseKey(version_, book_, chapter_, verse),
                                bookmarkName(verse));
}

std::string CBibleFrame::bookmarkName(const std::string& verse) const {
    // The copy citation without its (empty) text and brackets.
    const std::string cited = verseCitation("", verse);
    return cp949ToUtf8(cited.size() > 2 ? cited.substr(1, cited.size() - 2) : cited);
}

bool CBibleFrame::canHighlight() const {
    return highlights_ && highlights_->available() && !noticeShown_ && !chapter_.empty();
}

void CBibleFrame::highlight(const std::vector<HighlightSpan>& spans, int colour) {
    if (!canHighlight())
        return;
    highlights_->apply(book_, chapter_, spans, colour);
    view_->setHighlights(highlights_->chapter(book_, chapter_));
}

void CBibleFrame::showPage(const std::string& markup) {
    noticeShown_ = true;
    view_->setHighlights({});
    view_->reset();
    content_.clear();
    MarkupParser::parse(&content_, markup);
    view_->setList(&content_);
    view_->relayout();
    view_->update();
    emit commandStateChanged();
}

void CBibleFrame::bringCurrentVerseIntoView() {
    // The marker goes first, so that scrolling finds it in view and keeps this verse.
    const std::string number =
        !isCommentaryEdition(version_) && context_.settings.viewMode != 2 ? verse_ + " " : verse_;
    for (MarkupNode* node : view_->engine().verseNumbers())
        if (node->text == number || node->text == verse_) {
            view_->placeMarker(node->top);
            break;
        }
    for (MarkupNode* anchor : view_->engine().anchors()) {
        const std::string* label = anchor->attribute("VAL");
        if (!label || *label != verse_)
            continue;
        const int top = anchor->top;
        const int position = view_->scrollPosition();
        if (!(top > position && top + 30 < position + view_->pageHeight()))
            view_->scrollTo(std::clamp(top, 0, std::max(0, view_->documentHeight())));
        break;
    }
}

void CBibleFrame::SyncMove(const std::string& book, const std::string& chapter,
                           const std::string& verse, bool record) {
    BibleSharedState& s = shared();
    if (s.syncing)
        return;
    s.syncing = true;
    for (const Edition* edition : editionsBy(&Edition::syncOrder)) {
        const char* code = edition->code;
        if (code == version_)
            continue;
        if (auto* other = dynamic_cast<CBibleFrame*>(mainFrame_->frameByCode(code));
            other && other != this)
            // Pages that Back and Forward revisit are no new pages for the followers either.
            other->GoTo(book, chapter, verse, false, record);
    }
    s.syncing = false;
}

void CBibleFrame::onBookChosen(int row) {
    const std::string code = navigation_->bookCodeAt(row);
    if (code != book_)
        ShowPosition(code, std::nullopt, std::nullopt, true);
    afterNavigation();
}

void CBibleFrame::onChapterChosen(int row) {
    const std::string chapter = CNavigationBar::selectedText(navigation_->chapterBox());
    if (row >= 0 && chapter != chapter_)
        ShowPosition(book_, chapter, std::string("0"), true);
    afterNavigation();
}

void CBibleFrame::onVerseChosen(int) {
    ShowPosition(book_, chapter_, CNavigationBar::selectedText(navigation_->verseBox()), true);
    afterNavigation();
}

void CBibleFrame::afterNavigation() {
    BibleSharedState& s = shared();
    s.lastBook = book_;
    s.lastChapter = chapter_;
    s.lastVerse = verse_.substr(0, verse_.find('-'));
    if (s.syncEnabled)
        SyncMove(s.lastBook, s.lastChapter, s.lastVerse, true);
    emit commandStateChanged();
}

void CBibleFrame::onEnter() {
    QComboBox* bookBox = navigation_->bookBox();
    const std::string typedBook = CNavigationBar::typedText(bookBox);
    if (typedBook != bookNameText()) {
        const std::string code = bookCodeOf(typedBook, version_);
        if (const int row = navigation_->rowOfBookCode(code); row >= 0) {
            bookBox->setCurrentIndex(row);
            onBookChosen(row);
        } else {
            refuseTyped("\"" + typedBook + utf8ToCp949("\"라는 책은 이 역본에 없습니다."));
        }
        return;
    }
    for (QComboBox* box : {navigation_->chapterBox(), navigation_->verseBox()}) {
        const std::string typed = CNavigationBar::typedText(box);
        const bool chapterBox = box == navigation_->chapterBox();
        if (typed == (chapterBox ? chapter_ : verse_))
            continue;
        if (const int row = CNavigationBar::find(box, typed); row >= 0) {
            box->setCurrentIndex(row);
            chapterBox ? onChapterChosen(row) : onVerseChosen(row);
        } else {
            refuseTyped(chapterBox ? missingPlaceText(book_, typed, {})
                                   : missingPlaceText(book_, chapter_, typed));
        }
        return;
    }
}

void CBibleFrame::onReference(const TypedReference& reference) {
    const std::string chapter = reference.chapter ? std::to_string(reference.chapter) : "";
    const std::string verse = std::to_string(std::max(reference.verse, 1));
    std::string missing;
    if (navigation_->rowOfBookCode(reference.book) < 0 ||
        chaptersOf(context_.contentDb, version_, reference.book).empty())
        missing = utf8ToCp949("이 역본에는 그 책의 본문이 없습니다.");
    else if (chapterMissing(reference.book, chapter))
        missing = missingPlaceText(reference.book, chapter, {});
    else if (reference.verse && !chapter.empty() && verseMissing(reference.book, chapter, verse))
        missing = missingPlaceText(reference.book, chapter, verse);
    if (!missing.empty()) {
        navigation_->showReferenceNote(missing);
        return;
    }
    GoTo(reference.book, chapter, verse, true, true);
    if (reference.lastVerse)
        view_->selectVerses(verse, std::to_string(reference.lastVerse));
}

void CBibleFrame::refuseTyped(const std::string& message) {
    // The boxes show the place again, so that what they show is where the window is.
    navigation_->bookBox()->setCurrentIndex(navigation_->rowOfBookCode(book_));
    navigation_->chapterBox()->setCurrentIndex(
        CNavigationBar::find(navigation_->chapterBox(), chapter_));
    navigation_->verseBox()->setCurrentIndex(CNavigationBar::find(navigation_->verseBox(), verse_));
    mainFrame_->showStatus(message);
}

void CBibleFrame::goBack() {
    stepHistory(history_, false, [this](const std::string& page) { OpenAtKey(page, false); });
    emit commandStateChanged();
}

void CBibleFrame::goForward() {
    stepHistory(history_, true, [this](const std::string& page) { OpenAtKey(page, false); });
    emit commandStateChanged();
}

bool CBibleFrame::canGoNextChapter() const {
    const QComboBox* box = navigation_->chapterBox();
    return box->currentIndex() >= 0 && box->currentIndex() + 1 < box->count();
}

bool CBibleFrame::canGoPreviousChapter() const {
    return navigation_->chapterBox()->currentIndex() > 0;
}

void CBibleFrame::nextChapter() {
    if (!canGoNextChapter())
        return;
    QComboBox* box = navigation_->chapterBox();
    box->setCurrentIndex(box->currentIndex() + 1);
    onChapterChosen(box->currentIndex());
}

void CBibleFrame::previousChapter() {
    if (!canGoPreviousChapter())
        return;
    QComboBox* box = navigation_->chapterBox();
    box->setCurrentIndex(box->currentIndex() - 1);
    onChapterChosen(box->currentIndex());
}

void CBibleFrame::currentVerseChanged(const std::string& verseNumber) {
    const auto end = verseNumber.find_last_not_of(' ');
    const std::string verse = end == std::string::npos ? "" : verseNumber.substr(0, end + 1);
    if (const int row = CNavigationBar::find(navigation_->verseBox(), verse); row >= 0) {
        navigation_->verseBox()->setCurrentIndex(row);
        verse_ = verse;
        fullKey_ = fullVerseKey(version_, book_, chapter_, verse_);
    }
}

void CBibleFrame::goToVerse(const std::string& verseNumber) {
    const auto end = verseNumber.find_last_not_of(' ');
    GoTo(book_, chapter_, end == std::string::npos ? "" : verseNumber.substr(0, end + 1), true,
         true);
}

std::string CBibleFrame::bookNameText() const {
    return CNavigationBar::selectedText(navigation_->bookBox());
}

std::string CBibleFrame::selectionCitation() const {
    return qel::selectionCitation(version_, bookNameText(), chapter_);
}

std::string CBibleFrame::verseCitation(const std::string& verseText,
                                       const std::string& verse) const {
    return qel::verseCitation(verseText, version_, bookNameText(), chapter_, verse);
}

std::string CBibleFrame::documentTitle() const {
    return placeText(false);
}

std::string CBibleFrame::placeText(bool withVerse) const {
    const auto missing = [](const char* message) {
        showMessage(utf8ToCp949(message), applicationTitle());
        return std::string();
    };
    if (navigation_->bookBox()->currentIndex() < 0)
        return missing("해당 권이 없습니다...");
    if (navigation_->chapterBox()->currentIndex() < 0)
        return missing("해당 장이 없습니다...");
    if (withVerse && navigation_->verseBox()->currentIndex() < 0)
        return missing("해당 절이 없습니다...");
    return qel::placeText(version_, bookNameText(), chapter_, verse_, withVerse);
}

CChildFrame* CBibleFrame::openLink(const std::string& target) {
    return mainFrame_->openByCommandKey(target, false);
}

void CBibleFrame::refreshView() {
    view_->relayout();
    view_->update();
}

bool CBibleFrame::handleCommand(int id) {
    // From the toolbar: the chapter view's selection, or else the current verse, whichever
    // pane has the focus.
    if (id >= cmd::Highlight1 && id <= cmd::HighlightErase) {
        if (canHighlight())
            view_->applyHighlight(id == cmd::HighlightErase ? 0 : id - cmd::Highlight1 + 1, verse_);
        return true;
    }
    switch (id) {
    case cmd::SyncMove:
        shared().syncEnabled = !shared().syncEnabled;
        return true;
    case cmd::Back:
        goBack();
        return true;
    case cmd::Forward:
        goForward();
        return true;
    case cmd::PreviousChapter:
        previousChapter();
        return true;
    case cmd::NextChapter:
        nextChapter();
        return true;
    case cmd::ToggleSectionTitles:
    case cmd::ToggleRelatedBar:
    case cmd::ToggleRelated:
    case cmd::ToggleNoteBar:
        if (!panelOf(id))
            return false;
        setPanelOpen(id, !panelOpen(id));
        return true;
    default:
        if (study_ && study_->editorHasFocus())
            return study_->handleCommand(id);
        return focusedText()->handleCommand(id);
    }
}

bool CBibleFrame::updateCommand(int id, QAction* action) {
    if (id >= cmd::Highlight1 && id <= cmd::HighlightMenu) {
        action->setEnabled(canHighlight());
        return true;
    }
    switch (id) {
    case cmd::SyncMove:
        action->setEnabled(true);
        action->setChecked(shared().syncEnabled);
        return true;
    case cmd::Back:
        action->setEnabled(canGoBack());
        return true;
    case cmd::Forward:
        action->setEnabled(canGoForward());
        return true;
    case cmd::PreviousChapter:
    case cmd::NextChapter:
        action->setEnabled(true);
        return true;
    case cmd::ToggleSectionTitles:
        action->setEnabled(titles_ != nullptr);
        action->setChecked(titles_ && titles_->isVisible());
        return true;
    case cmd::ToggleRelatedBar:
    case cmd::ToggleRelated:
        action->setEnabled(related_ != nullptr);
        action->setChecked(related_ && related_->isVisible());
        return true;
    case cmd::ToggleNoteBar:
        action->setEnabled(study_ != nullptr);
        action->setChecked(study_ && study_->isVisible());
        return true;
    default:
        if (study_ && study_->editorHasFocus())
            return study_->updateCommand(id, action);
        return focusedText()->updateCommand(id, action);
    }
}

// A panel's state lives under its bar id in the bar's settings section, so that the window
// opens with the panels the reader left open.
QDockWidget* CBibleFrame::panelOf(int commandId) const {
    switch (commandId) {
    case cmd::ToggleSectionTitles:
        return titles_;
    case cmd::ToggleRelatedBar:
    case cmd::ToggleRelated:
        return related_;
    case cmd::ToggleNoteBar:
        return study_;
    default:
        return nullptr;
    }
}

bool CBibleFrame::panelOpen(int commandId) const {
    // Hidden, not invisible: a minimised window keeps its panels open.
    const QDockWidget* panel = panelOf(commandId);
    return panel && !panel->isHidden();
}

void CBibleFrame::setPanelOpen(int commandId, bool open) {
    QDockWidget* panel = panelOf(commandId);
    if (!panel)
        return;
    // The note bar opens closed in every new window; the other panels are remembered.
    if (panel == study_)
        panel->setVisible(open);
    else
        showPanel(panel, open);
}

int CBibleFrame::panelBarId(const QDockWidget* panel) const {
    return panel == titles_ ? cmd::ToggleSectionTitles : cmd::ToggleRelatedBar;
}

bool CBibleFrame::panelLeftOpen(int barId) const {
    return context_.store->readInt(dockBarSection(version_, barId), kPanelVisible, 0) == 1;
}

void CBibleFrame::showPanel(QDockWidget* panel, bool show) {
    panel->setVisible(show);
    context_.store->writeInt(dockBarSection(version_, panelBarId(panel)), kPanelVisible,
                             show ? 1 : 0);
}

bool CBibleFrame::eventFilter(QObject* watched, QEvent* event) {
    // The panel's own close box; a window that closes hides its panels without closing them.
    if (event->type() == QEvent::Close && (watched == titles_ || watched == related_))
        context_.store->writeInt(
            dockBarSection(version_, panelBarId(static_cast<QDockWidget*>(watched))), kPanelVisible,
            0);
    return CChildFrame::eventFilter(watched, event);
}

RichTextArea* CBibleFrame::focusedText() const {
    if (related_ && related_->isVisible() && related_->pane()->hasFocus())
        return related_->pane();
    return view_;
}

void CBibleFrame::resizeEvent(QResizeEvent* event) {
    // Every resize, the first one included, records the size type, so that maximising a
    // window after the maximised one closed still moves the panel aside.
    BibleSharedState& s = shared();
    if (isMaximized() && !s.lastResizeMaximized)
        mainFrame_->hideShortcutBar();
    s.lastResizeMaximized = isMaximized();
    updateSampleBar();
    CChildFrame::resizeEvent(event);
    if (titles_)
        titles_->fitWindow(width());
}

} // namespace qel
