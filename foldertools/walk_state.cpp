#include "foldertools/walk_state.h"

#include "foldertools/text_tools.h"

std::uint32_t fl_ct_global = 0;
std::uint32_t fl_ct_global_nonzero = 0;
std::uint32_t fl_ct_global_zero = 0;
std::uint64_t sz_global = 0;
std::uint32_t dir_ct_global = 0;
std::uint32_t fl_ct_left_out = 0;
std::uint32_t walk_lines_logged = 0;
std::uint32_t gl_file_index = 1;
FILE* gl_fl_stat = nullptr;
FILE* gl_fl_concatenated = nullptr;
FILE* gl_fl_concatenated_ansi = nullptr;
std::filesystem::path gl_dir_orig;
std::filesystem::path gl_dir_res;

void reset_walk_counters() {
    fl_ct_global = fl_ct_global_nonzero = fl_ct_global_zero = dir_ct_global = fl_ct_left_out = walk_lines_logged = 0;
    sz_global = 0;
    gl_file_index = 1;
}

void reset_folder_walk() {
    reset_walk_counters();
    gl_fl_stat = gl_fl_concatenated = gl_fl_concatenated_ansi = nullptr;
    gl_dir_orig.clear();
    gl_dir_res.clear();
    reset_folder_tools();
}
