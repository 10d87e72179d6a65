#include "platform/qt/qt_panel_layout.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <numeric>

namespace {

// An edit of at most this many paragraphs lays them out at once; a larger one leaves them for
// when they are shown (a renumbered list of thousands of lines, a pasted text).
constexpr int kLaidOutAtOnce = 8;
// A document of at most this many characters is laid out whole after every edit: it costs little,
// and whether it fills the panel (and so whether the panel shows a vertical scroll bar, which
// narrows the page) is then known at once.
constexpr int kLaidOutWhole = 20'000;
// How long idle time lays out at a time, so that a key typed meanwhile waits no longer.
constexpr qint64 kIdleSliceMs = 4;
// Beyond any panel: the rectangle to the end of the document.
constexpr qreal kFar = 1e9;
// A paragraph at least this long keeps what Qt worked out to lay it out (its letters' break
// properties, their order, the glyphs and their widths) after laying it out. Qt lets that go
// after each layout and each paint of a paragraph, and works it out again over the whole
// paragraph for every question about it: where the caret stands after a key (asked several
// times a key), where a click lands. In a paragraph of millions of characters (a blob of data,
// one unbroken paragraph of prose) that was more than half of what a key cost. What is kept
// costs about 25 bytes a character: only the paragraphs an edit begins or ends in keep it (the
// one being typed into among them), and none longer than kKeptLayoutAtMost, whose layout is slow
// anyway and whose keep would cost hundreds of megabytes. Shorter paragraphs are cheap to work
// out again and many: they keep Qt's way.
constexpr int kKeptLayout = 16'384;
constexpr int kKeptLayoutAtMost = 8 << 20;

// The resolution Qt lays text out for when there is no device.
int screen_dpi() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 100;
}

// Qt measures layout lengths in 26.6 fixed point.
qreal fixed(qreal v) { return std::round(v * 64) / 64; }
// A point asked about is taken into 26.6 fixed point as Qt's layout takes it: cut, not rounded
// (a click a fraction past a line's last letter lands on it).
QPointF fixed_point(const QPointF& p) { return QPointF(std::trunc(p.x() * 64) / 64, std::trunc(p.y() * 64) / 64); }

}  // namespace

PanelLayout::PanelLayout(QTextDocument* doc) : QAbstractTextDocumentLayout(doc) {
    // QTextEdit lays a text that it does not wrap out for no width unless the layout says that
    // the text holds alignment (the panels' texts hold none).
    setProperty("contentHasAlignment", false);
    idle_ = new QTimer(this);
    idle_->setSingleShot(true);
    idle_->setInterval(0);
    QObject::connect(idle_, &QTimer::timeout, this, [this] { lay_out_some(); });
}

PanelLayout* PanelLayout::install(QTextDocument& doc) {
    if (auto* own = dynamic_cast<PanelLayout*>(doc.documentLayout())) return own;
    auto* layout = new PanelLayout(&doc);
    doc.setDocumentLayout(layout);  // deletes Qt's own
    return layout;
}

void PanelLayout::lay_out_whole(QTextDocument& doc) {
    if (auto* own = dynamic_cast<PanelLayout*>(doc.documentLayout())) own->finish();
    else doc.documentLayout()->documentSize();
}

void PanelLayout::lay_out_above(QTextDocument& doc, qreal y) {
    if (auto* own = dynamic_cast<PanelLayout*>(doc.documentLayout())) {
        own->sync_rows();
        const int changed = own->settle_above(y, static_cast<int>(own->states_.size()));
        own->check_rows();
        if (changed >= 0) own->announce(own->top(changed), true);
    } else {
        doc.documentLayout()->documentSize();
    }
}

PanelLayout::Leaving::Leaving(QTextDocument& doc, int old_anchor, int old_position, int anchor, int position)
    : layout_(dynamic_cast<PanelLayout*>(doc.documentLayout())) {
    if (!layout_) return;
    const int now[2] = {doc.findBlock(anchor).blockNumber(), doc.findBlock(position).blockNumber()};
    const int old[2] = {doc.findBlock(old_anchor).blockNumber(), doc.findBlock(old_position).blockNumber()};
    for (int i = 0; i < 2; ++i)
        layout_->leaving_[i] = old[i] == now[0] || old[i] == now[1] ? -1 : old[i];
}

