#include "platform/qt/qt_richedit.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "platform/qt/qt_document_sync.h"
#include "platform/qt/qt_internal.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_support.h"

namespace {

constexpr char16_t kParagraph = 0x2029;      // QChar::ParagraphSeparator
constexpr char16_t kLineSeparator = 0x2028;  // QChar::LineSeparator

// The document's text in the model's form.
std::u16string to_model(const QString& q) {
    std::u16string s = to_u16(q);
    for (char16_t& c : s)
        if (c == kParagraph || c == kLineSeparator) c = u'\r';
    return s;
}

LONG clamp_to(LONG v, LONG lo, LONG hi) { return std::clamp(v, lo, std::max(lo, hi)); }

// The events before which the document takes the gathered changes: the user acts on the text
// (keys pressed, the mouse's buttons and wheel, a drag of text, the context menu). A key's release
// and the shortcut query before its press act on nothing: a check that pumps messages while the
// release of the key that started it comes in goes on writing the panels unseen. A file dragged over
// the panel is not dropped into the document but handed to the program: its drag source waits
// for the answer, which laying out a long text under check would delay past the user's letting
// go (the drop then refused). Others (paints,
// input-method queries, focus, moves, queued calls) leave them gathered: a paint shows the text
// as it was until they are applied, so a job that pumps messages does not have them laid out at
// every pump.
bool user_acts(const QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return !qt_is_file_drag(static_cast<const QDropEvent*>(e)->mimeData());
        case QEvent::MouseMove:  // a drag that selects; not the mouse passing over the text
            return static_cast<const QMouseEvent*>(e)->buttons() != Qt::NoButton;
        default:
            return false;
    }
}

// A paste at least this long is put in by the panel's sync instead of by Qt.
constexpr int kLongPaste = 100'000;

// Qt wraps a paragraph at word boundaries, and anywhere only where a line holds no boundary: it
// then measures the whole rest of the unbroken run for each line, so that laying out a run of n
// letters costs n * n / (letters a line). A document holding a run at least this long is wrapped
// anywhere (linear in the run; a run too long for a line is wrapped where the line is full
// either way); the prose around it then wraps anywhere too, until the last such run is gone.
constexpr std::size_t kLongRun = 5'000;

// A character Qt may break a line at (or after): blanks and line ends. Every other character
// counts into a run, so a run is never taken for shorter than Qt sees it.
bool breaks_run(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == kParagraph || c == kLineSeparator;
}

// Whether a run of at least kLongRun characters without a break reaches into [from, to) of `text`.
bool long_run_near(std::u16string_view text, std::size_t from, std::size_t to) {
    from = std::min(from, text.size());
    to = std::clamp(to, from, text.size());
    std::size_t a = from;
    const std::size_t lowest = from > kLongRun ? from - kLongRun : 0;
    while (a > lowest && !breaks_run(text[a - 1])) --a;
    std::size_t z = to;
    const std::size_t highest = std::min(text.size(), to + kLongRun);
    while (z < highest && !breaks_run(text[z])) ++z;
    std::size_t run = 0;
    for (std::size_t i = a; i < z; ++i) {
        run = breaks_run(text[i]) ? 0 : run + 1;
        if (run >= kLongRun) return true;
    }
    return false;
}

// How late, at most, a panel with redrawing on shows its gathered changes while a job pumps.
constexpr qint64 kShownLateMs = 250;

// The panels whose gathered changes wait for the job's current pump to end. An event loop that
// waits for events (the job has ended, or a modal dialog runs) shows them at once.
std::vector<QPointer<RichEditWidget>> g_after_pump;

// The time the core took over the users' edits (benchmarks).
qint64 g_core_ns = 0;

void show_the_waiting_panels() {
    if (g_after_pump.empty()) return;
    std::vector<QPointer<RichEditWidget>> waiting;
    waiting.swap(g_after_pump);
    for (const QPointer<RichEditWidget>& w : waiting)
        if (const RichText* rt = w ? platform_rich(w->handle()) : nullptr; rt && rt->redraw) w->apply_deferred();
}

void wait_for_the_pump(RichEditWidget* w) {
    static QPointer<QAbstractEventDispatcher> watched;
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    if (d && d != watched) {
        watched = d;
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, d, &show_the_waiting_panels);
    }
    g_after_pump.push_back(w);
}

}  // namespace

// ---- ViewportMetrics -----------------------------------------------------------------------

bool ViewportMetrics::refresh() {
    const int x = viewport_.logicalDpiX(), y = viewport_.logicalDpiY();
    const bool changed = x != dpi_x_ || y != dpi_y_;
    dpi_x_ = x;
    dpi_y_ = y;
    return changed;
}

