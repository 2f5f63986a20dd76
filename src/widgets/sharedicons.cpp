#include "widgets/sharedicons.h"

#include <QApplication>
#include <QIcon>
#include <QProxyStyle>
#include <QWidget>

#include <map>

namespace qel {
namespace {

class SharedIconStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap picture, const QStyleOption* option,
                       const QWidget* widget) const override {
        // An option or a right-to-left widget may change the picture: those are drawn anew.
        if (option || (widget && widget->layoutDirection() == Qt::RightToLeft))
            return QProxyStyle::standardIcon(picture, option, widget);
        auto [it, added] = icons_.try_emplace(picture);
        if (added)
            it->second = QProxyStyle::standardIcon(picture, nullptr, widget);
        return it->second;
    }

private:
    mutable std::map<StandardPixmap, QIcon> icons_;
};

} // namespace

void shareStandardIcons() {
    if (!dynamic_cast<SharedIconStyle*>(QApplication::style()))
        QApplication::setStyle(new SharedIconStyle);
}

} // namespace qel
