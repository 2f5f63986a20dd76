#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// The pages a window has shown, 21 at most: Back and Forward move through them, and a new
// page ends any forward history.
class PageHistory {
public:
    static constexpr int kSlots = 21;

    void push(const std::string& key);
    // The page to show, or nothing when there is none (the caller shows its message).
    std::optional<std::string> back();
    std::optional<std::string> forward();

    bool canGoBack() const { return index_ > 0; }
    bool canGoForward() const { return index_ < kSlots - 1 && !slots_[index_ + 1].empty(); }
    int index() const { return index_; }
    const std::string& current() const;

private:
    std::array<std::string, kSlots> slots_;
    int index_ = -1;
};

// Moves back (or forward) and hands the page to `open`; at either end the reader is told
// that there is no page further.
void stepHistory(PageHistory& history, bool forward,
                 const std::function<void(const std::string&)>& open);
// The Back and Forward commands of a window with pages: steps as above and returns true;
// other commands are left to the caller (false).
bool stepHistoryCommand(PageHistory& history, int id,
                        const std::function<void(const std::string&)>& open);
// Whether Back or Forward can be taken now; nothing for other commands.
std::optional<bool> historyCommandEnabled(const PageHistory& history, int id);

// Index of the label a verse number selects among a chapter's verse labels: the exact
// label, then the part before "-", then a range "a-b" holding the number, else the first
// (0). Returns -1 for an empty list.
int findVerseLabel(const std::vector<std::string>& labels, std::string_view verse);

} // namespace qel
