#include "lexicon/corpora.h"

#include <algorithm>

#include "lexicon/cp.h"
#include "lexicon/tables.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/window_state.h"

namespace {
constexpr auto kTwoTabs = "Повече от една табулация! Оправете текста и опитайте пак."_cp;
}

std::string_view two_tabs_message() { return kTwoTabs; }

int cmp_3(std::string_view key, const SentencePair& entry) { return cp_strcasecmp(key, entry.en); }

const SentencePair* find_sentence(const ListFileRecord& corpus, std::string_view key) {
    const auto& v = corpus.sentences;
    auto it = std::lower_bound(v.begin(), v.end(), key,
                               [](const SentencePair& e, std::string_view k) { return cmp_3(k, e) > 0; });
    if (it == v.end() || cmp_3(key, *it) != 0) return nullptr;
    return &*it;
}

int normailize_sentence(std::string& phrase, std::string& display) {
    std::string t;
    t.reserve(phrase.size());
    for (size_t i = 0; i < phrase.size(); ++i) {
        const char c = phrase[i];
        if (c == '\r') {
            if (i > 0 && phrase[i - 1] == '-') continue;
            if (!t.empty() && t.back() == ' ') continue;
            t.push_back(' ');
            continue;
        }
        if (c == ' ' && !t.empty() && t.back() == ' ') continue;
        t.push_back(c);
    }
    size_t lead = 0;
    while (lead < t.size() && t[lead] == ' ') ++lead;
    t.erase(0, lead);
    if (!t.empty() && t.back() == ' ') t.pop_back();
    display = t.substr(0, 2047);
    phrase = t;
    if (phrase.find("\t\t") != std::string::npos) {
        if (!gl_fg_Poveche_ot_edna_tabulacia) {
            gl_fg_Poveche_ot_edna_tabulacia = 1;
            MessageBoxA(hMain, kTwoTabs, "Oops!", MB_OK | MB_ICONERROR);
        }
        return 0;
    }
    for (char& c : phrase) {
        if (c == '\t') c = ' ';
        if (static_cast<unsigned char>(c) == 0x92) c = '\'';
        if (c == ' ') c = '_';
    }
    return 1;
}
