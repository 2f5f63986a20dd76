#include "searchui/searchdialogbase.h"

#include "bible/booktable.h"
#include "platform/codec.h"
#include "platform/messagesink.h"
#include "searchui/choicedialog.h"
#include "widgets/gridctrl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <variant>

namespace qel {

// The worker's side of the dialog. Everything it is told is queued under a lock and
// handed to the user-interface thread by one queued call at a time, so rows arrive in
// batches however fast the worker finds them.
class SearchChannel : public SearchSink {
public:
    explicit SearchChannel(SearchDialogBase& dialog) : dialog_(dialog) {}

    struct Reset {};
    struct Rows {
        std::vector<CGridCtrl::Row> rows;
    };
    struct Message {
        std::string text;
    };
    struct Remember {
        std::string query;
    };
    struct Finished {};
    using Event = std::variant<Reset, Rows, Message, Remember, Finished>;

    bool stopRequested() const override { return dialog_.stopRequested(); }
    void message(const std::string& text) override { push(Message{text}); }
    void status(const std::string& text) override {
        std::lock_guard lock(mutex_);
        status_ = text;
        schedule();
    }
    void resetGrid() override { push(Reset{}); }
    void addRow(std::vector<std::string> cells, std::uint32_t itemData) override {
        std::lock_guard lock(mutex_);
        if (events_.empty() || !std::holds_alternative<Rows>(events_.back()))
            events_.emplace_back(Rows{});
        std::get<Rows>(events_.back()).rows.push_back({std::move(cells), itemData});
        schedule();
    }
    void rememberQuery(const std::string& query) override { push(Remember{query}); }
    bool choose(const std::string& title, const std::string& list, int& index,
                std::string& text) override {
        std::unique_lock lock(mutex_);
        if (abandoned_)
            return false;
        choice_ = Choice{};
        choice_.title = title;
        choice_.list = list;
        QMetaObject::invokeMethod(
            &dialog_, [d = &dialog_] { d->runChoice(); }, Qt::QueuedConnection);
        asking_ = true;
        asked_.notify_all();
        answered_.wait(lock, [this] { return choice_.answered || abandoned_; });
        asking_ = false;
        const bool ok = choice_.answered && choice_.accepted && !abandoned_;
        index = choice_.index;
        text = choice_.text;
        choice_ = Choice{};
        return ok;
    }
    void finished() { push(Finished{}); }

    // The dialog goes away: a worker waiting for a choice is let go.
    void abandon() {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
        answered_.notify_all();
    }

    void take(std::vector<Event>& events, std::string& status) {
        std::lock_guard lock(mutex_);
        events.swap(events_);
        status.swap(status_);
        scheduled_ = false;
    }

    struct Choice {
        std::string title, list;
        bool answered = false, accepted = false;
        int index = 0;
        std::string text;
    };
    // Blocks this thread (no events run) until the worker waits for a choice.
    bool waitForQuestion(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return asked_.wait_for(lock, limit, [this] { return asking_; });
    }
    Choice pendingChoice() {
        std::lock_guard lock(mutex_);
        return choice_;
    }
    void answer(bool accepted, int index, const std::string& text) {
        std::lock_guard lock(mutex_);
        choice_.answered = true;
        choice_.accepted = accepted;
        choice_.index = index;
        choice_.text = text;
        answered_.notify_all();
    }

private:
    void push(Event event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
        schedule();
    }
    // Called with the lock held.
    void schedule() {
        if (scheduled_)
            return;
        scheduled_ = true;
        QMetaObject::invokeMethod(
            &dialog_, [d = &dialog_] { d->flush(); }, Qt::QueuedConnection);
    }

