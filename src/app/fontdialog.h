#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <functional>

class QComboBox;
class QPushButton;

namespace qel {

struct AppSettings;
class SettingsStore;

// The sample text of the font dialog: a title line drawn large, then body lines at the
// chosen spacing. Line positions are public so the arithmetic can be checked.
class CFontPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBodyLineCount = 8;

    explicit CFontPreview(QWidget* parent = nullptr);

    // Nothing is drawn when the face is empty or the size or spacing is not positive.
    void setSample(const QString& face, int pointSize, int spacingPercent);
    void clearSample();
    bool hasSample() const { return hasSample_; }

    int titleHeight() const { return titleHeight_; } // H1
    int lineHeight() const { return lineHeight_; }   // H
    // Top of body line `index` (0-based) below the top of the preview.
    int bodyLineTop(int index) const { return titleHeight_ + (index + 1) * lineStep_; }
    const QFont& titleFont() const { return titleFont_; }
    const QFont& bodyFont() const { return bodyFont_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool hasSample_ = false;
    QFont titleFont_;
    QFont bodyFont_;
    int titleHeight_ = 0;
    int lineHeight_ = 0;
    int lineStep_ = 0;
};

// "글꼴 설정": face, size and line spacing of the reading text, with a live preview.
class CFontDialog : public QDialog {
    Q_OBJECT
public:
    // `applied` runs after a confirmed change has been stored, so the owner can rebuild the
    // display font and lay every view out again.
    CFontDialog(AppSettings& settings, SettingsStore& store, std::function<void()> applied,
                QWidget* parent = nullptr);

    QComboBox* faceBox() const { return faceBox_; }
    QComboBox* sizeBox() const { return sizeBox_; }
    QComboBox* spaceBox() const { return spaceBox_; }
    CFontPreview* preview() const { return preview_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Reads the three boxes into the preview.
    void updatePreview();

public slots:
    void accept() override;

private:
    AppSettings& settings_;
    SettingsStore& store_;
    std::function<void()> applied_;
    QComboBox* faceBox_;
    QComboBox* sizeBox_;
    QComboBox* spaceBox_;
    CFontPreview* preview_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace qel
