// lexicon/tables.h - the lexicon tables: dictionaries, English word lists, word-class lists,
// sentence corpora, the Bulgarian word-form index, the inflection-type table and the character
// classes.
//
// The tables are filled once at start by the loaders of dictionary/ (dictionary/loading.h) and
// afterwards change only through the user's own filing (word-class lists, corpora, the user's
// Bulgarian word list). Every row points into the bytes of its file (one block per file, kept alive
// by the row's `text`); entries the user adds during the run live in `lex_added_text`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/lists.h"

// ---- Dictionaries ----------------------------------------------------------------------------

// The descriptor of one dictionary file and what it holds after loading.
struct DictFileRecord {
    std::string name;                      // list name; the file is name + ".txt" ("" = no file)
    int sort = 1;                          // 1 sorted with cmp_g, 0 kept in file order
    std::size_t count = 0;                 // entries loaded (and added)
    std::vector<ListPair> entries;         // {key, rest}; rest may be absent
    std::shared_ptr<const ListText> text;  // the file's bytes the entries point into
    ListLoadStats stats;                   // of the last load
};

inline constexpr int B_ROWS = 34;
// Rows of `b` the program names; the other rows keep their place and hold no file.
enum : int {
    B_CAPIT = 0,                        // English words written with a capital
    B_EN_EN = 1,                        // English-English definitions
    B_EN_BG = 2,                        // the English-Bulgarian dictionary
    B_OCRSKIP = 5,                      // tokens the OCR repair leaves alone
    B_BULGARIAN = 8,                    // known Bulgarian words, rest = rank text
    B_BULGARIAN_CUSTOM = 9,             // the user's own Bulgarian words
    B_BULGARIAN_NEW = 11,               // Bulgarian words added since the start
    B_BULGARIAN_SECONDPART = 12,        // words that may follow a number and a hyphen
    B_BULGARIAN_DIALECT = 13,           // dialect word, standard form
    B_BULGARIAN_SYNONYM = 14,           // word, better synonym
    B_BULGARIAN_MISSPELLING = 15,       // wrong spelling, corrections
    B_BULGARIAN_MISSPELLING_FAST = 16,  // the same, checked first
    B_BULGARIAN_RISK = 17,              // risky word, alternatives
    B_BULGARIAN_PO_NAI = 18,            // words after "по" that make it a preposition
    B_BULGARIAN_COMMA1 = 19,            // words that take the comma before a relative word
    B_BULGARIAN_COMMA2 = 20,            // relative words
    B_BULGARIAN_TWO_LETTERS = 21,       // OCR letter pairs (file order)
    B_BULGARIAN_CAPIT = 22,             // Bulgarian words written with a capital
    B_BULGARIAN_PRONOUN = 23,           // pronoun forms
    B_BULGARIAN_ENGLISH_UNSORTED = 24,  // Bulgarian word, English text (file order)
    B_BULGARIAN_ENGLISH = 25,           // Bulgarian word, English text
    B_ENGLISH_BULGARIAN = 26,           // English word, Bulgarian words
    B_ENGLISH_TYPES = 27,               // English noun, Bulgarian inflection type row
    B_ENGLISH_AO = 28,                  // the English audio index
    B_ENGLISH_AO2 = 29,                 // the Bulgarian audio index
    B_AUDIO_SKIP = 30,                  // words the audio builder skips
    B_WEB_SKIP = 31,                    // endings after the last dot that make a token correct
    B_ENGLISH_SKIP = 32,                // English tokens that are not spell-checked
};
extern std::array<DictFileRecord, B_ROWS> b;  // the dictionary table
extern DictFileRecord* const b_glob;          // &b[0]: rows by number

// ---- English word lists ------------------------------------------------------------------------

// 21 rows: 0-16 the English word sets, 17 and 18 the auxiliary list "a" (sorted / file order),
// 19 and 20 keep their place without a file.
inline constexpr int M_ROWS = 21;
enum : int { M_WL_ENGLISH = 0, M_WL_ENGLISH2 = 1, M_WL_FOREIGN = 9, M_WL_WEBSITE = 11,
             M_A_SORTED = 17, M_A_FILE_ORDER = 18 };
