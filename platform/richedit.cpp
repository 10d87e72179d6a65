// The rich-edit panel calls: each works on the panel's document (RichText), then tells the
// backend's view what changed and sends the panel's dialog the notifications its event mask asks
// for. The user's edits, selections and mouse messages reported by a backend take the same paths.
//
// Notifications are sent after the document and the view are up to date, by value, and every
// pointer is fetched again afterwards: a dialog procedure may change the same panel (or destroy
// it) while it handles one.
#include "platform/richedit.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/backend.h"
#include "platform/text.h"
#include "platform/window.h"

namespace {

// The simple scroll model of a panel without a view: one paragraph line is this many pixels high,
// one character this many wide.
constexpr LONG kLinePixels = 16;
constexpr LONG kCharPixels = 8;
// What a text limit of 0 or less means (as EM_EXLIMITTEXT).
constexpr LONG kDefaultLimitForZero = 65536;
constexpr COLORREF kSystemWindowColor = RGB(255, 255, 255);

constexpr DWORD kAllMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED |
                           CFM_LINK | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BACKCOLOR;

RichEditView* view_of(HWND re) {
  WindowModel* w = platform_window(re);
  if (!w || !w->rich || !w->view) return nullptr;
  return w->view->as_rich_edit();
}

CHARFORMAT2W charformat_of(const CharFormat& f) {
  CHARFORMAT2W cf;
  cf.dwMask = kAllMask;
  cf.dwEffects = f.effects | (f.auto_color ? DWORD{CFE_AUTOCOLOR} : DWORD{0}) | (f.auto_back ? DWORD{CFE_AUTOBACKCOLOR} : DWORD{0});
  cf.yHeight = f.height;
  cf.crTextColor = f.color;
  cf.crBackColor = f.back;
  cf.szFaceName = f.face;
  return cf;
}

// ---- Notifications ----------------------------------------------------------------------------

INT_PTR notify(HWND re, Msg m) {
  WindowModel* w = platform_window(re);
  if (!w || !w->rich) return 0;
  m.id = w->id;
  m.from = re;
  const HWND dialog = w->parent;
  return SendMessageW(dialog, m);
}

void send_change(HWND re) {
  RichText* d = platform_rich(re);
  if (!d || !(d->event_mask & ENM_CHANGE)) return;
  notify(re, Msg::command(0, EN_CHANGE, re));
}

void send_selchange(HWND re) {
  RichText* d = platform_rich(re);
  if (!d || !(d->event_mask & ENM_SELCHANGE)) return;
  Msg m;
  m.message = WM_NOTIFY;
  m.code = EN_SELCHANGE;
  m.range = d->selection();
  notify(re, m);
}

// ---- The scroll model of a panel without a view ------------------------------------------------

LONG max_scroll_y(const RichText& d) { return kLinePixels * (d.line_count() - 1); }

void set_model_scroll(RichText& d, std::int64_t x, std::int64_t y) {
  d.scroll.x = static_cast<LONG>(std::clamp<std::int64_t>(x, 0, std::numeric_limits<LONG>::max()));
  d.scroll.y = static_cast<LONG>(std::clamp<std::int64_t>(y, 0, max_scroll_y(d)));
}

int visible_lines(HWND re) {
  const WindowModel* w = platform_window(re);
  const LONG h = w ? w->rect.height() : 0;
  return std::max<int>(1, h / kLinePixels);
}

// ---- After changes ------------------------------------------------------------------------------

// Tells the view and the dialog about a change of text made on the document.
void text_changed(HWND re, const TextChange& c, CHARRANGE old_sel) {
  if (RichEditView* v = view_of(re)) {
    v->text_replaced(c.pos, c.removed, c.inserted);
    if (RichEditView* v2 = view_of(re)) v2->selection_changed();
  } else if (RichText* d = platform_rich(re)) {
    set_model_scroll(*d, d->scroll.x, d->scroll.y);
  }
  const RichText* d = platform_rich(re);
  if (d && d->selection() != old_sel) send_selchange(re);
  send_change(re);
}

void selection_changed(HWND re) {
  if (RichEditView* v = view_of(re)) v->selection_changed();
  send_selchange(re);
}

void options_changed(HWND re) {
  if (RichEditView* v = view_of(re)) v->options_changed();
}

void scroll_to_top(HWND re) {
  if (RichEditView* v = view_of(re)) v->set_scroll_pos({0, 0});
  else if (RichText* d = platform_rich(re)) set_model_scroll(*d, 0, 0);
}

// ---- Text in and out ------------------------------------------------------------------------

std::u16string utf16_from_bytes(std::string_view bytes) {
  std::u16string s(bytes.size() / 2, u'\0');
  if (!s.empty()) std::memcpy(s.data(), bytes.data(), s.size() * sizeof(char16_t));
  return s;
}

std::string bytes_from_utf16(std::u16string_view s) {
  std::string out(s.size() * sizeof(char16_t), '\0');
  if (!out.empty()) std::memcpy(out.data(), s.data(), out.size());
  return out;
}

std::u16string strip_bom(std::u16string s) {
  if (!s.empty() && s[0] == u'\uFEFF') s.erase(0, 1);
  return s;
}

// Text in a code page -> UTF-16; nullopt for a code page the panel does not take.
std::optional<std::u16string> decode(std::string_view text, UINT codepage) {
  switch (codepage) {
    case CP_ACP:
    case CP_1251: return cp1251_to_utf16(text);
    case CP_UTF16: return utf16_from_bytes(text);
    case CP_UTF8: return strip_bom(utf8_to_utf16(text));
    default: return std::nullopt;
  }
}

std::string encode(std::u16string_view s, UINT codepage, char default_byte, bool* used_default) {
  switch (codepage) {
    case CP_ACP:
    case CP_1251: return utf16_to_cp1251(s, default_byte, used_default);
    case CP_UTF16: return bytes_from_utf16(s);
    case CP_UTF8: return utf16_to_utf8(s);
    default: return {};
  }
}

// Cuts `s` so that replacing `removed` units by it keeps the text within the panel's limit; a
// surrogate pair is never cut in half.
std::u16string_view cut_to_limit(const RichText& d, std::u16string_view s, LONG removed) {
  const std::int64_t room = std::int64_t{d.limit} - (std::int64_t{d.length()} - removed);
  if (room <= 0) return {};
  if (static_cast<std::int64_t>(s.size()) <= room) return s;
  size_t n = static_cast<size_t>(room);
  if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF && s[n] >= 0xDC00 && s[n] <= 0xDFFF) --n;
  return s.substr(0, n);
}

