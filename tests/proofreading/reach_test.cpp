// Every row that reads only round its records declares how far it reads (pass_order.h), and a
// re-check walks again only what a change reaches by that declaration. Here every such row walks
// each record of texts alone, over the real store and over stores in which the records outside the
// record's declared reach are cut away or replaced: what it writes must stay the same. And with the
// reach one record shorter on a side (or without its look over a clause), some record's findings
// must change: a row declares no more than it reads, and the texts hold a case at every edge.
// JUX_REACH_SENTENCES=k adds k random sentences of the lexicon's words to the texts (100 by default).
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/token_spellings.h"
#include "golden_lexicon.h"

namespace {

// What one walk wrote, in a form a failure shows.
std::string written(const ReportTape& t) {
    std::string out;
    for (const ReportTape::Op& op : t.ops) {
        out += std::to_string(static_cast<int>(op.kind)) + " " + std::to_string(op.line_ends) + " " +
               std::to_string(op.from) + "-" + std::to_string(op.to) + " " + std::to_string(op.mask) + " " +
               std::to_string(op.effects) + " " + std::to_string(op.colour) + " ";
        if (op.kind == ReportTape::Kind::Title || op.kind == ReportTape::Kind::Line16) out += utf16_to_utf8(t.text_of16(op));
        else out += u8(std::string(t.text_of8(op)));
        out += "\n";
    }
    return out;
}

// The records [first, last] a row's findings at record p read by the reach: `back` and `ahead`
// records round it, and ahead beyond them up to and including the first whose gap ends the extent.
struct Window {
    std::size_t first, last;
};
Window window(const Reach& r, const SenToken* floor, std::size_t n, std::size_t p) {
    Window w{p >= r.back ? p - r.back : 0, std::min(n - 1, p + r.ahead)};
    if (r.ahead_over != Extent::None) {
        std::size_t k = p + r.ahead + 1;
        while (k < n && !ends_extent(r.ahead_over, floor[k].gap)) ++k;
        w.last = std::min(n - 1, k);
    }
    return w;
}

// A reach one record shorter on a side, or without its look over an extent.
struct Shorter {
    const char* what;
    bool (*applies)(const Reach&);
    void (*make)(Reach&);
};
const Shorter kShorter[] = {
    {"a record less back", [](const Reach& r) { return r.back > 0; }, [](Reach& r) { --r.back; }},
    {"a record less ahead", [](const Reach& r) { return r.ahead > 0; }, [](Reach& r) { --r.ahead; }},
    {"no look over the extent", [](const Reach& r) { return r.ahead_over != Extent::None; },
     [](Reach& r) { r.ahead_over = Extent::None; }},
};

class RowReaches : public GoldenLexiconTest {
protected:
    static constexpr std::size_t kLead = 16;  // records before a store's floor, never part of it
    static constexpr std::size_t kPad = 12;   // replaced records on either side of a window

    // How the records outside a window are replaced: cut away (the store is the window), a word
    // and a blank each, or the records half the store further on.
    enum class Outside { Cut, Filler, Shifted };

    // A store of the window's records of store 1 with those round it replaced, in the buffer after
    // kLead records; returns its floor, and `p` becomes the place of the record in it.
    const SenToken* store(Window w, Outside how, std::size_t& p, std::size_t& n) {
        const auto all = static_cast<std::size_t>(sen_nd - sen_floor);
        const std::size_t pad = how == Outside::Cut ? 0 : kPad;
        const std::size_t from = w.first - std::min(w.first, pad), to = std::min(all, w.last + 1 + pad);
        n = to - from;
        p -= from;
        // Past the store: the sentinels of store 1 (the records after a window that reaches its end).
        if (buf_.size() < kLead + n + SENTINEL_RECORDS) buf_.resize(kLead + n + SENTINEL_RECORDS, *sen_nd);
        std::fill(buf_.begin(), buf_.begin() + kLead, filler_);
        std::fill(buf_.begin() + static_cast<std::ptrdiff_t>(kLead + n),
                  buf_.begin() + static_cast<std::ptrdiff_t>(kLead + std::max(n, used_)), *sen_nd);
        used_ = n;
        for (std::size_t i = from; i < to; ++i) {
            SenToken& r = buf_[kLead + i - from];
            r = sen_floor[i];
            if (i >= w.first && i <= w.last) continue;
            r = how == Outside::Filler ? filler_ : sen_floor[(i + all / 2 + 7) % all];
            r.pos = sen_floor[i].pos;
        }
        return buf_.data() + kLead;
    }

    // What the row writes for record p of the store [floor, floor + n).
    std::string walk(const PassRow& row, const SenToken* floor, std::size_t n, std::size_t p,
                     std::shared_ptr<WordFacts> facts = nullptr) const {
        ProofRun run = base_;
        run.floor = floor;
        run.nd = floor + n;
        run.facts = facts ? std::move(facts) : std::make_shared<WordFacts>(run.floor, run.nd);
        ReportTape tape;
        run.from = floor + p;
        run.to = run.from + 1;
        run.tape = &tape;
        row.run(run, row);
        return written(tape);
    }

