#include "searchui/searchword.h"

#include "platform/codec.h"
#include "searchui/searchforms.h"
#include "widgets/gridctrl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace qel {

CSearchWord::CSearchWord(SearchDialogContext context, QWidget* parent)
    : SearchDialogBase(std::move(context), QStringLiteral("성경별 단어찾기"),
                       {QStringLiteral("기본"), QStringLiteral("모두")},
                       QStringLiteral("찾을 단어를 중심으로 보기"), parent),
      version_(new QComboBox(this)) {
    setObjectName(QStringLiteral("SearchWord"));
    for (int i = 0; i < wordSearchVersionCount(); ++i)
        version_->addItem(QString());
    updateVersionTitles();
    options_->insertWidget(0, version_);
    options_->insertWidget(0, new QLabel(QStringLiteral("성경"), this));
    connect(version_, &QComboBox::currentIndexChanged, this, &CSearchWord::versionChanged);
    connect(modeGroup_, &QButtonGroup::idClicked, this, &CSearchWord::modeChanged);
    version_->setCurrentIndex(0);
    versionChanged(0);
    modeGroup_->button(kModeAnd)->setChecked(true);
    typeGroup_->button(kTypeAllForms)->setChecked(true);
}

void CSearchWord::updateVersionTitles() {
    for (int i = 0; i < wordSearchVersionCount(); ++i)
        version_->setItemText(i,
                              QString::fromStdString(cp949ToUtf8(wordSearchVersionInfo(i).item)));
}

void CSearchWord::versionChanged(int index) {
    if (isEnglishWordSearchVersion(index))
        fillRange({QStringLiteral("Bible"), QStringLiteral("Old Testament"),
                   QStringLiteral("New Testament")},
                  wordSearchVersionInfo(index).code);
    else
        fillRange({QStringLiteral("전체"), QStringLiteral("구약"), QStringLiteral("신약")},
                  wordSearchVersionInfo(index).code);
}

void CSearchWord::modeChanged(int mode) {
    // A phrase is found as written; the types apply to separate words.
    for (QAbstractButton* button : typeGroup_->buttons())
        button->setEnabled(mode != kModePhrase);
}

SearchDialogBase::Search CSearchWord::prepareSearch() {
    WordSearchJob job;
    const TypedQuery typed = takeTypedMode();
    job.query = typed.text;
    job.versionIndex = version_->currentIndex();
    job.rangeIndex = range_->currentIndex();
    job.rangeItem = utf8ToCp949(range_->currentText().toStdString());
    job.searchType = typeGroup_->checkedId();
    job.mode = typed.mode;
    job.center = center_->isChecked();
    job.indexPath = context_.wordIndexFolder + std::to_string(job.versionIndex) + ".m14";
    HighlightWords words;
    words.text = normaliseSearchQuery(wordHighlightText(job.query));
    words.phrase = job.mode == kModePhrase;
    words.wholeWord = job.searchType == kTypeBasic;
    words.wordStarts = job.searchType == kTypeAllForms;
    grid()->SetHighlightWords(std::move(words));
    shownVersion_ = job.versionIndex;
    return [job](SearchSink& sink) { runWordSearch(job, sink); };
}

std::string CSearchWord::copyLine(int row) const {
    return wordResultCopyLine(shownVersion_, grid()->GetItemText(row, 0),
                              grid()->GetItemText(row, 1), grid()->GetItemText(row, 2),
                              wholeVerseOf(row));
}

std::string CSearchWord::commandKeyOf(int row) const {
    return wordResultCommandKey(wordSearchVersionInfo(shownVersion_).code,
                                grid()->GetItemText(row, 0), grid()->GetItemText(row, 1),
                                grid()->GetItemText(row, 2));
}

QString CSearchWord::helpHtml() const {
    return QStringLiteral(
        "<h2>성경별 단어찾기</h2>"
        "<p>고른 성경에서 낱말이나 구절이 들어 있는 절을 찾습니다. <b>성경</b>과 "
        "<b>범위</b>를 고르고 찾을 말을 쓴 다음 <b>찾기</b>를 누르십시오. "
        "<b>취소</b>는 찾기를 멈춥니다.</p>"
        "<h3>여러 낱말</h3><ul>"
        "<li><b>구</b>: 쓴 그대로 이어진 구절. 예: <i>in the beginning</i></li>"
        "<li><b>그리고</b>: 모든 낱말이 들어 있는 절. 예: <i>faith hope</i>, "
        "<i>믿음, 소망</i></li>"
        "<li><b>또는</b>: 낱말 가운데 하나라도 들어 있는 절.</li></ul>"
        "<p>낱말 사이에 <b>AND</b>나 <b>그리고</b>를 쓰면 그리고로, <b>OR</b>나 "
        "<b>또는</b>을 쓰면 또는으로 찾습니다. 예: <i>faith AND hope</i>, "
        "<i>믿음 또는 소망</i></p>"
        "<h3>찾는 방식</h3><ul>"
        "<li><b>기본</b>: 쓴 낱말 그대로, 뒤에 빈칸이 오는 것만. 예: <i>love</i>는 "
        "<i>loved</i>를 찾지 않습니다. 결과에는 낱말 전체만 색으로 보입니다.</li>"
        "<li><b>모두</b>: 그 낱말의 여러 꼴을 모두. 예: <i>love</i>로 <i>loved</i>, "
        "<i>loveth</i>도 찾습니다.</li></ul>"
        "<p>구로 찾을 때는 찾는 방식을 고를 수 없습니다. <b>찾을 단어를 중심으로 "
        "보기</b>를 켜 두면 본문이 찾은 낱말 조금 앞에서 시작하고, 찾은 낱말은 "
        "색으로 보입니다.</p>"
        "<h3>결과</h3><p>줄을 두 번 누르거나 Enter를 누르면 그 절이 열립니다. "
        "<b>복사</b>, <b>모두 복사</b>(또는 Ctrl+C)는 절을 출처와 함께 복사합니다. "
        "예: <i>…(KJV Jn 3:16)</i></p>");
}

} // namespace qel
