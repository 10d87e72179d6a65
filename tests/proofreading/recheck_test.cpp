// The checker's re-check after edits anywhere in a long text writes what a first check of the final
// text writes: the report with its colours, the marks in the source, the status lines, the token
// index and the files. The proof-reader keeps findings of stretches of the text from run to run;
// here the stretches are a few paragraphs long, so that edits fall near their ends.
#include <algorithm>
#include <cstdlib>
#include <random>

#include "golden_lexicon.h"
#include "engine/proofreading/pass_order.h"
#include "engine/run/token_report.h"
#include "lexicon/morphology.h"

namespace {

class Recheck : public GoldenLexiconTest {
protected:
    // Everything a run leaves that a user or a later run sees.
    std::string state() {
        std::string out = jux_test::dump_panel("report", hBigReLeft) + jux_test::dump_panel("text", hBigReRight);
        out += "status " + label8(GetDlgItem(hBig, IDC_BIG_LABEL)) + " | " + utf16_to_utf8(big_label_up()) + "\n";
        for (const GRecord* g = g_floor; g && g < g_nd; ++g) out += u8(g->name) + " " + std::to_string(g->count) + "\n";
        for (const auto& [name, body] : jux_test::folder_files(data.path())) out += "file " + name + "\n" + body;
        return out;
    }

    // The state after a re-check of the text as it is now, and after a first check of the same text
    // (what the last run kept let go); the two must be equal.
    void expect_first_check(const std::string& what) {
        const std::string rechecked = state();
        const std::u16string final_text = RE_GetTextW(hBigReRight);
        reset_proofreading();
        release_kept_bulgarian_answers();
        release_kept_form_memo();
        check16(final_text);
        const std::string first = state();
        const auto at = static_cast<std::size_t>(
            std::mismatch(rechecked.begin(), rechecked.end(), first.begin(), first.end()).first - rechecked.begin());
        EXPECT_TRUE(rechecked == first)
            << what << ":\n" << rechecked.substr(at > 200 ? at - 200 : 0, 400) << "\n----\n"
            << first.substr(at > 200 ? at - 200 : 0, 400);
    }
    // Types `typed` into the checker's text in place of the last `removed` characters of the first
    // `behind` and checks again.
    void type_behind(const std::string& behind, std::u16string_view typed, LONG removed = 0) {
        const std::u16string text = RE_GetTextW(hBigReRight);
        const std::size_t at = text.find(utf8_to_utf16(behind));
        ASSERT_NE(at, std::u16string::npos) << behind;
        const auto end = static_cast<LONG>(at + utf8_to_utf16(behind).size());
        platform_user_text_edited(hBigReRight, end - removed, removed, typed);
        run_checker();
    }
};

// A "." typed at the end of a clause that runs over a line end ends the clause a "не" + definite
// noun finding reads to its end: the re-check writes the finding a first check writes, with the
// stretches as shipped and with stretches of one paragraph.
TEST_F(Recheck, AMarkTypedAtTheEndOfAClauseReachesTheFindingsThatReadTheClause) {
    load_forms({"книга книга 85 0", "книгата книга 85 1"});
    gl_CHECK_PUNCTUATION = 1;
    const std::string tail = "Той иска не книгата\rи едно две три четири пет шест седем осем девет десет единадесет "
                             "дванадесет тринадесет четиринадесет петнадесет, а нещо друго.";
    for (const auto& [paragraphs, stretch] : {std::pair{2045, 2048}, std::pair{18, 1}}) {
        set_proof_stretch_records(static_cast<std::size_t>(stretch));
        std::string text;
        for (int i = 0; i < paragraphs; ++i) text += "дума\r";
        check(text + tail);
        EXPECT_EQ(panel8(hBigReLeft).find("не книгата ->"), std::string::npos);
        type_behind("тринадесет", u".");
        EXPECT_NE(panel8(hBigReLeft).find(" не книгата ->  на книгата"), std::string::npos) << stretch;
        expect_first_check("stretches of " + std::to_string(stretch));
        // Later edits elsewhere keep it.
        type_behind("друго", u" х");
        EXPECT_NE(panel8(hBigReLeft).find(" не книгата ->  на книгата"), std::string::npos) << stretch;
    }
    set_proof_stretch_records(2048);
}

// A first check that records nothing for the next run (what the benchmarks compare the recordings
// with) writes what a first check with its recordings writes, with every switch on.
TEST_F(Recheck, AFirstCheckWritesTheSameWithAndWithoutRecordings) {
    load_lexicon();
    std::vector<std::string> subtitles;
    std::u16string text;
    for (const std::string& s : corpus(subtitles)) text += utf8_to_utf16(s) + u"\r";
    gl_CHECK_PUNCTUATION = gl_NOVEL_MODE = gl_LOOSE_SPLIT = gl_FIND_TWO_NOUNS = 1;
    std::string states[2];
    // Over the sentences one a paragraph (stretches of one record make a paragraph longer than four
    // records stretches of four inside it) and over lines of three words.
    std::u16string lines;
    int words = 0;
    for (const char16_t c : text) lines += c == u' ' && ++words % 3 == 0 ? u'\r' : c;
    for (const std::u16string* t : {&text, &lines}) {
        for (const std::size_t stretch : {std::size_t{0}, std::size_t{1}}) {
            reset_proofreading();
            set_proof_stretch_records(stretch);
            check16(*t);
            states[stretch ? 1 : 0] = state();
        }
        EXPECT_TRUE(states[0] == states[1]) << (t == &text ? "sentences" : "lines");
    }
    set_proof_stretch_records(2048);
}

// What a change reaches under each kind of reach, over eight records whose gaps end a clause (" - "),
// a clause and a sentence (". ", "; ") or a paragraph ("\r"): the records before the first result
// read nothing from the changed record on; those from the second result on read nothing before the
// unchanged one.
TEST(Reaches, AChangeReachesWhatReadsIt) {
    const char* gaps[] = {"", " ", ". ", ", ", "\r", " - ", "; ", " "};
    std::vector<SenToken> store(8 + SENTINEL_RECORDS, SenToken{glZero, glZero, 0});
    for (std::size_t i = 0; i < 8; ++i) store[i] = SenToken{"x", gaps[i], static_cast<std::int32_t>(3 * i)};
    const auto ahead = [](int records, Extent e) {
        Reach r = ::records(0, records);
        r.ahead_over = e;
        return r;
    };
    const auto back = [](int records, Extent e) {
        Reach r = ::records(records, 0);
        r.back_over = e;
        return r;
    };
    struct Case {
        Reach reach;
        std::size_t changed;  // the first changed record, or the first unchanged one
        std::size_t before;   // clean_before
        std::size_t from;     // clean_from
    };
    const Case cases[] = {
        {records(0, 0), 7, 7, 7},
        {records(2, 2), 7, 5, 9},
        {ahead(0, Extent::Clause), 7, 6, 7},
        {ahead(2, Extent::Clause), 7, 4, 7},
        {ahead(0, Extent::Clause), 6, 5, 6},
        {ahead(0, Extent::Sentence), 6, 2, 6},
        {ahead(0, Extent::Paragraph), 6, 4, 6},
        {ahead(0, Extent::Paragraph), 4, 0, 4},
        {back(0, Extent::Clause), 1, 1, 3},
        {back(1, Extent::Sentence), 3, 3, 8},
        {back(0, Extent::Clause), 3, 3, 6},
        {back(0, Extent::Paragraph), 1, 1, 5},
        {back(0, Extent::Paragraph), 7, 7, 9},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clean_before(c.reach, store.data(), c.changed), c.before) << c.changed;
        EXPECT_EQ(clean_from(c.reach, store.data(), 8, c.changed), c.from) << c.changed;
    }
}

