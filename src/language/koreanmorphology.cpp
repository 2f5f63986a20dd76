#include "language/koreanmorphology.h"

#include "language/koreanjamo.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>
#include <utility>

namespace qel::korean {
namespace {

// How a morpheme takes its shape from what stands before it.
enum class Alt : unsigned char {
    Plain,  // as written; a predicate stem in ㄹ loses it before ㄴ, ㅂ, ㅅ, 오
    Eu,     // 으 after a consonant: (으)니, (으)시, (으)ㄴ, (으)ㅁ
    Eo,     // 어/아/여 by vowel harmony, with the vowel contractions (셔, 봐, 해, 써)
    Seup,   // ㅂ니다 after a vowel, 습니다 after a consonant
    NeunDa, // ㄴ다 after a vowel, 는다 after a consonant
    Pair,   // particle with a form after consonants and one after vowels (이/가, 을/를)
    Copula, // 이다: after a vowel the 이 may be left out (목자시니, 목자라)
};

enum class Slot : unsigned char {
    Particle,      // may be followed by more particles (에서+는)
    ParticleFinal, // ends the word (이/가, 을/를, 의, 도)
    Plural,        // 들
    Copula,
    PreFinal,   // 시, 옵, 었, 겠, 더, 리, 느
    Final,      // ending that may take a particle after it (-고는, -다고, -어서)
    FinalOnly,  // ending that closes the word
    Adnominal,  // ㄴ, 는, ㄹ, 던
    Nominaliser // ㅁ, 기
};

struct MorphDef {
    const char32_t* form;
    const char32_t* vowelForm; // Pair only
    Alt alt;
    Slot slot;
    unsigned char rank = 0; // pre-finals: their order in the word
    bool rieulTakesVowelForm = false;
    bool openAfter = false; // humble 옵 takes the next ending without 으 (옵소서, 옵시고)
};

// Particles. Forms after a consonant first.
const MorphDef kParticles[] = {
    {U"이", U"가", Alt::Pair, Slot::ParticleFinal},
    {U"을", U"를", Alt::Pair, Slot::ParticleFinal},
    {U"은", U"는", Alt::Pair, Slot::ParticleFinal},
    {U"과", U"와", Alt::Pair, Slot::Particle},
    {U"으로", U"로", Alt::Pair, Slot::Particle, 0, true},
    {U"으로서", U"로서", Alt::Pair, Slot::Particle, 0, true},
    {U"으로써", U"로써", Alt::Pair, Slot::Particle, 0, true},
    {U"으로부터", U"로부터", Alt::Pair, Slot::Particle, 0, true},
    {U"이나", U"나", Alt::Pair, Slot::ParticleFinal},
    {U"이나마", U"나마", Alt::Pair, Slot::ParticleFinal},
    {U"이며", U"며", Alt::Pair, Slot::ParticleFinal},
    {U"이여", U"여", Alt::Pair, Slot::ParticleFinal},
    {U"아", U"야", Alt::Pair, Slot::ParticleFinal},
    {U"이시여", U"시여", Alt::Pair, Slot::ParticleFinal},
    {U"이라도", U"라도", Alt::Pair, Slot::ParticleFinal},
    {U"이든지", U"든지", Alt::Pair, Slot::ParticleFinal},
    {U"이든", U"든", Alt::Pair, Slot::ParticleFinal},
    {U"이야", U"야", Alt::Pair, Slot::ParticleFinal},
    {U"이야말로", U"야말로", Alt::Pair, Slot::ParticleFinal},
    {U"의", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"도", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"에", nullptr, Alt::Plain, Slot::Particle},
    {U"에서", nullptr, Alt::Plain, Slot::Particle},
    {U"에게", nullptr, Alt::Plain, Slot::Particle},
    {U"에게서", nullptr, Alt::Plain, Slot::Particle},
    {U"에게로", nullptr, Alt::Plain, Slot::Particle},
    {U"에로", nullptr, Alt::Plain, Slot::Particle},
    {U"께", nullptr, Alt::Plain, Slot::Particle},
    {U"께서", nullptr, Alt::Plain, Slot::Particle},
    {U"께로", nullptr, Alt::Plain, Slot::Particle},
    {U"께옵서", nullptr, Alt::Plain, Slot::Particle},
    {U"한테", nullptr, Alt::Plain, Slot::Particle},
    {U"더러", nullptr, Alt::Plain, Slot::Particle},
    {U"보다", nullptr, Alt::Plain, Slot::Particle},
    {U"처럼", nullptr, Alt::Plain, Slot::Particle},
    {U"같이", nullptr, Alt::Plain, Slot::Particle},
    {U"만큼", nullptr, Alt::Plain, Slot::Particle},
    {U"만", nullptr, Alt::Plain, Slot::Particle},
    {U"까지", nullptr, Alt::Plain, Slot::Particle},
    {U"부터", nullptr, Alt::Plain, Slot::Particle},
    {U"마다", nullptr, Alt::Plain, Slot::Particle},
    {U"조차", nullptr, Alt::Plain, Slot::Particle},
    {U"마저", nullptr, Alt::Plain, Slot::Particle},
    {U"밖에", nullptr, Alt::Plain, Slot::Particle},
    {U"뿐", nullptr, Alt::Plain, Slot::Particle},
    {U"대로", nullptr, Alt::Plain, Slot::Particle},
    {U"씩", nullptr, Alt::Plain, Slot::Particle},
    {U"하고", nullptr, Alt::Plain, Slot::Particle},
    {U"커녕", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"치고", nullptr, Alt::Plain, Slot::Particle},
    {U"들", nullptr, Alt::Plain, Slot::Plural},
    {U"이", nullptr, Alt::Copula, Slot::Copula},
};

// Endings of predicates (and of the copula), modern and old.
const MorphDef kEndings[] = {
    // Pre-final endings: honorific, humble, past, future, retrospective, prospective.
    {U"시", nullptr, Alt::Eu, Slot::PreFinal, 1},
    {U"옵", nullptr, Alt::Eu, Slot::PreFinal, 1, false, true},
    {U"사옵", nullptr, Alt::Plain, Slot::PreFinal, 1, false, true},
    {U"자옵", nullptr, Alt::Plain, Slot::PreFinal, 1, false, true},
    {U"오", nullptr, Alt::Eu, Slot::PreFinal, 1},
    {U"사오", nullptr, Alt::Plain, Slot::PreFinal, 1},
    {U"었", nullptr, Alt::Eo, Slot::PreFinal, 2},
    {U"겠", nullptr, Alt::Plain, Slot::PreFinal, 3},
    // The humble 사오/사옵 also follows the past and the future: 하였사오니, 지키겠사오니.
    {U"사오", nullptr, Alt::Plain, Slot::PreFinal, 4},
    {U"사옵", nullptr, Alt::Plain, Slot::PreFinal, 4, false, true},
    {U"더", nullptr, Alt::Plain, Slot::PreFinal, 5},
    {U"리", nullptr, Alt::Eu, Slot::PreFinal, 5},
    {U"느", nullptr, Alt::Plain, Slot::PreFinal, 5},
    // Sentence endings.
    {U"다", nullptr, Alt::Plain, Slot::Final},
    {U"ㄴ다", nullptr, Alt::NeunDa, Slot::Final},
    {U"니라", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"라", nullptr, Alt::Eu, Slot::Final},
    {U"어라", nullptr, Alt::Eo, Slot::FinalOnly},
    {U"거라", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"너라", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"도다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"로다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"는도다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"노라", nullptr, Alt::Plain, Slot::Final},
    {U"로라", nullptr, Alt::Plain, Slot::Final},
    {U"나이다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"니이다", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"이다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"소이다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"로소이다", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"이까", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"나이까", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"소서", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지어다", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지니라", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지니", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지라", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지로다", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ지라도", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ진대", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ진저", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ찌니라", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"ㄹ찌라도", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"자", nullptr, Alt::Plain, Slot::Final},
    {U"세", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"냐", nullptr, Alt::Eu, Slot::Final},
    {U"뇨", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"니까", nullptr, Alt::Eu, Slot::Final},
    {U"ㅂ니다", nullptr, Alt::Seup, Slot::FinalOnly},
    {U"ㅂ니까", nullptr, Alt::Seup, Slot::FinalOnly},
    {U"ㅂ시다", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"구나", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"는구나", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"요", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"오", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"소", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"네", nullptr, Alt::Plain, Slot::FinalOnly},
    {U"마", nullptr, Alt::Eu, Slot::FinalOnly},
    {U"지", nullptr, Alt::Plain, Slot::Final},
    {U"게", nullptr, Alt::Plain, Slot::Final},
    {U"어", nullptr, Alt::Eo, Slot::Final},
    // Connective endings.
    {U"고", nullptr, Alt::Plain, Slot::Final},
    {U"며", nullptr, Alt::Eu, Slot::Final},
    {U"면", nullptr, Alt::Eu, Slot::Final},
    {U"면서", nullptr, Alt::Eu, Slot::Final},
    {U"니", nullptr, Alt::Eu, Slot::Final},
    {U"매", nullptr, Alt::Eu, Slot::Final},
    {U"므로", nullptr, Alt::Eu, Slot::Final},
    {U"되", nullptr, Alt::Eu, Slot::Final},
    {U"되", nullptr, Alt::Plain, Slot::Final}, // 듣되, 먹되 beside 들으되
    {U"다면", nullptr, Alt::Plain, Slot::Final},
    {U"라면", nullptr, Alt::Plain, Slot::Final},
    {U"자마자", nullptr, Alt::Plain, Slot::Final},
    {U"사", nullptr, Alt::Eu, Slot::Final},
    {U"거늘", nullptr, Alt::Plain, Slot::Final},
    {U"거니와", nullptr, Alt::Plain, Slot::Final},
    {U"거든", nullptr, Alt::Plain, Slot::Final},
    {U"건대", nullptr, Alt::Plain, Slot::Final},
    {U"건마는", nullptr, Alt::Plain, Slot::Final},
    {U"건만", nullptr, Alt::Plain, Slot::Final},
    {U"나", nullptr, Alt::Eu, Slot::Final},
    {U"거나", nullptr, Alt::Plain, Slot::Final},
    {U"나니", nullptr, Alt::Plain, Slot::Final},
    {U"노니", nullptr, Alt::Plain, Slot::Final},
    {U"든지", nullptr, Alt::Plain, Slot::Final},
    {U"도록", nullptr, Alt::Plain, Slot::Final},
    {U"려", nullptr, Alt::Eu, Slot::Final},
    {U"려고", nullptr, Alt::Eu, Slot::Final},
    {U"려니와", nullptr, Alt::Eu, Slot::Final},
    {U"려니", nullptr, Alt::Eu, Slot::Final},
    {U"려거든", nullptr, Alt::Eu, Slot::Final},
    {U"러", nullptr, Alt::Eu, Slot::Final},
    {U"고자", nullptr, Alt::Plain, Slot::Final},
    {U"다가", nullptr, Alt::Plain, Slot::Final},
    {U"어서", nullptr, Alt::Eo, Slot::Final},
    {U"어도", nullptr, Alt::Eo, Slot::Final},
    {U"어야", nullptr, Alt::Eo, Slot::Final},
    {U"지만", nullptr, Alt::Plain, Slot::Final},
    {U"듯", nullptr, Alt::Plain, Slot::Final},
    {U"듯이", nullptr, Alt::Plain, Slot::Final},
    {U"기에", nullptr, Alt::Plain, Slot::Final},
    {U"기로", nullptr, Alt::Plain, Slot::Final},
    {U"ㄴ즉", nullptr, Alt::Eu, Slot::Final},
    {U"ㄴ데", nullptr, Alt::Eu, Slot::Final},
    {U"는데", nullptr, Alt::Plain, Slot::Final},
    {U"ㄴ들", nullptr, Alt::Eu, Slot::Final},
    {U"ㄹ수록", nullptr, Alt::Eu, Slot::Final},
    {U"ㄹ새", nullptr, Alt::Eu, Slot::Final},
    {U"ㄹ까", nullptr, Alt::Eu, Slot::Final},
    {U"ㄹ꼬", nullptr, Alt::Eu, Slot::Final},
    {U"ㄹ지", nullptr, Alt::Eu, Slot::Final},
    {U"ㄴ지", nullptr, Alt::Eu, Slot::Final},
    {U"는지", nullptr, Alt::Plain, Slot::Final},
    // Adnominal endings and nominalisers.
    {U"ㄴ", nullptr, Alt::Eu, Slot::Adnominal},
    {U"는", nullptr, Alt::Plain, Slot::Adnominal},
    {U"ㄹ", nullptr, Alt::Eu, Slot::Adnominal},
    {U"던", nullptr, Alt::Plain, Slot::Adnominal},
    {U"ㅁ", nullptr, Alt::Eu, Slot::Nominaliser},
    {U"기", nullptr, Alt::Plain, Slot::Nominaliser},
};

// Particles after an ending: -고는, -다고, -어서, -어도, -지만, -어야.
const MorphDef kPostParticles[] = {
    {U"은", U"는", Alt::Pair, Slot::ParticleFinal},
    {U"도", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"요", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"고", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"서", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"야", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"만", nullptr, Alt::Plain, Slot::ParticleFinal},
    {U"든지", nullptr, Alt::Plain, Slot::ParticleFinal}, // 해서든지
    {U"을", U"를", Alt::Pair, Slot::ParticleFinal},      // 들었는지를
};

const char32_t* const kDerivationalSuffixes[] = {U"하", U"되", U"시키", U"받"};

const char32_t* const kFunctionWords[] = {U"그",   U"이",   U"저", U"이런", U"그런",
                                          U"저런", U"또는", U"및", U"혹은", U"즉"};

struct Morph {
    std::u32string form, vowelForm, label, vowelLabel;
    Alt alt;
    Slot slot;
    unsigned char rank;
    bool rieulTakesVowelForm;
    bool openAfter;
    bool mayChangeLast = false;          // may attach to or contract the syllable before it
    unsigned initials = 0;               // initial consonants it can start a syllable with
    unsigned initialsAfterConsonant = 0; // more of them after a closed syllable (으, 습, 는)
};

struct Tables {
    std::vector<Morph> particles, endings, post;
};

std::vector<Morph> build(const MorphDef* defs, std::size_t n) {
    std::vector<Morph> out;
    for (std::size_t i = 0; i < n; ++i) {
        const MorphDef& d = defs[i];
        Morph m;
        m.form = toJamo(d.form);
        m.label = d.form;
        if (d.vowelForm) {
            m.vowelForm = toJamo(d.vowelForm);
            m.vowelLabel = d.vowelForm;
        }
        m.alt = d.alt;
        m.slot = d.slot;
        m.rank = d.rank;
        m.rieulTakesVowelForm = d.rieulTakesVowelForm;
        m.openAfter = d.openAfter;
        auto bit = [](char32_t c) { return isInitialJamo(c) ? 1u << initialOf(c) : 0u; };
        switch (m.alt) {
        case Alt::Pair:
            m.initials = bit(m.form[0]) | bit(m.vowelForm[0]);
            break;
        case Alt::Plain:
            m.initials = bit(m.form[0]);
            m.mayChangeLast = isFinalJamo(m.form[0]);
            break;
        case Alt::Eu:
            m.initials = bit(m.form[0]);
            m.initialsAfterConsonant = 1u << kNg;
            m.mayChangeLast = isFinalJamo(m.form[0]);
            break;
        case Alt::Seup:
        case Alt::NeunDa:
            m.initialsAfterConsonant = 1u << (m.alt == Alt::Seup ? kS : kN);
            m.mayChangeLast = true;
            break;
        case Alt::Eo:
            m.initials = (1u << kNg) | (1u << kR);
            m.mayChangeLast = true;
            break;
        case Alt::Copula:
            m.initials = 1u << kNg;
            m.mayChangeLast = true; // may be left out
            break;
        }
        out.push_back(std::move(m));
    }
    return out;
}

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        t.particles = build(kParticles, std::size(kParticles));
        t.endings = build(kEndings, std::size(kEndings));
        t.post = build(kPostParticles, std::size(kPostParticles));
        return t;
    }();
    return t;
}

enum class Irr : unsigned char { None, S, D, B, Reu, Reo, H, U };

// A word being built from its parts, in jamo. Fixed storage: the analyser runs for every
// word of the index, and a heap allocation per step would dominate.
struct Left {
    static constexpr int kCap = 96;
    std::array<char32_t, kCap> c; // only the first n are set; copies take only those
    int n = 0;
    bool bad = false;
    bool elidedI = false;   // copula 이 left out after a vowel
    bool openAfter = false; // the last part was humble 옵
    bool predicateStem = false;
    bool alwaysIrregular = false; // the stem never takes a vowel ending as it is (짓, 듣)
    Irr irr = Irr::None;

