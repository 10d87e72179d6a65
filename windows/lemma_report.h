// windows/lemma_report.h - the lemma-grouping reports over the English word list "a" (run from the
// About box's button "!"): every word of the list with its lemma family from the English-Bulgarian
// dictionary (its lemma, the words of the same lemma, the words whose lemma it is and theirs) on
// one group line, sorted into 56 text files in the data folder by the relations found, by the size
// of the group and by whether the word's rank was taken by a member of another group.
//
// The files are written under temporary names ("<name>.txt.part") and put in place only when every
// one was written whole, so a folder that cannot be written to or a full disk leaves the old
// reports as they were (with a message) and no half-written ones. The 56 renames cannot be one
// step: before them a mark ("A_GROUPED_BY LEMMA.renaming") is written, and a run killed while
// renaming has its renames finished at the next start (settle_lemma_reports), a run killed before
// the mark has its temporary files removed then, so the reports are always one run's set.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Words that may group with words of another first letter (irregular forms and spelling variants).
extern const std::array<std::string_view, 112> lemma_first_letter_exceptions;
// Words written to the clean reports whatever became of their rank.
extern const std::array<std::string_view, 7> lemma_always_clean;

// The 56 report names (without ".txt"), in the order the run opens them.
const std::vector<std::string>& lemma_report_names();

// Brings the reports of a run that a kill cut short to one set (see above): finishes its renames
// when its mark stands, else removes its temporary files. What it did goes to the statistics log.
// Returns the reports that could not be put in place ("" when none), one "Cannot write to" line
// each, followed by a line saying that the set is mixed. Called at start-up and by every run.
std::string settle_lemma_reports();

// Runs the reports over m[M_A_FILE_ORDER] (as many entries as m[M_A_SORTED] counts) into the data
// folder dir_alt. Returns 1 when all 56 files were written, 0 when they could not be (told).
int run_lemma_reports();
