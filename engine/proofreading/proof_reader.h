// engine/proofreading/proof_reader.h - the proof-reader: the stage of the text-processing run that
// checks a Bulgarian text for punctuation, typography, article, spelling-pattern, comma,
// capitalisation, agreement and phrase problems, on the records the tokeniser left in token store 1,
// and writes its findings into the run's report panel (many passes also underline the offending
// characters in the source panel).
//
// The frame: nothing happens unless CHECK_PUNCTUATION is set; the novel-mode paragraph statistics
// come first; a text of fewer than two tokens gets no passes; otherwise two empty lines are written
// and their end is the header position, the passes run in the order of pass_order.h, and when any of
// them wrote, "ПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:" is inserted at the header position. At the end the
// report panel goes back to where the unknown-word list began, and the working folder is what it
// was before.
//
// The passes that look only round a record walk the store in stretches of paragraphs, and what
// each wrote over each stretch is kept for the next run, which walks again only the stretches
// round what changed and plays the others' recordings (docs/keystroke.md).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/richedit.h"
#include "platform/types.h"

// What the last proof-reading run did (tests and callers read it).
struct ProofSummary {
    bool ran = false;         // CHECK_PUNCTUATION was set
    std::vector<int> rows;    // orders of the rows whose passes ran, in order
    bool header = false;      // the closing header was inserted
};
extern ProofSummary last_proof;

inline constexpr char16_t PROOF_HEADER[] = u"ПУНКТУАЦИОННИ И ДРУГИ ГРЕШКИ:";

// Proof-reads the records of token store 1. `tokens` is the run's processed-token count;
// `list_start` the report panel's range where the unknown-word list began (0, 0 when that list was
// not written).
void proof_read(HWND source, HWND report, std::uint64_t tokens, CHARRANGE list_start);

// The state of a run over the records of token store 1 with the switches read now (benchmarks and
// tests that run single passes use it too).
struct ProofRun;
ProofRun proof_run(HWND source, HWND report, std::uint64_t tokens);

// The subsystem's reset for test fixtures (it also lets go what the last run kept for the next).
void reset_proofreading();
// Lets go the findings kept for the next run (a text met for the first time is then checked whole).
void release_kept_proof_findings();
// The least number of records in a stretch of the store whose findings a run keeps for the next
// (2,048 at the start; tests make it small; 0: every pass walks the whole store into the panels and
// nothing is kept, which benchmarks compare with). Lets go what was kept.
void set_proof_stretch_records(std::size_t records);
