#include "compare/panetiling.h"

namespace qel {

PaneRect tilePosition(int n, int k, int w, int h) {
    switch (n) {
    case 1:
        return {0, 0, w, h};
    case 2:
    case 3:
        return {(k - 1) * w / n, 0, w / n, h};
    case 4:
        return {((k - 1) % 2) * w / 2, ((k - 1) / 2) * h / 2, w / 2, h / 2};
    case 5:
        if (k <= 2)
            return {(k - 1) * w / 2, 0, w / 2, h / 2};
        return {(k - 3) * w / 3, h / 2, w / 3, h / 2};
    default:
        return {((k - 1) % 3) * w / 3, ((k - 1) / 3) * h / 2, w / 3, h / 2};
    }
}

PaneRect PaneTiler::next(int n, int w, int h) {
    const PaneRect rect = tilePosition(n, position_, w, h);
    position_ = position_ >= n ? 1 : position_ + 1;
    return rect;
}

namespace {

PaneTilers*& installed() {
    static PaneTilers* tilers = nullptr;
    return tilers;
}

} // namespace

PaneTilers::PaneTilers() : previous_(installed()) {
    installed() = this;
}

PaneTilers::~PaneTilers() {
    if (installed() == this)
        installed() = previous_;
}

PaneTiler& fourGospelTiler() {
    return installed()->fourGospels;
}

PaneTiler& historyBooksTiler() {
    return installed()->historyBooks;
}

} // namespace qel
