// The rich-edit panel of the Qt backend: a QTextEdit over a QTextDocument that mirrors the core's
// RichText. Positions map one to one: the panel's paragraph end '\r' is one paragraph separator
// (U+2029) in the document.
//
// Model to view: the core tells the view what changed (text, formats, selection, options,
// scrolling); the widget gathers it and brings the document up to date with its own change
// tracking switched off, by comparing it with the model and touching only what differs.
// View to model: the user's edits (typing, paste, cut, drag and drop of text) are recorded from
// QTextDocument::contentsChange and delivered to the core as one change when the widget's event
// handler has finished (or from a queued call when the edit came from elsewhere), never from
// inside the document's signal, so a dialog procedure that changes the panel in its EN_CHANGE
// handler works on a document that is in a settled state. Afterwards the widget checks that
// document and model agree (the core may cut an edit to the text limit) and repairs the document
// from the model when they do not.
#pragma once

#include <QElapsedTimer>
#include <QTextEdit>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/qt_document_sync.h"
#include "platform/qt/qt_views.h"
#include "platform/richtext.h"

// The device a panel's document is laid out for: the panel's viewport, whose logical resolution
// (the fonts' and margins' scale) is kept instead of asked of the screen each time: Qt asks it for
// every paragraph laid out and every line drawn. Every other measure is the viewport's own.
class ViewportMetrics : public QPaintDevice {
public:
    explicit ViewportMetrics(QWidget& viewport) : viewport_(viewport) { refresh(); }
    // Reads the viewport's resolution again; true when it changed.
    bool refresh();
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    QWidget& viewport_;
    int dpi_x_ = 0, dpi_y_ = 0;
};

class RichEditWidget : public QTextEdit {
public:
    RichEditWidget(HWND h, QWidget* parent);
    ~RichEditWidget() override;
    HWND handle() const { return h_; }

    // The whole state from the model (text, formats, selection, options).
    void load_all();
    void model_text_replaced(LONG pos, LONG removed, LONG inserted);
    void model_formats_changed(LONG from, LONG to);
    void model_selection_changed();
    void model_options_changed();
    // The panel's font, placed as the document's runs need (see set_wrap_anywhere).
    void set_font(QFont f);

    POINT scroll_pos() const;
    void set_scroll_pos(POINT p);
    void line_scroll(int lines);
    void scroll_caret();
    int first_visible_line() const;
    LONG char_from_pos(POINT client) const;

    // Delivers a recorded user edit and selection change now (tests and the backend's pump).
    void flush();

    // The model's changes (text, formats, selection, scrolling) are gathered instead of applied
    // one by one: with redrawing on they reach the document when the event loop runs next (while
    // a job pumps messages, at most kShownLateMs late), with it off once it comes back on; and
    // always before the user acts on the panel and before anything reads its view. This applies
    // them now.
    void apply_deferred();
    // Whether text or formats wait to be applied.
    bool text_stale() const { return stale_; }
    // Something was gathered: with redrawing on, a queued call applies it.
    void gathered();

    LONG doc_length() const;
    // The time the core has taken over the edits of every panel's user, since the program
    // started (benchmarks: the rest of a keystroke is Qt's).
    static qint64 core_nanoseconds();
    // What brings the document up to date with the model.
    const DocumentSync& document_sync() const { return sync_; }
    // The document's text of [from, to) in the model's form ('\r' for paragraph ends).
    std::u16string doc_text(LONG from, LONG to) const;

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    // Paste and drop take plain text only; data without text (an empty clipboard) is ignored.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void on_contents_change(int pos, int removed, int added);
    void on_cursor_moved();
    void after_event();
    void flush_edits();
    void schedule_flush();
    // `shown`: the document holds the edit already (else the model's version of it is brought in).
    void deliver(LONG pos, LONG removed, const std::u16string& inserted, bool shown = true);
    void check_against_model(LONG pos, LONG len);
    void resync_by_diff();
    // Makes the document's [from, doc_to) hold the model's [from, to) (DocumentSync::sync).
    void sync_range(LONG from, LONG doc_to, LONG to, bool text_changed, LONG text_from = -1, LONG text_to = -1);
    void replace_document(LONG pos, LONG removed, LONG model_from, LONG model_to);
    void apply_formats(LONG from, LONG to);
    // Before the model's text [from, to) goes into the document: a long unbroken run reaching into
    // it has the document wrapped anywhere first (so the new text is laid out once, in that mode);
    // true when one was found. After it: a document wrapped anywhere that holds no long run any
    // more wraps at word boundaries again.
    bool wrap_before(LONG from, LONG to);
    void wrap_after(bool run_found);
    void set_wrap_anywhere(bool on);
    void apply_selection(bool force);
    void scroll_to(POINT p);

