#include "windows/checker_web.h"

#include <algorithm>
#include <array>

#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

namespace {

constexpr std::string_view kSearch = "https://www.google.com/search?num=100&hl=en&q=";
constexpr std::string_view kSiteSearch = "https://www.google.com/search?num=100&hl=en&safe=off&q=";
constexpr std::string_view kTranslator = "https://translate.google.com/?sl=en&tl=bg#en|bg|";
constexpr std::string_view kQuote = "%22";
constexpr std::string_view kPlaceholder = "XXXXX";

// A fixed endpoint: the address before the look-up text, whether a phrase is quoted, and what
// follows the text.
struct WebEndpoint {
    int id;
    std::string_view prefix;
    bool quoted;
    std::string_view suffix;
};
constexpr std::array kEndpoints{
    WebEndpoint{WEB_SEARCH_BUTTON, kSearch, true, ""},
    WebEndpoint{WEB_SEARCH_BG_BUTTON, kSearch, true, "&lr=lang_bg"},
    WebEndpoint{1218, "https://news.google.com/news?num=100&hl=en&lr=&safe=on&sa=N&tab=wn&q=", true, ""},
    WebEndpoint{1287, "https://images.google.com/images?hl=en&safe=on&q=", true, ""},
    WebEndpoint{1216, kSiteSearch, true, "+site%3Anytimes.com"},
    WebEndpoint{1217, kSiteSearch, true, "+site%3Abbc.co.uk"},
    WebEndpoint{1215, "https://en.wikipedia.org/wiki/", false, ""},
    WebEndpoint{1220, "https://bg.wikipedia.org/wiki/", false, ""},
    WebEndpoint{1219, "https://en.wiktionary.org/wiki/", false, ""},
    WebEndpoint{1221, "https://www.onelook.com/?w=", false, ""},
};

constexpr std::array kLinkButtons{WebLinkButton{1311, OPT_LINK1, OPT_LINKL1}, WebLinkButton{1313, OPT_LINK2, OPT_LINKL2},
                                  WebLinkButton{1286, OPT_LINK3, OPT_LINKL3}, WebLinkButton{1314, OPT_LINK4, OPT_LINKL4},
                                  WebLinkButton{1316, OPT_LINK5, OPT_LINKL5}};

const WebEndpoint* endpoint_of(int id) {
    for (const WebEndpoint& e : kEndpoints)
        if (e.id == id) return &e;
    return nullptr;
}

const WebLinkButton* link_of(int id) {
    for (const WebLinkButton& l : kLinkButtons)
        if (l.id == id) return &l;
    return nullptr;
}

// At most n UTF-16 units; a surrogate pair is never cut in half.
std::u16string_view cut_units(std::u16string_view s, std::size_t n) {
    if (s.size() <= n) return s;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
    return s.substr(0, n);
}

void replace_all(std::u16string& s, char16_t from, char16_t to) {
    for (char16_t& c : s)
        if (c == from) c = to;
}

// The text percent-encoded, as many of its characters as fit in `room` bytes; a character and its
// escapes are never cut.
std::string percent_encode_within(std::u16string_view text, std::size_t room) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        const std::size_t n = pair ? 2 : 1;
        const std::string one = percent_encode(text.substr(i, n));
        if (out.size() + one.size() > room) break;
        out += one;
        i += n;
    }
    return out;
}

// An address cut to the look-ups' room, never inside an escape.
std::string cut_address(std::string address) {
    if (address.size() <= WEB_ADDRESS_MOST_CHARS) return address;
    address.resize(WEB_ADDRESS_MOST_CHARS);
    const std::size_t pct = address.rfind('%');
    if (pct != std::string::npos && address.size() - pct < 3) address.resize(pct);
    return address;
}

// The first word of a panel's text: what stands before its first blank or line end.
std::u16string first_word(HWND panel) {
    std::u16string text = RE_GetTextW(panel, GT_USECRLF);
    remove_extra_spacesW(text);
    if (text.empty() || text.back() != u'\n') text += u"\r\n";
    return text.substr(0, text.find_first_of(u" \r"));
}

