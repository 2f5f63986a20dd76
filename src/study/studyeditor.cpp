#include "study/studyeditor.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>
#include <set>

namespace qel {
namespace {

constexpr DockBarSizes kDefaultSizes = {{600, 150}, {250, 400}, {400, 200}};
constexpr int kCaptionHeight = 26;
constexpr int kButtonSize = 20;

// A note sheet with lines: the bar's marker, and with a list of dots its list button.
QPixmap notePicture(bool list) {
    QPixmap pixmap(kButtonSize, kButtonSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x8A, 0x6D, 0x00));
    p.setBrush(list ? QColor(Qt::white) : QColor(0xFF, 0xD8, 0x4A));
    p.drawRect(QRectF(3.5, 1.5, 13, 17));
    for (int y : {6, 10, 14}) {
        if (list) {
            p.setPen(QPen(QColor(0x2F, 0x5F, 0x8F), 2));
            p.drawPoint(QPointF(6.5, y));
        }
        p.setPen(QColor(0x8A, 0x6D, 0x00));
        p.drawLine(QPointF(list ? 9 : 6, y), QPointF(14, y));
    }
    return pixmap;
}

QString fromCp949(std::string_view text) {
    return QString::fromStdString(cp949ToUtf8(text));
}

// The bars alive now, for the save at a sudden exit. Never destroyed: the exit handler that
// reads it runs after static objects made later are gone.
std::set<CStudyEditor*>& liveEditors() {
    static auto* editors = new std::set<CStudyEditor*>;
    return *editors;
}

} // namespace

CStudyEditor::CStudyEditor(AppContext& context, const std::string& versionCode, QMainWindow* parent)
    : CDockBar(QStringLiteral("사용자 노트"), context, versionCode, cmd::ToggleNoteBar,
               kDefaultSizes, parent),
      store_(context.paths.studyDatabaseFile()), marker_(new QLabel),
      title_(new QLabel(QStringLiteral("사용자 노트"))), place_(new QLabel),
      listButton_(new QToolButton), editor_(new QPlainTextEdit) {
    setObjectName(QStringLiteral("StudyEditor"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    setFont(context.displayFont);

    // The caption line is the bar's title: marker, title and place, list button.
    auto* caption = new QWidget;
    caption->setFixedHeight(kCaptionHeight);
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Button);
    auto* row = new QHBoxLayout(caption);
    row->setContentsMargins(5, 2, 4, 2);
    row->setSpacing(5);
    marker_->setObjectName(QStringLiteral("StudyMarkerClass"));
    marker_->setFixedSize(kButtonSize, kButtonSize);
    marker_->setPixmap(notePicture(false));
    place_->setAlignment(Qt::AlignCenter);
    listButton_->setObjectName(QStringLiteral("NoteListButton"));
    listButton_->setIcon(QIcon(notePicture(true)));
    listButton_->setFixedSize(kButtonSize + 4, kButtonSize + 4);
    listButton_->setAutoRaise(true);
    listButton_->setToolTip(QStringLiteral("사용자 노트 목록"));
    row->addWidget(marker_);
    row->addWidget(title_);
    row->addWidget(place_, 1);
    row->addWidget(listButton_);
    setTitleBarWidget(caption);

    editor_->setObjectName(QStringLiteral("NoteEditor"));
    editor_->setFont(context.displayFont);
    editor_->setTabChangesFocus(true);
    setWidget(editor_);
    if (!store_.isOpen() || store_.isReadOnly()) {
        editor_->setReadOnly(true);
        editor_->setPlaceholderText(
            store_.isOpen() ? QStringLiteral("노트 파일이 읽기 전용이어서 노트를 쓸 수 없습니다.")
                            : QStringLiteral("노트 파일을 열 수 없어 노트를 쓸 수 없습니다."));
    }

    autosave_.setSingleShot(true);
    autosave_.setInterval(kAutosaveDelay);
    connect(&autosave_, &QTimer::timeout, this, &CStudyEditor::saveNow);
    connect(editor_->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                if (loading_)
                    return;
                limitText(position, added);
                m_bModified = true;
                typed_ = text();
                autosave_.start();
            });
    connect(listButton_, &QToolButton::clicked, this, &CStudyEditor::listRequested);
    liveEditors().insert(this);
}

CStudyEditor::~CStudyEditor() {
    // The window saved what it could before it closed; nothing is reported from here.
    autosave_.stop();
    liveEditors().erase(this);
}

void CStudyEditor::saveAllAtExit() noexcept {
    for (CStudyEditor* bar : liveEditors()) {
        if (!bar->m_bModified || !bar->store_.isOpen())
            continue;
        try {
            bar->store_.saveOver(bar->key_, bar->loaded_, bar->typed_);
            bar->m_bModified = false;
        } catch (const std::exception& e) {
            // Nothing more can be done for it at this point than to say so.
            logWarning(std::string("note not saved at exit: ") + e.what());
        } catch (...) {
            logWarning("note not saved at exit");
        }
    }
}

void CStudyEditor::limitText(int position, int added) {
    const int length = editor_->document()->characterCount() - 1;
    const int excess = length - kTextLimit;
    if (excess <= 0 || added <= 0)
        return;
    // The characters just typed or pasted that do not fit are taken out again; a longer
    // note that was loaded keeps its text.
    const int end = std::min(position + added, length);
    QTextCursor cursor(editor_->document());
    cursor.setPosition(std::max(position, end - excess));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    loading_ = true;
    cursor.removeSelectedText();
    loading_ = false;
}

