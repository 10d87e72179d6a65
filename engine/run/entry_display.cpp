#include "engine/run/entry_display.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "audio/pronunciation.h"
#include "engine/lookup_state.h"
#include "engine/run_state.h"
#include "engine/run/scan_end.h"
#include "lexicon/display.h"
#include "lexicon/entry_text.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/lists.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/window_state.h"
#include "spelling/definitions.h"
#include "spelling/spell_state.h"
#include "spelling/suffix_en.h"
#include "spelling/suggest_en.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;

bool is(HWND a, HWND b) { return a && a == b; }

void blanks_to_underscores(std::string& t) {
    remove_extra_spaces(t);
    std::replace(t.begin(), t.end(), ' ', '_');
}

// The first list that holds entries among b_en-bg, wl_english2 and wl_english.
std::span<const ListPair> dictionary_list() {
    auto span_of = [](const std::vector<ListPair>& v, std::size_t count) {
        return std::span<const ListPair>(v.data(), std::min(count, v.size()));
    };
    if (const auto s = span_of(b[B_EN_BG].entries, b[B_EN_BG].count); !s.empty()) return s;
    if (const auto s = span_of(m[M_WL_ENGLISH2].entries, m[M_WL_ENGLISH2].count); !s.empty()) return s;
    return span_of(m[M_WL_ENGLISH].entries, m[M_WL_ENGLISH].count);
}

void clear(HWND re) { StringToRE1200def(re, u""); }

void append_label(std::string_view labels) {
    if (labels.empty()) return;
    std::u16string w = cp1251_to_utf16(labels);
    if (w.size() > kBalloonLabelRoom) w.resize(kBalloonLabelRoom);
    if (balloon.size() + 2 + w.size() >= BALLOON_ROOM) return;
    balloon += u"\r\n";
    balloon += w;
}

}  // namespace

std::optional<std::string> look_up_text(std::string_view text8, std::uint64_t processed, std::int32_t lead,
                                        LONG caret, bool own_change) {
    std::string t(text8.substr(0, text8.find('\0')));
    if (processed >= 2 && processed <= 8) blanks_to_underscores(t);
    const std::size_t bracket = t.find('[');
    if (bracket != std::string::npos) {
        const char next = bracket + 1 < t.size() ? t[bracket + 1] : '\0';
        const char after = bracket + 2 < t.size() ? t[bracket + 2] : '\0';
        const bool label = next == 'B' || (next == 'A' && after != 'D');
        if (!label && !own_change && caret > static_cast<LONG>(lead + bracket + 1)) return std::nullopt;
        if (bracket == 0) return std::nullopt;
        // The blanks before the bracket go with it (written '_' when the text was cut into tokens).
        std::size_t cut = bracket;
        while (cut > 0 && (t[cut - 1] == ' ' || t[cut - 1] == '_')) --cut;
        t.resize(cut);
    } else if (t.size() > kLookUpMax) {
        return std::nullopt;
    }
    blanks_to_underscores(t);
    return t;
}

void note_search(std::string_view text) {
    if (nologfile_fg || !fl_searchlog) return;
    std::fseek(fl_searchlog, 0, SEEK_END);
    if (std::ftell(fl_searchlog) == 0 && !put_search_log(kSearchLogHeader)) return;
    const std::string& prev = previous_exact;
    if (prev.size() > 2 && (text.size() < prev.size() || cp_strncasecmp(text, prev, prev.size()) != 0))
        put_search_log(prev + "\r\n");
    previous_exact.assign(text.substr(0, PREVIOUS_EXACT_MAX));
}

void update_balloon() {
    append_label(harddelaccrue);
    if (OP[OPT_LOAD_B_CORPUS].num_value != 0) append_label(corpusaccrue);
    if (!gl_icon_exists || !gl_TRANSLATE_IN_TRAY_BALLOON) return;
    // The text is trimmed first (a final line break dropped, at most 255 characters), so that the
    // icon record always receives a whole, terminated text.
    if (balloon.size() >= 2 && balloon[balloon.size() - 2] == u'\r') balloon.resize(balloon.size() - 2);
    if (balloon.size() > kBalloonShown) balloon.resize(kBalloonShown);
    nid.szInfo = balloon;
    Shell_NotifyIconW(NIM_MODIFY, nid);
}

