#include "audio/main_window_audio.h"

#include <algorithm>

#include "audio/archive.h"
#include "audio/audio_state.h"
#include "foldertools/text_tools.h"
#include "audio/player.h"
#include "audio/pronunciation.h"
#include "lexicon/panels.h"
#include "lexicon/tables.h"
#include "resources/resources.h"

namespace {
constexpr int kButtonSide = 20;   // pixels of the square bitmap button
constexpr int kLabelWidth = 140;  // pixels of the word label
constexpr int kGap = 4;

// The button is offered while an audio index holds entries.
bool audio_offered() { return b[B_ENGLISH_AO].count > 0 || b[B_ENGLISH_AO2].count > 0; }
}  // namespace

void init_main_window_audio(HWND dlg) {
    // The look-up of the word under the caret asks the audio side first (the lexicon sits below audio).
    GetCleanTokenAudio_hook = GetCleanTokenAudio;
    // ... and runs the corpus search of the Bulgarian-text window while it writes.
    find_bg_part_hook = [](const char*) { find_bg_part(0, 0, 0, 0, 0); };
    set_player_path();
    gl_bitmap_green = PL_LoadBitmapRes(IDB_AUDIO_GREEN);
    gl_bitmap_red = PL_LoadBitmapRes(IDB_AUDIO_RED);
    hAddAudioButton = GetDlgItem(dlg, IDC_ADD_AUDIO_BUTTON);
    PL_Button_SetBitmap(hAddAudioButton, gl_bitmap_green);
    const bool offered = audio_offered();
    ShowWindow(hAddAudioButton, offered ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dlg, IDC_ADD_AUDIO_LABEL), offered ? SW_SHOW : SW_HIDE);
    empty_ogg_folder();
    start_player_at_startup();
}

int layout_main_window_audio(HWND dlg, int right, int y, int height) {
    const HWND button = GetDlgItem(dlg, IDC_ADD_AUDIO_BUTTON);
    if (!button || !audio_offered()) return 0;
    const int side = std::max(kButtonSide, height);
    MoveWindow(button, right - side, y, side, side);
    MoveWindow(GetDlgItem(dlg, IDC_ADD_AUDIO_LABEL), right - side - kGap - kLabelWidth, y, kLabelWidth, height);
    return side + kGap + kLabelWidth + kGap;
}

bool main_window_audio_command(HWND dlg, int id) {
    switch (id) {
        case IDC_ADD_AUDIO_BUTTON:
        case static_cast<int>(IDM_AUDIO):
            AudioFromMenuOrButton();
            return true;
        case static_cast<int>(IDM_MAKE_AUDIO_FILE):
            make_audio_file(dlg);
            return true;
        case static_cast<int>(IDM_BULK_UTF8_CONCAT):
            convert_bulk_concatenate(dlg);
            return true;
        case static_cast<int>(IDM_BULK_UTF8):
            convert_bulk(dlg);
            return true;
        case static_cast<int>(IDM_FIX_TXT):
            fix_txt_bulk(dlg);
            return true;
        default:
            return false;
    }
}
