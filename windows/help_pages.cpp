#include "windows/help_pages.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

#include "engine/rank_bands.h"
#include "engine/run/token_report.h"
#include "lexicon/bgtypes.h"
#include "lexicon/morphology.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "shell/settings.h"

namespace {

std::string escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

std::string head(std::string_view title) {
    return "<!DOCTYPE html>\n<html lang=\"bg\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + escape(title) +
           "</title>\n<style>body{font-family:sans-serif;max-width:60em;margin:1em auto;padding:0 1em}"
           "table{border-collapse:collapse;margin:.5em 0 1.5em}td,th{border:1px solid #bbb;padding:2px 8px;"
           "text-align:left}th{background:#eee}</style>\n</head>\n<body>\n<h1>" +
           escape(title) + "</h1>\n";
}

const char* const kTail = "<p><a href=\"help.html\">Помощ</a> · <a href=\"help_spellchecker.html\">Проверка на "
                          "правописа</a></p>\n</body>\n</html>\n";

std::string slot_label(int row, int slot) { return cp1251_to_utf8(bg_slot_label(row, slot)); }

// The form slots of a type with their labels, as the type-input window prints them.
std::string slot_table(int row, std::string_view caption) {
    std::string t = "<table>\n<caption>" + escape(caption) + "</caption>\n<tr><th>слот</th><th>форма</th></tr>\n";
    for (int slot = 0;; ++slot) {
        const std::string label = slot_label(row, slot);
        if (label.empty()) break;
        t += "<tr><td>" + std::to_string(slot) + "</td><td>" + escape(label) + "</td></tr>\n";
    }
    return t + "</table>\n";
}

// The endings of a type in slot order, as the ending file writes them ("0" no ending, "-" no
// such form, '?' a letter of the lemma); "" for a type without an ending table.
std::string endings_of(int row) {
    const BgTypeRecord& t = bgtype_ar[static_cast<std::size_t>(row)];
    if (!t.endings) return "";
    std::string out;
    for (int slot = 0; slot < t.count; ++slot) {
        const std::u16string& e = t.endings[slot].ending;
        if (!out.empty()) out += ' ';
        out += e.empty() ? std::string("0") : utf16_to_utf8(e);
    }
    return out;
}

// An example word of every type: the first lemma of the word-form index (in its order) that is
// the type's first form.
std::vector<std::string> example_lemmas() {
    std::vector<std::string> out(BGTYPES);
    std::vector<BgAnalysis> an(255);
    for (std::size_t i = 0; i < bgmul_ct; ++i) {
        const BgFormRecord& r = bgmul_bottom[i];
        const int n = bg_analyses(r, an.data(), static_cast<int>(an.size()));
        for (int k = 0; k < n; ++k) {
            const BgAnalysis& a = an[static_cast<std::size_t>(k)];
            if (a.slot != 0 || a.type < 0 || a.type >= BGTYPES) continue;
            std::string& slot = out[static_cast<std::size_t>(a.type)];
            if (slot.empty()) slot = cp1251_to_utf8(a.lemma);
        }
    }
    return out;
}

// The types of rows [first, last] with `extra` naming what sets each apart, each with the letters
// its lemma loses, its endings and an example word.
template <class Extra>
std::string type_table(int first, int last, std::string_view extra_caption, Extra extra) {
    const std::vector<std::string> examples = example_lemmas();
    std::string t = "<table>\n<tr><th>тип</th><th>ред</th><th>" + escape(extra_caption) +
                    "</th><th>отрязва</th><th>окончания</th><th>пример</th></tr>\n";
    for (int r = first; r <= last; ++r) {
        const BgTypeRecord& type = bgtype_ar[static_cast<std::size_t>(r)];
        const std::string endings = endings_of(r);
        t += "<tr><td>" + escape(type.name) + "</td><td>" + std::to_string(r) + "</td><td>" + escape(extra(r)) +
             "</td><td>" + (endings.empty() ? std::string() : std::to_string(type.cut)) + "</td><td>" +
             (endings.empty() ? std::string("—") : escape(endings)) + "</td><td>" +
             escape(examples[static_cast<std::size_t>(r)]) + "</td></tr>\n";
    }
    return t + "</table>\n";
}

const char* const kHowToSee =
    "<p>Формите на дума по даден тип се виждат в главния прозорец: в режима за редактиране на речника "
    "(<code>START_DICTIONARY_EDIT_MODE 1</code> в <code>settings.txt</code>) менюто <b>Insert</b> → "
    "<b>Inflection type...</b> пита за името на типа (напр. <code>173da_</code>) и показва формите на думата "
    "от полето за търсене. Окончанията на типовете са в <code>alt/bgtypes2/_endings.txt</code>; тип без "
    "таблица с окончания (—) взима формите си от индекса на словоформите "
    "(<code>alt/bgtypes2/_D2_ungrouped_sorted.txt</code>).</p>\n"
    "<p>В таблиците на типовете: <b>отрязва</b> е броят на буквите, които думата губи в края си, преди да "
    "получи окончание; <b>окончания</b> са окончанията на формите по реда на слотовете („0“ – без окончание, "
    "„-“ – няма такава форма, „?“ – буквата на думата на това място); <b>пример</b> е дума от този тип от "
    "индекса на словоформите. Окончанията и примерите са тези на речника в папката с данни, с който "
    "програмата работи.</p>\n";

std::string verb_types_page() {
    std::string p = head("Таблица на глаголните типове и спрежения");
    p += "<p>Програмата познава " + std::to_string(BGT_ADVERB - BGT_SUM) +
         " глаголни типа (редове " + std::to_string(BGT_SUM) + "–" + std::to_string(BGT_ADVERB - 1) +
         " от таблицата на типовете). Тип, чието име съдържа <code>da</code>, е глагол с форма „да …“ "
         "(свършен вид); останалите се изписват с „аз …“. Типът " +
         escape(bgtype_ar[BGT_SUM].name) + " е глаголът „съм“.</p>\n";
    p += kHowToSee;
    p += "<h2>Формите на глагола</h2>\n" + slot_table(BGT_SUM, "слотовете на глаголните типове");
    p += "<h2>Глаголните типове</h2>\n" +
         type_table(BGT_SUM, BGT_ADVERB - 1, "вид", [](int r) { return ascii_verb_da[r] ? "да …" : "аз …"; });
    return p + kTail;
}

std::string nouns_adjectives_page() {
    std::string p = head("Таблица на съществителните и прилагателни типове");
    p += kHowToSee;
    const auto gender = [](int r) -> std::string {
        switch (bgtype_noun_gender(r)) {
            case 0: return "м.р.";
            case 1: return "ж.р.";
            case 2: return r == BGT_NEUTER_PLURAL ? "ср.р., само мн.ч." : "ср.р.";
            default: return "";
        }
    };
    p += "<h2>Съществителни от мъжки род</h2>\n" + slot_table(0, "слотове") + type_table(0, 84, "род", gender);
    p += "<h2>Съществителни от женски род</h2>\n" + slot_table(85, "слотове") + type_table(85, 113, "род", gender);
    p += "<h2>Съществителни от среден род</h2>\n" + slot_table(114, "слотове") + type_table(114, 139, "род", gender) +
         type_table(BGT_NEUTER_PLURAL, BGT_NEUTER_PLURAL, "род", gender);
    p += "<h2>Прилагателни</h2>\n" + slot_table(140, "слотове") +
         type_table(140, 170, "част на речта", [](int r) { return std::string(bgtype_ar[static_cast<std::size_t>(r)].pos); });
    p += "<h2>Собствени имена</h2>\n<p>Имената нямат род и таблица със слотове.</p>\n" +
         type_table(459, 463, "част на речта", [](int r) { return std::string(bgtype_ar[static_cast<std::size_t>(r)].pos); });
    return p + kTail;
}

std::string swatch(COLORREF c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFF), static_cast<unsigned>((c >> 8) & 0xFF),
                  static_cast<unsigned>((c >> 16) & 0xFF));
    return std::string("<td style=\"background:") + hex + "\">&nbsp;&nbsp;&nbsp;&nbsp;</td><td><code>" + hex +
           "</code></td>";
}

