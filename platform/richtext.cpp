// The document of a rich-edit panel: text, per-character formats, selection, undo history, find and
// paragraph lines.
//
// Formats are kept as one small index per character into a table of the distinct formats in use
// (8 bits wide while the table holds at most 256 and no more than 64 of them are in use when it
// is compacted, 16 bits while fewer than 32,768 are, 32 bits after), so that a long report's
// formats take half as much memory as its text. Colouring a range touches only that range, reading a format is one look-up, and inserting or deleting text
// moves the indices with one block move, like the text itself. The table is compacted (unused
// formats dropped, indices renumbered) when it grows past twice what is in use.
#include "platform/richtext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <unordered_map>
#include <utility>

#include "platform/text.h"

namespace {

constexpr DWORD kEffectBits =
    CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED | CFE_LINK;
constexpr DWORD kAllMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED |
                           CFM_LINK | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_BACKCOLOR;
// The most undo steps kept; older ones are forgotten (as the panel's default undo limit).
constexpr size_t kUndoLimit = 100;

struct FormatHash {
  size_t operator()(const CharFormat& f) const {
    size_t h = std::hash<std::u16string>{}(f.face);
    auto mix = [&h](size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(f.auto_color);
    mix(f.color);
    mix(f.auto_back);
    mix(f.back);
    mix(f.effects);
    mix(static_cast<size_t>(f.height));
    return h;
  }
};

// The formats of a stretch of text kept outside the document: (length, format index) pairs.
struct IndexRun {
  LONG len = 0;
  uint32_t idx = 0;
};

// One index per character, 8 bits wide, then 16, then 32 as more distinct formats are in use.
class IndexStore {
 public:
  size_t size() const {
    size_t n = 0;
    visit([&n](const auto& v) { n = v.size(); });
    return n;
  }
  int width() const { return width_; }  // 0, 1, 2: 8, 16, 32 bits
  // The most formats the present width names.
  size_t most() const { return width_ == 0 ? 256 : width_ == 1 ? 65536 : std::numeric_limits<uint32_t>::max(); }
  uint32_t get(size_t i) const { return width_ == 0 ? v8_[i] : width_ == 1 ? v16_[i] : v32_[i]; }

  // To the next width, indices unchanged.
  void widen() {
    if (width_ == 0) {
      v16_.assign(v8_.begin(), v8_.end());
      std::vector<uint8_t>().swap(v8_);
    } else if (width_ == 1) {
      v32_.assign(v16_.begin(), v16_.end());
      std::vector<uint16_t>().swap(v16_);
    } else {
      return;
    }
    ++width_;
  }

  template <class F>
  void visit(F&& f) {
    if (width_ == 0) f(v8_);
    else if (width_ == 1) f(v16_);
    else f(v32_);
  }
  template <class F>
  void visit(F&& f) const {
    if (width_ == 0) f(v8_);
    else if (width_ == 1) f(v16_);
    else f(v32_);
  }

  // Replaces [from, to) by the runs (one block move at most).
  void replace(size_t from, size_t to, const std::vector<IndexRun>& runs) {
    size_t ins = 0;
    for (const IndexRun& r : runs) ins += static_cast<size_t>(r.len);
    visit([&](auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      const size_t removed = to - from;
      if (ins > removed) v.insert(v.begin() + static_cast<std::ptrdiff_t>(to), ins - removed, T{});
      else if (ins < removed)
        v.erase(v.begin() + static_cast<std::ptrdiff_t>(from + ins),
                v.begin() + static_cast<std::ptrdiff_t>(to));
      size_t at = from;
      for (const IndexRun& r : runs) {
        std::fill_n(v.begin() + static_cast<std::ptrdiff_t>(at), r.len, static_cast<T>(r.idx));
        at += static_cast<size_t>(r.len);
      }
    });
  }

  // Adds n characters of format idx at the end.
  void append(size_t n, uint32_t idx) {
    visit([&](auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      v.insert(v.end(), n, static_cast<T>(idx));
    });
  }

  std::vector<IndexRun> runs(size_t from, size_t to) const {
    std::vector<IndexRun> out;
    visit([&](const auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      size_t i = from;
      while (i < to) {
        const auto idx = v[i];
        size_t j = i + 1;
        // Long runs of one format are passed eight bytes at a time.
        constexpr size_t kPer = sizeof(std::uint64_t) / sizeof(T);
        std::uint64_t pattern = 0;
        for (size_t k = 0; k < kPer; ++k) pattern = (pattern << (8 * sizeof(T))) | idx;
        for (std::uint64_t w = 0; j + kPer <= to; j += kPer) {
          std::memcpy(&w, v.data() + j, sizeof w);
          if (w != pattern) break;
        }
        while (j < to && v[j] == idx) ++j;
        out.push_back({static_cast<LONG>(j - i), static_cast<uint32_t>(idx)});
        i = j;
      }
    });
    return out;
  }

