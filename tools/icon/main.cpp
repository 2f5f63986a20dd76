// qel-icon: writes the program's icon as the PNG files of the hicolor icon theme. Painting
// into images needs no display.
#include "app/appicon.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qel-icon ICON_THEME_DIR\n");
        return 2;
    }
    for (int size : qel::kAppIconSizes) {
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) ||
            !qel::drawAppIcon(size).save(folder + QStringLiteral("/qelbible.png"), "PNG")) {
            std::fprintf(stderr, "qel-icon: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
