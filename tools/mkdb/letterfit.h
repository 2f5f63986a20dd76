#pragma once

#include "mkdb/sourcerecords.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace qel::mkdb {

// Letters of one kind met while fitting text to CP949, with the first few places.
struct LetterTally {
    std::size_t count = 0;
    std::vector<std::string> examples; // "jhn 1:1 U+1F00 'ἀ'"
};

// Characters of a source that CP949 cannot hold, when they may not be replaced.
struct UnfitLetters : SourceError {
    using SourceError::SourceError;
};

// Fits UTF-8 source text to what CP949 holds, after NFC (Korean often arrives as
// decomposed jamo). A letter CP949 lacks is stored as its base letter when CP949 holds
// that (polytonic Greek ἀ as α, the final sigma as σ, the en dash as "-"); Hebrew letters and
// points go, with the blank after them (the Psalm 119 headings keep the letters' names); the em
// dash becomes the horizontal bar. Any other character has no CP949 form: with `replace` it becomes
// "?", otherwise `check` fails.
class LetterFit {
public:
    explicit LetterFit(bool replace = false) : replace_(replace) {}

    // `place` names where the text stands in the examples ("gen 1:1").
    std::string fit(const std::string& utf8, const std::string& place);

    const LetterTally& simplified() const { return simplified_; }
    const LetterTally& dropped() const { return dropped_; }
    const LetterTally& unfit() const { return unfit_; }

    // Tells what was simplified, dropped or replaced, one line each.
    void report(const std::function<void(const std::string&)>& notice) const;
    // Throws UnfitLetters naming the characters without a CP949 form, unless replaced.
    void check() const;

private:
    bool replace_;
    LetterTally simplified_, dropped_, unfit_;
};

// "a, b, c"
std::string joined(const std::vector<std::string>& items);

} // namespace qel::mkdb
