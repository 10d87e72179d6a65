#include "engine/proofreading/proof_reader.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/proofreading/capitals.h"
#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/proofreading/word_checks.h"
#include "engine/proofreading/ocr_check.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/window_state.h"
#include "spelling/unknown_bg.h"

ProofSummary last_proof;

namespace {

bool is(HWND a, HWND b) { return a && a == b; }

void run_row(ProofRun& run, const PassRow& row) {
    if (!row.run || !guard_open(row.guard, run)) return;
    last_proof.rows.push_back(row.order);
    row.run(run, row);
}

// ---- Stretches of the store that keep their findings ----------------------------------------------
// The checker checks the whole text again after every keystroke. The rows whose reach is not the
// whole text find each of their findings from one record and the records round it that the row
// declares (pass_order.h), and write their findings in the order of the records. Their findings over
// the whole store are those over consecutive stretches of it, one after another: each stretch (whole
// paragraphs) is walked once and what it wrote is recorded; a later run plays a row's recording of a
// stretch when no record the row reads for the stretch's findings changed, and walks it again
// otherwise.
bool by_stretches(const PassRow& row) { return row.order > 0 && !row.reach.whole; }

// The scans of the store a row makes in turn, each writing its findings after the last one's (the
// missing commas: one word, then phrases of two, three and four words; the capitals inside
// sentences: their candidates, then the rare ones).
constexpr int kMostScans = 4;
constexpr int kCapitalsRow = 36;
int scans(int order) {
    if (order == 35) return kMostScans;
    return order == kCapitalsRow ? 2 : 1;
}

// What a row writes once after the last finding of all its stretches, or null.
using CloseRow = void (*)(ProofRun&);
CloseRow closing(int order) {
    switch (order) {
        case 32: return sht_to_sh_close;
        case 33: return sh_to_sht_close;
        case 34: return split_words_close;
        default: return nullptr;
    }
}

// The least number of records in a stretch (the stretch ends at the next paragraph's start); 0:
// nothing is recorded or kept.
std::size_t g_stretch_records = 2048;
// A paragraph longer than this many times that is cut where a stretch reaches it: a pass reads round
// a record only what its row declares, wherever the stretch ends, so that a key in a paragraph of
// millions of records walks a stretch or two of it, not the paragraph.
constexpr std::size_t kLongestStretch = 4;

struct Stretch {
    static constexpr std::size_t kSlots = PASS_ROWS * kMostScans;  // by row and scan
    std::size_t from = 0, to = 0;  // records [from, to) of the store
    std::bitset<kSlots> recorded{};  // walked, and what it wrote kept: the tape, or none when it wrote nothing
    std::array<std::unique_ptr<ReportTape>, kSlots> tapes{};

