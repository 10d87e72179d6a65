// windows/help_pages.h - the help pages that the program opens in the browser from its start
// folder. Three of them describe the program's own tables (the inflection types with their form
// slots, and each type's endings and an example word from the ending tables and word forms loaded;
// the colours of rare words) and are made from those tables: the checker writes such a page anew
// into the start folder each time the user opens it, from the tables in use. The project keeps
// them in resources/help/, made over the demonstration lexicon, beside the two written by hand,
// and run.sh puts them in the start folder.
#pragma once

#include <span>
#include <string>

// A page made from the program's tables: its file name and its text (UTF-8 HTML).
struct GeneratedHelpPage {
    const char* file;
    std::string (*make)();
};
// help_bulgarian_verb_types.html, help_bulgarian_nouns_adjectives.html, help_color_filter.html.
std::span<const GeneratedHelpPage> generated_help_pages();
