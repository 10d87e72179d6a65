#include "platform/qt/qt_support.h"

#include <QApplication>
#include <algorithm>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

QString to_qstring(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string to_u16(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

QColor to_qcolor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

namespace {

bool is_dialog_face(std::u16string_view face) {
    return face.empty() || face == u"MS Shell Dlg" || face == u"MS Shell Dlg 2" ||
           face == u"Microsoft Sans Serif" || face == u"MS Sans Serif" || face == u"System";
}

// Average width of the Latin letters, as dialog base units are measured.
qreal average_letter_width(const QFont& f) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetricsF(f).horizontalAdvance(letters) / letters.size();
}

// Dialog templates place and size their controls for a dialog font whose average letter is
// 6 pixels wide at 8 points. The desktop's sans font is usually wider, which cuts captions that
// were measured for the narrower one: take its condensed face, and if that is still too wide,
// a smaller size, so the captions fit the boxes the templates give them.
void fit_to_dialog_units(QFont& q, int points) {
    if (points <= 0) points = 8;
    const qreal target = 6.0 * points / 8.0;
    if (average_letter_width(q) <= target) return;
    QFont condensed = q;
    condensed.setStretch(QFont::Condensed);
    if (average_letter_width(condensed) < average_letter_width(q)) q = condensed;
    const qreal width = average_letter_width(q);
    if (width > target && q.pointSizeF() > 0)
        q.setPointSizeF(std::max<qreal>(q.pointSizeF() * target / width, points * 0.75));
}

}  // namespace

QString map_font_family(std::u16string_view face) {
    if (is_dialog_face(face)) return QApplication::font().family();
    return to_qstring(face);
}

QFont to_qfont(const LOGFONTW& f) {
    QFont q = QApplication::font();
    q.setFamily(map_font_family(f.face));
    if (f.points > 0) q.setPointSize(f.points);
    // Windows and Qt 6 share the 100..900 weight scale.
    q.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight > 0 ? f.weight : 400, 100, 900)));
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    // Set, not inherited: a text panel inside a dialog whose controls are condensed stays as asked.
    q.setStretch(QFont::Unstretched);
    return q;
}

QFont control_font(const LOGFONTW& f) {
    QFont q = to_qfont(f);
    if (is_dialog_face(f.face)) fit_to_dialog_units(q, f.points);
    return q;
}

QFont dialog_font(int points, bool fit) {
    QFont q = QApplication::font();
    if (points > 0) q.setPointSize(points);
    q.setStretch(QFont::Unstretched);
    if (fit) fit_to_dialog_units(q, points);
    return q;
}

namespace {

QColor hue_of(int resource) { return QColor::fromHsv((resource * 47) % 360, 170, 200); }

void draw_dot(QPainter& p, QRectF r, QColor c) {
    const qreal d = std::max<qreal>(2.0, std::min(r.width(), r.height()) - 2.0);
    QRectF dot(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    p.setPen(QPen(c.darker(160), 1.0));
    p.setBrush(c);
    p.drawEllipse(dot);
}

}  // namespace

QPixmap resource_icon_pixmap(int resource, int size) {
    const QString key = QStringLiteral("jux-icon-%1-%2").arg(resource).arg(size);
    QPixmap pm;
    if (QPixmapCache::find(key, &pm)) return pm;
    pm = QPixmap(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const qreal m = size / 16.0;
    path.addRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size / 5.0, size / 5.0);
    p.fillPath(path, hue_of(resource));
    p.setPen(QPen(hue_of(resource).darker(150), std::max<qreal>(1.0, size / 24.0)));
    p.drawPath(path);
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPixelSize(std::max(6, size * 5 / 8));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("J"));
    p.end();
    QPixmapCache::insert(key, pm);
    return pm;
}

QIcon resource_icon(int resource) {
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64}) icon.addPixmap(resource_icon_pixmap(resource, s));
    return icon;
}

QPixmap resource_bitmap(int resource, QSize size) {
    if (size.width() < 4 || size.height() < 4) size = QSize(16, 16);
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    switch (resource) {
        case 129: draw_dot(p, r, QColor(220, 30, 30)); break;   // audio: nothing to play
        case 130: draw_dot(p, r, QColor(30, 170, 50)); break;   // audio: a clip is there
        case 122: {  // legend of eight colours, from frequent-rare to rarest
            const qreal w = r.width() / 8.0;
            for (int i = 0; i < 8; ++i)
                p.fillRect(QRectF(i * w, 0, w + 0.5, r.height()), QColor::fromHsv(i * 40, 200, 230));
            break;
        }
        default: {
            p.fillRect(r.adjusted(1, 1, -1, -1), hue_of(resource));
            QFont f = QApplication::font();
            f.setBold(true);
            f.setPixelSize(std::max(6, size.height() * 2 / 3));
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, resource == 128 ? QStringLiteral("G") : QString::number(resource % 100));
            break;
        }
    }
    p.end();
    return pm;
}