 private:
  int width_ = 0;
  std::vector<uint8_t> v8_;
  std::vector<uint16_t> v16_;
  std::vector<uint32_t> v32_;
};

// A small old-index -> new-index map: a few entries are searched in a line, many go to a hash map.
class IndexMap {
 public:
  bool find(uint32_t key, uint32_t& out) const {
    if (!big_.empty()) {
      auto it = big_.find(key);
      if (it == big_.end()) return false;
      out = it->second;
      return true;
    }
    for (const auto& [k, v] : small_)
      if (k == key) {
        out = v;
        return true;
      }
    return false;
  }
  void add(uint32_t key, uint32_t value) {
    if (big_.empty() && small_.size() < 16) {
      small_.emplace_back(key, value);
      return;
    }
    if (big_.empty())
      for (const auto& [k, v] : small_) big_.emplace(k, v);
    big_.emplace(key, value);
  }
  std::vector<uint32_t> keys() const {
    std::vector<uint32_t> out;
    if (!big_.empty())
      for (const auto& kv : big_) out.push_back(kv.first);
    else
      for (const auto& kv : small_) out.push_back(kv.first);
    return out;
  }

 private:
  std::vector<std::pair<uint32_t, uint32_t>> small_;
  std::unordered_map<uint32_t, uint32_t> big_;
};

// One undoable change. The document currently holds `current_len` units at `pos`; `stored` (with
// its formats) is what was there on the other side of the change. Undoing and redoing are the same
// exchange of the two.
struct UndoStep {
  LONG pos = 0;
  LONG current_len = 0;
  std::u16string stored;
  std::vector<IndexRun> stored_formats;
};

// Case folding of every UTF-16 unit through the text layer, built once.
const std::array<char16_t, 65536>& fold_table() {
  static const std::array<char16_t, 65536> table = [] {
    std::array<char16_t, 65536> t{};
    for (size_t c = 0; c < t.size(); ++c) t[c] = u16_tolower(static_cast<char16_t>(c));
    return t;
  }();
  return table;
}

// The units that fold to each unit, built once: those of fold value f are
// units[starts[f]] .. units[starts[f + 1] - 1].
struct FoldPreimages {
  std::vector<char16_t> units;
  std::vector<uint32_t> starts;
};

const FoldPreimages& fold_preimages() {
  static const FoldPreimages table = [] {
    const auto& fold = fold_table();
    FoldPreimages p;
    p.starts.assign(65537, 0);
    for (char16_t f : fold) ++p.starts[static_cast<size_t>(f) + 1];
    for (size_t f = 1; f < p.starts.size(); ++f) p.starts[f] += p.starts[f - 1];
    p.units.resize(65536);
    std::vector<uint32_t> next(p.starts.begin(), p.starts.end() - 1);
    for (size_t c = 0; c < fold.size(); ++c) p.units[next[fold[c]]++] = static_cast<char16_t>(c);
    return p;
  }();
  return table;
}

// The first position in [from, to) whose unit is one of `want` (at most four units), or `to`. The
// text is read eight units at a time, a block with none of them passed over at once.
LONG next_of(const char16_t* t, LONG from, LONG to, const std::array<char16_t, 4>& want) {
  using Units = std::uint16_t __attribute__((vector_size(16)));
  constexpr LONG kBlock = 8;
  const Units w0 = Units{} + want[0], w1 = Units{} + want[1], w2 = Units{} + want[2], w3 = Units{} + want[3];
  LONG s = from;
  for (; s + kBlock <= to; s += kBlock) {
    Units u;
    std::memcpy(&u, t + s, sizeof u);
    const Units hit = (u == w0) | (u == w1) | (u == w2) | (u == w3);
    std::uint64_t halves[2];
    std::memcpy(halves, &hit, sizeof halves);
    if ((halves[0] | halves[1]) != 0) break;
  }
  for (; s < to; ++s) {
    const char16_t c = t[s];
    if (c == want[0] || c == want[1] || c == want[2] || c == want[3]) return s;
  }
  return to;
}

// The end of the run of equal format indices that starts at i, at most `to`: a short run is read
// index by index, a long one sixteen bytes at a time.
template <class T>
LONG run_end(const T* p, LONG i, LONG to) {
  const T x = p[i++];
  for (int k = 0; k < 8 && i < to; ++k, ++i)
    if (p[i] != x) return i;
  typedef T Block __attribute__((vector_size(16)));
  constexpr LONG kBlock = static_cast<LONG>(16 / sizeof(T));
  const Block xs = Block{} + x;
  for (; i + kBlock <= to; i += kBlock) {
    Block b;
    std::memcpy(&b, p + i, sizeof b);
    const auto differs = b != xs;
    std::uint64_t halves[2];
    std::memcpy(halves, &differs, sizeof halves);
    if ((halves[0] | halves[1]) != 0) break;
  }
  while (i < to && p[i] == x) ++i;
  return i;
}

bool is_word_unit(char16_t c) { return c == u'_' || u16_isalnum(c); }
bool is_high_unit(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_unit(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

LONG clamp_pos(LONG p, LONG len) { return std::clamp<LONG>(p, 0, len); }

CharFormat apply_charformat(CharFormat f, const CHARFORMAT2W& cf) {
  for (DWORD bit = CFE_BOLD; bit <= CFE_LINK; bit <<= 1) {
    if (!(cf.dwMask & bit)) continue;
    if (cf.dwEffects & bit) f.effects |= bit;
    else f.effects &= ~bit;
  }
  if (cf.dwMask & CFM_COLOR) {
    f.auto_color = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
    f.color = f.auto_color ? 0 : (cf.crTextColor & 0x00FFFFFF);
  }
  if (cf.dwMask & CFM_BACKCOLOR) {
    f.auto_back = (cf.dwEffects & CFE_AUTOBACKCOLOR) != 0;
    f.back = f.auto_back ? 0 : (cf.crBackColor & 0x00FFFFFF);
  }
  if (cf.dwMask & CFM_SIZE) f.height = std::max<LONG>(0, cf.yHeight);
  if (cf.dwMask & CFM_FACE) f.face = cf.szFaceName;
  return f;
}

// The attributes of the mask in which a and b agree.
DWORD same_attributes(const CharFormat& a, const CharFormat& b) {
  DWORD m = 0;
  for (DWORD bit = CFE_BOLD; bit <= CFE_LINK; bit <<= 1)
    if ((a.effects & bit) == (b.effects & bit)) m |= bit;
  if (a.auto_color == b.auto_color && a.color == b.color) m |= CFM_COLOR;
  if (a.auto_back == b.auto_back && a.back == b.back) m |= CFM_BACKCOLOR;
  if (a.height == b.height) m |= CFM_SIZE;
  if (a.face == b.face) m |= CFM_FACE;
  return m;
}

CHARFORMAT2W to_charformat(const CharFormat& f, DWORD mask) {
  CHARFORMAT2W cf;
  cf.dwMask = mask;
  cf.dwEffects = (f.effects & kEffectBits) | (f.auto_color ? DWORD{CFE_AUTOCOLOR} : DWORD{0}) |
                 (f.auto_back ? DWORD{CFE_AUTOBACKCOLOR} : DWORD{0});
  cf.yHeight = f.height;
  cf.crTextColor = f.color;
  cf.crBackColor = f.back;
  cf.szFaceName = f.face;
  return cf;
}

}  // namespace

std::u16string normalize_line_ends(std::u16string_view s) {
  std::u16string out(s.size(), u'\0');
  size_t o = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c == u'\r') {
      out[o++] = u'\r';
      if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
    } else {
      out[o++] = c == u'\n' ? u'\r' : c;
    }
  }
  out.resize(o);
  return out;
}

std::size_t find_unit(std::u16string_view s, char16_t unit, std::size_t from) {
  if constexpr (std::endian::native != std::endian::little) return s.find(unit, from);
  // The unit's low byte is its first; a match at an odd offset, or one whose other byte differs,
  // is part of another unit.
  const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
  const size_t end = s.size() * sizeof(char16_t);
  for (size_t at = from * sizeof(char16_t); at < end;) {
    const void* hit = std::memchr(bytes + at, unit & 0xFF, end - at);
    if (!hit) break;
    const auto b = static_cast<size_t>(static_cast<const unsigned char*>(hit) - bytes);
    if (b % 2 == 0 && s[b / 2] == unit) return b / 2;
    at = b + 1;
  }
  return std::u16string_view::npos;
}

struct RichText::Impl {
  std::u16string text;
  IndexStore store;                 // format index of each character
  std::vector<CharFormat> formats;  // the distinct formats the indices name
  std::unordered_map<CharFormat, uint32_t, FormatHash> lookup;  // format -> its index
  size_t compact_at = 256;          // table size that triggers the next compaction
  CharFormat default_format;        // format of text put into an empty document
  CHARRANGE sel{0, 0};              // always cpMin <= cpMax
  std::optional<CharFormat> pending;  // format set at the caret for the next insertion there
  LONG pending_pos = 0;
  std::vector<LONG> line_starts{0};  // first position of each paragraph line
  std::deque<UndoStep> undo, redo;
  bool typing_open = false;  // the top undo step is a typing run that may still grow
  std::vector<LONG> cuts;    // where the format changes of text being appended begin and end