    // Lets go the recordings of a row.
    void forget(const PassRow& row) {
        for (int scan = 0; scan < kMostScans; ++scan) {
            const auto slot = static_cast<std::size_t>(row.order * kMostScans + scan);
            tapes[slot].reset();
            recorded.reset(slot);
        }
    }
};

// What the recordings depend on beside the records: the panels, the switches and options, the lists
// and the word-form index.
std::vector<std::uintptr_t> stretch_key(const ProofRun& run) {
    std::vector<std::uintptr_t> k{run.source.id,
                                  run.report.id,
                                  run.novel,
                                  run.mark_source,
                                  static_cast<std::uintptr_t>(gl_fg_subtitle),
                                  static_cast<std::uintptr_t>(word_form_loads()),
                                  reinterpret_cast<std::uintptr_t>(bgmul_bottom),
                                  bgmul_ct,
                                  ctype_locale_is_cyrillic()};
#define JUX_KEY_MIRROR(name) k.push_back(static_cast<std::uintptr_t>(gl_##name));
    JUX_BYTE_MIRRORS(JUX_KEY_MIRROR)
    JUX_INT_MIRRORS(JUX_KEY_MIRROR)
#undef JUX_KEY_MIRROR
    for (const OptionRecord& o : opt) k.push_back(static_cast<std::uintptr_t>(o.num_value));
    for (const DictFileRecord& r : b) {
        k.push_back(reinterpret_cast<std::uintptr_t>(r.entries.data()));
        k.push_back(r.entries.size());
        k.push_back(reinterpret_cast<std::uintptr_t>(r.text.get()));
    }
    // The builds of the lists' indexes: a list changed in place is indexed again.
    const BulgarianSpellingState lists = bulgarian_spelling_state();
    for (const std::uint64_t n : lists.index_builds) k.push_back(static_cast<std::uintptr_t>(n));
    return k;
}

// A record's text and gap, and how far it stands from the record before it (`step`). The text goes
// in as the word_hash its spelling was numbered by (`text_hash`: the run's spellings hash every
// record's text once), the gap by FNV-1a over its bytes; the bytes of a gap past its first sixteen
// are hashed eight a step (word_hash) and go in as one value. Each step is one to one, and so is
// word_hash for a change within eight bytes: a change of one byte always changes the print.
constexpr std::uint64_t kPrintPrime = 0x100000001B3ULL;
std::uint64_t print_bytes(std::uint64_t h, const char* p) {
    for (int i = 0; i < 16; ++i, ++p) {
        if (!*p) return h;
        h = (h ^ static_cast<unsigned char>(*p)) * kPrintPrime;
    }
    return *p ? (h ^ word_hash(p)) * kPrintPrime : h;
}
std::uint64_t record_print(std::uint64_t text_hash, const SenToken& r, LONG step) {
    std::uint64_t h = (0xCBF29CE484222325ULL ^ text_hash) * kPrintPrime;
    h = (h ^ 0x100U) * kPrintPrime;
    h = print_bytes(h, r.gap);
    return h + static_cast<std::uint64_t>(step) * 0xC2B2AE3D27D4EB4FULL;
}

// The prints of the store's records, combined by blocks of kPrintBlock records counted from the
// store's start and from its end: a change is found from either end to within a block (the block
// counts as changed whole), for a byte a record.
constexpr std::size_t kPrintBlock = 16;
struct StorePrints {
    std::vector<std::uint64_t> head, tail;  // block k: records [kB, kB + B) / [n - kB - B, n - kB), cut at the store's ends
};

StorePrints store_prints(const ProofRun& run, const TokenSpellings& spellings) {
    const auto n = static_cast<std::size_t>(run.nd - run.floor);
    StorePrints p;
    p.head.assign((n + kPrintBlock - 1) / kPrintBlock, 0);
    p.tail.assign(p.head.size(), 0);
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t r = record_print(spellings.hash(spellings.id(i)), run.floor[i],
                                             i ? run.floor[i].pos - run.floor[i - 1].pos : 0);
        std::uint64_t& h = p.head[i / kPrintBlock];
        h = h * kMix + r;
        std::uint64_t& t = p.tail[(n - 1 - i) / kPrintBlock];
        t = t * kMix + r;
    }
    return p;
}

struct StretchMemory {
    std::vector<std::uintptr_t> key;
    // The frequent capitals inside sentences the recordings of their second scan passed over.
    std::vector<std::string> frequent_capitals;
    std::size_t records = 0;  // of the store the recordings were made over
    StorePrints prints;       // of its records
    std::vector<Stretch> stretches;
};
std::unique_ptr<StretchMemory> g_stretches;

bool paragraph_start(const SenToken& r) { return std::strpbrk(r.gap, "\r\n") != nullptr; }

// Cuts records [from, to) into new stretches of at least g_stretch_records records, each ending
// where a paragraph starts, or inside a paragraph where it reaches kLongestStretch times that.
void cut_stretches(const ProofRun& run, std::size_t from, std::size_t to, std::vector<Stretch>& out) {
    std::size_t start = from;
    for (std::size_t i = from; i < to; ++i) {
        if (i == start || i - start < g_stretch_records) continue;
        if (!paragraph_start(run.floor[i]) && i - start < kLongestStretch * g_stretch_records) continue;
        out.push_back(Stretch{start, i});
        start = i;
    }
    if (start < to) out.push_back(Stretch{start, to});
}

// Of the stretches taken over from the last run (those before `head_end` lie before the change,
// the others after it: records [changed, unchanged) are new, and the store's end counts as
// changed), lets go each row's recordings whose findings may read a changed record.
void forget_what_reads_the_change(const ProofRun& run, std::vector<Stretch>& out, std::size_t head_end,
                                  std::size_t changed, std::size_t unchanged) {
    const auto n = static_cast<std::size_t>(run.nd - run.floor);
    for (const PassRow& row : pass_order) {
        if (!by_stretches(row)) continue;
        const std::size_t clean_head = clean_before(row.reach, run.floor, changed);
        for (std::size_t k = head_end; k > 0 && out[k - 1].to > clean_head; --k) out[k - 1].forget(row);
        const std::size_t tail_from = clean_from(row.reach, run.floor, n, unchanged);
        for (std::size_t k = head_end; k < out.size(); ++k) {
            if (out[k].from < unchanged) continue;  // cut afresh: nothing recorded
            if (out[k].from >= tail_from) break;
            out[k].forget(row);
        }
    }
}