    Left() = default;
    Left(const Left& o) { *this = o; }
    Left& operator=(const Left& o) {
        std::copy(o.c.begin(), o.c.begin() + o.n, c.begin());
        n = o.n;
        bad = o.bad;
        elidedI = o.elidedI;
        openAfter = o.openAfter;
        predicateStem = o.predicateStem;
        alwaysIrregular = o.alwaysIrregular;
        irr = o.irr;
        return *this;
    }

    void push(char32_t x) {
        if (n < kCap)
            c[n++] = x;
        else
            bad = true;
    }
    void append(std::u32string_view s) {
        for (char32_t x : s)
            push(x);
    }
    bool closed() const { return n > 0 && isFinalJamo(c[n - 1]); }
    int lastFinal() const { return closed() ? finalOf(c[n - 1]) : kNoFinal; }
    int lastVowelIndex() const { return closed() ? n - 2 : n - 1; }
    int lastVowel() const {
        const int i = lastVowelIndex();
        return i >= 0 && isVowelJamo(c[i]) ? vowelOf(c[i]) : -1;
    }
    int lastInitial() const {
        const int i = lastVowelIndex() - 1;
        return i >= 0 && isInitialJamo(c[i]) ? initialOf(c[i]) : -1;
    }
    // Vowel of the syllable before the last one (-1 when none).
    int previousVowel() const {
        for (int i = lastVowelIndex() - 2; i >= 0; --i)
            if (isVowelJamo(c[i]))
                return vowelOf(c[i]);
        return -1;
    }
};

bool isBright(int vowel) {
    return vowel == kA || vowel == kO || vowel == kYa;
}

void addSyllable(Left& l, int initial, int vowel, char32_t fin) {
    l.push(initialJamo(initial));
    l.push(vowelJamo(vowel));
    if (fin)
        l.push(fin);
}

// Attaches a final consonant to an open last syllable; ㄹ + ㅁ gives ㄻ (삶).
bool attachFinal(Left& l, char32_t fin) {
    if (!l.closed()) {
        l.push(fin);
        return true;
    }
    if (l.lastFinal() == kFR && finalOf(fin) == kFM) {
        l.c[l.n - 1] = finalJamo(kFRM);
        return true;
    }
    return false;
}

// A predicate stem in ㄹ loses it before ㄴ, ㅂ, ㅅ and 오 (사는, 사시니, 만드사, 사오니).
bool dropsRieulBefore(const std::u32string& form) {
    if (form.empty())
        return false;
    const char32_t f = form[0];
    if (isInitialJamo(f)) {
        const int i = initialOf(f);
        if (i == kN || i == kB || i == kS)
            return true;
        return i == kNg && form.size() > 1 && vowelOf(form[1]) == kO;
    }
    return false;
}

// The forms of one join: at most two (contracted and full), three with the copula.
struct Outs {
    std::array<Left, 3> items;
    int count = 0;
    void push_back(const Left& l) {
        if (count < 3)
            items[count++] = l;
    }
    void clear() { count = 0; }
    const Left* begin() const { return items.data(); }
    const Left* end() const { return items.data() + count; }
};

// Appends `form` (which may begin with a bare final consonant) to an open or closed word.
bool appendForm(Left& l, const std::u32string& form) {
    std::size_t i = 0;
    if (!form.empty() && isFinalJamo(form[0])) {
        if (!attachFinal(l, form[0]))
            return false;
        i = 1;
    }
    l.append(std::u32string_view(form).substr(i));
    return true;
}

// The forms of `l` + `m`.
void join(const Left& l, const Morph& m, Outs& out) {
    const bool closed = l.closed();
    const bool rieulStem = closed && l.predicateStem && l.lastFinal() == kFR && l.irr == Irr::None;
    auto emit = [&](Left next) {
        next.predicateStem = false;
        next.alwaysIrregular = false;
        next.irr = Irr::None;
        next.elidedI = false;
        next.openAfter = m.openAfter;
        if (!next.bad)
            out.push_back(next);
    };

    switch (m.alt) {
    case Alt::Pair: {
        if (l.elidedI || l.irr != Irr::None)
            return;
        const bool vowelForm = !closed || (m.rieulTakesVowelForm && l.lastFinal() == kFR);
        Left next = l;
        next.append(vowelForm ? m.vowelForm : m.form);
        emit(next);
        return;
    }
    case Alt::Copula: {
        if (l.elidedI || l.irr != Irr::None)
            return;
        Left next = l;
        addSyllable(next, kNg, kI, 0);
        emit(next);
        if (!closed) {
            Left elided = l;
            elided.predicateStem = false;
            elided.alwaysIrregular = false;
            elided.irr = Irr::None;
            elided.elidedI = true;
            out.push_back(elided);
        }
        return;
    }
    case Alt::Plain: {
        if (l.irr != Irr::None)
            return;
        if (l.elidedI && isFinalJamo(m.form[0]))
            return;
        Left next = l;
        if (rieulStem && dropsRieulBefore(m.form))
            --next.n;
        if (appendForm(next, m.form))
            emit(next);
        return;
    }
    case Alt::Seup:
    case Alt::NeunDa: {
        if (l.irr != Irr::None || l.elidedI)
            return;
        const std::u32string rest = m.form.substr(1); // after the bare ㅂ / ㄴ
        Left next = l;
        if (rieulStem) {
            next.c[next.n - 1] = m.form[0];
        } else if (closed) {
            if (m.alt == Alt::Seup)
                addSyllable(next, kS, kEu, m.form[0]);
            else
                addSyllable(next, kN, kEu, m.form[0]);
        } else {
            next.push(m.form[0]);
        }
        next.append(rest);
        emit(next);
        return;
    }
    case Alt::Eu: {
        Left next = l;
        bool needsEu = closed && !rieulStem && !l.openAfter;
        switch (l.irr) {
        case Irr::None:
            if (needsEu && l.alwaysIrregular)
                return;
            break;
        case Irr::S: // 짓 + 으니 -> 지으니
            if (l.lastFinal() != kFS)
                return;
            --next.n;
            needsEu = true;
            break;
        case Irr::D: // 듣 + 으니 -> 들으니
            if (l.lastFinal() != kFD)
                return;
            next.c[next.n - 1] = finalJamo(kFR);
            needsEu = true;
            break;
        case Irr::B: // 돕 + 으니 -> 도우니, 아름답 + 은 -> 아름다운
            if (l.lastFinal() != kFB)
                return;
            --next.n;
            addSyllable(next, kNg, kU, 0);
            needsEu = false;
            break;
        case Irr::H: // 그렇 + 은 -> 그런
            if (l.lastFinal() != kFH)
                return;
            --next.n;
            needsEu = false;
            break;
        default:
            return;
        }
        if (l.elidedI) {
            if (isFinalJamo(m.form[0]))
                return;
            next.append(m.form);
            emit(next);
            return;
        }
        if (needsEu) {
            if (isFinalJamo(m.form[0])) {
                addSyllable(next, kNg, kEu, m.form[0]);
                next.append(std::u32string_view(m.form).substr(1));
            } else {
                addSyllable(next, kNg, kEu, 0);
                next.append(m.form);
            }
            emit(next);
            return;
        }
        if (rieulStem) {
            if (isFinalJamo(m.form[0])) {
                const int f = finalOf(m.form[0]);
                if (f == kFN || f == kFB)
                    next.c[next.n - 1] = m.form[0];
                else if (f == kFM)
                    next.c[next.n - 1] = finalJamo(kFRM);
                // ㄹ + ㄹ stays one ㄹ
                next.append(std::u32string_view(m.form).substr(1));
                emit(next);
                return;
            }
            if (dropsRieulBefore(m.form))
                --next.n;
            next.append(m.form);
            emit(next);
            return;
        }
        if (appendForm(next, m.form))
            emit(next);
        return;
    }
    case Alt::Eo: {
        // m.form = 어 [final] rest...
        const char32_t fin = m.form.size() > 2 && isFinalJamo(m.form[2]) ? m.form[2] : 0;
        const std::u32string_view rest = std::u32string_view(m.form).substr(fin ? 3 : 2);
        auto withVowel = [&](Left base, int vowel) { // new syllable 어/아/여
            addSyllable(base, kNg, vowel, fin);
            base.append(rest);
            emit(base);
        };
        auto contract = [&](Left base, int vowel) { // the last vowel changes
            base.c[base.lastVowelIndex()] = vowelJamo(vowel);
            if (fin && !attachFinal(base, fin))
                return;
            base.append(rest);
            emit(base);
        };
        if (l.elidedI) { // 목자 + 이었다 -> 목자였다
            withVowel(l, kYeo);
            return;
        }
        const int v = l.lastVowel();
        if (v < 0)
            return;
        Left next = l;
        switch (l.irr) {
        case Irr::None:
            break;
        case Irr::S: // 짓 + 어 -> 지어
            if (l.lastFinal() != kFS)
                return;
            --next.n;
            withVowel(next, isBright(v) ? kA : kEo);
            return;
        case Irr::D: // 듣 + 어 -> 들어
            if (l.lastFinal() != kFD)
                return;
            next.c[next.n - 1] = finalJamo(kFR);
            withVowel(next, isBright(v) ? kA : kEo);
            return;
        case Irr::B: // 돕 + 아 -> 도와, 눕 + 어 -> 누워
            if (l.lastFinal() != kFB)
                return;
            --next.n;
            withVowel(next, v == kO ? kWa : kWo);
            return;
        case Irr::H: // 그렇 + 어 -> 그래
            if (l.lastFinal() != kFH)
                return;
            --next.n;
            if (v == kA || v == kEo)
                contract(next, kAe);
            else if (v == kYa || v == kYeo)
                contract(next, kYae);
            return;
        case Irr::Reu: { // 부르 + 어 -> 불러, 모르 + 아 -> 몰라
            if (closed || v != kEu || l.lastInitial() != kR)
                return;
            next.n -= 2;
            if (next.n < 2 || next.closed())
                return;
            const int pv = next.lastVowel();
            next.push(finalJamo(kFR));
            addSyllable(next, kR, isBright(pv) ? kA : kEo, fin);
            next.append(rest);
            emit(next);
            return;
        }
        case Irr::Reo: // 이르 + 어 -> 이르러
            if (closed || v != kEu || l.lastInitial() != kR)
                return;
            addSyllable(next, kR, kEo, fin);
            next.append(rest);
            emit(next);
            return;
        case Irr::U: // 푸 + 어 -> 퍼
            if (closed || v != kU)
                return;
            contract(next, kEo);
            return;
        }
        if (closed) {
            if (!l.alwaysIrregular)
                withVowel(l, isBright(v) ? kA : kEo);
            return;
        }
        if (l.lastInitial() == kH && v == kA) { // 하여, 해
            withVowel(l, kYeo);
            contract(l, kAe);
            return;
        }
        switch (v) {
        case kA:
        case kEo:
        case kYeo:
        case kYa:
            contract(l, v);
            return;
        case kAe:
        case kE:
            contract(l, v);
            withVowel(l, kEo);
            return;
        case kO:
            withVowel(l, kA);
            contract(l, kWa);
            return;
        case kU:
            withVowel(l, kEo);
            contract(l, kWo);
            return;
        case kI:
            withVowel(l, kEo);
            contract(l, kYeo);
            return;
        case kOe:
            withVowel(l, kEo);
            contract(l, kWae);
            return;
        case kEu:
            contract(l, isBright(l.previousVowel()) ? kA : kEo);
            return;
        default:
            withVowel(l, isBright(v) ? kA : kEo);
            return;
        }
    }
    }
}

enum class State : unsigned char { NounStem, Nominal, AfterParticle, PredStart, AfterFinal, Done };

struct Search {
    std::u32string_view target; // jamo
    std::vector<const std::u32string*> labels;
    bool found = false;
    std::u32string foundParts;
    bool stopAtFirst = true;
};

// The built word must be a prefix of the target up to its last syllable, whose vowel and
// final may still change (contractions, attached finals).
bool consistent(const Left& l, std::u32string_view target) {
    if (l.n > static_cast<int>(target.size()) + 1)
        return false;
    int keep = l.n;
    while (keep > 0 && !isInitialJamo(l.c[keep - 1]))
        --keep;
    if (keep > static_cast<int>(target.size()))
        return false;
    for (int i = 0; i < keep; ++i)
        if (l.c[i] != target[i])
            return false;
    return true;
}

bool complete(const Left& l, std::u32string_view target) {
    if (l.n != static_cast<int>(target.size()))
        return false;
    for (int i = 0; i < l.n; ++i)
        if (l.c[i] != target[i])
            return false;
    return true;
}

void explore(const Left& l, State state, int particles, unsigned preMask, int rank, int depth,
             Search& s);

// 나 or 너 (`l`) + a particle: 가 only melted (내가), 에게 and 의 both ways (내게, 나에게).
void meltPronoun(const Left& l, const Morph& m, Outs& outs) {
    const bool ga = m.label == U"이" && m.vowelLabel == U"가";
    const bool ege = m.label.starts_with(U"에게");
    const bool ui = m.label == U"의" && vowelOf(l.c[1]) == kA;
    if (!ga)
        join(l, m, outs);
    if (!ga && !ege && !ui)
        return;
    Left melted = l;
    melted.c[1] = vowelJamo(vowelOf(l.c[1]) == kA ? kAe : kE);
    if (ga)
        melted.append(m.vowelForm);
    else if (ege)
        melted.append(std::u32string_view(m.form).substr(2)); // the jamo after 에
    outs.push_back(melted);
}

void tryMorphs(const Left& l, const std::vector<Morph>& morphs, State state, int particles,
               unsigned preMask, int rank, int depth, Search& s) {
    Outs outs;
    // A part that only adds syllables must start with the target's next initial.
    // 나 and 너 melt with 가 and 에게 (내가, 네게서; 나가 is 나가다), 나 with 의 as well (내);
    // 네 alone is mostly four (네 사람).
    const bool pronounNa = state == State::NounStem && l.n == 2 && l.c[0] == initialJamo(kN) &&
                           isVowelJamo(l.c[1]) && (vowelOf(l.c[1]) == kA || vowelOf(l.c[1]) == kEo);
    const bool lastMayChange =
        l.irr != Irr::None || l.elidedI || (l.closed() && l.predicateStem) || pronounNa;
    const char32_t next =
        l.n < static_cast<int>(s.target.size()) ? s.target[static_cast<std::size_t>(l.n)] : 0;
    // The humble 오 and 사오 take no 아/어 after them (새와 is no 새 + 오 + 아).
    // The 느 of the present only before endings in ㄴ (하느니라, 하느냐).
    const bool afterHumbleO =
        !s.labels.empty() && (*s.labels.back() == U"오" || *s.labels.back() == U"사오");
    const bool afterNeu = !s.labels.empty() && *s.labels.back() == U"느";
    // The prospective 리 only before 라, 니, 로다, 이다, 요, 오 (하리라, 하리니, 하리이다),
    // never before 고, 며, 소서, 지 (주리고 is 주리다).
    const bool afterRi = !s.labels.empty() && *s.labels.back() == U"리";
    // 을/를 after an ending only where it closes a question or a negation (는지를, 하지를):
    // after ㄴ들 it would read 산들을 (mountains) as 살다.
    const bool afterJi = !s.labels.empty() && s.labels.back()->ends_with(U'지');
    for (std::size_t i = 0; i < morphs.size() && !s.found; ++i) {
        const Morph& m = morphs[i];
        if ((afterHumbleO && m.alt == Alt::Eo) || (afterNeu && m.form[0] != initialJamo(kN)) ||
            (afterRi && m.form[0] != initialJamo(kN) && m.form[0] != initialJamo(kR) &&
             m.form[0] != initialJamo(kNg)) ||
            (state == State::AfterFinal && m.label == U"을" && !afterJi))
            continue;
        if (!lastMayChange && !m.mayChangeLast) {
            if (!next || !isInitialJamo(next))
                continue;
            const unsigned bit = 1u << initialOf(next);
            if (!(m.initials & bit) && !(l.closed() && (m.initialsAfterConsonant & bit)))
                continue;
        }
        State next;
        int nextParticles = particles;
        unsigned nextMask = preMask;
        int nextRank = rank;
        switch (state) {
        case State::NounStem:
        case State::Nominal:
        case State::AfterParticle:
            if (m.slot == Slot::Plural) {
                if (state != State::NounStem)
                    continue;
                next = State::Nominal;
            } else if (m.slot == Slot::Copula) {
                next = State::PredStart;
                nextMask = 0;
                nextRank = 0;
            } else {
                if (particles >= 3)
                    continue;
                next = m.slot == Slot::ParticleFinal ? State::Done : State::AfterParticle;
                ++nextParticles;
            }
            break;
        case State::PredStart:
            if (m.slot == Slot::PreFinal) {
                if (m.rank < rank || (preMask & (1u << i)))
                    continue;
                next = State::PredStart;
                nextMask |= 1u << i;
                nextRank = m.rank;
            } else if (m.slot == Slot::Final) {
                next = State::AfterFinal;
            } else if (m.slot == Slot::Nominaliser) {
                next = State::Nominal;
                nextParticles = 0;
            } else {
                next = State::Done;
            }
            break;
        case State::AfterFinal:
            next = State::Done;
            break;
        default:
            return;
        }
        outs.clear();
        if (pronounNa)
            meltPronoun(l, m, outs);
        else
            join(l, m, outs);
        for (const Left& o : outs) {
            if (!consistent(o, s.target))
                continue;
            static const std::u32string kElided = U"(이)";
            s.labels.push_back(
                o.elidedI ? &kElided
                          : (m.alt == Alt::Pair && (!l.closed() ||
                                                    (m.rieulTakesVowelForm && l.lastFinal() == kFR))
                                 ? &m.vowelLabel
                                 : &m.label));
            explore(o, next, nextParticles, nextMask, nextRank, depth + 1, s);
            s.labels.pop_back();
            if (s.found)
                return;
        }
    }
}

void explore(const Left& l, State state, int particles, unsigned preMask, int rank, int depth,
             Search& s) {
    if (s.found)
        return;
    const bool accepting = state == State::NounStem || state == State::Nominal ||
                           state == State::AfterParticle || state == State::AfterFinal ||
                           state == State::Done;
    if (accepting && !l.elidedI && complete(l, s.target)) {
        s.found = true;
        std::u32string parts;
        for (const std::u32string* label : s.labels) {
            parts += U'+';
            parts += *label;
        }
        s.foundParts = parts;
        return;
    }
    if (depth >= 7 || l.n > static_cast<int>(s.target.size()))
        return;
    const Tables& t = tables();
    switch (state) {
    case State::NounStem:
    case State::Nominal:
    case State::AfterParticle:
        tryMorphs(l, t.particles, state, particles, preMask, rank, depth, s);
        break;
    case State::PredStart:
        tryMorphs(l, t.endings, state, particles, preMask, rank, depth, s);
        break;
    case State::AfterFinal:
        tryMorphs(l, t.post, state, particles, preMask, rank, depth, s);
        break;
    case State::Done:
        break;
    }
}

// The ㅅ and ㄷ irregular verbs are a closed set; the other stems in ㅅ and ㄷ keep them
// (씻어, 믿은), so 밀은 is no form of 믿다. 걷다 and 묻다 are both: walk and roll up, ask
// and bury.
bool endsWithAny(std::u32string_view stem, std::initializer_list<std::u32string_view> ends) {
    return std::any_of(ends.begin(), ends.end(),
                       [&](std::u32string_view e) { return stem.ends_with(e); });
}

bool isSIrregular(std::u32string_view stem) {
    return endsWithAny(stem, {U"짓", U"잇", U"낫", U"붓", U"긋", U"젓", U"잣"});
}

bool isDIrregular(std::u32string_view stem, bool only) {
    return endsWithAny(stem, {U"듣", U"싣", U"긷", U"붇", U"눋", U"겯", U"컫", U"깨닫", U"치닫"}) ||
           (!only && endsWithAny(stem, {U"걷", U"묻"}));
}

std::vector<Irr> irregularOptions(const Left& stem, std::u32string_view syllables) {
    std::vector<Irr> opts{Irr::None};
    switch (stem.lastFinal()) {
    case kFS:
        if (isSIrregular(syllables))
            opts.push_back(Irr::S);
        break;
    case kFD:
        if (isDIrregular(syllables, false))
            opts.push_back(Irr::D);
        break;
    case kFB:
        opts.push_back(Irr::B);
        break;
    case kFH: {
        // Only the colour and demonstrative adjectives: 그렇, 어떻, 하얗, 빨갛, 노랗, 까맣.
        static const std::u32string_view kSyllables = U"렇떻얗갛랗맣";
        const char32_t last = fromJamo(std::u32string_view(stem.c.data(), stem.n)).back();
        if (kSyllables.find(last) != std::u32string_view::npos)
            opts.push_back(Irr::H);
        break;
    }
    case kNoFinal:
        if (stem.lastInitial() == kR && stem.lastVowel() == kEu) {
            opts.push_back(Irr::Reu);
            opts.push_back(Irr::Reo);
        } else if (stem.lastVowel() == kU && stem.lastInitial() == kP) {
            opts.push_back(Irr::U); // 푸다 alone: 주 + 어 is 줘, never 저
        }
        break;
    default:
        break;
    }
    return opts;
}

Left leftOf(std::u32string_view syllables) {
    Left l;
    const std::u32string j = toJamo(syllables);
    l.append(j);
    return l;
}

// Parses target as stem + parts; returns the parts text when it works.
bool parseFrom(const std::u32string& stemSyllables, bool predicate, std::u32string_view target,
               std::u32string& parts) {
    Left base = leftOf(stemSyllables);
    if (base.bad)
        return false;
    base.predicateStem = predicate;
    Search s;
    s.target = target;
    if (!predicate) {
        explore(base, State::NounStem, 0, 0, 0, 0, s);
    } else {
        for (Irr irr : irregularOptions(base, stemSyllables)) {
            Left l = base;
            l.irr = irr;
            l.alwaysIrregular = irr == Irr::None &&
                                (isSIrregular(stemSyllables) || isDIrregular(stemSyllables, true));
            explore(l, State::PredStart, 0, 0, 0, 0, s);
            if (s.found)
                break;
        }
    }
    if (s.found)
        parts = stemSyllables + s.foundParts;
    return s.found;
}

void addStem(std::vector<std::u32string>& v, std::u32string s) {
    if (std::find(v.begin(), v.end(), s) == v.end())
        v.push_back(std::move(s));
}

// Syllable strings that may be the stem of a predicate form of `w`; each is then checked.
std::vector<std::u32string> predicateStemCandidates(std::u32string_view w) {
    std::vector<std::u32string> out;
    for (std::size_t k = 1; k <= w.size(); ++k) {
        std::u32string base(w.substr(0, k));
        const char32_t last = base.back();
        const int c = syllableInitial(last), v = syllableVowel(last), t = syllableFinal(last);
        auto with = [&](int ci, int vi, int ti) {
            std::u32string s = base;
            s.back() = composeSyllable(ci, vi, ti);
            addStem(out, std::move(s));
        };
        auto decontract = [&] {
            switch (v) {
            case kWa:
                with(c, kO, 0);
                break;
            case kWo:
                with(c, kU, 0);
                break;
            case kYeo:
                with(c, kI, 0);
                break;
            case kAe:
                with(c, kA, 0);
                with(c, kEo, kFH);
                with(c, kA, kFH);
                break;
            case kYae:
                with(c, kYa, kFH);
                with(c, kYeo, kFH);
                break;
            case kWae:
                with(c, kOe, 0);
                break;
            case kEo:
                with(c, kEu, 0);
                with(c, kU, 0);
                break;
            case kA:
                with(c, kEu, 0);
                break;
            default:
                break;
            }
        };
        addStem(out, base);
        if (t != kNoFinal) {
            with(c, v, kNoFinal);
            if (t == kFN || t == kFB || t == kFRM)
                with(c, v, kFR);
            if (t == kFR)
                with(c, v, kFD);
            if (t == kFN || t == kFR || t == kFM)
                with(c, v, kFH);
            if (t == kFSS)
                decontract();
        } else {
            with(c, v, kFR);
            with(c, v, kFS);
            with(c, v, kFH);
            decontract();
        }
        if (k >= 2) {
            const char32_t prev = base[k - 2];
            if (c == kNg && (v == kU || v == kWo || v == kO || v == kWa) &&
                syllableFinal(prev) == kNoFinal) { // ㅂ irregular: 도와, 아름다운
                std::u32string s(base.substr(0, k - 1));
                s.back() = composeSyllable(syllableInitial(prev), syllableVowel(prev), kFB);
                addStem(out, std::move(s));
            }
            if (c == kR && (v == kEo || v == kA) && (t == kNoFinal || t == kFSS) &&
                syllableFinal(prev) == kFR) { // 르 irregular: 불러 -> 부르
                std::u32string s(base.substr(0, k - 1));
                s.back() = composeSyllable(syllableInitial(prev), syllableVowel(prev), kNoFinal);
                s.push_back(composeSyllable(kR, kEu, kNoFinal));
                addStem(out, std::move(s));
            }
            if (c == kR && v == kEo && prev == composeSyllable(kR, kEu, kNoFinal))
                addStem(out, std::u32string(base.substr(0, k - 1))); // 이르러 -> 이르
        }
    }
    return out;
}

bool allSyllables(std::u32string_view w) {
    return !w.empty() && std::all_of(w.begin(), w.end(), isSyllable);
}

constexpr std::size_t kMaxAnalysedSyllables = 24;

// Endings that quote what is said: 이르되, 이르시기를, 이르노니 are never 이르다 "reach".
bool quotes(std::u32string_view parts, std::u32string_view stem) {
    std::u32string_view ending = parts.substr(stem.size());
    if (ending.starts_with(U"+시"))
        ending.remove_prefix(2);
    return ending == U"+되" || ending == U"+기+를" || ending == U"+노니" || ending == U"+노라";
}

// 이르다 "say" (일러, 일렀다) and 이르다 "reach" (이르러, 이르렀다) share their stem; the forms
// of 어/아 tell them apart. "Reach" becomes the second sense; a form of neither kind may be
// either, unless it quotes.
void splitSenses(std::u32string_view word, std::vector<Analysis>& out) {
    const std::size_t n = out.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (out[i].wordClass != WordClass::Predicate || out[i].stem != U"이르")
            continue;
        if (word.starts_with(U"이르러") || word.starts_with(U"이르렀")) {
            out[i].stem += kSecondSense;
        } else if (!word.starts_with(U"일") && !quotes(out[i].parts, out[i].stem)) {
            Analysis reach = out[i];
            reach.stem += kSecondSense;
            out.push_back(std::move(reach));
        }
    }
}

} // namespace

