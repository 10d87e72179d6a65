// Filing the checker window's selection into word-class lists and sentence corpora.
#include <algorithm>

#include "lex_test_util.h"
#include "shell/files.h"
#include "lexicon/corpora.h"
#include "lexicon/filing.h"
#include "lexicon/panels.h"
#include "lexicon/wordclass.h"
#include "shell/settings.h"

namespace {

constexpr int kRight = 1171, kLeft = 1170, kBottom = 1172;

class FilingTest : public LexTest {
protected:
    void SetUp() override {
        LexTest::SetUp();
        data.write("c/c_c11.txt", "cat котка\n");
        load_lexicon(data.path());
        hBig = make_panel_dialog({kRight, kLeft, kBottom});
        hBigReRight = GetDlgItem(hBig, kRight);
        hBigReLeft = GetDlgItem(hBig, kLeft);
        hBigReBot = GetDlgItem(hBig, kBottom);
    }
    // Selects the whole English text in the right panel and the Bulgarian one in `side`.
    void select(std::string_view en, std::string_view bg, HWND side) {
        set_panel(hBigReRight, en, 0, -1);
        set_panel(hBigReLeft, "", 0, 0);
        set_panel(hBigReBot, "", 0, 0);
        if (side) set_panel(side, bg, 0, -1);
    }
    std::string last_text() const {
        return hs->message_boxes.empty() ? "" : utf16_to_utf8(hs->message_boxes.back().text);
    }
    std::string entry(int row, std::string_view key) {
        const ListPair* p = c_find(row, key);
        if (!p) return "<none>";
        return p->has_rest() ? u8(p->rest) : "<no rest>";
    }
    bool leftovers(std::string_view folder) {
        for (auto& e : std::filesystem::directory_iterator(data.file(folder)))
            if (e.path().filename().string().find(".tmp") != std::string::npos) return true;
        return false;
    }
};

TEST_F(FilingTest, AKeyIsFiledSortedWithBackupAndJournal) {
    select("black\rbox", "черна кутия", hBigReLeft);
    write_to_c(0, 1, 0);
    EXPECT_EQ(entry(0, "black_box"), "черна кутия");
    EXPECT_EQ(c_glob[0].count, 2u);
    EXPECT_EQ(u8(data.read("c/c_c11.txt")), "black_box черна кутия\r\ncat котка\r\n");
    EXPECT_EQ(u8(data.read("c/c_c11_old.txt")), "cat котка\r\n");
    const std::string journal = u8(data.read("cdate.txt"));
    EXPECT_NE(journal.find("\tc_c11\t+\tblack_box\tчерна кутия\r\n"), std::string::npos) << journal;
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), "Done!");
    EXPECT_NE(last_text().find("black_box"), std::string::npos);
    EXPECT_NE(last_text().find("(total 2)"), std::string::npos);
    EXPECT_FALSE(leftovers("c"));
    // The exports of the word-class lists.
    EXPECT_NE(u8(data.read("C_ALL.txt")).find("black_box\tчерна кутия\tc11\r\n"), std::string::npos);
    EXPECT_NE(data.read("C_TEMP_RANK.txt").find("1000000 black_box\r\n"), std::string::npos);
    // The filed selection is green and bold.
    CHARFORMAT2W f = RE_GetCharFormatAt(hBigReRight, 1);
    EXPECT_EQ(f.crTextColor, 0x00CC00u);
    EXPECT_TRUE(f.dwEffects & CFE_BOLD);
}

TEST_F(FilingTest, TheGlossaryWritesMarkupCharactersAsText) {
    gl_GENERATE_HTML = 1;
    const struct {
        const char* key;
        const char* rendering;
        const char* row;  // the glossary's row of the filed entry
    } cases[] = {
        {"a<b", "по-малко", "<tr><td>a&lt;b</td><td>по-малко</td><td>c11</td></tr>"},
        {"R&D", "развойна дейност", "<tr><td>R&amp;D</td><td>развойна дейност</td><td>c11</td></tr>"},
        {"big", "<голям> & \"висок\"",
         "<tr><td>big</td><td>&lt;голям&gt; &amp; &quot;висок&quot;</td><td>c11</td></tr>"},
    };
    for (const auto& c : cases) {
        select(c.key, c.rendering, hBigReLeft);
        write_to_c(0, 0, 0);
        const std::string html = u8(data.read("C_ALL.html"));
        EXPECT_NE(html.find(c.row), std::string::npos) << html;
    }
    // Markup appears only where the glossary itself writes it.
    const std::string html = u8(data.read("C_ALL.html"));
    for (const char* raw : {"a<b", "R&D", "<голям", "\"висок"}) EXPECT_EQ(html.find(raw), std::string::npos) << raw;
}