// Replaces the selection as typing, pasting or EM_REPLACESEL does: within the text limit.
void replace_selection(HWND re, std::u16string_view normalized, bool undoable) {
  RichText* d = platform_rich(re);
  if (!d) return;
  const CHARRANGE sel = d->selection();
  const std::u16string_view s = cut_to_limit(*d, normalized, sel.cpMax - sel.cpMin);
  if (s.empty() && sel.cpMin == sel.cpMax) return;
  const TextChange c = d->replace(sel.cpMin, sel.cpMax, s, undoable);
  text_changed(re, c, sel);
}

// After the whole text was put in: caret and view at the start, then the notifications.
void all_text_replaced(HWND re, const TextChange& c, CHARRANGE old_sel) {
  if (RichText* d = platform_rich(re)) d->set_selection({0, 0});
  if (RichEditView* v = view_of(re)) {
    v->text_replaced(c.pos, c.removed, c.inserted);
    if (RichEditView* v2 = view_of(re)) v2->selection_changed();
  }
  scroll_to_top(re);
  const RichText* d = platform_rich(re);
  if (d && d->selection() != old_sel) send_selchange(re);
  send_change(re);
}

// Puts in the whole text (no limit); the undo history is emptied unless `keep_undo`. Setting the
// text always counts as a change, even to the same text.
void set_all_text(HWND re, std::u16string_view normalized, bool keep_undo) {
  RichText* d = platform_rich(re);
  if (!d) return;
  const CHARRANGE old = d->selection();
  const TextChange c = d->replace(0, d->length(), normalized, keep_undo);
  if (!keep_undo) d->clear_undo();
  all_text_replaced(re, c, old);
}

