#pragma once

#include "richtext/markupnode.h"
#include "widgets/childframe.h"

#include <string>

namespace qel {

struct AppContext;
struct TextDisplay;
class CTextPane;

// "일러두기": one article of the table ETC in a text pane, without tree or history.
class CETCFrame : public CChildFrame {
    Q_OBJECT
public:
    // The id of the reader's notes.
    static const std::string& prologId();

    CETCFrame(AppContext& context, const TextDisplay& display, QWidget* parent = nullptr);
    ~CETCFrame() override;

    std::string code() const override { return "PROLOG"; }
    void refreshView() override;
    bool handleCommand(int id) override;
    bool updateCommand(int id, QAction* action) override;

    // Shows the article; without a row the pane stays empty.
    void Load(const std::string& id);

    CTextPane* pane() const { return pane_; }
    const MarkupNodeList& article() const { return article_; }

private:
    AppContext& context_;
    CTextPane* pane_;
    MarkupNodeList article_;
};

} // namespace qel