TEST_F(FilingTest, AFreeSlotOfTheGroup) {
    select("cat", "котарак", hBigReLeft);
    write_to_c(0, 1, 0);
    EXPECT_EQ(entry(0, "cat"), "котка");
    EXPECT_EQ(entry(1, "cat"), "котарак") << "c_c11 holds it: the next list of the group";
    EXPECT_TRUE(data.exists("c/c_c12.txt"));
    // A row that does not begin its group takes the key itself (an update question follows).
    select("cat", "мачор", hBigReLeft);
    hs->message_box_answers = {IDYES};
    write_to_c(1, 1, 0);
    EXPECT_EQ(entry(1, "cat"), "мачор");
}

TEST_F(FilingTest, AGroupWithoutAFreeSlot) {
    const char* renderings[] = {"здравей", "здрасти", "здрасе", "привет"};
    for (int r = 417; r < 421; ++r) {
        select("hello", renderings[r - 417], hBigReLeft);
        write_to_c(417, 1, 0);
        EXPECT_EQ(entry(r, "hello"), renderings[r - 417]) << r;
    }
    // The same pair in another list of the group asks first.
    EXPECT_EQ(c_glob[421].count, 0u);
    select("hello", "ехо", hBigReLeft);
    write_to_c(417, 1, 0);
    EXPECT_EQ(last_text(), "Няма повече слотове! Изтрийте слот и опитайте пак.");
}

TEST_F(FilingTest, AnExistingKeyIsUpdatedOrDeleted) {
    select("cat", "котенце", hBigReLeft);
    hs->message_box_answers = {IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes.back().caption), "Done!");
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[hs->message_boxes.size() - 2].text),
              "\"cat\" котка вече съществува в списъка. Искате ли да я актуализирате?\r\n\r\n");
    EXPECT_EQ(entry(0, "cat"), "котенце");

    select("cat", "x y", hBigReLeft);
    hs->message_box_answers = {IDNO, IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "cat"), "<none>");
    EXPECT_EQ(data.read("c/c_c11.txt"), "");
    EXPECT_EQ(u8(data.read("c/c_c11_old.txt")), "cat котенце\r\n");

    // No to both questions changes nothing.
    select("new", "нов", hBigReLeft);
    write_to_c(0, 0, 0);
    select("new", "друг", hBigReLeft);
    hs->message_box_answers = {IDNO, IDNO};
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "new"), "нов");
}

TEST_F(FilingTest, SelectionsThatAreRefused) {
    set_panel(hBigReRight, "text", 0, 0);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "Не сте избрали текст. Опитайте пак.");
    select(std::string(1024, 'a'), "дълго", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "Текстът, които искате да добавите е прекалено дълъг.");
    select("long", std::string(513, 'b'), hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "Текстът, които искате да добавите е прекалено дълъг.");
    select("a\t\tb", "две", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "Повече от една табулация! Оправете текста и опитайте пак.");
    const size_t boxes = hs->message_boxes.size();
    write_to_c(0, 0, 0);
    EXPECT_EQ(hs->message_boxes.size(), boxes) << "the double tab is told once";
    // A key ending in a punctuation mark is a sentence: No stops.
    select("hello.", "здравей", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "hello.Препинателен знак в края предполага ИЗРЕЧЕНИЕ. Искате ли да го добавите?\r\n\r\n");
    EXPECT_EQ(c_glob[0].count, 1u);
    EXPECT_FALSE(data.exists("cdate.txt"));
}

TEST_F(FilingTest, TheRenderingFromTheClipboard) {
    select("dog", "", nullptr);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text(), "Не сте избрали дефиниция. Опитайте пак.");
    hs->clipboard = u"куче";
    hs->message_box_answers = {IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(utf16_to_utf8(hs->message_boxes[hs->message_boxes.size() - 2].text),
              "кучеНе сте избрали дефиниция. Искате ли да ползвате дефиниция от клипборда?\r\n\r\n");
    EXPECT_EQ(entry(0, "dog"), "куче");
    // The bottom panel is a source too; the left panel only while the report is not printed down.
    select("bird", "птица", hBigReBot);
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "bird"), "птица");
    gl_PRINT_DOWN = 1;
    select("fish", "риба", hBigReLeft);
    hs->clipboard = u"рибка";
    gl_SHOW_MESSAGES = 0;
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "fish"), "рибка");
}