  // The last format changes without a face: (old index, change) -> new index. The panel is
  // coloured with a few changes over and over, so most changes are found here without building
  // and hashing the changed format. Emptied whenever indices are renumbered.
  struct Change {
    uint32_t old_idx = std::numeric_limits<uint32_t>::max();
    DWORD mask = 0, effects = 0;
    COLORREF color = 0, back = 0;
    LONG height = 0;
    uint32_t new_idx = 0;
  };
  std::array<Change, 64> changes{};

  static size_t change_slot(uint32_t old_idx, const CHARFORMAT2W& cf) {
    const uint64_t h = (uint64_t{old_idx} << 32 | cf.crTextColor) * 0x9E3779B97F4A7C15ull ^
                       (uint64_t{cf.dwMask} << 32 | cf.dwEffects) * 0xBF58476D1CE4E5B9ull;
    return static_cast<size_t>(h >> 58);
  }
  static bool same_change(const Change& c, uint32_t old_idx, const CHARFORMAT2W& cf) {
    return c.old_idx == old_idx && c.mask == cf.dwMask && c.effects == cf.dwEffects &&
           c.color == cf.crTextColor && c.back == cf.crBackColor && c.height == cf.yHeight;
  }
  // The index of formats[old_idx] changed by cf (interned). A change found among the last ones
  // costs a few instructions here; the rest are made out of line.
  uint32_t changed(uint32_t old_idx, const CHARFORMAT2W& cf) {
    if (!(cf.dwMask & CFM_FACE)) {
      const Change& c = changes[change_slot(old_idx, cf)];
      if (same_change(c, old_idx, cf)) return c.new_idx;
    }
    return changed_anew(old_idx, cf);
  }
  [[gnu::noinline]] uint32_t changed_anew(uint32_t old_idx, const CHARFORMAT2W& cf) {
    const uint32_t idx = intern(apply_charformat(formats[old_idx], cf));
    if (!(cf.dwMask & CFM_FACE))
      changes[change_slot(old_idx, cf)] =
          Change{old_idx, cf.dwMask, cf.dwEffects, cf.crTextColor, cf.crBackColor, cf.yHeight, idx};
    return idx;
  }