// Per pass that reads beyond its record: an edit at the edge of what it reads, in another paragraph
// (stretches of one paragraph), changes its findings; the re-check writes what a first check writes.
// A change is found to within a block of the store's prints: the cases that read over a clause of
// many lines come after as many paragraphs as put the edit at every place of a block.
TEST_F(Recheck, AnEditAtTheEdgeOfAPassesReachIsCheckedAgain) {
    load_lexicon();
    gl_CHECK_PUNCTUATION = gl_FIND_TWO_NOUNS = 1;
    struct Case {
        int row;
        std::string text;
        const char* behind;  // the edit goes behind this text
        const char16_t* typed;
    };
    // A clause over sixteen lines of a word each.
    const std::string lines = "и\rедно\rдве\rтри\rчетири\rпет\rшест\rседем\rосем\rдевет\rдесет\rединадесет\r"
                              "дванадесет\rтринадесет\rчетиринадесет\rпетнадесет";
    const Case cases[] = {
        {2, "Тръгна без учителят\r" + lines + "\rда чака.", "петнадесет", u"."},  // a "да" ahead in the clause
        {3, "Той е\rучителя\rсам.", "учителя", u" тук"},                          // the word after the noun
        {4, "Вчера\rучителя е тук.", "Вчера", u"\r5"},                            // a number before the subject
        {5, "Учителя вчера\r" + lines + "\rго видя.", "петнадесет", u"."},         // a "го" ahead in the clause
        {14, "може\rби би", "може", u"x"},                                        // "може би би"
        {15, "в\rвода\rсега", "вода", u" "},                                      // the blank after the pair
        {35, "Ох в който и да\rбил", "бил", u"x"},                                 // "... и да бил"
        {38, "ох\rв\rох стол маса", "в", u"x"},                                   // a preposition before the pair
        {39, "хубава стол\rмаса", "маса", u"x"},                                  // a noun after the pair
        {40, "Ох в може\rби", "би", u"x"},                                        // "може би"
        {41, "да и\rне", "не", u"x"},                                             // "да и не"
        {42, "чете е\rтук", "е", u" "},                                           // the blank after the pair
        {44, "ох на\rот\rден", "от", u" "},                                       // the blank after the pair
        {45, "ох не масата\r" + lines + ", а стола.", "тринадесет", u"."},         // ", а" ahead in the clause
    };
    for (const Case& c : cases) {
        const PassRow& row = pass_order[static_cast<std::size_t>(c.row)];
        const std::string title = utf16_to_utf8(row.title);
        std::string fill;
        for (int k = 0; k < (row.reach.ahead_over != Extent::None ? 16 : 1); ++k, fill += "Дума.\r") {
            reset_proofreading();
            set_proof_stretch_records(1);
            check(fill + c.text);
            const std::string before = pass_block(panel8(hBigReLeft), title);
            type_behind(c.behind, c.typed);
            EXPECT_NE(pass_block(panel8(hBigReLeft), title), before) << c.row << ": " << c.text;
            expect_first_check("row " + std::to_string(c.row) + " after " + std::to_string(k));
            if (HasFailure()) return;
        }
    }
    set_proof_stretch_records(2048);
}

