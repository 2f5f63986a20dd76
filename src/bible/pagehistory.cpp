#include "bible/pagehistory.h"

#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "platform/text.h"

#include <algorithm>

namespace qel {

void PageHistory::push(const std::string& key) {
    if (index_ < kSlots - 1) {
        slots_[++index_] = key;
    } else {
        std::rotate(slots_.begin(), slots_.begin() + 1, slots_.end());
        slots_[index_] = key;
    }
    if (index_ < kSlots - 1)
        slots_[index_ + 1].clear();
}

std::optional<std::string> PageHistory::back() {
    if (!canGoBack())
        return std::nullopt;
    return slots_[--index_];
}

std::optional<std::string> PageHistory::forward() {
    if (!canGoForward())
        return std::nullopt;
    return slots_[++index_];
}

const std::string& PageHistory::current() const {
    static const std::string none;
    return index_ >= 0 ? slots_[index_] : none;
}

int findVerseLabel(const std::vector<std::string>& labels, std::string_view verse) {
    if (labels.empty())
        return -1;
    verse = trimmed(verse);
    auto exact = [&](std::string_view text) {
        const auto it = std::find(labels.begin(), labels.end(), text);
        return it == labels.end() ? -1 : static_cast<int>(it - labels.begin());
    };
    if (const int i = exact(verse); i >= 0)
        return i;
    if (const auto dash = verse.find('-'); dash != std::string_view::npos)
        if (const int i = exact(verse.substr(0, dash)); i >= 0)
            return i;
    const int n = atoiText(verse);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const auto dash = labels[i].find('-');
        if (dash == std::string::npos || dash == 0)
            continue;
        if (atoiText(labels[i]) <= n && n <= atoiText(std::string_view(labels[i]).substr(dash + 1)))
            return static_cast<int>(i);
    }
    return 0;
}

void stepHistory(PageHistory& history, bool forward,
                 const std::function<void(const std::string&)>& open) {
    if (const auto page = forward ? history.forward() : history.back())
        open(*page);
    else
        showMessage(utf8ToCp949(forward ? "페이지가 더 이상 없습니다."
                                        : "되돌아 갈 페이지가 더 이상 없습니다."),
                    applicationTitle());
}

bool stepHistoryCommand(PageHistory& history, int id,
                        const std::function<void(const std::string&)>& open) {
    if (id != cmd::Back && id != cmd::Forward)
        return false;
    stepHistory(history, id == cmd::Forward, open);
    return true;
}

std::optional<bool> historyCommandEnabled(const PageHistory& history, int id) {
    if (id == cmd::Back)
        return history.canGoBack();
    if (id == cmd::Forward)
        return history.canGoForward();
    return std::nullopt;
}

} // namespace qel