  LONG len() const { return static_cast<LONG>(text.size()); }

  uint32_t intern(const CharFormat& f) {
    auto it = lookup.find(f);
    if (it != lookup.end()) return it->second;
    const auto idx = static_cast<uint32_t>(formats.size());
    formats.push_back(f);
    lookup.emplace(f, idx);
    return idx;
  }

  // Drops formats no character or undo step uses and renumbers the rest.
  void compact() {
    std::vector<char> used(formats.size(), 0);
    store.visit([&](const auto& v) {
      for (auto idx : v) used[idx] = 1;
    });
    auto mark_steps = [&](const std::deque<UndoStep>& steps) {
      for (const UndoStep& s : steps)
        for (const IndexRun& r : s.stored_formats) used[r.idx] = 1;
    };
    mark_steps(undo);
    mark_steps(redo);
    std::vector<uint32_t> remap(formats.size(), 0);
    std::vector<CharFormat> kept;
    for (size_t i = 0; i < formats.size(); ++i) {
      if (!used[i]) continue;
      remap[i] = static_cast<uint32_t>(kept.size());
      kept.push_back(std::move(formats[i]));
    }
    store.visit([&](auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      for (auto& idx : v) idx = static_cast<T>(remap[idx]);
    });
    auto remap_steps = [&](std::deque<UndoStep>& steps) {
      for (UndoStep& s : steps)
        for (IndexRun& r : s.stored_formats) r.idx = remap[r.idx];
    };
    remap_steps(undo);
    remap_steps(redo);
    formats = std::move(kept);
    changes.fill(Change{});
    lookup.clear();
    for (size_t i = 0; i < formats.size(); ++i) lookup.emplace(formats[i], static_cast<uint32_t>(i));
  }

  // Makes room for `n` new formats; returns true when indices were renumbered.
  bool ensure_room(size_t n) { return formats.size() + n > compact_at && make_room(n); }
  [[gnu::noinline]] bool make_room(size_t n) {
    compact();
    const size_t used = formats.size();
    // A width with room for as many formats again as are in use (in the 8-bit width, for three
    // times as many), so that the next compaction is far off.
    while (store.width() < 2 && (store.width() == 0 ? 4 * used : 2 * used) + n > store.most()) store.widen();
    compact_at = std::min<size_t>(std::max<size_t>(2 * used + n, 4096), store.most());
    return true;
  }

  // The format index new text at [from, to) takes: the caret's pending format, the first
  // replaced character's, the character's before the insertion point, the first character's,
  // or the default format in an empty document. Call after ensure_room(1).
  uint32_t insertion_index(LONG from, LONG to) {
    if (pending && pending_pos == from && to == from) return intern(*pending);
    if (to > from) return store.get(static_cast<size_t>(from));
    if (from > 0) return store.get(static_cast<size_t>(from - 1));
    if (!text.empty()) return store.get(0);
    return intern(default_format);
  }

  CharFormat insertion_format(LONG pos) const {
    if (pending && pending_pos == pos) return *pending;
    if (pos > 0) return formats[store.get(static_cast<size_t>(pos - 1))];
    if (!text.empty()) return formats[store.get(0)];
    return default_format;
  }

