#include "mkdb/thml.h"

#include "mkdb/tagreader.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace qel::mkdb {
namespace {

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool isRed(std::optional<std::string_view> color) {
    if (!color)
        return false;
    const std::string c = lowered(*color);
    return c == "red" || c == "#ff0000" || c == "#f00";
}

// ThML elements turned into the OSIS elements the converter knows; each open element
// remembers what it became, so that its end closes that.
class ThmlMapper {
public:
    ThmlMapper(OsisConverter& converter, bool titlesOnly)
        : converter_(converter), titlesOnly_(titlesOnly) {}

    void start(std::string_view name, const OsisAttributes& attributes, bool selfClosing) {
        const std::string element = lowered(name);
        const auto classOf = lowered(attributeOf(attributes, "class").value_or(""));
        static const OsisAttributes kAdded = {{"type", "added"}};
        static const OsisAttributes kJesus = {{"who", "Jesus"}};
        static const OsisAttributes kSection = {{"type", "section"}};
        static const OsisAttributes kPsalm = {{"type", "psalm"}};
        static const OsisAttributes kNone;
        std::string_view osis;
        const OsisAttributes* osisAttributes = &kNone;
        if (element == "note") {
            osis = "note";
        } else if (element == "i" || element == "added") {
            osis = "transChange";
            osisAttributes = &kAdded;
        } else if (element == "font" && isRed(attributeOf(attributes, "color"))) {
            osis = "q";
            osisAttributes = &kJesus;
        } else if ((element.size() == 2 && element[0] == 'h' && element[1] >= '1' &&
                    element[1] <= '6') ||
                   (element == "div" && classOf == "sechead")) {
            osis = "title";
            osisAttributes = &kSection;
        } else if (element == "div" && classOf == "title") {
            osis = "title";
            osisAttributes = &kPsalm;
        } else if (element == "p" || element == "br" || element == "div") {
            osis = element == "br" ? "lb" : "p";
        }
        if (selfClosing) {
            if (osis == "lb" || osis == "p")
                converter_.start(osis, kNone, true);
            return;
        }
        open_.push_back({element, osis});
        if (!osis.empty())
            converter_.start(osis, *osisAttributes);
    }

    void end(std::string_view name) {
        const std::string element = lowered(name);
        const auto it = std::find_if(open_.rbegin(), open_.rend(),
                                     [&](const Open& o) { return o.element == element; });
        if (it == open_.rend())
            return;
        const std::string_view osis = it->osis;
        open_.erase(std::next(it).base());
        if (!osis.empty())
            converter_.end(osis);
    }

    void text(std::string_view text, bool decoded) {
        if (!titlesOnly_ || converter_.inTitle())
            converter_.text(text, decoded);
    }

private:
    struct Open {
        std::string element;
        std::string_view osis; // one of the literals above, or empty
    };
    OsisConverter& converter_;
    bool titlesOnly_;
    std::vector<Open> open_;
};

using Parser = std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)>;

// The verse wrapped in one root element, as expat wants a document.
bool parseWhole(XML_Parser parser, std::string_view thml) {
    const std::string document = "<verse>" + std::string(thml) + "</verse>";
    return XML_Parse(parser, document.data(), static_cast<int>(document.size()), XML_TRUE) ==
           XML_STATUS_OK;
}

bool wellFormed(std::string_view thml) {
    Parser parser(XML_ParserCreate("UTF-8"), &XML_ParserFree);
    return parser && parseWhole(parser.get(), thml);
}

void readWithExpat(ThmlMapper& mapper, std::string_view thml) {
    Parser parser(XML_ParserCreate("UTF-8"), &XML_ParserFree);
    struct Context {
        ThmlMapper& mapper;
        int depth = 0; // the wrapping element is not the module's
    } context{mapper};
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, const XML_Char** atts) {
            auto& c = *static_cast<Context*>(data);
            if (c.depth++ == 0)
                return;
            OsisAttributes attributes;
            for (int i = 0; atts[i]; i += 2)
                attributes.emplace_back(atts[i], atts[i + 1]);
            c.mapper.start(name, attributes, false);
        },
        [](void* data, const XML_Char* name) {
            auto& c = *static_cast<Context*>(data);
            if (--c.depth > 0)
                c.mapper.end(name);
        });
    XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
        static_cast<Context*>(data)->mapper.text(
            std::string_view(text, static_cast<std::size_t>(length)), true);
    });
    parseWhole(parser.get(), thml);
}

} // namespace

void feedThml(OsisConverter& converter, std::string_view thml, bool titlesOnly) {
    ThmlMapper mapper(converter, titlesOnly);
    if (wellFormed(thml)) {
        readWithExpat(mapper, thml);
        return;
    }
    readTags(
        thml, [&](std::string_view text) { mapper.text(text, false); },
        [&](const MarkupTag& tag) {
            if (tag.closing)
                mapper.end(tag.name);
            else
                mapper.start(tag.name, tag.attributes, tag.selfClosing);
        });
}

} // namespace qel::mkdb
