// shell/settings.h - the two option tables, their loader, the option mirrors and the mode flags.
//
// The settings files "settings_common.txt" (the common table `opt_common`) and "settings.txt" (the
// main table `opt`, 156 options) lie in the start folder; one option a line, its name, blanks and
// its value; lines beginning with '/' are comments. Options are read by fixed index:
//     OP[OPT_MAX_WORDS_IN_FILE].num_value      OPCOMMON[OPTC_PRINT_TIME].num_value
// and the frequently read ones through their mirrors `gl_<NAME>`, copied once after the load.
// Nothing writes the settings files; menus and the settings window change the mirrors only.
// docs/settings.md lists the whole table.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "shell/lists.h"

enum : int { OPT_KIND_NUMBER = 0, OPT_KIND_TEXT = 1 };

// One settings option.
struct OptionRecord {
    std::string_view name;          // the option's name in the settings file
    int kind = OPT_KIND_NUMBER;     // 0 number, else text
    std::string_view default_text;  // the value when the file does not give one
    int found = 0;                  // 1 when the settings file gave the value in force
    std::int32_t num_value = 0;     // the value of a number option
    std::string text_value;         // the value as text (the text of a text option)
};

// The options of the main table that the program names: X(index, NAME, kind, default).
// Every other index up to 155 holds a reserved number option "RESERVED_<index>" (default 0).
#define JUX_OPTIONS(X)                                   \
    X(3, LOAD_BG, OPT_KIND_NUMBER, "1")                  \
    X(5, LOAD_B_CORPUS, OPT_KIND_NUMBER, "1")            \
    X(11, SPELL_UPPERCASE, OPT_KIND_NUMBER, "1")         \
    X(12, TEXT_COLORING, OPT_KIND_NUMBER, "1")           \
    X(13, TRANSLATE_CLIPBOARD, OPT_KIND_NUMBER, "1")     \
    X(14, TRANSLATE_IN_TRAY_BALLOON, OPT_KIND_NUMBER, "1") \
    X(15, PRINT_RANK_IN_ONELINE, OPT_KIND_NUMBER, "1")   \
    X(16, PRINT_FILTERED, OPT_KIND_NUMBER, "0")          \
    X(17, MAX_DEFINITION_LENGTH, OPT_KIND_NUMBER, "800") \
    X(18, RANK_FILTER, OPT_KIND_NUMBER, "0")             \
    X(19, RANK_RARE, OPT_KIND_NUMBER, "4996")            \
    X(20, COLOR_RARE, OPT_KIND_NUMBER, "0")              \
    X(21, PARSE_LATIN_WORDS, OPT_KIND_NUMBER, "1")       \
    X(22, REAL_TIME, OPT_KIND_NUMBER, "1")               \
    X(23, DEEP_SPELL, OPT_KIND_NUMBER, "1")              \
    X(24, RESPOND_TOKEN, OPT_KIND_NUMBER, "100")         \
    X(25, LOCALE, OPT_KIND_TEXT, "")                     \
    X(26, PRINT_ALL_LATIN, OPT_KIND_NUMBER, "0")         \
    X(27, AUTO_CLIPBOARD_DISLABLE, OPT_KIND_NUMBER, "0") \
    X(28, ENGLISH_VERSION, OPT_KIND_NUMBER, "0")         \
    X(29, FONT_SIZE, OPT_KIND_NUMBER, "10")              \
    X(30, AUTO_SPELL, OPT_KIND_NUMBER, "0")              \
    X(31, AUTO_OCR, OPT_KIND_NUMBER, "0")                \
    X(32, REPEATED_PARTS, OPT_KIND_NUMBER, "0")          \
    X(33, REPEATED_CHECK_EACH, OPT_KIND_NUMBER, "50")    \
    X(34, REPEATED_LONGER_THAN, OPT_KIND_NUMBER, "9")    \
    X(35, LOOSE_SPLIT, OPT_KIND_NUMBER, "0")             \
    X(36, CHECK_PUNCTUATION, OPT_KIND_NUMBER, "1")       \
    X(39, FIND_SHT_SH, OPT_KIND_NUMBER, "1")             \
    X(40, FIND_SH_SHT, OPT_KIND_NUMBER, "1")             \
    X(41, FIND_PO_NAI, OPT_KIND_NUMBER, "1")             \
    X(42, FIND_COMMA, OPT_KIND_NUMBER, "1")              \
    X(43, FIND_TWO_LETTERS, OPT_KIND_NUMBER, "1")        \
    X(44, FIND_NO_STOP, OPT_KIND_NUMBER, "1")            \
    X(45, FIND_TWO_NOUNS, OPT_KIND_NUMBER, "0")          \
    X(46, FIND_CONCORD, OPT_KIND_NUMBER, "1")            \
    X(47, FIND_ARTICLES, OPT_KIND_NUMBER, "1")           \
    X(49, NOVEL_MODE, OPT_KIND_NUMBER, "0")              \
    X(50, PRINT_UNKNOWN_ALPHABETICALLY, OPT_KIND_NUMBER, "0") \
    X(51, TREAT_AS_UNKNOWN, OPT_KIND_NUMBER, "0")        \
    X(52, TREAT_AS_UNKNOWN_CASE, OPT_KIND_NUMBER, "0")   \
    X(54, TALKING_MODE, OPT_KIND_NUMBER, "0")            \
    X(55, ENGLIST_ALL, OPT_KIND_NUMBER, "0")             \
    X(56, ENGLIST_CASE, OPT_KIND_NUMBER, "0")            \
    X(57, ENGLIST_ALPHABETICALLY, OPT_KIND_NUMBER, "0")  \
    X(58, ENGLIST_UPPERCASE, OPT_KIND_NUMBER, "0")       \
    X(59, ENGLIST_ALLWAYS_SUGGEST, OPT_KIND_NUMBER, "0") \
    X(60, ENGLIST_UNGROUPED, OPT_KIND_NUMBER, "0")       \
    X(61, ENGLIST_MISSING_MACHINE, OPT_KIND_NUMBER, "0") \
    X(62, ENGLIST_MISSING_RANK, OPT_KIND_NUMBER, "0")    \
    X(63, ENGLIST_MISSING_RANK2, OPT_KIND_NUMBER, "0")   \
    X(64, ENGLIST_HARD, OPT_KIND_NUMBER, "0")            \
    X(65, ENGLIST_SKIP_APOS1, OPT_KIND_NUMBER, "0")      \
    X(66, ENGLIST_SKIP_APOS2, OPT_KIND_NUMBER, "0")      \
    X(67, ENGLIST_VERTICAL, OPT_KIND_NUMBER, "0")        \
    X(68, ENGLIST_SHORT_BG, OPT_KIND_NUMBER, "0")        \
    X(69, ENGLIST_NO_BG, OPT_KIND_NUMBER, "0")           \
    X(70, ENGLIST_GENARATE_FILE, OPT_KIND_NUMBER, "0")   \
    X(71, AUDIO_BG_TO_EN, OPT_KIND_NUMBER, "0")          \
    X(72, AUDIO_BG_AFTER_EN, OPT_KIND_NUMBER, "0")       \
    X(73, AUDIO_MAKE_LONG, OPT_KIND_NUMBER, "0")         \
    X(74, AUDIO_OGG_INDEX, OPT_KIND_NUMBER, "0")         \
    X(75, AUDIO_OGG_INDEX_END, OPT_KIND_NUMBER, "0")     \
    X(76, AUDIO_OGG_CLEAN, OPT_KIND_NUMBER, "0")         \
    X(77, AUDIO_OGG_NO_BG, OPT_KIND_NUMBER, "0")         \
    X(78, AUDIO_DIGITS_ONLY, OPT_KIND_NUMBER, "0")       \
    X(79, SHOW_MESSAGES, OPT_KIND_NUMBER, "1")           \
    X(80, MACHINE_TRANSLATION, OPT_KIND_NUMBER, "0")     \
    X(81, ENGLISH_TRANSLATION, OPT_KIND_NUMBER, "0")     \
    X(82, CORPUS_TRANSLATION, OPT_KIND_NUMBER, "0")      \
    X(83, SHOW_PARALLEL_TRANSLATION, OPT_KIND_NUMBER, "0") \
    X(84, STRIP_TIMECODE, OPT_KIND_NUMBER, "0")          \
    X(85, CORPUS_LIMITED, OPT_KIND_NUMBER, "1")          \
    X(86, CORPUS_UNDERLINE, OPT_KIND_NUMBER, "1")        \
    X(87, CORPUS_MAXTWO, OPT_KIND_NUMBER, "1")           \
    X(88, CORPUS_STRICT_NOUN, OPT_KIND_NUMBER, "0")      \
    X(89, CORPUS_GOOD_TRESHOLD, OPT_KIND_NUMBER, "6")    \
    X(90, CORPUS_FAST_RANGE, OPT_KIND_NUMBER, "40")      \
    X(91, CORPUS_RANGE, OPT_KIND_NUMBER, "2000")         \
    X(92, CORPUS_WIDE, OPT_KIND_NUMBER, "12")            \
    X(93, CORPUS_SKIP_CT, OPT_KIND_NUMBER, "12")         \
    X(94, MACH_BG_TO_ENG_ALL_VERBS, OPT_KIND_NUMBER, "0") \
    X(95, MACH_BG_TO_ENG_DISABLE, OPT_KIND_NUMBER, "0")  \
    X(96, SEARCH_IN_C, OPT_KIND_NUMBER, "0")             \
    X(97, SHOW_INFO, OPT_KIND_NUMBER, "0")               \
    X(98, SPELL_CHECKER_LOG, OPT_KIND_NUMBER, "0")       \
    X(99, PRINT_DOWN, OPT_KIND_NUMBER, "0")              \
    X(100, START_MAIN_WINDOW, OPT_KIND_NUMBER, "1")      \
    X(101, SPELL_CHECKER, OPT_KIND_NUMBER, "0")          \
    X(102, START_LIVE_CLIPBOARD, OPT_KIND_NUMBER, "0")   \
    X(103, START_DICTIONARY_EDIT_MODE, OPT_KIND_NUMBER, "0") \
    X(104, MAX_TOKENS_IN_ALL_DICTIONARIES, OPT_KIND_NUMBER, "6000000") \
    X(105, MAX_TOKENS_IN_SENTENCE_DICTIONARIES, OPT_KIND_NUMBER, "1000000") \
    X(106, MAX_TOKENS_IN_ADD_DICTIONARIES, OPT_KIND_NUMBER, "1000000") \
    X(107, TOKENS_IN_SECTION, OPT_KIND_NUMBER, "100000") \
    X(108, MAX_TOKEN_LENGTH, OPT_KIND_NUMBER, "128")     \
    X(109, DIGITS_ONLY_TOKENS, OPT_KIND_NUMBER, "0")     \
    X(110, CHARSET_ASCII, OPT_KIND_TEXT, "")             \
    X(115, MAX_WORDS_IN_FILE, OPT_KIND_NUMBER, "1000000") \
    X(121, LINK1, OPT_KIND_TEXT, "")                     \
    X(122, LINKL1, OPT_KIND_TEXT, "")                    \
    X(123, LINK2, OPT_KIND_TEXT, "")                     \
    X(124, LINKL2, OPT_KIND_TEXT, "")                    \
    X(125, LINK3, OPT_KIND_TEXT, "")                     \
    X(126, LINKL3, OPT_KIND_TEXT, "")                    \
    X(127, LINK4, OPT_KIND_TEXT, "")                     \
    X(128, LINKL4, OPT_KIND_TEXT, "")                    \
    X(129, LINK5, OPT_KIND_TEXT, "")                     \
    X(130, LINKL5, OPT_KIND_TEXT, "")                    \
    X(131, LINKAUTO1, OPT_KIND_TEXT, "")                 \
    X(132, LINKAUTOL1, OPT_KIND_TEXT, "")