// The text as the panel keeps it ('\r' line ends): the text itself when it holds no '\n' and
// is not a view into the panel's own text, else a normalised copy kept in `copy`.
std::u16string_view panel_form(const RichText& d, std::u16string_view text, std::u16string& copy) {
  const std::u16string& own = d.text();
  const bool inside = !own.empty() && std::less_equal<>()(own.data(), text.data()) &&
                      std::less<>()(text.data(), own.data() + own.size());
  if (!inside && find_unit(text, u'\n') == std::u16string_view::npos) return text;
  copy = normalize_line_ends(text);
  return copy;
}

bool set_text(HWND re, std::u16string_view text, DWORD flags) {
  const RichText* d = platform_rich(re);
  if (!d) return false;
  std::u16string copy;
  const std::u16string_view s = panel_form(*d, text, copy);
  if (flags & ST_SELECTION) replace_selection(re, s, (flags & ST_KEEPUNDO) != 0);
  else set_all_text(re, s, (flags & ST_KEEPUNDO) != 0);
  return true;
}

std::u16string get_text(const RichText& d, DWORD flags) {
  LONG from = 0, to = d.length();
  if (flags & GT_SELECTION) {
    from = d.selection().cpMin;
    to = d.selection().cpMax;
  }
  return (flags & GT_USECRLF) ? d.text_crlf(from, to) : d.text_range(from, to);
}

}  // namespace

// ---- Text --------------------------------------------------------------------------------------

bool RE_SetTextEx(HWND re, std::string_view text, UINT codepage, DWORD flags) {
  if (!platform_rich(re)) return false;
  const std::optional<std::u16string> s = decode(text, codepage);
  if (!s) return false;
  return set_text(re, *s, flags);
}

bool RE_SetTextW(HWND re, std::u16string_view text, DWORD flags) { return set_text(re, text, flags); }

std::string RE_GetTextEx(HWND re, UINT codepage, DWORD flags, char default_byte, bool* used_default) {
  if (used_default) *used_default = false;
  const RichText* d = platform_rich(re);
  if (!d) return {};
  return encode(get_text(*d, flags), codepage, default_byte, used_default);
}

std::u16string RE_GetTextW(HWND re, DWORD flags) {
  const RichText* d = platform_rich(re);
  return d ? get_text(*d, flags) : std::u16string{};
}

LONG RE_GetTextLength(HWND re, DWORD flags) {
  const RichText* d = platform_rich(re);
  if (!d) return 0;
  // Every paragraph end but the last line's start is one '\r'.
  return d->length() + ((flags & GT_USECRLF) ? d->line_count() - 1 : 0);
}

void RE_ReserveText(HWND re, LONG more) {
  if (RichText* d = platform_rich(re)) d->reserve(more);
}

std::u16string RE_GetTextRange(HWND re, CHARRANGE r) {
  const RichText* d = platform_rich(re);
  return d ? d->text_range(r.cpMin, r.cpMax) : std::u16string{};
}

// ---- Selection -------------------------------------------------------------------------------

CHARRANGE RE_GetSel(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->selection() : CHARRANGE{};
}

void RE_SetSel(HWND re, CHARRANGE r) {
  RichText* d = platform_rich(re);
  if (d && d->set_selection(r)) selection_changed(re);
}

std::u16string RE_GetSelText(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->text_range(d->selection().cpMin, d->selection().cpMax) : std::u16string{};
}

void RE_ReplaceSel(HWND re, std::u16string_view text, bool can_undo) {
  const RichText* d = platform_rich(re);
  if (!d) return;
  std::u16string copy;
  replace_selection(re, panel_form(*d, text, copy), can_undo);
}

void RE_ReplaceSelA(HWND re, std::string_view text_cp1251, bool can_undo) {
  if (!platform_rich(re)) return;
  replace_selection(re, normalize_line_ends(cp1251_to_utf16(text_cp1251)), can_undo);
}

