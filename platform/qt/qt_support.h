// Small conversions shared by the Qt backend: strings, colours, fonts, generated resource
// pictures and the mapping of Qt keys to virtual keys.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QTextCharFormat>
#include <string>
#include <string_view>

#include "platform/backend.h"

class QKeyEvent;

QString to_qstring(std::u16string_view s);
std::u16string to_u16(const QString& s);
QColor to_qcolor(COLORREF c);

// The application's sans font for the Windows dialog faces ("MS Shell Dlg", "MS Shell Dlg 2",
// "Microsoft Sans Serif"), which do not exist here; other faces are kept.
QString map_font_family(std::u16string_view face);
QFont to_qfont(const LOGFONTW& f);
// The font of a control or a dialog: the dialog faces are fitted to the templates' dialog units
// (text panels take to_qfont, unfitted).
QFont control_font(const LOGFONTW& f);
// The template's dialog font, for controls the program gives no font of their own: fitted to the
// dialog units; text panels take it unfitted (their text is read, not measured against a box).
QFont dialog_font(int points, bool fit = true);

// Pictures for the compiled-in resource numbers, drawn here: icons are coloured rounded squares
// with a letter; bitmap 129 is a red dot, 130 a green dot, 122 a strip of eight colours.
QPixmap resource_icon_pixmap(int resource, int size);
QIcon resource_icon(int resource);
QPixmap resource_bitmap(int resource, QSize size);

// A rich-edit character format as Qt shows it (auto colours come from the widget's palette).
QTextCharFormat to_qformat(const CharFormat& f);

// The virtual key and accelerator modifiers (FSHIFT, FCONTROL, FALT) of a key press; vk 0 when
// the key has no virtual key we offer to accelerators.
struct VirtualKey {
    WORD vk = 0;
    BYTE modifiers = 0;
};
VirtualKey virtual_key_of(const QKeyEvent& e);

// Mouse key state bits of the mouse messages (wParam of WM_LBUTTONDOWN ...).
enum : UINT { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
              MK_MBUTTON = 0x0010 };
// Mouse messages the core's header does not name.
enum : UINT { WM_RBUTTONDBLCLK_ = 0x0206, WM_MBUTTONDOWN_ = 0x0207, WM_MBUTTONUP_ = 0x0208,
              WM_MBUTTONDBLCLK_ = 0x0209 };
