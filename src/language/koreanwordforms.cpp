#include "language/koreanwordforms.h"

#include "language/wordtext.h"

#include <algorithm>
#include <array>

namespace qel::korean {
namespace {

enum Initial { kNieun = 2, kRieul = 5, kSiot = 9, kIeung = 11, kHieut = 18 };
enum Final {
    kNone = 0,
    kFinalN = 4,
    kFinalD = 7,
    kFinalL = 8,
    kFinalM = 16,
    kFinalB = 17,
    kFinalS = 19,
    kFinalSS = 20,
    kFinalH = 27
};

constexpr std::uint32_t bit(int final) {
    return std::uint32_t{1} << final;
}

// Pieces are written with their allomorph: "+" only after a consonant (하나님을, 믿으니),
// "-" only after a vowel (바다를, 하시니), no mark after either.
//
// Particles and the endings of the copula 이다 as they follow a noun (하나님 + 께서 + 는,
// 빛 + 이 + 니라).
constexpr const char* kParticles[] = {
    "이",      "-가",       "께서",    "에서",  "에게서", "에게",  "에",    "께",      "께로",
    "+을",     "-를",       "+은",     "-는",   "의",     "-와",   "+과",   "+으로서", "+으로써",
    "+으로",   "-로서",     "-로써",   "-로",   "도",     "만",    "까지",  "부터",    "마다",
    "조차",    "마저",      "밖에",    "뿐",    "+이나",  "-나",   "-나마", "-라도",   "-든지",
    "-든",     "처럼",      "같이",    "보다",  "만큼",   "대로",  "하고",  "+이랑",   "-랑",
    "한테",    "더러",      "+아",     "-야",   "-여",    "-시여", "들",    "서",      "-요",
    "-며",     "-고",       "-니",     "-라",   "-다",    "-니라", "-로다", "도다",    "-더라",
    "었",      "-였",       "-시",     "더",    "-면",    "-므로", "-나니", "-로되",   "거늘",
    "어늘",    "-니이다",   "나이다",  "-옵",   "-소서",  "인",    "일",    "임",      "-심",
    "-신",     "입",        "-니까",   "기에",  "-라고",  "-라는", "-란",   "-니다",   "-리라",
    "-리로다", "-로소이다", "-소이다", "-외다", "-오",    "-냐",   "-뇨",   "-랴",     "엔",
    "-론",     "즉",        "요"};

// Endings of verbs and adjectives, the old biblical ones included, in the pieces they are
// built from (하 + 시 + 옵 + 소서, 알 + 았 + 음 + 이 + 니이다).
constexpr const char* kEndings[] = {
    "-시",     "-셨",     "-셔",    "+으시",   "+으셨", "+으셔",   "-신",     "-실",     "-십",
    "었",      "았",      "-였",    "겠",      "더",    "-옵",     "-오",     "+사오",   "+사옵",
    "+삽",     "+으옵",   "다",     "고",      "-며",   "-면",     "-니",     "나",      "도",
    "서",      "야",      "지",     "게",      "자",    "-라",     "냐",      "-뇨",     "네",
    "소",      "요",      "-매",    "-사",     "-니라", "느니라",  "-리라",   "-리니",   "-리로다",
    "-리이다", "-리요",   "-리오",  "로다",    "도다",  "노라",    "나니",    "노니",    "느니",
    "나이다",  "-니이다", "-소서",  "거늘",    "거든",  "거니와",  "건대",    "건마는",  "거나",
    "거니",    "거라",    "고자",   "고서",    "기에",  "기로",    "도록",    "든지",    "든",
    "던",      "더니",    "더라",   "더냐",    "듯",    "듯이",    "-려",     "-려고",   "-려니와",
    "-러",     "-려면",   "-므로",  "+으므로", "어",    "아",      "-여",     "어서",    "아서",
    "-여서",   "어도",    "아도",   "-여도",   "어야",  "아야",    "-여야",   "어라",    "아라",
    "-여라",   "+으니",   "+으며",  "+으면",   "+으나", "+으러",   "+으려",   "+으리",   "-리",
    "+은",     "+을",     "는",     "는지",    "+은지", "+을지",   "는데",    "+은데",   "데",
    "지라",    "지라도",  "지니라", "지어다",  "지니",  "+으냐",   "느냐",    "-니까",   "이까",
    "-되",     "+으되",   "다가",   "-라고",   "-란",   "냐고",    "+습니다", "+습니까", "-니다",
    "-시다",   "즉",      "+은즉",  "는즉",    "진대",  "+을진대", "+으라",   "+으매",   "+으사",
    "+으소서"};

// Endings that make a noun of the verb; particles may follow them (믿 + 음 + 으로).
constexpr const char* kNominalEndings[] = {"기", "+음", "-심", "+으심", "임"};

// Particles that may follow an ending of a verb (하고는, 하여도, 하지요).
constexpr const char* kLightParticles[] = {"-는", "도", "요", "만", "야", "서"};

// 하다 and 되다 turn a noun into a verb (사랑 + 하 + 사, 사랑 + 한).
constexpr char32_t kVerbMakers[] = {U'하', U'되'};

enum class After { Any, Consonant, Vowel };

struct Piece {
    std::u32string text;
    After after = After::Any;
};
using Pieces = std::vector<Piece>;

template <std::size_t N> Pieces pieces(const char* const (&list)[N]) {
    Pieces out;
    for (const char* p : list) {
        Piece piece;
        if (*p == '+' || *p == '-')
            piece.after = *p++ == '+' ? After::Consonant : After::Vowel;
        piece.text = utf8ToUtf32(p);
        out.push_back(std::move(piece));
    }
    return out;
}

const Pieces& particles() {
    static const Pieces list = pieces(kParticles);
    return list;
}
const Pieces& endings() {
    static const Pieces list = pieces(kEndings);
    return list;
}
const Pieces& nominalEndings() {
    static const Pieces list = pieces(kNominalEndings);
    return list;
}
const Pieces& lightParticles() {
    static const Pieces list = pieces(kLightParticles);
    return list;
}

// What the syllable before a piece ends in; Unknown where a melted syllable already holds
// the start of the ending (합 + 니다, 한 + 다).
enum class Sound { Unknown, Vowel, Consonant, Rieul };

Sound soundOf(char32_t syllable) {
    if (!isSyllable(syllable))
        return Sound::Unknown;
    const int final = syllableFinal(syllable);
    return final == kNone ? Sound::Vowel : final == kFinalL ? Sound::Rieul : Sound::Consonant;
}

// Before 시, 니, 는, 오 … a stem-final ㄹ drops (알 → 아시니), so ㄹ does not stand there.
bool dropsRieul(const std::u32string& text) {
    const char32_t first = text[0];
    return isSyllable(first) &&
           (syllableInitial(first) == kNieun || syllableInitial(first) == kSiot ||
            (syllableInitial(first) == kIeung && syllableVowel(first) == kO));
}

bool fits(const Piece& p, Sound before, bool particle) {
    switch (before) {
    case Sound::Unknown:
        return true;
    case Sound::Vowel:
        return p.after != After::Consonant;
    case Sound::Consonant:
        return p.after != After::Vowel;
    case Sound::Rieul:
        if (particle) // 하늘로, 하늘은; not 하늘으로, 하늘는
            return p.text.starts_with(U"로") || (p.after != After::Vowel && p.text != U"으로" &&
                                                 p.text != U"으로서" && p.text != U"으로써");
        return p.after != After::Consonant && !dropsRieul(p.text);
    }
    return false;
}

// A text longer than this is not a run of particles and endings after one stem; the bound
// also keeps the check cheap for any input.
constexpr std::size_t kMaxRest = 16;

// Where a chain stands: after an ending of a verb only endings and a few particles follow;
// after a noun or a nominal ending, particles and the copula's endings.
enum ChainState { kVerbal, kNominal, kStates };

// True when the whole text splits into pieces that may follow each other, starting in
// `start` after a syllable that ends in `before`.
bool pieceChain(std::u32string_view text, ChainState start, Sound before) {
    if (text.empty() || text.size() > kMaxRest)
        return false;
    std::array<std::array<bool, kStates>, kMaxRest + 1> reachable{};
    reachable[0][start] = true;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const Sound sound = at == 0 ? before : soundOf(text[at - 1]);
        auto step = [&](const Pieces& list, ChainState next, bool particle) {
            for (const Piece& p : list)
                if (text.substr(at).starts_with(p.text) && fits(p, sound, particle))
                    reachable[at + p.text.size()][next] = true;
        };
        if (reachable[at][kVerbal]) {
            step(endings(), kVerbal, false);
            step(nominalEndings(), kNominal, false);
            step(lightParticles(), kVerbal, true);
        }
        if (reachable[at][kNominal]) {
            step(particles(), kNominal, true);
            step(endings(), kVerbal, false);
            step(nominalEndings(), kNominal, false);
        }
    }
    const auto& end = reachable[text.size()];
    return end[kVerbal] || end[kNominal];
}

bool verbChain(std::u32string_view text, Sound before) {
    return pieceChain(text, kVerbal, before);
}

// The text after a syllable in which the stem and the start of an ending melted: the
// syllable's final decides what may follow (사랑한다, 사랑할지라도, 사랑함이라, 사랑합니다,
// 사랑했으니, 사랑해서).
bool meltedRest(std::u32string_view rest, int final, bool joined) {
    if (rest.empty())
        return !joined;
    const char32_t first = rest[0];
    switch (final) {
    case kNone:
        return verbChain(rest, Sound::Vowel);
    case kFinalN:
        return (first == U'다' || first == U'즉' || first == U'데' || first == U'지' ||
                first == U'대') &&
               verbChain(rest, Sound::Unknown);
    case kFinalL:
        return (first == U'지' || first == U'진' || first == U'까' || first == U'꼬' ||
                first == U'라' || first == U'러' || first == U'수') &&
               (verbChain(rest, Sound::Unknown) || rest == U"수록");
    case kFinalB:
        return (first == U'니' || first == U'시' || first == U'소') &&
               verbChain(rest, Sound::Unknown);
    case kFinalM: // a noun: 함께 (together) is a word of its own
        return rest != U"께" && pieceChain(rest, kNominal, Sound::Consonant);
    default: // ㅆ of the past: 했 + 으니
        return verbChain(rest, Sound::Consonant);
    }
}

FormPattern plain(std::u32string_view prefix, Rest rest) {
    return FormPattern{std::u32string(prefix), 0, 0, rest};
}

FormPattern fused(std::u32string_view prefix, char32_t base, std::uint32_t finals, Rest rest) {
    return FormPattern{std::u32string(prefix), base, finals, rest};
}

// `before` is the last syllable of the stem part; `final` the final of a melted syllable.
bool restAccepted(Rest rule, std::u32string_view rest, char32_t before, int final) {
    switch (rule) {
    case Rest::Nothing:
        return rest.empty();
    case Rest::AnyEnding:
        return rest.empty() || isEndingChain(rest, true, before);
    case Rest::VerbEnding:
        return isEndingChain(rest, false, before);
    case Rest::Melted:
    case Rest::MeltedJoined:
        return meltedRest(rest, final, rule == Rest::MeltedJoined);
    case Rest::VowelEnding: {
        if (rest.empty() || !isSyllable(rest[0]) || syllableInitial(rest[0]) != kIeung)
            return false;
        const int v = syllableVowel(rest[0]);
        if (v != kA && v != kEo && v != kEu)
            return false;
        // 들어가다, 들어오다 (to enter) are verbs of their own, not forms of 듣다.
        if (v != kEu && rest.size() > 1 && isSyllable(rest[1])) {
            const char32_t open = rest[1] - static_cast<char32_t>(syllableFinal(rest[1]));
            if (open == U'가' || open == U'오' || open == U'와')
                return false;
        }
        // The changed stem still ends in a consonant: 들으니, 지은.
        return verbChain(rest, Sound::Consonant);
    }
    case Rest::WuEnding:
        return !rest.empty() && isSyllable(rest[0]) && syllableInitial(rest[0]) == kIeung &&
               (syllableVowel(rest[0]) == kU || syllableVowel(rest[0]) == kWo ||
                syllableVowel(rest[0]) == kWa) &&
               meltedRest(rest.substr(1), syllableFinal(rest[0]), false);
    case Rest::LDropEnding:
        return !rest.empty() && isSyllable(rest[0]) &&
               (syllableInitial(rest[0]) == kSiot ||
                (syllableInitial(rest[0]) == kNieun && syllableVowel(rest[0]) == kEu) ||
                (syllableInitial(rest[0]) == kIeung && syllableVowel(rest[0]) == kO)) &&
               verbChain(rest, Sound::Vowel);
    }
    return false;
}

} // namespace