  void update_lines(LONG from, LONG to, std::u16string_view s) {
    const LONG delta = static_cast<LONG>(s.size()) - (to - from);
    if (line_starts.back() <= from) {  // no line starts after the change (text written at the end)
      for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == u'\r') line_starts.push_back(from + static_cast<LONG>(i) + 1);
      return;
    }
    auto first = std::upper_bound(line_starts.begin(), line_starts.end(), from);
    auto last = std::upper_bound(first, line_starts.end(), to);
    for (auto it = last; it != line_starts.end(); ++it) *it += delta;
    std::vector<LONG> added;
    for (size_t i = 0; i < s.size(); ++i)
      if (s[i] == u'\r') added.push_back(from + static_cast<LONG>(i) + 1);
    const auto at = first - line_starts.begin();
    if (static_cast<size_t>(last - first) == added.size()) {
      std::copy(added.begin(), added.end(), first);
    } else {
      line_starts.erase(first, last);
      line_starts.insert(line_starts.begin() + at, added.begin(), added.end());
    }
  }

  // The one primitive every text change goes through (positions already clamped and ordered).
  void apply(LONG from, LONG to, std::u16string_view s, const std::vector<IndexRun>& runs) {
    text.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), s);
    store.replace(static_cast<size_t>(from), static_cast<size_t>(to), runs);
    update_lines(from, to, s);
    pending.reset();
    const LONG caret = from + static_cast<LONG>(s.size());
    sel = {caret, caret};
  }

  // apply() for text written at the very end in one format: nothing after it to move.
  void append(std::u16string_view s, uint32_t idx) {
    const LONG from = len();
    text.append(s);
    store.append(s.size(), idx);
    for (size_t i = find_unit(s, u'\r'); i != std::u16string_view::npos; i = find_unit(s, u'\r', i + 1))
      line_starts.push_back(from + static_cast<LONG>(i) + 1);
    pending.reset();
    const LONG caret = len();
    sel = {caret, caret};
  }

  // Records the change of [from, to) to `inserted` units as an undo step. `typing` (one typed
  // character) lets it join the typing run on top of the history.
  void record(LONG from, LONG to, LONG inserted, bool typing) {
    redo.clear();
    if (typing && typing_open && !undo.empty() && from == to &&
        from == undo.back().pos + undo.back().current_len) {
      undo.back().current_len += inserted;
      return;
    }
    UndoStep& step = undo.emplace_back();
    step.pos = from;
    step.current_len = inserted;
    if (to > from) {  // what the change replaced: nothing where text was put at a caret
      step.stored.assign(text, static_cast<size_t>(from), static_cast<size_t>(to - from));
      step.stored_formats = store.runs(static_cast<size_t>(from), static_cast<size_t>(to));
    }
    if (undo.size() > kUndoLimit) undo.pop_front();
    typing_open = typing;
  }

  // Records a change of [from, to) as an undo step, or forgets the history when it cannot be undone.
  void keep_history(LONG from, LONG to, LONG inserted, bool undoable, bool typing = false) {
    if (undoable) {
      record(from, to, inserted, typing);
      return;
    }
    undo.clear();
    redo.clear();
    typing_open = false;
  }

  // Exchanges a step's stored text with what the document holds in its place.
  TextChange exchange(UndoStep& step) {
    const LONG from = clamp_pos(step.pos, len());
    const LONG to = clamp_pos(step.pos + step.current_len, len());
    std::u16string now = text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    std::vector<IndexRun> now_formats = store.runs(static_cast<size_t>(from), static_cast<size_t>(to));
    const TextChange change{from, to - from, static_cast<LONG>(step.stored.size())};
    apply(from, to, step.stored, step.stored_formats);
    step.pos = from;
    step.current_len = static_cast<LONG>(step.stored.size());
    step.stored = std::move(now);
    step.stored_formats = std::move(now_formats);
    typing_open = false;
    return change;
  }
};

RichText::RichText() : impl_(new Impl) {}
RichText::~RichText() { delete impl_; }

const std::u16string& RichText::text() const { return impl_->text; }
LONG RichText::length() const { return impl_->len(); }

void RichText::reserve(LONG more) {
  // Never more than the panel's text limit lets in.
  more = std::min<LONG>(more, limit - length());
  if (more <= 0) return;
  const size_t want = impl_->text.size() + static_cast<size_t>(more);
  impl_->text.reserve(want);
  impl_->store.visit([want](auto& v) { v.reserve(want); });
}

