#include "searchui/searchdialog.h"

#include "bible/editions.h"
#include "bible/versiontitles.h"

#include "platform/codec.h"
#include "searchui/searchforms.h"
#include "widgets/gridctrl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>

namespace qel {

QString verseSearchTitle() {
    return QString::fromStdString(cp949ToUtf8(versionShortTitle(kKoreanEdition))) +
           QStringLiteral(" 성구찾기");
}

CSearchDialog::CSearchDialog(SearchDialogContext context, QWidget* parent)
    : SearchDialogBase(std::move(context), verseSearchTitle(),
                       {QStringLiteral("기본"), QStringLiteral("활용"), QStringLiteral("확장")},
                       QStringLiteral("찾은 단어를 중심으로 보기"), parent) {
    setObjectName(QStringLiteral("SearchDialog"));
    fillRange({QStringLiteral("전체"), QStringLiteral("구약"), QStringLiteral("신약")},
              kKoreanEdition);
    modeGroup_->button(kModePhrase)->setChecked(true);
    typeGroup_->button(1)->setChecked(true);
}

SearchDialogBase::Search CSearchDialog::prepareSearch() {
    VerseSearchJob job;
    const TypedQuery typed = takeTypedMode();
    job.query = typed.text;
    job.searchType = typeGroup_->checkedId();
    job.mode = typed.mode;
    job.center = center_->isChecked();
    job.rangeIndex = range_->currentIndex();
    job.rangeItem = utf8ToCp949(range_->currentText().toStdString());
    job.indexFolder = context_.searchIndexFolder;
    if (!job.indexFolder.empty())
        job.indexFolder.pop_back();
    job.resultPath = context_.resultFile;
    return [job](SearchSink& sink) { runVerseSearch(job, sink); };
}

std::string CSearchDialog::copyLine(int row) const {
    return verseResultCopyLine(wholeVerseOf(row), grid()->GetItemText(row, 0),
                               grid()->GetItemText(row, 1), grid()->GetItemText(row, 2));
}

std::string CSearchDialog::commandKeyOf(int row) const {
    return verseResultCommandKey(grid()->GetItemText(row, 0), grid()->GetItemText(row, 1),
                                 grid()->GetItemText(row, 2));
}

QString CSearchDialog::helpHtml() const {
    return QStringLiteral(
        "<h2>역본 가 성구찾기</h2>"
        "<p>역본 가의 본문에서 찾을 말이 들어 있는 절을 찾습니다. 찾을 말을 쓰고 "
        "<b>찾기</b>를 누르십시오. 오래 걸리면 <b>취소</b>로 멈춥니다.</p>"
        "<h3>찾는 방식</h3><ul>"
        "<li><b>기본</b>: 쓴 말을 그대로 찾습니다. 예: <i>하나님</i></li>"
        "<li><b>활용</b>: 토씨와 어미가 바뀐 꼴도 찾습니다. 예: <i>사랑하다</i>로 "
        "<i>사랑하사</i>, <i>사랑하는</i>도 찾습니다.</li>"
        "<li><b>확장</b>: 활용에 더하여 그 낱말에서 나온 말과 그 낱말이 든 합친 말까지 "
        "찾습니다.</li></ul>"
        "<p>활용과 확장에서 한 낱말이 여러 가지로 읽히면 <b>낱말 선택</b> 창이, "
        "소리는 같고 뜻이 다른 낱말이면 <b>동음 이의어 선택</b> 창이 뜹니다. "
        "고른 것은 상태 줄의 [ ] 안에 나옵니다.</p>"
        "<h3>여러 낱말</h3><ul>"
        "<li><b>구</b>: 낱말들이 이 차례로 이어진 곳. 예: <i>하나님 사랑</i></li>"
        "<li><b>그리고</b>: 모든 낱말이 들어 있는 절. 예: <i>믿음, 소망</i></li>"
        "<li><b>또는</b>: 낱말 가운데 하나라도 들어 있는 절.</li></ul>"
        "<p>낱말 사이에 <b>그리고</b>(AND)나 <b>또는</b>(OR)을 쓰면 그 방식으로 "
        "찾습니다. 예: <i>믿음 그리고 소망</i></p>"
        "<p><b>범위</b>로 전체, 구약, 신약이나 한 권을 고릅니다. "
        "<b>찾은 단어를 중심으로 보기</b>를 켜 두면 본문이 찾은 낱말 조금 앞에서 "
        "시작합니다.</p>"
        "<h3>결과</h3><p>줄을 두 번 누르거나 Enter를 누르면 그 절이 열립니다. "
        "오른쪽 단추 메뉴의 <b>복사</b>, <b>모두 복사</b>(또는 Ctrl+C)는 절을 "
        "출처와 함께 복사합니다. 예: <i>…(역본 가 요한복음 3:16)</i></p>");
}

} // namespace qel
