#pragma once

#include "searchui/searchdialogbase.h"

namespace qel {

// "역본 가 성구찾기", with the own short title of the edition in VRA.
QString verseSearchTitle();

// The verse search of edition VRA through the query engine: a natural-language query,
// choices among ambiguous words and homonyms, rows with their hit positions.
class CSearchDialog : public SearchDialogBase {
    Q_OBJECT
public:
    CSearchDialog(SearchDialogContext context, QWidget* parent);

protected:
    Search prepareSearch() override;
    std::string copyLine(int row) const override;
    std::string commandKeyOf(int row) const override;
    QString helpHtml() const override;
};

} // namespace qel
