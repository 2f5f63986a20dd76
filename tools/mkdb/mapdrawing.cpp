#include "mkdb/mapdrawing.h"

#include "app/fontresolver.h"
#include "mkdb/mapplaces.h"
#include "mkdb/sourcerecords.h"
#include "reference/mapframe.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace qel::mkdb {
namespace {

// GSHHG land mask values asked of GMT: sea, land (islands in lakes too), lake.
constexpr unsigned char kSea = 0, kLand = 1, kLake = 2;

const QColor kSeaColour(0xC6, 0xE0, 0xF0);
const QColor kLandColour(0xF4, 0xEC, 0xD2);
const QColor kLakeColour(0xA4, 0xCE, 0xEA);
const QColor kShoreColour(0x3C, 0x6C, 0x94);
const QColor kRiverColour(0x3A, 0x80, 0xC0);
const QColor kGridColour(0x9A, 0x45, 0x30);
const QColor kLandNameColour(0x9A, 0x5B, 0x2E);
const QColor kWaterNameColour(0x2A, 0x5C, 0x8A);
const QColor kPlaceColour(0x55, 0x18, 0x0A);
const QColor kRouteColours[] = {QColor(0xD0, 0x20, 0x20), QColor(0x10, 0x80, 0x30),
                                QColor(0x20, 0x40, 0xC0), QColor(0x90, 0x20, 0x90)};

struct Segment {
    int level = 0;
    QPolygonF points;
};

enum class RegionKind { Land, Water, Dry };

struct Region {
    int map;
    double latitude, longitude;
    RegionKind kind;
    QString name;
};

struct RouteStop {
    double latitude, longitude;
    QString name;
};

struct Journey {
    int number = 0;
    QString legend;
    std::vector<RouteStop> stops;
};

QString gmtRegion(const MapProjection& p) {
    return QStringLiteral("-R%1/%2/%3/%4")
        .arg(p.west, 0, 'f', 4)
        .arg(p.east, 0, 'f', 4)
        .arg(p.south, 0, 'f', 4)
        .arg(p.north, 0, 'f', 4);
}

QByteArray runGmt(const QString& folder, const QStringList& arguments) {
    QProcess gmt;
    gmt.setWorkingDirectory(folder);
    gmt.start(QStringLiteral("gmt"), arguments);
    if (!gmt.waitForFinished(120000) || gmt.exitStatus() != QProcess::NormalExit ||
        gmt.exitCode() != 0)
        throw std::runtime_error("gmt " + arguments.join(' ').toStdString() +
                                 " failed: " + gmt.readAllStandardError().toStdString());
    return gmt.readAllStandardOutput();
}

// Land, sea and lake of every pixel of the large bitmap, rows from the top.
QByteArray landMask(const QString& folder, const MapProjection& p) {
    runGmt(folder,
           {QStringLiteral("grdlandmask"), gmtRegion(p),
            QStringLiteral("-I%1+n/%2+n").arg(p.width).arg(p.height), QStringLiteral("-r"),
            QStringLiteral("-Dh"), QStringLiteral("-N0/1/2/1/2"), QStringLiteral("-Gmask.nc")});
    QByteArray mask = runGmt(
        folder, {QStringLiteral("grd2xyz"), QStringLiteral("mask.nc"), QStringLiteral("-ZTLc")});
    if (mask.size() != qsizetype(p.width) * p.height)
        throw std::runtime_error("gmt grd2xyz: unexpected land mask size");
    return mask;
}

// Shorelines (-W) or rivers (-Ir) as pixel polylines with their GSHHG level.
std::vector<Segment> lines(const QString& folder, const MapProjection& p, const QString& what) {
    const QByteArray text = runGmt(folder, {QStringLiteral("coast"), gmtRegion(p),
                                            QStringLiteral("-Dh"), what, QStringLiteral("-M")});
    std::vector<Segment> segments;
    std::istringstream in(text.toStdString());
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        if (line[0] == '>') {
            Segment segment;
            if (const auto at = line.find("Level "); at != std::string::npos)
                segment.level = std::atoi(line.c_str() + at + 6);
            segments.push_back(std::move(segment));
            continue;
        }
        double longitude = 0, latitude = 0;
        if (segments.empty() || std::sscanf(line.c_str(), "%lf %lf", &longitude, &latitude) != 2)
            continue;
        segments.back().points << QPointF(p.x(longitude), p.y(latitude));
    }
    return segments;
}

