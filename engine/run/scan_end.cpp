#include "engine/run/scan_end.h"

#include <algorithm>
#include <span>

#include "engine/exports.h"
#include "engine/lookup_state.h"
#include "engine/run_state.h"
#include "engine/worker_pool.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/entry_text.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/memory.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/token_frequency_index.h"
#include "shell/window_state.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;
constexpr int kGapIndex = 3;  // instance of family 4 that counts the checker text's gaps

bool is(HWND a, HWND b) { return a && a == b; }

std::span<const ListPair> row(int r) {
    const DictFileRecord& rec = b[static_cast<std::size_t>(r)];
    return std::span<const ListPair>(rec.entries.data(), std::min(rec.count, rec.entries.size()));
}

// Replaces the entry box's text without letting the box tell its window about the change: the
// change is the program's own, and a run is going.
void put_into_entry_box_quietly(std::string_view text) {
    const DWORD mask = RE_SetEventMask(hAddReShort, 0);
    StringToREdef(hAddReShort, text);
    RE_SetEventMask(hAddReShort, mask);
}

}  // namespace

int neighbourhood_scroll(int index) {
    return index < kNeighbourhoodLines ? index - kNeighbourhoodLead : kNeighbourhoodLines - kNeighbourhoodLead;
}

void show_neighbourhood(HWND report, const std::u16string& text, long offset, int index, int found, long length,
                        COLORREF colour) {
    StringToRE1200def(report, text);
    RE_LineScroll(report, neighbourhood_scroll(index));
    const LONG at = static_cast<LONG>(offset);
    if (found) {
        ColorRangeOn(report, at, at + static_cast<LONG>(length), kColourBold, colour, 1);
        ColorTranscription(report, at, true);
        RE_HideSelection(report, true);
    } else {
        RE_SetSel(report, CHARRANGE{at, at + 2});
        RE_HideSelection(report, false);
        ColorRangeOn(report, at, at + 2, kColourBold, colour, 1);
    }
}

namespace {

// The checker's gap index: every gap of store R, counted a block at a time (the index fetches the
// next ones' slots while it counts a block).
void count_checker_gaps() {
    ResetGmake4(kGapIndex);
    constexpr std::size_t kBlock = 256;
    std::string_view gaps[kBlock];
    for (const SenToken* r = sen_floorR; r < sen_ndR;) {
        const std::size_t n = std::min<std::size_t>(kBlock, static_cast<std::size_t>(sen_ndR - r));
        for (std::size_t k = 0; k < n; ++k) gaps[k] = r[k].gap;
        PutAllInG4(kGapIndex, std::span<const std::string_view>(gaps, n));
        r += n;
    }
    FinishGmakeCase4(kGapIndex);
}

// From this many records the checker's exports are written beside the word lists: for a shorter
// text they take little time, and writing them beside the lists would hold the memory of both at
// once for nothing. When the proof-reader runs they go on beside it too, which takes longer than
// they do: then they are written beside the run from fewer records (the checker checks the whole
// text again after every keystroke).
constexpr std::ptrdiff_t kBackgroundExportsFrom = 1 << 18;
constexpr std::ptrdiff_t kBackgroundExportsBesideProofFrom = 1 << 14;

}  // namespace

void export_checker_tokens(RunContext& c) {
    // The repeated passages' report shows its findings as it goes and pumps: the exports are then
    // made in turn, as it expects them.
    const std::ptrdiff_t from = gl_CHECK_PUNCTUATION ? kBackgroundExportsBesideProofFrom : kBackgroundExportsFrom;
    if (gl_REPEATED_PARTS || helper_threads() == 0 || sen_ndR - sen_floorR < from) {
        export_sorted_tokens_and_spaces(sen_floorR, sen_ndR, "UP");
        count_checker_gaps();
        if (gl_REPEATED_PARTS) c.timing_note = export_duplicate_strings(sen_floorR, sen_ndR);
        return;
    }
    // Else the files are opened here and counted and written on a thread of their own while the
    // word lists are written and the proof-reader reads; the run waits for them before it pumps
    // messages or goes further (join_background_exports).
    TokenExportsPtr files = open_token_exports(sen_floorR, sen_ndR, "UP");
    c.background = std::make_unique<BackgroundTask>([files = std::shared_ptr<TokenExports>(std::move(files))] {
        gmake_exhaustion_throws(true);
        if (files) write_token_exports(*files);
        count_checker_gaps();
        gmake_exhaustion_throws(false);
    });
}

bool background_exports_running(const RunContext& c) { return c.background && !c.background->done(); }

void join_background_exports(RunContext& c) {
    if (!c.background) return;
    const std::unique_ptr<BackgroundTask> task = std::move(c.background);
    try {
        task->join();
    } catch (const std::bad_alloc&) {
        mallocexit();
    }
}

void show_one_bulgarian_word(RunContext& c) {
    // The text is the word (the tokeniser put back every character it cut off).
    const std::string word(c.text8.c_str());

    if (!row(B_BULGARIAN_ENGLISH).empty()) {
        if (const ListPair* e = find_pair(row(B_BULGARIAN_ENGLISH), word)) {
            const std::string english = e->has_rest() ? std::string(e->rest) : std::string();
            SetWindowTextA(c.label, english);
            if (IsWindow(hInfo) && !is(c.source, hAddReShortCopy) && !is(c.source, hAddReShort))
                put_into_entry_box_quietly(english);
        } else {
            SetWindowTextA(c.label, "");
        }
    }

    const std::span<const ListPair> known = row(B_BULGARIAN);
    if (known.empty()) return;
    std::string chunk;
    long offset = 0;
    int index = 0, found = 0;
    GetRichChunkBg(word, known, chunk, kNeighbourhoodLines, offset, index, found);

    if (OP[OPT_LOAD_BG].num_value != 0) {
        if (found) {
            for (HWND re : {hAddReBg, hAddReLong, hAddReHyphen}) StringToRE1200def(re, u"");
            if (OP[OPT_SPELL_CHECKER].num_value == 0) PrintBgTypeAuto(hAddReBg, word);
        } else {
            StringToRE1200def(hAddReHyphen, u"");
        }
    }

    // The neighbourhood is shown as it is (no transcription substitutes are replaced here), so
    // the word's offset in the list text is its offset in the panel.
    std::u16string wide = cp1251_to_utf16(chunk);
    if (wide.size() > kNeighbourhoodRoom) wide.resize(kNeighbourhoodRoom);
    StringToRE1200def(c.report, u"");
    show_neighbourhood(c.report, wide, offset, index, found, static_cast<long>(word.size()), kColBgWordInList);
}
