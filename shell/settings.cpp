#include "shell/settings.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <span>

#include "platform/text.h"

std::array<OptionRecord, OPTION_COUNT> opt;
std::array<OptionRecord, OPTION_COMMON_COUNT> opt_common;
OptionRecord* const OP = opt.data();
OptionRecord* const OPCOMMON = opt_common.data();
std::array<ListFileRecord, 2> settings_files;

#define JUX_DEFINE_MIRROR(name) std::int8_t gl_##name = 0;
JUX_BYTE_MIRRORS(JUX_DEFINE_MIRROR)
#undef JUX_DEFINE_MIRROR
#define JUX_DEFINE_MIRROR(name) std::int32_t gl_##name = 0;
JUX_INT_MIRRORS(JUX_DEFINE_MIRROR)
#undef JUX_DEFINE_MIRROR

std::int8_t gl_say_word = 1;
std::int32_t gl_ogg_index = 1;
std::int8_t gl_from_audio_button = 0;
std::int8_t gl_from_audio_button_read = 0;
std::int8_t gl_AUDIO_TEXT_ONLY = 0;
std::int8_t gl_AUDIO_GER = 0;
std::int8_t gl_AUDIO_SKIP = 0;
std::int8_t gl_AUDIO_REPEAT = 0;
std::int8_t gl_AUDIO_NOLATIN = 1;
std::int8_t gl_AUDIO_OGG_WITHOUT_H = 0;
std::int8_t gl_MACH_FAST = 1;
std::int8_t gl_MACHINE_ON = 1;
std::int8_t gl_GENERATE_HTML = 0;
std::int8_t gl_CORPUS_ACTIVE = 1;
std::int8_t gl_CORPUS_COLOR = 1;
std::int8_t gl_CORPUS_DEBUG_FILES = 0;
std::int32_t gl_CORPUS_FILE_INDEX = 1;
std::int8_t gl_SPELLING_MODE = 0;
std::int8_t gl_ALLWAYS_SUGGEST = 0;
std::int8_t gl_SHOW_ONCE = 0;
std::int8_t gl_PRINT_DOWN_save = 0;

std::int32_t respond_token = 1;

namespace {

struct OptionDef {
    int index;
    std::string_view name;
    int kind;
    std::string_view default_text;
};

#define JUX_OPTION_DEF(i, name, kind, def) OptionDef{i, #name, kind, def},
constexpr OptionDef kOptions[] = {JUX_OPTIONS(JUX_OPTION_DEF)};
constexpr OptionDef kCommonOptions[] = {JUX_COMMON_OPTIONS(JUX_OPTION_DEF)};
#undef JUX_OPTION_DEF

// Names of the reserved rows, "RESERVED_<index>", made once.
const std::array<std::string, OPTION_COUNT>& reserved_names() {
    static const std::array<std::string, OPTION_COUNT> names = [] {
        std::array<std::string, OPTION_COUNT> n;
        for (int i = 0; i < OPTION_COUNT; ++i) n[static_cast<size_t>(i)] = "RESERVED_" + std::to_string(i);
        return n;
    }();
    return names;
}

// A signed 32-bit decimal number, optionally followed by blanks and anything after them;
// *out_of_range tells digits beyond the 32 bits.
bool parse_number(std::string_view text, std::int32_t& out, bool* out_of_range = nullptr) {
    size_t i = 0;
    if (i < text.size() && text[i] == '+') ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    std::int32_t v = 0;
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ptr == first || (i > 0 && text[i] == '-')) return false;  // no digits, or "+-5"
    if (ptr != last && *ptr != ' ' && *ptr != '\t') return false;
    if (out_of_range) *out_of_range = ec == std::errc::result_out_of_range;
    if (ec != std::errc()) return false;
    out = v;
    return true;
}

