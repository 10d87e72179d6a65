// The shared edit-candidate engine, the near-match test and the membership index.
#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/text.h"
#include "spell_fixture.h"
#include "spelling/edit_candidates.h"
#include "spelling/word_index.h"

namespace {

struct Seen {
    EditKind kind;
    std::string word;
    std::string note;
};

std::vector<Seen> run(std::string_view word, std::string_view alphabet, LetterShaper shaper = nullptr) {
    std::vector<Seen> out;
    auto sink = [&](const EditCandidate& c) {
        std::string note;
        append_edit_note(note, c);
        out.push_back({c.kind, std::string(c.word), note});
    };
    std::string scratch;
    generate_edits(word, alphabet, shaper, scratch, EditSink(sink));
    return out;
}

std::size_t count(const std::vector<Seen>& v, EditKind k) {
    return static_cast<std::size_t>(std::count_if(v.begin(), v.end(), [k](const Seen& s) { return s.kind == k; }));
}

bool contains(const std::vector<Seen>& v, std::string_view word, std::string_view note) {
    return std::any_of(v.begin(), v.end(), [&](const Seen& s) { return s.word == word && s.note == note; });
}

unsigned char upper_shaper(std::string_view, EditKind, std::size_t, unsigned char letter) {
    return cp_fold_upper(letter);
}

}  // namespace

TEST(EditCandidates, FamiliesInOrderForAThreeLetterWord) {
    const auto v = run("abc", kLatinLetters);
    EXPECT_EQ(count(v, EditKind::DropFirst), 1u);
    EXPECT_EQ(count(v, EditKind::DropInner), 1u);
    EXPECT_EQ(count(v, EditKind::DropLast), 1u);
    EXPECT_EQ(count(v, EditKind::AddFront), 26u);
    EXPECT_EQ(count(v, EditKind::AddInner), 75u);  // 25 after each letter (its own letter skipped)
    EXPECT_EQ(count(v, EditKind::AddHyphen), 2u);
    EXPECT_EQ(count(v, EditKind::AddApostrophe), 2u);
    EXPECT_EQ(count(v, EditKind::Change), 78u);    // the letter already there included
    EXPECT_EQ(count(v, EditKind::Swap), 2u);
    EXPECT_EQ(count(v, EditKind::Triple), 3u);
    EXPECT_EQ(count(v, EditKind::Syllable), 0u);
    EXPECT_EQ(count(v, EditKind::Repeated), 0u);
    // Families come in the fixed order.
    for (std::size_t i = 1; i < v.size(); ++i) {
        const bool inserts = (v[i - 1].kind == EditKind::AddInner || v[i - 1].kind == EditKind::AddHyphen ||
                              v[i - 1].kind == EditKind::AddApostrophe) &&
                             (v[i].kind == EditKind::AddInner || v[i].kind == EditKind::AddHyphen ||
                              v[i].kind == EditKind::AddApostrophe);
        if (!inserts) {
            EXPECT_LE(static_cast<int>(v[i - 1].kind), static_cast<int>(v[i].kind)) << i;
        }
    }
    EXPECT_TRUE(contains(v, "bc", " (drop a 1)"));
    EXPECT_TRUE(contains(v, "ac", " (drop b 2)"));
    EXPECT_TRUE(contains(v, "ab", " (drop last c 3)"));
    EXPECT_TRUE(contains(v, "zabc", " (add z 1)"));
    EXPECT_TRUE(contains(v, "abzc", " (add z 3)"));
    EXPECT_TRUE(contains(v, "abcz", " (add z 4)"));
    EXPECT_TRUE(contains(v, "a-bc", " (add - 2)"));
    EXPECT_TRUE(contains(v, "ab'c", " (add apostrophe 3)"));
    EXPECT_FALSE(contains(v, "abc-", " (add - 4)"));
    EXPECT_FALSE(contains(v, "abbc", " (add b 3)"));  // not after letter b itself
    EXPECT_TRUE(contains(v, "abbc", " (add b 2)"));   // but after a
    EXPECT_TRUE(contains(v, "abc", " (change b 2)"));
    EXPECT_TRUE(contains(v, "bac", " (swap a-b 1-2)"));
    EXPECT_TRUE(contains(v, "cab", " (triple abc->cab 1-3)"));
    EXPECT_TRUE(contains(v, "cba", " (triple abc->cba 1-3)"));
    EXPECT_TRUE(contains(v, "bca", " (triple abc->bca 1-3)"));
}

