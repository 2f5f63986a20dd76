#pragma once

#include <QIcon>
#include <QImage>

namespace qel {

// The program's icon, an open book under a cross, drawn at size x size pixels. The
// window shows it and the installation carries it as PNG files of the icon theme.
QImage drawAppIcon(int size);

// The sizes the icon theme gets, and the window icon made of them.
inline constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QIcon appIcon();

} // namespace qel