std::u16string RichText::text_range(LONG from, LONG to) const {
  const LONG n = impl_->len();
  from = clamp_pos(from, n);
  to = to < 0 ? n : clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  return impl_->text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

std::u16string RichText::text_crlf(LONG from, LONG to) const {
  const std::u16string part = text_range(from, to);
  std::u16string out;
  out.reserve(part.size() + part.size() / 16);
  for (char16_t c : part) {
    out.push_back(c);
    if (c == u'\r') out.push_back(u'\n');
  }
  return out;
}

TextChange RichText::replace(LONG from, LONG to, std::u16string_view s, bool undoable, bool typing) {
  Impl& d = *impl_;
  const LONG n = d.len();
  from = clamp_pos(from, n);
  to = clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  if (from == to && s.empty()) return {from, 0, 0};
  d.ensure_room(1);
  const uint32_t idx = d.insertion_index(from, to);
  const bool one_char = s.size() == 1 || (s.size() == 2 && s[0] >= 0xD800 && s[0] <= 0xDBFF &&
                                          s[1] >= 0xDC00 && s[1] <= 0xDFFF);
  d.keep_history(from, to, static_cast<LONG>(s.size()), undoable, typing && one_char);
  if (from == n && to == n) {
    d.append(s, idx);
  } else {
    std::vector<IndexRun> runs;
    if (!s.empty()) runs.push_back({static_cast<LONG>(s.size()), idx});
    d.apply(from, to, s, runs);
  }
  modified = true;
  return {from, to - from, static_cast<LONG>(s.size())};
}

TextChange RichText::replace_formatted(LONG from, LONG to, std::u16string_view s,
                                       const std::vector<FormatRun>& runs, bool undoable) {
  Impl& d = *impl_;
  const LONG n = d.len();
  from = clamp_pos(from, n);
  to = clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  if (from == to && s.empty()) return {from, 0, 0};
  d.ensure_room(runs.size() + 1);
  const uint32_t inherited = d.insertion_index(from, to);
  const LONG total = static_cast<LONG>(s.size());
  std::vector<IndexRun> idx_runs;
  auto push = [&idx_runs](LONG length, uint32_t idx) {
    if (length <= 0) return;
    if (!idx_runs.empty() && idx_runs.back().idx == idx) idx_runs.back().len += length;
    else idx_runs.push_back({length, idx});
  };
  LONG at = 0;
  for (const FormatRun& r : runs) {
    const LONG a = std::clamp<LONG>(r.from, at, total);
    const LONG b = std::clamp<LONG>(r.to, a, total);
    push(a - at, inherited);
    push(b - a, d.intern(r.format));
    at = b;
  }
  push(total - at, inherited);
  d.keep_history(from, to, total, undoable);
  d.apply(from, to, s, idx_runs);
  modified = true;
  return {from, to - from, total};
}

TextChange RichText::append_formatted(std::u16string_view s, std::span<const FormatChange> changes,
                                      bool undoable) {
  Impl& d = *impl_;
  const LONG n = d.len();
  if (s.empty()) return {n, 0, 0};
  const LONG total = static_cast<LONG>(s.size());
  d.ensure_room(1);
  const uint32_t base = d.insertion_index(n, n);
  d.keep_history(n, n, total, undoable);
  d.append(s, base);
  // The new text is cut where the changes begin and end; between two cuts every character has one
  // format, so a change sets each stretch of its range at once. The k-th change meets at most
  // 2k + 1 stretches, each of which may become a new format: room for them is made first, so that
  // no renumbering happens while it is written (one may happen before; the cuts stay valid).
  if (d.cuts.size() < 2 * changes.size() + 2) d.cuts.resize(2 * changes.size() + 2);
  LONG* const cuts = d.cuts.data();
  std::size_t cut_count = 2;
  cuts[0] = 0;
  cuts[1] = total;
  // The cut at x, made when there is none. A line has a few cuts, the later ones mostly near
  // its end: they are looked for from the last one back.
  auto cut_at = [cuts, &cut_count](LONG x) {
    std::size_t i = cut_count - 1;  // cuts[cut_count - 1] is total, never below x
    while (i > 0 && cuts[i - 1] >= x) --i;
    if (cuts[i] != x) {  // the cuts from i on move up one, the few of them passed along in turn
      for (std::size_t j = i; j <= cut_count; ++j) std::swap(x, cuts[j]);
      ++cut_count;
    }
    return i;
  };
  std::size_t k = 0;
  for (const FormatChange& ch : changes) {
    const LONG a = std::clamp<LONG>(ch.from, 0, total), b = std::clamp<LONG>(ch.to, a, total);
    if (a == b) continue;
    d.ensure_room(std::min<std::size_t>(static_cast<std::size_t>(b - a), 2 * k++ + 1));
    const std::size_t first = cut_at(a), last = cut_at(b);
    d.store.visit([&](auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      T* p = v.data() + n;
      for (std::size_t r = first; r < last; ++r)
        std::fill(p + cuts[r], p + cuts[r + 1], static_cast<T>(d.changed(p[cuts[r]], ch.format)));
    });
  }
  modified = true;
  return {n, 0, total};
}

CHARRANGE RichText::selection() const { return impl_->sel; }

bool RichText::set_selection(CHARRANGE r) {
  Impl& d = *impl_;
  const LONG n = d.len();
  CHARRANGE s;
  if (r.cpMin < 0) {
    s = {n, n};
  } else if (r.cpMin == 0 && r.cpMax == -1) {
    s = {0, n};
  } else {
    s.cpMin = clamp_pos(r.cpMin, n);
    s.cpMax = r.cpMax < 0 ? n : clamp_pos(r.cpMax, n);
    if (s.cpMin > s.cpMax) std::swap(s.cpMin, s.cpMax);
    // An end between the two halves of a surrogate pair would let the next edit split the
    // character: a caret moves before the pair, a selection widens to take the whole of it.
    const auto inside_pair = [&d, n](LONG p) {
      return p > 0 && p < n && is_high_unit(d.text[static_cast<size_t>(p - 1)]) &&
             is_low_unit(d.text[static_cast<size_t>(p)]);
    };
    const bool caret = s.cpMin == s.cpMax;
    if (inside_pair(s.cpMin)) --s.cpMin;
    if (caret) s.cpMax = s.cpMin;
    else if (inside_pair(s.cpMax)) ++s.cpMax;
  }
  if (s == d.sel) return false;
  d.sel = s;
  d.pending.reset();
  d.typing_open = false;
  return true;
}

CHARRANGE RichText::set_format(LONG from, LONG to, const CHARFORMAT2W& cf) {
  Impl& d = *impl_;
  const LONG n = d.len();
  from = clamp_pos(from, n);
  to = to < 0 ? n : clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  if (from == to) {
    d.pending = apply_charformat(d.insertion_format(from), cf);
    d.pending_pos = from;
    return CHARRANGE{from, from};
  }
  // Most ranges hold one format (a word, a line just written): one pass finds that out and a
  // second sets the new index.
  d.ensure_room(1);
  const uint32_t first_idx = d.store.get(static_cast<size_t>(from));
  bool uniform = true;
  d.store.visit([&](const auto& v) { uniform = run_end(v.data(), from, to) == to; });
  if (uniform) {
    const uint32_t new_idx = d.changed(first_idx, cf);
    if (new_idx == first_idx) return CHARRANGE{from, from};
    d.store.visit([&](auto& v) {
      using T = typename std::decay_t<decltype(v)>::value_type;
      std::fill(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to),
                static_cast<T>(new_idx));
    });
    return CHARRANGE{from, to};
  }
  // The distinct formats in the range, each mapped once to its changed form.
  auto collect = [&] {
    IndexMap distinct;
    d.store.visit([&](const auto& v) {
      uint32_t dummy = 0;
      for (LONG i = from; i < to; i = run_end(v.data(), i, to)) {
        const uint32_t idx = v[static_cast<size_t>(i)];
        if (!distinct.find(idx, dummy)) distinct.add(idx, 0);
      }
    });
    return distinct.keys();
  };
  std::vector<uint32_t> olds = collect();
  if (d.ensure_room(olds.size())) olds = collect();
  IndexMap to_new;
  for (uint32_t old : olds) to_new.add(old, d.changed(old, cf));
  LONG first = to, last = from;  // the characters whose format changed
  d.store.visit([&](auto& v) {
    using T = typename std::decay_t<decltype(v)>::value_type;
    T* const p = v.data();
    for (LONG i = from, e = from; i < to; i = e) {
      e = run_end(p, i, to);
      uint32_t new_idx = 0;
      to_new.find(p[i], new_idx);
      if (p[i] == static_cast<T>(new_idx)) continue;
      std::fill(p + i, p + e, static_cast<T>(new_idx));
      first = std::min(first, i);
      last = e;
    }
  });
  return first < last ? CHARRANGE{first, last} : CHARRANGE{from, from};
}