TEST_F(FilingTest, LowerCaseAndListsWithoutRendering) {
    select("Big Apple", "Голямата Ябълка", hBigReLeft);
    write_to_c(0, 0, 1);
    const ListPair* p = c_find(0, "big_apple");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p->key), "big_apple");
    EXPECT_EQ(u8(p->rest), "голямата ябълка");
    select("quixotic", "", nullptr);
    write_to_c(C_HARD3, 0, 0);
    EXPECT_EQ(entry(C_HARD3, "quixotic"), "<no rest>");
    EXPECT_EQ(data.read("c/hard3.txt"), "quixotic\r\n");
}

TEST_F(FilingTest, WithoutMessagesTheResultGoesToTheStatusLine) {
    gl_SHOW_MESSAGES = 0;
    select("sun", "слънце", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_TRUE(hs->message_boxes.empty());
    const std::string label = utf16_to_utf8(GetWindowTextW(GetDlgItem(hBig, IDC_BIG_LABEL)));
    EXPECT_NE(label.find("sun"), std::string::npos);
    EXPECT_EQ(label.find('\r'), std::string::npos);
    EXPECT_NE(label.find("__(total 2)"), std::string::npos) << label << "|";
}

TEST_F(FilingTest, SentencesGoToTheCorpusOfTheirMark) {
    select("The dog barks.", "Кучето лае.", hBigReBot);
    write_to_cs(0, 0);
    const SentencePair* s = find_sentence(cs_glob[0], "the_dog_barks");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->en_mark, '.');
    EXPECT_EQ(u8(s->bg), "Кучето лае");
    EXPECT_EQ(u8(data.read("c/cs_11.txt")), "The_dog_barks.\tКучето лае.\r\n");
    EXPECT_EQ(last_text(), "\"The dog barks\" е добавена успешно в SENTENCE.\r\n\r\n(total 1)");
    EXPECT_NE(u8(data.read("csdate.txt")).find("\tcs_11\t+\tThe_dog_barks\tКучето лае"), std::string::npos);

    select("Who is there?", "Кой е там?", hBigReBot);
    write_to_cs(1, 0);
    EXPECT_NE(find_sentence(csq_glob[1], "who_is_there"), nullptr);
    EXPECT_TRUE(data.exists("c/csq_12.txt"));
    select("Stop!", "Спри!", hBigReBot);
    write_to_cs(0, 1);
    EXPECT_NE(find_sentence(cse_cust_glob[0], "stop"), nullptr);
    select("if you want,", "ако искаш,", hBigReBot);
    write_to_cs(0, 2);
    s = find_sentence(csc_globC[0], "if_you_want");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->en_mark, ',');
    EXPECT_TRUE(data.exists("c/cs,c_11.txt"));
    // The file the loader reads back holds the same entries.
    reset_lexicon();
    load_lexicon(data.path());
    EXPECT_NE(find_sentence(csc_globC[0], "if_you_want"), nullptr);
    EXPECT_NE(find_sentence(cs_glob[0], "The_dog_barks"), nullptr);
}

TEST_F(FilingTest, SentencesWithoutMarksQuotesAndTimeCodes) {
    select("No mark here", "Без знак.", hBigReBot);
    write_to_cs(0, 0);
    EXPECT_EQ(last_text(), "Избраното английско изречение е без препинателен знак. Искате ли да го добавите като "
                           "завършващо с точка?");
    EXPECT_EQ(cs_glob[0].count, 0u);
    hs->message_box_answers = {IDYES};
    write_to_cs(0, 0);
    ASSERT_NE(find_sentence(cs_glob[0], "No_mark_here"), nullptr);
    EXPECT_EQ(find_sentence(cs_glob[0], "No_mark_here")->en_mark, '.');

    select("Bulk line", "Ред", hBigReBot);
    hs->message_box_answers = {IDYES};  // the Bulgarian side has no mark
    write_to_cs(2, 3);
    const SentencePair* s = find_sentence(cs_globB[2], "Bulk_line");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->en_mark, 0x85);
    EXPECT_EQ(s->bg_mark, 0);

    select("\"Quoted.\"", "„Цитат.“", hBigReBot);
    write_to_cs(0, 0);
    s = find_sentence(cs_glob[0], "Quoted");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(u8(s->bg), "„Цитат");

    select("Hello there\r\r2\r00:00:03,000 --> 00:00:04,000\rmy friend.", "Здравей, приятелю.", hBigReBot);
    write_to_cs(0, 0);
    EXPECT_NE(find_sentence(cs_glob[0], "Hello_there_my_friend"), nullptr);
}

