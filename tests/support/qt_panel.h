// A rich-edit panel on the Qt backend (offscreen) for the tests of what its widget shows: a dialog
// holding one multi-line panel, the panel's changes brought to the screen, and a comparison of its
// document with the core's model made independently of the backend's own code.
#pragma once

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_support.h"
#include "platform/richedit.h"
#include "platform/window.h"

namespace jux_test {

// A visible dialog with one multi-line rich-edit panel (control 100) on the Qt backend.
inline HWND make_qt_panel() {
    platform_set_backend(make_qt_backend());
    DialogTemplate t;
    t.caption = u"Panel";
    t.cx = 300;
    t.cy = 200;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.controls = {{ControlKind::RichEdit, 100, u"", 5, 5, 280, 180,
                   WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE, 0}};
    const HWND dlg = CreateDialogIndirect(t, {}, [](HWND, const Msg&) -> INT_PTR { return 0; });
    return GetDlgItem(dlg, 100);
}

// The panel's widget once the program's gathered changes are in its document.
inline QTextEdit* shown_panel(HWND re) {
    auto* edit = qobject_cast<QTextEdit*>(qt_widget(re));
    QCoreApplication::sendPostedEvents(edit, QEvent::MetaCall);
    return edit;
}

// Where the panel's document differs from the model, empty when it shows it: the text (one
// paragraph separator per '\r'), and the format of every character that shows. A paragraph end
// draws nothing; its format (the next paragraph's character format) shows only as the font of an
// empty paragraph after it, and only that is asked of it.
inline std::string panel_difference(HWND re) {
    QTextEdit* edit = shown_panel(re);
    const RichText* rt = platform_rich(re);
    QString shown = edit->toPlainText();
    if (to_u16(shown.replace(QChar(0x2029), u'\r').replace(u'\n', u'\r')) != rt->text()) return "the text";
    std::vector<QTextCharFormat> formats;
    for (QTextBlock b = edit->document()->firstBlock(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it)
            formats.insert(formats.end(), static_cast<std::size_t>(it.fragment().length()), it.fragment().charFormat());
        if (b.next().isValid()) formats.push_back(b.next().charFormat());
    }
    const std::u16string& text = rt->text();
    for (std::size_t k = 0; k < text.size(); ++k) {
        const QTextCharFormat wanted = to_qformat(rt->format_at(static_cast<LONG>(k)));
        const QTextCharFormat& f = formats[k];
        const bool end = text[k] == u'\r', before_text = end && k + 1 < text.size() && text[k + 1] != u'\r';
        const bool same_font = f.fontFamilies() == wanted.fontFamilies() && f.fontPointSize() == wanted.fontPointSize() &&
                               f.fontWeight() == wanted.fontWeight() && f.fontItalic() == wanted.fontItalic();
        if (end ? !before_text && !same_font : !(f == wanted)) return "the format at " + std::to_string(k);
    }
    return {};
}

}  // namespace jux_test