int ViewportMetrics::metric(PaintDeviceMetric m) const {
    switch (m) {
        case PdmDpiX: return dpi_x_;
        case PdmDpiY: return dpi_y_;
        case PdmWidth: return viewport_.width();
        case PdmHeight: return viewport_.height();
        case PdmWidthMM: return viewport_.widthMM();
        case PdmHeightMM: return viewport_.heightMM();
        case PdmNumColors: return viewport_.colorCount();
        case PdmDepth: return viewport_.depth();
        case PdmPhysicalDpiX: return viewport_.physicalDpiX();
        case PdmPhysicalDpiY: return viewport_.physicalDpiY();
        case PdmDevicePixelRatio: return static_cast<int>(viewport_.devicePixelRatio());
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(std::lround(viewport_.devicePixelRatio() * devicePixelRatioFScale()));
    }
    return QPaintDevice::metric(m);
}

// ---- RichEditWidget ------------------------------------------------------------------------

RichEditWidget::RichEditWidget(HWND h, QWidget* parent)
    : QTextEdit(parent), h_(h), metrics_(*viewport()), sync_(*this, [this] { document_shown(); }) {
    set_widget_handle(this, h);
    setAcceptRichText(false);  // paste and drop bring plain text only
    setUndoRedoEnabled(false);  // the core keeps the undo history
    document()->setUndoRedoEnabled(false);
    setTabChangesFocus(false);
    // Paragraphs run left to right, as in the rich-edit control, unless the program says otherwise:
    // no paragraph's direction is guessed from its letters (Qt would read each paragraph after
    // a change to place it).
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);
    document_shown();
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { on_cursor_moved(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { on_cursor_moved(); });
}

void RichEditWidget::document_shown() {
    PanelLayout::install(*document());
    document()->documentLayout()->setPaintDevice(&metrics_);
    disconnect(contents_);
    contents_ = connect(document(), &QTextDocument::contentsChange, this, [this](int pos, int removed, int added) {
        on_contents_change(pos, removed, added);
    });
}

RichEditWidget::~RichEditWidget() {
    // The document outlives this part of the widget: it is laid out for the viewport again.
    document()->documentLayout()->setPaintDevice(viewport());
}

qint64 RichEditWidget::core_nanoseconds() { return g_core_ns; }

LONG RichEditWidget::doc_length() const { return std::max(0, document()->characterCount() - 1); }