void translate_selection() {
    if (RE_GetTextLength(hReFocus) == 0) return;
    const CHARRANGE sel = RE_GetSel(hReFocus);
    const LONG n = sel.cpMax - sel.cpMin;
    if (n <= 2 || n >= WEB_TRANSLATOR_ROOM) {
        MessageBoxW(HWND{}, u"Първо изберете текст!", u"Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    open_with_desktop(web_translator_address(RE_GetSelText(hReFocus)));
}

}  // namespace

std::span<const WebLinkButton> web_link_buttons() { return kLinkButtons; }

std::string percent_encode(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf16_to_utf8(text)) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string web_phrase_search_address(std::u16string_view phrase) {
    return std::string(kSearch) + std::string(kQuote) + percent_encode(phrase) + std::string(kQuote);
}

std::u16string web_lookup_text(HWND focus, HWND left) {
    if (RE_GetTextLength(focus) == 0) return {};
    const CHARRANGE sel = RE_GetSel(focus);
    const LONG n = sel.cpMax - sel.cpMin;
    std::u16string q;
    if (n > 2 && n < WEB_SELECTION_ROOM)
        q = cut_units(RE_GetSelText(focus), WEB_LOOKUP_MOST_CHARS);
    else
        q = first_word((n == 1 || n == 2) ? (left ? left : hBigReLeft) : focus);
    replace_all(q, u'_', u' ');
    remove_extra_spacesW(q);
    return q;
}

std::string web_lookup_address(int id, std::u16string_view q) {
    if (const WebLinkButton* link = link_of(id)) {
        const std::string tmpl = cp1251_to_utf8(OP[link->link_option].text_value);
        // A template without the place of the text names no look-up: nothing is opened.
        std::size_t places = 0;
        for (std::size_t at = tmpl.find(kPlaceholder); at != std::string::npos;
             at = tmpl.find(kPlaceholder, at + kPlaceholder.size()))
            ++places;
        if (places == 0) return {};
        const std::size_t fixed = tmpl.size() - places * kPlaceholder.size();
        const std::string text =
            percent_encode_within(q, fixed < WEB_ADDRESS_MOST_CHARS ? (WEB_ADDRESS_MOST_CHARS - fixed) / places : 0);
        std::string address;
        std::size_t from = 0;
        for (std::size_t at; (at = tmpl.find(kPlaceholder, from)) != std::string::npos; from = at + kPlaceholder.size())
            address.append(tmpl, from, at - from).append(text);
        return cut_address(address.append(tmpl, from));
    }
    const WebEndpoint* e = endpoint_of(id);
    if (!e) return {};
    const bool quoted = e->quoted && q.find(u' ') != std::u16string_view::npos;
    const std::size_t fixed = e->prefix.size() + e->suffix.size() + (quoted ? 2 * kQuote.size() : 0);
    const std::string text = percent_encode_within(q, WEB_ADDRESS_MOST_CHARS - fixed);
    std::string address(e->prefix);
    if (quoted)
        address.append(kQuote).append(text).append(kQuote);
    else
        address += text;
    return address.append(e->suffix);
}

std::string web_translator_address(std::u16string_view selection) {
    std::u16string text(selection);
    replace_all(text, u'_', u' ');
    replace_all(text, u'"', u'\'');
    // A single line end joins its lines with a blank; a pair of them (a new paragraph) stays.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') continue;
        if (i + 1 < text.size() && text[i + 1] == u'\r') {
            text[i] = text[i + 1] = u'\n';
            ++i;
        } else {
            text[i] = u' ';
        }
    }
    std::string address = std::string(kTranslator) + percent_encode(text);
    if (address.size() > static_cast<std::size_t>(WEB_TRANSLATOR_ROOM)) {
        address.resize(static_cast<std::size_t>(WEB_TRANSLATOR_ROOM));
        // An escape cut in half would make the address invalid.
        const std::size_t pct = address.rfind('%');
        if (pct != std::string::npos && address.size() - pct < 3) address.resize(pct);
    }
    return address;
}

bool checker_web_command(int id) {
    if (id == 1214) {
        translate_selection();
        return true;
    }
    const WebLinkButton* link = link_of(id);
    if (!link && !endpoint_of(id)) return false;
    if (RE_GetTextLength(hReFocus) == 0) return true;
    if (link && OP[link->link_option].text_value.empty()) {
        MessageBoxW(hMain, u"No link associated with this button, please put some link in settings.txt", u"Oops!",
                    MB_OK | MB_ICONERROR);
        return true;
    }
    // A text of blanks only gives an empty look-up text: the bare address is opened.
    const std::u16string q = web_lookup_text(hReFocus);
    const std::string address = web_lookup_address(id, q);
    if (!address.empty()) open_with_desktop(address);
    return true;
}

