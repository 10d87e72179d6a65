// libs: platform
// Rich-edit panels under the program's heavy uses: colouring a 10 MB text word by word, writing
// a long report line by line, typing into a big text, finding in it, and RTF out and in.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/richedit.h"
#include "platform/window.h"

namespace {

INT_PTR QuietProc(HWND, const Msg&) { return 0; }

// A headless dialog with one rich-edit panel whose text limit is raised as the program does.
HWND make_panel() {
  headless_install();
  DialogTemplate t;
  t.id = 900;
  t.cx = 300;
  t.cy = 200;
  t.controls = {{ControlKind::RichEdit, 1, u"", 0, 0, 300, 200, WS_CHILD | WS_VISIBLE | ES_MULTILINE}};
  const HWND dlg = CreateDialogIndirect(t, HWND{}, QuietProc);
  const HWND re = GetDlgItem(dlg, 1);
  RE_LimitText(re, 0x7FFFFFFF);
  RE_SetEventMask(re, ENM_CHANGE | ENM_SELCHANGE);
  return re;
}

// About `units` UTF-16 units of Bulgarian-looking words, lines of about 80 characters.
std::u16string words_text(size_t units) {
  static const char16_t* const kWords[] = {u"дума", u"текст", u"и", u"проверка", u"правопис",
                                           u"word", u"text", u"съгласуване", u"на", u"в"};
  std::u16string s;
  s.reserve(units + 16);
  size_t line = 0, k = 0;
  while (s.size() < units) {
    const std::u16string_view w = kWords[(k * 7 + k / 3) % std::size(kWords)];
    s += w;
    line += w.size() + 1;
    ++k;
    if (line > 80) {
      s += u'\r';
      line = 0;
    } else {
      s += u' ';
    }
  }
  return s;
}

// Word starts and ends of a text.
std::vector<CHARRANGE> word_ranges(const std::u16string& s, size_t max) {
  std::vector<CHARRANGE> out;
  LONG start = -1;
  for (LONG i = 0; i <= static_cast<LONG>(s.size()) && out.size() < max; ++i) {
    const bool letter = i < static_cast<LONG>(s.size()) && s[static_cast<size_t>(i)] != u' ' &&
                        s[static_cast<size_t>(i)] != u'\r';
    if (letter && start < 0) start = i;
    if (!letter && start >= 0) {
      out.push_back({start, i});
      start = -1;
    }
  }
  return out;
}

// The program's colouring call: select, format with notifications off, restore the mask.
void color_range_on(HWND re, CHARRANGE r, COLORREF color, DWORD effects) {
  const DWORD saved = RE_SetEventMask(re, 0);
  RE_SetSel(re, r);
  RE_HideSelection(re, true);
  CHARFORMAT2W cf;
  cf.dwMask = CFM_COLOR | CFM_BOLD;
  cf.dwEffects = effects;
  cf.crTextColor = color;
  RE_SetCharFormat(re, SCF_SELECTION, cf);
  RE_SetEventMask(re, saved);
}

void BM_ColorMillionWordsOf10MB(benchmark::State& state) {
  const HWND re = make_panel();
  const std::u16string text = words_text(10u << 20);
  const std::vector<CHARRANGE> words = word_ranges(text, 1'000'000);
  for (auto _ : state) {
    state.PauseTiming();
    RE_SetTextW(re, text);
    state.ResumeTiming();
    size_t k = 0;
    for (const CHARRANGE& w : words) {
      color_range_on(re, w, static_cast<COLORREF>(k % 5) * 0x101010u, k % 2 ? DWORD{CFE_BOLD} : DWORD{0});
      ++k;
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * words.size()));
}
BENCHMARK(BM_ColorMillionWordsOf10MB)->Unit(benchmark::kMillisecond);

void BM_AppendHundredThousandReportLines(benchmark::State& state) {
  const HWND re = make_panel();
  const std::u16string line = u"думата -> дума | думи";
  for (auto _ : state) {
    RE_SetTextW(re, u"");
    for (int i = 0; i < 100'000; ++i) {
      RE_SetSel(re, {-1, -1});
      const LONG at = RE_GetSel(re).cpMin;
      color_range_on(re, {at, at}, 0, 0);
      RE_ReplaceSel(re, line + u"\r\n", false);
      RE_Scroll(re, SB_BOTTOM);
      color_range_on(re, {at, at + 6}, RGB(0x2A, 0, 0xFF), CFE_BOLD);
      color_range_on(re, {at + 6, at + static_cast<LONG>(line.size())}, RGB(0, 0x7F, 0), 0);
    }
  }
  state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_AppendHundredThousandReportLines)->Unit(benchmark::kMillisecond);

// The word lists' way: each line goes in with its colours (the whole line, the word, the count, one
// letter) in one call, into a panel that tells nobody.
void BM_AppendHundredThousandListLinesWithTheirColours(benchmark::State& state) {
  const HWND re = make_panel();
  RE_SetEventMask(re, 0);
  const std::u16string line = u"1234. непозната  17 (думата -> дума | думи)\r";
  auto change = [](LONG from, LONG to, DWORD mask, COLORREF colour, DWORD effects) {
    FormatChange c{from, to, {}};
    c.format.dwMask = mask;
    c.format.dwEffects = effects;
    c.format.crTextColor = colour;
    return c;
  };
  const std::vector<FormatChange> changes{
      change(0, static_cast<LONG>(line.size()), CFM_COLOR | CFM_BOLD, RGB(0, 0x7F, 0), 0),
      change(6, 15, CFM_COLOR | CFM_BOLD, RGB(0x2A, 0, 0xFF), CFE_BOLD),
      change(17, 19, CFM_COLOR | CFM_BOLD, RGB(0x80, 0x80, 0x80), 0), change(7, 8, CFM_COLOR, RGB(0xFF, 0, 0), 0)};
  for (auto _ : state) {
    RE_SetTextW(re, u"");
    for (int i = 0; i < 100'000; ++i) RE_AppendFormatted(re, line, changes);
  }
  state.SetItemsProcessed(state.iterations() * 100'000);
}
BENCHMARK(BM_AppendHundredThousandListLinesWithTheirColours)->Unit(benchmark::kMillisecond);

void BM_TypeIntoTheMiddleOf10MB(benchmark::State& state) {
  const HWND re = make_panel();
  RE_SetTextW(re, words_text(10u << 20));
  RE_SetSel(re, {5'000'000, 5'000'000});
  for (auto _ : state) headless_type(re, u"x");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypeIntoTheMiddleOf10MB)->Unit(benchmark::kMicrosecond);

void BM_FindWholeWordIgnoringCaseIn10MB(benchmark::State& state) {
  const HWND re = make_panel();
  std::u16string text = words_text(10u << 20);
  text += u" Несрещана";
  RE_SetTextW(re, text);
  for (auto _ : state)
    benchmark::DoNotOptimize(RE_FindText(re, FR_DOWN | FR_WHOLEWORD, {0, -1}, u"несрещана"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_FindWholeWordIgnoringCaseIn10MB)->Unit(benchmark::kMillisecond);

void BM_RtfOutAndInOfAColoured1MB(benchmark::State& state) {
  const HWND re = make_panel();
  const std::u16string text = words_text(1u << 20);
  RE_SetTextW(re, text);
  size_t k = 0;
  for (const CHARRANGE& w : word_ranges(text, 100'000))
    color_range_on(re, w, static_cast<COLORREF>(k++ % 7) * 0x203040u, 0);
  for (auto _ : state) {
    const std::string rtf = RE_StreamOut(re, SF_RTF);
    RE_StreamIn(re, SF_RTF, rtf);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RtfOutAndInOfAColoured1MB)->Unit(benchmark::kMillisecond);

}  // namespace
