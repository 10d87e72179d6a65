#include "lexicon/corpora.h"

#include <algorithm>

#include "lexicon/tables.h"
#include "platform/text.h"
#include "platform/text_literal.h"
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
    // The text only shrinks: it is made in place, the characters read staying ahead of those
    // written, with the character read before kept aside for the hyphen test.
    std::size_t w = 0;
    char before = '\0';
    for (std::size_t i = 0; i < phrase.size(); ++i) {
        const char c = phrase[i];
        const bool after_hyphen = i > 0 && before == '-';
        before = c;
        if (c == '\r') {
            if (after_hyphen) continue;
            if (w > 0 && phrase[w - 1] == ' ') continue;
            phrase[w++] = ' ';
            continue;
        }
        if (c == ' ' && w > 0 && phrase[w - 1] == ' ') continue;
        phrase[w++] = c;
    }
    phrase.resize(w);
    std::size_t lead = 0;
    while (lead < phrase.size() && phrase[lead] == ' ') ++lead;
    phrase.erase(0, lead);
    if (!phrase.empty() && phrase.back() == ' ') phrase.pop_back();
    display.assign(phrase, 0, 2047);
    if (phrase.find("\t\t") != std::string::npos) {
        if (!gl_fg_Poveche_ot_edna_tabulacia) {
            gl_fg_Poveche_ot_edna_tabulacia = 1;
            MessageBoxA(hMain, kTwoTabs, "Oops!", MB_OK | MB_ICONERROR);
        }
        return 0;
    }
    for (char& c : phrase) {
        if (c == '\t' || c == ' ') c = '_';
        else if (static_cast<unsigned char>(c) == 0x92) c = '\'';
    }
    return 1;
}