// The stretches of this run's store: those of the last run whose records are as they were (moved
// to their new places), with the recordings of the rows that read nothing changed, and new ones
// over the rest.
std::vector<Stretch> plan_stretches(const ProofRun& run, const TokenSpellings& spellings) {
    const std::size_t n = static_cast<std::size_t>(run.nd - run.floor);
    StorePrints prints = store_prints(run, spellings);
    std::vector<Stretch> out;
    std::vector<std::uintptr_t> key = stretch_key(run);
    StretchMemory* last = g_stretches.get();
    if (!last || last->key != key) {
        cut_stretches(run, 0, n, out);
    } else {
        // The records before `same_head` and the last `same_tail` ones are as they were (to within
        // a block).
        const std::size_t m = last->records;
        std::size_t k = 0;
        while (k < std::min(prints.head.size(), last->prints.head.size()) && prints.head[k] == last->prints.head[k]) ++k;
        const std::size_t same_head = std::min(k * kPrintBlock, std::min(n, m));
        std::size_t t = 0;
        while (t < std::min(prints.tail.size(), last->prints.tail.size()) && (t + 1) * kPrintBlock <= std::min(n, m) - same_head &&
               prints.tail[t] == last->prints.tail[t])
            ++t;
        const std::size_t same_tail = t * kPrintBlock;
        if (n == m && same_head == n) {
            out = std::move(last->stretches);
        } else {
            // The stretches wholly before the change and wholly after it keep their places.
            k = 0;
            for (; k < last->stretches.size() && last->stretches[k].to <= same_head; ++k)
                out.push_back(std::move(last->stretches[k]));
            const std::size_t head_end = out.size();
            std::size_t kept_tail = last->stretches.size();
            while (kept_tail > k && last->stretches[kept_tail - 1].from >= m - same_tail) --kept_tail;
            const std::size_t cut_from = out.empty() ? 0 : out.back().to;
            const std::size_t cut_to = kept_tail < last->stretches.size() ? last->stretches[kept_tail].from + n - m : n;
            cut_stretches(run, cut_from, cut_to, out);
            for (std::size_t t = kept_tail; t < last->stretches.size(); ++t) {
                Stretch s = std::move(last->stretches[t]);
                s.from = s.from + n - m;
                s.to = s.to + n - m;
                out.push_back(std::move(s));
            }
            forget_what_reads_the_change(run, out, head_end, same_head, n - same_tail);
        }
    }
    // What is not taken over goes before the new recordings are made.
    if (last) last->stretches.clear();
    if (!g_stretches) g_stretches = std::make_unique<StretchMemory>();
    g_stretches->key = std::move(key);
    g_stretches->records = n;
    g_stretches->prints = std::move(prints);
    return out;
}

// Runs the rows in their order: the rows by stretches over each stretch (walked or played), the
// others over the whole store.
void run_rows(ProofRun& run) {
    if (!run.floor || run.nd <= run.floor || g_stretch_records == 0) {
        for (const PassRow& row : pass_order)
            if (row.order > 0) run_row(run, row);
        return;
    }
    // The run's spellings are those of the whole store (the rows that walk it share them), numbered
    // before the stretches walked again number theirs; the records' prints take their hashes.
    const std::shared_ptr<const TokenSpellings> spellings = spellings_of(run.floor, run.nd);
    std::vector<Stretch> stretches = plan_stretches(run, *spellings);
    // The stretches walked again share the answers about their words.
    std::size_t walked_from = stretches.empty() ? 0 : stretches.back().to, walked_to = 0;
    for (const PassRow& row : pass_order) {
        if (!by_stretches(row) || !row.run || !guard_open(row.guard, run)) continue;
        for (const Stretch& s : stretches) {
            if (s.recorded[static_cast<std::size_t>(row.order * kMostScans)]) continue;
            walked_from = std::min(walked_from, s.from);
            walked_to = std::max(walked_to, s.to);
        }
    }
    // (Over the whole store they are the run's own.)
    ProofRun walked = run;
    ReportTape scratch;
    if (walked_from < walked_to && (walked_from > 0 || walked_to < static_cast<std::size_t>(run.nd - run.floor)))
        walked.facts = std::make_shared<WordFacts>(run.floor + walked_from, run.floor + walked_to);
    for (const PassRow& row : pass_order) {
        if (row.order == 0) continue;
        if (!by_stretches(row)) {
            run_row(run, row);
            continue;
        }
        if (!row.run || !guard_open(row.guard, run)) continue;
        last_proof.rows.push_back(row.order);
        const auto r = static_cast<std::size_t>(row.order);
        bool titled = false;
        int end_lines = -1;
        TapePlayer player(run);
        // The capitals' candidates of every stretch (their first scan), counted before the second.
        std::vector<std::string_view> candidates;
        for (int scan = 0; scan < scans(row.order); ++scan) {
            const bool counted = row.order == kCapitalsRow && scan == 0;
            for (Stretch& s : stretches) {
                const std::size_t slot = r * kMostScans + static_cast<std::size_t>(scan);
                std::unique_ptr<ReportTape>& tape = s.tapes[slot];
                if (!s.recorded[slot]) {
                    // Recorded into the scratch tape, which keeps its room from walk to walk; what
                    // is kept takes no more room than it holds, and a walk that wrote nothing
                    // keeps no tape.
                    scratch.ops.clear();
                    scratch.text8.clear();
                    scratch.text16.clear();
                    scratch.length = 0;
                    walked.from = run.floor + s.from;
                    walked.to = run.floor + s.to;
                    walked.tape = &scratch;
                    walked.scan = scans(row.order) > 1 ? scan : -1;
                    player.flush();
                    row.run(walked, row);
                    s.recorded.set(slot);
                    if (!scratch.ops.empty()) {
                        tape = std::make_unique<ReportTape>(scratch);
                        tape->source_at = run.floor[s.from].pos;
                    }
                }
                if (!tape) continue;
                if (counted)
                    for (const ReportTape::Op& op : tape->ops) candidates.push_back(tape->text_of8(op));
                else
                    player.play(*tape, run.floor[s.from].pos - tape->source_at, titled, end_lines);
            }
            if (!counted) continue;
            // The rare candidates' recordings hold while the frequent spellings stay the same.
            player.flush();
            std::vector<std::string> frequent = capitals_frequent(run, row, candidates);
            if (frequent != g_stretches->frequent_capitals) {
                const std::size_t rare = r * kMostScans + 1;
                for (Stretch& s : stretches) {
                    s.tapes[rare].reset();
                    s.recorded.reset(rare);
                }
                g_stretches->frequent_capitals = std::move(frequent);
            }
        }
        player.flush();
        if (titled && end_lines >= 0) JuxShowMessage(run.report, "", end_lines);
        if (titled && closing(row.order)) closing(row.order)(run);
    }
    g_stretches->stretches = std::move(stretches);
}