std::size_t RE_ReplaceRanges(HWND re, const std::vector<CHARRANGE>& ranges, std::u16string_view text,
                             bool can_undo) {
  RichText* d = platform_rich(re);
  if (!d || ranges.empty()) return 0;
  const std::u16string with = normalize_line_ends(text);
  const LONG n = d->length();
  const auto w = static_cast<std::int64_t>(with.size());
  // How many of the ranges fit in the text limit, and that they are in order.
  std::size_t count = 0;
  std::int64_t length = n;
  LONG prev_end = 0;
  for (const CHARRANGE& r : ranges) {
    if (r.cpMin < prev_end || r.cpMax < r.cpMin || r.cpMax > n) break;
    const std::int64_t next = length + w - (r.cpMax - r.cpMin);
    if (next > length && next > d->limit) break;
    length = next;
    prev_end = r.cpMax;
    ++count;
  }
  if (count == 0) return 0;
  const LONG from = ranges.front().cpMin;
  const LONG to = ranges[count - 1].cpMax;
  const std::vector<FormatRun> old_runs = d->runs(from, to);
  const std::u16string& old = d->text();
  std::u16string out;
  out.reserve(static_cast<std::size_t>(length - n + (to - from)));
  std::vector<FormatRun> runs;
  std::size_t ri = 0;
  // The formats of [a, b) of the old text, placed at the current end of `out`.
  auto copy_gap = [&](LONG a, LONG b) {
    const LONG shift = static_cast<LONG>(out.size()) - (a - from);
    while (ri < old_runs.size() && old_runs[ri].to <= a) ++ri;
    for (std::size_t k = ri; k < old_runs.size() && old_runs[k].from < b; ++k)
      runs.push_back({std::max(old_runs[k].from, a) - from + shift, std::min(old_runs[k].to, b) - from + shift,
                      old_runs[k].format});
    out.append(old, static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
  };
  LONG at = from;
  for (std::size_t i = 0; i < count; ++i) {
    const CHARRANGE& r = ranges[i];
    copy_gap(at, r.cpMin);
    while (ri < old_runs.size() && old_runs[ri].to <= r.cpMin) ++ri;
    const CharFormat f = ri < old_runs.size() ? old_runs[ri].format : d->format_at(r.cpMin);
    const LONG start = static_cast<LONG>(out.size());
    out += with;
    runs.push_back({start, static_cast<LONG>(out.size()), f});
    at = r.cpMax;
  }
  const CHARRANGE old_sel = d->selection();
  const TextChange c = d->replace_formatted(from, to, out, runs, can_undo);
  text_changed(re, c, old_sel);
  return count;
}

void RE_AppendFormatted(HWND re, std::u16string_view text, std::span<const FormatChange> changes, bool can_undo) {
  RichText* d = platform_rich(re);
  if (!d) return;
  std::u16string copy;
  const std::u16string_view s = cut_to_limit(*d, panel_form(*d, text, copy), 0);
  if (s.empty()) return;
  const CHARRANGE old_sel = d->selection();
  // The selection goes to the end first, as a caller's own selecting of it would: a format set
  // at a caret elsewhere does not reach the new text.
  d->set_selection(CHARRANGE{d->length(), d->length()});
  const TextChange c = d->append_formatted(s, changes, can_undo);
  text_changed(re, c, old_sel);
}

void RE_HideSelection(HWND re, bool hide) {
  RichText* d = platform_rich(re);
  if (!d || d->hide_selection == hide) return;
  d->hide_selection = hide;
  options_changed(re);
}

// ---- Formats ---------------------------------------------------------------------------------

void RE_ColorRange(HWND re, CHARRANGE r, const CHARFORMAT2W& cf) {
  RichText* d = platform_rich(re);
  if (!d) return;
  if (d->set_selection(r))
    if (RichEditView* v = view_of(re)) v->selection_changed();
  if (!d->hide_selection) {
    d->hide_selection = true;
    options_changed(re);
  }
  const CHARRANGE changed = d->set_format(d->selection().cpMin, d->selection().cpMax, cf);
  if (changed.cpMax > changed.cpMin)
    if (RichEditView* v = view_of(re)) v->formats_changed(changed.cpMin, changed.cpMax);
}

bool RE_SetCharFormat(HWND re, UINT scf, const CHARFORMAT2W& cf) {
  RichText* d = platform_rich(re);
  if (!d) return false;
  CHARRANGE changed{0, 0};  // what the view must show anew
  if (scf & SCF_ALL) {
    if (d->length() > 0) changed = d->set_format(0, d->length(), cf);
    // Text put in later (a new text, or typing into an empty panel) takes it as well.
    d->set_default_format(cf);
  } else if (scf & SCF_SELECTION) {
    changed = d->set_format(d->selection().cpMin, d->selection().cpMax, cf);
  } else {
    d->set_default_format(cf);
  }
  if (changed.cpMax > changed.cpMin)
    if (RichEditView* v = view_of(re)) v->formats_changed(changed.cpMin, changed.cpMax);
  return true;
}

CHARFORMAT2W RE_GetCharFormat(HWND re, UINT scf) {
  const RichText* d = platform_rich(re);
  if (!d) return {};
  if (scf & SCF_ALL) return d->format_of_range(0, d->length());
  if (scf & SCF_SELECTION) return d->format_of_range(d->selection().cpMin, d->selection().cpMax);
  return charformat_of(d->default_format());
}

CHARFORMAT2W RE_GetCharFormatAt(HWND re, LONG pos) {
  const RichText* d = platform_rich(re);
  return d ? charformat_of(d->format_at(pos)) : CHARFORMAT2W{};
}

void RE_SetBackgroundColor(HWND re, std::optional<COLORREF> color) {
  RichText* d = platform_rich(re);
  if (!d) return;
  d->background = color;
  options_changed(re);
}

COLORREF RE_GetBackgroundColor(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->background.value_or(kSystemWindowColor) : 0;
}

// ---- Event mask and redraw -------------------------------------------------------------------

DWORD RE_SetEventMask(HWND re, DWORD mask) {
  RichText* d = platform_rich(re);
  if (!d) return 0;
  const DWORD old = d->event_mask;
  d->event_mask = mask;
  return old;
}

DWORD RE_GetEventMask(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->event_mask : 0;
}

void RE_SetRedraw(HWND re, bool on) {
  RichText* d = platform_rich(re);
  if (!d) return;
  d->redraw = on;
  options_changed(re);
}

bool RE_GetRedraw(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->redraw : false;
}

// ---- Scrolling -------------------------------------------------------------------------------

POINT RE_GetScrollPos(HWND re) {
  if (const RichEditView* v = view_of(re)) return v->scroll_pos();
  const RichText* d = platform_rich(re);
  return d ? d->scroll : POINT{};
}

void RE_SetScrollPos(HWND re, POINT p) {
  if (RichEditView* v = view_of(re)) {
    v->set_scroll_pos(p);
    return;
  }
  if (RichText* d = platform_rich(re)) set_model_scroll(*d, p.x, p.y);
}

void RE_LineScroll(HWND re, int lines) {
  if (RichEditView* v = view_of(re)) {
    v->line_scroll(lines);
    return;
  }
  if (RichText* d = platform_rich(re))
    set_model_scroll(*d, d->scroll.x, d->scroll.y + std::int64_t{lines} * kLinePixels);
}

void RE_ScrollCaret(HWND re) {
  if (RichEditView* v = view_of(re)) {
    v->scroll_caret();
    return;
  }
  RichText* d = platform_rich(re);
  if (!d) return;
  const std::int64_t line = d->line_from_char(d->selection().cpMax);
  const std::int64_t first = d->scroll.y / kLinePixels;
  const std::int64_t shown = visible_lines(re);
  if (line < first) set_model_scroll(*d, d->scroll.x, line * kLinePixels);
  else if (line >= first + shown) set_model_scroll(*d, d->scroll.x, (line - shown + 1) * kLinePixels);
}

void RE_Scroll(HWND re, int sb) {
  if (!platform_rich(re)) return;
  const int page = visible_lines(re);
  switch (sb) {
    case SB_LINEUP: RE_LineScroll(re, -1); break;
    case SB_LINEDOWN: RE_LineScroll(re, 1); break;
    case SB_PAGEUP: RE_LineScroll(re, -page); break;
    case SB_PAGEDOWN: RE_LineScroll(re, page); break;
    case SB_TOP: RE_SetScrollPos(re, {RE_GetScrollPos(re).x, 0}); break;
    // The view (or the model) clamps the position to the last line.
    case SB_BOTTOM: RE_SetScrollPos(re, {RE_GetScrollPos(re).x, std::numeric_limits<LONG>::max()}); break;
    default: break;
  }
}

int RE_GetFirstVisibleLine(HWND re) {
  if (const RichEditView* v = view_of(re)) return v->first_visible_line();
  const RichText* d = platform_rich(re);
  return d ? d->scroll.y / kLinePixels : 0;
}

// ---- Lines -----------------------------------------------------------------------------------

int RE_GetLineCount(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->line_count() : 0;
}

int RE_LineFromChar(HWND re, LONG pos) {
  const RichText* d = platform_rich(re);
  if (!d) return 0;
  return d->line_from_char(pos < 0 ? d->selection().cpMin : pos);
}

LONG RE_LineIndex(HWND re, int line) {
  const RichText* d = platform_rich(re);
  if (!d) return -1;
  if (line < 0) line = d->line_from_char(d->selection().cpMin);
  return d->line_index(line);
}

LONG RE_CharFromPos(HWND re, POINT client) {
  if (const RichEditView* v = view_of(re)) return v->char_from_pos(client);
  const RichText* d = platform_rich(re);
  if (!d) return 0;
  const std::int64_t y = std::int64_t{client.y} + d->scroll.y;
  const int line = static_cast<int>(std::clamp<std::int64_t>(y / kLinePixels, 0, d->line_count() - 1));
  const LONG start = d->line_index(line);
  const LONG next = line + 1 < d->line_count() ? d->line_index(line + 1) - 1 : d->length();
  const std::int64_t col = (std::int64_t{client.x} + d->scroll.x) / kCharPixels;
  return start + static_cast<LONG>(std::clamp<std::int64_t>(col, 0, next - start));
}

// ---- Find, undo ------------------------------------------------------------------------------

std::optional<CHARRANGE> RE_FindText(HWND re, DWORD flags, CHARRANGE range, std::u16string_view what) {
  const RichText* d = platform_rich(re);
  return d ? d->find(flags, range, what) : std::nullopt;
}

bool RE_CanUndo(HWND re) {
  const RichText* d = platform_rich(re);
  return d && d->can_undo();
}

bool RE_CanRedo(HWND re) {
  const RichText* d = platform_rich(re);
  return d && d->can_redo();
}

bool RE_Undo(HWND re) {
  RichText* d = platform_rich(re);
  if (!d) return false;
  const CHARRANGE old = d->selection();
  const std::optional<TextChange> c = d->undo();
  if (!c) return false;
  text_changed(re, *c, old);
  return true;
}

bool RE_Redo(HWND re) {
  RichText* d = platform_rich(re);
  if (!d) return false;
  const CHARRANGE old = d->selection();
  const std::optional<TextChange> c = d->redo();
  if (!c) return false;
  text_changed(re, *c, old);
  return true;
}

void RE_EmptyUndoBuffer(HWND re) {
  if (RichText* d = platform_rich(re)) d->clear_undo();
}

// ---- Options ---------------------------------------------------------------------------------

void RE_LimitText(HWND re, LONG max_chars) {
  if (RichText* d = platform_rich(re)) d->limit = max_chars > 0 ? max_chars : kDefaultLimitForZero;
}

LONG RE_GetLimitText(HWND re) {
  const RichText* d = platform_rich(re);
  return d ? d->limit : 0;
}

void RE_SetWordWrap(HWND re, bool wrap) {
  RichText* d = platform_rich(re);
  if (!d) return;
  d->word_wrap = wrap;
  options_changed(re);
}

bool RE_GetWordWrap(HWND re) {
  const RichText* d = platform_rich(re);
  return d && d->word_wrap;
}

void RE_SetReadOnly(HWND re, bool read_only) {
  RichText* d = platform_rich(re);
  if (!d) return;
  d->read_only = read_only;
  options_changed(re);
}

bool RE_GetModify(HWND re) {
  const RichText* d = platform_rich(re);
  return d && d->modified;
}

void RE_SetModify(HWND re, bool modified) {
  if (RichText* d = platform_rich(re)) d->modified = modified;
}

// ---- Streams ---------------------------------------------------------------------------------

bool RE_StreamIn(HWND re, DWORD format, std::string_view data, UINT codepage) {
  RichText* d = platform_rich(re);
  if (!d) return false;
  const bool selection = format & SFF_SELECTION;
  if (format & SF_RTF) {
    std::optional<RtfContent> content = rtf_read(data);
    if (!content) return false;
    const CHARRANGE old = d->selection();
    LONG from = 0, to = d->length();
    std::u16string_view text = content->text;
    if (selection) {
      from = old.cpMin;
      to = old.cpMax;
      text = cut_to_limit(*d, text, to - from);
      if (text.empty() && from == to) return true;
    }
    const TextChange c = d->replace_formatted(from, to, text, content->runs, selection);
    if (!selection) d->clear_undo();
    if (selection) text_changed(re, c, old);
    else all_text_replaced(re, c, old);
    return true;
  }
  if (!(format & SF_TEXT)) return false;
  std::optional<std::u16string> text;
  if (format & SF_UNICODE) text = utf16_from_bytes(data);
  else if (format & SF_USECODEPAGE) text = decode(data, codepage);
  else text = cp1251_to_utf16(data);
  if (!text) return false;
  const std::u16string s = normalize_line_ends(*text);
  if (selection) replace_selection(re, s, true);
  else set_all_text(re, s, false);
  return true;
}

std::string RE_StreamOut(HWND re, DWORD format, UINT codepage) {
  const RichText* d = platform_rich(re);
  if (!d) return {};
  LONG from = 0, to = d->length();
  if (format & SFF_SELECTION) {
    from = d->selection().cpMin;
    to = d->selection().cpMax;
  }
  if (format & SF_RTF) return rtf_write(*d, from, to);
  if (!(format & SF_TEXT)) return {};
  const std::u16string s = d->text_crlf(from, to);
  if (format & SF_UNICODE) return bytes_from_utf16(s);
  if (format & SF_USECODEPAGE) return encode(s, codepage, '?', nullptr);
  return utf16_to_cp1251(s, '?', nullptr);
}

// ---- The user's actions ------------------------------------------------------------------------

void platform_user_text_edited(HWND re, LONG pos, LONG removed, std::u16string_view inserted) {
  RichText* d = platform_rich(re);
  if (!d || d->read_only) return;
  const LONG n = d->length();
  const LONG from = std::clamp<LONG>(pos, 0, n);
  const LONG to = static_cast<LONG>(std::clamp<std::int64_t>(std::int64_t{from} + std::max<LONG>(removed, 0), from, n));
  const std::u16string normalized = normalize_line_ends(inserted);
  const std::u16string_view s = cut_to_limit(*d, normalized, to - from);
  if (s.empty() && from == to) return;
  const CHARRANGE old = d->selection();
  const TextChange c = d->replace(from, to, s, true, true);
  text_changed(re, c, old);
}

void platform_user_selected(HWND re, CHARRANGE sel) {
  RichText* d = platform_rich(re);
  if (d && d->set_selection(sel)) selection_changed(re);
}

bool platform_user_mouse(HWND re, UINT mouse_msg, POINT client, UINT keys) {
  const RichText* d = platform_rich(re);
  if (!d || !(d->event_mask & ENM_MOUSEEVENTS)) return false;
  Msg m;
  m.message = WM_NOTIFY;
  m.code = EN_MSGFILTER;
  m.filter_msg = mouse_msg;
  m.pt = client;
  m.keys = keys;
  return notify(re, m) != 0;
}
