#include "mkdb/tagreader.h"

#include "platform/text.h"

namespace qel::mkdb {
namespace {

// Reads NAME="VALUE" pairs; a malformed pair ends the list, as nothing reliable follows.
OsisAttributes parseAttributes(std::string_view attrs) {
    OsisAttributes out;
    std::size_t i = 0;
    while (i < attrs.size()) {
        while (i < attrs.size() && isAsciiSpace(attrs[i]))
            ++i;
        std::size_t nameStart = i;
        while (i < attrs.size() && attrs[i] != '=' && !isAsciiSpace(attrs[i]))
            ++i;
        std::string_view name = attrs.substr(nameStart, i - nameStart);
        while (i < attrs.size() && isAsciiSpace(attrs[i]))
            ++i;
        if (i >= attrs.size() || attrs[i] != '=')
            continue;
        ++i;
        while (i < attrs.size() && isAsciiSpace(attrs[i]))
            ++i;
        if (i >= attrs.size() || (attrs[i] != '"' && attrs[i] != '\''))
            break;
        char quote = attrs[i++];
        std::size_t valueEnd = attrs.find(quote, i);
        if (valueEnd == std::string_view::npos)
            break;
        out.emplace_back(name, attrs.substr(i, valueEnd - i));
        i = valueEnd + 1;
    }
    return out;
}

// Parses the tag starting at markup[pos] == '<'; returns the index after it, or npos when
// the tag never ends. Quoted attribute values may contain '>'.
std::size_t parseTag(std::string_view markup, std::size_t pos, MarkupTag& tag) {
    std::size_t i = pos + 1;
    char quote = 0;
    std::size_t end = std::string_view::npos;
    for (; i < markup.size(); ++i) {
        char c = markup[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            end = i;
            break;
        }
    }
    if (end == std::string_view::npos)
        return end;
    std::string_view inner = markup.substr(pos + 1, end - pos - 1);
    tag = MarkupTag{};
    if (!inner.empty() && inner.front() == '/') {
        tag.closing = true;
        inner.remove_prefix(1);
    }
    if (!inner.empty() && inner.back() == '/') {
        tag.selfClosing = true;
        inner.remove_suffix(1);
    }
    std::size_t nameEnd = 0;
    while (nameEnd < inner.size() && !isAsciiSpace(inner[nameEnd]))
        ++nameEnd;
    tag.name = inner.substr(0, nameEnd);
    if (!tag.closing)
        tag.attributes = parseAttributes(inner.substr(nameEnd));
    return end + 1;
}

} // namespace

void readTags(std::string_view markup, const std::function<void(std::string_view)>& onText,
              const std::function<void(const MarkupTag&)>& onTag) {
    std::size_t i = 0;
    while (i < markup.size()) {
        std::size_t lt = markup.find('<', i);
        if (lt == std::string_view::npos)
            lt = markup.size();
        if (lt > i)
            onText(markup.substr(i, lt - i));
        if (lt == markup.size())
            break;
        MarkupTag tag;
        std::size_t next = parseTag(markup, lt, tag);
        if (next == std::string_view::npos) {
            onText(markup.substr(lt));
            break;
        }
        i = next;
        onTag(tag);
    }
}

} // namespace qel::mkdb
