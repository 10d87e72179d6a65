// A rich-edit panel on the Qt backend (offscreen) for the tests of what its widget shows: a dialog
// holding one multi-line panel, the panel's changes brought to the screen, and a comparison of its
// document with the core's model made independently of the backend's own code.
#pragma once

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <string>
#include <tuple>
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
    const std::u16string& text = rt->text();
    // Each pair of a document format and a model format is compared once.
    std::vector<std::tuple<int, std::uint32_t, bool, bool>> asked;  // document's, model's, same format, same font
    const std::vector<FormatSpan> spans = rt->spans(0, rt->length());
    std::size_t si = 0;
    auto check = [&](std::size_t k, int index, const QTextCharFormat& f) {
        while (spans[si].to <= static_cast<LONG>(k)) ++si;
        auto it = std::find_if(asked.begin(), asked.end(), [&](const auto& a) {
            return std::get<0>(a) == index && std::get<1>(a) == spans[si].index;
        });
        if (it == asked.end()) {
            const QTextCharFormat wanted = to_qformat(rt->format_by_index(spans[si].index));
            const bool same_font = f.fontFamilies() == wanted.fontFamilies() && f.fontPointSize() == wanted.fontPointSize() &&
                                   f.fontWeight() == wanted.fontWeight() && f.fontItalic() == wanted.fontItalic();
            it = asked.insert(asked.end(), {index, spans[si].index, f == wanted, same_font});
        }
        const bool end = text[k] == u'\r', before_text = end && k + 1 < text.size() && text[k + 1] != u'\r';
        return end ? before_text || std::get<3>(*it) : std::get<2>(*it);
    };
    for (QTextBlock b = edit->document()->firstBlock(); b.isValid(); b = b.next()) {
        auto k = static_cast<std::size_t>(b.position());
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            for (int n = 0; n < frag.length(); ++n, ++k)
                if (!check(k, frag.charFormatIndex(), f)) return "the format at " + std::to_string(k);
        }
        if (b.next().isValid() && !check(k, b.next().charFormatIndex(), b.next().charFormat()))
            return "the format at " + std::to_string(k);
    }
    return {};
}

}  // namespace jux_test