TEST(EditCandidates, EqualLettersAreSkippedCaseInsensitively) {
    const auto v = run("aAb", kLatinLetters);
    EXPECT_EQ(count(v, EditKind::DropFirst), 0u);
    EXPECT_EQ(count(v, EditKind::DropInner), 1u);  // the 'A' before b
    EXPECT_EQ(count(v, EditKind::Swap), 1u);       // A-b only
    // x = a, y = A, z = b: x != z gives z x y; x == y ends the start.
    EXPECT_EQ(count(v, EditKind::Triple), 1u);
    EXPECT_TRUE(contains(v, "baA", " (triple aAb->baA 1-3)"));
    // y = b, z = B: z y x and y z x are one word, listed once.
    EXPECT_EQ(count(run("abB", kLatinLetters), EditKind::Triple), 2u);
    EXPECT_TRUE(run("a", kLatinLetters).empty());
    EXPECT_TRUE(run("", kLatinLetters).empty());
}

TEST(EditCandidates, SyllablesAndRuns) {
    auto v = run("abababx", kLatinLetters);  // n = 7: k = 2 only
    EXPECT_TRUE(contains(v, "ababx", " (syllable 1-2)"));
    EXPECT_TRUE(contains(v, "ababx", " (syllable 2-3)"));
    EXPECT_TRUE(contains(v, "ababx", " (syllable 3-4)"));
    EXPECT_EQ(count(v, EditKind::Syllable), 3u);
    v = run("abcabc", kLatinLetters);  // k = 3 is not below 6 / 2
    EXPECT_EQ(count(v, EditKind::Syllable), 0u);
    v = run("xaaaab", kLatinLetters);
    EXPECT_TRUE(contains(v, "xab", " (repeated \"a\" 2-5)"));
    EXPECT_TRUE(contains(v, "xaab", " (repeated \"a\" 3-5)"));
    EXPECT_EQ(count(v, EditKind::Repeated), 2u);
    v = run("aaaaaa", kLatinLetters);  // a run starting every syllable start: no syllable drop
    EXPECT_EQ(count(v, EditKind::Syllable), 0u);
    EXPECT_EQ(count(v, EditKind::Repeated), 4u);
}

TEST(EditCandidates, BulgarianAlphabetAndShaper) {
    ASSERT_EQ(kBulgarianLetters.size(), 32u);
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(static_cast<unsigned char>(kBulgarianLetters[i]), 224 + i);
    const std::string word = "\xea\xee\xf2";  // кот
    auto v = run(word, kBulgarianLetters);
    EXPECT_EQ(count(v, EditKind::AddFront), 32u);
    EXPECT_EQ(count(v, EditKind::Change), 96u);
    EXPECT_TRUE(contains(v, "\xea\xf2", " (drop \xee 2)"));
    v = run(word, kBulgarianLetters, upper_shaper);
    EXPECT_TRUE(contains(v, "\xc0\xea\xee\xf2", " (add \xc0 1)"));
    EXPECT_TRUE(contains(v, "\xea\xc8\xee\xf2", " (add \xc8 2)"));
    EXPECT_TRUE(contains(v, "\xea\xee\xc0", " (change \xc0 3)"));
    // The letter-itself test uses the alphabet's letter, not the shaped one.
    EXPECT_FALSE(contains(v, "\xea\xca\xee\xf2", " (add \xca 2)"));
}