std::string CStudyEditor::text() const {
    QString text = editor_->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text.toStdString();
}

void CStudyEditor::setText(const std::string& utf8CrLf) {
    QString text = QString::fromStdString(utf8CrLf);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    loading_ = true;
    editor_->setPlainText(text);
    loading_ = false;
}

int CStudyEditor::LoadNote(const std::string& version, const std::string& book,
                           const std::string& chapter, const std::string& verse) {
    if (isCommentaryEdition(version))
        return 0;
    const NoteKey next{version, book, chapter, verse};
    if (!SaveNote()) {
        // The unwritten note stays in the bar under its own place.
        try {
            return store_.isOpen() && next.complete() && store_.load(next) ? 1 : 0;
        } catch (const DatabaseError& e) {
            logWarning(e.what());
            return 0;
        }
    }
    key_ = next;
    showPlace();
    if (!key_.complete() || !store_.isOpen())
        return 0;
    std::optional<std::string> note;
    try {
        note = store_.load(key_);
    } catch (const DatabaseError& e) {
        logWarning(e.what());
    }
    setText(note.value_or(std::string()));
    loaded_ = note;
    m_bModified = false;
    return note ? 1 : 0;
}

bool CStudyEditor::writeNote(bool report) {
    autosave_.stop();
    if (!m_bModified)
        return true;
    const std::string note = text();
    std::optional<std::string> both;
    try {
        both = store_.saveOver(key_, loaded_, note);
    } catch (const DatabaseError& e) {
        logWarning(e.what());
        if (report) {
            failureReported_ = true;
            showMessage(utf8ToCp949("사용자 노트를 저장하지 못했습니다.\n쓰신 내용은 노트창에 "
                                    "그대로 남아 있으며, 다시 저장을 시도합니다."),
                        utf8ToCp949("사용자 노트"));
        }
        return false;
    }
    failureReported_ = closeRefused_ = false;
    m_bModified = false;
    loaded_ = both ? both : note.empty() ? std::nullopt : std::optional<std::string>(note);
    if (both)
        showBothTexts(*both, report);
    emit noteStateChanged(!loaded_.value_or(std::string()).empty());
    return true;
}

void CStudyEditor::showBothTexts(const std::string& both, bool report) {
    setText(both);
    editor_->moveCursor(QTextCursor::End);
    const std::string message = "이 노트는 그동안 다른 곳(다른 창이나 노트 가져오기)에서 "
                                "바뀌었습니다.\n두 내용을 모두 남겼습니다: 저장되어 있던 내용 "
                                "아래, 구분선 뒤에 방금 쓰신 내용이 있습니다.";
    if (report)
        showMessage(utf8ToCp949(message), utf8ToCp949("사용자 노트"));
    else
        logWarning(message);
}

bool CStudyEditor::saveNow() {
    return writeNote(!failureReported_);
}

bool CStudyEditor::SaveNote() {
    if (!saveNow())
        return false;
    setText(std::string());
    m_bModified = false;
    return true;
}

bool CStudyEditor::saveBeforeClose() {
    if (writeNote(false))
        return true;
    if (closeRefused_)
        return true;
    closeRefused_ = true;
    showMessage(utf8ToCp949("사용자 노트를 저장하지 못해 창을 닫지 않았습니다.\n쓰신 내용은 "
                            "노트창에 그대로 남아 있습니다. 내용을 다른 곳에 옮겨 두신 뒤 다시 "
                            "닫으면, 이 노트는 저장되지 않은 채 창이 닫힙니다."),
                utf8ToCp949("사용자 노트"));
    return false;
}

void CStudyEditor::showPlace() {
    const std::string name = bookNameOf(key_.book, key_.version);
    place_->setText(key_.complete() ? fromCp949(name + " " + key_.chapter + ":" + key_.verse)
                                    : QString());
}

bool CStudyEditor::editorHasFocus() const {
    return isVisible() && editor_->hasFocus();
}

bool CStudyEditor::handleCommand(int id) {
    switch (id) {
    case cmd::Copy:
        editor_->copy();
        return true;
    case cmd::Cut:
        editor_->cut();
        return true;
    case cmd::Paste:
        editor_->paste();
        return true;
    case cmd::SelectAll:
        editor_->selectAll();
        editor_->ensureCursorVisible();
        return true;
    case cmd::EditorExtra: {
        QTextCursor cursor = editor_->textCursor();
        if (cursor.hasSelection())
            cursor.removeSelectedText();
        return true;
    }
    case cmd::Undo:
        editor_->undo();
        return true;
    default:
        return false;
    }
}

bool CStudyEditor::updateCommand(int id, QAction* action) const {
    const bool selection = editor_->textCursor().hasSelection();
    const bool writable = !editor_->isReadOnly();
    switch (id) {
    case cmd::Copy:
        action->setEnabled(selection);
        return true;
    case cmd::Cut:
    case cmd::EditorExtra:
        action->setEnabled(selection && writable);
        return true;
    case cmd::Paste: {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        action->setEnabled(writable && data && data->hasText());
        return true;
    }
    case cmd::SelectAll:
        action->setEnabled(true);
        return true;
    case cmd::Undo:
        action->setEnabled(writable && editor_->document()->isUndoAvailable());
        return true;
    default:
        return false;
    }
}

} // namespace qel
