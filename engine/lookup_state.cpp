#include "engine/lookup_state.h"

#include "shell/files.h"
#include "shell/window_state.h"

HWND hAddReBg;
HWND hAddReLong;
HWND hAddReHyphen;
HWND hAddTransSir;

FILE* fl_searchlog = nullptr;
std::int8_t nologfile_fg = 1;
std::string previous_exact;

bool put_search_log(std::string_view bytes) {
    if (!fl_searchlog || nologfile_fg) return false;
    if (write_out(fl_searchlog, bytes)) return true;
    nologfile_fg = 1;
    tell_write_failures(hMain);
    return false;
}

void reset_lookup_state() {
    hAddReBg = hAddReLong = hAddReHyphen = hAddTransSir = HWND{};
    if (fl_searchlog) std::fclose(fl_searchlog);
    fl_searchlog = nullptr;
    nologfile_fg = 1;
    previous_exact.clear();
}
