#pragma once

#include "richtext/surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

class QPaintDevice;
class QPainter;

namespace qel {

// The Qt side of Surface. Measures with QFontMetricsF for a paint device (kerning and
// shaping off, so the width of a text is the sum of its characters' advances, each measured
// once per font), and draws through a QPainter open on a widget, an image or a printer.
class QtSurface : public Surface {
public:
    // `device` gives the resolution and, until setClientSize, the client size.
    explicit QtSurface(QPaintDevice* device);
    ~QtSurface() override;
    QtSurface(const QtSurface&) = delete;
    QtSurface& operator=(const QtSurface&) = delete;

    // Drawing goes to `painter` (not owned); without one, drawing calls do nothing.
    void setPainter(QPainter* painter);
    void setClientSize(int width, int height);

    // Registers a ready font (the display font) and returns its id; it is not selected.
    FontId addFont(const QFont& font);
    const QFont& font(FontId id) const;
    // CP949 to UTF-16 through the codec; recent texts are cached.
    QString toUnicode(std::string_view cp949);

    TextExtent textExtent(std::string_view text) override;
    std::size_t fitCount(std::string_view text, int available) override;
    FontDescription fontDescription() override;
    int dpiX() const override;
    int dpiY() const override;
    int clientWidth() const override { return clientWidth_; }
    int clientHeight() const override { return clientHeight_; }

    FontId createFont(const FontRequest& request) override;
    FontId selectFont(FontId font) override;
    FontId currentFont() const override { return current_; }

    void setTextColor(std::uint32_t color) override { textColor_ = color; }
    void drawText(int x, int y, std::string_view text) override;
    void fillRect(int x, int y, int width, int height, std::uint32_t color) override;
    // On a printer or PDF writer: ends the page and starts the next.
    void newPage() override;

    // Advance of one character (1 or 2 bytes) in the current font, in 1/64 pixel.
    std::int64_t characterAdvance(std::string_view character);

private:
    struct FontEntry;
    using RequestKey = std::tuple<int, bool, int, bool, std::string, int>;

    FontEntry& entry() { return *fonts_[static_cast<std::size_t>(current_)]; }
    FontId registerFont(QFont font);

    QPaintDevice* device_;
    QPainter* painter_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    std::vector<std::unique_ptr<FontEntry>> fonts_;
    std::map<RequestKey, FontId> requested_;
    FontId current_ = 0;
    std::uint32_t textColor_ = 0;
    std::unordered_map<std::string, QString> unicodeCache_;
};

} // namespace qel
