#include "panels/relatedword.h"

#include "panels/relatedcontent.h"
#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/commands.h"
#include "platform/database.h"
#include "platform/messagesink.h"
#include "richtext/markupparser.h"
#include "richtext/textpane.h"

namespace qel {
namespace {

constexpr DockBarSizes kDefaultSizes = {{600, 160}, {250, 400}, {400, 250}};

} // namespace

CRelatedWord::CRelatedWord(const TextDisplay& display, AppContext& context,
                           const std::string& owner, QMainWindow* parent)
    : CDockBar(QStringLiteral("관련내용"), context, owner, cmd::ToggleRelatedBar, kDefaultSizes,
               parent),
      context_(context), pane_(new CTextPane(display, this)) {
    setObjectName(QStringLiteral("RelatedBar"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setWidget(pane_);
}

CRelatedWord::~CRelatedWord() {
    // The pane points into the list, which goes first.
    pane_->clear();
}

void CRelatedWord::ShowRelated(const std::string& book, const std::string& chapter,
                               const std::string& verse) {
    pane_->clear();
    content_.clear();
    RelatedContent related;
    try {
        related = relatedContentOf(context_.contentDb, book, chapter, verse);
    } catch (const DatabaseError& e) {
        // A damaged table leaves the panel empty; the chapter still shows.
        logWarning(e.what());
    }
    if (related.tooLong)
        showMessage("Memory full...", applicationTitle());
    MarkupParser::parse(&content_, related.body);
    pane_->setList(&content_);
    pane_->update();
}

} // namespace qel
