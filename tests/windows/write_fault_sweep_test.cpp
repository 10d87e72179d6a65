// Every writer of the program run with each of its writes failing in turn: the files it writes are
// never left half-written, and the failure is told with the name of the file.
#include "audio/archive.h"
#include "audio/audio_state.h"
#include "audio/pronunciation.h"
#include "checker_fixture.h"
#include "dictionary/custom_words.h"
#include "dictionary/main_window.h"
#include "engine/lookup_state.h"
#include "engine/run/bg_text_pass.h"
#include "foldertools/text_tools.h"
#include "lexicon/filing.h"
#include "shell/files.h"
#include "support/lemma_tables.h"
#include "support/write_fault_sweep.h"
#include "windows/bgtext_window.h"
#include "windows/lemma_report.h"

namespace {

class WriteFaultSweep : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        start_dir = data.path();
        open();
        log = data.file("statistics_log.txt");
        fl_stat = open_out(log, "wb");
    }
    void TearDown() override {
        closefile(fl_stat, "");
        fl_stat = nullptr;
        CheckerTest::TearDown();
    }
    // Forgets what was told so far.
    void quiet() {
        hs->message_boxes.clear();
        take_write_failures();
        forget_told_write_failures();  // each run tells its failure as the first one
        std::fflush(fl_stat);
        log_told = std::filesystem::file_size(log);
    }
    // The boxes shown and the log lines written since quiet().
    std::string told() const {
        std::string text;
        for (const auto& box : hs->message_boxes) text += utf16_to_utf8(box.text) + "\n";
        std::fflush(fl_stat);
        return text + data.read("statistics_log.txt").substr(log_told);
    }
    jux_test::FaultyWriter writer(std::string name, std::vector<std::string> files, std::function<void()> prepare,
                                  std::function<void()> write, std::string stream = {}) {
        jux_test::FaultyWriter w;
        w.name = std::move(name);
        for (const std::string& f : files) w.files.push_back(data.file(f));
        w.prepare = [this, files, prepare] {
            for (const std::string& f : files) std::filesystem::remove(data.file(f));
            prepare();
            quiet();
        };
        w.write = std::move(write);
        w.told = [this] { return told(); };
        // The streams swept are outputs filled as the writer goes (reports, exports, the audio
        // archive), but for the temporary files that are put in place only when whole.
        w.cut_short = !stream.empty() && !stream.ends_with(".part");
        w.stream = std::move(stream);
        return w;
    }
    // The same writer, its files compared with their digits masked: journal lines carry the time
    // of the filing, reports the counts of what they could write.
    static jux_test::FaultyWriter masked(jux_test::FaultyWriter w) {
        w.normal = [](std::string s) {
            std::string out;
            for (char c : s)
                if (c < '0' || c > '9') out += c;
                else if (out.empty() || out.back() != '#') out += '#';
            return out;
        };
        return w;
    }
    // The same writer, the items of whose files named `files`... end where `item_end` does (not at
    // every line end).
    static jux_test::FaultyWriter items_ending(jux_test::FaultyWriter w, std::string files, std::string item_end) {
        w.ends_item = [item_end, files](const std::filesystem::path& f, const std::string& whole, std::size_t cut) {
            if (!f.filename().string().starts_with(files)) return jux_test::ends_line(whole, cut);
            return cut == 0 || std::string_view(whole).substr(0, cut).ends_with(item_end);
        };
        return w;
    }
    // The same writer, whose files must never be cut short (a clip is played whole or not at all).
    static jux_test::FaultyWriter whole(jux_test::FaultyWriter w) {
        w.cut_short = false;
        return w;
    }
    // The demonstration lexicon's word-class lists and corpora back as they were.
    void restore_lists() {
        std::filesystem::copy(std::filesystem::path(JUX_DEMO_DIR) / "c", data.file("c"),
                              std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive);
        load_word_classes(data.path());
        load_corpora(data.path());
    }

    // A check of the right panel's text with only the given switches of the run's optional outputs
    // on (a text from a file, for the spelling logs).
    static std::function<void()> checking(std::string text, std::vector<std::int8_t*> on) {
        return [text, on] {
            for (std::int8_t* flag : {&gl_AUTO_SPELL, &gl_AUTO_OCR, &gl_MACHINE_TRANSLATION, &gl_STRIP_TIMECODE,
                                      &gl_PARSE_LATIN_WORDS, &gl_ENGLIST_GENARATE_FILE, &gl_SPELL_CHECKER_LOG})
                *flag = 0;
            for (std::int8_t* flag : on) *flag = 1;
            gl_isFromFile = 1;
            quiet_set(hBigReRight, text);
        };
    }
    // The statistics log begun again, as at a start.
    void restart_log() {
        closefile(fl_stat, "");
        fl_stat = open_out(log, "wb");
    }

    std::filesystem::path log;
    std::uintmax_t log_told = 0;
};

