#include "bible/citation.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"

namespace qel {
namespace {

bool isEnglishEdition(std::string_view code) {
    const Edition* edition = findEdition(code);
    return edition && edition->language == EditionLanguage::English;
}

std::string citedVerse(std::string_view verseText, std::string_view versionCode,
                       std::string_view abbreviation, std::string_view chapter,
                       std::string_view verse) {
    std::string out(verseText);
    out += "(" + versionShortTitle(versionCode) + " " + std::string(abbreviation) + " ";
    out += std::string(chapter) + ":" + std::string(verse) + ")";
    return out;
}

} // namespace

std::string verseCitation(std::string_view verseText, std::string_view versionCode,
                          std::string_view bookName, std::string_view chapter,
                          std::string_view verse) {
    return citedVerse(verseText, versionCode, bookAbbrOf(bookName, versionCode), chapter, verse);
}

std::string parallelVerseCitation(std::string_view verseText, std::string_view versionCode,
                                  std::string_view bookName, std::string_view chapter,
                                  std::string_view verse) {
    std::string abbreviation;
    if (isEnglishEdition(versionCode)) {
        const std::string englishName =
            bookNameOf(bookCodeOf(bookName, kKoreanEdition), versionCode);
        abbreviation = bookAbbrOf(englishName, versionCode);
    } else {
        abbreviation = bookAbbrOf(bookName, kKoreanEdition);
    }
    return citedVerse(verseText, versionCode, abbreviation, chapter, verse);
}

std::string selectionCitation(std::string_view versionCode, std::string_view bookName,
                              std::string_view chapter) {
    std::string out =
        "\r\n(" + versionShortTitle(versionCode) + " " + bookAbbrOf(bookName, versionCode);
    if (isEnglishEdition(versionCode))
        out += " Chapter " + std::string(chapter) + ")";
    else
        out += " " + std::string(chapter) + utf8ToCp949("장)");
    return out;
}

std::string placeText(std::string_view versionCode, std::string_view bookName,
                      std::string_view chapter, std::string_view verse, bool withVerse) {
    std::string out = versionShortTitle(versionCode) + " : " + std::string(bookName) + " " +
                      std::string(chapter) + utf8ToCp949(" 장 ");
    if (withVerse)
        out += std::string(verse) + utf8ToCp949(" 절");
    return out;
}

} // namespace qel