std::vector<std::string> tabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

std::ifstream openSource(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw SourceError(path + ":0: cannot read file");
    return in;
}

std::vector<Region> readRegions(const std::string& path) {
    std::ifstream in = openSource(path);
    std::vector<Region> regions;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> f = tabFields(line);
        if (f.size() != 5 || (f[3] != "land" && f[3] != "water" && f[3] != "dry"))
            throw SourceError(path + ":" + std::to_string(number) +
                              ": expected map, latitude, longitude, land, water or dry, name");
        const RegionKind kind = f[3] == "land"    ? RegionKind::Land
                                : f[3] == "water" ? RegionKind::Water
                                                  : RegionKind::Dry;
        regions.push_back({std::atoi(f[0].c_str()), std::atof(f[1].c_str()),
                           std::atof(f[2].c_str()), kind, QString::fromStdString(f[4])});
    }
    return regions;
}

std::vector<Journey> readJourneys(const std::string& path) {
    std::ifstream in = openSource(path);
    std::vector<Journey> journeys;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> f = tabFields(line);
        const auto fail = [&] {
            throw SourceError(path + ":" + std::to_string(number) + ": malformed route line");
        };
        if (f[0] == "journey") {
            if (f.size() != 3)
                fail();
            journeys.push_back({std::atoi(f[1].c_str()), QString::fromStdString(f[2]), {}});
            continue;
        }
        if (journeys.empty() || f.size() < 2 || f.size() > 3)
            fail();
        journeys.back().stops.push_back({std::atof(f[0].c_str()), std::atof(f[1].c_str()),
                                         f.size() == 3 ? QString::fromStdString(f[2]) : QString()});
    }
    return journeys;
}

QFont labelFont(const char* face, int pixels, bool bold = false) {
    QFont font{QString::fromUtf8(face)};
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Text with a pale halo so that it reads over coasts, rivers and grid lines.
void haloText(QPainter& painter, const QPointF& baseline, const QString& text, const QFont& font,
              const QColor& colour) {
    QPainterPath path;
    path.addText(baseline, font, text);
    painter.strokePath(
        path, QPen(QColor(255, 255, 255, 210), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, colour);
}

// Labels are set where they overlap nothing set before; a label without room is left off
// and its mark stays.
class LabelSpace {
public:
    explicit LabelSpace(QRectF bounds) : bounds_(bounds) {}
    void reserve(const QRectF& area) { taken_.push_back(area); }
    bool fits(const QRectF& area) const {
        if (!bounds_.contains(area))
            return false;
        return std::none_of(taken_.begin(), taken_.end(),
                            [&](const QRectF& t) { return t.intersects(area); });
    }

private:
    QRectF bounds_;
    std::vector<QRectF> taken_;
};

// A place name beside its mark: right, left, above or below, whichever is free first.
void placeLabel(QPainter& painter, LabelSpace& space, const QPointF& at, const QString& name,
                const QFont& font) {
    const QFontMetricsF metrics(font);
    const double w = metrics.horizontalAdvance(name), h = metrics.height();
    const QPointF offsets[] = {{6, -h / 2}, {-6 - w, -h / 2}, {-w / 2, -h - 4}, {-w / 2, 4}};
    for (const QPointF& offset : offsets) {
        const QRectF box(at + offset, QSizeF(w, h));
        if (!space.fits(box))
            continue;
        space.reserve(box);
        haloText(painter, QPointF(box.left(), box.top() + metrics.ascent()), name, font,
                 kPlaceColour);
        return;
    }
}

void placeMark(QPainter& painter, const QPointF& at, Certainty certainty) {
    painter.setPen(QPen(kPlaceColour, 1.3));
    painter.setBrush(certainty == Certainty::Uncertain ? QBrush(Qt::white) : QBrush(kPlaceColour));
    painter.drawEllipse(at, 3.2, 3.2);
    if (certainty == Certainty::Likely) {
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, 5.5, 5.5);
    }
}

void routeStop(QPainter& painter, const QPointF& at) {
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(at - QPointF(2.5, 2.5), QSizeF(5, 5)));
}

