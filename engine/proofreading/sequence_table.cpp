#include "engine/proofreading/sequence_table.h"

#include "platform/text.h"

namespace {

using W = SequenceWhen;

constexpr std::string_view kNone = " -> no suggestions";
constexpr std::string_view kSpaces = " ->   (space) |  (no space) | \t (tab)";
constexpr std::string_view kSpaceTab = " ->   (space) | \t (tab) |  (no space)";
constexpr std::string_view kCommaDot = " -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)";
constexpr std::string_view kTwoDashes = " -> — (mdash) | – (ndash) |  —  (space+mdash+space)";
constexpr std::string_view kEmEnDash = " -> — (mdash) | – (ndash)";
constexpr std::string_view kEnDashHyphen = " -> — (mdash) | – (ndash) | - |  —  (space+mdash+space)";
constexpr std::string_view kCommaColon = " -> ,  | , | :  | :";

}  // namespace

const std::array<SequenceRow, SEQUENCE_ROWS> sequence_rows{{
    {1, " – ", u"<интервал>< n-тире><интервал>",
     " -> – (ndash) |  —  (space+mdash+space) | - (dash) |  (remove) |   (space)", W::Always},
    {2, "   ", u"три или повече интервала", kSpaces, W::Always},
    {3, "  ", u"два интервала", kSpaces, W::Always},
    {4, " \t", u"<интервал><табулация>", kSpaceTab, W::Always},
    {5, "\t ", u"<табулация><интервал>", kSpaceTab, W::Always},
    {6, " ,", u"<интервал><запетая>", " -> , (comma) | ,  (comma+space)", W::Always},
    {7, " ?", u"<интервал><въпросителен>", " -> ? (question mark) | ?  (question mark+space)", W::Always},
    {8, " !", u"<интервал><удивителен>", " -> ! (exclamation mark) | !  (exclamation mark+space)", W::Always},
    {9, " :", u"<интервал><двоеточие>", " -> : (colon) | :  (colon+space)", W::Always},
    {10, " ;", u"<интервал><точка и запетая>", " -> ; (semicolon) | ;  (semicolon+space)", W::Always},
    {11, " )", u"<интервал><дясна скоба>", " -> ) (bracket) | )  (bracket+space)", W::Always},
    {12, " ”", u"<интервал><затваряща кавичка> 0x94", " -> ” (quote) | ”  (quote+space)", W::Always},
    {13, " \",", u"<интервал><кавичка><запетая>", " -> \", (remove space)", W::Always},
    {14, " \".", u"<интервал><кавичка><точка>", " -> \". (remove space)", W::Always},
    {15, ", .", u"<запетая><интервал><точка>", kCommaDot, W::Always},
    {16, " \" ", u"<интервал><кавичка><интервал>", " -> \"  (\"+space) |  \" (space+\") |   (space)", W::Always},
    {17, " ' ", u"<интервал><кавичка><интервал>", " -> '  ('+space) |  ' (space+') |   (space)", W::Always},
    {18, "( ", u"<лява скоба><интервал>", kNone, W::Always},
    {19, "„ ", u"<отваряща кавичка><интервал> 0x84", " -> „ (quote) |  „ (space+quote)", W::Always},
    {20, "...", u"три точки вместо многоточие", " -> …", W::NotSubtitle},
    {21, ".,", u"<точка><запетая>", " -> . (dot) | , (comma) | ,  (comma+space) | .  (dot+space)", W::Always},
    {22, "._", u"<точка><черта>", " -> _. | .  (dot+space) | . (dot)", W::Always},
    {23, ".:", u"<точка><двоеточие>", " -> . (dot) | :", W::Always},
    {24, ":.", u"<двоеточие><точка>", " -> : | . (dot)", W::Always},
    {25, ",-", u"<запетая><тире>", " -> ,  | , |  - | -", W::Always},
    {26, ".-", u"<точка><тире>", " -> .  | . |  - | -", W::Always},
    {27, ",–", u"<запетая><n-тире>", " -> ,  | , |  – | –", W::Always},
    {28, ".–", u"<точка><n-тире>", " -> .  | . |  – | –", W::Always},
    {29, ",—", u"<запетая><m-тире>", " -> , — | . — ", W::Always},
    {30, ".—", u"<точка><m-тире>", " -> . — | . —  | . (dot)", W::Always},
    {31, "?—", u"<въпросителен><m-тире>", " -> ? — | ? —  | . (dot)", W::Always},
    {32, "!—", u"<удивителен><m-тире>", " -> ! — | ! —  | . (dot)", W::Always},
    {33, "—,", u"<m-тире><запетая>", " -> — | ,", W::Always},
    {34, "—.", u"<m-тире><точка>", " -> — | .", W::Always},
    {35, "—?", u"<m-тире><въпросителен>", " -> — | ?", W::Always},
    {36, "—!", u"<m-тире><удивителен>", " -> — | !", W::Always},
    {37, ".?", u"<точка><въпросителен>", " -> ? | .", W::Always},
    {38, ".!", u"<точка><удивителен>", " -> ! | .", W::Always},
    {39, "?.", u"<въпросителен><точка>", " -> ? | .", W::Always},
    {40, "!.", u"<удивителен><точка>", " -> ! | .", W::Always},
    {41, ",?", u"<запетая><въпросителен>", " -> ? | ,", W::Always},
    {42, ",!", u"<запетая><удивителен>", " -> ! | ,", W::Always},
    {43, "?,", u"<въпросителен><запетая>", " -> ? | ,", W::Always},
    {44, "!,", u"<удивителен><запетая>", " -> ! | ,", W::Always},
    {45, ",:", u"<запетая><двоеточие>", kCommaColon, W::Always},
    {46, ":,", u"<двоеточие><запетая>", kCommaColon, W::Always},
    {47, ":-", u"<двоеточие><късо тире>", " -> : | :  |  -  | -  | -", W::Always},
    {48, ":–", u"<двоеточие><n-тире>", " -> : | :  |  –  | –  | –", W::Always},
    {49, ":—", u"<двоеточие><m-тире>", " -> : | :  |  —  | —  | —", W::Always},
    {50, "——", u"две m-тирета", " -> — |  —  (space+mdash+space)", W::Always},
    {51, "––", u"две n-тирета", kTwoDashes, W::Always},
    {52, "--", u"две малки тирета", kTwoDashes, W::Always},
    {53, "—–", u"<m-тире><n-тире>", kEmEnDash, W::Always},
    {54, "–—", u"<n-тире><m-тире>", kEmEnDash, W::Always},
    {55, "—-", u"<m-тире><късо тире>", kTwoDashes, W::Always},
    {56, "-—", u"<късо тире><m-тире>", kTwoDashes, W::Always},
    {57, "–-", u"<n-тире><късо тире>", kEnDashHyphen, W::Always},
    {58, "-–", u"<късо тире><n-тире>", kEnDashHyphen, W::Always},
    {59, ",.", u"<запетая><точка>", kCommaDot, W::Always},
    {60, ",,", u"<запетая><запетая>", " -> , (comma) | ,  (comma+space) | . (dot) | .  (dot+space)", W::Always},
    {61, "\u00AD", u"скрито тире за пренос 0xAD", " -> (remove) | — (long) | - (short) ", W::Always},
    {62, "`", u"символът `", kNone, W::Always},
    {63, "^", u"символът ^", kNone, W::Always},
    {64, "~", u"символът ~", kNone, W::Always},
    {65, "@", u"символът @", kNone, W::Always},
    {66, "#", u"символът #", kNone, W::Always},
    {67, "¦", u"символът ¦", kNone, W::Always},
    {68, "·", u"символът ·", kNone, W::Always},
    {69, "•", u"символът •", kNone, W::Always},
    {70, "°", u"символът °", kNone, W::Always},
    {71, "¶", u"символът ¶", kNone, W::Always},
    {72, "&", u"символът &", kNone, W::Always},
    {73, "§", u"символът §", kNone, W::Always},
    {74, "\u00A0", u"символът \"непрекъсваем интервал\" 0xA0", kNone, W::Always},
    {75, "†", u"символът †", kNone, W::Always},
    {76, "¤", u"символът ¤", kNone, W::Always},
    {77, "‹", u"символът ‹", kNone, W::Always},
    {78, "›", u"символът ›", kNone, W::Always},
    {79, "є", u"символът є", kNone, W::Always},
    {80, "±", u"символът ±", kNone, W::Always},
    {81, "€", u"символът €", kNone, W::Always},
    {82, "©", u"символът ©", kNone, W::Always},
    {83, "№", u"символът №", kNone, W::Always},
    {84, "|", u"символът |", kNone, W::NotFrameLayout},
    {85, " - ", u"<интервал><късо тире><интервал>",
     " ->  —  (space+mdash+space) | - (dash) | – (ndash) |  (remove) |   (space)", W::NotAnySubtitleLayout},
    {86, ">", u"символът >", kNone, W::NotAnySubtitleLayout},
    {87, "<", u"символът <", kNone, W::NotAnySubtitleLayout},
    {88, "$", u"символът $", kNone, W::NotAnySubtitleLayout},
    {89, ";", u"символът ;", kNone, W::Always},
    {90, "—", u"m-тире", " -> - | – (ndash)", W::NotNovel},
    {91, "–", u"n-тире", " -> — (long) | - (short) ", W::NotNovel},
    {92, ",»", u"<запетая><кавичка>", " -> »", W::Always},
    {93, ",“", u"<запетая><кавичка>", " -> “", W::Always},
    {94, ",\"", u"<запетая><кавичка>", " -> \"", W::Always},
    {95, "«,", u"<отваряща кавичка><запетая>", " -> «", W::Always},
    {96, "„,", u"<отваряща кавичка><запетая>", " -> „", W::Always},
    {97, "«.", u"<отваряща кавичка><точка>", " -> «", W::Always},
    {98, "„.", u"<отваряща кавичка><точка>", " -> „", W::Always},
}};

SequenceMark sequence_mark(std::string_view pattern) {
    static const std::string colour_only = utf8_to_cp1251("¶");
    static const std::string unmarked[] = {" - ", "...", "@", "|", "#", ">", "<", "$", "&",
                                           utf8_to_cp1251("–"), utf8_to_cp1251("—")};
    if (pattern == colour_only) return SequenceMark::ColourOnly;
    for (const std::string& u : unmarked)
        if (pattern == u) return SequenceMark::None;
    return SequenceMark::Underline;
}

const std::vector<Sequence>& sequences() {
    static const std::vector<Sequence> rows = [] {
        std::vector<Sequence> v;
        v.reserve(sequence_rows.size());
        for (const SequenceRow& r : sequence_rows) {
            std::string pattern = utf8_to_cp1251(r.pattern);
            const SequenceMark mark = sequence_mark(pattern);
            v.push_back(Sequence{r.call, std::move(pattern), r.title, utf8_to_cp1251(r.suggestion), r.when, mark});
        }
        return v;
    }();
    return rows;
}
