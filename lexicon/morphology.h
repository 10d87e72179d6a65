// lexicon/morphology.h - the word-form queries over the Bulgarian word-form index `bgmul_bottom`
// and the inflection-type table `bgtype_ar`.
//
// An analysis is one (lemma, type row, form slot) reading of a form; an unknown form has none.
// Every query looks the form up case-insensitively. Destinations that were fixed buffers of 128
// bytes keep that limit: their texts are cut to 127 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "lexicon/tables.h"

struct BgAnalysis {
    std::string_view lemma;
    int type = 0;
    int slot = 0;
};

// The answer of the noun and adjective look-ups.
struct NounAdjInfo {
    std::int8_t gender = -1;    // nouns 0 m, 1 f, 2 n; adjectives also 3 plural; -1 not applicable
    std::uint8_t plural = 0;    // 0 or 1
    std::uint8_t definite = 0;  // 0 or 1
    std::uint16_t slot = 0;     // the form's slot in its type's ending table
    std::uint16_t type = 0;     // the bgtype_ar row (0xFFFF: none)
};

inline constexpr std::size_t BG_WORD_MAX = 127;  // the 128-byte destinations of the queries

// The record of a form, or null.
const BgFormRecord* bg_find(std::string_view form);
// The analyses of a record, in index order, written into `out` (at most `max`); returns how many.
int bg_analyses(const BgFormRecord& r, BgAnalysis* out, int max);

int TypeHas(std::string_view form, int type);
int TypeHasAscii(std::string_view form, const unsigned char* type_class);
int IsOnlyAsciiType(std::string_view form, const unsigned char* type_class);
int IsOnlyType(std::string_view form, int type);
int IsTypeProperOnly(std::string_view form);
int IsTypeVerbOnly(std::string_view form);
int IsTypeVerbNotAdjOnly(std::string_view form);
int IsTypeVerbSHTOnly(std::string_view form);
int IsTypeVerbSHTOnlyAll(std::string_view form);
int TypeVerbANAT(std::string_view form);
int GetType(std::string_view form);
int GetTypeId(std::string_view form);
int PrintBgTypeAuto_CtOnly(std::string_view form);

// "(%s %s %s suf:%d)" for one analysis, the raw analysis list and a blank for several, "" when
// the form is unknown.
void GetBgType(std::string_view form, std::string& dest);
// The lemma of the first analysis (of the analysis of `wanted` when it is not -1); returns its
// type row, or -1 with an empty destination.
int GetBgLemma(std::string_view form, int wanted, std::string& dest);
// Form `slot` of the lemma in type `type`: made from the type's ending table when it has one,
// otherwise found in the word-form index by lemma, type and slot. When there is no such form
// (ending "-", a slot beyond the table, nothing in the index) the destination gets the lemma
// itself and the result is 0; 1 when a form was written.
int GetBgForm(std::string_view lemma, int type, int slot, std::string& dest);
// The indefinite form of the same noun (slot 0; plural: 3 masculine, 2 feminine and neuter);
// 1, or 0 with an empty destination when the word has no noun analysis.
int GetNechlenuvanNoun(std::string_view form, std::string& dest);
int GetNounInfo(NounAdjInfo& info, int wanted, std::string_view form);
int GetAdjInfo(NounAdjInfo& info, int wanted, std::string_view form);
// What the proof-reader asks about a form, found with one look-up of its analyses: each field is
// the answer of the function named.
struct FormFacts {
    int sum = 0;                // TypeHas(form, BGT_SUM)
    int verb_row = -1;          // TypeHasAscii(form, ascii_verb)
    int noun_only = 0;          // IsOnlyAsciiType(form, ascii_noun)
    int proper_only = 0;        // IsTypeProperOnly(form)
    int type = -1;              // GetType(form)
    int verb_not_adj_only = 0;  // IsTypeVerbNotAdjOnly(form)
    NounAdjInfo noun;           // GetNounInfo(noun, -1, form) wrote it and returned noun_result
    int noun_result = 0;
    NounAdjInfo adj;            // GetAdjInfo(adj, -1, form) wrote it and returned adj_result
    int adj_result = 0;
};
void form_facts(std::string_view form, FormFacts& out);

// While a FormMemo is open, the form look-ups of the thread that opened it remember what the
// word-form index says about every form they were asked (its record or its absence, and the record's
// analyses read once), so that a walk that asks about the same words again and again (the
// proof-reader's passes) searches the index once per distinct spelling. The answers are those of the
// index as it is: a load on the same thread since the memo opened makes it forget what it found
// (nothing may change the index from another thread while one is open). Memos do not nest: an inner
// one does nothing. What a thread's memo found is kept for the thread's next memo, which starts
// with it while the index and the letter case rules are the ones it was found under
// (release_kept_form_memo lets it go; so does a load of the index on the thread).
void release_kept_form_memo();
class FormMemo {
public:
    FormMemo();
    ~FormMemo();
    FormMemo(const FormMemo&) = delete;
    FormMemo& operator=(const FormMemo&) = delete;

private:
    bool owner_ = false;
};

// While a FormMemo is open on this thread: finds what the word-form index says about all these forms
// at once, their reads overlapping, so that the look-ups that ask about them next answer from the
// memo. The answers are those the look-ups would find; without a memo it does nothing.
// The forms must be distinct spellings (no two equal byte for byte): each form's answers are
// written by one helper thread, which a form given twice would share with another (checked by an
// assertion in builds that keep them).
void memo_forms(const std::string_view* forms, std::size_t n);
// The same, and the facts of each form (form_facts) found while its analyses are at hand: those of
// the forms before the first the memo had no room for; returns how many (0 without a memo).
// `run_pieces`, when given, runs piece(0) .. piece(pieces - 1), each once, on the caller's helper
// threads where it has them, and returns when all have run: the forms met for the first time are
// then found in the index a stretch a piece (each piece reads the index and writes only its own
// forms' answers).
using RunPieces = std::function<void(std::size_t pieces, const std::function<void(std::size_t)>& piece)>;
std::size_t memo_forms(const std::string_view* forms, std::size_t n, FormFacts* facts, const RunPieces& run_pieces = {});

// The lemma index GetBgForm finds forms in: built by the word-form loader (and again on first
// need after the letter case rules changed); dropped by the loaders before they load, together
// with the form hash.
void build_lemma_index();
void reset_lemma_index();
// Counts the times the word-form index was dropped (every load drops it first): what was found in
// it holds while this stays.
std::uint64_t word_form_loads();
// The hash of the word-form index's folded forms that every form look-up searches first (one probe
// instead of a binary search): built by the word-form loader over the records it made, sorted and
// merged case-insensitively. It answers only for that index under the letter case rules of its
// build, and the record it gives is the one a binary search finds; otherwise look-ups search.
void build_form_hash();