TEST(NearMatch, Thresholds) {
    EXPECT_TRUE(near_match("contemperery", "contemporary"));
    EXPECT_TRUE(near_match("CONTEMPERERY", "contemporary"));
    EXPECT_FALSE(near_match("abcdefgh", "abcdefgx"));   // shorter length 8: nothing
    EXPECT_FALSE(near_match("abcde", "abcdf"));         // under 6 letters
    EXPECT_TRUE(near_match("bottle", "bottme"));        // s = 6, count 5, same first letter
    EXPECT_FALSE(near_match("bottle", "oottle"));       // first letters differ at s = 6
    EXPECT_TRUE(near_match("battles", "bottles"));      // s = 7, count 6
    EXPECT_FALSE(near_match("bxttxes", "bottles"));     // s = 7, count 5
    EXPECT_FALSE(near_match("bottle", "bottlesx"));     // d = 2 needs s >= 9
    EXPECT_TRUE(near_match("bottle", "boittle"));       // d = 1
    EXPECT_TRUE(near_match("abcdefghi", "abxcdefyghi"));  // s = 9, d = 2
    EXPECT_FALSE(near_match("abcdefghi", "abcdefghixyz"));  // d = 3
    EXPECT_FALSE(near_match("xbcdefghi", "abcdefgyy"));  // two of four letter pairs agree
    // s >= 15: count >= s - 3
    EXPECT_TRUE(near_match("abcdefghijklmno", "abcxxxghijklmno"));
    EXPECT_FALSE(near_match("abcdefghijklmno", "abcxxxxhijklmno"));
    // 9..14: count >= s - 2
    EXPECT_TRUE(near_match("abcdefghij", "abcdxxghij"));
    EXPECT_FALSE(near_match("abcdefghij", "abcxxxghij"));
}

TEST(EditCandidates, KeyHashOfEveryCandidateIsTheHashOfItsFoldedWord) {
    // Every family, Latin and Cyrillic letters in both cases, capitals made by a shaper.
    struct Case {
        std::string word;
        std::string_view alphabet;
        LetterShaper shaper;
    };
    const Case cases[] = {
        {"Hello", kLatinLetters, nullptr},
        {"abababcc", kLatinLetters, nullptr},
        {"aaaabbbbbc", kLatinLetters, nullptr},
        {"\xca\xed\xe8\xe3\xe0\xe3\xe0", kBulgarianLetters, upper_shaper},  // Книгага
        {"\xe0\xe0\xe0-\xe1", kBulgarianLetters, nullptr},
        {"ab", kLatinLetters, upper_shaper},
    };
    for (const Case& k : cases) {
        KeyHasher hasher;
        hasher.prepare(k.word);
        std::size_t seen = 0;
        auto sink = [&](const EditCandidate& c) {
            std::string folded(c.word);
            cp_strlwr(folded);
            EXPECT_EQ(edit_key_hash(hasher, c), key_hash(folded)) << k.word << " -> " << c.word;
            ++seen;
        };
        std::string scratch;
        generate_edits(k.word, k.alphabet, k.shaper, scratch, EditSink(sink));
        EXPECT_GT(seen, 0u);
        std::string folded = k.word;
        cp_strlwr(folded);
        EXPECT_EQ(hasher.whole(), key_hash(folded));
    }
}

TEST(WordIndexRank, RankTexts) {
    EXPECT_EQ(rank_of_text("42"), 42);
    EXPECT_EQ(rank_of_text("  42abc"), 42);
    EXPECT_EQ(rank_of_text("-5"), -5);
    EXPECT_EQ(rank_of_text(""), 0);
    EXPECT_EQ(rank_of_text("abc"), 0);
    EXPECT_EQ(rank_of_text("99999999999"), INT_MAX);
    EXPECT_EQ(rank_of_text("-99999999999"), INT_MIN);
    ListPair bare{"word", {}};
    EXPECT_EQ(rank_of_entry(bare), kRankUnranked);
}

class WordIndexTest : public SpellTest {
protected:
    // Loads wl_english (row 0) from its lines.
    void load_lines(const std::vector<std::string>& lines) {
        {
            std::ofstream f(dir / "wl_english.txt", std::ios::binary);
            for (const auto& l : lines) f << l << "\r\n";
        }
        m[0].name = "wl_english";
        ASSERT_EQ(fl_to_list(dir, m[0]), 1);
    }
};

