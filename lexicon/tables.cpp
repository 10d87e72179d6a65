#include "lexicon/tables.h"

#include <charconv>
#include <cstring>

#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"
#include "lexicon/panels.h"
#include "lexicon/wordclass.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "shell/strings.h"

std::array<DictFileRecord, B_ROWS> b;
DictFileRecord* const b_glob = b.data();
std::array<ListFileRecord, M_ROWS> m;
ListFileRecord* const m_p = m.data();
std::array<CSetRecord, C_ROWS> c_glob;

CorpusTable cs_glob, cse_glob, csq_glob, csc_glob;
CorpusTable cs_cust_glob, cse_cust_glob, csq_cust_glob, csc_cust_glob;
CorpusTable cs_globC, cse_globC, csq_globC, csc_globC;
std::array<ListFileRecord, CS_BULK_ROWS> cs_globB;

std::vector<BgFormRecord> bgmul_store;
const BgFormRecord* bgmul_bottom = nullptr;
std::size_t bgmul_ct = 0;
std::shared_ptr<const ListText> bgmul_text;
std::vector<char> bgmul_analyses_pool;

std::array<BgTypeRecord, BGTYPES> bgtype_ar;
int bgtypesct = BGTYPES;
std::array<std::vector<BgEnding>, BGTYPES> bgtype_endings;

unsigned char ascii_valid[256];
unsigned char ascii_aposhyp[256];
unsigned char ascii_apos[256];
unsigned char ascii_punct[256];
unsigned char ascii_punctnocomma[256];
unsigned char ascii_punctmain[256];
unsigned char ascii_digit[256];
unsigned char ascii_cyrillic[256];
unsigned char ascii_cyrillic_upper[256];
unsigned char ascii_cyrillic_lower[256];
unsigned char ascii_latin[256];
unsigned char ascii_latin_upper[256];
unsigned char ascii_latin_lower[256];
unsigned char ascii_upper[256];
unsigned char ascii_lower[256];
unsigned char ascii_grave[256];
unsigned char ascii_filename[256];
unsigned char ascii_noun[512];
unsigned char ascii_adj[512];
unsigned char ascii_numeral[512];
unsigned char ascii_proper[512];
unsigned char ascii_verb[512];
unsigned char ascii_verb_az[512];
unsigned char ascii_verb_da[512];

std::filesystem::path dir_alt;
std::string dir_altA;
int run_counter = 0;
std::string corpusaccrue;
std::string harddelaccrue;
std::int8_t gl_fg_Poveche_ot_edna_tabulacia = 0;
std::deque<std::string> lex_added_text;

std::string_view lex_keep(std::string s) {
    lex_added_text.push_back(std::move(s));
    return std::string_view(lex_added_text.back());
}

std::string corpus_row_tag(int r) {
    if (r < 0 || r >= CS_ROWS) return "";
    int tens = r < 9 ? 1 : r < 18 ? 2 : 3;
    int unit = r < 9 ? r + 1 : r < 18 ? r - 8 : r - 17;
    return std::string{static_cast<char>('0' + tens), static_cast<char>('0' + unit)};
}