// Inserts the closing header at the header position when some pass wrote behind it.
void closing_header(const ProofRun& run, CHARRANGE header) {
    const CHARRANGE sel = RE_GetSel(run.report);
    if (sel.cpMax == header.cpMax) return;
    glMsgW = PROOF_HEADER;
    glMsgW += u"\n\n";
    const LONG n = static_cast<LONG>(glMsgW.size());
    RE_SetSel(run.report, header);
    RE_SetTextW(run.report, glMsgW, ST_SELECTION);
    ColorRangeOn(run.report, header.cpMin, header.cpMin + n, PR_COLOUR_BOLD, PR_TITLE, 0);
    RE_SetSel(run.report, CHARRANGE{sel.cpMin, sel.cpMin});
    last_proof.header = true;
}

}  // namespace

ProofRun proof_run(HWND source, HWND report, std::uint64_t tokens) {
    ProofRun run;
    run.source = source;
    run.report = report;
    run.floor = sen_floor;
    run.nd = sen_nd;
    run.tokens = tokens;
    run.novel = gl_NOVEL_MODE && !is(source, hAddReShortCopy) && !is(source, hAddReShort);
    run.mark_source = gl_TEXT_COLORING && !is(source, hAddReShortCopy);
    // The passes share their answers about the store's words: each asked once per spelling.
    if (run.floor && run.nd > run.floor) run.facts = std::make_shared<WordFacts>(run.floor, run.nd);
    return run;
}

void proof_read(HWND source, HWND report, std::uint64_t tokens, CHARRANGE list_start) {
    last_proof = ProofSummary{};
    if (!gl_CHECK_PUNCTUATION) return;
    last_proof.ran = true;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);

    ProofRun run = proof_run(source, report, tokens);
    // The passes ask the word-form index about the same words again and again: once per spelling.
    const FormMemo memo;
    // The run's spellings are numbered once, on the first pass that asks, for the run's answers about
    // its words and every pass that judges a word by its letters alone.
    const RunSpellings spellings;

    // The paragraph statistics stand before the header position, whatever the text's length.
    for (const PassRow& row : pass_order)
        if (row.order == 0) run_row(run, row);

    if (tokens >= 2) {
        JuxShowMessage(report, "", 2);
        CHARRANGE header{};
        SelectReEnd(report, header);
        run_rows(run);
        closing_header(run, header);
    }

    if (list_start.cpMin != 0 || list_start.cpMax != 0) {
        RE_SetSel(report, gl_PRINT_ALL_LATIN ? CHARRANGE{0, 0} : list_start);
        RE_ScrollCaret(report);
    }
    if (!ec) std::filesystem::current_path(folder, ec);
}

void reset_proofreading() {
    last_proof = ProofSummary{};
    release_kept_proof_findings();
}

void release_kept_proof_findings() {
    g_stretches.reset();
    release_kept_ocr_findings();
}

void set_proof_stretch_records(std::size_t records) {
    g_stretch_records = records;
    g_stretches.reset();
}
