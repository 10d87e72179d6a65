// Template 117 of the text-checker window and its tool tips (positions in dialog units).
#include <array>

#include "resources/checker.h"
#include "resources/resources.h"

namespace {

using K = ControlKind;

constexpr std::array kControls{
    // Panels and labels
    CheckerControl{K::RichEdit, 1171, u"", 269, 40, 371, 241, "IDC_BIG_RE_RIGHT"},
    CheckerControl{K::RichEdit, 1170, u"", 16, 40, 250, 324, "IDC_BIG_RE_LEFT"},
    CheckerControl{K::RichEdit, 1173, u"", 269, 283, 371, 81, "IDC_BIG_RE_BOT"},
    CheckerControl{K::Label, 1179, u"Status line", 15, 368, 406, 12, "IDC_BIG_LABEL"},
    CheckerControl{K::Label, 1276, u"lab2", 304, 1, 74, 8, "IDC_BIG_LABEL_UP"},
    CheckerControl{K::Picture, 1270, u"", 559, 13, 72, 9, "IDC_BIG_COLORS", IDB_BIG_COLORS},
    // Check boxes
    CheckerControl{K::CheckBox, 1208, u"On", 17, 25, 25, 10, "IDC_BIG_ACTIVE"},
    CheckerControl{K::CheckBox, 1243, u"Word Wrap", 146, 5, 53, 10, "IDC_BIG_WRAP"},
    CheckerControl{K::CheckBox, 1015, u"Главни букви", 146, 27, 62, 10, "IDC_BIG_UPPERCASE"},
    CheckerControl{K::CheckBox, 1267, u"Английски думи", 146, 16, 70, 10, "IDC_BIG_LATIN"},
    CheckerControl{K::CheckBox, 1268, u"Редки думи", 559, 3, 55, 10, "IDC_BIG_COLOR_RARE"},
    CheckerControl{K::CheckBox, 1265, u"Оцветявай", 223, 5, 53, 10, "IDC_BIG_COLORING"},
    CheckerControl{K::CheckBox, 1246, u"В реално време", 223, 27, 68, 10, "IDC_BIG_REALTIME"},
    CheckerControl{K::CheckBox, 1247, u"Клипборд", 223, 16, 49, 10, "IDC_BIG_SPELLCLIP"},
    // Command buttons
    CheckerControl{K::PushButton, 1172, u"clr", 1, 41, 14, 13, ""},
    CheckerControl{K::PushButton, 1263, u"Refresh", 303, 25, 31, 12, "IDC_BIG_REFRESH"},
    CheckerControl{K::PushButton, 1212, u"Undo", 87, 23, 23, 12, ""},
    CheckerControl{K::PushButton, 1213, u"Redo", 111, 23, 23, 12, ""},
    CheckerControl{K::PushButton, 1241, u"Find+replace", 87, 10, 47, 12, ""},
    CheckerControl{K::PushButton, 1319, u"Paste", 559, 25, 25, 12, "IDC_BIG_PASTE"},
    CheckerControl{K::PushButton, 1295, u"C", 366, 25, 15, 12, "IDC_BIG_CAPITALIZE"},
    CheckerControl{K::PushButton, 1272, u"инфо", 335, 25, 30, 12, "IDC_BIG_INFO"},
    CheckerControl{K::PushButton, 1211, u"N", 1, 282, 14, 13, "IDC_BIG_NOV"},
    CheckerControl{K::PushButton, 1271, u"?", 303, 13, 15, 12, "IDC_BIG_AUDIO_BUTTON", IDB_AUDIO_RED},
    CheckerControl{K::PushButton, 1320, u"R", 319, 13, 15, 12, "IDC_BIG_AUDIO_READ"},
    CheckerControl{K::PushButton, 1181, u"<>", 1, 65, 14, 13, "IDC_BIG_SHRINK"},
    // Filing buttons
    CheckerControl{K::PushButton, 1273, u"1", 466, 13, 15, 12, "IDC_BIG_11"},
    CheckerControl{K::PushButton, 1293, u"1+", 480, 13, 14, 12, "IDC_BIG_21"},
    CheckerControl{K::PushButton, 1285, u"lo", 480, 25, 14, 12, "IDC_BIG_11LOWER"},
    CheckerControl{K::PushButton, 1299, u"2", 382, 25, 16, 12, "IDC_BIG_2"},
    CheckerControl{K::PushButton, 1304, u"3", 432, 1, 10, 12, "IDC_BIG_3"},
    CheckerControl{K::PushButton, 1277, u"nam", 520, 25, 19, 12, "IDC_BIG_NAME"},
    CheckerControl{K::PushButton, 1278, u"plac", 520, 13, 19, 12, "IDC_BIG_PLACE"},
    CheckerControl{K::PushButton, 1279, u"cult", 520, 1, 19, 12, "IDC_BIG_CULT"},
    CheckerControl{K::PushButton, 1280, u"male", 538, 25, 19, 12, "IDC_BIG_MALE"},
    CheckerControl{K::PushButton, 1281, u"fem", 538, 13, 19, 12, "IDC_BIG_FEM"},
    CheckerControl{K::PushButton, 1282, u"prop", 538, 1, 19, 12, "IDC_BIG_PROP"},
    CheckerControl{K::PushButton, 1290, u"a", 382, 13, 16, 12, "IDC_BIG_ADJ11"},
    CheckerControl{K::PushButton, 1301, u"a+", 397, 13, 16, 12, "IDC_BIG_ADJ21"},
    CheckerControl{K::PushButton, 1305, u"a2", 440, 13, 14, 12, "IDC_BIG_ADVADJ11"},
    CheckerControl{K::PushButton, 1302, u"пос", 453, 13, 14, 12, "IDC_BIG_ADJ_POST11"},
    CheckerControl{K::PushButton, 1307, u"att", 412, 13, 16, 12, "IDC_BIG_ATTR11"},
    CheckerControl{K::PushButton, 1312, u"at2", 427, 13, 14, 12, "IDC_BIG_ATTR21"},
    CheckerControl{K::PushButton, 1298, u"нр", 464, 1, 16, 12, "IDC_BIG_ADV"},
    CheckerControl{K::PushButton, 1310, u"нр2", 479, 1, 15, 12, "IDC_BIG_ADV2"},
    CheckerControl{K::PushButton, 1303, u"ко", 441, 1, 13, 12, "IDC_BIG_ADV_WHEN"},
    CheckerControl{K::PushButton, 1318, u"къ", 454, 1, 12, 12, "IDC_BIG_ADV_WHERE"},
    CheckerControl{K::PushButton, 1288, u"аз", 493, 1, 15, 12, "IDC_BIG_AZ"},
    CheckerControl{K::PushButton, 1289, u"да", 493, 13, 15, 12, "IDC_BIG_DA"},
    CheckerControl{K::PushButton, 1291, u"се", 493, 25, 15, 12, "IDC_BIG_SE1"},
    CheckerControl{K::PushButton, 1306, u"аз", 508, 1, 13, 12, "IDC_BIG_AZ2"},
    CheckerControl{K::PushButton, 1308, u"да", 508, 13, 13, 12, "IDC_BIG_DA2"},
    CheckerControl{K::PushButton, 1309, u"се", 508, 25, 13, 12, "IDC_BIG_SE2"},
    CheckerControl{K::PushButton, 1292, u"n", 397, 25, 18, 12, "IDC_BIG_C11"},
    CheckerControl{K::PushButton, 1300, u"n+", 414, 25, 16, 12, "IDC_BIG_C21"},
    CheckerControl{K::PushButton, 1296, u"a-s", 446, 25, 18, 12, "IDC_BIG_C5"},
    CheckerControl{K::PushButton, 1297, u"n-v", 429, 25, 18, 12, "IDC_BIG_C6"},
    CheckerControl{K::PushButton, 1315, u"1-m", 463, 25, 18, 12, "IDC_BIG_C7"},
    CheckerControl{K::PushButton, 1275, u"изр", 382, 1, 19, 12, "IDC_BIG_SENT"},
    CheckerControl{K::PushButton, 1294, u"изр", 591, 25, 19, 12, "IDC_BIG_SENT_CUST"},
    CheckerControl{K::PushButton, 1317, u",", 366, 13, 15, 12, "IDC_BIG_SENT3"},
    CheckerControl{K::PushButton, 1283, u"нач", 400, 1, 18, 12, "IDC_BIG_SENT1"},
    CheckerControl{K::PushButton, 1284, u"кра", 417, 1, 16, 12, "IDC_BIG_SENT2"},
    CheckerControl{K::PushButton, 1274, u"h", 335, 13, 15, 12, "IDC_BIG_HARD"},
    CheckerControl{K::PushButton, 1321, u"h3", 352, 13, 13, 12, "IDC_BIG_HARD3"},
    CheckerControl{K::PushButton, 1248, u"добави", 47, 23, 38, 12, "IDC_BIG_BG_CUSTOM"},
    CheckerControl{K::PushButton, 1249, u"виж", 47, 10, 18, 12, "IDC_BIG_LOAD_BG_CUSTOM"},
    CheckerControl{K::PushButton, 1250, u"трий", 66, 10, 19, 12, "IDC_BIG_BG_ERASE"},
    // Web look-up buttons (the last five are labelled from LINKL1 to LINKL5 at initialisation)
    CheckerControl{K::PushButton, 1221, u"ol", 1, 83, 14, 13, ""},
    CheckerControl{K::PushButton, 1216, u"nyt", 1, 95, 14, 13, ""},
    CheckerControl{K::PushButton, 1217, u"bbc", 1, 107, 14, 13, ""},
    CheckerControl{K::PushButton, 1210, u"G", 1, 119, 14, 13, ""},
    CheckerControl{K::PushButton, 1209, u"Gb", 1, 131, 14, 13, ""},
    CheckerControl{K::PushButton, 1218, u"Gn", 1, 143, 14, 13, ""},
    CheckerControl{K::PushButton, 1214, u"Gtr", 1, 156, 14, 13, "IDC_BIG_GOOGLE_TR", IDB_GOOGLE_TR},
    CheckerControl{K::PushButton, 1215, u"W", 1, 170, 14, 13, ""},
    CheckerControl{K::PushButton, 1220, u"Wb", 1, 182, 14, 13, ""},
    CheckerControl{K::PushButton, 1219, u"wk", 1, 194, 14, 13, ""},
    CheckerControl{K::PushButton, 1287, u"img", 1, 206, 14, 13, ""},
    CheckerControl{K::PushButton, 1311, u"E", 1, 218, 14, 13, ""},
    CheckerControl{K::PushButton, 1313, u"D", 1, 230, 14, 13, ""},
    CheckerControl{K::PushButton, 1286, u"ME", 1, 242, 14, 13, ""},
    CheckerControl{K::PushButton, 1314, u"ur", 1, 254, 14, 13, ""},
    CheckerControl{K::PushButton, 1316, u"5", 1, 266, 14, 13, ""},
};
static_assert(kControls.size() == 84);

constexpr std::array kToolTips{
    CheckerToolTip{1249, u"Покажи българските думи, добавени от потребителя"},
    CheckerToolTip{1248, u"Добави текущата непозната дума в списъка с български думи (добавят се във файла "
                         u"b_bulgarian_custom.txt)"},
    CheckerToolTip{1250, u"Изпразни списъка с българските думи, добавени от потребителя"},
    CheckerToolTip{1246, u"Оцветявай грешните думи в момента на писане. Ако е изключено, натискай Refresh, за да "
                         u"оцветиш грешките"},
    CheckerToolTip{1015, u"Считай непознатите думи с главни букви за грешни (оцветяват се)"},
    CheckerToolTip{1267, u"Правописна проверка на думите на латиница (английските думи и пр.)"},
    CheckerToolTip{1268, u"Оцветявай редките думи"},
    CheckerToolTip{1271, u"Зелено е ако за избраната дума има аудио"},
    CheckerToolTip{1320, u"Чети целия текст дума по дума"},
    CheckerToolTip{1319, u"Зареди текста от клипборда в десния панел"},
    CheckerToolTip{1270, u"цвят1 - редки, цвят2 - още по-редки, ... цвят8 - свръхредки"},
    CheckerToolTip{1247, u"Автоматична правописна проверка на текст, копиран в клипборда"},
    CheckerToolTip{1274, u"Добави текущата дума в списъка с трудни английски думи (добавят се във файла hard.txt)"},
    CheckerToolTip{1321, u"Добави текущата дума в списъка с трудни английски произношения (добавят се във файла "
                         u"hard3.txt)"},
    CheckerToolTip{1172, u"Изтрий текста в двата панела"},
    CheckerToolTip{1263, u"Ако промениш опция, натисни Refresh, за да провериш текста отново"},
    CheckerToolTip{1272, u"Отваря прозорче. В него виждаш превода на копирана в клипборда или двойно кликната "
                         u"английска дума"},
    CheckerToolTip{1210, u"Търси активната непозната дума в Google"},
    CheckerToolTip{1209, u"Търси активната непозната дума в Google - само в български сайтове"},
    CheckerToolTip{1214, u"Превод на избрания английски текст в Google"},
    CheckerToolTip{1311, u"Програмируем бутон 1 - отваря сайт по желание"},
    CheckerToolTip{1313, u"Програмируем бутон 2 - отваря сайт по желание"},
    CheckerToolTip{1286, u"Програмируем бутон 3 - отваря сайт по желание"},
    CheckerToolTip{1314, u"Програмируем бутон 4 - отваря сайт по желание"},
    CheckerToolTip{1316, u"Програмируем бутон 5 - отваря сайт по желание"},
    CheckerToolTip{1292, u"image of Christ изображение на Христос (англ. съществ. израз, 1-вата бг дума е ключ, може "
                         u"и само 1 бг дума)"},
    CheckerToolTip{1299, u"gross_domestic_product брутен вътрешен продукт (бг превод: първата е прил., последната е "
                         u"същ.; англ. произволен брой думи)"},
    CheckerToolTip{1304, u"party lifestyle купонджийски начин на живот (бг превод: прил. + същ. + още нещо; англ. "
                         u"произволен брой думи)"},
    CheckerToolTip{1305, u"half-filled наполовина пълен (1 англ. дума-прилагателно, 2 или повече бг думи превод)"},
};
static_assert(kToolTips.size() == 29);

DWORD style_of(const CheckerControl& c) {
    const DWORD shown = WS_CHILD | WS_VISIBLE;
    switch (c.kind) {
        case K::RichEdit:
            return shown | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
        case K::CheckBox:
            return shown | WS_TABSTOP;
        case K::PushButton:
            return shown | WS_TABSTOP | BS_FLAT | (c.bitmap ? DWORD{BS_BITMAP} : DWORD{0});
        case K::Picture:
            return shown | SS_BITMAP;
        default:
            return shown;
    }
}

DialogTemplate checker_template() {
    DialogTemplate t;
    t.id = IDD_BIG;
    t.cx = 642;
    t.cy = 382;
    t.font_face = u"MS Shell Dlg";
    t.font_points = 8;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT;
    for (const CheckerControl& c : kControls)
        t.controls.push_back(ControlTemplate{c.kind, c.id, std::u16string(c.caption), c.x, c.y, c.cx, c.cy,
                                             style_of(c), c.bitmap});
    return t;
}

}  // namespace

std::span<const CheckerControl> checker_controls() { return kControls; }
std::span<const CheckerToolTip> checker_tooltips() { return kToolTips; }

void register_checker_template() { PL_RegisterDialogTemplate(checker_template()); }