// The near-match search through its buckets finds exactly the entries the near-match test accepts,
// in list order: long words built round a base with three letters changed (some beyond the
// bucketed lengths), words of a three-letter alphabet in numbers that make a length's buckets be
// sorted by their cells, and Cyrillic words in mixed case; the buckets built on first use and built
// beforehand (as the start does) answer alike.
TEST_F(WordIndexTest, NearMatchScanFindsWhatTheTestAcceptsInListOrder) {
    struct Case {
        const char* name;
        std::string base, letters;
        int words;
        int changes;
        int built;  // 0 on first use, 1 beforehand, 2 beside the index as it is built
    };
    const std::string cyrillic = utf8_to_cp1251("абвгдеАБВГДЕ");
    const Case cases[] = {
        {"latin", "interconnectedness", "abcdefghijklmnopqrstuvwxyz", 4000, 3, 0},
        {"latin, built beforehand", "interconnectedness", "abcdefghijklmnopqrstuvwxyz", 4000, 3, 1},
        {"three letters", "abcabcabcabc", "abc", 20000, 4, 0},
        {"three letters, built beforehand", "abcabcabcabc", "abc", 20000, 4, 1},
        {"three letters, built beside the index", "abcabcabcabc", "abc", 20000, 4, 2},
        {"cyrillic in mixed case", utf8_to_cp1251("вдигнатостабвгде"), cyrillic, 6000, 3, 1},
        {"cyrillic in mixed case, built beside the index", utf8_to_cp1251("вдигнатостабвгде"), cyrillic, 6000, 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(11);
        std::vector<std::string> words;
        for (int i = 0; i < c.words; ++i) {
            std::string w = c.base.substr(0, 6 + rng() % (c.base.size() - 5));
            for (int e = 0; e < c.changes; ++e) w[rng() % w.size()] = c.letters[rng() % c.letters.size()];
            if (rng() % 50 == 0) w += std::string(70, 'x');  // beyond the length buckets
            words.push_back(w + " " + std::to_string(i));
        }
        load_lines(words);
        drop_word_indexes();
        const WordIndex& idx = c.built == 2 ? word_index(english_set(0), m[0].text, true) : english_index(0);
        if (c.built == 1) idx.build_near_buckets();
        std::vector<std::size_t> hits;
        std::vector<std::string> questions = {c.base.substr(0, 12), c.base, c.base.substr(0, 6), c.base + std::string(69, 'x')};
        for (int q = 0; q < 20; ++q) questions.push_back(words[rng() % words.size()].substr(0, 6 + rng() % 8));
        for (std::string q : questions) {
            near_match_scan(idx, q, hits);
            std::vector<std::size_t> expected;
            for (std::size_t i = 0; i < idx.size(); ++i)
                if (near_match(q, idx.entry(i).key)) expected.push_back(i);
            EXPECT_EQ(hits, expected) << q;
        }
        near_match_scan(idx, c.base, hits);
        EXPECT_FALSE(hits.empty());
    }
}

TEST_F(WordIndexTest, AgreesWithBinarySearch) {
    // Latin and Cyrillic words in mixed case, with spellings that fold together.
    std::mt19937 rng(7);
    const std::string letters = std::string("abcxyzABCXYZ") + "\xe0\xe1\xe2\xc0\xc1\xc2\xb8\xa8";
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        std::string w;
        const int len = 1 + static_cast<int>(rng() % 6);
        for (int j = 0; j < len; ++j) w += letters[rng() % letters.size()];
        lines.push_back(w + " " + std::to_string(i));
    }
    load_lines(lines);
    const WordIndex& idx = word_index(english_set(0));
    ASSERT_EQ(idx.size(), m[0].entries.size());
    for (int i = 0; i < 20000; ++i) {
        std::string q;
        const int len = static_cast<int>(rng() % 7);
        for (int j = 0; j < len; ++j) q += letters[rng() % letters.size()];
        const ListPair* expected = find_pair(m[0], q);
        EXPECT_EQ(idx.find_entry(q), expected) << q;
    }
}