bool isEndingChain(std::u32string_view text, bool nounToo, char32_t before) {
    const Sound sound = soundOf(before);
    if (!nounToo)
        return verbChain(text, sound);
    if (pieceChain(text, kNominal, sound))
        return true;
    // 하다 or 되다 made from the noun, with their endings: 사랑 + 하사, 사랑 + 한.
    if (text.empty() || !isSyllable(text[0]))
        return false;
    const int final = syllableFinal(text[0]);
    const char32_t open = text[0] - static_cast<char32_t>(final);
    const std::u32string_view rest = text.substr(1);
    for (char32_t maker : kVerbMakers) {
        if (open == maker)
            return final == kNone ? rest.empty() || verbChain(rest, Sound::Vowel)
                                  : meltedRest(rest, final, false);
        // 하 + 여 → 해, 되 + 어 → 돼
        if ((maker == U'하' && open == U'해') || (maker == U'되' && open == U'돼'))
            return (final == kNone || final == kFinalSS) && meltedRest(rest, final, false);
    }
    return false;
}

std::u32string_view dictionaryStem(std::u32string_view word) {
    if (word.size() < 2 || word.back() != U'다')
        return {};
    return word.substr(0, word.size() - 1);
}

bool isNounForm(std::u32string_view text, std::u32string_view word) {
    if (!text.starts_with(word))
        return false;
    const std::u32string_view rest = text.substr(word.size());
    // Particles that follow nouns only: 다 + 가, 다 + 고, 다 + 는 are endings of verbs.
    static constexpr std::u32string_view kCase[] = {U"",     U"의",   U"을",  U"를",   U"에",
                                                    U"에서", U"와",   U"과",  U"으로", U"로",
                                                    U"이",   U"께서", U"에게"};
    return std::find(std::begin(kCase), std::end(kCase), rest) != std::end(kCase);
}

