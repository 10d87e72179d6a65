#include <algorithm>
#include <cstring>

#include "engine/proofreading/agreement.h"
#include "lexicon/display.h"
#include "lexicon/tables.h"
#include "platform/richedit.h"
#include "platform/text.h"
#include "shell/lists.h"

namespace agree {

void write_finding(PassReport& rep, const ProofRun& run, std::string_view context, std::string_view suggestion,
                   COLORREF suggestion_colour, long marker, COLORREF context_colour, COLORREF marker_colour) {
    const LONG line = rep.finding(context, suggestion, suggestion_colour);
    const auto n1 = static_cast<LONG>(context.size());
    if (context_colour != PR_CONTEXT)
        colour_report(run, line, line + n1, PR_COLOUR_BOLD, context_colour, CFE_BOLD);
    if (marker > 0 && marker < n1)
        colour_report(run, line + static_cast<LONG>(marker), line + static_cast<LONG>(marker) + 1, PR_COLOUR_BOLD,
                     marker_colour, CFE_BOLD);
}

}  // namespace agree
