#include "engine/translation/subtitle_statistics.h"

#include <cstdio>

#include "lexicon/display.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/panels.h"

namespace {

constexpr DWORD kColourBold = CFM_COLOR | CFM_BOLD;

std::u16string wide(const char* fmt, long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return cp1251_to_utf16(buf);
}
std::u16string wide_int(std::int64_t v) { return cp1251_to_utf16(std::to_string(v)); }

}  // namespace

std::u16string subtitle_statistics_text(const SubtitleCounters& s) {
    static const char16_t* const kOfWords[8] = {u"от 1 дума:", u"от 2 думи:", u"от 3 думи:", u"от 4 думи:",
                                                u"от 5 думи:", u"от 6 думи:", u"от 7 думи:", u"от 8 думи:"};
    std::u16string t;
    auto pair = [&](std::u16string_view label, std::int64_t v) {
        t += label;
        t += u' ';
        t += wide_int(v);
        t += u'\r';
    };
    pair(u"Брой изречения:", s.sentences);
    pair(u"Познати изречения:", s.known_sentences);
    std::int64_t listed = 0;
    for (std::size_t i = 0; i < s.known_of_words.size(); ++i) {
        pair(kOfWords[i], s.known_of_words[i]);
        listed += s.known_of_words[i];
    }
    pair(u"от над 8 думи:", s.known_sentences - listed);
    t += u"----------------\r";
    pair(u"Брой думи общо:", s.words);
    pair(u"Брой думи в познати изречения:", s.words_in_known);
    pair(u"Брой познати думи от начало на изреч. до запетая:", s.known_to_comma);
    pair(u"Брой познати думи от запетая до пунктуация:", s.known_comma_to_mark);
    t += u"----------------\r";
    const long double all = s.words;
    const long double share = s.words ? static_cast<long double>(s.words_in_known) * 100.0L / all : 0.0L;
    const long double success =
        s.words ? static_cast<long double>(s.known_to_comma + s.words_in_known + s.known_comma_to_mark) * 100.0L / all
                : 0.0L;
    t += u"Брой думи в познати изречения към всички думи: " + wide("%.2Lf%%", share) + u"\r";
    // The block's last line ends in a lone ")": it is part of the statistics' text as the user
    // reads and copies it, so it stays.
    t += u"Успеваемост: " + wide("%.2Lf%%)", success) + u"\r";
    return t;
}

void print_subtitle_statistics(HWND report, const SubtitleCounters& s) {
    static constexpr std::u16string_view kTitle = u"Статистика за субтитрите:";
    CHARRANGE cr;
    SelectReEnd(report, cr);
    ColorRangeOn(report, cr.cpMin, cr.cpMin, kColourBold, 0, 0);
    JuxShowMessageW(report, std::u16string(u"\r\n") + std::u16string(kTitle), 1);
    const LONG title = cr.cpMin + 1;  // after the line break that precedes it
    ColorRangeOn(report, title, title + static_cast<LONG>(kTitle.size()), kColourBold, kColSubtitleStatistics, 1);

    const std::u16string block = subtitle_statistics_text(s);
    SelectReEnd(report, cr);
    JuxShowMessageW(report, block, 1);
    CHARRANGE end;
    SelectReEnd(report, end);
    ColorRangeOn(report, cr.cpMin, end.cpMax, kColourBold, kColSubtitleStatistics, 0);
    RE_SetSel(report, CHARRANGE{cr.cpMin, cr.cpMin});
}