QPen routePen(int journey) {
    QPen pen(kRouteColours[std::clamp(journey, 1, 4) - 1], 2.2);
    if (journey == 4)
        pen.setStyle(Qt::DashLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

struct MapContent {
    const std::vector<Place>& places;
    const std::vector<PlaceKey>& keys;
    const std::vector<Region>& regions;
    const std::vector<Journey>& journeys;
};

// A lake made in modern times (a reservoir) is land on a map of the ancient world: every
// lake pixel connected to the given point becomes land.
void dryLake(QByteArray& mask, const MapProjection& p, double latitude, double longitude) {
    const int x0 = int(p.x(longitude)), y0 = int(p.y(latitude));
    if (x0 < 0 || y0 < 0 || x0 >= p.width || y0 >= p.height)
        return;
    std::vector<std::pair<int, int>> pending{{x0, y0}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x < 0 || y < 0 || x >= p.width || y >= p.height)
            continue;
        char& pixel = mask[qsizetype(y) * p.width + x];
        if (pixel != char(kLake))
            continue;
        pixel = char(kLand);
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
}

QImage drawBase(int map, const QString& folder, const std::vector<Region>& regions) {
    const MapProjection& p = mapProjection(map);
    QByteArray mask = landMask(folder, p);
    for (const Region& region : regions)
        if (region.map == map && region.kind == RegionKind::Dry)
            dryLake(mask, p, region.latitude, region.longitude);
    QImage image(p.width, p.height, QImage::Format_RGB32);
    const QRgb colours[3] = {kSeaColour.rgb(), kLandColour.rgb(), kLakeColour.rgb()};
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < p.width; ++x) {
            const auto value = static_cast<unsigned char>(mask[qsizetype(y) * p.width + x]);
            row[x] = colours[value <= kLake ? value : kSea];
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool detailed = map <= 2;
    for (const Segment& river : lines(folder, p, QStringLiteral("-Ir"))) {
        if (!detailed && river.level > 2)
            continue;
        const double width = river.level <= 1 ? 1.8 : river.level == 2 ? 1.4 : 1.0;
        painter.setPen(QPen(kRiverColour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(river.points);
    }
    // The sea's shore only: lakes show by their colour, so that a dried lake leaves no
    // outline behind.
    painter.setPen(QPen(kShoreColour, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Segment& shore : lines(folder, p, QStringLiteral("-W")))
        if (shore.level == 1)
            painter.drawPolyline(shore.points);
    return image;
}

// Grid lines where the frame keys put them, and the cells named A-H across and 1-8 down.
void drawGrid(QPainter& painter, int map, LabelSpace& space) {
    const MapGridLines& xs = mapGridX(map);
    const MapGridLines& ys = mapGridY(map);
    const int right = xs.back(), bottom = ys.back();
    painter.setPen(QPen(kGridColour, 1.0));
    for (int k = 0; k < 9; ++k) {
        if (k == 0 || xs[std::size_t(k)] != xs[std::size_t(k - 1)])
            painter.drawLine(QPointF(xs[std::size_t(k)] + 0.5, ys[0]),
                             QPointF(xs[std::size_t(k)] + 0.5, bottom));
        if (k == 0 || ys[std::size_t(k)] != ys[std::size_t(k - 1)])
            painter.drawLine(QPointF(xs[0], ys[std::size_t(k)] + 0.5),
                             QPointF(right, ys[std::size_t(k)] + 0.5));
    }
    const QFont font = labelFont("굴림체", 13, true);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const auto tag = [&](const QRectF& box, const QString& text) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRect(box);
        painter.setPen(kGridColour);
        painter.drawText(box, Qt::AlignCenter, text);
        space.reserve(box);
    };
    for (int c = 0; c < 8; ++c) {
        const int from = xs[std::size_t(c)], to = xs[std::size_t(c) + 1];
        if (to > from)
            tag(QRectF((from + to) / 2.0 - 9, ys[0] + 1, 18, metrics.height()),
                QString(QChar('A' + c)));
    }
    for (int r = 0; r < 8; ++r) {
        const int from = ys[std::size_t(r)], to = ys[std::size_t(r) + 1];
        if (to > from)
            tag(QRectF(xs[0] + 1, (from + to) / 2.0 - metrics.height() / 2, 14, metrics.height()),
                QString::number(r + 1));
    }
}

// The map's name and a scale bar in a box at the given corner of the cells.
const QFont& titleFont() {
    static const QFont font = labelFont("바탕체", 24, true);
    return font;
}

// The scale bar's length: 20 km on the Palestine maps, 200 km on the others.
int scaleKm(int map) {
    return map <= 2 ? 20 : 200;
}

// The box of the map's name and scale bar with its top left at the corner.
QRectF titleBox(int map, const QPointF& corner) {
    const double barWidth = scaleKm(map) * mapProjection(map).pixelsPerKm();
    const QFontMetricsF metrics(titleFont());
    const double width =
        std::max(metrics.horizontalAdvance(QString::fromUtf8(mapNameUtf8(map))), barWidth + 60);
    return QRectF(corner, QSizeF(width + 24, metrics.height() + 44));
}

void drawTitle(QPainter& painter, int map, const QRectF& box) {
    const int km = scaleKm(map);
    const double barWidth = km * mapProjection(map).pixelsPerKm();
    painter.setPen(QPen(kGridColour, 1.5));
    painter.setBrush(QColor(255, 252, 240));
    painter.drawRect(box);
    painter.setFont(titleFont());
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(12, 6, -12, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromUtf8(mapNameUtf8(map)));
    const QPointF bar(box.left() + 12, box.bottom() - 16);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(bar, QSizeF(barWidth / 2, 5)));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(bar + QPointF(barWidth / 2, 0), QSizeF(barWidth / 2, 5)));
    painter.setFont(labelFont("굴림체", 12));
    painter.drawText(QPointF(bar.x() + barWidth + 6, bar.y() + 7), QStringLiteral("%1 km").arg(km));
}

QImage drawMap(int map, const QString& folder, const MapContent& content) {
    QImage image = drawBase(map, folder, content.regions);
    const MapProjection& p = mapProjection(map);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    LabelSpace space(QRectF(0, 0, p.width, p.height));
    drawGrid(painter, map, space);
    static const QPointF kTitleCorners[kMapCount] = {{60, 40}, {40, 40}, {230, 560}, {560, 650}};
    // The title box is drawn last, over any mark beneath it; labels keep clear of it.
    const QRectF title = titleBox(map, kTitleCorners[map - 1]);
    space.reserve(title);

    const QFont landFont = labelFont("바탕체", map <= 2 ? 22 : 18, true);
    QFont waterFont = labelFont("바탕체", map <= 2 ? 17 : 16);
    waterFont.setItalic(true);
    QFont spaced = landFont;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, map <= 2 ? 6 : 3);
    for (const Region& region : content.regions) {
        if (region.map != map || region.kind == RegionKind::Dry)
            continue;
        // A place of that name carries it already (the Sea of Galilee on map 2).
        const std::string name = region.name.toStdString();
        if (std::any_of(content.places.begin(), content.places.end(), [&](const Place& place) {
                return place.name == name &&
                       QRectF(0, 0, p.width, p.height)
                           .contains(QPointF(p.x(place.longitude), p.y(place.latitude)));
            }))
            continue;
        const bool water = region.kind == RegionKind::Water;
        const QFont& font = water ? waterFont : spaced;
        const QFontMetricsF metrics(font);
        const double w = metrics.horizontalAdvance(region.name);
        const QPointF centre(p.x(region.longitude), p.y(region.latitude));
        QColor colour = water ? kWaterNameColour : kLandNameColour;
        if (!water)
            colour.setAlpha(190);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(QPointF(centre.x() - w / 2, centre.y() + metrics.ascent() / 2),
                         region.name);
        space.reserve(
            QRectF(centre.x() - w / 2, centre.y() - metrics.ascent() / 2, w, metrics.height()));
    }

    const QFont placeFont = labelFont("굴림체", map <= 2 ? 13 : 12);
    std::vector<std::pair<QPointF, QString>> stops;
    if (map == 3) {
        for (const Journey& journey : content.journeys) {
            QPolygonF line;
            for (const RouteStop& stop : journey.stops) {
                line << QPointF(p.x(stop.longitude), p.y(stop.latitude));
                if (!stop.name.isEmpty())
                    stops.emplace_back(line.back(), stop.name);
            }
            painter.setPen(routePen(journey.number));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(line);
        }
    }
    // Marks first, so that no label covers another place's mark; then the names, those
    // whose key points at this map first.
    // A mark that would sit on one already drawn adds nothing: on the overview maps the
    // places of Palestine lie a few pixels apart, and there a mark keeps more room.
    const double markSpacing = map <= 2 ? 4 : 8;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < content.places.size(); ++i)
        order.push_back(i);
    std::stable_partition(order.begin(), order.end(), [&](std::size_t i) {
        return !content.keys[i].key.empty() && content.keys[i].key[0] == char('0' + map);
    });
    std::vector<std::size_t> marked;
    std::vector<QPointF> marks;
    for (std::size_t i : order) {
        const Place& place = content.places[i];
        const QPointF at(p.x(place.longitude), p.y(place.latitude));
        if (!QRectF(0, 0, p.width, p.height).contains(at) ||
            std::any_of(marks.begin(), marks.end(),
                        [&](const QPointF& m) { return QLineF(m, at).length() < markSpacing; }))
            continue;
        placeMark(painter, at, place.certainty);
        space.reserve(QRectF(at - QPointF(4, 4), QSizeF(8, 8)));
        marks.push_back(at);
        marked.push_back(i);
    }
    order = marked;
    for (std::size_t i : order) {
        const Place& place = content.places[i];
        placeLabel(painter, space, QPointF(p.x(place.longitude), p.y(place.latitude)),
                   QString::fromStdString(place.name), placeFont);
    }
    // Route stops that the places do not mark get a small mark and their name.
    for (const auto& [at, name] : stops) {
        const bool marked = std::any_of(order.begin(), order.end(), [&](std::size_t i) {
            const Place& place = content.places[i];
            return QLineF(at, QPointF(p.x(place.longitude), p.y(place.latitude))).length() < 6;
        });
        if (marked)
            continue;
        routeStop(painter, at);
        placeLabel(painter, space, at, name, placeFont);
    }
    drawTitle(painter, map, title);
    return image;
}

