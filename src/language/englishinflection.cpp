#include "language/englishinflection.h"

#include <algorithm>
#include <map>

namespace qel {
namespace {

// Words that have no inflections; suffix rules would otherwise turn them into other
// words (the → thing, his → hiss).
constexpr std::string_view kUninflected[] = {
    "a",     "an",   "and",   "as",   "at",    "but",   "by",    "for",  "from", "he",
    "her",   "hers", "him",   "his",  "i",     "if",    "in",    "into", "it",   "its",
    "me",    "mine", "my",    "no",   "nor",   "not",   "of",    "on",   "or",   "our",
    "she",   "so",   "than",  "that", "the",   "thee",  "their", "them", "then", "there",
    "these", "they", "thine", "this", "those", "thou",  "thy",   "to",   "unto", "up",
    "upon",  "us",   "we",    "what", "when",  "where", "which", "who",  "whom", "whose",
    "with",  "ye",   "you",   "your", "yea",   "nay",   "lest",  "o",    "oh",   "amen"};

// Irregular words with their forms, the older second and third person forms included.
constexpr std::string_view kIrregular[] = {
    "be am art is are was wast were wert been being",
    "have hast hath has had hadst having",
    "do dost doth does doeth doest did didst done doing",
    "go goest goeth goes went wentest gone going",
    "say sayest saith says said saidst saying",
    "give givest giveth gives gave gavest given giving",
    "take takest taketh takes took tookest taken taking",
    "come comest cometh comes came camest coming",
    "become becomest becometh becomes became becoming",
    "see seest seeth sees saw sawest seen seeing",
    "know knowest knoweth knows knew knewest known knowing",
    "make makest maketh makes made madest making",
    "speak speakest speaketh speaks spake spakest spoke spoken speaking",
    "eat eatest eateth eats ate eaten eating",
    "drink drinkest drinketh drinks drank drunk drunken drinking",
    "bring bringest bringeth brings brought broughtest bringing",
    "think thinkest thinketh thinks thought thoughtest thinking",
    "seek seekest seeketh seeks sought soughtest seeking",
    "buy buyest buyeth buys bought boughtest buying",
    "fight fightest fighteth fights fought fighting",
    "teach teachest teacheth teaches taught taughtest teaching",
    "catch catchest catcheth catches caught catching",
    "tell tellest telleth tells told toldest telling",
    "sell sellest selleth sells sold soldest selling",
    "find findest findeth finds found foundest finding",
    "stand standest standeth stands stood stoodest standing",
    "understand understandest understandeth understands understood understanding",
    "sit sittest sitteth sits sat satest sitting",
    "get gettest getteth gets got gotten getting",
    "beget begettest begetteth begets begat begot begotten begetting",
    "forget forgettest forgetteth forgets forgat forgot forgotten forgetting",
    "write writest writeth writes wrote wrotest written writing",
    "smite smitest smiteth smites smote smotest smitten smiting",
    "rise risest riseth rises rose rosest risen rising",
    "arise arisest ariseth arises arose arisen arising",
    "ride ridest rideth rides rode ridden riding",
    "drive drivest driveth drives drove drave driven driving",
    "strive strivest striveth strives strove striven striving",
    "bear bearest beareth bears bare barest bore born borne bearing",
    "swear swearest sweareth swears sware swore sworn swearing",
    "tear tearest teareth tears tare tore torn tearing",
    "wear wearest weareth wears ware wore worn wearing",
    "break breakest breaketh breaks brake brakest broke broken breaking",
    "choose choosest chooseth chooses chose chosest chosen choosing",
    "steal stealest stealeth steals stole stolen stealing",
    "fall fallest falleth falls fell fellest fallen falling",
    "begin beginnest beginneth begins began begun beginning",
    "sing singest singeth sings sang sung singing",
    "run runnest runneth runs ran ranst running",
    "lie liest lieth lies lay lain lying lied",
    "lay layest layeth lays laid laidst laying",
    "slay slayest slayeth slays slew slewest slain slaying",
    "fly fliest flieth flies flew flown flying",
    "grow growest groweth grows grew grown growing",
    "throw throwest throweth throws threw thrown throwing",
    "blow blowest bloweth blows blew blown blowing",
    "draw drawest draweth draws drew drewest drawn drawing",
    "hold holdest holdeth holds held heldest holden holding",
    "keep keepest keepeth keeps kept keptest keeping",
    "sleep sleepest sleepeth sleeps slept sleeping",
    "weep weepest weepeth weeps wept weeping",
    "leave leavest leaveth leaves left leftest leaving",
    "feel feelest feeleth feels felt feeling",
    "deal dealest dealeth deals dealt dealing",
    "mean meanest meaneth means meant meaning",
    "send sendest sendeth sends sent sentest sending",
    "spend spendest spendeth spends spent spending",
    "build buildest buildeth builds built buildedst builded building",
    "lend lendest lendeth lends lent lending",
    "bend bendest bendeth bends bent bending",
    "lose losest loseth loses lost losing",
    "shoot shootest shooteth shoots shot shooting",
    "meet meetest meeteth meets met meeting",
    "lead leadest leadeth leads led leddest leading",
    "feed feedest feedeth feeds fed feddest feeding",
    "flee fleest fleeth flees fled fleeing",
    "hear hearest heareth hears heard heardest hearing",
    "shine shinest shineth shines shone shined shining",
    "hide hidest hideth hides hid hidden hiding",
    "bite bitest biteth bites bit bitten biting",
    "shake shakest shaketh shakes shook shaken shaking",
    "forsake forsakest forsaketh forsakes forsook forsookest forsaken forsaking",
    "awake awakest awaketh awakes awoke awaked awaking",
    "dig diggest diggeth digs digged dug digging",
    "will wilt willeth wills would wouldest",
    "shall shalt should shouldest",
    "can canst could couldest",
    "may mayest mightest might",
    "put puttest putteth puts putting",
    "set settest setteth sets setting",
    "cut cuttest cutteth cuts cutting",
    "let lettest letteth lets letting",
    "shut shuttest shutteth shuts shutting",
    "cast castest casteth casts casting",
    "spread spreadest spreadeth spreads spreading",
    "beat beatest beateth beats beaten beating",
    "tread treadest treadeth treads trode trod trodden treading",
    "win winnest winneth wins won winning",
    "strike strikest striketh strikes struck stricken striking",
    "spring springest springeth springs sprang sprung springing",
    "sink sinkest sinketh sinks sank sunk sinking",
    "dwell dwellest dwelleth dwells dwelt dwelled dwelling",
    "burn burnest burneth burns burnt burned burning",
    "kneel kneelest kneeleth kneels knelt kneeled kneeling",
    "creep creepest creepeth creeps crept creeping",
    "sweep sweepest sweepeth sweeps swept sweeping",
    "leap leapest leapeth leaps leapt leaped leaping",
    "hew hewest heweth hews hewed hewn hewing",
    "sow sowest soweth sows sowed sown sowing",
    "shew shewest sheweth shews shewed shewedst shewn shewing",
    "show showest showeth shows showed shown showing",
    "slide slidest slideth slides slid sliding",
    "stick sticketh sticks stuck sticking",
    "wake wakest waketh wakes woke waked waking",
    "cleave cleavest cleaveth cleaves clave cleft cloven cleaving",
    "man men",
    "woman women",
    "child children",
    "foot feet",
    "tooth teeth",
    "ox oxen",
    "mouse mice",
    "brother brethren brothers",
    "wife wives",
    "life lives",
    "knife knives",
    "thief thieves",
    "leaf leaves",
    "loaf loaves",
    "calf calves",
    "half halves",
    "wolf wolves",
    "sheaf sheaves",
    "staff staves",
    "self selves"};

const std::map<std::string_view, std::vector<std::string_view>>& irregularForms() {
    static const auto table = [] {
        std::map<std::string_view, std::vector<std::string_view>> t;
        for (std::string_view line : kIrregular) {
            std::vector<std::string_view> forms;
            for (std::size_t i = 0; i < line.size();) {
                std::size_t end = line.find(' ', i);
                if (end == std::string_view::npos)
                    end = line.size();
                forms.push_back(line.substr(i, end - i));
                i = end + 1;
            }
            for (std::string_view f : forms) {
                auto& group = t[f];
                group.insert(group.end(), forms.begin(), forms.end());
            }
        }
        return t;
    }();
    return table;
}

bool isVowel(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

bool endsWith(std::string_view w, std::string_view suffix) {
    return w.size() >= suffix.size() && w.substr(w.size() - suffix.size()) == suffix;
}

// A final consonant after one vowel (sin, stop) is doubled before a vowel ending.
bool doublesFinal(std::string_view w) {
    if (w.size() < 3)
        return false;
    const char last = w[w.size() - 1], mid = w[w.size() - 2], before = w[w.size() - 3];
    return !isVowel(last) && last != 'w' && last != 'x' && last != 'y' && isVowel(mid) &&
           !isVowel(before);
}

void addRegularForms(std::string_view base, std::vector<std::string>& out) {
    const std::string b(base);
    out.push_back(b);
    if (endsWith(b, "ie")) { // die → dying, died, dieth
        const std::string stem = b.substr(0, b.size() - 2);
        for (const char* s : {"s", "d", "st", "th", "dst"})
            out.push_back(b + s);
        out.push_back(stem + "ying");
    } else if (b.back() == 'e') { // love → loves, loved, lovest, loveth, lovedst, loving
        for (const char* s : {"s", "d", "st", "th", "dst"})
            out.push_back(b + s);
        if (endsWith(b, "ee") || endsWith(b, "ye") || endsWith(b, "oe"))
            out.push_back(b + "ing");
        else
            out.push_back(b.substr(0, b.size() - 1) + "ing");
        if (endsWith(b, "fe")) // wife → wives
            out.push_back(b.substr(0, b.size() - 2) + "ves");
    } else if (b.size() >= 2 && b.back() == 'y' && !isVowel(b[b.size() - 2])) {
        const std::string stem = b.substr(0, b.size() - 1); // cry → cries, cried, crieth
        for (const char* s : {"ies", "ied", "iest", "ieth", "iedst"})
            out.push_back(stem + s);
        out.push_back(b + "ing");
    } else {
        const bool sibilant = b.back() == 's' || b.back() == 'x' || b.back() == 'z' ||
                              endsWith(b, "ch") || endsWith(b, "sh");
        if (!sibilant)
            out.push_back(b + "s");
        for (const char* s : {"es", "ed", "ing", "est", "eth", "edst"})
            out.push_back(b + s);
        if (doublesFinal(b)) {
            const std::string doubled = b + b.back();
            for (const char* s : {"ed", "ing", "est", "eth", "edst"})
                out.push_back(doubled + s);
        }
        if (b.back() == 'f') // leaf → leaves
            out.push_back(b.substr(0, b.size() - 1) + "ves");
    }
}

// Bases a typed word may come from (loveth → lov, love; cried → cry; sinned → sin).
std::vector<std::string> possibleBases(std::string_view word) {
    std::vector<std::string> bases{std::string(word)};
    struct Suffix {
        std::string_view text;
        std::string_view replacement;
    };
    static constexpr Suffix kSuffixes[] = {
        {"iedst", "y"}, {"iest", "y"}, {"ieth", "y"}, {"ies", "y"}, {"ied", "y"},
        {"edst", ""},   {"eth", ""},   {"est", ""},   {"ing", ""},  {"ves", "f"},
        {"ves", "fe"},  {"ed", ""},    {"es", ""},    {"s", ""},    {"d", ""}};
    for (const Suffix& s : kSuffixes) {
        if (!endsWith(word, s.text) || word.size() < s.text.size() + 3)
            continue;
        const std::string stem(word.substr(0, word.size() - s.text.size()));
        if (!s.replacement.empty()) {
            bases.push_back(stem + std::string(s.replacement));
            continue;
        }
        bases.push_back(stem);
        bases.push_back(stem + "e");
        if (stem.size() >= 2 && stem.back() == stem[stem.size() - 2] && !isVowel(stem.back()))
            bases.push_back(stem.substr(0, stem.size() - 1));
    }
    return bases;
}

} // namespace

std::vector<std::string> englishInflections(std::string_view word) {
    std::vector<std::string> out;
    if (word.empty())
        return out;
    if (std::find(std::begin(kUninflected), std::end(kUninflected), word) != std::end(kUninflected))
        return {std::string(word)};
    for (const std::string& base : possibleBases(word)) {
        const auto& irregular = irregularForms();
        if (auto it = irregular.find(base); it != irregular.end()) {
            for (std::string_view form : it->second)
                out.emplace_back(form);
            continue;
        }
        addRegularForms(base, out);
    }
    out.push_back(std::string(word));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace qel