void RichText::set_default_format(const CHARFORMAT2W& cf) {
  impl_->default_format = apply_charformat(impl_->default_format, cf);
}

CharFormat RichText::default_format() const { return impl_->default_format; }

CHARFORMAT2W RichText::format_of_range(LONG from, LONG to) const {
  const Impl& d = *impl_;
  const LONG n = d.len();
  from = clamp_pos(from, n);
  to = to < 0 ? n : clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  if (from == to) return to_charformat(d.insertion_format(from), kAllMask);
  const uint32_t first = d.store.get(static_cast<size_t>(from));
  const CharFormat& f0 = d.formats[first];
  DWORD mask = kAllMask;
  d.store.visit([&](const auto& v) {
    uint32_t last = first;
    for (LONG i = from + 1; i < to && mask != 0; ++i) {
      const uint32_t idx = v[static_cast<size_t>(i)];
      if (idx == last) continue;
      last = idx;
      mask &= same_attributes(f0, d.formats[idx]);
    }
  });
  return to_charformat(f0, mask);
}

CharFormat RichText::format_at(LONG pos) const {
  const Impl& d = *impl_;
  if (d.text.empty()) return d.default_format;
  pos = std::clamp<LONG>(pos, 0, d.len() - 1);
  return d.formats[d.store.get(static_cast<size_t>(pos))];
}

std::vector<FormatRun> RichText::runs(LONG from, LONG to) const {
  std::vector<FormatRun> out;
  for (const FormatSpan& s : spans(from, to)) out.push_back({s.from, s.to, impl_->formats[s.index]});
  return out;
}

std::vector<FormatSpan> RichText::spans(LONG from, LONG to) const {
  const Impl& d = *impl_;
  const LONG n = d.len();
  from = clamp_pos(from, n);
  to = to < 0 ? n : clamp_pos(to, n);
  if (from > to) std::swap(from, to);
  std::vector<FormatSpan> out;
  LONG at = from;
  for (const IndexRun& r : d.store.runs(static_cast<size_t>(from), static_cast<size_t>(to))) {
    out.push_back({at, at + r.len, r.idx});
    at += r.len;
  }
  return out;
}

