#include "engine/run_state.h"

#include "shell/files.h"

HWND hAddReShortCopy;
HWND hAddReSaved;
HWND hAddReShort3;
HWND hAddLabel;
HWND hAddSentence;

std::int8_t gl_cancel = 0;
std::int8_t changed_from_add_fg = 0;
std::int8_t gl_isFromClipboard = 0;
std::int8_t gl_isFromFile = 0;
std::int8_t gl_fg_subtitle = 0;

std::u16string balloon;

FILE* fl_cyr_all = nullptr;
FILE* fl_cyr_missing = nullptr;
FILE* fl_cyr_upper_only = nullptr;
FILE* fl_cyr_lower_only = nullptr;
FILE* fl_cyr_first_upper = nullptr;
FILE* fl_cyr_mixed = nullptr;
std::int8_t cyr_logs_open = 0;

namespace {

struct CyrLog {
    FILE** file;
    const char* name;
};
const CyrLog kCyrLogs[] = {
    {&fl_cyr_all, "cyr_all.txt"},
    {&fl_cyr_missing, "cyr_missing.txt"},
    {&fl_cyr_upper_only, "cyr_upper_only.txt"},
    {&fl_cyr_lower_only, "cyr_lower_only.txt"},
    {&fl_cyr_first_upper, "cyr_first_upper.txt"},
    {&fl_cyr_mixed, "cyr_mixed.txt"},
};

}  // namespace

void open_cyr_logs() {
    for (const CyrLog& l : kCyrLogs) *l.file = make_fl({}, l.name);
    cyr_logs_open = 1;
}

void close_cyr_logs() {
    for (const CyrLog& l : kCyrLogs) {
        if (*l.file) closefile(*l.file, l.name);
        *l.file = nullptr;
    }
    cyr_logs_open = 0;
}