// The capitals inside sentences keep the findings of the stretches (here paragraphs) whose records
// and their neighbours stayed, while the frequent spellings stay the same. Edits of the word before
// a capital at a line's start and of the word after it, a mark put at or taken from the line's end,
// the capital made, and a fourth one that makes the others frequent; with the edit at every place
// of a block of the store's prints from its start and from its end (what is taken over is found by
// blocks of records).
TEST_F(Recheck, AnEditAtTheEdgeOfTheKeptCapitalsIsCheckedAgain) {
    load_lexicon();
    gl_CHECK_PUNCTUATION = 1;
    struct Case {
        std::string text;
        std::string behind;  // the edit replaces the last `removed` characters of it
        const char16_t* typed;
        LONG removed;
        const char* changed;  // in the report before the edit and not after, or the other way
    };
    const Case cases[] = {
        {"ох го\rКола е тук", "ох г", u"Г", 1, "го -> го."},             // the word before: a capital
        {"ох го\rКолата\rтук", "Колата\r", u"е ", 0, "го -> го."},     // the word after: "колата_е"
        {"ох го\rКола е тук", "ох го", u".", 0, "го -> го."},            // a mark at the line's end
        {"ох го.\rКола е тук", "ох го.", u"", 1, "го -> го."},           // and taken from it
        {"ох го\rкола е тук", "го\rк", u"К", 1, "го -> го."},           // the capital made
        {"ох го\rКола е тук\rох ги\rКола е там\rох ге\rКола е там\rох гу\rстол", "ох гу", u"\rКола", 0,
         "над 3 повторения"},  // a fourth: the three are listed as frequent
        {"ох го" + std::string(20, ' ') + "Кола е тук", "го" + std::string(19, ' '), u",", 1,
         ", Кола"},  // a long gap changed past its sixteenth byte, its length kept
    };
    set_proof_stretch_records(1);
    for (const Case& c : cases) {
        for (int k = 0; k < 16; ++k) {
            std::string text;
            for (int i = 0; i < k; ++i) text += "дума\r";
            text += c.text;
            for (int i = 0; i < 16 + k; ++i) text += "\rдума";
            reset_proofreading();
            check(text);
            const bool before = panel8(hBigReLeft).find(c.changed) != std::string::npos;
            type_behind(c.behind, c.typed, c.removed);
            EXPECT_NE(panel8(hBigReLeft).find(c.changed) != std::string::npos, before) << c.text;
            expect_first_check(c.text + " after " + std::to_string(k));
            if (HasFailure()) return;
        }
    }
    set_proof_stretch_records(2048);
}