    bool deferring() const;
    bool has_gathered() const { return stale_ || stale_selection_ || stale_scroll_ || stale_caret_; }
    void defer_text(LONG pos, LONG removed, LONG inserted);
    void defer_range(LONG from, LONG to);

    HWND h_;
    ViewportMetrics metrics_;
    DocumentSync sync_;
    // The document shown (the panel's sync may show another): laid out for metrics_, its changes
    // recorded as the user's edits.
    void document_shown();
    QMetaObject::Connection contents_;
    // The model's changes gathered while redrawing is off: the document lags the model in
    // [dirty_from_, dirty_to_) of the model (that range of the document is dirty_to_ - delta_
    // long); the selection and the scroll position are applied with them.
    bool stale_ = false;
    bool stale_text_ = false;  // the text changed too (else only formats did)
    LONG dirty_from_ = 0, dirty_to_ = 0, delta_ = 0;
    LONG text_from_ = 0, text_to_ = 0;  // the part of [dirty_from_, dirty_to_) whose text changed
    bool stale_selection_ = false;
    bool force_selection_ = false;  // the selection is set again even where it stands
    bool apply_queued_ = false;     // a queued call applies the gathered changes
    QElapsedTimer gathering_;       // since the oldest change not applied yet (redrawing on)
    bool redraw_ = true;            // the model's redrawing as last seen
    bool wrap_anywhere_ = false;    // the document holds a long unbroken run: wrapped anywhere
    // The colours the palette was last built from.
    struct Colours {
        std::optional<COLORREF> background, text;
        qint64 app = 0;  // the application palette's key
        friend bool operator==(const Colours&, const Colours&) = default;
    };
    std::optional<Colours> colours_;
    bool stale_scroll_ = false;
    bool stale_caret_ = false;      // the view scrolls to the caret (instead of to wanted_scroll_)
    POINT wanted_scroll_{};
    int applying_ = 0;          // applying the model: the document's signals are ours
    int depth_ = 0;             // nesting of this widget's event handlers
    bool pending_ = false;      // a user edit waits for delivery: [s_, oe_) of the model
    LONG s_ = 0, oe_ = 0, ne_ = 0;  // became [s_, ne_) of the document
    bool lost_ = false;         // an edit the bookkeeping could not follow: diff the texts
    bool sel_dirty_ = false;    // the user moved the cursor or selection
    bool flush_queued_ = false;
    // The user edit being delivered: the core's report of that same change is not applied again.
    struct Echo {
        bool active = false;
        bool seen = false;
        LONG pos = 0, removed = 0;
        LONG doc_inserted = 0;  // what the document holds in place of the removed text
        bool shown = true;      // false: the document holds the removed text still
    } echo_;
};

class QtRichEditView : public RichEditView {
public:
    QtRichEditView(WindowModel& m, QWidget* parent);
    ~QtRichEditView() override;
    RichEditWidget* widget() const { return w_; }

    void sync(WindowProp what) override;
    void text_replaced(LONG pos, LONG removed, LONG inserted) override;
    void formats_changed(LONG from, LONG to) override;
    void selection_changed() override;
    void options_changed() override;
    POINT scroll_pos() const override;
    void set_scroll_pos(POINT p) override;
    void line_scroll(int lines) override;
    void scroll_caret() override;
    int first_visible_line() const override;
    LONG char_from_pos(POINT client) const override;

private:
    HWND h_;
    QPointer<RichEditWidget> w_;
};
