#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QPushButton;

namespace qel {

struct AppSettings;
class SettingsStore;

// "절별 비교 지정": which of the seven versions the parallel window shows.
class CParallelDialog : public QDialog {
    Q_OBJECT
public:
    // `applied` runs after the choice has been stored, so the owner can redisplay.
    CParallelDialog(AppSettings& settings, SettingsStore& store, std::function<void()> applied,
                    QWidget* parent = nullptr);

    QCheckBox* versionBox(int index) const { return boxes_.at(index); }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

public slots:
    void accept() override;

private:
    AppSettings& settings_;
    SettingsStore& store_;
    std::function<void()> applied_;
    std::array<QCheckBox*, 7> boxes_{};
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace qel