extern std::array<ListFileRecord, M_ROWS> m;  // the English word lists with rank texts
extern ListFileRecord* const m_p;             // &m[0]

// ---- Word-class lists --------------------------------------------------------------------------

// One word-class list: English key ('_' between words), Bulgarian rendering as rest.
struct CSetRecord {
    std::string name;                      // the list's file name in the folder "c" (without ".txt")
    int sort = 1;                          // always 1: sorted with cmp_g
    std::string tag;                       // the short name shown in menus and displays ("c11")
    std::string label;                     // the class label appended to meanings (" n; ")
    int category = 0;                      // 0 to 56; rows of one category are contiguous
    int tier = 1;                          // 1 to 8; same category and tier = one group
    std::size_t count = 0;                 // entries
    std::vector<ListPair> entries;         // sorted {key, rest}
    std::shared_ptr<const ListText> text;  // the file's bytes
    ListLoadStats stats;                   // of the last load
};
inline constexpr int C_ROWS = 532;
inline constexpr int C_CATEGORIES = 57;
extern std::array<CSetRecord, C_ROWS> c_glob;  // the word-class lists

// ---- Sentence corpora --------------------------------------------------------------------------

// A corpus table: 22 rows tagged "11".."19", "21".."29", "31".."34", one file each in "c".
inline constexpr int CS_ROWS = 22;
inline constexpr int CS_BULK_ROWS = 9;
using CorpusTable = std::array<ListFileRecord, CS_ROWS>;
extern CorpusTable cs_glob;        // statements "cs_11" ..
extern CorpusTable cse_glob;       // exclamations "cse_11" ..
extern CorpusTable csq_glob;       // questions "csq_11" ..
extern CorpusTable csc_glob;       // comma-ended "csc_11" ..
extern CorpusTable cs_cust_glob;   // the user's statements "cs_cust11" ..
extern CorpusTable cse_cust_glob;  // "cse_cust11" ..
extern CorpusTable csq_cust_glob;  // "csq_cust11" ..
extern CorpusTable csc_cust_glob;  // "csc_cust11" ..
extern CorpusTable cs_globC;       // comma variants "cs,_11" ..
extern CorpusTable cse_globC;      // "cs,e_11" ..
extern CorpusTable csq_globC;      // "cs,q_11" ..
extern CorpusTable csc_globC;      // "cs,c_11" ..
extern std::array<ListFileRecord, CS_BULK_ROWS> cs_globB;  // bulk sentences "cs_bulk11" ..

// ---- Bulgarian word-form index -----------------------------------------------------------------

// One word form with its analyses (lemma, inflection-type row, form slot). One analysis is held in
// lemma/type/slot; several also in `analyses`, as "lemma:type:slot" items separated by blanks
// (the first of them is the one in lemma/type/slot).
struct BgFormRecord {
    const char* form = nullptr;      // the form (first spelling of the case-insensitive group)
    const char* lemma = nullptr;     // lemma of the first analysis
    const char* analyses = nullptr;  // null for one analysis
    std::uint8_t n_analyses = 0;     // 1 to 255
    std::uint16_t type = 0;          // bgtype_ar row of the first analysis
    std::uint16_t slot = 0;          // form slot of the first analysis
};
extern std::vector<BgFormRecord> bgmul_store;   // owns the records
extern const BgFormRecord* bgmul_bottom;        // first record (sorted case-insensitively by form)
extern std::size_t bgmul_ct;                    // number of records
extern std::shared_ptr<const ListText> bgmul_text;  // the index file's bytes
extern std::vector<char> bgmul_analyses_pool;   // the `analyses` texts

// ---- Inflection types --------------------------------------------------------------------------