// Seeded random edits at the start, the middle, the end, anywhere, a few characters from a line end
// (where a stretch of one paragraph ends) and at a line's edges (a capital at its start, a mark at
// its end); each is compared with a first check every few edits.
// Texts of the corpus's sentences one a paragraph, and of lines of a few words that mostly end
// without a mark (a clause runs on over the line end); stretches of one paragraph, of a few and as
// shipped; as the program starts and with every switch on. JUX_RECHECK_ROUNDS=k runs k times as
// many edits, each round with its own seed.
TEST_F(Recheck, RandomEditsEqualAFirstCheckOfTheFinalText) {
    load_lexicon();
    std::vector<std::string> subtitles;
    const std::vector<std::string> sentences = corpus(subtitles);
    // A third of the corpus and, every tenth sentence, a clause of twenty words whose finding at its
    // start depends on its end; and the same six times (over 2,048 records).
    const std::string clause = "Той иска не масата и едно две три четири пет шест седем осем девет десет единадесет "
                               "дванадесет тринадесет четиринадесет петнадесет шестнадесет, а стола.";
    std::u16string prose, lines;
    int words = 0;
    for (std::size_t i = 0; i < sentences.size() / 3; ++i) {
        const std::u16string sentence = utf8_to_utf16(i % 10 == 0 ? clause : sentences[i]);
        for (const char16_t c : sentence) lines += c == u' ' && ++words % 3 == 0 ? u'\r' : c;
        prose += sentence + u"\r";
        lines += u' ';
    }
    std::u16string long_prose, long_lines;
    for (int copy = 0; copy < 6; ++copy) {
        long_prose += prose;
        long_lines += lines;
    }
    const std::vector<std::u16string> inserts = {u"ж", u"x", u"\r", u"жщъхвл ", u" ", u"Маса, ", u" и и ", u".",
                                                 u",", u"!", u" .", u", ", utf8_to_utf16(sentences[7]) + u"\r"};
    const std::vector<std::u16string> marks = {u".", u",", u"?", u";", u" ."};
    const std::u16string capitals[] = {u"Кола ", u"Маса, ", u"Стол "};
    struct Setup {
        std::size_t stretch;
        const std::u16string* text;
        bool every_switch;
        int compares;  // each after kEdits edits
    };
    const Setup setups[] = {{1, &lines, false, 100},         {1, &prose, true, 100},
                            {12, &prose, false, 100},        {12, &lines, true, 100},
                            {2048, &long_prose, true, 20},   {2048, &long_lines, false, 20}};
    const char* env = std::getenv("JUX_RECHECK_ROUNDS");
    const int rounds = env ? std::max(1, std::atoi(env)) : 1;
    constexpr int kEdits = 5;  // 2,200 edits a round
    for (int round = 0; round < rounds; ++round) {
        for (const Setup& setup : setups) {
            gl_CHECK_PUNCTUATION = 1;
            gl_NOVEL_MODE = gl_LOOSE_SPLIT = gl_FIND_TWO_NOUNS = setup.every_switch;
            set_proof_stretch_records(setup.stretch);
            check16(*setup.text);
            std::mt19937 rnd(static_cast<unsigned>(1207 + 31 * round + setup.stretch + setup.every_switch));
            for (int compare = 0; compare < setup.compares; ++compare) {
                for (int edit = 0; edit < kEdits; ++edit) {
                    // An insertion, a deletion (of a paragraph end too: a join) or both; next to a
                    // line end, a sentence mark or a comma alone.
                    const std::u16string now = RE_GetTextW(hBigReRight);
                    const auto n = static_cast<LONG>(now.size());
                    const auto line_end = static_cast<LONG>(now.find(u'\r', rnd() % static_cast<unsigned>(n + 1)));
                    const LONG places[] = {0, n / 2, n, static_cast<LONG>(rnd() % static_cast<unsigned>(n + 1)),
                                           line_end < 0 ? n : std::max(0, line_end - static_cast<LONG>(rnd() % 12))};
                    const int place = static_cast<int>(rnd() % 6);
                    if (place == 5) {
                        // A line's edges: a capital at its start, a mark put at its end or its last
                        // character taken.
                        const LONG end = line_end < 0 ? n : line_end;
                        const unsigned kind = rnd() % 3;
                        if (kind == 0) platform_user_text_edited(hBigReRight, std::min(end + 1, n), 0, capitals[rnd() % 3]);
                        else if (kind == 1) platform_user_text_edited(hBigReRight, end, 0, marks[rnd() % marks.size()]);
                        else platform_user_text_edited(hBigReRight, std::max(end - 1, 0), end > 0 ? 1 : 0, u"");
                        run_checker();
                        continue;
                    }
                    const LONG at = std::min(places[place] + static_cast<LONG>(rnd() % 3), n);
                    const LONG removed = place < 4 && rnd() % 3 == 0 ? static_cast<LONG>(rnd() % 4) : 0;
                    const std::u16string& inserted =
                        place == 4 ? marks[rnd() % marks.size()] : inserts[rnd() % inserts.size()];
                    platform_user_text_edited(hBigReRight, at, removed, place < 4 && rnd() % 4 == 0 ? u"" : inserted);
                    run_checker();
                }
                expect_first_check("stretch " + std::to_string(setup.stretch) + ", every switch " +
                                   std::to_string(setup.every_switch) + ", round " + std::to_string(round) +
                                   ", compare " + std::to_string(compare));
                if (HasFailure()) return;
            }
        }
    }
    set_proof_stretch_records(2048);
}

}  // namespace
