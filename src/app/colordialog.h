#pragma once

#include <QColor>
#include <QDialog>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;

namespace qel {

struct AppSettings;
class SettingsStore;

// Settings keep colours as 0x00BBGGRR (red in the low byte).
QColor qColorFromColorRef(std::uint32_t colorRef);
std::uint32_t colorRefFromQColor(const QColor& color);

// A button drawn filled with its colour.
class CColorSwatch : public QPushButton {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    const QColor& color() const { return color_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
};

// "색깔 지정": the nine text colours and whether marked words are coloured. A chosen colour
// goes into the settings at once so open windows paint with it; Cancel brings back the
// stored colours.
class CColorDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSwatchCount = 9;
    // The colour-table slot of each swatch, in the order they are shown.
    static constexpr std::array<int, kSwatchCount> kSwatchSlots = {1, 0, 4, 5, 3, 2, 6, 7, 8};

    // Asks the user for a colour starting from the given one; nothing when cancelled.
    using ColorChooser = std::function<std::optional<QColor>(const QColor& initial, QWidget*)>;

    // `applied` runs after the colours have been stored (OK) or restored (Cancel), so the
    // owner can lay every view out again.
    CColorDialog(AppSettings& settings, SettingsStore& store, std::function<void()> applied,
                 QWidget* parent = nullptr);

    void setColorChooser(ColorChooser chooser) { chooser_ = std::move(chooser); }

    CColorSwatch* swatch(int index) const { return swatches_.at(index); }
    QLabel* swatchLabel(int index) const { return labels_.at(index); }
    QCheckBox* differentColorBox() const { return differentColorBox_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* defaultsButton() const { return defaultsButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

public slots:
    void accept() override;
    void reject() override;

private:
    void chooseColor(int index);
    void restoreDefaults();
    void showColors();

    AppSettings& settings_;
    SettingsStore& store_;
    std::function<void()> applied_;
    ColorChooser chooser_;
    std::array<CColorSwatch*, kSwatchCount> swatches_{};
    std::array<QLabel*, kSwatchCount> labels_{};
    QCheckBox* differentColorBox_;
    QPushButton* okButton_;
    QPushButton* defaultsButton_;
    QPushButton* cancelButton_;
};

} // namespace qel