int PanelLayout::busy_ = 0;
std::vector<QPointer<PanelLayout>> PanelLayout::held_;

PanelLayout::Busy::Busy() { ++busy_; }

PanelLayout::Busy::~Busy() {
    if (--busy_ > 0) return;
    const std::vector<QPointer<PanelLayout>> held = std::move(held_);
    held_.clear();
    for (const QPointer<PanelLayout>& l : held)
        if (l) l->schedule();
}

PanelLayout::Leaving::~Leaving() {
    if (layout_) layout_->leaving_[0] = layout_->leaving_[1] = -1;
}

// ---- What the lines depend on ------------------------------------------------------------

PanelLayout::Setting PanelLayout::setting() const {
    const QTextDocument* doc = document();
    Setting s;
    s.width = doc->pageSize().width();
    s.margin = doc->documentMargin();
    s.font = doc->defaultFont();
    const QTextOption& option = doc->defaultTextOption();
    s.wrap = option.wrapMode();
    s.flags = option.flags();
    s.tab = option.tabStopDistance();
    s.align = option.alignment();
    s.direction = option.textDirection();
    s.design = doc->useDesignMetrics();
    // Without a device Qt lays out for the screen's resolution: a panel's document loses its
    // device for a moment while it is put into or out of the panel.
    s.dpi = paintDevice() ? paintDevice()->logicalDpiY() : screen_dpi();
    return s;
}

qreal PanelLayout::margin() const {
    // The root frame's margin, scaled to the device as Qt scales it, in whole pixels.
    qreal m = document()->documentMargin();
    if (const QPaintDevice* d = paintDevice()) m = m * d->logicalDpiY() / 96.0;
    return std::round(fixed(m));
}

qreal PanelLayout::line_width() const {
    return fixed(fixed(document()->pageSize().width()) - 2 * margin());
}

int PanelLayout::one_line() const {
    QTextLayout probe(QStringLiteral(" "), document()->defaultFont(), paintDevice());
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLeadingIncluded(true);
    probe.endLayout();
    return static_cast<int>(std::ceil(line.ascent() + line.descent() + line.leading()));
}

bool PanelLayout::can_lay_out() const { return !document()->pageSize().isNull(); }

// ---- Rows and their heights ------------------------------------------------------------------

void PanelLayout::reset_rows(bool keep_heights) const {
    const int count = document()->blockCount();
    if (!keep_heights || static_cast<int>(heights_.size()) != count)
        heights_.assign(static_cast<std::size_t>(count), one_line());
    // A line's width is known once it is laid out again: the old widths would widen the page.
    widths_.assign(static_cast<std::size_t>(count), 0.0f);
    states_.assign(static_cast<std::size_t>(count), kGuessed);
    // The old lines go, as Qt's layout lets them go: QTextCursor's line moves then ask for the
    // paragraph to be laid out instead of walking lines that no longer stand.
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) b.layout()->clearLayout();
    waiting_ = count;
    first_waiting_ = 0;
    widest_stale_ = true;
    rebuild_tree();
    schedule();
    check_rows();
}

void PanelLayout::check_rows() const {
#ifndef NDEBUG
    assert(states_.size() == heights_.size() && widths_.size() == heights_.size());
    assert(waiting_ == std::count_if(states_.begin(), states_.end(), [](State s) { return s != kLaidOut; }));
    assert(total_ == std::accumulate(heights_.begin(), heights_.end(), std::int64_t{0}));
    assert(std::find_if(states_.begin(), states_.begin() + std::min<std::ptrdiff_t>(first_waiting_, std::ssize(states_)),
                        [](State s) { return s != kLaidOut; }) ==
           states_.begin() + std::min<std::ptrdiff_t>(first_waiting_, std::ssize(states_)));
#endif
}