TEST_F(WriteFaultSweep, EveryWriterLeavesOldOrWholeFilesAndTellsTheFailure) {
    jux_test::LemmaTables lemmas;
    lemmas.word("cat", "котка", 1500);
    lemmas.word("cats", "pl. of cat", 3200);
    lemmas.word("go", "отивам", 40000);
    lemmas.word("went", "pt of go", 50000);
    std::vector<std::string> reports;
    for (const std::string& r : lemma_report_names()) reports.push_back(r + ".txt");
    reports.push_back("A_GROUPED_BY LEMMA.renaming");
    auto clips = [this] {
        data.write("clips/a.txt", "АЕОИ а е о и");
        data.write_raw("clips/b/c.txt", "Дума: а е о и");  // UTF-8
        hs->folder_dialog_answers.push_back(data.file("clips"));
    };
    auto save = [this] {
        data.write_raw("saved.txt", "old text\n");
        quiet_set(hBigReRight, "new text");
        gl_SPELL_CHECKER_LOG = 1;
        gl_log = "a -> b\r\n";
    };
    auto file_word = [this] {
        restore_lists();
        quiet_set(hBigReRight, "sweepword");
        quiet_set(hBigReLeft, "превод");
    };
    auto file_sentence = [this] {
        restore_lists();
        quiet_set(hBigReRight, "Key sweep.");
        quiet_set(hBigReLeft, "");
        quiet_set(hBigReBot, "Ключ.");
    };
    auto custom_word = [this] {
        b[B_BULGARIAN_CUSTOM].name = "b_bulgarian_custom";
        b[B_BULGARIAN_CUSTOM].entries.clear();
        data.write("b_bulgarian_custom.txt", "старадума\n");
        set_panel(hAddReShort, "новадума", 0, 0);
    };
    auto new_words = [this] {
        DictFileRecord& list = b[B_BULGARIAN_NEW];
        list.name = "b_bulgarian_new";
        data.write("b_bulgarian_new.txt", "стара\n");
        static const std::string old_word = cp("стара"), new_word = cp("нова");
        list.entries = {ListPair{old_word, {}}, ListPair{new_word, {}}};
        list.count = list.entries.size();
        new_words_at_start = 1;
    };
    std::vector<std::string> exports;
    for (const char* kind : {"SPACE_NUM", "SPACE_NUM_SENTENCE", "SPACE_NUM_NO_SENTENCE", "SPACE_ALPHA",
                             "SPACE_ALPHA_SENTENCE", "SPACE_ALPHA_NO_SENTENCE", "TOKENS_ALPHA_UNGROUPED_INSENCS",
                             "TOKENS_ALPHA_UNGROUPED_SENS", "TOKENS_NUM_GROUPED", "TOKENS_ALPHA_GROUPED_INSENCS"})
        exports.push_back(std::string("___DOWN_") + kind + ".txt");
    ASSERT_TRUE(open_bgtext_window());
    auto text = [] { quiet_set(hBgTextRe, "The dog saw the cat. The Dog, and the dog.", 0, 0); };
    auto bgtext_pass = [] {
        std::string work;
        translate_bgtext(hBgTextRe, hBgTextLabel, work);
    };
    // A word's clip cut out of the English archive into the clip folder, with its request line.
    auto archive = [this] {
        gl_say_word = gl_TALKING_MODE = gl_AUDIO_GER = 1;  // extracted, not played
        audio_folder_warned = false;
        std::filesystem::remove_all(data.file("audio_ogg"));
        data.write_raw("audio/audio", std::string(3000, 'o'));
        const auto index = data.write_raw("audio_index.txt", audio_index_line("cat", 1000, 2000));
        DictFileRecord& rec = b[B_ENGLISH_AO];
        rec.entries.clear();
        rec.text = load_pairs(index, ListLoadOptions{}, rec.entries, &rec.stats);
        rec.count = rec.entries.size();
    };
    archive();
    ASSERT_EQ(say_word("cat"), 1);
    std::vector<std::string> clip_files;
    for (const auto& e : std::filesystem::directory_iterator(data.file("audio_ogg")))
        clip_files.push_back("audio_ogg/" + e.path().filename().string());
    ASSERT_EQ(clip_files.size(), 2u);
    const auto check = [] { check_right_panel(hBig); };
    const std::string subtitles = "1\r00:00:01,000 --> 00:00:02,000\rHello there\r\r2\r00:00:03,000 --> 00:00:04,000\rMore";
    std::vector<std::string> spelling_logs;
    for (const char* kind : {"all", "missing", "upper_only", "lower_only", "first_upper", "mixed"})
        spelling_logs.push_back(std::string("cyr_") + kind + ".txt");
    auto search_log = [this] {
        if (fl_searchlog) std::fclose(fl_searchlog);
        fl_searchlog = nullptr;
        previous_exact.clear();
        open_search_log();
    };
    auto look_ups = [] {
        for (const char16_t* word : {u"apple", u"about", u"cat"}) {
            headless_select(hAddReShort, 0, -1);
            headless_type(hAddReShort, word);
        }
        close_search_log();
    };
    // A run of the lemma reports that was cut short: the next run removes its leftover and logs it.
    auto leftover = [this, &lemmas] {
        lemmas.install();
        restart_log();
        data.write(lemma_report_names().front() + ".txt.part", "cut");
    };
    auto pairs = [this] {
        data.write("pairs/EN_one.txt", "First English text.");
        data.write("pairs/BG_one.txt", "Първи български текст.");
        data.write("pairs/sub/EN_two.txt", "Second.");
        hs->folder_dialog_answers.push_back(data.file("pairs"));
    };
    // The archive's items are the clips, one after the other in walk order (a.txt, then b/c.txt);
    // its index's are lines.
    auto archive_of_clips = [this](jux_test::FaultyWriter w) {
        w.ends_item = [this](const std::filesystem::path& file, const std::string& whole, std::size_t cut) {
            if (file.filename() != "audio_NEW") return jux_test::ends_line(whole, cut);
            const std::size_t a = data.read("clips/a.txt").size(), c = data.read("clips/b/c.txt").size();
            return cut == 0 || cut == a || cut == a + c;
        };
        return w;
    };
    // A repeated passage is told in two lines, the second beginning "... ".
    auto passages = [](jux_test::FaultyWriter w) {
        w.ends_item = [](const std::filesystem::path&, const std::string& whole, std::size_t cut) {
            if (cut == 0) return true;
            if (whole[cut - 1] != '\n') return false;
            const std::size_t before = cut >= 2 ? whole.rfind('\n', cut - 2) : std::string::npos;
            return whole.compare(before == std::string::npos ? 0 : before + 1, 4, "... ") == 0;
        };
        return w;
    };
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(data.path());  // the exports go to the working folder
    const jux_test::FaultyWriter writers[] = {
        writer("the checker's Save", {"saved.txt", "LOG_"}, save,
               [this] {
                   hs->file_dialog_answers.push_back(data.file("saved.txt"));
                   headless_menu(hBig, 9220);
               }),
        masked(writer("filing into a word-class list",
               {"c/c_c11.txt", "c/c_c11_old.txt", "cdate.txt", "C_ALL.txt", "C_TEMP_RANK.txt", "C_ALL.html"}, file_word,
               [] { write_to_c(0, 0, 0); })),
        masked(writer("filing into a corpus", {"c/cs_11.txt", "c/cs_11_old.txt", "csdate.txt"}, file_sentence,
               [] { write_to_cs(0, 0); })),
        writer("the lemma reports", reports, [&lemmas] { lemmas.install(); }, [] { run_lemma_reports(); }),
        writer("the lemma reports' own files", reports, [&lemmas] { lemmas.install(); }, [] { run_lemma_reports(); },
               lemma_report_names().front() + ".txt.part"),
        archive_of_clips(writer("the audio archive's index", {"b_english_ao_NEW.txt", "audio_NEW"}, clips,
                                [] { make_audio_file(HWND{}); }, "b_english_ao_NEW.txt")),
        archive_of_clips(writer("the audio archive", {"b_english_ao_NEW.txt", "audio_NEW"}, clips,
                                [] { make_audio_file(HWND{}); }, "audio_NEW")),
        masked(writer("the converter's report", {"bulk_utf8-to-ansi_report.txt"}, clips, [] { convert_bulk(HWND{}); },
               "bulk_utf8-to-ansi_report.txt")),
        items_ending(masked(writer("the converter's concatenation",
               {"bulk_utf8-to-ansi_report.txt", "bulk_concatenated.txt", "bulk_concatenated_ansi.txt"}, clips,
               [] { convert_bulk_concatenate(HWND{}); }, "bulk_concatenated.txt")), "bulk_concatenated", "\r\n\r\n"),
        items_ending(masked(writer("the converter's concatenation of code page texts",
               {"bulk_utf8-to-ansi_report.txt", "bulk_concatenated.txt", "bulk_concatenated_ansi.txt"}, clips,
               [] { convert_bulk_concatenate(HWND{}); }, "bulk_concatenated_ansi.txt")), "bulk_concatenated", "\r\n\r\n"),
        masked(writer("the fixer's report", {"bulk_fix_txt.txt"}, clips, [] { fix_txt_bulk(HWND{}); }, "bulk_fix_txt.txt")),
        writer("the user's Bulgarian words", {"b_bulgarian_custom.txt"}, custom_word,
               [] { add_custom_word(HWND{}); }),
        writer("emptying the user's Bulgarian words", {"b_bulgarian_custom.txt", "b_bulgarian_custom_000001.txt"},
               custom_word, [] { erase_custom_word(HWND{}); }),
        writer("the new Bulgarian words", {"b_bulgarian_new.txt"}, new_words, [] { write_new_bulgarian_words(); }),
        writer("the start counter", {"set.txt"},
               [this] {
                   data.write("set.txt", "41\n");
                   data_folder_trouble_told = false;  // as at a start
               },
               [this] { count_start(data.path()); }),
        whole(writer("a word's clip", clip_files, archive, [] { say_word("cat"); },
                     std::filesystem::path(clip_files[0]).filename().string())),
        whole(writer("a word's clip", clip_files, archive, [] { say_word("cat"); },
                     std::filesystem::path(clip_files[1]).filename().string())),
        writer("the token exports", exports, text, bgtext_pass, exports.front()),
        writer("the token exports", exports, text, bgtext_pass, exports.back()),
        writer("the corrected text", {"AUTO.txt", "AUTO_LOG.txt"}, checking("книгъ и книга", {&gl_AUTO_SPELL}), check,
               "AUTO.txt"),
        writer("the corrections' log", {"AUTO.txt", "AUTO_LOG.txt"}, checking("книгъ и книга", {&gl_AUTO_SPELL}),
               check, "AUTO_LOG.txt"),
        writer("the text with look-alike letters mended", {"OCR.txt"}, checking("кнuга", {&gl_AUTO_OCR}), check,
               "OCR.txt"),
        writer("the subtitles without time codes", {"NO_TIME_CODE.txt", "TIME_CODE.txt"},
               checking(subtitles, {&gl_MACHINE_TRANSLATION, &gl_STRIP_TIMECODE}), check, "NO_TIME_CODE.txt"),
        writer("the subtitles with time codes", {"NO_TIME_CODE.txt", "TIME_CODE.txt"},
               checking(subtitles, {&gl_MACHINE_TRANSLATION, &gl_STRIP_TIMECODE}), check, "TIME_CODE.txt"),
        writer("the English word list's files", {"FREQ.txt", "FREQ2.txt"},
               checking("qqq qqq zzz", {&gl_PARSE_LATIN_WORDS, &gl_ENGLIST_GENARATE_FILE}), check, "FREQ.txt"),
        writer("the English word list's files", {"FREQ.txt", "FREQ2.txt"},
               checking("qqq qqq zzz", {&gl_PARSE_LATIN_WORDS, &gl_ENGLIST_GENARATE_FILE}), check, "FREQ2.txt"),
        writer("the spelling logs", spelling_logs, checking("книгъ Книгъ КНИГЪ кНИГъ книга", {&gl_SPELL_CHECKER_LOG}),
               check, spelling_logs.front()),
        writer("the spelling logs", spelling_logs, checking("книгъ Книгъ КНИГЪ кНИГъ книга", {&gl_SPELL_CHECKER_LOG}),
               check, spelling_logs[1]),
        passages(writer("the repeated passages", {"_REPEATED.txt"},
               [] {
                   gl_REPEATED_PARTS = gl_REPEATED_CHECK_EACH = 1;
                   gl_REPEATED_LONGER_THAN = 2;
                   quiet_set(hBgTextRe, "едно две три, едно две три", 0, 0);
               },
               bgtext_pass, "_REPEATED.txt")),
        masked(writer("the folder run's report", {"pairs_res/__report.txt"}, pairs,
                      [] { headless_menu(hBgText, IDM_CORP_ANALYSE_FOLDER); }, "__report.txt")),
        writer("the search log", {std::string(kSearchLogName)}, search_log, look_ups, kSearchLogName),
        writer("the statistics log", {"statistics_log.txt"}, leftover, [] { run_lemma_reports(); },
               "statistics_log.txt"),
    };
    for (const jux_test::FaultyWriter& w : writers) jux_test::sweep_write_faults(w);
    std::filesystem::current_path(cwd);
    close_bgtext_window();
}

}  // namespace
