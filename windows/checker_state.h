// windows/checker_state.h - the text-checker window's handles and window-wide values: its
// controls (the panels hBig, hBigReRight, hBigReLeft and hBigReBot are shared through
// shell/window_state.h), its fonts, its menu handles, its top and bottom margins and the word
// last taken from its report for the page-image command, and the run over the right panel with
// the drop it serves after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window.h"

// ---- Labels -------------------------------------------------------------------------------
extern HWND hBigLabel;    // 1179: the status line
extern HWND hBigLabelUp;  // 1276: the upper label (the text's encoding)
extern HWND hBigColors;   // 1270: legend of the rare-word colours

// ---- Check boxes -----------------------------------------------------------------------------
extern HWND hBigActive;     // 1208 "On"
extern HWND hBigWrap;       // 1243 "Word Wrap"
extern HWND hBigUppercase;  // 1015 "Главни букви"
extern HWND hBigLatin;      // 1267 "Английски думи"
extern HWND hBigColorRare;  // 1268 "Редки думи"
extern HWND hBigColoring;   // 1265 "Оцветявай"
extern HWND hBigRealTime;   // 1246 "В реално време"
extern HWND hBigSpellClip;  // 1247 "Клипборд"

// ---- Buttons -----------------------------------------------------------------------------
extern HWND hBigRefresh, hBigPaste, hBigCapitalize, hBigInfo, hBigNov, hBigAudioButton, hBigAudioRead,
    hBigShrink;
// Filing buttons
extern HWND hBig11, hBig21, hBig11lower, hBigTwo, hBigThree, hBigName, hBigPlace, hBigCult, hBigMale, hBigFem,
    hBigProp, hBigAdj11, hBigAdj21, hBigAdvAdj11, hBigAdjPost11, hBigAttr11, hBigAttr21, hBigAdv, hBigAdv2,
    hBigAdvWhen, hBigAdvWhere, hBigAz, hBigDa, hBigSe1, hBigAz2, hBigDa2, hBigSe2, hBigC11, hBigC21, hBigC5,
    hBigC6, hBigC7, hBigSent, hBigSentCust, hBigSent3, hBigSent1, hBigSent2, hBigHard, hBigHard3, hBigDobavi,
    hBigVizh, hBigTrii;

// ---- Window-wide values ----------------------------------------------------------------------
extern int gl_bigtop;                  // the panels' top margin in pixels (66 once initialised)
inline constexpr int gl_bigbottom = 24;  // the margin below the panels in pixels
extern HFONT hFont8;                   // 8-point font of the small check boxes and buttons
extern HMENU hMenuMainS;               // the menu bar
extern HMENU hMenuFileS;               // "Файл"
extern HMENU hMenuFormatS;             // "Формат"
extern HMENU hMenuSetS;                // "Опции"
extern HMENU hMenuToolsS;              // "Модули"
extern HMENU hMenuHelpS;               // "Помощ"
extern HMENU hMenuPopupSetEngS;        // "Английски списък" (in "Опции")
extern HMENU hMenuPopupSetAudioS;      // "Изговаряне" (in "Опции" while an audio index is loaded)
extern std::u16string gl_novstartw;    // the word last taken from the report by a click ("": none)
extern bool big_run_going;             // the window's own run over the right panel is going
extern std::optional<Msg> big_drop_after_run;  // the last drop on the right panel during that run
extern bool big_cleared_during_run;    // "clr" was pressed during that run
extern bool big_run_waiting;           // a run waits for another window's run to end

// Every handle above null and the values at their start (test fixtures; the window's destruction
// forgets its handles itself).
void reset_checker_state();
