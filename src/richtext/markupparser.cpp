#include "richtext/markupparser.h"

#include "richtext/markupnode.h"

#include <cstring>
#include <memory>

namespace qel {
namespace {

constexpr std::string_view kTagLetters = "ABFTWNICRSHD";

bool isLayoutBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsName(char c) {
    return c == ' ' || c == '}' || c == '=' || c == '\t' || c == '\b' || c == '\r' || c == '\n' ||
           c == '"';
}

bool endsValue(char c) {
    return c == ' ' || c == '}' || c == '\t' || c == '\b' || c == '\r' || c == '\n';
}

// Reads the input once, front to back, with positions; the input is never modified.
class Scanner {
public:
    Scanner(MarkupNodeList& list, std::string_view text) : list_(list), in_(text) {}

    void run() {
        while (pos_ < in_.size()) {
            while (pos_ < in_.size() && (in_[pos_] == '\r' || in_[pos_] == '\n'))
                ++pos_;
            if (pos_ >= in_.size())
                return;
            if (in_[pos_] != '{') {
                readText();
                continue;
            }
            if (pos_ + 1 >= in_.size())
                return; // "{" as the last byte
            const char c = in_[pos_ + 1];
            if (c == '/') {
                if (!readClosingTag())
                    return;
            } else if (kTagLetters.find(c) != std::string_view::npos) {
                if (!readOpeningTag(c))
                    return;
            } else {
                // Not a tag: what follows the character is text.
                pos_ += 2;
                readText();
            }
        }
    }

private:
    void readText() {
        const std::size_t start = pos_;
        const std::size_t end = in_.find('{', pos_);
        pos_ = end == std::string_view::npos ? in_.size() : end;
        if (pos_ > start)
            list_.append(std::make_unique<MarkupNode>(
                MarkupNode::kText, std::string(in_.substr(start, pos_ - start))));
    }

    // "{/" letter and one more byte, which is expected to be "}" and not looked at.
    bool readClosingTag() {
        if (pos_ + 3 >= in_.size())
            return false; // unterminated
        const char id = static_cast<char>(static_cast<unsigned char>(in_[pos_ + 2]) + 32);
        list_.append(std::make_unique<MarkupNode>(id));
        pos_ += 4;
        return true;
    }

    void skipBlanks() {
        while (pos_ < in_.size() && isLayoutBlank(in_[pos_]))
            ++pos_;
    }

    // Returns false when the parse must end; the node is appended only when it is kept.
    bool readOpeningTag(char letter) {
        auto node = std::make_unique<MarkupNode>(letter);
        pos_ += 2;
        if (pos_ >= in_.size())
            return false;
        if (in_[pos_] == '}') {
            ++pos_;
            list_.append(std::move(node));
            return true;
        }
        node->hasAttributes = true;
        if (in_[pos_] == ' ')
            skipBlanks();
        for (;;) {
            skipBlanks();
            if (pos_ >= in_.size())
                return false;
            if (in_[pos_] == '}') {
                ++pos_;
                list_.append(std::move(node));
                return true;
            }
            const std::size_t nameStart = pos_;
            while (pos_ < in_.size() && !endsName(in_[pos_]))
                ++pos_;
            if (pos_ >= in_.size())
                return false;
            if (pos_ == nameStart || in_[pos_] != '=') {
                // Malformed: the tag is kept with what was read, and the parse ends.
                list_.append(std::move(node));
                return false;
            }
            std::string name(in_.substr(nameStart, pos_ - nameStart));
            ++pos_;
            skipBlanks();
            if (pos_ >= in_.size())
                return false;
            const char quote = in_[pos_];
            if (quote == '"' || quote == '\'') {
                const std::size_t valueStart = pos_ + 1;
                const char closing[2] = {quote, '}'};
                const std::size_t end = in_.find(std::string_view(closing, 2), valueStart);
                if (end == std::string_view::npos)
                    return false;
                node->addAttribute(std::move(name),
                                   std::string(in_.substr(valueStart, end - valueStart)));
                pos_ = end + 2;
                list_.append(std::move(node));
                return true;
            }
            const std::size_t valueStart = pos_;
            while (pos_ < in_.size() && !endsValue(in_[pos_]))
                ++pos_;
            if (pos_ >= in_.size())
                return false;
            node->addAttribute(std::move(name),
                               std::string(in_.substr(valueStart, pos_ - valueStart)));
        }
    }

    MarkupNodeList& list_;
    std::string_view in_;
    std::size_t pos_ = 0;
};

} // namespace

void MarkupParser::parse(MarkupNodeList* list, std::string_view text) {
    if (!list || text.empty())
        return;
    Scanner(*list, text).run();
}

} // namespace qel