std::vector<Analysis> analyse(std::u32string_view word) {
    std::vector<Analysis> out;
    if (word.empty())
        return out;
    if (!allSyllables(word) || word.size() > kMaxAnalysedSyllables) {
        out.push_back({std::u32string(word), WordClass::Noun, std::u32string(word)});
        return out;
    }
    const std::u32string target = toJamo(word);
    std::u32string parts;
    // Nouns: every prefix; the longest stems last so that shorter parses come first.
    for (std::size_t k = 1; k <= word.size(); ++k) {
        const std::u32string stem(word.substr(0, k));
        if (k == word.size()) {
            out.push_back({stem, WordClass::Noun, stem});
        } else if (parseFrom(stem, false, target, parts)) {
            out.push_back({stem, WordClass::Noun, parts});
        }
    }
    // 나 and 너 melted with their particle (내가, 네게).
    if (word[0] == U'내' || word[0] == U'네') {
        const std::u32string stem(1, word[0] == U'내' ? U'나' : U'너');
        if (parseFrom(stem, false, target, parts))
            out.push_back({stem, WordClass::Noun, parts});
    }
    for (const std::u32string& stem : predicateStemCandidates(word)) {
        // A stem never ends in the syllables of the 어/아/여 ending itself.
        const char32_t last = stem.back();
        if (syllableInitial(last) == kNg && syllableFinal(last) == kNoFinal &&
            (syllableVowel(last) == kEo || syllableVowel(last) == kA ||
             syllableVowel(last) == kYeo))
            continue;
        if (parseFrom(stem, true, target, parts))
            out.push_back({stem, WordClass::Predicate, parts});
    }
    splitSenses(word, out);
    return out;
}