// The options of the common table: X(index, NAME, kind, default).
#define JUX_COMMON_OPTIONS(X)                 \
    X(0, PRINT_TIME, OPT_KIND_NUMBER, "1")    \
    X(1, WRITESORTED, OPT_KIND_NUMBER, "1")

inline constexpr int OPTION_COUNT = 156;        // rows of `opt`
inline constexpr int OPTION_COMMON_COUNT = 2;   // rows of `opt_common`

// Fixed indices: OPT_<NAME> in `opt`, OPTC_<NAME> in `opt_common`.
#define JUX_OPTION_INDEX(i, name, kind, def) inline constexpr int OPT_##name = i;
JUX_OPTIONS(JUX_OPTION_INDEX)
#undef JUX_OPTION_INDEX
#define JUX_OPTION_INDEX(i, name, kind, def) inline constexpr int OPTC_##name = i;
JUX_COMMON_OPTIONS(JUX_OPTION_INDEX)
#undef JUX_OPTION_INDEX

extern std::array<OptionRecord, OPTION_COUNT> opt;                // the main table (settings.txt)
extern std::array<OptionRecord, OPTION_COMMON_COUNT> opt_common;  // the common table (settings_common.txt)
extern OptionRecord* const OP;        // &opt[0]: OP[OPT_...]
extern OptionRecord* const OPCOMMON;  // &opt_common[0]: OPCOMMON[OPTC_...]