TEST_F(FilingTest, SentencesFromTheClipboardEmptyIt) {
    select("Good night.", "", nullptr);
    hs->clipboard = u"Лека нощ.";
    hs->message_box_answers = {IDYES};
    write_to_cs(0, 0);
    EXPECT_NE(find_sentence(cs_glob[0], "Good_night"), nullptr);
    EXPECT_FALSE(hs->clipboard.has_value() && !hs->clipboard->empty()) << "the clipboard was taken";
    // Deleting an existing sentence.
    select("Good night.", "Лека.", hBigReBot);
    hs->message_box_answers = {IDNO, IDYES};
    write_to_cs(0, 0);
    EXPECT_EQ(find_sentence(cs_glob[0], "Good_night"), nullptr);
    EXPECT_EQ(last_text(), "\"Good night\" е изтрита успешно\r\n\r\n(total 0)");
}


// A list that did not fit into the room of the lists holds only part of its file: filing into it
// keeps the entries that were not loaded, and a deletion or an update still acts on the file.
TEST_F(FilingTest, FilingIntoAListLoadedInPartKeepsTheEntriesNotLoaded) {
    OP[OPT_MAX_TOKENS_IN_ALL_DICTIONARIES].num_value = 2;
    data.write("c/c_c11.txt", "ant мравка\nbee пчела\ncat котка\ndog куче\n");
    load_lexicon(data.path());
    ASSERT_EQ(c_glob[0].count, 2u);
    hs->message_boxes.clear();
    select("eel", "змиорка", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "eel"), "змиорка");
    EXPECT_EQ(u8(data.read("c/c_c11.txt")), "ant мравка\r\nbee пчела\r\ncat котка\r\ndog куче\r\neel змиорка\r\n");
    // An entry that was loaded, deleted: it goes from the file, the others stay.
    select("ant", "мравка", hBigReLeft);
    hs->message_box_answers = {IDNO, IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "ant"), "<none>");
    EXPECT_EQ(u8(data.read("c/c_c11.txt")), "bee пчела\r\ncat котка\r\ndog куче\r\neel змиорка\r\n");
}

TEST_F(FilingTest, FilingIntoACorpusLoadedInPartKeepsTheSentencesNotLoaded) {
    OP[OPT_MAX_TOKENS_IN_SENTENCE_DICTIONARIES].num_value = 1;
    data.write("c/cs_11.txt", "One.\tЕдно.\nTwo;\tДве;\n");
    load_lexicon(data.path());
    ASSERT_EQ(cs_glob[0].count, 1u);
    select("Three.", "Три.", hBigReBot);
    write_to_cs(0, 0);
    EXPECT_NE(find_sentence(cs_glob[0], "Three"), nullptr);
    EXPECT_EQ(u8(data.read("c/cs_11.txt")), "One.\tЕдно.\r\nThree.\tТри.\r\nTwo;\tДве;\r\n");
}