std::u16string RichEditWidget::doc_text(LONG from, LONG to) const {
    const LONG n = doc_length();
    from = clamp_to(from, 0, n);
    to = clamp_to(to, from, n);
    if (from == to) return {};
    QTextCursor c(document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    return to_model(c.selectedText());
}

void RichEditWidget::replace_document(LONG pos, LONG removed, LONG model_from, LONG model_to) {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    const bool run = wrap_before(model_from, model_to);
    ++applying_;
    const LONG n = doc_length();
    pos = clamp_to(pos, 0, n);
    const LONG end = clamp_to(pos + std::max<LONG>(0, removed), pos, n);
    QTextCursor c(document());
    c.beginEditBlock();
    c.setPosition(pos);
    c.setPosition(end, QTextCursor::KeepAnchor);
    if (c.hasSelection()) c.removeSelectedText();
    QFormats formats;
    for (const FormatRun& r : rt->runs(model_from, model_to))
        c.insertText(to_doc(rt->text_range(r.from, r.to)), formats.of(r.format));
    c.endEditBlock();
    --applying_;
    wrap_after(run);
}

void RichEditWidget::apply_formats(LONG from, LONG to) {
    RichText* rt = platform_rich(h_);
    if (!rt || from >= to) return;
    ++applying_;
    const LONG n = doc_length();
    QTextCursor c(document());
    c.beginEditBlock();
    QFormats formats;
    for (const FormatRun& r : rt->runs(from, to)) {
        c.setPosition(clamp_to(r.from, 0, n));
        c.setPosition(clamp_to(r.to, 0, n), QTextCursor::KeepAnchor);
        if (c.hasSelection()) c.setCharFormat(formats.of(r.format));
    }
    c.endEditBlock();
    --applying_;
}

void RichEditWidget::apply_selection(bool force) {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    const CHARRANGE s = rt->selection();
    // A hidden selection shows as a caret at its end, so that the text keeps its own colours
    // (a colouring pass selects each range it colours); the core keeps the whole selection.
    const LONG from = rt->hide_selection ? s.cpMax : s.cpMin;
    const QTextCursor cur = textCursor();
    const LONG a = cur.anchor(), p = cur.position();
    // The user's own selection keeps its direction (which end moves with Shift+arrows).
    if (!force && std::min(a, p) == from && std::max(a, p) == s.cpMax) return;
    ++applying_;
    const LONG n = doc_length();
    QTextCursor c(document());
    c.setPosition(clamp_to(from, 0, n));
    c.setPosition(clamp_to(s.cpMax, 0, n), QTextCursor::KeepAnchor);
    const PanelLayout::Leaving leaving(*document(), a, p, c.anchor(), c.position());
    setTextCursor(c);
    --applying_;
}

void RichEditWidget::resync_by_diff() {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    // What was gathered is in the model too: the whole text is compared.
    stale_ = stale_text_ = false;
    delta_ = 0;
    sync_range(0, doc_length(), rt->length(), true);
    if (doc_length() != rt->length()) {
        // Nothing else can help: the whole text again.
        replace_document(0, doc_length(), 0, rt->length());
    }
    apply_selection(false);
}


void RichEditWidget::sync_range(LONG from, LONG doc_to, LONG to, bool text_changed, LONG text_from, LONG text_to) {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    const bool run = text_changed && wrap_before(text_from >= 0 ? text_from : from, text_from >= 0 ? text_to : to);
    ++applying_;
    sync_.sync(*rt, from, doc_to, to, text_changed, text_from, text_to);
    --applying_;
    if (text_changed) wrap_after(run);
}

bool RichEditWidget::wrap_before(LONG from, LONG to) {
    const RichText* rt = platform_rich(h_);
    if (!rt || !long_run_near(rt->text(), static_cast<std::size_t>(std::max<LONG>(0, from)),
                              static_cast<std::size_t>(std::max<LONG>(0, to))))
        return false;
    set_wrap_anywhere(true);
    return true;
}

void RichEditWidget::wrap_after(bool run_found) {
    const RichText* rt = platform_rich(h_);
    if (!rt || !wrap_anywhere_ || run_found || long_run_near(rt->text(), 0, rt->text().size())) return;
    set_wrap_anywhere(false);
}

void RichEditWidget::set_wrap_anywhere(bool on) {
    if (on == wrap_anywhere_) return;
    wrap_anywhere_ = on;
    ++applying_;
    setWordWrapMode(on ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    set_font(font());
    --applying_;
}

void RichEditWidget::set_font(QFont f) {
    // Letters are placed without shaping (kerning, ligatures) while the document holds a long run:
    // that halves what laying it out costs, and Latin and Cyrillic letters need none.
    f.setStyleStrategy(wrap_anywhere_ ? QFont::PreferNoShaping : QFont::PreferDefault);
    setFont(f);
}

void RichEditWidget::load_all() {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    pending_ = lost_ = false;
    stale_ = stale_text_ = stale_selection_ = stale_scroll_ = stale_caret_ = force_selection_ = false;
    delta_ = 0;
    sync_range(0, doc_length(), rt->length(), true);
    model_options_changed();
    apply_selection(true);
}

// ---- Model to view -----------------------------------------------------------------------

void RichEditWidget::model_text_replaced(LONG pos, LONG removed, LONG inserted) {
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    if (echo_.active && !echo_.seen && pos == echo_.pos && removed == echo_.removed) {
        // The core's report of the edit being delivered: the document has it already, unless
        // the core cut it (text limit); then the document takes the model's version.
        echo_.seen = true;
        // New text takes the model's formats where Qt gave it others; so does the paragraph end
        // before it, which shows its font when the edit left an empty paragraph after it. Its
        // text is compared too: Qt's insertion may hold a line end as a line separator, where
        // the model has a paragraph end.
        const LONG from = std::max<LONG>(0, pos - 1);
        const bool run = wrap_before(pos, pos + inserted);  // typed letters that make a run long, or end one
        sync_range(from, pos + echo_.doc_inserted, pos + inserted, true, pos, pos + inserted);
        wrap_after(run);
        if (doc_length() != rt->length()) resync_by_diff();
        return;
    }
    if (pending_ || lost_) {
        // A user edit not delivered yet meets a change of the program: the model wins.
        pending_ = lost_ = false;
        resync_by_diff();
        return;
    }
    // A whole new text from the program: the document is compared with the model itself, so
    // that it shows the model whatever the copy the sync keeps of it says.
    if (pos == 0 && removed > 0 && inserted > 0 && inserted == rt->length()) sync_.forget_copy();
    if (deferring()) {
        defer_text(pos, removed, inserted);
        gathered();
        return;
    }
    apply_deferred();
    replace_document(pos, removed, pos, pos + inserted);
    if (doc_length() != rt->length()) resync_by_diff();
}

void RichEditWidget::model_formats_changed(LONG from, LONG to) {
    if (pending_ || lost_) {
        pending_ = lost_ = false;
        resync_by_diff();
    }
    if (deferring()) {
        defer_range(from, to);
        gathered();
        return;
    }
    apply_deferred();
    apply_formats(from, to);
}

void RichEditWidget::model_selection_changed() {
    if (pending_ || lost_) {
        pending_ = lost_ = false;
        resync_by_diff();
    }
    if (deferring()) {
        stale_selection_ = true;
        gathered();
        return;
    }
    apply_deferred();
    apply_selection(false);
}

bool RichEditWidget::deferring() const {
    // Gathered, whether redrawing is on or off, unless the document holds a user edit that the
    // model has not taken yet (the edit's own report from the core is matched against it).
    const RichText* rt = platform_rich(h_);
    return rt && !pending_ && !lost_ && !(echo_.active && !echo_.seen);
}

void RichEditWidget::gathered() {
    // With redrawing on, the gathered changes are shown when the event loop runs next (as a
    // window repaints), unless something reads the view or the user acts first. While a job
    // pumps messages they are shown at most kShownLateMs late: a short job (a check after a
    // keystroke) shows its panels once, when it ends, not half-written at its pumps.
    const RichText* rt = platform_rich(h_);
    if (!rt || !rt->redraw || !has_gathered()) return;
    if (!gathering_.isValid()) gathering_.start();
    if (apply_queued_) return;
    apply_queued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            apply_queued_ = false;
            // Turned off meanwhile: the changes wait until redrawing comes back on.
            const RichText* now = platform_rich(h_);
            if (!now || !now->redraw) return;
            if (qt_pumping() && gathering_.isValid() && gathering_.elapsed() < kShownLateMs) {
                wait_for_the_pump(this);
                return;
            }
            apply_deferred();
        },
        Qt::QueuedConnection);
}