// The settings-file table: row 0 "settings_common", row 1 "settings", both kept in file order;
// the two files share a fixed room of 10,000 lines (`arls`).
inline constexpr std::size_t SETTINGS_ROOM = 10'000;
extern std::array<ListFileRecord, 2> settings_files;

// ---- Option mirrors: byte (signed, saturated to -128..127) and 32-bit copies --------------------
// X(NAME) for every byte mirror gl_<NAME> of option OPT_<NAME>.
#define JUX_BYTE_MIRRORS(X)                                                                        \
    X(SPELL_UPPERCASE) X(TEXT_COLORING) X(TRANSLATE_CLIPBOARD) X(TRANSLATE_IN_TRAY_BALLOON)        \
    X(PRINT_RANK_IN_ONELINE) X(PRINT_FILTERED) X(COLOR_RARE) X(PARSE_LATIN_WORDS) X(REAL_TIME)     \
    X(ENGLISH_VERSION) X(FONT_SIZE) X(PRINT_ALL_LATIN) X(AUTO_CLIPBOARD_DISLABLE) X(AUTO_SPELL)    \
    X(AUTO_OCR) X(REPEATED_PARTS) X(REPEATED_CHECK_EACH) X(REPEATED_LONGER_THAN) X(LOOSE_SPLIT)    \
    X(CHECK_PUNCTUATION) X(FIND_SHT_SH) X(FIND_SH_SHT) X(FIND_PO_NAI) X(FIND_COMMA)                \
    X(FIND_TWO_LETTERS) X(FIND_NO_STOP) X(FIND_TWO_NOUNS) X(FIND_CONCORD) X(FIND_ARTICLES)         \
    X(NOVEL_MODE) X(PRINT_UNKNOWN_ALPHABETICALLY) X(TREAT_AS_UNKNOWN) X(TREAT_AS_UNKNOWN_CASE)     \
    X(TALKING_MODE) X(ENGLIST_ALL) X(ENGLIST_CASE) X(ENGLIST_ALPHABETICALLY) X(ENGLIST_UPPERCASE)  \
    X(ENGLIST_ALLWAYS_SUGGEST) X(ENGLIST_UNGROUPED) X(ENGLIST_MISSING_MACHINE)                     \
    X(ENGLIST_MISSING_RANK) X(ENGLIST_MISSING_RANK2) X(ENGLIST_HARD) X(ENGLIST_SKIP_APOS1)         \
    X(ENGLIST_SKIP_APOS2) X(ENGLIST_VERTICAL) X(ENGLIST_SHORT_BG) X(ENGLIST_NO_BG)                 \
    X(ENGLIST_GENARATE_FILE) X(AUDIO_BG_TO_EN) X(AUDIO_BG_AFTER_EN) X(AUDIO_MAKE_LONG)             \
    X(AUDIO_OGG_INDEX) X(AUDIO_OGG_INDEX_END) X(AUDIO_OGG_CLEAN) X(AUDIO_OGG_NO_BG)                \
    X(AUDIO_DIGITS_ONLY) X(SHOW_MESSAGES) X(MACHINE_TRANSLATION) X(ENGLISH_TRANSLATION)            \
    X(CORPUS_TRANSLATION) X(SHOW_PARALLEL_TRANSLATION) X(STRIP_TIMECODE) X(CORPUS_LIMITED)         \
    X(CORPUS_UNDERLINE) X(CORPUS_MAXTWO) X(CORPUS_STRICT_NOUN) X(MACH_BG_TO_ENG_ALL_VERBS)         \
    X(MACH_BG_TO_ENG_DISABLE) X(SEARCH_IN_C) X(SHOW_INFO) X(SPELL_CHECKER_LOG) X(PRINT_DOWN)
