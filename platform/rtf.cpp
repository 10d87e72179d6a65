// The RTF the panels exchange: a writer for the program's own subset (code page 1251 text with
// \uN for other characters, a colour table, bold, italic, underline, strike-out, highlight) and a
// forgiving reader that takes that subset back and the text and character formats of ordinary RTF
// files, skipping what it does not know. The reader never fails on damaged data: unbalanced or
// too deeply nested braces, truncated input, huge numbers and binary junk give a defined text.
#include "platform/richtext.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

// ---- Writer ----------------------------------------------------------------------------------

void append_word(std::string& out, const char* word, int value = -1) {
  out += '\\';
  out += word;
  if (value >= 0) out += std::to_string(value);
}

void append_color_entry(std::string& out, COLORREF c) {
  out += "\\red" + std::to_string(GetRValue(c)) + "\\green" + std::to_string(GetGValue(c)) +
         "\\blue" + std::to_string(GetBValue(c)) + ";";
}

void append_char(std::string& out, char16_t c) {
  static const char kHex[] = "0123456789abcdef";
  auto hex_byte = [&out](unsigned char b) {
    out += "\\'";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  };
  switch (c) {
    case u'\\': out += "\\\\"; return;
    case u'{': out += "\\{"; return;
    case u'}': out += "\\}"; return;
    case u'\r': out += "\\par\r\n"; return;
    case u'\t': out += "\\tab "; return;
    default: break;
  }
  if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
    return;
  }
  unsigned char b = 0;
  if (wchar_to_cp1251(c, b)) {
    hex_byte(b);
    return;
  }
  // \uN takes a signed 16-bit number; the '?' is what readers without Unicode show instead.
  out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
}

// ---- Reader ----------------------------------------------------------------------------------

// Windows-1252 bytes 0x80..0x9F (the rest of the code page is Latin-1).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t decode_byte(unsigned char b, int codepage) {
  if (codepage == 1252) {
    if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80];
    return static_cast<char16_t>(b);
  }
  return cp1251_to_wchar(b);
}

int codepage_of_charset(int charset, int fallback) {
  switch (charset) {
    case 204: return 1251;  // Cyrillic
    case 0: return 1252;    // ANSI (Western)
    default: return fallback;
  }
}

enum class Dest { Text, Skip, ColorTable, FontTable };

struct GroupState {
  CharFormat fmt;
  int uc = 1;  // characters to skip after \uN
  int font = 0;
  Dest dest = Dest::Text;
};

// Destinations whose content is not text of the document.
bool is_skipped_destination(const std::string& w) {
  static const char* const kSkipped[] = {
      "filetbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf",
      "footer", "footerl", "footerr", "footerf", "footnote", "listtable", "listoverridetable",
      "revtbl", "rsidtbl", "xmlnstbl", "themedata", "colorschememapping", "latentstyles",
      "datastore", "fldinst", "pntext", "pntxta", "pntxtb", "generator", "pgdsctbl", "mmathPr",
      "bkmkstart", "bkmkend", "xe", "tc", "txe", "rxe", "comment", "author", "operator", "title",
      "subject", "keywords", "doccomm", "nonshppict", "shpinst", "sp", "blipuid", "atnid",
      "atnauthor", "annotation"};
  for (const char* s : kSkipped)
    if (w == s) return true;
  return false;
}

class RtfReader {
 public:
  explicit RtfReader(std::string_view data) : in_(data) {}

  RtfContent read() {
    stack_.push_back(GroupState{});
    pos_ = 0;
    // The opening brace of the document group.
    ++pos_;
    while (pos_ < in_.size() && !done_) {
      const char c = in_[pos_];
      if (c == '{') {
        ++pos_;
        open_group();
      } else if (c == '}') {
        ++pos_;
        close_group();
      } else if (c == '\\') {
        ++pos_;
        control();
      } else {
        ++pos_;
        plain_byte(static_cast<unsigned char>(c));
      }
    }
    return std::move(out_);
  }

 private:
  static constexpr size_t kMaxDepth = 1000;

  GroupState& state() { return stack_.back(); }

  void open_group() {
    skip_ = 0;
    if (stack_.size() >= kMaxDepth) {
      ++overflow_;
      return;
    }
    stack_.push_back(stack_.back());
    ++serial_;
  }

  void close_group() {
    skip_ = 0;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (stack_.size() <= 1) {
      done_ = true;  // the document group ends; anything after it is not part of it
      return;
    }
    if (state().dest == Dest::ColorTable && entry_open_) finish_color_entry();
    stack_.pop_back();
    ++serial_;
  }