void qt_panels_after_pump() {
    std::vector<QPointer<RichEditWidget>> waiting;
    waiting.swap(g_after_pump);
    for (const QPointer<RichEditWidget>& w : waiting)
        if (w) w->gathered();
}

void RichEditWidget::defer_range(LONG from, LONG to) {
    if (from >= to) return;
    if (!stale_) {
        stale_ = true;
        dirty_from_ = from;
        dirty_to_ = to;
        return;
    }
    dirty_from_ = std::min(dirty_from_, from);
    dirty_to_ = std::max(dirty_to_, to);
}

void RichEditWidget::defer_text(LONG pos, LONG removed, LONG inserted) {
    removed = std::max<LONG>(0, removed);
    inserted = std::max<LONG>(0, inserted);
    if (stale_) {
        // The gathered range in the model's new positions: text after the replaced part moves,
        // text inside it is gone.
        const LONG old_end = pos + removed;
        dirty_to_ = dirty_to_ >= old_end ? dirty_to_ + inserted - removed : std::max(dirty_to_, pos + inserted);
        dirty_to_ = std::max(dirty_to_, pos + inserted);
        dirty_from_ = std::min(dirty_from_, pos);
        if (stale_text_) {
            text_to_ = text_to_ >= old_end ? text_to_ + inserted - removed : std::max(text_to_, pos + inserted);
            text_to_ = std::max(text_to_, pos + inserted);
            text_from_ = std::min(text_from_, pos);
        } else {
            text_from_ = pos;
            text_to_ = pos + inserted;
        }
    } else {
        stale_ = true;
        dirty_from_ = text_from_ = pos;
        dirty_to_ = text_to_ = pos + inserted;
    }
    delta_ += inserted - removed;
    stale_text_ = true;
    stale_selection_ = true;  // the model moved the selection with the text
}

void RichEditWidget::apply_deferred() {
    apply_queued_ = false;
    gathering_.invalidate();
    if (!has_gathered()) return;
    RichText* rt = platform_rich(h_);
    if (!rt) {
        stale_ = stale_text_ = stale_selection_ = stale_scroll_ = stale_caret_ = force_selection_ = false;
        delta_ = 0;
        return;
    }
    const bool text = stale_;
    if (stale_) {
        const bool text_changed = stale_text_;
        stale_ = stale_text_ = false;
        LONG from = dirty_from_, to = std::min(dirty_to_, rt->length()), doc_to = dirty_to_ - delta_;
        delta_ = 0;
        bool whole = !text_changed;  // no hint for the text: none changed, or the whole is compared
        if (!text_changed) {
            doc_to = to;
        } else if (from < 0 || doc_to < from || doc_to > doc_length() || dirty_to_ > rt->length() ||
                   text_from_ < from || text_to_ > dirty_to_ || text_from_ > text_to_) {
            from = 0;
            doc_to = doc_length();
            to = rt->length();
            whole = true;
        }
        // Only what differs is touched: a check that colours the whole text again mostly sets
        // the colours the text has already.
        if (whole) sync_range(from, doc_to, to, text_changed);
        else sync_range(from, doc_to, to, text_changed, text_from_, text_to_);
        if (doc_length() != rt->length()) replace_document(0, doc_length(), 0, rt->length());
    }
    if (stale_selection_ || text) {
        const bool force = force_selection_;
        stale_selection_ = force_selection_ = false;
        apply_selection(force);  // moves the cursor only when it stands elsewhere (that lays out)
    }
    if (stale_scroll_) {
        stale_scroll_ = false;
        scroll_to(wanted_scroll_);
    } else if (stale_caret_) {
        stale_caret_ = false;
        ensureCursorVisible();
    }
}