TEST_F(WordIndexTest, FindsEveryListedWordInEveryCaseThroughItsFilter) {
    // A list large enough to spread over many filter blocks; each word asked as listed, in
    // small and in capital letters, and with one letter more (mostly not a word: the filter's
    // answer then must still agree with a binary search).
    std::mt19937 rng(3);
    const std::string letters = std::string("abcdefghijklmnopqrstuvwxyz") + "\xe0\xe1\xe2\xe5\xe8\xee\xf2\xff";
    std::vector<std::string> lines;
    for (int i = 0; i < 20000; ++i) {
        std::string w;
        const int len = 2 + static_cast<int>(rng() % 12);
        for (int j = 0; j < len; ++j) w += letters[rng() % letters.size()];
        if (rng() % 3 == 0) w[0] = static_cast<char>(cp_toupper(static_cast<unsigned char>(w[0])));
        lines.push_back(w + " " + std::to_string(i));
    }
    load_lines(lines);
    const WordIndex& idx = word_index(english_set(0));
    for (const ListPair& e : m[0].entries) {
        std::string low(e.key), up(e.key);
        cp_strlwr(low);
        cp_strupr(up);
        for (const std::string& q : {std::string(e.key), low, up, low + "q"}) {
            const ListPair* expected = find_pair(m[0], q);
            ASSERT_EQ(idx.find_entry(q), expected) << q;
        }
    }
}

TEST_F(WordIndexTest, FollowsTheListAndTheLocale) {
    load_eng({"\xea\xed\xe8\xe3\xe0 7", "Book 8"});  // книга
    EXPECT_GE(word_index(english_set(0)).find("\xca\xcd\xc8\xc3\xc0"), 0);  // КНИГА
    EXPECT_GE(word_index(english_set(0)).find("BOOK"), 0);
    // Loaded again into the same row: the index follows.
    load_eng({"pen 1", "Ink 2"});
    EXPECT_LT(word_index(english_set(0)).find("book"), 0);
    EXPECT_EQ(word_index(english_set(0)).find_entry("ink")->rest, "2");
    // Under the C locale only ASCII letters fold (the list sorts the same way here).
    load_eng({"\xea\xed\xe8\xe3\xe0 7"});
    set_ctype_locale("C");
    EXPECT_LT(word_index(english_set(0)).find("\xca\xcd\xc8\xc3\xc0"), 0);
    EXPECT_GE(word_index(english_set(0)).find("\xea\xed\xe8\xe3\xe0"), 0);
    reset_ctype_locale();
    EXPECT_GE(word_index(english_set(0)).find("\xca\xcd\xc8\xc3\xc0"), 0);
}

// The hole filter closes only places no listed word fills: over short keys in mixed case (some with
// a hyphen or an apostrophe, some longer than the filter holds) and short questions, random ones and
// listed words with a letter changed, the candidates found with the gate are those found without
// it, in the same order; and it does close places.
TEST_F(WordIndexTest, HoleGateKeepsEveryCandidateTheListHolds) {
    std::mt19937 rng(5);
    const std::string letters = utf8_to_cp1251("абвгдежзийклмнопрстуфхцчшщъьюяАБВЕ");
    const auto random_word = [&](std::size_t len) {
        std::string w;
        for (std::size_t j = 0; j < len; ++j) w += letters[rng() % letters.size()];
        return w;
    };
    std::vector<std::string> keys, lines;
    for (int i = 0; i < 4000; ++i) {
        keys.push_back(random_word(1 + rng() % 8));
        std::string& w = keys.back();
        if (rng() % 20 == 0 && w.size() > 2) w[1 + rng() % (w.size() - 2)] = rng() % 2 ? '-' : '\'';
        lines.push_back(w + " " + std::to_string(i));
    }
    load_lines(lines);
    const WordIndex& idx = word_index(english_set(0));
    std::size_t found = 0, closed = 0;
    for (int q = 0; q < 3000; ++q) {
        std::string word = q % 2 ? random_word(2 + rng() % 6) : keys[rng() % keys.size()];
        if (q % 4 == 2 && word.size() > 2) word.erase(rng() % word.size(), 1);  // a letter dropped
        else if (q % 2 == 0) word[rng() % word.size()] = letters[rng() % letters.size()];
        KeyHasher hasher;
        hasher.prepare(word);
        const auto found_with = [&](PlaceGate gate) {
            std::vector<std::string> out;
            auto sink = [&](const EditCandidate& c) {
                if (idx.find_hashed(c.word, edit_key_hash(hasher, c)) < 0) return;
                std::string text(c.word);
                append_edit_note(text, c);
                out.push_back(text);
            };
            std::string scratch;
            generate_edits(word, kBulgarianLetters, upper_shaper, scratch, EditSink(sink), idx.max_key_length(), gate);
            return out;
        };
        const std::vector<std::string> all = found_with({});
        ASSERT_EQ(found_with({&idx, &hasher}), all) << word;
        found += all.size();
        for (std::size_t i = 0; i < word.size(); ++i) closed += !PlaceGate{&idx, &hasher}.open(EditKind::Change, i);
    }
    EXPECT_GT(found, 500u);
    EXPECT_GT(closed, 1000u);
}