std::vector<FormPattern> basicPatterns(std::u32string_view word) {
    if (word.empty())
        return {};
    return {plain(word, Rest::Nothing)};
}

std::vector<FormPattern> allFormPatterns(std::u32string_view stem, bool verbStem) {
    std::vector<FormPattern> out;
    if (stem.empty())
        return out;
    out.push_back(plain(stem, verbStem ? Rest::VerbEnding : Rest::AnyEnding));
    const char32_t last = stem.back();
    if (!isSyllable(last))
        return out;
    const std::u32string_view head = stem.substr(0, stem.size() - 1);
    const int initial = syllableInitial(last), vowel = syllableVowel(last),
              final = syllableFinal(last);
    const char32_t open = composeSyllable(initial, vowel, kNone);
    const std::uint32_t noneOrSS = bit(kNone) | bit(kFinalSS);
    switch (final) {
    case kNone: {
        // 사랑하 + ㄴ/ㄹ/ㅁ/ㅂ/ㅆ: 사랑한, 사랑할, 사랑함, 사랑합니다, 갔다.
        out.push_back(fused(
            head, open, bit(kFinalN) | bit(kFinalL) | bit(kFinalM) | bit(kFinalB) | bit(kFinalSS),
            Rest::Melted));
        // The stem vowel melts with 아/어: 보 → 봐, 주 → 줘, 지 → 져, 쓰 → 써, 되 → 돼,
        // 하 → 해.
        std::vector<int> melted;
        if (vowel == kO)
            melted = {kWa};
        else if (vowel == kU)
            melted = {kWo};
        else if (vowel == kI)
            melted = {kYeo};
        else if (vowel == kEu)
            melted = {kEo, kA};
        else if (vowel == kOe)
            melted = {kWae};
        else if (vowel == kA && initial == kHieut)
            melted = {kAe};
        for (int v : melted)
            out.push_back(fused(head, composeSyllable(initial, v, kNone), noneOrSS, Rest::Melted));
        // 르 irregular: 부르 → 불러, 불렀다.
        if (last == U'르' && !head.empty() && isSyllable(head.back()) &&
            syllableFinal(head.back()) == kNone) {
            std::u32string prefix(head.substr(0, head.size() - 1));
            prefix.push_back(head.back() + kFinalL);
            for (int v : {kEo, kA})
                out.push_back(
                    fused(prefix, composeSyllable(kRieul, v, kNone), noneOrSS, Rest::Melted));
        }
        break;
    }
    case kFinalD: // 듣 → 들어, 들으니
        out.push_back(fused(head, open + kFinalL, bit(kNone), Rest::VowelEnding));
        break;
    case kFinalB: // 돕 → 도와, 도우사
        out.push_back(fused(head, open, bit(kNone), Rest::WuEnding));
        break;
    case kFinalS: // 짓 → 지어, 지으시고
        out.push_back(fused(head, open, bit(kNone), Rest::VowelEnding));
        break;
    case kFinalL: // 알 → 아시니, 아는, 안다, 압니다; 만들 → 만든
        out.push_back(fused(head, open, bit(kNone), Rest::LDropEnding));
        out.push_back(fused(head, open, bit(kFinalN) | bit(kFinalB),
                            head.empty() ? Rest::MeltedJoined : Rest::Melted));
        break;
    case kFinalH: // 하얗 → 하얀, 하얄
        out.push_back(fused(head, open, bit(kFinalN) | bit(kFinalL) | bit(kFinalM), Rest::Melted));
        break;
    default:
        break;
    }
    return out;
}

bool matches(const FormPattern& pattern, std::u32string_view word) {
    if (!word.starts_with(pattern.prefix))
        return false;
    std::u32string_view rest = word.substr(pattern.prefix.size());
    char32_t before = pattern.prefix.empty() ? 0 : pattern.prefix.back();
    int final = kNone;
    if (pattern.fusedBase != 0) {
        if (rest.empty() || rest[0] < pattern.fusedBase || rest[0] - pattern.fusedBase > 27 ||
            !(pattern.finals & bit(static_cast<int>(rest[0] - pattern.fusedBase))))
            return false;
        before = rest[0];
        final = static_cast<int>(rest[0] - pattern.fusedBase);
        rest.remove_prefix(1);
    }
    return restAccepted(pattern.rest, rest, before, final);
}

} // namespace qel::korean