void RichEditWidget::model_options_changed() {
    RichText* rt = platform_rich(h_);
    WindowModel* m = platform_window(h_);
    if (!rt || !m) return;
    SyncGuard guard;
    const QPalette app = QApplication::palette(this);
    // The palette is built again only when a colour changed (a colouring pass hides and shows
    // the selection for every range it colours).
    const Colours colours{rt->background, m->text_color, app.cacheKey()};
    if (!(colours == colours_)) {
        colours_ = colours;
        QPalette p = app;
        const QColor base = rt->background ? to_qcolor(*rt->background) : app.color(QPalette::Base);
        const QColor text = m->text_color ? to_qcolor(*m->text_color) : app.color(QPalette::Text);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Base, base);
            if (group != QPalette::Disabled) p.setColor(group, QPalette::Text, text);
        }
        setPalette(p);
    }
    if (deferring()) {
        stale_selection_ = force_selection_ = true;  // shown or hidden with the gathered changes
        gathered();
    } else {
        apply_selection(true);  // shows or hides the selection
    }
    const bool multiline = (m->style & ES_MULTILINE) != 0;
    setLineWrapMode(rt->word_wrap && multiline ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    if (rt->read_only != isReadOnly()) {
        setReadOnly(rt->read_only);
        if (rt->read_only)
            setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    // Redrawing back on shows what was gathered meanwhile, as one change, when the event loop
    // runs next (a job that turns it on while it goes on writing shows the panel once).
    const bool redraw_back = rt->redraw && !redraw_;
    redraw_ = rt->redraw;
    if (redraw_back) gathered();
    if (rt->redraw != updatesEnabled()) {
        setUpdatesEnabled(rt->redraw);
        if (rt->redraw) viewport()->update();
    }
}

POINT RichEditWidget::scroll_pos() const {
    const QScrollBar* h = horizontalScrollBar();
    const QScrollBar* v = verticalScrollBar();
    // A gathered scroll to the caret: the view is where it is until the gathered text is in.
    if (!stale_scroll_) return POINT{h->value(), v->value()};
    // With redrawing off, the position last given counts: it is applied with the gathered text.
    // With it on, that position as far as the view can go in the text it shows (a panel that
    // keeps scrolling to its end while lines are added to it does not lay them out each time).
    const RichText* rt = platform_rich(h_);
    if (rt && !rt->redraw) return wanted_scroll_;
    return POINT{clamp_to(wanted_scroll_.x, h->minimum(), h->maximum()),
                 clamp_to(wanted_scroll_.y, v->minimum(), v->maximum())};
}

void RichEditWidget::set_scroll_pos(POINT p) {
    if (deferring()) {
        // Where the view goes is known once the gathered text is in.
        stale_scroll_ = true;
        stale_caret_ = false;
        wanted_scroll_ = p;
        gathered();
        return;
    }
    apply_deferred();
    scroll_to(p);
}

void RichEditWidget::scroll_to(POINT p) {
    // The scroll bar goes as far as a full layout lets it once the paragraphs above the view's
    // bottom are laid out (a text that ends above it is laid out whole); sideways, once every
    // line's width is known.
    if (p.x > 0) PanelLayout::lay_out_whole(*document());
    else PanelLayout::lay_out_above(*document(), static_cast<qreal>(p.y) + viewport()->height());
    horizontalScrollBar()->setValue(std::max<LONG>(0, p.x));
    verticalScrollBar()->setValue(std::max<LONG>(0, p.y));
}

void RichEditWidget::line_scroll(int lines) {
    apply_deferred();
    // Counted in the lines the document really shows (wrapped lines count one each, and lines of
    // a larger font are taller), from the first line at the top of the view; the line reached
    // is put at the very top, so no sliver of the line above it shows.
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    PanelLayout::lay_out_whole(*document());
    QScrollBar* v = verticalScrollBar();
    const qreal y = v->value();
    QTextBlock b = document()->firstBlock();
    int line = 0;  // the line of `b` at the top of the view
    for (QTextBlock next = b.next(); next.isValid() && layout->blockBoundingRect(next).top() <= y; next = next.next())
        b = next;
    if (const QTextLayout* tl = b.layout()) {
        const qreal top = layout->blockBoundingRect(b).top();
        while (line + 1 < tl->lineCount() && top + tl->lineAt(line + 1).y() <= y) ++line;
    }
    auto line_count = [](const QTextBlock& blk) {
        const QTextLayout* tl = blk.layout();
        return tl && tl->lineCount() > 0 ? tl->lineCount() : 1;
    };
    for (int n = lines; n > 0; --n) {
        if (line + 1 < line_count(b)) {
            ++line;
        } else if (b.next().isValid()) {
            b = b.next();
            line = 0;
        } else {
            break;
        }
    }
    for (int n = lines; n < 0; ++n) {
        if (line > 0) {
            --line;
        } else if (b.previous().isValid()) {
            b = b.previous();
            line = line_count(b) - 1;
        } else {
            break;
        }
    }
    qreal target = layout->blockBoundingRect(b).top();
    const QTextLayout* tl = b.layout();
    if (tl && line < tl->lineCount()) target += tl->lineAt(line).y();
    // The first line keeps the document's margin above it.
    if (b == document()->firstBlock() && line == 0) target = 0;
    v->setValue(std::clamp(static_cast<int>(std::ceil(target)), v->minimum(), v->maximum()));
}

void RichEditWidget::scroll_caret() {
    if (deferring()) {
        // Where the caret stands is known once the gathered text is in.
        stale_caret_ = stale_selection_ = true;
        stale_scroll_ = false;
        gathered();
        return;
    }
    apply_deferred();
    apply_selection(false);
    ensureCursorVisible();
}

int RichEditWidget::first_visible_line() const {
    // The paragraph at the top of the view: one pixel into it, so that the line boundary the
    // view begins at belongs to the line below it.
    const QPointF at(document()->documentMargin() + 1, verticalScrollBar()->value() + 1);
    const int pos = document()->documentLayout()->hitTest(at, Qt::FuzzyHit);
    return document()->findBlock(std::max(0, pos)).blockNumber();
}

LONG RichEditWidget::char_from_pos(POINT client) const {
    return cursorForPosition(QPoint(client.x, client.y)).position();
}

// ---- View to model -----------------------------------------------------------------------

void RichEditWidget::on_contents_change(int pos, int removed, int added) {
    if (applying_) return;
    const LONG new_len = doc_length();
    const LONG old_len = new_len - added + removed;
    // QTextDocument counts the final paragraph separator in some reports; it never changes.
    if (pos + removed > old_len) {
        const int extra = pos + removed - old_len;
        removed -= extra;
        added -= extra;
    }
    if (pos < 0 || removed < 0 || added < 0 || pos > old_len) {
        lost_ = true;
        schedule_flush();
        return;
    }
    sync_.user_edited(pos, removed, added);
    if (!pending_) {
        pending_ = true;
        s_ = pos;
        oe_ = pos + removed;
        ne_ = pos + added;
    } else {
        // Both edits as one: [s_, oe_) of the model became [s_, ne_) of the document.
        const LONG end_now = std::max<LONG>(ne_, pos + removed);
        oe_ += std::max<LONG>(0, pos + removed - ne_);
        ne_ = end_now - removed + added;
        s_ = std::min<LONG>(s_, pos);
    }
    schedule_flush();
}

void RichEditWidget::on_cursor_moved() {
    if (applying_) return;
    sel_dirty_ = true;
    schedule_flush();
}

void RichEditWidget::schedule_flush() {
    // Inside one of our event handlers the edit is delivered when the handler has finished;
    // an edit from elsewhere (a queued action) gets a queued delivery.
    if (depth_ > 0 || flush_queued_) return;
    flush_queued_ = true;
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void RichEditWidget::after_event() {
    if (depth_ == 0 && (pending_ || lost_ || sel_dirty_)) flush();
}

void RichEditWidget::flush() {
    flush_queued_ = false;
    if (applying_) return;
    // The core may pump messages while it takes the edit (a check of the whole text): keys typed
    // meanwhile come in as new events of this widget and must be delivered when their own
    // handler ends, even when this delivery runs inside a handler (a queued delivery is one), or
    // the next change of the program would find them undelivered and drop them.
    const int outer_depth = depth_;
    depth_ = 0;
    QPointer<RichEditWidget> alive(this);
    flush_edits();
    if (alive) depth_ = outer_depth;
}

void RichEditWidget::flush_edits() {
    RichText* rt = platform_rich(h_);
    if (!rt) {
        pending_ = lost_ = sel_dirty_ = false;
        return;
    }
    if (pending_ || lost_) {
        const bool lost = lost_;
        LONG s = s_, oe = oe_, ne = ne_;
        pending_ = lost_ = false;
        const LONG mn = rt->length(), dn = doc_length();
        if (lost || s > mn || oe > mn || ne > dn || s > oe || s > ne || mn - (oe - s) + (ne - s) != dn) {
            // Diff the texts: the common start and end stay, the middle is the edit.
            const std::u16string d = doc_text(0, dn);
            const std::u16string& m = rt->text();
            LONG p = 0;
            const LONG common = std::min(mn, dn);
            while (p < common && m[static_cast<size_t>(p)] == d[static_cast<size_t>(p)]) ++p;
            LONG q = 0;
            while (q < common - p && m[static_cast<size_t>(mn - 1 - q)] == d[static_cast<size_t>(dn - 1 - q)]) ++q;
            s = p;
            oe = mn - q;
            ne = dn - q;
        }
        const std::u16string inserted = doc_text(s, ne);
        // A change of formats only (the same text typed over itself) is nobody's edit: the
        // document takes the model's formats back (and the paragraph end before, which may show).
        if (!(oe - s == ne - s && rt->text_range(s, oe) == inserted)) deliver(s, oe - s, inserted);
        else sync_range(std::max<LONG>(0, s - 1), oe, oe, false);
    }
    rt = platform_rich(h_);
    if (!rt) return;
    if (sel_dirty_) {
        sel_dirty_ = false;
        const QTextCursor cur = textCursor();
        const CHARRANGE q{std::min(cur.anchor(), cur.position()), std::max(cur.anchor(), cur.position())};
        if (q != rt->selection()) platform_user_selected(h_, q);
    }
}

void RichEditWidget::deliver(LONG pos, LONG removed, const std::u16string& inserted, bool shown) {
    const Echo outer = echo_;  // deliveries nest when a procedure pumps messages
    echo_ = Echo{true, false, pos, removed, shown ? static_cast<LONG>(inserted.size()) : removed, shown};
    QElapsedTimer core;
    core.start();
    platform_user_text_edited(h_, pos, removed, inserted);
    g_core_ns += core.nsecsElapsed();
    const bool taken = echo_.seen;
    echo_ = outer;
    RichText* rt = platform_rich(h_);
    if (!rt) return;
    if (!taken) {
        // Refused (a read-only panel, no room under the text limit): the document goes back.
        if (shown) replace_document(pos, static_cast<LONG>(inserted.size()), pos, pos + removed);
    } else {
        apply_deferred();  // what the core did with the edit (a check of the text), gathered
    }
    if (doc_length() != rt->length()) resync_by_diff();
    apply_selection(false);
}

// ---- Events ------------------------------------------------------------------------------

bool RichEditWidget::event(QEvent* e) {
    if (e->type() == QEvent::DeferredDelete) return QTextEdit::event(e);  // deletes this widget
    if (e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Show || e->type() == QEvent::FontChange) {
        // Another screen may have another resolution: the text is laid out again for it.
        if (metrics_.refresh()) document()->markContentsDirty(0, document()->characterCount());
    }
    if (user_acts(e)) apply_deferred();  // the user acts on the text the model holds
    QPointer<RichEditWidget> alive(this);
    ++depth_;
    const bool r = QTextEdit::event(e);
    if (!alive) return r;
    --depth_;
    after_event();
    return r;
}

bool RichEditWidget::viewportEvent(QEvent* e) {
    if (user_acts(e)) apply_deferred();
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            UINT keys = 0;
            const UINT msg = qt_mouse_message(me, &keys);
            if (!msg || qt_syncing()) break;
            const QPoint p = me->position().toPoint();
            const QPoint global = me->globalPosition().toPoint();
            const HWND h = h_;
            // The dialog sees the message first (EN_MSGFILTER) and may swallow it.
            if (platform_user_mouse(h, msg, POINT{p.x(), p.y()}, keys)) return true;
            if (!platform_rich(h)) return true;
            if (msg == WM_RBUTTONUP) {
                QPointer<RichEditWidget> alive(this);
                ++depth_;
                QTextEdit::viewportEvent(e);
                if (!alive) return true;
                --depth_;
                after_event();
                if (platform_rich(h) && !qt_syncing()) platform_user_context_menu(h, POINT{global.x(), global.y()});
                return true;
            }
            break;
        }
        default: break;
    }
    QPointer<RichEditWidget> alive(this);
    ++depth_;
    const bool r = QTextEdit::viewportEvent(e);
    if (!alive) return r;
    --depth_;
    after_event();
    return r;
}

