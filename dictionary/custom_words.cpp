#include "dictionary/custom_words.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

#include "lexicon/listfile.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "platform/text_literal.h"
#include "platform/window.h"
#include "shell/files.h"

namespace {

constexpr auto kEmptyBox = "Полето е празно. Първо въведете дума."_cp;
constexpr auto kInUserList = "вече съществува в потребителски списък. Няма нужда да се добавя отново."_cp;
constexpr auto kInMainList =
    "съществува в основния списък с български думи. Няма нужда да се добавя в потребителския."_cp;
constexpr auto kNotCyrillic = "съдържа некирилски символи. Наистина ли искате да я добавите?"_cp;
constexpr auto kAdded = " е добавена успешно в потребителския списък с български думи."_cp;
constexpr auto kErased = "Речникът е изпразнен успешно. Копие на предишния речник е запазено във файла"_cp;
constexpr auto kAlreadyEmpty = "Речникът е празен."_cp;

std::string quoted(const std::string& word, std::string_view text) {
    return jux_format("\"%s\" %s", word.c_str(), std::string(text).c_str());
}

std::string error_text(const char* format, const std::filesystem::path& file) {
    const int err = errno;
    return jux_format(format, path_to_cp1251(file).c_str(), std::strerror(err), err);
}

std::filesystem::path custom_file() {
    return fl_path(dir_alt, b[B_BULGARIAN_CUSTOM].name + ".txt");
}

}  // namespace

void add_custom_word(HWND owner) {
    const std::string box = IsWindow(hAddReShort) ? RE_GetTextEx(hAddReShort, CP_1251) : std::string();
    const size_t a = box.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) {
        MessageBoxA(owner, kEmptyBox, "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    const size_t z = box.find_first_of(" \t\r\n", a);
    const std::string word = box.substr(a, z == std::string::npos ? std::string::npos : z - a);

    DictFileRecord& list = b[B_BULGARIAN_CUSTOM];
    if (find_pair(std::span<const ListPair>(list.entries), word)) {
        MessageBoxA(owner, quoted(word, kInUserList), "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    if (find_pair(std::span<const ListPair>(b[B_BULGARIAN].entries), word)) {
        MessageBoxA(owner, quoted(word, kInMainList), "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    const bool cyrillic = std::all_of(word.begin(), word.end(),
                                      [](char c) { return ascii_cyrillic[static_cast<unsigned char>(c)] != 0; });
    if (!cyrillic &&
        MessageBoxA(owner, quoted(word, kNotCyrillic), "Warning!", MB_YESNO | MB_ICONWARNING) != IDYES)
        return;

    ListPair p;
    p.key = lex_keep(word);
    auto pos = std::upper_bound(list.entries.begin(), list.entries.end(), p.key,
                                [](std::string_view k, const ListPair& e) { return cp_strcasecmp(k, e.key) < 0; });
    const auto at = list.entries.insert(pos, p);
    list.count = list.entries.size();

    // A list that did not fit into its room keeps, in its file, the words that were not loaded.
    const std::filesystem::path file = custom_file();
    const std::string text = list.stats.over_room ? pairs_to_text_keeping_unloaded(file, list.entries, word)
                                                  : pairs_to_text(list.entries);
    if (!write_file_safely(file, text)) {
        // The list stays as its file, so that the word can be added again once the file can be
        // written (the list would otherwise refuse it as already there).
        const std::string reason = cannot_write_text(file, errno);
        list.entries.erase(at);
        list.count = list.entries.size();
        MessageBoxA(owner, reason, "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    MessageBoxA(owner, quoted(word, kAdded), "Done!", MB_OK | MB_ICONINFORMATION);
}

void erase_custom_word(HWND owner) {
    DictFileRecord& list = b[B_BULGARIAN_CUSTOM];
    const std::filesystem::path file = custom_file();
    std::error_code ec;
    const bool exists = std::filesystem::exists(file, ec);
    const auto size = exists ? std::filesystem::file_size(file, ec) : 0;
    if (!exists || ec || size == 0) {
        list.entries.clear();
        list.count = 0;
        MessageBoxA(owner, kAlreadyEmpty, "Oops!", MB_OK | MB_ICONERROR);
        return;
    }
    std::string old;
    if (!read_file_bytes(file, old)) {  // a read error is answered, never thrown
        MessageBoxA(owner, error_text("Cannot empty %s, reason: %s, (errno = %d)\n", file), "Oops!",
                    MB_OK | MB_ICONERROR);
        return;
    }

    std::string copy_name;
    std::filesystem::path copy;
    for (unsigned n = 1; n < 1'000'000; ++n) {
        copy_name = jux_format("%s_%06u.txt", list.name.c_str(), n);
        copy = fl_path(dir_alt, copy_name);
        if (!std::filesystem::exists(copy, ec)) break;
    }
    if (!write_file_safely(copy, old)) {
        MessageBoxA(owner, cannot_write_text(copy, errno), "Oops!",
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (!write_file_safely(file, "")) {
        MessageBoxA(owner, error_text("Cannot empty %s, reason: %s, (errno = %d)\n", file), "Oops!",
                    MB_OK | MB_ICONERROR);
        return;
    }
    list.entries.clear();
    list.count = 0;
    MessageBoxA(owner, jux_format("%s %s", std::string(kErased).c_str(), copy_name.c_str()), "Done!",
                MB_OK | MB_ICONINFORMATION);
}

int count_start(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "set.txt";
    int previous = 0;
    std::ifstream in(file, std::ios::binary);
    if (in) {
        std::string s;
        std::getline(in, s);
        const size_t a = s.find_first_not_of(" \t");
        if (a != std::string::npos) {
            auto [ptr, err] = std::from_chars(s.data() + a, s.data() + s.size(), previous);
            if (err != std::errc() || previous < 0) previous = 0;
        }
    }
    run_counter = previous < 2'147'483'647 ? previous + 1 : previous;
    // A data folder that cannot be written (read-only, full) is told once, at the start: the
    // count then stays where it was.
    if (!write_file_safely(file, std::to_string(run_counter) + "\r\n") && tell_data_folder_trouble(errno))
        MessageBoxA(hMain, cannot_write_text(file, errno), "Oops!",
                    MB_OK | MB_ICONERROR);
    return run_counter;
}
