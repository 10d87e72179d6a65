// windows/lemma_report.h - the lemma-grouping reports over the English word list "a" (run from the
// About box's button "!"): every word of the list with its lemma family from the English-Bulgarian
// dictionary (its lemma, the words of the same lemma, the words whose lemma it is and theirs) on
// one group line, sorted into 56 text files in the data folder by the relations found, by the size
// of the group and by whether the word's rank was taken by a member of another group.
//
// The files are written under temporary names and renamed over the old reports only when every
// one was written whole, so a folder that cannot be written to or a full disk leaves the old
// reports as they were (with a message) and no half-written ones.
#pragma once

#include <string>
#include <vector>

// The 56 report names (without ".txt"), in the order the run opens them.
const std::vector<std::string>& lemma_report_names();

// Runs the reports over m[M_A_FILE_ORDER] (as many entries as m[M_A_SORTED] counts) into the data
// folder dir_alt. Returns 1 when all 56 files were written, 0 when they could not be (told).
int run_lemma_reports();
