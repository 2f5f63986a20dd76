#pragma once

#include "richtext/markupnode.h"
#include "widgets/dockbar.h"

#include <functional>
#include <string>

namespace qel {

class CTextPane;
struct TextDisplay;

// The "관련내용" bar: cross references and notes of the verse its Bible window shows.
class CRelatedWord : public CDockBar {
    Q_OBJECT
public:
    // `owner` is the version code of the window, naming where the bar keeps its sizes.
    CRelatedWord(const TextDisplay& display, AppContext& context, const std::string& owner,
                 QMainWindow* parent);
    ~CRelatedWord() override;

    // Shows the related content of a verse, or nothing when it has none.
    void ShowRelated(const std::string& book, const std::string& chapter, const std::string& verse);

    CTextPane* pane() const { return pane_; }
    const MarkupNodeList& content() const { return content_; }

private:
    AppContext& context_;
    MarkupNodeList content_;
    CTextPane* pane_;
};

} // namespace qel
