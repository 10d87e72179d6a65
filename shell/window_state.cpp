#include "shell/window_state.h"

HWND hMain{};
HWND hStart{};
HWND hMessagePanel{};

HWND hReFocus{};
HWND hReFocusPrev{};
HWND hReRightClicked{};

HFONT hFont{};
COLORREF bkgcolor1 = 0xF0F0F0;
COLORREF bkgcolor3 = 0xE4E4E4;
HICON hicon32{};
HICON hicon_in{};
HICON hicon_tr{};

HMENU hMenuPopupAll{};
HMENU hMenuMain{};
HACCEL hAccelMain{};
std::int8_t gl_icon_exists = 0;
NOTIFYICONDATAW nid{};
HWND hwndNextViewer{};
std::int8_t gl_clipboard_translation = 1;

std::string gl_dropped;
std::filesystem::path gl_dropped_path;
std::optional<FileText> gl_file_text;
std::int8_t gl_0D0A = 0;
std::int8_t gl_0D = 0;
std::int8_t gl_0A = 0;
std::int8_t gl_fg_utf8header = 0;
std::int8_t gl_fg_ansi = 0;
std::int32_t gl_search_start = 0;
std::int32_t gl_word_start = 0;
std::string gl_log;
std::int32_t gl_log_ct = 0;
std::int32_t gl_log_ct2 = 0;

std::string glMsg;
std::u16string glMsgW;

std::int64_t i_start = 0;
std::int64_t phase_start = 0;

std::filesystem::path start_dir;
std::string start_dirA;

std::u16string JUXtitle;
std::u16string JUXtitleS;
std::u16string JUXtitleM;
std::u16string JUXtitleE;
std::u16string JUXtitleC;
std::u16string JUXtitleCurrentBig;

std::string authorship;

std::int64_t jux_mdate() { return PL_NowMicroseconds(); }

void reset_loaded_text_state() {
    gl_0D0A = gl_0D = gl_0A = 0;
    gl_fg_utf8header = gl_fg_ansi = 0;
    gl_search_start = gl_word_start = 0;
    gl_log.clear();
    gl_log_ct = gl_log_ct2 = 0;
}

void build_titles() {
    auto title = [](std::u16string_view name) {
        std::u16string t(name);
        t += u' ';
        t += JUX_VERSION;
        return t;
    };
    JUXtitle = title(u"JUX Dictionary");
    JUXtitleS = title(u"JUX Spell Checker");
    JUXtitleM = title(u"JUX Translator");
    JUXtitleE = title(u"JUX Human Translator");
    JUXtitleC = title(u"JUX Tamsa");
    JUXtitleCurrentBig = JUXtitleS;
}

void reset_window_state() {
    reset_window_handles();
    hMain = hStart = hMessagePanel = HWND{};
    hReFocus = hReFocusPrev = hReRightClicked = HWND{};
    hFont = HFONT{};
    bkgcolor1 = 0xF0F0F0;
    bkgcolor3 = 0xE4E4E4;
    hicon32 = hicon_in = hicon_tr = HICON{};
    hMenuPopupAll = hMenuMain = HMENU{};
    hAccelMain = HACCEL{};
    gl_icon_exists = 0;
    nid = NOTIFYICONDATAW{};
    hwndNextViewer = HWND{};
    gl_clipboard_translation = 1;
    gl_dropped.clear();
    gl_dropped_path.clear();
    gl_file_text.reset();
    reset_loaded_text_state();
    glMsg.clear();
    glMsgW.clear();
    i_start = phase_start = 0;
    start_dir.clear();
    start_dirA.clear();
    JUXtitle.clear();
    JUXtitleS.clear();
    JUXtitleM.clear();
    JUXtitleE.clear();
    JUXtitleC.clear();
    JUXtitleCurrentBig.clear();
    authorship.clear();
}

HWND hAddReShort;
HWND hBig;
HWND hBigReRight;
HWND hBigReLeft;
HWND hBigReBot;
HWND hInfo;
HWND hInfoReTop;
HWND hInfoReBot;
HWND hMachine;
HWND hMachineRe;
HWND hMachineReFilter;
HWND hBgText;
HWND hBgTextRe;
HWND hLiveRe;

std::int8_t gl_BIG_ACTIVE = 1;
std::int8_t gl_info_printed = 0;
std::int8_t gl_inc_method = 0;

void reset_window_handles() {
    for (HWND* h : {&hAddReShort, &hBig, &hBigReRight, &hBigReLeft, &hBigReBot, &hInfo, &hInfoReTop,
                    &hInfoReBot, &hMachine, &hMachineRe, &hMachineReFilter, &hBgText, &hBgTextRe, &hLiveRe})
        *h = HWND{};
    gl_BIG_ACTIVE = 1;
    gl_info_printed = 0;
    gl_inc_method = 0;
}