// Cells of non-zero size along one axis.
int cellCount(const MapGridLines& lines) {
    int count = 0;
    for (std::size_t k = 0; k + 1 < lines.size(); ++k)
        count += lines[k + 1] > lines[k];
    return count;
}

// The symbols of a map explained, one line each.
QImage drawLegend(int map, const std::vector<Journey>& journeys) {
    enum class Symbol { Sure, Likely, Uncertain, Land, Water, River, Shore, Grid, Stop, Route };
    struct Row {
        Symbol symbol;
        QString text;
        int journey = 0;
    };
    std::vector<Row> rows = {{Symbol::Sure, QStringLiteral("위치가 확실한 곳")},
                             {Symbol::Likely, QStringLiteral("위치를 추정하는 곳")},
                             {Symbol::Uncertain, QStringLiteral("위치가 불확실한 곳")},
                             {Symbol::Land, QStringLiteral("땅, 나라, 민족")},
                             {Symbol::Water, QStringLiteral("바다, 호수, 강 이름")},
                             {Symbol::River, QStringLiteral("강")},
                             {Symbol::Shore, QStringLiteral("해안선")},
                             {Symbol::Grid, QStringLiteral("격자 (가로 A-%1, 세로 1-%2)")
                                                .arg(QChar('A' + cellCount(mapGridX(map)) - 1))
                                                .arg(cellCount(mapGridY(map)))}};
    if (map == 3) {
        rows.push_back({Symbol::Stop, QStringLiteral("여행 중 들른 곳")});
        for (const Journey& journey : journeys)
            rows.push_back({Symbol::Route, journey.legend, journey.number});
    }
    const QFont font = labelFont("굴림체", 13);
    const QFontMetricsF metrics(font);
    const int rowHeight = 24, symbolWidth = 46;
    double width = 0;
    for (const Row& row : rows)
        width = std::max(width, metrics.horizontalAdvance(row.text));
    QImage image(int(symbolWidth + width + 24), int(rows.size()) * rowHeight + 12,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const double y = 6 + double(i) * rowHeight + rowHeight / 2.0;
        const QPointF centre(6 + symbolWidth / 2.0, y);
        const QPointF left(10, y), right(symbolWidth, y);
        switch (row.symbol) {
        case Symbol::Sure:
            placeMark(painter, centre, Certainty::Sure);
            break;
        case Symbol::Likely:
            placeMark(painter, centre, Certainty::Likely);
            break;
        case Symbol::Uncertain:
            placeMark(painter, centre, Certainty::Uncertain);
            break;
        case Symbol::Land:
        case Symbol::Water: {
            const bool land = row.symbol == Symbol::Land;
            QFont sample = labelFont("바탕체", 15, land);
            sample.setItalic(!land);
            painter.setFont(sample);
            painter.setPen(land ? kLandNameColour : kWaterNameColour);
            painter.drawText(QRectF(6, y - 10, symbolWidth, 20), Qt::AlignCenter,
                             QStringLiteral("가나"));
            break;
        }
        case Symbol::River:
            painter.setPen(QPen(kRiverColour, 1.8));
            painter.drawLine(left, right);
            break;
        case Symbol::Shore:
            painter.fillRect(QRectF(left.x(), y - 8, right.x() - left.x(), 8), kSeaColour);
            painter.fillRect(QRectF(left.x(), y, right.x() - left.x(), 8), kLandColour);
            painter.setPen(QPen(kShoreColour, 1.1));
            painter.drawLine(left, right);
            break;
        case Symbol::Grid:
            painter.setPen(QPen(kGridColour, 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(left.x(), y - 8, right.x() - left.x(), 16));
            break;
        case Symbol::Stop:
            routeStop(painter, centre);
            break;
        case Symbol::Route:
            painter.setPen(routePen(row.journey));
            painter.drawLine(left, right);
            break;
        }
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(symbolWidth + 14, y + metrics.ascent() / 2 - 1), row.text);
    }
    return image;
}

