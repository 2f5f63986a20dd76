#include "widgets/sharedicons.h"

#include <QApplication>
#include <QPixmapCache>
#include <QStyle>
#include <QWidget>
#include <gtest/gtest.h>

// The program empties the pixmap cache after windows close; a standard icon made anew after
// that would have a new serial number, and the cache would keep a key for each one.
TEST(SharedIcons, AStandardIconKeepsItsPixmapAcrossCacheClearing) {
    const auto serial = [] {
        return QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16).cacheKey();
    };
    qel::shareStandardIcons();
    qel::shareStandardIcons(); // a second call wraps nothing again
    const qint64 first = serial();
    QPixmapCache::clear();
    EXPECT_EQ(serial(), first);
    // An icon for a right-to-left widget may be another picture: never the shared one.
    QWidget rightToLeft;
    rightToLeft.setLayoutDirection(Qt::RightToLeft);
    const QIcon mirrored =
        QApplication::style()->standardIcon(QStyle::SP_ArrowBack, nullptr, &rightToLeft);
    EXPECT_NE(mirrored.pixmap(16).cacheKey(),
              QApplication::style()->standardIcon(QStyle::SP_ArrowBack).pixmap(16).cacheKey());
}