// A filing whose list could not be written leaves the list as its file: a deletion that failed
// can be made again, an addition that failed is not shown as filed.
TEST_F(FilingTest, AFilingThatCouldNotBeWrittenLeavesTheListAsItsFile) {
    std::filesystem::remove(data.file("c/c_c11.txt"));
    std::filesystem::create_directories(data.file("c/c_c11.txt/inside"));
    select("cat", "котка", hBigReLeft);
    hs->message_box_answers = {IDNO, IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text().rfind("Cannot write to ", 0), 0u) << last_text();
    EXPECT_EQ(entry(0, "cat"), "котка");
    select("dog", "куче", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "dog"), "<none>");
    EXPECT_EQ(c_glob[0].count, 1u);

    std::filesystem::remove_all(data.file("c/c_c11.txt"));
    select("cat", "котка", hBigReLeft);
    hs->message_box_answers = {IDNO, IDYES};
    write_to_c(0, 0, 0);
    EXPECT_EQ(entry(0, "cat"), "<none>");
    EXPECT_EQ(data.read("c/c_c11.txt"), "");

    // The same for a sentence corpus.
    std::filesystem::create_directories(data.file("c/cs_11.txt/inside"));
    select("Good night.", "Лека нощ.", hBigReBot);
    write_to_cs(0, 0);
    EXPECT_EQ(last_text().rfind("Cannot write to ", 0), 0u) << last_text();
    EXPECT_EQ(find_sentence(cs_glob[0], "Good_night"), nullptr);
    EXPECT_EQ(cs_glob[0].count, 0u);
}

}  // namespace

namespace {

// The journals tell only of changes that reached the list's file.
TEST_F(FilingTest, TheJournalFollowsOnlyASavedChange) {
    // The backup is the first write, the list the second.
    fail_safe_write_at(SafeWriteStep::Rename, EXDEV, 2);
    select("dog", "куче", hBigReLeft);
    write_to_c(0, 0, 0);
    EXPECT_EQ(last_text().rfind("Cannot write to ", 0), 0u) << last_text();
    EXPECT_FALSE(data.exists("cdate.txt"));
    write_to_c(0, 0, 0);
    EXPECT_NE(u8(data.read("cdate.txt")).find("\tc_c11\t+\tdog\tкуче\r\n"), std::string::npos);

    fail_safe_write_at(SafeWriteStep::Flush, EIO);  // no file yet: no backup, the list is the first write
    select("Good night.", "Лека нощ.", hBigReBot);
    write_to_cs(0, 0);
    EXPECT_EQ(last_text().rfind("Cannot write to ", 0), 0u) << last_text();
    EXPECT_FALSE(data.exists("csdate.txt"));
    write_to_cs(0, 0);
    EXPECT_NE(u8(data.read("csdate.txt")).find("\tcs_11\t+\tGood_night\tЛека нощ\r\n"), std::string::npos);
}

// A key that a class of another category holds already, and a phrase filed into a class of single
// words, are filed only when the user says so.
TEST_F(FilingTest, ANonExclusiveKeyAndAPhraseInASingleWordClassAsk) {
    const int adj = c_row_by_name("c_adj11"), verb = c_row_by_name("c_v_az11"), two = c_row_by_name("c_two11");
    ASSERT_GE(adj, 0);
    ASSERT_GE(verb, 0);
    ASSERT_GE(two, 0);
    struct Case {
        const char* key;
        int row;
        std::vector<int> answers;
        std::string asked;  // the question ("" for none)
        bool filed;
    };
    const std::vector<Case> cases = {
        {"cat", adj, {IDNO}, "НЕЕКСЛУЗИВЕН СЕТ. Искате ли да добавите?\r\n\r\n", false},
        {"cat", adj, {IDYES}, "НЕЕКСЛУЗИВЕН СЕТ. Искате ли да добавите?\r\n\r\n", true},
        {"give up", verb, {IDNO}, "\"give\" ли е ключовата дума?\r\n", false},
        {"give up", verb, {IDYES}, "\"give\" ли е ключовата дума?\r\n", true},
        {"black box", two, {}, "", true},   // a list of two-word keys takes phrases
        {"post office", 0, {}, "", true},   // and so do the noun classes (compound nouns)
        {"red", adj, {}, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.row));
        std::string key = c.key;
        std::replace(key.begin(), key.end(), ' ', '_');
        if (c_find(c.row, key)) {  // filed by the case before: deleted again
            select(c.key, "x", hBigReLeft);
            hs->message_box_answers = {IDNO, IDYES};
            write_to_c(c.row, 0, 0);
        }
        hs->message_boxes.clear();
        hs->message_box_answers.assign(c.answers.begin(), c.answers.end());
        select(c.key, "превод", hBigReLeft);
        write_to_c(c.row, 0, 0);
        EXPECT_EQ(c_find(c.row, key) != nullptr, c.filed);
        const bool asked = std::any_of(hs->message_boxes.begin(), hs->message_boxes.end(), [&](const auto& b) {
            return utf16_to_utf8(b.text) == c.asked;
        });
        EXPECT_EQ(asked, !c.asked.empty());
        EXPECT_EQ(hs->message_boxes.size(), c.asked.empty() ? 1u : 1u + (c.filed ? 1u : 0u));
    }
}