  // Reads a control word or symbol after its backslash.
  void control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!is_letter(c)) {
      ++pos_;
      control_symbol(c);
      return;
    }
    std::string word;
    while (pos_ < in_.size() && is_letter(in_[pos_])) {
      if (word.size() < 32) word += in_[pos_];
      ++pos_;
    }
    bool has_param = false;
    long long value = 0;
    bool negative = false;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && is_digit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && is_digit(in_[pos_])) {
      has_param = true;
      if (value < 10'000'000'000LL) value = value * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (negative) value = -value;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    const int param = static_cast<int>(std::clamp<long long>(value, -2'000'000'000LL, 2'000'000'000LL));
    if (word == "bin") {
      // Binary data of `param` bytes: skipped whole (it counts as one character when skipping).
      const size_t n = std::min<size_t>(param > 0 ? static_cast<size_t>(param) : 0, in_.size() - pos_);
      pos_ += n;
      if (skip_ > 0) --skip_;
      return;
    }
    if (skip_ > 0 && state().dest == Dest::Text) {
      --skip_;
      return;
    }
    control_word(word, has_param, param, value);
  }

  void control_symbol(char c) {
    switch (c) {
      case '\'': {
        int hi = -1, lo = -1;
        if (pos_ < in_.size()) hi = hex_value(in_[pos_]);
        if (hi >= 0) ++pos_;
        if (hi >= 0 && pos_ < in_.size()) lo = hex_value(in_[pos_]);
        if (lo >= 0) ++pos_;
        if (hi < 0 || lo < 0) return;  // a byte cut short is dropped
        const auto byte = static_cast<unsigned>(hi * 16 + lo);
        if (skip_ > 0) {
          --skip_;
          return;
        }
        emit(decode_byte(static_cast<unsigned char>(byte), current_codepage()));
        return;
      }
      case '*':
        state().dest = Dest::Skip;
        return;
      case '\r':
      case '\n':
        if (!skipping()) emit(u'\r');
        return;
      default:
        break;
    }
    if (skip_ > 0) {
      --skip_;
      return;
    }
    switch (c) {
      case '\\': case '{': case '}': emit(static_cast<char16_t>(c)); break;
      case '~': emit(u'\u00A0'); break;  // no-break space
      case '-': emit(u'\u00AD'); break;  // optional hyphen
      case '_': emit(u'\u2011'); break;  // no-break hyphen
      case '\t': emit(u'\t'); break;
      default: break;  // \| \: and the like: nothing in plain text
    }
  }

  void control_word(const std::string& w, bool has_param, int param, long long raw) {
    GroupState& s = state();
    if (w == "colortbl") {
      s.dest = Dest::ColorTable;
      entry_open_ = false;
      return;
    }
    if (w == "fonttbl") {
      s.dest = Dest::FontTable;
      return;
    }
    if (is_skipped_destination(w)) {
      s.dest = Dest::Skip;
      return;
    }
    if (s.dest == Dest::Skip) return;
    if (s.dest == Dest::ColorTable) {
      const int v = std::clamp(param, 0, 255);
      if (w == "red") { red_ = v; entry_open_ = true; }
      else if (w == "green") { green_ = v; entry_open_ = true; }
      else if (w == "blue") { blue_ = v; entry_open_ = true; }
      return;
    }
    if (s.dest == Dest::FontTable) {
      if (w == "f") font_being_defined_ = param;
      else if (w == "fcharset") font_cp_[font_being_defined_] = codepage_of_charset(param, ansi_cp_);
      return;
    }
    // Document text and its formats.
    const bool on = !has_param || param != 0;
    ++serial_;
    if (w == "ansicpg") {
      ansi_cp_ = (param == 1252 || param == 28591) ? 1252 : 1251;
    } else if (w == "deff") {
      default_font_ = param;
    } else if (w == "f") {
      s.font = param;
    } else if (w == "par" || w == "line" || w == "sect" || w == "page" || w == "row") {
      emit(u'\r');
    } else if (w == "tab" || w == "cell") {
      emit(u'\t');
    } else if (w == "u") {
      if (!has_param) return;
      long long v = raw;
      if (v < 0) v += 65536;
      emit(v >= 0 && v <= 0xFFFF ? static_cast<char16_t>(v) : u'\uFFFD');
      skip_ = s.uc;
    } else if (w == "uc") {
      s.uc = std::clamp(param, 0, 16);
    } else if (w == "plain") {
      s.fmt = CharFormat{};
      s.font = default_font_;
    } else if (w == "b") {
      set_effect(s.fmt, CFE_BOLD, on);
    } else if (w == "i") {
      set_effect(s.fmt, CFE_ITALIC, on);
    } else if (w == "ulnone") {
      set_effect(s.fmt, CFE_UNDERLINE, false);
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "ulth" || w == "ulwave" ||
               w == "uldash" || w == "uldashd" || w == "uldashdd" || w == "ulhwave" || w == "ulldash" ||
               w == "ulthd" || w == "ulthdash") {
      set_effect(s.fmt, CFE_UNDERLINE, on);
    } else if (w == "strike" || w == "striked") {
      set_effect(s.fmt, CFE_STRIKEOUT, on);
    } else if (w == "cf") {
      const auto c = color(param);
      s.fmt.auto_color = !c;
      s.fmt.color = c.value_or(0);
    } else if (w == "highlight" || w == "cb") {
      const auto c = color(param);
      s.fmt.auto_back = !c;
      s.fmt.back = c.value_or(0);
    } else if (w == "emdash") {
      emit(u'\u2014');
    } else if (w == "endash") {
      emit(u'\u2013');
    } else if (w == "bullet") {
      emit(u'\u2022');
    } else if (w == "lquote") {
      emit(u'\u2018');
    } else if (w == "rquote") {
      emit(u'\u2019');
    } else if (w == "ldblquote") {
      emit(u'\u201C');
    } else if (w == "rdblquote") {
      emit(u'\u201D');
    }
  }

  void plain_byte(unsigned char b) {
    if (b == '\r' || b == '\n') return;
    if (state().dest == Dest::ColorTable) {
      if (b == ';') finish_color_entry();
      return;
    }
    if (skip_ > 0) {
      --skip_;
      return;
    }
    if (b < 0x20 && b != '\t') return;  // control bytes are not text in RTF
    emit(decode_byte(b, current_codepage()));
  }

  void finish_color_entry() {
    if (entry_open_) colors_.push_back(RGB(red_, green_, blue_));
    else colors_.push_back(std::nullopt);
    red_ = green_ = blue_ = 0;
    entry_open_ = false;
  }

  std::optional<COLORREF> color(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= colors_.size()) return std::nullopt;
    return colors_[static_cast<size_t>(index)];
  }

  bool skipping() const { return stack_.back().dest != Dest::Text; }

  int current_codepage() const {
    auto it = font_cp_.find(stack_.back().font);
    return it != font_cp_.end() ? it->second : ansi_cp_;
  }

  void emit(char16_t c) {
    if (skipping()) return;
    if (c == u'\n') c = u'\r';  // the document's only paragraph end
    const LONG at = static_cast<LONG>(out_.text.size());
    out_.text.push_back(c);
    if (!out_.runs.empty() && (serial_ == emitted_serial_ || out_.runs.back().format == state().fmt) &&
        out_.runs.back().to == at) {
      out_.runs.back().to = at + 1;
    } else {
      out_.runs.push_back({at, at + 1, state().fmt});
    }
    emitted_serial_ = serial_;
  }

  static void set_effect(CharFormat& f, DWORD bit, bool on) {
    if (on) f.effects |= bit;
    else f.effects &= ~bit;
  }
  static bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool is_digit(char c) { return c >= '0' && c <= '9'; }
  static int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  std::string_view in_;
  size_t pos_ = 0;
  bool done_ = false;
  std::vector<GroupState> stack_;
  size_t overflow_ = 0;  // groups opened beyond kMaxDepth, read in the deepest kept state
  int skip_ = 0;         // characters still to skip after \uN
  int ansi_cp_ = 1251;
  int default_font_ = 0;
  int font_being_defined_ = 0;
  std::map<int, int> font_cp_;  // font number -> code page of its \'hh bytes
  std::vector<std::optional<COLORREF>> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool entry_open_ = false;
  std::uint64_t serial_ = 1;  // changes whenever the current format may have changed
  std::uint64_t emitted_serial_ = 0;
  RtfContent out_;
};

}  // namespace