TEST_F(WordIndexTest, EmptyAndLongQuestions) {
    EXPECT_LT(word_index(english_set(0)).find("x"), 0);  // empty list
    EXPECT_LT(word_index(english_set(99)).find("x"), 0);
    load_eng({"abc 1"});
    EXPECT_LT(word_index(english_set(0)).find(std::string(100000, 'a')), 0);
    EXPECT_LT(word_index(english_set(0)).find(""), 0);
}

// While helper threads read the indexes, a look-up on the thread that let them read that would build
// an index first has the helpers stop; on another thread it is refused, nothing changed.
// A list of more than a million entries leaves few bits beside an entry's position for its key's
// length: a key too long for them is found as any other, as are the ones before it; its near-match
// buckets hold positions of more than two bytes.
TEST_F(WordIndexTest, AVeryLongKeyInAListOfAMillionEntries) {
    std::vector<std::string> words;
    for (int i = 0; i < 1000; ++i) words.push_back("Word" + std::to_string(i));
    const std::string long_key = "Long" + std::string(3000, 'k');
    const auto lower = [](std::string w) {
        cp_strlwr(w);
        return w;
    };
    for (const bool with_long_key : {false, true}) {
        SCOPED_TRACE(with_long_key);
        std::vector<ListPair> list;
        for (std::size_t i = 0; i < (std::size_t{1} << 20); ++i) list.push_back({words[i % words.size()], {}});
        list.push_back({with_long_key ? std::string_view(long_key) : std::string_view("Last"), {}});
        WordIndex idx;
        idx.build(list);
        for (const std::size_t k : {std::size_t{0}, std::size_t{7}, std::size_t{999}})
            EXPECT_EQ(idx.find(lower(words[k])), static_cast<std::ptrdiff_t>(k));
        const std::string last(list.back().key);
        EXPECT_EQ(idx.find(last), static_cast<std::ptrdiff_t>(list.size() - 1));
        std::string folded;
        idx.folded_key(list.size() - 1, folded);
        EXPECT_EQ(folded, lower(last));
        EXPECT_EQ(idx.find(last + "k"), -1);
        if (with_long_key) continue;
        std::vector<std::size_t> hits, expected;
        near_match_scan(idx, "Wordd999", hits);
        for (std::size_t i = 0; i < idx.size(); ++i)
            if (near_match("Wordd999", idx.entry(i).key)) expected.push_back(i);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(hits, expected);
    }
}

TEST_F(WordIndexTest, AnIndexChangesOnlyOnceItsReadersHaveStopped) {
    load_eng({"abc 1", "abd 2"});
    const WordIndex& before = word_index(english_set(0));
    int stopped = 0;
    {
        WordIndexesShared shared([&] { ++stopped; });
        EXPECT_EQ(&word_index(english_set(0)), &before);  // built already: nothing to stop
        bool refused = false;
        std::thread([&] {
            try {
                drop_word_indexes();
            } catch (const std::logic_error&) {
                refused = true;
            }
        }).join();
        EXPECT_TRUE(refused);
        EXPECT_EQ(stopped, 0);
        load_eng({"abc 1", "abd 2", "abe 3"});
        EXPECT_GE(word_index(english_set(0)).find("abe"), 0);
        EXPECT_EQ(stopped, 1);
        drop_word_indexes();  // the readers were stopped once: the scope has ended
        EXPECT_EQ(stopped, 1);
    }
    EXPECT_GE(word_index(english_set(0)).find("abd"), 0);
}