// The files a filing writes after the list (the backup before it, the journal line, the exports)
// may fail on their own: the change stays filed, the result is shown, and then a message names
// each file that was not written.
TEST_F(FilingTest, FilesNotWrittenBesideTheListAreTold) {
    gl_GENERATE_HTML = 1;
    struct Case {
        const char* what;
        bool sentence;
        int nth;              // the write that fails (the backup, the list, the journal, the exports in order)
        const char* blocked;  // or a folder standing where this file goes ("" for none)
        const char* unwritten;
    };
    const std::vector<Case> cases = {
        {"the backup", false, 1, "", "c/c_c11_old.txt"},
        {"the journal", false, 3, "", "cdate.txt"},
        {"the export of all entries", false, 4, "", "C_ALL.txt"},
        {"the export of the ranks", false, 5, "", "C_TEMP_RANK.txt"},
        {"the glossary", false, 6, "", "C_ALL.html"},
        {"the journal, a folder in its place", false, 0, "cdate.txt", "cdate.txt"},
        {"the corpus journal", true, 2, "", "csdate.txt"},  // a new corpus: no backup
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string key = "word" + std::to_string(++n);
        if (*c.blocked) {
            std::filesystem::remove(data.file(c.blocked));
            std::filesystem::create_directories(data.file(std::string(c.blocked) + "/inside"));
        }
        if (c.nth) fail_safe_write_at(SafeWriteStep::Write, ENOSPC, c.nth);
        hs->message_boxes.clear();
        if (c.sentence) {
            std::filesystem::remove(data.file("c/cs_11.txt"));
            select("Key " + key + ".", "Ключ.", hBigReBot);
            write_to_cs(0, 0);
            EXPECT_NE(u8(data.read("c/cs_11.txt")).find("Key_" + key + ".\tКлюч."), std::string::npos);
        } else {
            select(key, "дума", hBigReLeft);
            write_to_c(0, 0, 0);
            EXPECT_NE(u8(data.read("c/c_c11.txt")).find(key + " дума\r\n"), std::string::npos);
            EXPECT_EQ(entry(0, key), "дума");
        }
        ASSERT_EQ(hs->message_boxes.size(), 2u);
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes[0].caption), "Done!");
        EXPECT_EQ(utf16_to_utf8(hs->message_boxes[1].caption), "Oops!");
        const std::string told = last_text();
        const std::string named = "Cannot write to " + data.file(c.unwritten).string() + ", reason: ";
        EXPECT_EQ(told.rfind(named, 0), 0u) << told;
        EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 2) << "one file named: " << told;
        EXPECT_NE(told.find("\nThe change of \"" + std::string(c.sentence ? "Key_" : "") + key + "\" was saved in " +
                            (c.sentence ? "cs_11" : "c_c11") + "; the files above were not written."),
                  std::string::npos)
            << told;
        if (*c.blocked) std::filesystem::remove_all(data.file(c.blocked));
    }
}

// A NUL byte in a selection becomes a blank, as in a dropped file: the key and the rendering are
// filed in lines that the next start loads again.
TEST_F(FilingTest, ANulByteOfASelectionBecomesABlank) {
    using namespace std::string_literals;
    const struct {
        bool sentence;
        std::string en, bg;
        const char* key;
        const char* rendering;
    } cases[] = {
        {false, "black\0box"s, "черна\0кутия"s, "black_box", "черна кутия"},
        {false, "\0red"s, "червен\0"s, "red", "червен"},
        {true, "Good\0night."s, "Лека\0нощ."s, "Good_night", "Лека нощ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        if (c.sentence) {
            select(c.en, c.bg, hBigReBot);
            write_to_cs(0, 0);
        } else {
            select(c.en, c.bg, hBigReLeft);
            write_to_c(0, 0, 0);
        }
    }
    // The next start.
    load_lexicon(data.path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        if (c.sentence) {
            const SentencePair* s = find_sentence(cs_glob[0], c.key);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(u8(s->bg), c.rendering);
        } else {
            EXPECT_EQ(entry(0, c.key), c.rendering);
        }
    }
}

}  // namespace