void show_dictionary_entry(RunContext& c) {
    // Where the user's caret stands (the run's colouring has moved the panel's selection).
    const std::optional<std::string> text =
        look_up_text(c.text8, c.processed, c.lead, c.user_sel.cpMax, changed_from_add_fg != 0);
    if (!text) return;
    const std::string& w = *text;

    clear(hAddReHyphen);
    print_corpus1_data(hAddReHyphen, w);
    print_corpus2_data(hAddReHyphen, w);

    const std::span<const ListPair> list = dictionary_list();
    if (list.empty()) return;
    static std::string chunk;  // the neighbourhood, kept between look-ups to spare its allocation
    long offset = 0;
    int index = 0, found = 0;
    GetRichChunk(w, list, chunk, kNeighbourhoodLines, offset, index, found);
    clear(c.report);

    if (!gl_MACHINE_TRANSLATION) {
        // Each grave accent (a transcription substitute) grows into two characters on display.
        const std::size_t before = std::min(static_cast<std::size_t>(std::max(offset, 0L)), chunk.size());
        offset += static_cast<long>(std::count_if(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(before),
                                                  [](char ch) { return ascii_grave[static_cast<unsigned char>(ch)] != 0; }));
        std::u16string shown = cp1251_to_utf16(chunk);
        if (shown.size() > kNeighbourhoodRoom) shown.resize(kNeighbourhoodRoom);
        ReplaceAChars(shown);
        show_neighbourhood(c.report, shown, offset, index, found, static_cast<long>(w.size()), kColWordInDictionary);
        if (found) note_search(w);
    }

    if (is(c.source, hAddReShortCopy)) return;
    clear(hAddReShort3);
    const HWND target = IsWindow(hInfo) ? hInfoReTop : hAddReSaved;
    if (!changed_from_add_fg) {
        clear(target);
        RE_SetWordWrap(target, true);
    } else {
        RE_SetWordWrap(target, false);
        if (IsDlgButtonChecked(c.dialog, IDC_ADD_UPDATE_DEFINITION_AFTER_ADD) == BST_CHECKED)
            clear(hAddReSaved);
        else
            RE_Scroll(hAddReSaved, SB_BOTTOM);
    }
    print_multiline_english_definition_to_re(target, w);
    print_English_definition(target, w, 1);
    if (IsWindow(hInfo)) {
        clear(hInfoReBot);
        RE_SetWordWrap(hInfoReBot, true);
        print_English_definition(hInfoReBot, w, 0);
    }
    // In talking mode the word on display is pronounced.
    if (gl_TALKING_MODE) say_word(w);
    update_balloon();
}

std::string english_derivative(std::string_view word) {
    std::string stem, suffix;
    const ListPair* entry = nullptr;
    if (issuffix(word, stem, suffix, &entry) != 1 || cp_strcasecmp(stem, word) == 0) return "";
    return stem;
}

void write_english_suggestions(HWND re, std::string_view word) {
    const Suggestions sg = spellcheck(word);
    if (sg.suggest_ct == 0 || sg.spelling_sh.empty()) return;
    std::string definitions;
    std::u16string shown;
    const auto& dict = b[B_EN_BG];
    define_all_suggestions(std::string(word) + ": " + sg.spelling_sh,
                           std::span<const ListPair>(dict.entries.data(), std::min(dict.count, dict.entries.size())),
                           definitions, shown);
    const DWORD mask = RE_SetEventMask(re, 0);
    const std::u16string head = cp1251_to_utf16(word);
    std::u16string line = head + u" -> " + cp1251_to_utf16(sg.spelling_sh) + u"\r";
    LONG at = RE_GetTextLength(re);
    RE_SetSel(re, CHARRANGE{at, at});
    RE_SetTextW(re, line, ST_SELECTION | ST_KEEPUNDO);
    ColorRangeOn(re, at, at + static_cast<LONG>(head.size()), kColourBold, RGB(255, 0, 42), 1);
    ColorRangeOn(re, at + static_cast<LONG>(head.size()), RE_GetTextLength(re), kColourBold, RGB(0, 127, 0), 0);
    at = RE_GetTextLength(re);
    RE_SetSel(re, CHARRANGE{at, at});
    RE_SetTextW(re, shown, ST_SELECTION | ST_KEEPUNDO);
    ColorRangeOn(re, at, RE_GetTextLength(re), kColourBold, 0, 0);
    RE_SetEventMask(re, mask);
}

void install_english_definition_hooks() {
    english_derivative_hook = english_derivative;
    english_suggestions_hook = write_english_suggestions;
}
