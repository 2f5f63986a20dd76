#include "app/displaysettings.h"

#include "platform/appsettings.h"
#include "platform/text.h"

namespace qel {

DisplayStyle displayStyleOf(const AppSettings& settings) {
    DisplayStyle style;
    style.viewMode = settings.viewMode;
    style.fontSize = atoiText(settings.fontSizeText);
    style.lineSpacing = atoiText(settings.lineSpaceText);
    style.useDifferentColor = settings.useDifferentColor;
    style.colorTable = settings.colorTable;
    return style;
}

TextDisplay textDisplayOf(const AppSettings& settings, const QFont& displayFont) {
    return {displayStyleOf(settings), displayFont, settings.fontFaceName};
}

} // namespace qel
