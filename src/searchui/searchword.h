#pragma once

#include "searchui/searchdialogbase.h"

class QComboBox;

namespace qel {

// The word search of any of seven versions through the word-variant library: words or a
// phrase in a range, rows centred on the first word found, the words highlighted.
class CSearchWord : public SearchDialogBase {
    Q_OBJECT
public:
    CSearchWord(SearchDialogContext context, QWidget* parent);
    // The version list names each edition by its own short title.
    void updateVersionTitles();

    QComboBox* versionBox() const { return version_; }

protected:
    Search prepareSearch() override;
    std::string copyLine(int row) const override;
    std::string commandKeyOf(int row) const override;
    QString helpHtml() const override;

private:
    void versionChanged(int index);
    void modeChanged(int mode);

    QComboBox* version_;
    // The version of the rows shown, for opening and copying them.
    int shownVersion_ = 0;
};

} // namespace qel
