#include "engine/lookup_state.h"

HWND hAddReBg;
HWND hAddReLong;
HWND hAddReHyphen;
HWND hAddTransSir;

FILE* fl_searchlog = nullptr;
std::int8_t nologfile_fg = 1;
std::string previous_exact;

void reset_lookup_state() {
    hAddReBg = hAddReLong = hAddReHyphen = hAddTransSir = HWND{};
    if (fl_searchlog) std::fclose(fl_searchlog);
    fl_searchlog = nullptr;
    nologfile_fg = 1;
    previous_exact.clear();
}