void PanelLayout::sync_rows() const {
    const bool same_rows = static_cast<int>(heights_.size()) == document()->blockCount();
    // A null page size suspends the layout (a sync putting many changes in): what the lines
    // depend on is compared once it is back.
    if (same_rows && (!can_lay_out() || setting() == setting_)) return;
    if (can_lay_out()) setting_ = setting();
    reset_rows(same_rows);
}

void PanelLayout::rebuild_tree() const {
    const std::size_t n = heights_.size();
    tree_.assign(n + 1, 0);
    total_ = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        tree_[i] += heights_[i - 1];
        total_ += heights_[i - 1];
        const std::size_t up = i + (i & (~i + 1));
        if (up <= n) tree_[up] += tree_[i];
    }
}

void PanelLayout::set_height(int n, int h) const {
    const std::int64_t delta = h - heights_[static_cast<std::size_t>(n)];
    heights_[static_cast<std::size_t>(n)] = h;
    total_ += delta;
    for (std::size_t i = static_cast<std::size_t>(n) + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
}

void PanelLayout::set_state(int n, State s) const {
    State& old = states_[static_cast<std::size_t>(n)];
    waiting_ += (s != kLaidOut) - (old != kLaidOut);
    old = s;
    if (s != kLaidOut) {
        first_waiting_ = std::min(first_waiting_, n);
        schedule();
    }
}

void PanelLayout::wait(int n, const QTextBlock& b) const {
    if (states_[static_cast<std::size_t>(n)] != kLaidOut) return;
    set_state(n, kKept);
    b.layout()->clearLayout();
}

qreal PanelLayout::top(int n) const {
    std::int64_t sum = 0;
    for (std::size_t i = static_cast<std::size_t>(n); i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return margin() + static_cast<qreal>(sum);
}

int PanelLayout::row_at(qreal y) const {
    const std::size_t n = heights_.size();
    if (n == 0) return 0;
    std::int64_t rest = static_cast<std::int64_t>(std::floor(y - margin()));
    if (rest < 0) return 0;
    std::size_t pos = 0, step = 1;
    while (step * 2 <= n) step *= 2;
    for (; step > 0; step /= 2)
        if (pos + step <= n && tree_[pos + step] <= rest) {
            pos += step;
            rest -= tree_[pos];
        }
    return static_cast<int>(std::min(pos, n - 1));
}

qreal PanelLayout::widest() const {
    if (widest_stale_) {
        widest_ = widths_.empty() ? 0.0f : *std::max_element(widths_.begin(), widths_.end());
        widest_stale_ = false;
    }
    return widest_;
}

// ---- Laying out a paragraph -------------------------------------------------------------------

bool PanelLayout::ensure(int n, const QTextBlock& b) const {
    QTextLayout* tl = b.layout();
    const std::size_t i = static_cast<std::size_t>(n);
    if ((states_[i] == kLaidOut && tl->lineCount() > 0) || !can_lay_out()) return false;
    // The lines as Qt's document layout makes them for a paragraph without paragraph formats.
    const QTextDocument* doc = document();
    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(b.textDirection());
    option.setTabs(b.blockFormat().tabPositions());
    if (doc->pageSize().width() < 0) option.setWrapMode(QTextOption::ManualWrap);
    tl->setTextOption(option);
    const qreal width = line_width();
    const qreal old_page = this->width();
    int height = 0;
    qreal wide = 0;
    tl->beginLayout();
    for (QTextLine line = tl->createLine(); line.isValid(); line = tl->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        // A line that cannot be broken (the text is not wrapped) is as long as its text.
        if (fixed(line.naturalTextWidth()) > width) line.setLineWidth(std::max(line.naturalTextWidth(), width));
        line.setPosition(QPointF(0, height));
        height += static_cast<int>(std::ceil(line.ascent() + line.descent() + line.leading()));
        wide = std::max(wide, line.x() + line.naturalTextWidth());
    }
    tl->endLayout();
    set_state(n, kLaidOut);
    const float w = static_cast<float>(wide);
    if (w >= widest_) widest_ = w;
    else if (widths_[i] >= widest_) widest_stale_ = true;
    widths_[i] = w;
    if (height != heights_[i]) set_height(n, height);
    else if (this->width() == old_page) return false;
    return true;
}

int PanelLayout::settle_above(qreal y, int row) const {
    if (!can_lay_out()) return -1;
    // Each paragraph laid out may move those below it: the next one is compared where it stands
    // now.
    int changed = -1;
    for (int n = first_waiting(); n < row && top(n) < y; n = first_waiting()) {
        if (ensure(n, document()->findBlockByNumber(n)) && changed < 0) changed = n;
        if (states_[static_cast<std::size_t>(n)] != kLaidOut) break;  // could not be laid out
    }
    return changed;
}

QTextLayout* PanelLayout::placed(int n, const QTextBlock& b) const {
    QTextLayout* tl = b.layout();
    tl->setPosition(QPointF(margin(), top(n)));
    return tl;
}

// ---- What the panel asks ----------------------------------------------------------------------

QSizeF PanelLayout::documentSize() const {
    sync_rows();
    return QSizeF(width(), static_cast<qreal>(total_) + 2 * margin());
}

qreal PanelLayout::width() const {
    // The page's width, or the longest line's where it is longer (a text that is not wrapped).
    const qreal lines = widest() + 2 * margin();
    const qreal page = document()->pageSize().width();
    return page > 0 ? std::max(page, lines) : lines;
}

QRectF PanelLayout::frameBoundingRect(QTextFrame* frame) const {
    if (frame != document()->rootFrame()) return QRectF();
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF PanelLayout::blockBoundingRect(const QTextBlock& block) const {
    if (!can_lay_out() || !block.isValid() || !block.isVisible()) return QRectF();
    sync_rows();
    const int n = block.blockNumber();
    if (n == leaving_[0] || n == leaving_[1]) {
        // The old caret's paragraph, asked about to repaint it: where it stands now.
        const std::size_t i = static_cast<std::size_t>(n);
        QRectF r = states_[i] == kLaidOut ? block.layout()->boundingRect() : QRectF(0, 0, line_width(), heights_[i]);
        r.moveTopLeft(QPointF(margin(), top(n)));
        return r;
    }
    // What moved is told once, after the paragraph asked about is laid out too: told in between,
    // the size would count that paragraph with its guess, and a panel whose view lies below that
    // size would pull its view up to it.
    int changed = settle_above(kFar, n);
    if (ensure(n, block) && changed < 0) changed = n;
    if (changed >= 0) announce(top(changed), true);
    QTextLayout* tl = placed(n, block);
    QRectF r = tl->boundingRect();
    r.moveTopLeft(tl->position());
    return r;
}

int PanelLayout::hitTest(const QPointF& asked, Qt::HitTestAccuracy accuracy) const {
    if (!can_lay_out()) return -1;
    const QPointF point = fixed_point(asked);
    sync_rows();
    // What moved is told once, when every paragraph asked about is laid out (as blockBoundingRect).
    int changed = settle_above(point.y() + 1, static_cast<int>(states_.size()));
    int n = row_at(point.y());
    QTextBlock b = document()->findBlockByNumber(n);
    if (!b.isValid()) {
        if (changed >= 0) announce(top(changed), true);
        return -1;
    }
    if (ensure(n, b) && changed < 0) changed = n;
    if (n > 0 && point.y() <= top(n)) {
        // On the bottom edge of the paragraph above: that one's, as Qt's layout answers.
        const QTextBlock above = b.previous();
        if (ensure(n - 1, above) && (changed < 0 || changed > n - 1)) changed = n - 1;
        if (point.y() <= top(n - 1) + above.layout()->boundingRect().bottom()) {
            --n;
            b = above;
        }
    }
    if (changed >= 0) announce(top(changed), true);
    const QTextLayout* tl = placed(n, b);
    const int last = std::max(0, document()->characterCount() - 1);
    QRectF text = tl->boundingRect();
    text.translate(tl->position());
    // Above the paragraph (the document's margin) is before it, below its last line after it.
    if (point.y() < text.top()) return accuracy == Qt::ExactHit ? -1 : std::min(b.position(), last);
    if (point.y() > text.bottom()) return accuracy == Qt::ExactHit ? -1 : std::min(b.position() + b.length(), last);
    const QPointF at = point - tl->position();
    int off = 0;
    bool exact = false;
    for (int i = 0; i < tl->lineCount(); ++i) {
        const QTextLine line = tl->lineAt(i);
        const QRectF lr = line.naturalTextRect();
        if (lr.top() > at.y()) {
            off = std::min(off, line.textStart());
        } else if (lr.bottom() <= at.y()) {
            off = std::max(off, line.textStart() + line.textLength());
        } else {
            exact = lr.left() <= at.x() && lr.right() >= at.x();
            off = line.xToCursor(at.x(), accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                  : QTextLine::CursorBetweenCharacters);
            break;
        }
    }
    if (accuracy == Qt::ExactHit && !exact) return -1;
    return std::clamp(b.position() + off, 0, last);
}

void PanelLayout::draw(QPainter* painter, const PaintContext& context) {
    if (!can_lay_out()) return;
    sync_rows();
    const qreal bottom = context.clip.isValid() ? context.clip.bottom() : kFar;
    const qreal from = context.clip.isValid() ? context.clip.top() : 0;
    painting_ = true;
    if (const int changed = settle_above(bottom, static_cast<int>(states_.size())); changed >= 0)
        announce(top(changed), true);
    // Nothing is drawn into the document's right margin (a selected paragraph end past the
    // longest line of a text that is not wrapped).
    const QSizeF size = documentSize();
    const QRectF frame(0, 0, size.width() - margin(), size.height());
    const QRectF clip = context.clip.isValid() ? context.clip & frame : frame;
    bool ok = false;
    int cursor_width = property("cursorWidth").toInt(&ok);
    if (!ok) cursor_width = 1;
    const int count = static_cast<int>(heights_.size());
    int n = row_at(from);
    for (QTextBlock b = document()->findBlockByNumber(n); b.isValid() && n < count; b = b.next(), ++n) {
        if (ensure(n, b)) announce(top(n), true);
        QTextLayout* tl = placed(n, b);
        QRectF r = tl->boundingRect();
        r.translate(tl->position());
        if (r.top() > bottom) break;
        if (r.bottom() < from || !b.isVisible()) continue;
        // The selections within the paragraph, as Qt's layout draws them.
        QList<QTextLayout::FormatRange> selections;
        const int pos = b.position(), len = b.length();
        for (const Selection& s : context.selections) {
            const int a = s.cursor.selectionStart() - pos, z = s.cursor.selectionEnd() - pos;
            if (a < len && z > 0 && z > a) {
                selections.append(QTextLayout::FormatRange{a, z - a, s.format});
            } else if (!s.cursor.hasSelection() && s.format.hasProperty(QTextFormat::FullWidthSelection) &&
                       b.contains(s.cursor.position())) {
                const QTextLine line = tl->lineForTextPosition(s.cursor.position() - pos);
                QTextLayout::FormatRange o{line.textStart(), line.textLength(), s.format};
                if (o.start + o.length == len - 1) ++o.length;  // the paragraph end too
                selections.append(o);
            }
        }
        const QPen pen = painter->pen();
        painter->setPen(context.palette.color(QPalette::Text));
        // A paint changes the glyphs it is given where a line holds a tab and ends at a soft
        // hyphen (where the text after the tab and the hyphen go): a paragraph that keeps its
        // layout's work and holds both lets it go with this paint, so that what is asked after it
        // (the caret drawn below among them) is worked out afresh, as by a fresh layout.
        const bool kept = tl->cacheEnabled();
        const bool lets_go = kept && b.text().contains(QChar(0xAD)) && b.text().contains(u'\t');
        if (lets_go) tl->setCacheEnabled(false);
        tl->draw(painter, QPointF(), selections, clip);
        if (lets_go) tl->setCacheEnabled(true);
        const bool preedit = context.cursorPosition < -1 && !tl->preeditAreaText().isEmpty();
        if ((context.cursorPosition >= pos && context.cursorPosition < pos + len) || preedit) {
            const int at = preedit ? tl->preeditAreaPosition() - (context.cursorPosition + 2) : context.cursorPosition - pos;
            tl->drawCursor(painter, QPointF(), at, cursor_width);
        }
        painter->setPen(pen);
    }
    painting_ = false;
    if (changed_from_ >= 0) {
        // What moved is told after the paint: the panel then paints it again and sets its scroll
        // bars for the new height.
        QTimer::singleShot(0, this, [this] {
            const qreal y = changed_from_;
            const bool size = size_changed_;
            changed_from_ = -1;
            size_changed_ = false;
            if (y >= 0) announce(y, size);
        });
    }
}

void PanelLayout::announce(qreal from_y, bool size_changed) const {
    if (painting_) {
        changed_from_ = changed_from_ < 0 ? from_y : std::min(changed_from_, from_y);
        size_changed_ = size_changed_ || size_changed;
        return;
    }
    auto* self = const_cast<PanelLayout*>(this);
    emit self->update(QRectF(0, from_y, kFar, kFar));
    if (size_changed) emit self->documentSizeChanged(documentSize());
}

// ---- Edits ------------------------------------------------------------------------------------

void PanelLayout::documentChanged(int from, int removed, int added) {
    QTextDocument* doc = document();
    const int count = doc->blockCount();
    const int old_count = static_cast<int>(heights_.size());
    const Setting now = setting();
    const int length = doc->characterCount();
    const qreal old_width = width();
    const std::int64_t old_total = total_;
    // The paragraphs the edit begins and ends in, if long, keep their layouts' work.
    for (const QTextBlock& b : {doc->findBlock(from), doc->findBlock(from + added)})
        if (b.isValid() && b.length() >= kKeptLayout && b.length() <= kKeptLayoutAtMost && !b.layout()->cacheEnabled())
            b.layout()->setCacheEnabled(true);
    int first = 0;
    int last = count - 1;
    if ((can_lay_out() && !(now == setting_)) || old_count == 0) {
        // Another width, font or margin: every line may break elsewhere.
        if (can_lay_out()) setting_ = now;
        reset_rows(old_count == count);
    } else if (from == 0 && removed == 0 && added >= length) {
        // Qt asks for the whole text to be laid out again (the page size was set, the layout
        // suspended and resumed): with the same setting the lines stand as they are, and every
        // edit meanwhile was told of by itself; a paragraph whose lines Qt let go all the same
        // waits. A new text in an empty document has new rows.
        if (old_count != count) {
            reset_rows(false);
        } else {
            int n = 0;
            for (QTextBlock b = doc->firstBlock(); b.isValid() && n < count; b = b.next(), ++n)
                if (states_[static_cast<std::size_t>(n)] == kLaidOut && b.layout()->lineCount() == 0) set_state(n, kKept);
        }
    } else {
        QTextBlock a = doc->findBlock(from);
        if (!a.isValid()) a = doc->lastBlock();
        QTextBlock z = doc->findBlock(std::min(from + added, length - 1));
        if (!z.isValid()) z = doc->lastBlock();
        first = a.blockNumber();
        last = std::max(first, z.blockNumber());
        const int fresh = last - first + 1;
        const int old = fresh - (count - old_count);
        if (old < 1 || first + old > old_count) {
            reset_rows(false);
            first = 0;
            last = count - 1;
        } else {
            if (old != fresh) {
                // The paragraphs the edit took away, or the new ones (with one line's height)
                // after those it kept.
                const auto at = static_cast<std::ptrdiff_t>(first + std::min(old, fresh));
                for (int n = first + std::min(old, fresh); n < first + old; ++n)
                    if (states_[static_cast<std::size_t>(n)] != kLaidOut) --waiting_;
                if (old > fresh) {
                    heights_.erase(heights_.begin() + at, heights_.begin() + at + (old - fresh));
                    widths_.erase(widths_.begin() + at, widths_.begin() + at + (old - fresh));
                    states_.erase(states_.begin() + at, states_.begin() + at + (old - fresh));
                    widest_stale_ = true;
                } else {
                    heights_.insert(heights_.begin() + at, static_cast<std::size_t>(fresh - old), one_line());
                    widths_.insert(widths_.begin() + at, static_cast<std::size_t>(fresh - old), 0.0f);
                    states_.insert(states_.begin() + at, static_cast<std::size_t>(fresh - old), kGuessed);
                    waiting_ += fresh - old;
                    schedule();
                }
                first_waiting_ = std::min(first_waiting_, first);
                rebuild_tree();
            }
            QTextBlock b = a;
            for (int n = first; n <= last && b.isValid(); ++n, b = b.next()) wait(n, b);
            if (fresh <= kLaidOutAtOnce && can_lay_out()) {
                QTextBlock b = a;
                for (int n = first; n <= last && b.isValid(); ++n, b = b.next()) ensure(n, b);
            }
        }
    }
    first_waiting_ = std::min(first_waiting_, count);
    if (can_lay_out() && length <= kLaidOutWhole) lay_out_waiting();
    check_rows();
    if (!can_lay_out()) return;
    const bool size_changed = total_ != old_total || width() != old_width;
    if (size_changed || count != old_count) announce(top(first), true);
    else emit update(QRectF(0, top(first), kFar, top(last + 1) - top(first)));
}

// ---- Idle time --------------------------------------------------------------------------------

void PanelLayout::schedule() const {
    if (idle_ && !idle_->isActive()) idle_->start();
}

int PanelLayout::first_waiting() const {
    const auto from = states_.begin() + std::min<std::ptrdiff_t>(first_waiting_, std::ssize(states_));
    first_waiting_ = static_cast<int>(std::find_if(from, states_.end(), [](State s) { return s != kLaidOut; }) -
                                      states_.begin());
    return first_waiting_;
}

int PanelLayout::lay_out_waiting() const {
    const int count = static_cast<int>(states_.size());
    int changed = -1;
    int n = first_waiting();
    for (QTextBlock b = document()->findBlockByNumber(n); n < count && b.isValid() && waiting_ > 0; ++n, b = b.next())
        if (states_[static_cast<std::size_t>(n)] != kLaidOut && ensure(n, b) && changed < 0) changed = n;
    return changed;
}

void PanelLayout::finish() const {
    sync_rows();
    if (waiting_ == 0 || !can_lay_out()) return;
    const int changed = lay_out_waiting();
    check_rows();
    if (changed >= 0) announce(top(changed), true);
}

void PanelLayout::lay_out_some() {
    if (busy_ > 0) {
        // Started again only once the job is done: a timer started now would fire in the same
        // pump again and again.
        if (std::find(held_.begin(), held_.end(), this) == held_.end()) held_.emplace_back(this);
        return;
    }
    sync_rows();
    if (waiting_ == 0 || !can_lay_out()) return;
    QElapsedTimer clock;
    clock.start();
    const int count = static_cast<int>(states_.size());
    int changed = -1;
    int n = first_waiting();
    QTextBlock b = document()->findBlockByNumber(n);
    for (int done = 0; n < count && b.isValid() && waiting_ > 0; ++n, b = b.next()) {
        if (states_[static_cast<std::size_t>(n)] == kLaidOut) continue;
        if (ensure(n, b) && changed < 0) changed = n;
        if (++done % 16 == 0 && clock.elapsed() >= kIdleSliceMs) break;
    }
    check_rows();
    if (changed >= 0) announce(top(changed), true);
    if (waiting_ > 0) schedule();
}
