#include "engine/proofreading/proof_reader.h"

#include <filesystem>
#include <system_error>

#include "engine/proofreading/pass_order.h"
#include "engine/proofreading/proof_report.h"
#include "engine/proofreading/proof_words.h"
#include "engine/proofreading/token_spellings.h"
#include "engine/run_state.h"
#include "engine/token_store.h"
#include "lexicon/display.h"
#include "lexicon/morphology.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/window_state.h"

ProofSummary last_proof;

namespace {

bool is(HWND a, HWND b) { return a && a == b; }

void run_row(ProofRun& run, const PassRow& row) {
    if (!row.run || !guard_open(row.guard, run)) return;
    last_proof.rows.push_back(row.order);
    row.run(run, row);
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
        for (const PassRow& row : pass_order)
            if (row.order > 0) run_row(run, row);
        closing_header(run, header);
    }

    if (list_start.cpMin != 0 || list_start.cpMax != 0) {
        RE_SetSel(report, gl_PRINT_ALL_LATIN ? CHARRANGE{0, 0} : list_start);
        RE_ScrollCaret(report);
    }
    if (!ec) std::filesystem::current_path(folder, ec);
}

void reset_proofreading() { last_proof = ProofSummary{}; }