QTextCharFormat to_qformat(const CharFormat& f) {
    QTextCharFormat q;
    const bool link = f.effects & CFE_LINK;
    if (!f.auto_color)
        q.setForeground(to_qcolor(f.color));
    else if (link)
        q.setForeground(QColor(0, 0, 255));
    if (!f.auto_back) q.setBackground(to_qcolor(f.back));
    q.setFontWeight((f.effects & CFE_BOLD) ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.effects & CFE_ITALIC);
    q.setFontUnderline((f.effects & CFE_UNDERLINE) || link);
    q.setFontStrikeOut(f.effects & CFE_STRIKEOUT);
    if (f.height > 0) q.setFontPointSize(f.height / 20.0);
    if (!f.face.empty()) q.setFontFamilies(QStringList{map_font_family(f.face)});
    return q;
}

namespace {

// X key codes of the letter and digit keys (evdev code + 8), so that Ctrl+O is the same key under
// a Cyrillic keyboard layout, as virtual keys are on Windows.
WORD vk_from_x_keycode(quint32 code) {
    static const char row1[] = "1234567890";  // 10..19
    static const char row2[] = "QWERTYUIOP";  // 24..33
    static const char row3[] = "ASDFGHJKL";   // 38..46
    static const char row4[] = "ZXCVBNM";     // 52..58
    if (code >= 10 && code <= 19) return static_cast<WORD>(row1[code - 10]);
    if (code >= 24 && code <= 33) return static_cast<WORD>(row2[code - 24]);
    if (code >= 38 && code <= 46) return static_cast<WORD>(row3[code - 38]);
    if (code >= 52 && code <= 58) return static_cast<WORD>(row4[code - 52]);
    return 0;
}

WORD vk_of_punctuation(int key) {
    switch (key) {
        case Qt::Key_Exclam: return '1';
        case Qt::Key_At: return '2';
        case Qt::Key_NumberSign: return '3';
        case Qt::Key_Dollar: return '4';
        case Qt::Key_Percent: return '5';
        case Qt::Key_AsciiCircum: return '6';
        case Qt::Key_Ampersand: return '7';
        case Qt::Key_Asterisk: return '8';
        case Qt::Key_ParenLeft: return '9';
        case Qt::Key_ParenRight: return '0';
        case Qt::Key_Semicolon: case Qt::Key_Colon: return 0xBA;
        case Qt::Key_Equal: case Qt::Key_Plus: return 0xBB;
        case Qt::Key_Comma: case Qt::Key_Less: return 0xBC;
        case Qt::Key_Minus: case Qt::Key_Underscore: return 0xBD;
        case Qt::Key_Period: case Qt::Key_Greater: return 0xBE;
        case Qt::Key_Slash: case Qt::Key_Question: return 0xBF;
        case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 0xC0;
        case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 0xDB;
        case Qt::Key_Backslash: case Qt::Key_Bar: return 0xDC;
        case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 0xDD;
        case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 0xDE;
        default: return 0;
    }
}

}  // namespace

VirtualKey virtual_key_of(const QKeyEvent& e) {
    VirtualKey v;
    const Qt::KeyboardModifiers m = e.modifiers();
    if (m & Qt::ShiftModifier) v.modifiers |= FSHIFT;
    if (m & Qt::ControlModifier) v.modifiers |= FCONTROL;
    if (m & Qt::AltModifier) v.modifiers |= FALT;
    const int key = e.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        v.vk = static_cast<WORD>(key);
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        v.vk = (m & Qt::KeypadModifier) ? static_cast<WORD>(0x60 + key - Qt::Key_0) : static_cast<WORD>(key);
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        v.vk = static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
    } else {
        switch (key) {
            case Qt::Key_Escape: v.vk = VK_ESCAPE; break;
            case Qt::Key_Tab: case Qt::Key_Backtab: v.vk = VK_TAB; break;
            case Qt::Key_Backspace: v.vk = VK_BACK; break;
            case Qt::Key_Return: case Qt::Key_Enter: v.vk = VK_RETURN; break;
            case Qt::Key_Insert: v.vk = VK_INSERT; break;
            case Qt::Key_Delete: v.vk = VK_DELETE; break;
            case Qt::Key_Home: v.vk = VK_HOME; break;
            case Qt::Key_End: v.vk = VK_END; break;
            case Qt::Key_Left: v.vk = VK_LEFT; break;
            case Qt::Key_Up: v.vk = VK_UP; break;
            case Qt::Key_Right: v.vk = VK_RIGHT; break;
            case Qt::Key_Down: v.vk = VK_DOWN; break;
            case Qt::Key_PageUp: v.vk = VK_PRIOR; break;
            case Qt::Key_PageDown: v.vk = VK_NEXT; break;
            case Qt::Key_Space: v.vk = VK_SPACE; break;
            default: v.vk = vk_of_punctuation(key); break;
        }
    }
    // Letters of another layout (Cyrillic): the physical key decides, as with virtual keys.
    if (v.vk == 0 || (key > 0xFF && key < 0x01000000)) {
        const WORD by_code = vk_from_x_keycode(e.nativeScanCode());
        if (by_code) v.vk = by_code;
    }
    return v;
}