void save(const QImage& image, const std::string& path) {
    if (!image.save(QString::fromStdString(path), "BMP"))
        throw std::runtime_error(path + ": cannot write bitmap");
}

} // namespace

void drawMaps(const std::string& dataDir, const std::string& mapFolder,
              const std::function<void(const std::string&)>& progress) {
    installFontSubstitutions();
    const std::string sources = dataDir + "/maps/";
    std::vector<Place> places;
    // The places are optional: without them the maps carry no place marks.
    if (std::ifstream in(sources + "places.txt"); in)
        places = readPlaces(in, sources + "places.txt");
    std::ifstream ntIn = openSource(sources + "ntplaces.txt");
    const std::vector<PlaceKey> keys = placeKeys(places, readNameList(ntIn));
    const std::vector<Region> regions = readRegions(sources + "regions.txt");
    const std::vector<Journey> journeys = readJourneys(sources + "routes.txt");
    const MapContent content{places, keys, regions, journeys};

    QTemporaryDir work;
    if (!work.isValid())
        throw std::runtime_error("cannot make a temporary folder for gmt");
    std::filesystem::create_directories(mapFolder);
    for (int map = 1; map <= kMapCount; ++map) {
        progress("drawing map " + std::to_string(map));
        const QImage large = drawMap(map, work.path(), content);
        save(large, mapFileName(mapFolder, map, 'b'));
        save(large.scaled(large.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
             mapFileName(mapFolder, map, 's'));
        save(drawLegend(map, journeys), mapFileName(mapFolder, map, 'i'));
    }
}

} // namespace qel::mkdb