namespace {

const char* const kBNames[B_ROWS] = {
    "b_capit", "b_en-en", "b_en-bg", "", "", "b_ocrskip", "", "",
    "b_bulgarian", "b_bulgarian_custom", "", "b_bulgarian_new", "b_bulgarian_secondpart",
    "b_bulgarian_dialect", "b_bulgarian_synonym", "b_bulgarian_misspelling",
    "b_bulgarian_misspelling_fast", "b_bulgarian_risk", "b_bulgarian_po_nai", "b_bulgarian_comma1",
    "b_bulgarian_comma2", "b_bulgarian_two_letters", "b_bulgarian_capit", "b_bulgarian_pronoun",
    "b_bulgarian_english_unsorted", "b_bulgarian_english", "b_english_bulgarian", "b_english_types",
    "b_english_ao", "b_english_ao2", "b_audio_skip", "b_web_skip", "b_english_skip", "",
};

struct MRow {
    const char* name;
    const char* label;
    int sort;
};
const MRow kMRows[M_ROWS] = {
    {"wl_english", "Eng", 1}, {"wl_english2", "Eng2", 1}, {"wl_male", "male", 1},
    {"wl_female", "female", 1}, {"wl_surname", "surname", 1}, {"wl_person", "person", 1},
    {"wl_proprietary", "propr", 1}, {"wl_place", "place", 1}, {"wl_abbreviation", "abbr", 1},
    {"wl_foreign", "foreign", 1}, {"wl_taxa", "taxon", 1}, {"wl_website", "website", 1},
    {"wl_culture", "culture", 1}, {"wl_tech", "tech", 1}, {"wl_misc3", "misc3", 1},
    {"wl_term", "term", 1}, {"wl_informal", "informal", 1}, {"a", "a", 1}, {"a", "a", 0},
    {"", "", 1}, {"", "", 1},
};

void reset_corpus(CorpusTable& t, const char* prefix) {
    for (int r = 0; r < CS_ROWS; ++r) {
        ListFileRecord& rec = t[static_cast<size_t>(r)];
        rec = ListFileRecord{};
        rec.name = std::string(prefix) + corpus_row_tag(r);
        rec.sort = 1;
        rec.tag = r;
        rec.label = corpus_row_tag(r);
    }
}

void fill(unsigned char* t, int from, int to) {
    for (int c = from; c <= to; ++c) t[c] = 1;
}

}  // namespace

void build_ascii_tables() {
    unsigned char* all[] = {ascii_valid, ascii_aposhyp, ascii_apos, ascii_punct, ascii_punctnocomma,
                            ascii_punctmain, ascii_digit, ascii_cyrillic, ascii_cyrillic_upper,
                            ascii_cyrillic_lower, ascii_latin, ascii_latin_upper, ascii_latin_lower,
                            ascii_upper, ascii_lower, ascii_grave, ascii_filename};
    for (unsigned char* t : all) std::memset(t, 0, 256);
    for (unsigned char c : {39, 45, 96, 145, 146}) ascii_aposhyp[c] = 1;
    for (unsigned char c : {39, 96, 145, 146}) ascii_apos[c] = 1;
    for (unsigned char c : std::string_view(".,!?;:")) ascii_punct[c] = 1;
    for (unsigned char c : std::string_view(".!?;:")) ascii_punctnocomma[c] = 1;
    for (unsigned char c : std::string_view(".!?")) ascii_punctmain[c] = 1;
    fill(ascii_digit, '0', '9');
    fill(ascii_cyrillic, 0xC0, 0xFF);
    fill(ascii_cyrillic_upper, 0xC0, 0xDF);
    ascii_cyrillic_upper[0xDB] = ascii_cyrillic_upper[0xDD] = 0;
    fill(ascii_cyrillic_lower, 0xE0, 0xFF);
    ascii_cyrillic_lower[0xFB] = ascii_cyrillic_lower[0xFD] = 0;
    fill(ascii_latin_upper, 'A', 'Z');
    fill(ascii_latin_lower, 'a', 'z');
    fill(ascii_latin, 'A', 'Z');
    fill(ascii_latin, 'a', 'z');
    fill(ascii_upper, 'A', 'Z');
    fill(ascii_upper, 0xC0, 0xDF);
    fill(ascii_lower, 'a', 'z');
    fill(ascii_lower, 0xE0, 0xFF);
    ascii_grave[96] = 1;
    fill(ascii_filename, 0, 255);
    for (unsigned char c : std::string_view("\t\n\f\r\"%*/:<>?\\|")) ascii_filename[c] = 0;
    // Token characters: every letter of the code page, the digits, the apostrophes and the hyphen,
    // and the codes the option CHARSET_ASCII adds (decimal numbers 1-255 separated by blanks, the
    // form the character table window builds; anything else in the text is ignored).
    for (int c = 0; c < 256; ++c)
        if (cp1251_detail::full_ctype.cls[c] & cp1251_detail::kAlpha) ascii_valid[c] = 1;
    fill(ascii_valid, '0', '9');
    for (unsigned char c : {39, 45, 96, 145, 146}) ascii_valid[c] = 1;
    const std::string& codes = OP[OPT_CHARSET_ASCII].text_value;
    size_t i = 0;
    while (i < codes.size()) {
        while (i < codes.size() && (codes[i] == ' ' || codes[i] == '\t')) ++i;
        const size_t start = i;
        while (i < codes.size() && codes[i] != ' ' && codes[i] != '\t') ++i;
        int code = 0;
        const auto [end, ec] = std::from_chars(codes.data() + start, codes.data() + i, code);
        if (i > start && ec == std::errc() && end == codes.data() + i && code >= 1 && code <= 255)
            ascii_valid[code] = 1;
    }
}