    // The first store with the records outside the window replaced over which the row writes other
    // than `expected` for record p, and what it writes there; empty when there is none.
    std::string changed(const PassRow& row, std::size_t p, const Reach& reach, const std::string& expected) {
        const auto n = static_cast<std::size_t>(sen_nd - sen_floor);
        const Window w = window(reach, sen_floor, n, p);
        for (const Outside how : {Outside::Cut, Outside::Filler, Outside::Shifted}) {
            std::size_t at = p, records = 0;
            const SenToken* floor = store(w, how, at, records);
            const std::string got = walk(row, floor, records, at);
            if (got != expected)
                return std::string(how == Outside::Cut ? "cut" : how == Outside::Filler ? "replaced" : "shifted") +
                       " outside records " + std::to_string(w.first) + "-" + std::to_string(w.last) + ":\n" + got;
        }
        return "";
    }

    ProofRun base_;
    std::vector<SenToken> buf_;
    std::size_t used_ = 0;  // records of the last store in the buffer
    const std::string filler_text_ = cp("ж");
    const SenToken filler_{filler_text_.c_str(), " ", 0};
};

// Paragraphs whose findings read up to the edge of a row's reach (the corpus and the random
// sentences hold most of them), by row.
const char* const kEdgeTexts[] = {
    "Тъй като учителят ох.", "Без\rучителят. Ох ох", "Без учителят ох ох да.",  // 2
    "Тя ох е моя ох.", "Той е\rучителя тук сам.",                              // 3
    "Учителя. Ох го.", "Учителя ох ох ох го.",                                  // 5
    "Ох пишеш ли.",                                                            // 33
    "5 ох ох ох хубави стола.",                                                // 39
    "за може би.",                                                             // 40
    "ох ако Ме маса.",                                                         // 43
    "ох ох На от ден.",                                                        // 44
    "ох какви ли не масата.", "не масата и стола, а нещо.",                    // 45
};
// Subtitle lines (the rows that look back over a subtitle's time code).
const char* const kEdgeSubtitles[] = {
    "Учителя е тук.", "- учителя е тук.",  // 5, 4
};

TEST_F(RowReaches, EveryRowReadsWhatItDeclaresAndNoLess) {
    std::vector<std::string_view> forms(kForms);
    for (const char* f : {"мой мой 140 0", "моя мой 140 1", "моят мой 140 2"}) forms.emplace_back(f);
    load_forms(forms);
    load_lexicon_lists();
    std::vector<std::string> subtitles;
    std::string text;
    for (const std::string& s : corpus(subtitles)) text += s + "\r";
    for (const char* s : kEdgeTexts) text += std::string(s) + "\r";
    const char* env = std::getenv("JUX_REACH_SENTENCES");
    for (const std::string& s : generated_sentences(env ? static_cast<std::size_t>(std::atoi(env)) : 100, 52)) text += s + "\r";
    std::string subs;
    for (const char* s : kEdgeSubtitles) subtitles.emplace_back(s);
    for (std::size_t i = 0; i < subtitles.size(); ++i) {
        const std::string n = std::to_string(i + 1), s = std::to_string(10 + i);
        subs += n + "\r00:00:" + s + ",000 --> 00:00:" + s + ",500\r" + subtitles[i] + "\r\r";
    }
    struct Setting {
        const char* name;
        void (*set)();
        const std::string* text;
    };
    const Setting settings[] = {
        {"as the program starts", [] {}, &text},
        {"every switch on", [] { gl_NOVEL_MODE = gl_LOOSE_SPLIT = gl_FIND_TWO_NOUNS = 1; }, &text},
        {"subtitles", [] { gl_fg_subtitle = 1; }, &subs},
    };
    // The rows and shorter reaches some record's findings told apart.
    std::set<std::pair<int, const Shorter*>> seen;
    for (const Setting& setting : settings) {
        reset_settings();
        setting.set();
        proof(*setting.text);
        base_ = proof_run(hBigReRight, hBigReLeft, last_run.processed);
        buf_.clear();
        used_ = 0;
        const auto n = static_cast<std::size_t>(sen_nd - sen_floor);
        const RunSpellings spellings;
        const auto facts = std::make_shared<WordFacts>(sen_floor, sen_nd);
        for (const PassRow& row : pass_order) {
            if (row.order == 0 || row.reach.whole) continue;
            int faults = 0;
            for (std::size_t p = 0; p < n && faults < 3; ++p) {
                const std::string expected = walk(row, sen_floor, n, p, facts);
                const std::string c = changed(row, p, row.reach, expected);
                if (!c.empty()) {
                    ++faults;
                    ADD_FAILURE() << "row " << row.order << " reads beyond its reach, " << setting.name << ", record " << p
                                  << " (" << u8(sen_floor[p].text) << "):\n" << expected << "---- " << c;
                }
                for (const Shorter& s : kShorter) {
                    if (!s.applies(row.reach) || seen.count({row.order, &s})) continue;
                    Reach shorter = row.reach;
                    s.make(shorter);
                    if (!changed(row, p, shorter, expected).empty()) seen.insert({row.order, &s});
                }
            }
        }
    }
    for (const PassRow& row : pass_order) {
        for (const Shorter& s : kShorter) {
            if (row.order == 0 || row.reach.whole || !s.applies(row.reach)) continue;
            EXPECT_TRUE(seen.count({row.order, &s}))
                << "row " << row.order << " with " << s.what << " writes the same for every record of the texts";
        }
    }
}

}  // namespace