std::string thousands(std::int32_t n) {
    const std::string digits = std::to_string(n);
    std::string s;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) s += ' ';
        s += digits[i];
    }
    return s;
}

std::string color_filter_page() {
    std::string p = head("Информация за редките думи");
    p += "<p>Всяка английска дума от списъка <code>wl_english</code> има ранг: колкото по-малък, толкова по-честа е "
         "думата. Кутийката <b>Редки думи</b> на прозореца за проверка (настройката <code>COLOR_RARE</code>) оцветява "
         "в текста познатите думи според ранга им; лентата с цветове до нея се показва, докато кутийката е "
         "отметната. Настройката <code>RANK_RARE</code> (подразбира се 4996) е рангът, от който една дума се "
         "смята за рядка.</p>\n";
    p += "<h2>Цветовете в проверявания текст</h2>\n<table>\n<tr><th>ранг</th><th colspan=\"2\">цвят</th></tr>\n";
    const std::int32_t saved = gl_RANK_RARE;
    gl_RANK_RARE = 0;  // every rank the colours know, whatever RANK_RARE says
    COLORREF c = 0;
    const std::array<std::pair<const char*, std::int32_t>, 5> ranks{{{"от RANK_RARE до 4995", 4995},
                                                                      {"4996", 4996},
                                                                      {"4997", 4997},
                                                                      {"4998", 4998},
                                                                      {"4999", 4999}}};
    for (const auto& [text, rank] : ranks)
        if (rare_word_colour(true, rank, false, c)) p += std::string("<tr><td>") + text + "</td>" + swatch(c) + "</tr>\n";
    if (rare_word_colour(false, 0, false, c)) p += "<tr><td>позната дума без ранг</td>" + swatch(c) + "</tr>\n";
    gl_RANK_RARE = saved;
    p += "<tr><td>5000 и повече</td><td colspan=\"2\">без цвят</td></tr>\n</table>\n";
    p += "<h2>Цветовете на редките думи в списъците и в оцветяването за преводачи</h2>\n"
         "<p>Списъкът на английските думи на проверения текст и оцветяването за преводачи (с кутийката "
         "<b>Редки думи</b>) оцветяват думите по тези ленти от рангове; думите с ранг до " +
         thousands(kRankBands.front().above) + " са честите и остават без цвят.</p>\n"
         "<table>\n<tr><th>рангове</th><th colspan=\"2\">цвят</th></tr>\n";
    for (const RankBand& b : kRankBands)
        p += "<tr><td>" + thousands(b.above + 1) + " – " + thousands(b.upto) + "</td>" + swatch(b.colour) + "</tr>\n";
    p += "</table>\n";
    return p + kTail;
}

constexpr std::array kPages{
    GeneratedHelpPage{"help_bulgarian_verb_types.html", verb_types_page},
    GeneratedHelpPage{"help_bulgarian_nouns_adjectives.html", nouns_adjectives_page},
    GeneratedHelpPage{"help_color_filter.html", color_filter_page},
};

}  // namespace

std::span<const GeneratedHelpPage> generated_help_pages() { return kPages; }
