#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace qel {

struct AppSettings;
class SettingsStore;

// "보기방식 지정": verse layout and whether the intro video plays at start.
class CViewModeDialog : public QDialog {
    Q_OBJECT
public:
    // `applied` runs after the choice has been stored, so the owner can lay the views out.
    CViewModeDialog(AppSettings& settings, SettingsStore& store, std::function<void()> applied,
                    QWidget* parent = nullptr);

    QRadioButton* modeButton(int viewMode) const { return modeButtons_.at(viewMode); }
    QCheckBox* introBox() const { return introBox_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

public slots:
    void accept() override;

private:
    AppSettings& settings_;
    SettingsStore& store_;
    std::function<void()> applied_;
    QButtonGroup* modeGroup_;
    std::array<QRadioButton*, 3> modeButtons_{};
    QCheckBox* introBox_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace qel
