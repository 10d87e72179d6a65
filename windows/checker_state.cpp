#include "windows/checker_state.h"

HWND hBigLabel, hBigLabelUp, hBigColors;
HWND hBigActive, hBigWrap, hBigUppercase, hBigLatin, hBigColorRare, hBigColoring, hBigRealTime, hBigSpellClip;
HWND hBigRefresh, hBigPaste, hBigCapitalize, hBigInfo, hBigNov, hBigAudioButton, hBigAudioRead, hBigShrink;
HWND hBig11, hBig21, hBig11lower, hBigTwo, hBigThree, hBigName, hBigPlace, hBigCult, hBigMale, hBigFem, hBigProp,
    hBigAdj11, hBigAdj21, hBigAdvAdj11, hBigAdjPost11, hBigAttr11, hBigAttr21, hBigAdv, hBigAdv2, hBigAdvWhen,
    hBigAdvWhere, hBigAz, hBigDa, hBigSe1, hBigAz2, hBigDa2, hBigSe2, hBigC11, hBigC21, hBigC5, hBigC6, hBigC7,
    hBigSent, hBigSentCust, hBigSent3, hBigSent1, hBigSent2, hBigHard, hBigHard3, hBigDobavi, hBigVizh, hBigTrii;

int gl_bigtop = 66;
HFONT hFont8;
HMENU hMenuMainS, hMenuFileS, hMenuFormatS, hMenuSetS, hMenuToolsS, hMenuHelpS, hMenuPopupSetEngS,
    hMenuPopupSetAudioS;
std::u16string gl_novstartw;
bool big_run_going;
std::optional<Msg> big_drop_after_run;
bool big_cleared_during_run;
bool big_run_waiting;

void reset_checker_state() {
    for (HWND* h : {&hBigLabel, &hBigLabelUp, &hBigColors, &hBigActive, &hBigWrap, &hBigUppercase, &hBigLatin,
                    &hBigColorRare, &hBigColoring, &hBigRealTime, &hBigSpellClip, &hBigRefresh, &hBigPaste,
                    &hBigCapitalize, &hBigInfo, &hBigNov, &hBigAudioButton, &hBigAudioRead, &hBigShrink, &hBig11,
                    &hBig21, &hBig11lower, &hBigTwo, &hBigThree, &hBigName, &hBigPlace, &hBigCult, &hBigMale,
                    &hBigFem, &hBigProp, &hBigAdj11, &hBigAdj21, &hBigAdvAdj11, &hBigAdjPost11, &hBigAttr11,
                    &hBigAttr21, &hBigAdv, &hBigAdv2, &hBigAdvWhen, &hBigAdvWhere, &hBigAz, &hBigDa, &hBigSe1,
                    &hBigAz2, &hBigDa2, &hBigSe2, &hBigC11, &hBigC21, &hBigC5, &hBigC6, &hBigC7, &hBigSent,
                    &hBigSentCust, &hBigSent3, &hBigSent1, &hBigSent2, &hBigHard, &hBigHard3, &hBigDobavi,
                    &hBigVizh, &hBigTrii})
        *h = HWND{};
    gl_bigtop = 66;
    hFont8 = HFONT{};
    for (HMENU* m : {&hMenuMainS, &hMenuFileS, &hMenuFormatS, &hMenuSetS, &hMenuToolsS, &hMenuHelpS,
                     &hMenuPopupSetEngS, &hMenuPopupSetAudioS})
        *m = HMENU{};
    gl_novstartw.clear();
    big_run_going = false;
    big_drop_after_run.reset();
    big_cleared_during_run = false;
    big_run_waiting = false;
}