void clear_lexicon_tables() {
    forget_told_word_counts();  // the lists loaded anew may hold the faulty texts again
    for (int r = 0; r < B_ROWS; ++r) {
        b[static_cast<size_t>(r)] = DictFileRecord{};
        b[static_cast<size_t>(r)].name = kBNames[r];
        b[static_cast<size_t>(r)].sort = (r == B_BULGARIAN_TWO_LETTERS || r == B_BULGARIAN_ENGLISH_UNSORTED) ? 0 : 1;
    }
    for (int r = 0; r < M_ROWS; ++r) {
        m[static_cast<size_t>(r)] = ListFileRecord{};
        m[static_cast<size_t>(r)].name = kMRows[r].name;
        m[static_cast<size_t>(r)].label = kMRows[r].label;
        m[static_cast<size_t>(r)].sort = kMRows[r].sort;
        m[static_cast<size_t>(r)].tag = r;
    }
    init_c_table();
    reset_corpus(cs_glob, "cs_");
    reset_corpus(cse_glob, "cse_");
    reset_corpus(csq_glob, "csq_");
    reset_corpus(csc_glob, "csc_");
    reset_corpus(cs_cust_glob, "cs_cust");
    reset_corpus(cse_cust_glob, "cse_cust");
    reset_corpus(csq_cust_glob, "csq_cust");
    reset_corpus(csc_cust_glob, "csc_cust");
    reset_corpus(cs_globC, "cs,_");
    reset_corpus(cse_globC, "cs,e_");
    reset_corpus(csq_globC, "cs,q_");
    reset_corpus(csc_globC, "cs,c_");
    for (int r = 0; r < CS_BULK_ROWS; ++r) {
        cs_globB[static_cast<size_t>(r)] = ListFileRecord{};
        cs_globB[static_cast<size_t>(r)].name = std::string("cs_bulk") + corpus_row_tag(r);
        cs_globB[static_cast<size_t>(r)].tag = r;
        cs_globB[static_cast<size_t>(r)].label = corpus_row_tag(r);
    }

    bgmul_store.clear();
    bgmul_store.shrink_to_fit();
    bgmul_bottom = nullptr;
    bgmul_ct = 0;
    bgmul_text.reset();
    bgmul_analyses_pool.clear();
    bgmul_analyses_pool.shrink_to_fit();
    reset_lemma_index();

    for (auto& e : bgtype_endings) e.clear();
    for (auto& t : bgtype_ar) t = BgTypeRecord{};
    init_bgtype_table();
    build_ascii_tables();

    corpusaccrue.clear();
    harddelaccrue.clear();
    lex_added_text.clear();
}

void reset_lexicon() {
    clear_lexicon_tables();
    dir_alt.clear();
    dir_altA.clear();
    run_counter = 0;
    gl_fg_Poveche_ot_edna_tabulacia = 0;
    reset_panels();
}