std::string_view trim_trailing_blanks(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

void set_default(OptionRecord& r) {
    r.found = 0;
    r.text_value.assign(r.default_text);
    r.num_value = 0;
    if (r.kind == OPT_KIND_NUMBER) parse_number(r.default_text, r.num_value);
}

void reset_tables() {
    const auto& reserved = reserved_names();
    for (int i = 0; i < OPTION_COUNT; ++i) {
        OptionRecord& r = opt[static_cast<size_t>(i)];
        r.name = reserved[static_cast<size_t>(i)];
        r.kind = OPT_KIND_NUMBER;
        r.default_text = "0";
    }
    for (const OptionDef& d : kOptions) {
        OptionRecord& r = opt[static_cast<size_t>(d.index)];
        r.name = d.name;
        r.kind = d.kind;
        r.default_text = d.default_text;
    }
    for (const OptionDef& d : kCommonOptions) {
        OptionRecord& r = opt_common[static_cast<size_t>(d.index)];
        r.name = d.name;
        r.kind = d.kind;
        r.default_text = d.default_text;
    }
    for (auto& r : opt) set_default(r);
    for (auto& r : opt_common) set_default(r);
    settings_files[0] = ListFileRecord{};
    settings_files[0].name = "settings_common";
    settings_files[0].sort = 0;
    settings_files[1] = ListFileRecord{};
    settings_files[1].name = "settings";
    settings_files[1].sort = 0;
}

OptionRecord* find_in(std::span<OptionRecord> table, std::string_view name) {
    for (OptionRecord& r : table)
        if (r.name.size() == name.size() && cp_strcasecmp(r.name, name) == 0) return &r;
    return nullptr;
}

// Reads one settings file into its row of settings_files and applies its lines to `table`.
bool read_settings_file(const std::filesystem::path& folder, ListFileRecord& rec, std::size_t room,
                        std::span<OptionRecord> table) {
    ListLoadOptions lo;
    lo.sort = 0;
    lo.slash_comments = true;
    lo.room = room;
    rec.entries.clear();
    auto text = load_pairs(folder / (rec.name + ".txt"), lo, rec.entries, &rec.stats);
    rec.count = rec.entries.size();
    rec.text = text;
    if (!text) return false;
    for (const ListPair& p : rec.entries) {
        OptionRecord* r = find_in(table, p.key);
        if (!r) continue;  // not an option of this table
        std::string_view value = p.has_rest() ? trim_trailing_blanks(p.rest) : std::string_view();
        if (r->kind == OPT_KIND_NUMBER) {
            std::int32_t v = 0;
            if (!parse_number(value, v)) continue;  // keeps the value in force
            r->num_value = v;
        }
        r->text_value.assign(value);
        r->found = 1;
    }
    return true;
}

std::int8_t to_byte(std::int32_t v) {
    return static_cast<std::int8_t>(std::clamp<std::int32_t>(v, std::numeric_limits<std::int8_t>::min(),
                                                            std::numeric_limits<std::int8_t>::max()));
}

void set_mode_flags() {
    gl_say_word = 1;
    gl_ogg_index = 1;
    gl_from_audio_button = 0;
    gl_from_audio_button_read = 0;
    gl_AUDIO_TEXT_ONLY = 0;
    gl_AUDIO_GER = 0;
    gl_AUDIO_SKIP = 0;
    gl_AUDIO_REPEAT = 0;
    gl_AUDIO_NOLATIN = 1;
    gl_AUDIO_OGG_WITHOUT_H = 0;
    gl_MACH_FAST = 1;
    gl_MACHINE_ON = 1;
    gl_GENERATE_HTML = 0;
    gl_CORPUS_ACTIVE = 1;
    gl_CORPUS_COLOR = 1;
    gl_CORPUS_DEBUG_FILES = 0;
    gl_CORPUS_FILE_INDEX = 1;
    gl_SPELLING_MODE = 0;
    gl_ALLWAYS_SUGGEST = 0;
    gl_SHOW_ONCE = 0;
    gl_PRINT_DOWN_save = gl_PRINT_DOWN;
}

}  // namespace

int load_settings(const std::filesystem::path& start_folder) {
    reset_tables();
    int read = 0;
    if (read_settings_file(start_folder, settings_files[0], SETTINGS_ROOM, opt_common)) ++read;
    const std::size_t used = settings_files[0].count;
    if (read_settings_file(start_folder, settings_files[1], SETTINGS_ROOM - std::min(used, SETTINGS_ROOM), opt))
        ++read;
    return read;
}

void set_locale_from_options() { set_ctype_locale(OP[OPT_LOCALE].text_value); }

void set_respond_token() {
    const std::int64_t v = static_cast<std::int64_t>(OP[OPT_RESPOND_TOKEN].num_value) *
                           (9 * static_cast<std::int64_t>(gl_SPELLING_MODE) + 1);
    respond_token = static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 1, std::numeric_limits<std::int32_t>::max()));
}

void set_option_mirrors() {
#define JUX_COPY_MIRROR(name) gl_##name = to_byte(OP[OPT_##name].num_value);
    JUX_BYTE_MIRRORS(JUX_COPY_MIRROR)
#undef JUX_COPY_MIRROR
#define JUX_COPY_MIRROR(name) gl_##name = OP[OPT_##name].num_value;
    JUX_INT_MIRRORS(JUX_COPY_MIRROR)
#undef JUX_COPY_MIRROR
    set_mode_flags();
    set_respond_token();
}

OptionRecord* find_option(std::string_view name) { return find_in(opt, name); }

std::optional<std::int32_t> settings_number(std::string_view value, bool* out_of_range) {
    if (out_of_range) *out_of_range = false;
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    std::int32_t v = 0;
    if (!parse_number(trim_trailing_blanks(value), v, out_of_range)) return std::nullopt;
    return v;
}

void reset_settings() {
    reset_tables();
    reset_ctype_locale();
    set_option_mirrors();
}

// The tables hold their defaults from the start, before any load.
namespace {
const bool tables_ready = (reset_tables(), set_option_mirrors(), true);
}