bool isParticleTail(std::u32string_view stem, std::u32string_view tail) {
    if (tail.empty())
        return true;
    if (!allSyllables(stem) || !allSyllables(tail) ||
        stem.size() + tail.size() > kMaxAnalysedSyllables)
        return false;
    std::u32string word(stem);
    word += tail;
    const std::u32string target = toJamo(word);
    std::u32string parts;
    return parseFrom(std::u32string(stem), false, target, parts);
}

std::u32string derivationRoot(std::u32string_view stem) {
    for (const char32_t* suffix : kDerivationalSuffixes) {
        const std::u32string_view s(suffix);
        if (stem.size() > s.size() && stem.substr(stem.size() - s.size()) == s)
            return std::u32string(stem.substr(0, stem.size() - s.size()));
    }
    return {};
}

bool startsWithDependentNoun(std::u32string_view word) {
    static constexpr std::u32string_view kDependent[] = {U"줄", U"것", U"자", U"이", U"바", U"데",
                                                         U"지", U"적", U"뿐", U"때", U"후", U"뒤"};
    for (std::u32string_view noun : kDependent)
        if (word.starts_with(noun) && isParticleTail(noun, word.substr(noun.size())))
            return true;
    return false;
}

bool isFunctionWord(std::u32string_view word) {
    return std::any_of(std::begin(kFunctionWords), std::end(kFunctionWords),
                       [&](const char32_t* w) { return word == std::u32string_view(w); });
}

