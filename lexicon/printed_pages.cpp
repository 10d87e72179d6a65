// The scanned pages of the printed dictionary: the page list of the folder "nov" and show_nov.
#include <algorithm>
#include <vector>

#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/lists.h"
#include "shell/strings.h"
#include "shell/ui_services.h"

namespace {

std::vector<NovPage> g_pages;  // the page list, sorted by first headword (case-insensitive)
bool g_read = false;           // the list file was read (or found missing)

void read_pages() {
    g_read = true;
    g_pages.clear();
    std::vector<ListPair> entries;
    const auto text = load_pairs(dir_alt / "nov" / "pages.txt", ListLoadOptions{}, entries);
    if (!text) return;
    for (const ListPair& p : entries)
        if (p.has_rest()) g_pages.push_back(NovPage{std::string(p.key), std::string(p.rest)});
}

}  // namespace

const std::vector<NovPage>& nov_pages() {
    if (!g_read) read_pages();
    return g_pages;
}

void reset_nov_pages() {
    g_pages.clear();
    g_read = false;
}

void show_nov(std::u16string_view word) {
    if (word.empty()) return;
    const std::vector<NovPage>& pages = nov_pages();
    if (pages.empty()) return;
    const std::string w = utf16_to_cp1251(word);
    // The last page whose first headword is not after the word.
    const auto after = std::upper_bound(pages.begin(), pages.end(), w, [](const std::string& key, const NovPage& p) {
        return cp_strcasecmp(key, p.first) < 0;
    });
    if (after == pages.begin()) return;
    open_with_desktop(fl_path(dir_alt / "nov", std::prev(after)->image).string());
}
