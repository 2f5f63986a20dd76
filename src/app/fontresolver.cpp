#include "app/fontresolver.h"

#include "platform/appsettings.h"
#include "platform/codec.h"

#include <QStringList>
#include <cstdlib>

namespace qel {

void installFontSubstitutions() {
    const QStringList batang{QStringLiteral("UnBatang"), QStringLiteral("Baekmuk Batang")};
    const QStringList gulim{QStringLiteral("Baekmuk Gulim"), QStringLiteral("UnDotum")};
    QFont::insertSubstitutions(QStringLiteral("바탕체"), batang);
    QFont::insertSubstitutions(QStringLiteral("바탕"), batang);
    QFont::insertSubstitutions(QStringLiteral("굴림체"), gulim);
    QFont::insertSubstitutions(QStringLiteral("굴림"), gulim);
}

QFont makeDisplayFont(const AppSettings& settings, int dotsPerInch) {
    QFont font(QString::fromStdString(cp949ToUtf8(settings.fontFaceName)));
    font.setPixelSize(std::abs(displayFontHeight(dotsPerInch, settings.fontPointSize())));
    font.setWeight(QFont::Medium);
    font.setKerning(false);
    return font;
}

} // namespace qel