bool elidesCopula(const Analysis& a) {
    return a.wordClass == WordClass::Noun && a.parts.find(U"+(이)") != std::u32string::npos;
}

bool usesCopula(const Analysis& a) {
    // A particle 이 ends the word; the copula's 이 always has an ending after it.
    return elidesCopula(a) ||
           (a.wordClass == WordClass::Noun && a.parts.find(U"+이+") != std::u32string::npos);
}

int readingCost(const Analysis& a) {
    // Pieces that running text seldom needs where another reading does without them.
    static constexpr std::u32string_view kRare[] = {U"느", U"오", U"사오", U"(이)",
                                                    U"ㅁ", U"기", U"하고"};
    int cost = a.wordClass == WordClass::Predicate ? 3 : a.wordClass == WordClass::Modifier ? 1 : 0;
    std::size_t at = a.parts.find(U'+');
    while (at != std::u32string::npos) {
        const std::size_t next = a.parts.find(U'+', at + 1);
        const std::u32string_view part = std::u32string_view(a.parts).substr(
            at + 1, next == std::u32string::npos ? std::u32string::npos : next - at - 1);
        cost += part == U"들" ? 1 : 2;
        if (std::find(std::begin(kRare), std::end(kRare), part) != std::end(kRare))
            cost += 2;
        at = next;
    }
    return cost;
}

std::u32string_view withoutSense(std::u32string_view stem) {
    return stem.ends_with(kSecondSense) ? stem.substr(0, stem.size() - 1) : stem;
}

std::u32string_view senseGloss(std::u32string_view stem) {
    return stem == U"이르" ? U"말하다" : stem == U"이르2" ? U"다다르다" : U"";
}

std::u32string lemmaOf(const Analysis& a) {
    if (a.wordClass != WordClass::Predicate)
        return a.stem;
    std::u32string lemma(withoutSense(a.stem));
    lemma += U"다";
    if (lemma.size() == a.stem.size())
        lemma += kSecondSense; // 이르다2, as a dictionary numbers its homographs
    return lemma;
}

} // namespace qel::korean