void RichEditWidget::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    const bool ctrl_shift = mods == (Qt::ControlModifier | Qt::ShiftModifier);
    const RichText* rt = platform_rich(h_);
    if ((ctrl && e->key() == Qt::Key_Z) || e->matches(QKeySequence::Undo)) {
        if (rt && !rt->read_only) RE_Undo(h_);
        e->accept();
        return;
    }
    if ((ctrl && e->key() == Qt::Key_Y) || (ctrl_shift && e->key() == Qt::Key_Z) || e->matches(QKeySequence::Redo)) {
        if (rt && !rt->read_only) RE_Redo(h_);
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        const WindowModel* m = platform_window(h_);
        if (m && !(m->style & ES_MULTILINE)) {
            e->ignore();  // a one-line panel takes no paragraph end
            return;
        }
        if (mods & Qt::ShiftModifier) {
            // A paragraph end, never a line separator inside the paragraph.
            QKeyEvent plain(e->type(), e->key(), mods & ~Qt::ShiftModifier, QStringLiteral("\r"));
            QTextEdit::keyPressEvent(&plain);
            e->setAccepted(plain.isAccepted());
            return;
        }
    }
    QTextEdit::keyPressEvent(e);
}

void RichEditWidget::contextMenuEvent(QContextMenuEvent* e) {
    // The mouse's context menu comes with the right button's release (after EN_MSGFILTER);
    // the keyboard's comes here.
    e->accept();
    if (e->reason() == QContextMenuEvent::Mouse || qt_syncing()) return;
    const QPoint g = viewport()->mapToGlobal(cursorRect().center());
    platform_user_context_menu(h_, POINT{g.x(), g.y()});
}