    SearchDialogBase& dialog_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::condition_variable asked_;
    bool asking_ = false;
    std::vector<Event> events_;
    std::string status_;
    bool scheduled_ = false;
    bool abandoned_ = false;
    Choice choice_;
};

namespace {

QString fromCp949(const std::string& text) {
    return QString::fromStdString(cp949ToUtf8(text));
}

const char* const kApplicationTitle = "QEL CD-ROM 성경";

} // namespace

SearchDialogBase::SearchDialogBase(SearchDialogContext context, const QString& title,
                                   const QStringList& typeLabels, const QString& centerLabel,
                                   QWidget* parent)
    : QDialog(parent), context_(std::move(context)), options_(new QHBoxLayout),
      query_(new QComboBox(this)), range_(new QComboBox(this)), modeGroup_(new QButtonGroup(this)),
      typeGroup_(new QButtonGroup(this)), center_(new QCheckBox(centerLabel, this)),
      find_(new QPushButton(QStringLiteral("찾기"), this)),
      cancel_(new QPushButton(QStringLiteral("취소"), this)),
      helpButton_(new QPushButton(QStringLiteral("도움말"), this)), status_(new QLabel(this)),
      grid_(new CGridCtrl(this)), channel_(std::make_unique<SearchChannel>(*this)) {
    setWindowTitle(title);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(false);
    query_->setEditable(true);
    query_->setInsertPolicy(QComboBox::NoInsert);
    query_->setMinimumWidth(220);
    query_->lineEdit()->installEventFilter(this);
    range_->setMinimumWidth(140);
    find_->setDefault(true);
    cancel_->setEnabled(false);
    cancel_->setAutoDefault(false);
    helpButton_->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("찾을 말"), this));
    top->addWidget(query_, 1);
    top->addWidget(find_);
    top->addWidget(cancel_);
    top->addWidget(helpButton_);

    options_->addWidget(new QLabel(QStringLiteral("범위"), this));
    options_->addWidget(range_);
    int id = 0;
    for (const char* label : {"구", "그리고", "또는"}) {
        auto* button = new QRadioButton(QString::fromUtf8(label), this);
        modeGroup_->addButton(button, id++);
        options_->addWidget(button);
    }
    options_->addSpacing(12);
    id = 0;
    for (const QString& label : typeLabels) {
        auto* button = new QRadioButton(label, this);
        typeGroup_->addButton(button, id++);
        options_->addWidget(button);
    }
    options_->addSpacing(12);
    options_->addWidget(center_);
    options_->addStretch(1);
    center_->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(options_);
    layout->addWidget(status_);
    layout->addWidget(grid_, 1);

    connect(find_, &QPushButton::clicked, this, &SearchDialogBase::OnFind);
    connect(cancel_, &QPushButton::clicked, this, &SearchDialogBase::OnCancel);
    connect(helpButton_, &QPushButton::clicked, this, &SearchDialogBase::showHelp);
    connect(grid_, &CGridCtrl::rowDoubleClicked, this, [this] { OpenSelectedResult(); });
    connect(grid_, &CGridCtrl::enterPressed, this, &SearchDialogBase::OpenSelectedResult);
    grid_->setRowCopyForm([this](int row) { return copyLine(row); });
    resize(760, 520);
    setUpGrid();
}

bool SearchDialogBase::waitForChoiceRequest(int milliseconds) {
    return channel_->waitForQuestion(std::chrono::milliseconds(milliseconds));
}

SearchDialogBase::~SearchDialogBase() {
    // The worker is let go of any wait and told to stop; it ends at its next check.
    stopRequested_ = true;
    channel_->abandon();
    if (worker_.joinable())
        worker_.join();
}

void SearchDialogBase::setUpGrid() {
    grid_->SetRowCount(1);
    grid_->SetColumnCount(4);
    const char* headers[] = {"권", "장", "절", "본문"};
    for (int c = 0; c < 4; ++c)
        grid_->SetItemText(0, c, utf8ToCp949(headers[c]));
    grid_->SetColumnWidth(0, 40);
    grid_->SetColumnWidth(1, 30);
    grid_->SetColumnWidth(2, 30);
    grid_->SetColumnWidth(3, std::max(grid_->viewport()->width() - 100, 100));
    grid_->ExpandLastColumn();
}

void SearchDialogBase::addQueryToList(const QString& query) {
    if (query.isEmpty() || query_->findText(query, Qt::MatchExactly) >= 0)
        return;
    int at = 0;
    while (at < query_->count() && query_->itemText(at) < query)
        ++at;
    query_->insertItem(at, query);
}

void SearchDialogBase::fillRange(const QStringList& first3, const std::string& versionCode) {
    range_->clear();
    range_->addItems(first3);
    for (const BookRow& row : bookTableOf(versionCode))
        range_->addItem(fromCp949(row.name));
    range_->setCurrentIndex(0);
}

QString SearchDialogBase::statusText() const {
    return status_->text();
}

void SearchDialogBase::OnFind() {
    if (!stopRequested() || worker_.joinable())
        return;
    cancel_->setFocus();
    Search search = prepareSearch();
    if (!search)
        return;
    addQueryToList(query_->currentText());
    grid_->viewport()->update();
    find_->setEnabled(false);
    cancel_->setEnabled(true);
    cancel_->setFocus();
    setCursor(Qt::BusyCursor);
    stopRequested_ = false;
    worker_ = std::thread([this, search = std::move(search)] {
        search(*channel_);
        stopRequested_ = true;
        channel_->finished();
    });
}

void SearchDialogBase::OnCancel() {
    stopRequested_ = true;
}