// X(NAME) for every 32-bit mirror gl_<NAME> of option OPT_<NAME>.
#define JUX_INT_MIRRORS(X)                                                                         \
    X(MAX_DEFINITION_LENGTH) X(RANK_FILTER) X(RANK_RARE) X(CORPUS_GOOD_TRESHOLD)                   \
    X(CORPUS_FAST_RANGE) X(CORPUS_RANGE) X(CORPUS_WIDE) X(CORPUS_SKIP_CT)

#define JUX_DECLARE_MIRROR(name) extern std::int8_t gl_##name;  // copy of option name
JUX_BYTE_MIRRORS(JUX_DECLARE_MIRROR)
#undef JUX_DECLARE_MIRROR
#define JUX_DECLARE_MIRROR(name) extern std::int32_t gl_##name;  // copy of option name
JUX_INT_MIRRORS(JUX_DECLARE_MIRROR)
#undef JUX_DECLARE_MIRROR

// ---- Mode flags: no options; set_option_mirrors gives them their start values -----------------
extern std::int8_t gl_say_word;                // 1: speak the selected word (starts 1)
extern std::int32_t gl_ogg_index;              // running index of generated Ogg names (starts 1)
extern std::int8_t gl_from_audio_button;       // the audio request came from the button (starts 0)
extern std::int8_t gl_from_audio_button_read;  // the button's request was read (starts 0)
extern std::int8_t gl_AUDIO_TEXT_ONLY;         // audio builder writes the text index only (starts 0)
extern std::int8_t gl_AUDIO_GER;               // audio builder makes Ogg files without speech (starts 0)
extern std::int8_t gl_AUDIO_SKIP;              // skip the words of b_audio_skip.txt (starts 0)
extern std::int8_t gl_AUDIO_REPEAT;            // say every word twice (starts 0)
extern std::int8_t gl_AUDIO_NOLATIN;           // audio of non-Latin words (starts 1)
extern std::int8_t gl_AUDIO_OGG_WITHOUT_H;     // no "(H)" in Ogg file names (starts 0)
extern std::int8_t gl_MACH_FAST;               // fast machine translation (starts 1)
extern std::int8_t gl_MACHINE_ON;              // machine translation switched on (starts 1)
extern std::int8_t gl_GENERATE_HTML;           // write the HTML glossary (starts 0)
extern std::int8_t gl_CORPUS_ACTIVE;           // the corpus search is active (starts 1)
extern std::int8_t gl_CORPUS_COLOR;            // colour corpus matches (starts 1)
extern std::int8_t gl_CORPUS_DEBUG_FILES;      // write the corpus search's debug files (starts 0)
extern std::int32_t gl_CORPUS_FILE_INDEX;      // number of the next corpus result file (starts 1)
extern std::int8_t gl_SPELLING_MODE;           // 1 while the text-checker window is the active one (starts 0)
extern std::int8_t gl_ALLWAYS_SUGGEST;         // suggestions for correct words too (starts 0)
extern std::int8_t gl_SHOW_ONCE;               // filing commands ask only once (starts 0)
extern std::int8_t gl_PRINT_DOWN_save;         // gl_PRINT_DOWN before a translation mode forced it (starts as gl_PRINT_DOWN)