void RichEditWidget::dragEnterEvent(QDragEnterEvent* e) {
    if (qt_is_file_drag(e->mimeData())) {
        if (!qt_handle_drag(h_, e, false, e->position().toPoint())) e->ignore();
        return;
    }
    QTextEdit::dragEnterEvent(e);
}

void RichEditWidget::dragMoveEvent(QDragMoveEvent* e) {
    if (qt_is_file_drag(e->mimeData())) {
        if (!qt_handle_drag(h_, e, false, e->position().toPoint())) e->ignore();
        return;
    }
    QTextEdit::dragMoveEvent(e);
}

void RichEditWidget::dropEvent(QDropEvent* e) {
    if (qt_is_file_drag(e->mimeData())) {
        if (!qt_handle_drag(h_, e, true, e->position().toPoint())) e->ignore();
        return;
    }
    QTextEdit::dropEvent(e);
}

bool RichEditWidget::canInsertFromMimeData(const QMimeData* source) const {
    return source && source->hasText();
}

void RichEditWidget::insertFromMimeData(const QMimeData* source) {
    // Qt's own insertion (6.4) crashes on data that offers no format at all, which is what an X
    // clipboard that nobody owns gives: Ctrl+V there would end the program.
    if (!source || !source->hasText() || source->formats().isEmpty()) return;
    // A long text goes to the core as the user's edit before the document takes it, and comes
    // back through the panel's sync, which puts it in without laying out paragraph after
    // paragraph as it goes (Qt's own insertion grows faster than the text). The document takes
    // the text as Qt's insertion would: one paragraph end per line end (CR LF one), per paragraph or
    // line separator and per frame character.
    // So does a text holding a long run, which the document takes wrapped anywhere.
    const QString text = source->text();
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    if ((text.size() >= kLongPaste || long_run_near(view, 0, view.size())) && !pending_ && !lost_ && platform_rich(h_)) {
        std::u16string model = normalize_line_ends(to_u16(text));
        for (char16_t& c : model)
            if (c == kParagraph || c == kLineSeparator || c == 0xFDD0 || c == 0xFDD1) c = u'\r';
        const QTextCursor cur = textCursor();
        const LONG from = std::min(cur.anchor(), cur.position()), to = std::max(cur.anchor(), cur.position());
        deliver(from, to - from, model, false);
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

// ---- QtRichEditView ------------------------------------------------------------------------

QtRichEditView::QtRichEditView(WindowModel& m, QWidget* parent) : h_(m.handle) {
    auto* w = new RichEditWidget(m.handle, parent);
    w_ = w;
    w->setVerticalScrollBarPolicy((m.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    w->setHorizontalScrollBarPolicy((m.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    w->setFrameShape((m.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    SyncGuard guard;
    for (WindowProp p : {WindowProp::Font, WindowProp::Geometry, WindowProp::Enabled, WindowProp::ToolTip,
                         WindowProp::AcceptFiles})
        sync(p);
    w->load_all();
    w->setVisible(m.visible);
}

QtRichEditView::~QtRichEditView() {
    if (!w_) return;
    SyncGuard guard;
    w_->hide();
    if (QCoreApplication::instance()) w_->deleteLater();
}

void QtRichEditView::sync(WindowProp what) {
    WindowModel* m = platform_window(h_);
    RichEditWidget* w = w_;
    if (!m || !w) return;
    SyncGuard guard;
    switch (what) {
        case WindowProp::Enabled: w->setEnabled(m->enabled); break;
        case WindowProp::Visible: w->setVisible(m->visible); break;
        case WindowProp::Geometry:
            w->setGeometry(m->rect.left, m->rect.top, std::max(0, m->rect.width()), std::max(0, m->rect.height()));
            break;
        case WindowProp::Font:
            if (auto f = PL_GetFontInfo(m->font))
                w->set_font(to_qfont(*f));
            else
                w->set_font(dialog_font(m->dialog_font_points, false));
            break;
        case WindowProp::Colors: w->model_options_changed(); break;
        case WindowProp::ToolTip: w->setToolTip(to_qstring(m->tooltip)); break;
        case WindowProp::Focus:
        case WindowProp::TabFocus: qt_take_focus(w, what); break;
        case WindowProp::Repaint: w->viewport()->update(); break;
        case WindowProp::AcceptFiles: w->setAcceptDrops(true); break;
        default: break;
    }
}

void QtRichEditView::text_replaced(LONG pos, LONG removed, LONG inserted) {
    if (w_) w_->model_text_replaced(pos, removed, inserted);
}
void QtRichEditView::formats_changed(LONG from, LONG to) {
    if (w_) w_->model_formats_changed(from, to);
}
void QtRichEditView::selection_changed() {
    if (w_) w_->model_selection_changed();
}
void QtRichEditView::options_changed() {
    if (w_) w_->model_options_changed();
}
POINT QtRichEditView::scroll_pos() const {
    if (!w_) return POINT{};
    // With redrawing on and the text as the model holds it, the view is read as it is once the
    // gathered scrolling is applied (that costs no layout of changed text).
    if (RichText* rt = platform_rich(h_); rt && rt->redraw && !w_->text_stale()) w_->apply_deferred();
    return w_->scroll_pos();
}
void QtRichEditView::set_scroll_pos(POINT p) {
    if (w_) w_->set_scroll_pos(p);
}
void QtRichEditView::line_scroll(int lines) {
    if (w_) w_->line_scroll(lines);
}
void QtRichEditView::scroll_caret() {
    if (w_) w_->scroll_caret();
}
int QtRichEditView::first_visible_line() const {
    if (!w_) return 0;
    w_->apply_deferred();
    return w_->first_visible_line();
}
LONG QtRichEditView::char_from_pos(POINT client) const {
    if (!w_) return 0;
    w_->apply_deferred();
    return w_->char_from_pos(client);
}
