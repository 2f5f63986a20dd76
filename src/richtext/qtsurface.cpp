#include "richtext/qtsurface.h"

#include "platform/codec.h"

#include <QColor>
#include <QFontInfo>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>

namespace qel {
namespace {

QColor toQColor(std::uint32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

constexpr std::size_t kUnicodeCacheLimit = 4096;

} // namespace

struct QtSurface::FontEntry {
    QFont font;
    QFontMetricsF metrics;
    int height = 0;
    FontDescription description;
    // Advances in 1/64 pixel, -1 until measured: single bytes (a lone lead byte included)
    // and double-byte characters by their code.
    std::array<std::int32_t, 256> byteAdvances;
    std::vector<std::int32_t> wideAdvances;

    std::int64_t advance(std::string_view character);

    FontEntry(const QFont& f, QPaintDevice* device) : font(f), metrics(f, device) {
        byteAdvances.fill(-1);
        height = static_cast<int>(std::lround(metrics.height()));
        description.weight = font.weight();
        description.italic = font.italic();
        description.face = utf8ToCp949(QFontInfo(font).family().toStdString());
    }
};

QtSurface::QtSurface(QPaintDevice* device)
    : device_(device), clientWidth_(device ? device->width() : 0),
      clientHeight_(device ? device->height() : 0) {
    registerFont(QFont());
}

QtSurface::~QtSurface() = default;

void QtSurface::setPainter(QPainter* painter) {
    painter_ = painter;
    if (painter_)
        painter_->setFont(entry().font);
}

void QtSurface::setClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

FontId QtSurface::registerFont(QFont font) {
    // Widths must add up: no kerning, no ligatures.
    font.setKerning(false);
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    fonts_.push_back(std::make_unique<FontEntry>(font, device_));
    return static_cast<FontId>(fonts_.size() - 1);
}

FontId QtSurface::addFont(const QFont& font) {
    return registerFont(font);
}

const QFont& QtSurface::font(FontId id) const {
    return fonts_[static_cast<std::size_t>(id)]->font;
}

QString QtSurface::toUnicode(std::string_view cp949) {
    std::string key(cp949);
    if (const auto it = unicodeCache_.find(key); it != unicodeCache_.end())
        return it->second;
    if (unicodeCache_.size() >= kUnicodeCacheLimit)
        unicodeCache_.clear();
    const std::string utf8 = cp949ToUtf8(cp949);
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    unicodeCache_.emplace(std::move(key), text);
    return text;
}

namespace {

std::int32_t measureAdvance(const QFontMetricsF& metrics, std::string_view character) {
    const std::string utf8 = cp949ToUtf8(character);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return static_cast<std::int32_t>(std::llround(metrics.horizontalAdvance(text) * 64));
}

} // namespace

// Advances are looked up on every measurement of the layout: the cached case stays short.
inline std::int64_t QtSurface::FontEntry::advance(std::string_view character) {
    std::int32_t* slot = nullptr;
    if (character.size() == 1) {
        slot = &byteAdvances[static_cast<unsigned char>(character[0])];
    } else {
        if (wideAdvances.empty())
            wideAdvances.assign(65536, -1);
        slot = &wideAdvances[static_cast<unsigned char>(character[0]) << 8 |
                             static_cast<unsigned char>(character[1])];
    }
    if (*slot < 0)
        *slot = measureAdvance(metrics, character);
    return *slot;
}

std::int64_t QtSurface::characterAdvance(std::string_view character) {
    return entry().advance(character);
}

TextExtent QtSurface::textExtent(std::string_view text) {
    FontEntry& f = entry();
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        sum += f.advance(text.substr(i, length));
        i += length;
    }
    return {widthFromAdvances(sum), f.height};
}

std::size_t QtSurface::fitCount(std::string_view text, int available) {
    FontEntry& f = entry();
    return fitCountByAdvances(text, available, [&f](std::string_view c) { return f.advance(c); });
}

FontDescription QtSurface::fontDescription() {
    return entry().description;
}

int QtSurface::dpiX() const {
    return device_ ? device_->logicalDpiX() : 96;
}

int QtSurface::dpiY() const {
    return device_ ? device_->logicalDpiY() : 96;
}

FontId QtSurface::createFont(const FontRequest& request) {
    const RequestKey key{request.height, request.cellHeight, request.weight,
                         request.italic, request.face,       static_cast<int>(request.pitch)};
    if (const auto it = requested_.find(key); it != requested_.end())
        return it->second;
    QFont font(QString::fromStdString(cp949ToUtf8(request.face)));
    const int height = std::max(request.height, 1);
    font.setPixelSize(height);
    font.setWeight(QFont::Weight(std::clamp(request.weight, 1, 1000)));
    font.setItalic(request.italic);
    if (request.pitch == FontPitch::Variable)
        font.setFixedPitch(false);
    if (request.cellHeight) {
        // A cell height includes the internal leading: scale the em size to fit it.
        const double cell = QFontMetricsF(font, device_).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / cell))));
    }
    const FontId id = registerFont(font);
    requested_.emplace(key, id);
    return id;
}

FontId QtSurface::selectFont(FontId font) {
    const FontId previous = current_;
    if (font >= 0 && static_cast<std::size_t>(font) < fonts_.size())
        current_ = font;
    if (painter_)
        painter_->setFont(entry().font);
    return previous;
}

void QtSurface::drawText(int x, int y, std::string_view text) {
    if (!painter_ || text.empty())
        return;
    painter_->setPen(toQColor(textColor_));
    painter_->setFont(entry().font);
    painter_->drawText(QPointF(x, y + entry().metrics.ascent()), toUnicode(text));
}

void QtSurface::fillRect(int x, int y, int width, int height, std::uint32_t color) {
    if (painter_)
        painter_->fillRect(x, y, width, height, toQColor(color));
}

void QtSurface::newPage() {
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device_))
        paged->newPage();
}

} // namespace qel