const CharFormat& RichText::format_by_index(std::uint32_t index) const { return impl_->formats.at(index); }

bool RichText::can_undo() const { return !impl_->undo.empty(); }
bool RichText::can_redo() const { return !impl_->redo.empty(); }

std::optional<TextChange> RichText::undo() {
  Impl& d = *impl_;
  if (d.undo.empty()) return std::nullopt;
  UndoStep step = std::move(d.undo.back());
  d.undo.pop_back();
  const TextChange change = d.exchange(step);
  // The text put back is selected, as the user sees what the undo restored.
  d.sel = {change.pos, change.pos + change.inserted};
  d.redo.push_back(std::move(step));
  modified = true;
  return change;
}

std::optional<TextChange> RichText::redo() {
  Impl& d = *impl_;
  if (d.redo.empty()) return std::nullopt;
  UndoStep step = std::move(d.redo.back());
  d.redo.pop_back();
  const TextChange change = d.exchange(step);
  d.undo.push_back(std::move(step));
  if (d.undo.size() > kUndoLimit) d.undo.pop_front();
  modified = true;
  return change;
}

void RichText::clear_undo() {
  impl_->undo.clear();
  impl_->redo.clear();
  impl_->typing_open = false;
}

std::optional<CHARRANGE> RichText::find(DWORD flags, CHARRANGE range, std::u16string_view what) const {
  const std::u16string& t = impl_->text;
  const LONG n = impl_->len();
  const LONG m = static_cast<LONG>(what.size());
  if (m == 0 || m > n) return std::nullopt;
  const bool match_case = flags & FR_MATCHCASE;
  const bool whole = flags & FR_WHOLEWORD;
  const auto& fold = fold_table();
  std::u16string folded(what);
  if (!match_case)
    for (char16_t& c : folded) c = fold[c];
  auto matches_at = [&](LONG s) {
    if (match_case) {
      if (std::memcmp(t.data() + s, what.data(), static_cast<size_t>(m) * sizeof(char16_t)) != 0)
        return false;
    } else {
      for (LONG k = 0; k < m; ++k)
        if (fold[t[static_cast<size_t>(s + k)]] != folded[static_cast<size_t>(k)]) return false;
    }
    if (whole) {
      if (s > 0 && is_word_unit(t[static_cast<size_t>(s - 1)])) return false;
      if (s + m < n && is_word_unit(t[static_cast<size_t>(s + m)])) return false;
    }
    return true;
  };
  const char16_t first = folded[0];
  auto first_ok = [&](LONG s) {
    const char16_t c = t[static_cast<size_t>(s)];
    return match_case ? c == first : fold[c] == first;
  };
  if (flags & FR_DOWN) {
    const LONG lo = clamp_pos(range.cpMin, n);
    const LONG hi = range.cpMax < 0 ? n : clamp_pos(range.cpMax, n);
    // The units that may start a match (the first unit and whatever folds to it), when they are few.
    std::array<char16_t, 4> starts{first, first, first, first};
    bool few = true;
    if (!match_case) {
      const FoldPreimages& p = fold_preimages();
      const uint32_t a = p.starts[first], z = p.starts[static_cast<size_t>(first) + 1];
      few = z - a <= starts.size();
      for (uint32_t k = a; few && k < z; ++k) starts[k - a] = p.units[k];
    }
    const LONG last_start = hi - m;
    for (LONG s = lo; s <= last_start; ++s) {
      if (few) {
        s = next_of(t.data(), s, last_start + 1, starts);
        if (s > last_start) break;
      } else if (!first_ok(s)) {
        continue;
      }
      if (matches_at(s)) return CHARRANGE{s, s + m};
    }
    return std::nullopt;
  }
  // Backwards: from cpMin (the end of the text when negative) down to cpMax; a cpMax of -1 or one
  // that does not lie below the start means the start of the text.
  const LONG start = range.cpMin < 0 ? n : clamp_pos(range.cpMin, n);
  const LONG lo = (range.cpMax < 0 || range.cpMax > start) ? 0 : range.cpMax;
  for (LONG s = start - m; s >= lo; --s)
    if (first_ok(s) && matches_at(s)) return CHARRANGE{s, s + m};
  return std::nullopt;
}

int RichText::line_count() const { return static_cast<int>(impl_->line_starts.size()); }

int RichText::line_from_char(LONG pos) const {
  const auto& ls = impl_->line_starts;
  pos = clamp_pos(pos, impl_->len());
  return static_cast<int>(std::upper_bound(ls.begin(), ls.end(), pos) - ls.begin()) - 1;
}

LONG RichText::line_index(int line) const {
  const auto& ls = impl_->line_starts;
  if (line < 0 || static_cast<size_t>(line) >= ls.size()) return -1;
  return ls[static_cast<size_t>(line)];
}