// The message-pump interval of long passes, in tokens: RESPOND_TOKEN x (9 x gl_SPELLING_MODE + 1),
// at least 1 and at most 2^31 - 1.
extern std::int32_t respond_token;

// ---- Loading ------------------------------------------------------------------------------------
// Puts both tables back to their defaults, then reads "settings_common.txt" and "settings.txt" from
// the start folder. A line whose name is no option of the table is ignored; a number option whose
// value is not a signed 32-bit decimal number (optionally followed by blanks and a remark) keeps its
// default; when a name appears twice the later line wins; a missing file keeps the defaults.
// Returns the number of files read (0 to 2).
int load_settings(const std::filesystem::path& start_folder);
// A number option's value as a settings file gives it after the option's name: blanks and tabs
// around it skipped, a signed 32-bit decimal number, then nothing or a blank or tab and anything
// (a remark). Nullopt for any other text; *out_of_range tells digits beyond the 32 bits.
std::optional<std::int32_t> settings_number(std::string_view value, bool* out_of_range = nullptr);
// The character-type locale from the option LOCALE (empty: the user's default).
void set_locale_from_options();
// Copies the mirrors from the tables, gives the mode flags their start values and sets
// respond_token; called once after the load.
void set_option_mirrors();
// respond_token from RESPOND_TOKEN and gl_SPELLING_MODE (start-up and the settings window).
void set_respond_token();

// The option of the main table called `name` (case-insensitive), or null.
OptionRecord* find_option(std::string_view name);

// The subsystem's reset for test fixtures: default tables, mirrors and flags, start locale.
void reset_settings();
