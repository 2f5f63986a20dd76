#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qel::mkdb {

// Attributes of one element, in source order.
using OsisAttributes = std::vector<std::pair<std::string_view, std::string_view>>;

struct ConvertOptions {
    // Words of Jesus (OSIS q who="Jesus", USFM \wj) become a {W VAL=J} run.
    bool wordsOfJesus = true;
};

// One verse in our markup, with the section titles that stand before it.
struct ConvertedVerse {
    std::string body;
    std::vector<std::string> sectionTitles;
};

// Turns the element events of one verse of OSIS into our markup: italics {F VAL=I}..{/F}
// for added words, Psalm titles {H}..{/H} at the start, notes {N TEX="..."}*{/N}, words of
// Jesus {W VAL=J}..{/W}; section titles are collected apart. Other elements (Strong's
// numbers, morphology, milestones) are dropped but keep their text. Both the SWORD tag
// stream and the OSIS file reader drive it, so the two convert alike.
class OsisConverter {
public:
    explicit OsisConverter(ConvertOptions options = {});
    ~OsisConverter();
    OsisConverter(OsisConverter&&) noexcept;
    OsisConverter& operator=(OsisConverter&&) noexcept;

    void start(std::string_view name, const OsisAttributes& attributes, bool selfClosing = false);
    void end(std::string_view name);
    // `decoded` text comes from an XML parser; otherwise entities are decoded here.
    void text(std::string_view text, bool decoded);
    // True while a title or note is open (text outside verses counts only there).
    bool collecting() const;
    bool inTitle() const;
    ConvertedVerse finish();

private:
    struct State;
    std::unique_ptr<State> s_;
};

std::optional<std::string_view> attributeOf(const OsisAttributes& attributes,
                                            std::string_view name);

} // namespace qel::mkdb
