// The layout of a rich-edit panel's document.
//
// A panel's document is paragraphs of text with character formats, one under another: no tables,
// frames, lists, images or paragraph formats. This layout places every line where Qt's own
// document layout places it (the same line breaks, heights and positions, drawn the same way),
// but it does less after an edit. Qt's layout lays out the paragraphs an edit touched and then
// walks every paragraph below them to move it; in a report of tens of thousands of lines that
// walk cost more than the edit, three times a key. Here a paragraph's top is the sum of the
// heights above it, kept in a tree that answers in logarithmic time, so no paragraph below an
// edit is laid out or moved (an edit that adds or removes paragraphs builds the tree again over
// the heights, a pass over numbers). An edit of a few paragraphs lays them out at once; the
// paragraphs of a larger edit (a renumbered list, a new text, the panel's width changed) are laid
// out when they are drawn or asked about, and the rest while the program is idle, a few
// milliseconds at a time.
//
// Until then such a paragraph counts with a height: the one it had when its text changed in
// place (a renumbered line keeps its height), or one line's, and has no lines (QTextCursor's
// line moves ask for it to be laid out, as with Qt's layout). Every waiting paragraph above what
// is drawn or asked about is laid out first, so that what the panel shows, the caret and every
// rectangle it is asked for stand where a full layout puts them; the height of what lies below
// is a guess until idle time.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QFont>
#include <QTextOption>
#include <cstdint>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTimer;

class PanelLayout final : public QAbstractTextDocumentLayout {
public:
    explicit PanelLayout(QTextDocument* doc);

    // Puts a PanelLayout on the document, unless it has one. Before the document is shown: Qt
    // announces the new layout as a change of the whole text.
    static PanelLayout* install(QTextDocument& doc);
    // Lays out every paragraph of the document that waits (any layout: Qt's own finishes its
    // lazy layout when asked for the document's size).
    static void lay_out_whole(QTextDocument& doc);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

    // Lays out every waiting paragraph whose top lies above `y` (any layout: Qt's own finishes
    // its lazy layout), so that the scroll bar can go anywhere above `y` less the view's height
    // as it would after a full layout; what lies below waits for idle time.
    static void lay_out_above(QTextDocument& doc, qreal y);

    // When a panel's caret is set, Qt asks where the old caret and selection stood only to
    // repaint that place. While a `Leaving` lives, the paragraphs that hold an end of the old
    // selection (but none of the new one) are answered where they stand now, the paragraphs
    // waiting above them left for later: had the old caret stood elsewhere after a full layout,
    // a paragraph above it waits, and the place of such a paragraph and everything below it was
    // announced for repainting when it began to wait (a paint lays out everything above what it
    // paints). Opening a file left the caret at the end of a report of megabytes: its old place
    // alone laid the whole report out.
    class Leaving {
    public:
        Leaving(QTextDocument& doc, int old_anchor, int old_position, int anchor, int position);
        ~Leaving();
        Leaving(const Leaving&) = delete;
        Leaving& operator=(const Leaving&) = delete;

    private:
        PanelLayout* layout_;
    };

    // While a `Busy` lives (a job pumps the event loop to keep the windows painted), idle time
    // lays nothing out: the job is not idle time. What waited meanwhile goes on once the last
    // `Busy` ends.
    class Busy {
    public:
        Busy();
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };

    // Lays out every paragraph that waits.
    void finish() const;
    // How many paragraphs wait to be laid out.
    int waiting() const { return waiting_; }

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    // What is known of a paragraph's height.
    enum State : std::uint8_t {
        kLaidOut,  // laid out: exact
        kKept,     // its text or formats changed in place: the height it had
        kGuessed,  // new, or laid out for another width or font: one line's height
    };
    // What the lines depend on besides the text: when it changes, every height is a guess.
    struct Setting {
        qreal width = -2;
        qreal margin = -1;
        QFont font;
        QTextOption::WrapMode wrap = QTextOption::WrapAtWordBoundaryOrAnywhere;
        QTextOption::Flags flags;
        qreal tab = 0;
        Qt::Alignment align;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        bool design = false;
        int dpi = 0;
        bool operator==(const Setting& o) const {
            return width == o.width && margin == o.margin && font == o.font && wrap == o.wrap && flags == o.flags &&
                   tab == o.tab && align == o.align && direction == o.direction && design == o.design && dpi == o.dpi;
        }
    };

    Setting setting() const;
    qreal margin() const;
    qreal line_width() const;
    int one_line() const;
    // The rows again from the document, all guessed (their count no longer matches).
    void reset_rows(bool keep_heights) const;
    void sync_rows() const;
    bool can_lay_out() const;
    // Lays out paragraph `n` (its block `b`) if it waits; true when its height changed.
    bool ensure(int n, const QTextBlock& b) const;
    // Every waiting paragraph before `row` whose top lies above `y` is laid out (a paragraph laid
    // out moves those below it: each is compared where it then stands); the first whose height
    // changed, or -1. The caller tells what moved.
    int settle_above(qreal y, int row) const;
    // Where paragraph `n` starts; its layout placed there.
    qreal top(int n) const;
    QTextLayout* placed(int n, const QTextBlock& b) const;
    // The paragraph at height `y` (clamped to the document).
    int row_at(qreal y) const;
    void set_height(int n, int h) const;
    void rebuild_tree() const;
    qreal widest() const;
    qreal width() const;
    void set_state(int n, State s) const;
    // A laid-out paragraph `n` (block `b`) waits again, its lines let go.
    void wait(int n, const QTextBlock& b) const;
    // The rows' counts agree with the rows (builds with asserts).
    void check_rows() const;
    void schedule() const;
    int first_waiting() const;
    // Lays out every waiting paragraph; the first whose height or width changed, or -1.
    int lay_out_waiting() const;
    void lay_out_some();
    // Tells the panel that sizes changed (queued when asked from inside a paint).
    void announce(qreal from_y, bool size_changed) const;

    mutable std::vector<int> heights_;
    mutable std::vector<float> widths_;  // each paragraph's widest line (documents that do not wrap)
    mutable std::vector<State> states_;
    mutable std::vector<std::int64_t> tree_;  // Fenwick tree of heights_, 1-based
    mutable std::int64_t total_ = 0;
    mutable int waiting_ = 0;
    mutable int first_waiting_ = 0;  // no waiting paragraph before this one
    mutable float widest_ = 0;
    mutable bool widest_stale_ = false;
    mutable Setting setting_;
    mutable QTimer* idle_ = nullptr;
    mutable bool painting_ = false;
    mutable qreal changed_from_ = -1;  // what a paint changed: announced after it
    mutable bool size_changed_ = false;
    int leaving_[2] = {-1, -1};  // the old selection's paragraphs while a Leaving lives
    static int busy_;  // how many Busy live
    static std::vector<QPointer<PanelLayout>> held_;  // whose idle time a Busy held back
};