// One slot of an ending table.
struct BgEnding {
    std::u16string ending;  // "-" = no such form; '?' stands for a letter of the lemma
    std::uint8_t flag = 0;  // 0 normal, 1 alternative form, 2 not in standard use
};
// One of the 473 inflection types, identified by its row.
struct BgTypeRecord {
    const char* name = "";             // "22", "173da_", "abbr" ...
    const BgEnding* endings = nullptr; // the ending table, null when none is loaded
    std::uint16_t cut = 0;             // letters cut from the lemma before an ending
    std::uint16_t alt = 0;             // slots that hold alternative forms (flag 1)
    int count = 0;                     // slots of the ending table (0: none)
    const char* pos = "";              // part-of-speech text ("noun", "adj", "verb" ...)
};
inline constexpr int BGTYPES = 473;
extern std::array<BgTypeRecord, BGTYPES> bgtype_ar;           // the inflection-type table
extern int bgtypesct;                                         // its row count (473)
extern std::array<std::vector<BgEnding>, BGTYPES> bgtype_endings;  // storage of the ending tables

// ---- Character classes -------------------------------------------------------------------------
// 256-byte tables indexed by the code page 1251 byte (1 = member). ascii_latin_cyrillic is the
// shell's (shell/strings.h).
extern unsigned char ascii_valid[256];           // token characters
extern unsigned char ascii_aposhyp[256];         // 39, 45, 96, 145, 146
extern unsigned char ascii_apos[256];            // 39, 96, 145, 146
extern unsigned char ascii_punct[256];           // . , ! ? ; :
extern unsigned char ascii_punctnocomma[256];    // . ! ? ; :
extern unsigned char ascii_punctmain[256];       // . ! ?
extern unsigned char ascii_digit[256];           // 0-9
extern unsigned char ascii_cyrillic[256];        // 0xC0-0xFF
extern unsigned char ascii_cyrillic_upper[256];  // 0xC0-0xDF without 0xDB, 0xDD
extern unsigned char ascii_cyrillic_lower[256];  // 0xE0-0xFF without 0xFB, 0xFD
extern unsigned char ascii_latin[256];           // A-Z a-z
extern unsigned char ascii_latin_upper[256];     // A-Z
extern unsigned char ascii_latin_lower[256];     // a-z
extern unsigned char ascii_upper[256];           // A-Z and 0xC0-0xDF
extern unsigned char ascii_lower[256];           // a-z and 0xE0-0xFF
extern unsigned char ascii_grave[256];           // the grave accent 96 (a transcription substitute)
extern unsigned char ascii_filename[256];        // bytes allowed in file names
// 512-byte tables indexed by bgtype_ar row (1 = the type belongs to the class).
extern unsigned char ascii_noun[512];
extern unsigned char ascii_adj[512];
extern unsigned char ascii_numeral[512];
extern unsigned char ascii_proper[512];
extern unsigned char ascii_verb[512];
extern unsigned char ascii_verb_az[512];
extern unsigned char ascii_verb_da[512];

// ---- Folders, counters and run texts -----------------------------------------------------------
extern std::filesystem::path dir_alt;  // the data folder (working folder of the lexicon files)
extern std::string dir_altA;           // the same as 8-bit text
extern int run_counter;                // program starts including this one (set.txt)
extern std::string corpusaccrue;       // corpus labels of the word on display (at most 1,023 bytes)
extern std::string harddelaccrue;      // its "+hard"/"+del" labels (at most 1,023 bytes)
extern std::int8_t gl_fg_Poveche_ot_edna_tabulacia;  // the double-tab warning was shown
extern std::deque<std::string> lex_added_text;       // texts of entries the user filed this run

// Builds the 256-byte character classes (ascii_valid also takes the bytes of CHARSET_ASCII).
void build_ascii_tables();

// The two digits that tag corpus row r: "11".."19" (rows 0-8), "21".."29" (9-17), "31".."34"
// (18-21); "" outside.
std::string corpus_row_tag(int r);

// Keeps `s` for the rest of the run and returns a view of it (entries added by the user).
std::string_view lex_keep(std::string s);

// Puts every table back to its empty start state (inflection types: names and classes, no
// endings; character classes built from the current options); the loaders start with it.
void clear_lexicon_tables();
// The tables as clear_lexicon_tables leaves them, and also the folders, the start counter, the
// panels of lexicon/panels.h and the run flags. Test fixtures call it.
void reset_lexicon();