std::string rtf_write(const RichText& doc, LONG from, LONG to) {
  const std::vector<FormatRun> runs = doc.runs(from, to);
  const std::u16string& text = doc.text();

  // Colour table: index 0 is the automatic colour; then every colour in order of first use.
  std::vector<COLORREF> colors;
  auto color_index = [&colors](COLORREF c) {
    auto it = std::find(colors.begin(), colors.end(), c);
    if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
    colors.push_back(c);
    return static_cast<int>(colors.size());
  };
  for (const FormatRun& r : runs) {
    if (!r.format.auto_color) color_index(r.format.color);
    if (!r.format.auto_back) color_index(r.format.back);
  }

  std::string out = "{\\rtf1\\ansi\\ansicpg1251\\deff0";
  if (!colors.empty()) {
    out += "{\\colortbl ;";
    for (COLORREF c : colors) append_color_entry(out, c);
    out += "}";
  }
  out += "\r\n\\uc1\\pard\\plain ";

  CharFormat cur;  // what \plain gives
  for (const FormatRun& r : runs) {
    const CharFormat& f = r.format;
    const size_t before = out.size();
    if (f.auto_color != cur.auto_color || f.color != cur.color)
      append_word(out, "cf", f.auto_color ? 0 : color_index(f.color));
    if (f.auto_back != cur.auto_back || f.back != cur.back)
      append_word(out, "highlight", f.auto_back ? 0 : color_index(f.back));
    auto flag = [&](DWORD bit, const char* on, const char* off) {
      if ((f.effects & bit) != (cur.effects & bit)) append_word(out, (f.effects & bit) ? on : off);
    };
    flag(CFE_BOLD, "b", "b0");
    flag(CFE_ITALIC, "i", "i0");
    flag(CFE_UNDERLINE, "ul", "ulnone");
    flag(CFE_STRIKEOUT, "strike", "strike0");
    if (out.size() != before) out += ' ';
    cur = f;
    for (LONG i = r.from; i < r.to; ++i) append_char(out, text[static_cast<size_t>(i)]);
  }
  out += "}";
  return out;
}

std::optional<RtfContent> rtf_read(std::string_view rtf) {
  if (rtf.substr(0, 5) != "{\\rtf") return std::nullopt;
  return RtfReader(rtf).read();
}