void SearchDialogBase::flush() {
    std::vector<SearchChannel::Event> events;
    std::string status;
    channel_->take(events, status);
    bool finished = false;
    for (SearchChannel::Event& event : events) {
        if (std::holds_alternative<SearchChannel::Reset>(event)) {
            setUpGrid();
        } else if (auto* rows = std::get_if<SearchChannel::Rows>(&event)) {
            grid_->appendRows(std::move(rows->rows));
        } else if (auto* message = std::get_if<SearchChannel::Message>(&event)) {
            messages_.push_back(std::move(message->text));
        } else if (auto* remember = std::get_if<SearchChannel::Remember>(&event)) {
            addQueryToList(fromCp949(remember->query));
        } else {
            finished = true;
        }
    }
    if (!status.empty())
        status_->setText(fromCp949(status));
    if (finished)
        finishSearch();
    // A message box runs its own event loop, in which later batches arrive; they are
    // applied there, and their messages wait in line.
    if (showingMessages_)
        return;
    showingMessages_ = true;
    while (!messages_.empty()) {
        const std::string text = messages_.front();
        messages_.erase(messages_.begin());
        // A hidden dialog has stopped its search; it says nothing more.
        if (isVisible())
            showMessage(text, utf8ToCp949(kApplicationTitle));
    }
    showingMessages_ = false;
}

void SearchDialogBase::finishSearch() {
    if (worker_.joinable())
        worker_.join();
    find_->setEnabled(true);
    find_->setFocus();
    cancel_->setEnabled(false);
    unsetCursor();
    grid_->viewport()->update();
    emit searchFinished();
}

void SearchDialogBase::runChoice() {
    const SearchChannel::Choice choice = channel_->pendingChoice();
    CChoiceDialog dialog(choice.list, this);
    dialog.setTitle(fromCp949(choice.title));
    dialog.setLastRect(m_rcChoice);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_rcChoice = dialog.lastRect();
    channel_->answer(accepted, dialog.chosenIndex(), dialog.chosenText());
}

TypedQuery SearchDialogBase::takeTypedMode() {
    const TypedQuery typed =
        typedQueryMode(utf8ToCp949(query_->currentText().toStdString()), modeGroup_->checkedId());
    if (QAbstractButton* button = modeGroup_->button(typed.mode))
        button->setChecked(true);
    return typed;
}

std::string SearchDialogBase::wholeVerseOf(int row) const {
    constexpr int kWholeVerseCell = 4;
    const std::string whole = grid_->GetItemText(row, kWholeVerseCell);
    return whole.empty() ? std::string(splitHitPositions(grid_->GetItemText(row, 3)).text) : whole;
}

std::string SearchDialogBase::copyRows(bool all) {
    return grid_->copyRows(all);
}

void SearchDialogBase::OpenSelectedResult() {
    const CGridCtrl::CellRange range = grid_->GetSelectedCellRange();
    if (!range.isValid())
        return;
    const std::string key = commandKeyOf(range.minRow);
    if (!key.empty() && context_.openCommandKey)
        stepAside(context_.openCommandKey(key));
}

void SearchDialogBase::stepAside(const QRect& keepClear) {
    const QRect frame = frameGeometry();
    if (keepClear.isEmpty() || !frame.intersects(keepClear) || isMinimized())
        return;
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect();
    const int w = frame.width();
    const int h = frame.height();
    const auto clamped = [](int at, int low, int high) {
        return std::max(low, std::min(at, high));
    };
    const int x = clamped(frame.x(), screenArea.left(), screenArea.right() + 1 - w);
    const int y = clamped(frame.y(), screenArea.top(), screenArea.bottom() + 1 - h);
    // Below, above, right of and left of the place; the nearest that stays on the screen.
    const QPoint candidates[] = {{x, keepClear.bottom() + 1},
                                 {x, keepClear.top() - h},
                                 {keepClear.right() + 1, y},
                                 {keepClear.left() - w, y}};
    std::optional<QPoint> best;
    for (const QPoint& at : candidates) {
        const QRect place(at, frame.size());
        if (!screenArea.contains(place) || place.intersects(keepClear))
            continue;
        if (!best ||
            (at - frame.topLeft()).manhattanLength() < (*best - frame.topLeft()).manhattanLength())
            best = at;
    }
    if (best)
        move(*best);
    else
        showMinimized();
}

void SearchDialogBase::showAndRestore() {
    if (isHidden())
        show();
    if (m_nShowState == 2)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
}

void SearchDialogBase::showHelp() {
    // Our own page, always there: no help file to miss.
    if (!help_) {
        help_ = new QDialog(this);
        help_->setWindowTitle(windowTitle() + QStringLiteral(" 도움말"));
        auto* text = new QTextBrowser(help_);
        text->setHtml(helpHtml());
        auto* layout = new QVBoxLayout(help_);
        layout->addWidget(text);
        help_->resize(520, 460);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void SearchDialogBase::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMaximized())
            m_nShowState = 2;
        else if (!isMinimized())
            m_nShowState = 0;
    }
    QDialog::changeEvent(event);
}

bool SearchDialogBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched == query_->lineEdit() && event->type() == QEvent::FocusIn) {
        // Focus entering the query box leaves its text unselected.
        const bool handled = QDialog::eventFilter(watched, event);
        QMetaObject::invokeMethod(query_->lineEdit(), &QLineEdit::deselect, Qt::QueuedConnection);
        return handled;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchDialogBase::reject() {
    // Escape and the close box hide the dialog; its results stay, its search stops.
    stopRequested_ = true;
    hide();
}

} // namespace qel
