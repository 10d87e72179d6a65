// lexicon/wordclass.h - the table of the 532 word-class lists and the look-ups over them.
//
// Categories (rows, tiers): 0 c (0-41, tiers 1-8), 1-4 c2..c5 (42-45), 5 two (46-57), 6 three
// (58-69), 7 adj (70-108), 8 advadj (109-120), 9 adj_post (121-132), 10 adv (133-165), 11 adv_when
// (166-180), 12 adv_where (181-188), 13 v_az (189-230), 14 v_da (231-272), 15 v_se (273-302),
// 16 v_si (303-314), 17 vn (315-326), 18-21 abbm, abbf, abbn, abbpl (327-334), 22 num (335-338),
// 23 num, ordinals (339-342), 24 attr (343-355), 25 prep (356-365), 26 misc (366-383), 27-33 the
// name lists z_name, z_male, z_fem, z_place, z_prop, z_cult, z_tran (384-413), 34-36 all_fem,
// all_neu, all_pl (414-416), 37 one (417-428), 38-47 the rare lists r_n, r_two, r_adj, r_attr,
// r_adv, r_v, r_tran, r_name, r_place, r_misc (429-492), 48 cs_1start (493-494), 49 cs_1end
// (495-496), 50 notreal (497-500), 51 not (501-516), 52 notnot (517-524), 53 error (525-528),
// 54-56 hard, hard2, hard3 (529-531).
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"
#include "shell/lists.h"

enum : int { C_HARD = 529, C_HARD2 = 530, C_HARD3 = 531 };

// Fills names, tags, labels, categories and tiers of c_glob (entries emptied).
void init_c_table();
// The row of the list named `name` ("c_adj11", "z_name1", "hard"), or -1.
int c_row_by_name(std::string_view name);
// The first and one-past-last rows of the group (same category and tier) of `row`.
int c_group_first(int row);
int c_group_end(int row);
// The colour of the class label of `row` in the look-up display (one shade per tier).
COLORREF c_label_color(int row);

// 1 when the key is in a word-class list other than rows 414-416 and 529-531 and the lists of
// categories 50, 51 and 53 (not-lists and error lists).
int is_in_c_set(std::string_view key);
// The same test that also leaves out the rare lists (categories 38-47).
int is_in_c_set_no_rare(std::string_view word);
// 1 when any word-class list, hard-word lists included, holds the key.
int is_in_any_c_list(std::string_view key);

// The membership tests above answer from an index of every key of the lists (folded to lower
// case under the current locale) with the number of entries of each kind of list that hold it,
// instead of searching 532 lists a question. The index follows the lists through these calls:
// whoever replaces the entries of the lists (a load, a reset, a test that fills a list) calls
// c_lists_changed, and the index is made again at the next question; whoever inserts or erases
// one entry of c_glob[row].entries calls c_key_added or c_key_removed with its key.
void c_lists_changed();
void c_key_added(int row, std::string_view key);
void c_key_removed(int row, std::string_view key);
// The entry of the hard-word list "hard" that holds the word, else of "hard3", else null.
const ListPair* is_in_hard(std::string_view word);
// The entry of list `row` with key `key`, or null.
const ListPair* c_find(int row, std::string_view key);

// The Bulgarian meanings of an English key ('_' between its words) from every word-class list
// but the hard-word lists: each entry's rendering followed by its list's class label (" n; ",
// " a; " ...), or with `short_form` the renderings alone separated by ", ". At most 1,023 bytes.
void concatenate_c_words(std::string_view word, std::string& dest, int short_form);
// The same, one meaning a line (each ends with "\r\n").
void concatenate_c_words_vert(std::string_view word, std::string& dest, int short_form);
