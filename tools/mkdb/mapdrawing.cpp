#include "mkdb/mapdrawing.h"

#include "app/fontresolver.h"
#include "mkdb/labelplacement.h"
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
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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

// Sizes below are in pixels of the bitmap drawn; k is the number of large-bitmap pixels
// per pixel drawn (1 on the large bitmap, 2 on the half-size one), since both are laid
// out in the large bitmap's coordinates.
// The outer ring of a likely place's mark.
constexpr double kMarkRadius = 5.5;

void placeMark(QPainter& painter, const QPointF& at, Certainty certainty, double k = 1) {
    painter.setPen(QPen(kPlaceColour, 1.3 * k));
    painter.setBrush(certainty == Certainty::Uncertain ? QBrush(Qt::white) : QBrush(kPlaceColour));
    painter.drawEllipse(at, 3.2 * k, 3.2 * k);
    if (certainty == Certainty::Likely) {
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, kMarkRadius * k, kMarkRadius * k);
    }
}

void routeStop(QPainter& painter, const QPointF& at, double k = 1) {
    painter.setPen(QPen(Qt::black, 1.0 * k));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(at - QPointF(2.5, 2.5) * k, QSizeF(5, 5) * k));
}

QPen routePen(int journey, double k = 1) {
    QPen pen(kRouteColours[(std::max(journey, 1) - 1) % 4], 2.2 * k);
    if (journey == 4)
        pen.setStyle(Qt::DashLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A map topic's drawing over its map: routes, shaded areas and the places it names.
struct OverlayRoute {
    QString legend;
    bool dashed = false;
    std::vector<RouteStop> points;
};
struct Overlay {
    std::string key;
    int map = 0;
    std::vector<OverlayRoute> routes;
    std::vector<OverlayRoute> areas;
    std::set<std::string> sites;
};

const QColor kAreaColours[] = {QColor(0xE0, 0x60, 0x30, 70), QColor(0x30, 0x80, 0xD0, 70),
                               QColor(0xD0, 0xB0, 0x20, 80), QColor(0x80, 0x50, 0x20, 70),
                               QColor(0x40, 0xA0, 0x40, 70), QColor(0xA0, 0x40, 0xB0, 70)};

QPen overlayPen(const OverlayRoute& route, std::size_t index, double k) {
    QPen pen(kRouteColours[index % 4], 3.0 * k);
    pen.setStyle(route.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

struct MapContent {
    std::vector<Place> places;
    std::vector<PlaceKey> keys;
    std::vector<Region> regions;
    std::vector<Journey> journeys;
    std::set<std::string> important;
    std::vector<Overlay> overlays;
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

LabelBox toBox(const QRectF& r) {
    return {r.left(), r.top(), r.right(), r.bottom()};
}

struct TextLabel {
    QString text;
    QFont font;
    QColor colour;
    QRectF box;
};

struct MapPoint {
    QPointF at;
    QString name;
    Certainty certainty = Certainty::Sure;
    bool stop = false; // a stop of Paul's journeys that the places do not mark
};

// Everything set on a map at one scale, positions in large-bitmap pixels.
struct MapLabels {
    double k = 1;
    std::vector<std::pair<QRectF, QString>> tags;
    QRectF title;
    std::vector<TextLabel> regions;
    std::vector<MapPoint> points;
    QFont placeFont;
    LabelLayout layout;
};

// The cells named A-H across and 1-8 down, along the top and left grid lines.
std::vector<std::pair<QRectF, QString>> gridTags(int map, double k) {
    const MapGridLines& xs = mapGridX(map);
    const MapGridLines& ys = mapGridY(map);
    const double h = QFontMetricsF(labelFont("굴림체", int(13 * k), true)).height();
    std::vector<std::pair<QRectF, QString>> tags;
    for (int c = 0; c < 8; ++c) {
        const int from = xs[std::size_t(c)], to = xs[std::size_t(c) + 1];
        if (to > from)
            tags.emplace_back(QRectF((from + to) / 2.0 - 9 * k, ys[0] + 1, 18 * k, h),
                              QString(QChar('A' + c)));
    }
    for (int r = 0; r < 8; ++r) {
        const int from = ys[std::size_t(r)], to = ys[std::size_t(r) + 1];
        if (to > from)
            tags.emplace_back(QRectF(xs[0] + 1, (from + to) / 2.0 - h / 2, 14 * k, h),
                              QString::number(r + 1));
    }
    return tags;
}

void drawGrid(QPainter& painter, int map, const MapLabels& labels) {
    const MapGridLines& xs = mapGridX(map);
    const MapGridLines& ys = mapGridY(map);
    const int right = xs.back(), bottom = ys.back();
    painter.setPen(QPen(kGridColour, 1.0 * labels.k));
    for (int k = 0; k < 9; ++k) {
        if (k == 0 || xs[std::size_t(k)] != xs[std::size_t(k - 1)])
            painter.drawLine(QPointF(xs[std::size_t(k)] + 0.5, ys[0]),
                             QPointF(xs[std::size_t(k)] + 0.5, bottom));
        if (k == 0 || ys[std::size_t(k)] != ys[std::size_t(k - 1)])
            painter.drawLine(QPointF(xs[0], ys[std::size_t(k)] + 0.5),
                             QPointF(right, ys[std::size_t(k)] + 0.5));
    }
    painter.setFont(labelFont("굴림체", int(13 * labels.k), true));
    for (const auto& [box, text] : labels.tags) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRect(box);
        painter.setPen(kGridColour);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

// The scale bar's length: 20 km on the Palestine maps, 200 km on the others.
int scaleKm(int map) {
    return map <= 2 ? 20 : 200;
}

// The box of the map's name and scale bar with its top left at the corner.
QRectF titleBox(int map, const QPointF& corner, double k) {
    const double barWidth = scaleKm(map) * mapProjection(map).pixelsPerKm();
    const QFontMetricsF metrics(labelFont("바탕체", int(24 * k), true));
    const double width =
        std::max(metrics.horizontalAdvance(QString::fromUtf8(mapNameUtf8(map))), barWidth + 60 * k);
    return QRectF(corner, QSizeF(width + 24 * k, metrics.height() + 44 * k));
}

void drawTitle(QPainter& painter, int map, const QRectF& box, double k) {
    const int km = scaleKm(map);
    const double barWidth = km * mapProjection(map).pixelsPerKm();
    painter.setPen(QPen(kGridColour, 1.5 * k));
    painter.setBrush(QColor(255, 252, 240));
    painter.drawRect(box);
    painter.setFont(labelFont("바탕체", int(24 * k), true));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(12 * k, 6 * k, -12 * k, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromUtf8(mapNameUtf8(map)));
    const QPointF bar(box.left() + 12 * k, box.bottom() - 16 * k);
    painter.setPen(QPen(Qt::black, 1.5 * k));
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(bar, QSizeF(barWidth / 2, 5 * k)));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(bar + QPointF(barWidth / 2, 0), QSizeF(barWidth / 2, 5 * k)));
    painter.setFont(labelFont("굴림체", int(12 * k)));
    painter.drawText(QPointF(bar.x() + barWidth + 6 * k, bar.y() + 7 * k),
                     QStringLiteral("%1 km").arg(km));
}

bool onMap(const MapProjection& p, const QPointF& at) {
    return QRectF(0, 0, p.width, p.height).contains(at);
}

std::vector<TextLabel> regionLabels(int map, const MapContent& content, double k) {
    const MapProjection& p = mapProjection(map);
    const QFont landFont = labelFont("바탕체", int((map <= 2 ? 22 : 18) * k), true);
    QFont waterFont = labelFont("바탕체", int((map <= 2 ? 17 : 16) * k));
    waterFont.setItalic(true);
    QFont spaced = landFont;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, (map <= 2 ? 6 : 3) * k);
    std::vector<TextLabel> labels;
    for (const Region& region : content.regions) {
        if (region.map != map || region.kind == RegionKind::Dry)
            continue;
        // A place of that name carries it already (the Sea of Galilee on map 2).
        const std::string name = region.name.toStdString();
        if (std::any_of(content.places.begin(), content.places.end(), [&](const Place& place) {
                return place.name == name &&
                       onMap(p, QPointF(p.x(place.longitude), p.y(place.latitude)));
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
        labels.push_back(
            {region.name, font, colour,
             QRectF(centre.x() - w / 2, centre.y() - metrics.height() / 2, w, metrics.height())});
    }
    return labels;
}

// The places on the map, those whose key points at it first, then the stops of Paul's
// journeys that no place marks.
std::vector<MapPoint> mapPoints(int map, const MapContent& content) {
    const MapProjection& p = mapProjection(map);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < content.places.size(); ++i)
        order.push_back(i);
    std::stable_partition(order.begin(), order.end(), [&](std::size_t i) {
        return !content.keys[i].key.empty() && content.keys[i].key[0] == char('0' + map);
    });
    std::vector<MapPoint> points;
    for (std::size_t i : order) {
        const Place& place = content.places[i];
        const QPointF at(p.x(place.longitude), p.y(place.latitude));
        if (onMap(p, at))
            points.push_back({at, QString::fromStdString(place.name), place.certainty, false});
    }
    if (map != 3)
        return points;
    for (const Journey& journey : content.journeys)
        for (const RouteStop& stop : journey.stops) {
            const QPointF at(p.x(stop.longitude), p.y(stop.latitude));
            const bool marked =
                stop.name.isEmpty() ||
                std::any_of(points.begin(), points.end(), [&](const MapPoint& point) {
                    return QLineF(at, point.at).length() < 6;
                });
            if (!marked)
                points.push_back({at, stop.name, Certainty::Sure, true});
        }
    return points;
}

const QPointF kTitleCorners[kMapCount] = {{60, 40}, {40, 40}, {230, 560}, {560, 650}};

MapLabels layoutLabels(int map, double k, const MapContent& content, const Overlay* overlay) {
    const MapProjection& p = mapProjection(map);
    MapLabels labels;
    labels.k = k;
    labels.tags = gridTags(map, k);
    // The title keeps clear of the cell tags along the top and left grid lines.
    QPointF corner = kTitleCorners[map - 1];
    for (const auto& tag : labels.tags) {
        const bool top = tag.first.top() <= mapGridY(map)[0] + 1;
        if (top && corner.y() < tag.first.bottom() + 4)
            corner.setY(tag.first.bottom() + 4);
        if (!top && corner.x() < tag.first.right() + 4)
            corner.setX(tag.first.right() + 4);
    }
    labels.title = titleBox(map, corner, k);
    labels.regions = regionLabels(map, content, k);
    labels.points = mapPoints(map, content);
    labels.placeFont = labelFont("굴림체", int((map <= 2 ? 13 : 12) * k));
    const QFontMetricsF metrics(labels.placeFont);
    std::vector<LabelBox> fixed;
    for (const auto& tag : labels.tags)
        fixed.push_back(toBox(tag.first));
    fixed.push_back(toBox(labels.title));
    std::vector<LabelBox> regions;
    for (const TextLabel& region : labels.regions)
        regions.push_back(toBox(region.box));
    std::vector<LabelRequest> requests;
    for (const MapPoint& point : labels.points) {
        const std::string name = point.name.toStdString();
        const bool important = !point.stop && (content.important.count(name) ||
                                               (overlay && overlay->sites.count(name)));
        requests.push_back({point.at.x(), point.at.y(), metrics.horizontalAdvance(point.name),
                            metrics.height(), important});
    }
    // A mark's box holds the outer ring of a likely place; marks nearer than two of them
    // would run together into a cluster.
    const LabelRules rules{
        {0, 0, double(p.width), double(p.height)}, kMarkRadius * k, 2 * kMarkRadius * k, 6 * k};
    labels.layout = placeLabels(requests, fixed, rules, regions);
    // Region names go where the placing moved them; those without room are left off.
    std::vector<TextLabel> placed;
    for (std::size_t i = 0; i < regions.size(); ++i)
        if (const auto& box = labels.layout.regions[i]) {
            placed.push_back(labels.regions[i]);
            placed.back().box =
                QRectF(QPointF(box->left, box->top), QPointF(box->right, box->bottom));
        }
    labels.regions = std::move(placed);
    return labels;
}

// Text with a pale halo so that it reads over coasts, rivers and grid lines.
void haloText(QPainter& painter, const QPointF& baseline, const QString& text, const QFont& font,
              const QColor& colour, double k) {
    QPainterPath path;
    path.addText(baseline, font, text);
    painter.strokePath(path, QPen(QColor(255, 255, 255, 210), 3.0 * k, Qt::SolidLine, Qt::RoundCap,
                                  Qt::RoundJoin));
    painter.fillPath(path, colour);
}

void drawOverlayShapes(QPainter& painter, int map, const Overlay& overlay, double k) {
    const MapProjection& p = mapProjection(map);
    const auto polygon = [&](const OverlayRoute& route) {
        QPolygonF line;
        for (const RouteStop& point : route.points)
            line << QPointF(p.x(point.longitude), p.y(point.latitude));
        return line;
    };
    for (std::size_t i = 0; i < overlay.areas.size(); ++i) {
        QColor edge = kAreaColours[i % 6];
        edge.setAlpha(200);
        painter.setPen(QPen(edge, 1.5 * k, Qt::DashLine));
        painter.setBrush(kAreaColours[i % 6]);
        painter.drawPolygon(polygon(overlay.areas[i]));
    }
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < overlay.routes.size(); ++i) {
        const QPolygonF line = polygon(overlay.routes[i]);
        painter.setPen(overlayPen(overlay.routes[i], i, k));
        painter.drawPolyline(line);
        // An arrowhead at the end shows the way.
        if (line.size() >= 2) {
            const QLineF last(line[line.size() - 2], line.back());
            const double a = std::atan2(-last.dy(), last.dx());
            const double s = 11 * k;
            QPolygonF head;
            head << line.back()
                 << line.back() - QPointF(std::cos(a + 0.45) * s, -std::sin(a + 0.45) * s)
                 << line.back() - QPointF(std::cos(a - 0.45) * s, -std::sin(a - 0.45) * s);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kRouteColours[i % 4]);
            painter.drawPolygon(head);
            painter.setBrush(Qt::NoBrush);
        }
    }
}

// The map's picture over its base at one scale (reduction 1 large, 2 half size), with a
// map topic's overlay if given.
QImage drawMap(int map, const QImage& base, const MapContent& content, int reduction,
               const Overlay* overlay) {
    const double k = reduction;
    QImage image = reduction == 1 ? base
                                  : base.scaled(base.size() / reduction, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation);
    const MapProjection& p = mapProjection(map);
    const MapLabels labels = layoutLabels(map, k, content, overlay);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(1 / k, 1 / k);
    drawGrid(painter, map, labels);
    for (const TextLabel& region : labels.regions) {
        painter.setFont(region.font);
        painter.setPen(region.colour);
        painter.drawText(
            QPointF(region.box.left(), region.box.top() + QFontMetricsF(region.font).ascent()),
            region.text);
    }
    if (map == 3 && !overlay) {
        for (const Journey& journey : content.journeys) {
            QPolygonF line;
            for (const RouteStop& stop : journey.stops)
                line << QPointF(p.x(stop.longitude), p.y(stop.latitude));
            painter.setPen(routePen(journey.number, k));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(line);
        }
    }
    if (overlay)
        drawOverlayShapes(painter, map, *overlay, k);
    const QFontMetricsF metrics(labels.placeFont);
    for (std::size_t i = 0; i < labels.points.size(); ++i) {
        if (!labels.layout.marked[i])
            continue;
        const MapPoint& point = labels.points[i];
        if (point.stop)
            routeStop(painter, point.at, k);
        else
            placeMark(painter, point.at, point.certainty, k);
    }
    for (std::size_t i = 0; i < labels.points.size(); ++i)
        if (const auto& box = labels.layout.labels[i])
            haloText(painter, QPointF(box->left, box->top + metrics.ascent()),
                     labels.points[i].name, labels.placeFont, kPlaceColour, k);
    drawTitle(painter, map, labels.title, k);
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
QImage drawLegend(int map, const std::vector<Journey>& journeys, const Overlay* overlay) {
    enum class Symbol {
        Sure,
        Likely,
        Uncertain,
        Land,
        Water,
        River,
        Shore,
        Grid,
        Stop,
        Route,
        TopicRoute,
        TopicArea
    };
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
    if (overlay) {
        for (std::size_t i = 0; i < overlay->routes.size(); ++i)
            rows.push_back({Symbol::TopicRoute, overlay->routes[i].legend, int(i)});
        for (std::size_t i = 0; i < overlay->areas.size(); ++i)
            rows.push_back({Symbol::TopicArea, overlay->areas[i].legend, int(i)});
    } else if (map == 3) {
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
        case Symbol::TopicRoute:
            painter.setPen(
                overlayPen(overlay->routes[std::size_t(row.journey)], std::size_t(row.journey), 1));
            painter.drawLine(left, right);
            break;
        case Symbol::TopicArea: {
            QColor edge = kAreaColours[row.journey % 6];
            edge.setAlpha(200);
            painter.setPen(QPen(edge, 1.5, Qt::DashLine));
            painter.setBrush(kAreaColours[row.journey % 6]);
            painter.drawRect(QRectF(left.x(), y - 8, right.x() - left.x(), 16));
            break;
        }
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

// Names one a line; "#" starts a comment line.
std::set<std::string> readNames(const std::string& path) {
    std::ifstream in = openSource(path);
    return readNameList(in);
}

// Map topics: "topic KEY MAP", then "route LEGEND solid|dashed" or "area LEGEND" followed
// by "latitude longitude" lines, and "site NAME" lines naming places to be labelled.
std::vector<Overlay> readOverlays(const std::string& path) {
    std::ifstream in = openSource(path);
    std::vector<Overlay> overlays;
    std::vector<RouteStop>* points = nullptr;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> f = tabFields(line);
        const auto fail = [&] {
            throw SourceError(path + ":" + std::to_string(number) + ": malformed overlay line");
        };
        if (f[0] == "topic") {
            if (f.size() != 3 || std::atoi(f[2].c_str()) < 1 || std::atoi(f[2].c_str()) > kMapCount)
                fail();
            overlays.push_back({f[1], std::atoi(f[2].c_str()), {}, {}, {}});
            points = nullptr;
        } else if (overlays.empty()) {
            fail();
        } else if (f[0] == "route" && f.size() == 3 && (f[2] == "solid" || f[2] == "dashed")) {
            overlays.back().routes.push_back({QString::fromStdString(f[1]), f[2] == "dashed", {}});
            points = &overlays.back().routes.back().points;
        } else if (f[0] == "area" && f.size() == 2) {
            overlays.back().areas.push_back({QString::fromStdString(f[1]), false, {}});
            points = &overlays.back().areas.back().points;
        } else if (f[0] == "site" && f.size() == 2) {
            overlays.back().sites.insert(f[1]);
        } else if (points && f.size() == 2) {
            points->push_back({std::atof(f[0].c_str()), std::atof(f[1].c_str()), {}});
        } else {
            fail();
        }
    }
    return overlays;
}

MapContent readContent(const std::string& dataDir) {
    const std::string sources = dataDir + "/maps/";
    MapContent content;
    // The places are optional: without them the maps carry no place marks.
    if (std::ifstream in(sources + "places.txt"); in)
        content.places = readPlaces(in, sources + "places.txt");
    std::ifstream ntIn = openSource(sources + "ntplaces.txt");
    content.keys = placeKeys(content.places, readNameList(ntIn));
    content.regions = readRegions(sources + "regions.txt");
    content.journeys = readJourneys(sources + "routes.txt");
    if (std::filesystem::exists(sources + "important.txt"))
        content.important = readNames(sources + "important.txt");
    if (std::filesystem::exists(sources + "overlays.txt"))
        content.overlays = readOverlays(sources + "overlays.txt");
    return content;
}

} // namespace

MapLabelBoxes mapLabelBoxes(const std::string& dataDir, int map, int reduction,
                            const std::string& topic) {
    installFontSubstitutions();
    const MapContent content = readContent(dataDir);
    const Overlay* overlay = nullptr;
    for (const Overlay& o : content.overlays)
        if (o.key == topic)
            overlay = &o;
    const MapLabels labels = layoutLabels(map, reduction, content, overlay);
    MapLabelBoxes boxes;
    for (const auto& tag : labels.tags)
        boxes.names.push_back(toBox(tag.first));
    boxes.names.push_back(toBox(labels.title));
    for (const TextLabel& region : labels.regions)
        boxes.names.push_back(toBox(region.box));
    const double r = kMarkRadius * reduction;
    for (std::size_t i = 0; i < labels.points.size(); ++i) {
        const MapPoint& point = labels.points[i];
        const std::string name = point.name.toStdString();
        const bool important = !point.stop && (content.important.count(name) ||
                                               (overlay && overlay->sites.count(name)));
        // A place whose mark falls on a nearer important place's is not shown on this map.
        if (important && labels.layout.marked[i] && !labels.layout.labels[i])
            boxes.unnamedImportant.push_back(name);
        if (labels.layout.labels[i])
            boxes.names.push_back(*labels.layout.labels[i]);
        if (labels.layout.marked[i])
            boxes.marks.push_back(
                {point.at.x() - r, point.at.y() - r, point.at.x() + r, point.at.y() + r});
    }
    return boxes;
}

std::vector<MapTopic> mapTopics(const std::string& dataDir) {
    std::vector<MapTopic> topics;
    for (const Overlay& o : readContent(dataDir).overlays) {
        MapTopic topic{o.key,
                       o.map,
                       int(o.routes.size() + o.areas.size()),
                       std::vector<std::string>(o.sites.begin(), o.sites.end()),
                       {}};
        const MapProjection& p = mapProjection(o.map);
        for (const auto* shapes : {&o.routes, &o.areas})
            for (const OverlayRoute& shape : *shapes)
                for (const RouteStop& point : shape.points)
                    if (!onMap(p, QPointF(p.x(point.longitude), p.y(point.latitude))))
                        ++topic.pointsOffMap;
        topics.push_back(std::move(topic));
    }
    return topics;
}

void drawMaps(const std::string& dataDir, const std::string& mapFolder,
              const std::function<void(const std::string&)>& progress) {
    installFontSubstitutions();
    const MapContent content = readContent(dataDir);
    QTemporaryDir work;
    if (!work.isValid())
        throw std::runtime_error("cannot make a temporary folder for gmt");
    std::filesystem::create_directories(mapFolder);
    for (int map = 1; map <= kMapCount; ++map) {
        progress("drawing map " + std::to_string(map));
        const QImage base = drawBase(map, work.path(), content.regions);
        save(drawMap(map, base, content, 1, nullptr), mapFileName(mapFolder, map, 'b'));
        save(drawMap(map, base, content, 2, nullptr), mapFileName(mapFolder, map, 's'));
        save(drawLegend(map, content.journeys, nullptr), mapFileName(mapFolder, map, 'i'));
        for (const Overlay& overlay : content.overlays) {
            if (overlay.map != map)
                continue;
            save(drawMap(map, base, content, 1, &overlay),
                 topicMapFileName(mapFolder, overlay.key, 'b'));
            save(drawMap(map, base, content, 2, &overlay),
                 topicMapFileName(mapFolder, overlay.key, 's'));
            save(drawLegend(map, content.journeys, &overlay),
                 topicMapFileName(mapFolder, overlay.key, 'i'));
        }
    }
}

} // namespace qel::mkdb
