#pragma once

#include <QDialog>
#include <QRect>
#include <string>

class QTableWidget;

namespace qel {

// The modal choice among the candidates of an ambiguous word or a homonym: a one-column
// list, one row per line of the candidate text; a double click or OK chooses.
class CChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // `list`: CP949 lines ended by CR or LF; the character before each line end is dropped
    // and a row starts at the line's first digit.
    CChoiceDialog(const std::string& list, QWidget* owner);

    void setTitle(const QString& title) { title_ = title; }
    // Where the dialog opens; a left of -9999 means nowhere yet.
    void setLastRect(const QRect& rect) { rect_ = rect; }
    QRect lastRect() const { return rect_; }

    int chosenIndex() const { return index_; }
    const std::string& chosenText() const { return text_; }
    int rowCount() const;

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void chooseRow(int row);
    void fitColumn();

    QTableWidget* list_;
    std::vector<std::string> rows_;
    QString title_;
    QRect rect_{-9999, 0, 0, 0};
    int index_ = 0;
    std::string text_;
};

} // namespace qel
