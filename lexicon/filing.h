// lexicon/filing.h - filing the selection of the text-checker window's right panel into a
// word-class list or a sentence corpus, with a Bulgarian side from another panel or the clipboard.
//
// The list changes in memory (kept sorted), the change goes to the journal ("cdate.txt",
// "csdate.txt" in the data folder), the list file in the folder "c" is backed up as
// "<name>_old.txt" and rewritten through a temporary file and a rename.
#pragma once

// Files the selection as an English key into word-class list `row` (0..531). With find_free_slot 1
// and a row that begins its group, the key goes into the first list of the group that does not
// hold it; lower_case 1 stores key and rendering in lower case.
void write_to_c(int row, int find_free_slot, int lower_case);

// Files the selection as an English sentence into corpus row `row` (0..21; bulk 0..8) of family
// 0 (plain), 1 (custom), 2 (comma variant) or 3 (bulk); the table follows the sentence's mark.
void write_to_cs(int row, int family);
