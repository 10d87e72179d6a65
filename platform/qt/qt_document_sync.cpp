#include "platform/qt/qt_document_sync.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>
#include <algorithm>
#include <cassert>
#include <chrono>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/hash.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_support.h"

namespace {

constexpr char16_t kParagraph = 0x2029;      // QChar::ParagraphSeparator

// A character of the model as the document shows it.
char16_t doc_char(char16_t c) {
    if (c == u'\r' || c == u'\n') return kParagraph;
    if (c == 0xFDD0 || c == 0xFDD1) return 0xFFFD;
    return c;
}

// A character of the document in the form text is compared in: the model's, but for the two
// frame characters, which the document holds as replacement characters. A line separator (Qt's
// insertion of pasted text makes one) breaks a line inside a paragraph: it is not the model's
// paragraph end, which the document must hold as a paragraph separator.
char16_t compared_char(char16_t c) {
    if (c == kParagraph) return u'\r';
    if (c == 0xFDD0 || c == 0xFDD1) return 0xFFFD;
    return c;
}

LONG clamp_to(LONG v, LONG lo, LONG hi) { return std::clamp(v, lo, std::max(lo, hi)); }

// When the document takes the model's changes without laying out each one: in texts longer
// than kBulkLeast characters, when the changes touch a quarter of the text or are so many that
// laying out each changed paragraph costs more than laying out the whole text once (about one
// edit per kCharsPerEdit characters of text).
constexpr LONG kBulkLeast = 4'000;
constexpr LONG kCharsPerEdit = 400;
// Changes closer together than this are one edit of the document.
constexpr LONG kNear = 2'000;
// Texts that differ in less than this are one changed stretch, without a diff of their lines.
constexpr std::size_t kLeastForLines = 512;

// What the paragraph end at `pos` of the model shows of its format. The document draws no glyph
// for a paragraph end; its format serves only as the font of an empty paragraph after it (one
// followed by another paragraph end, or by the end of the text). A report written anew gives
// thousands of paragraph ends new colours that nobody sees: the document is not laid out again
// for them.
enum class EndShows { not_an_end, nothing, font };

EndShows paragraph_end_shows(const std::u16string& text, LONG pos) {
    const auto k = static_cast<std::size_t>(pos);
    if (text[k] != u'\r') return EndShows::not_an_end;
    return k + 1 < text.size() && text[k + 1] != u'\r' ? EndShows::nothing : EndShows::font;
}

// What a paragraph end shows of its format: the font (family, size, weight, slant) of the empty
// paragraph after it. The one rule by which the document's formats and the copy's are compared.
bool same_font(const QTextCharFormat& a, const QTextCharFormat& b) {
    return a.fontFamilies() == b.fontFamilies() && a.fontPointSize() == b.fontPointSize() &&
           a.fontWeight() == b.fontWeight() && a.fontItalic() == b.fontItalic();
}

// Answers of a comparison of two formats known by their numbers (a document's or a copy's, and
// the model's), each pair asked once: a text has few distinct formats and many runs of them.
class PairAnswers {
public:
    template <class Ask>
    bool operator()(std::uint64_t a, std::uint32_t b, const Ask& ask) {
        for (const auto& [x, y, same] : asked_)
            if (x == a && y == b) return same;
        const bool same = ask();
        asked_.emplace_back(a, b, same);
        return same;
    }

private:
    std::vector<std::tuple<std::uint64_t, std::uint32_t, bool>> asked_;
};

// A stretch of kept text whose format differs from the model's: [from, to) of the model (which
// stands at from - shift in the document before the sync) takes the format of the model's run `run`.
struct FormatFix {
    LONG from, to, shift;
    std::size_t run;
};

DocumentSync::Totals g_totals;

// ---- Changed stretches ----------------------------------------------------------------------

struct Lines {
    std::vector<std::size_t> starts;  // each line's first offset, and the text's end last
    std::vector<std::uint64_t> hashes;
};

// The lines of a text with the hash each is matched by: of its bytes after the digits it starts
// with (four units a step). The lines of a numbered list that a line put into it (or taken out)
// renumbers then match the lines they were, and differ from them in their numbers only.
Lines lines_of(std::u16string_view s) {
    Lines l;
    std::size_t at = 0;
    while (at < s.size()) {
        std::size_t end = find_unit(s, u'\r', at);
        end = end == std::u16string_view::npos ? s.size() : end + 1;
        std::size_t rest = at;
        while (rest < end && s[rest] >= u'0' && s[rest] <= u'9') ++rest;
        l.starts.push_back(at);
        l.hashes.push_back(word_hash(std::string_view(reinterpret_cast<const char*>(s.data() + rest), (end - rest) * sizeof(char16_t))));
        at = end;
    }
    l.starts.push_back(s.size());
    return l;
}

// The lines of a and b that match, as (line of a, line of b) pairs in order: a diff in the least
// edits (Myers), nullopt beyond `most_edits` of them.
std::optional<std::vector<std::pair<std::size_t, std::size_t>>> matched_lines(const std::vector<std::uint64_t>& a,
                                                                             const std::vector<std::uint64_t>& b,
                                                                             int most_edits) {
    const long n = static_cast<long>(a.size()), m = static_cast<long>(b.size());
    const long most = std::min<long>(most_edits, n + m);
    const long off = most + 1;
    std::vector<long> v(static_cast<std::size_t>(2 * most + 3), 0);
    std::vector<std::vector<long>> trace;
    auto at = [&](std::vector<long>& w, long k) -> long& { return w[static_cast<std::size_t>(k + off)]; };
    long found = -1;
    for (long d = 0; d <= most && found < 0; ++d) {
        trace.push_back(v);
        for (long k = -d; k <= d; k += 2) {
            long x = (k == -d || (k != d && at(v, k - 1) < at(v, k + 1))) ? at(v, k + 1) : at(v, k - 1) + 1;
            long y = x - k;
            while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) ++x, ++y;
            at(v, k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0) return std::nullopt;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    long x = n, y = m;
    for (long d = found; d >= 0; --d) {
        std::vector<long>& w = trace[static_cast<std::size_t>(d)];
        const long k = x - y;
        const long prev_k = (k == -d || (k != d && at(w, k - 1) < at(w, k + 1))) ? k + 1 : k - 1;
        const long prev_x = at(w, prev_k), prev_y = prev_x - prev_k;
        while (x > prev_x && y > prev_y) {
            --x, --y;
            pairs.emplace_back(static_cast<std::size_t>(x), static_cast<std::size_t>(y));
        }
        x = prev_x;
        y = prev_y;
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs;
}

// [a_from, a_to) and [b_from, b_to) cut to the characters that differ; nothing when none do.
void add_cut(std::vector<ChangedStretch>& out, std::u16string_view a, std::u16string_view b, ChangedStretch s) {
    while (s.a_from < s.a_to && s.b_from < s.b_to && a[s.a_from] == b[s.b_from]) ++s.a_from, ++s.b_from;
    while (s.a_from < s.a_to && s.b_from < s.b_to && a[s.a_to - 1] == b[s.b_to - 1]) --s.a_to, --s.b_to;
    if (s.a_from < s.a_to || s.b_from < s.b_to) out.push_back(s);
}

}  // namespace

QString to_doc(std::u16string_view s) {
    QString q = to_qstring(s);
    for (QChar& c : q) c = QChar(doc_char(c.unicode()));
    return q;
}

QTextCharFormat QFormats::of(const CharFormat& f) {
    for (const auto& [model, q] : made_)
        if (model == f) return q;
    QTextCharFormat q = to_qformat(f);
    if (made_.size() < kMost) made_.emplace_back(f, q);
    return q;
}

std::vector<ChangedStretch> changed_stretches(std::u16string_view a, std::u16string_view b, int most_edits) {
    std::vector<ChangedStretch> out;
    const ChangedStretch whole{0, a.size(), 0, b.size()};
    if (a.size() + b.size() < 2 * kLeastForLines) {
        add_cut(out, a, b, whole);
        return out;
    }
    const Lines la = lines_of(a), lb = lines_of(b);
    const auto pairs = matched_lines(la.hashes, lb.hashes, most_edits);
    if (!pairs) {
        add_cut(out, a, b, whole);
        return out;
    }
    // The lines between two matched ones differ; a matched line is cut to what differs in it (its
    // number, or anything when its hash matched by chance).
    std::size_t pa = 0, pb = 0;
    for (const auto& [ia, ib] : *pairs) {
        if (ia > pa || ib > pb) add_cut(out, a, b, ChangedStretch{la.starts[pa], la.starts[ia], lb.starts[pb], lb.starts[ib]});
        add_cut(out, a, b, ChangedStretch{la.starts[ia], la.starts[ia + 1], lb.starts[ib], lb.starts[ib + 1]});
        pa = ia + 1;
        pb = ib + 1;
    }
    if (pa + 1 < la.starts.size() || pb + 1 < lb.starts.size())
        add_cut(out, a, b, ChangedStretch{la.starts[pa], a.size(), lb.starts[pb], b.size()});
    return out;
}

bool document_shows_model(const QTextDocument& doc, const RichText& rt, LONG from, LONG to, std::string* difference) {
    const LONG dn = std::max(0, doc.characterCount() - 1);
    auto differs = [&](std::string what, LONG pos) {
        if (difference) *difference = what + " at " + std::to_string(pos);
        return false;
    };
    if (to < 0) {
        if (dn != rt.length()) return differs("the length", std::min(dn, rt.length()));
        from = 0;
        to = rt.length();
    }
    from = clamp_to(from, 0, std::min(dn, rt.length()));
    to = clamp_to(to, from, std::min(dn, rt.length()));
    if (from >= to) return true;
    const std::u16string& text = rt.text();
    const std::vector<FormatSpan> spans = rt.spans(from, to);
    std::unordered_map<std::uint32_t, QTextCharFormat> wanted;
    auto wanted_at = [&](std::size_t& si, LONG pos) -> const QTextCharFormat& {
        while (spans[si].to <= pos) ++si;
        auto it = wanted.find(spans[si].index);
        if (it == wanted.end()) it = wanted.emplace(spans[si].index, to_qformat(rt.format_by_index(spans[si].index))).first;
        return it->second;
    };
    std::size_t si = 0;
    PairAnswers same;
    for (QTextBlock blk = doc.findBlock(from); blk.isValid() && blk.position() < to; blk = blk.next()) {
        const QString t = blk.text();
        const LONG bp = blk.position();
        for (QTextBlock::iterator it = blk.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const auto index = static_cast<std::uint32_t>(frag.charFormatIndex());
            for (LONG pos = std::max<LONG>(from, frag.position()); pos < std::min<LONG>(to, frag.position() + frag.length()); ++pos) {
                const char16_t c = text[static_cast<std::size_t>(pos)];
                if (compared_char(t.at(pos - bp).unicode()) != compared_char(c)) return differs("the text", pos);
                const QTextCharFormat& wanted = wanted_at(si, pos);
                if (!same(index, spans[si].index, [&] { return frag.charFormat() == wanted; })) return differs("the format", pos);
            }
        }
        const LONG sep = bp + static_cast<LONG>(t.size());
        if (sep < from || sep >= to) continue;
        if (compared_char(text[static_cast<std::size_t>(sep)]) != u'\r') return differs("the text", sep);
        const EndShows shows = paragraph_end_shows(text, sep);
        if (shows == EndShows::font && !same_font(blk.next().charFormat(), wanted_at(si, sep)))
            return differs("the font of a paragraph end", sep);
    }
    return true;
}

TextChanges text_changes(std::u16string_view model, std::u16string_view doc) {
    TextChanges c;
    const std::size_t inner = std::min(model.size(), doc.size());
    c.head = static_cast<std::size_t>(std::mismatch(model.begin(), model.begin() + static_cast<std::ptrdiff_t>(inner), doc.begin()).first -
                                      model.begin());
    c.tail = static_cast<std::size_t>(
        std::mismatch(model.rbegin(), model.rbegin() + static_cast<std::ptrdiff_t>(inner - c.head), doc.rbegin()).first - model.rbegin());
    c.stretches = changed_stretches(model.substr(c.head, model.size() - c.head - c.tail), doc.substr(c.head, doc.size() - c.head - c.tail));
    return c;
}

std::vector<KeptStretch> kept_stretches(const TextChanges& changes, LONG from, LONG doc_to, LONG to) {
    std::vector<KeptStretch> kept;
    const LONG mid = from + static_cast<LONG>(changes.head);
    LONG doc_at = from, shift = 0;
    auto keep = [&](LONG doc_end) {
        if (doc_at < doc_end) kept.push_back(KeptStretch{doc_at, doc_end, shift});
    };
    for (const ChangedStretch& s : changes.stretches) {
        keep(mid + static_cast<LONG>(s.b_from));
        doc_at = mid + static_cast<LONG>(s.b_to);
        shift = static_cast<LONG>(s.a_to) - static_cast<LONG>(s.b_to);
    }
    // The tail: after the last change the document is shifted by all of them.
    shift = to - doc_to;
    keep(doc_to);
    return kept;
}

// ---- DocumentSync -------------------------------------------------------------------------

// One sync: the range compared, and what each step found.
struct DocumentSync::Pass {
    const RichText& rt;
    const std::u16string& m;  // the model's text
    LONG from, doc_to, to;    // the document's [from, doc_to) is to hold the model's [from, to)
    bool text_changed;
    bool copy;  // compared with the copy of the document (else with the document)
    TextChanges text;                // step 1, offsets from `from`
    std::vector<KeptStretch> kept;   // step 2
    std::vector<FormatSpan> runs;    // the model's formats of [from, to)
    std::vector<FormatFix> fixes;    // step 3, in the model's positions
    LONG fixed = 0;                  // characters the fixes cover
    std::vector<FormatSpan> left;    // step 3: paragraph ends left as the document holds them (the
                                     // copy's number of that format, or kUnknown)
    QFormats formats;
    LONG mid() const { return from + static_cast<LONG>(text.head); }
};

namespace {

// Characters a change of the text sets: of each stretch the longer of its two sides.
LONG changed_volume(const TextChanges& t) {
    std::size_t v = 0;
    for (const ChangedStretch& s : t.stretches) v += std::max(s.a_to - s.a_from, s.b_to - s.b_from);
    return static_cast<LONG>(v);
}

// Step 3's comparison of the kept text's formats with the model's runs. The document's formats
// come as stretches with a key (distinct formats have distinct keys) and, looked up only when
// needed, the QTextCharFormat: each pair of a run's format and a key is compared once (a text has
// few distinct formats, a report tens of thousands of runs).
class FormatComparison {
public:
    FormatComparison(const RichText& rt, const std::u16string& m, const std::vector<FormatSpan>& runs, QFormats& formats,
                     std::vector<FormatFix>& fixes, LONG& fixed, std::vector<FormatSpan>& left)
        : rt_(rt), m_(m), runs_(runs), formats_(formats), fixes_(fixes), fixed_(fixed), left_(left) {}

    // The document's [a, b), at model position a + shift, has the format known by `key` (the
    // copy's number of it `copy_index`, or kUnknown), which `doc_format()` gives.
    template <class Get>
    void compare(LONG a, LONG b, LONG shift, std::uint64_t key, std::uint32_t copy_index, const Get& doc_format) {
        LONG x = a + shift;
        const LONG end = b + shift;
        while (ri_ < runs_.size() && runs_[ri_].to <= x) ++ri_;
        for (std::size_t i = ri_; i < runs_.size() && x < end; ++i) {
            const LONG seg_to = std::min(end, runs_[i].to);
            if (seg_to <= x) continue;
            if (!same(i, false, key, doc_format)) fix_shown(x, seg_to, shift, i, key, copy_index, doc_format);
            x = seg_to;
        }
    }

    const QTextCharFormat& model_format(std::size_t i) {
        const std::uint32_t k = runs_[i].index;
        auto it = qformats_.find(k);
        if (it == qformats_.end()) it = qformats_.emplace(k, formats_.of(rt_.format_by_index(k))).first;
        return it->second;
    }

private:
    template <class Get>
    bool same(std::size_t i, bool font_only, std::uint64_t key, const Get& doc_format) {
        if (font_only) return fonts_(key, runs_[i].index, [&] { return same_font(model_format(i), doc_format()); });
        return formats_same_(key, runs_[i].index, [&] { return model_format(i) == doc_format(); });
    }

    // [a, b) of the model, whose format differs from run i's, takes it: but for the paragraph
    // ends, which take it only where it shows (the font of an empty paragraph after the end).
    // The ends left keep the document's format, which the copy must know.
    template <class Get>
    void fix_shown(LONG a, LONG b, LONG shift, std::size_t i, std::uint64_t key, std::uint32_t copy_index, const Get& doc_format) {
        LONG at = a;
        const std::u16string_view upto = std::u16string_view(m_).substr(0, static_cast<std::size_t>(b));
        for (std::size_t k = find_unit(upto, u'\r', static_cast<std::size_t>(a)); k != std::u16string_view::npos;
             k = find_unit(upto, u'\r', k + 1)) {
            const auto end = static_cast<LONG>(k);
            if (paragraph_end_shows(m_, end) == EndShows::font && !same(i, true, key, doc_format)) continue;  // fixed
            add_fix(at, end, shift, i);
            left_.push_back(FormatSpan{end, end + 1, copy_index});
            at = end + 1;
        }
        add_fix(at, b, shift, i);
    }

    // Adjacent fixes of one run are one, unless a change of text lies between them (they are
    // apart in the document): a fix never reaches over a change of text.
    void add_fix(LONG a, LONG b, LONG shift, std::size_t i) {
        if (a >= b) return;
        if (!fixes_.empty() && fixes_.back().run == i && fixes_.back().to == a && fixes_.back().shift == shift)
            fixes_.back().to = b;
        else
            fixes_.push_back(FormatFix{a, b, shift, i});
        fixed_ += b - a;
    }

    const RichText& rt_;
    const std::u16string& m_;
    const std::vector<FormatSpan>& runs_;
    QFormats& formats_;
    std::vector<FormatFix>& fixes_;
    LONG& fixed_;
    std::vector<FormatSpan>& left_;
    std::size_t ri_ = 0;
    std::unordered_map<std::uint32_t, QTextCharFormat> qformats_;  // by the model's format number
    PairAnswers formats_same_, fonts_;
};

// The keys of step 3: the document's format numbers, and the copy's above them.
constexpr std::uint64_t kCopyKey = std::uint64_t{1} << 32;

// Compares the document's [a, b) (document positions, at model positions + shift) by its fragments.
void compare_document(const QTextDocument& doc, FormatComparison& cmp, LONG a, LONG b, LONG shift) {
    if (a >= b) return;
    for (QTextBlock blk = doc.findBlock(a); blk.isValid(); blk = blk.next()) {
        const LONG bp = blk.position();
        if (bp >= b) break;
        // A paragraph's fragments follow one another from its start (a fragment's own position
        // is a search of the document's tree).
        LONG at = bp;
        for (QTextBlock::iterator it = blk.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const LONG fs = std::max<LONG>(a, at);
            const LONG fe = std::min<LONG>(b, at + frag.length());
            at += frag.length();
            if (fs < fe)
                cmp.compare(fs, fe, shift, static_cast<std::uint32_t>(frag.charFormatIndex()), DocumentSync::kUnknown,
                            [&] { return frag.charFormat(); });
        }
        // The paragraph separator: its format is the next paragraph's character format.
        const LONG sep = bp + blk.length() - 1;
        const QTextBlock next = blk.next();
        if (sep >= a && sep < b && next.isValid())
            cmp.compare(sep, sep + 1, shift, static_cast<std::uint32_t>(next.charFormatIndex()), DocumentSync::kUnknown,
                        [&] { return next.charFormat(); });
    }
}

}  // namespace

DocumentSync::DocumentSync(QTextEdit& edit, std::function<void()> shown) : edit_(edit), shown_(std::move(shown)) {
    // Whoever changed the document, the copy of it may be stale.
    changes_ = QObject::connect(edit.document(), &QTextDocument::contentsChange, edit.document(),
                                [this](int, int, int) { ++doc_changes_; });
}

DocumentSync::~DocumentSync() {
    QObject::disconnect(changes_);
    delete kept_doc_;
}

void DocumentSync::show_document(QTextDocument* doc) {
    QTextDocument* old = edit_.document();
    const bool copy = copy_valid();
    // The widget would delete a document of its own that it stops showing: it is kept (the widget
    // deletes the documents it holds when it goes).
    old->setParent(&edit_);
    // The kept document takes what the widget gave the one shown meanwhile (laid out again only then).
    if (doc->defaultFont() != old->defaultFont()) doc->setDefaultFont(old->defaultFont());
    const QTextOption& option = old->defaultTextOption();
    if (doc->defaultTextOption().textDirection() != option.textDirection() ||
        doc->defaultTextOption().wrapMode() != option.wrapMode() || doc->defaultTextOption().alignment() != option.alignment())
        doc->setDefaultTextOption(option);
    QObject::disconnect(changes_);
    edit_.setDocument(doc);
    changes_ = QObject::connect(doc, &QTextDocument::contentsChange, doc, [this](int, int, int) { ++doc_changes_; });
    kept_doc_ = old;
    std::swap(shadow_text_, kept_text_);
    std::swap(shadow_spans_, kept_spans_);
    std::swap(shadow_formats_, kept_formats_);
    std::swap(updated_, kept_updated_);
    shadow_ = true;  // the kept document's copy holds it: nothing changed it while it was kept
    shadow_changes_ = doc_changes_;
    if (!copy) kept_text_.clear();
    if (shown_) shown_();
}

// A sync of the whole of a long text that would replace most of the document: the kept document
// comes back when the model is close to it, or else this one is kept and a new one shown. The
// pass is then made again against the document shown.
bool DocumentSync::swap_documents(Pass& pass) {
    const LONG n = pass.rt.length();
    const LONG dn = std::max(0, edit_.document()->characterCount() - 1);
    if (!pass.text_changed || pass.from != 0 || pass.doc_to != dn || pass.to != n || std::max(n, dn) <= kBulkLeast) return false;
    const LONG now = changed_volume(pass.text);
    if (now * 2 < std::max(n, dn)) return false;
    const bool kept = kept_doc_ && !kept_text_.empty();
    if (kept && changed_volume(text_changes(pass.m, kept_text_)) * 4 < now) {
        show_document(kept_doc_);
        return true;
    }
    if (dn <= kBulkLeast || !copy_valid()) return false;
    // One of the two is kept: the one whose text changed in place last. The report does with
    // every key; an entry shown for a look-up is only ever filled whole, so the report stays kept
    // however many look-ups come between two keys, each entry written in place of the one before.
    if (kept && updated_ <= kept_updated_) return false;
    QTextDocument* old = edit_.document();
    auto* fresh = new QTextDocument(&edit_);
    PanelLayout::install(*fresh);
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setUndoRedoEnabled(false);
    delete kept_doc_;
    kept_doc_ = nullptr;
    show_document(fresh);
    shadow_ = false;  // the new document's copy is made by the sync
    updated_ = 0;
    return true;
}

DocumentSync::Totals DocumentSync::totals() { return g_totals; }

bool DocumentSync::copy_valid() const {
    return shadow_ && shadow_changes_ == doc_changes_ &&
           static_cast<LONG>(shadow_text_.size()) == std::max(0, edit_.document()->characterCount() - 1);
}

void DocumentSync::drop_copy() {
    shadow_ = false;
    shadow_text_ = std::u16string();
    shadow_spans_ = std::vector<FormatSpan>();
    shadow_formats_ = std::vector<CharFormat>();
}

std::uint32_t DocumentSync::copy_number(const CharFormat& f) {
    std::size_t n = 0;
    while (n < shadow_formats_.size() && !(shadow_formats_[n] == f)) ++n;
    if (n == shadow_formats_.size()) shadow_formats_.push_back(f);
    return static_cast<std::uint32_t>(n);
}

std::string DocumentSync::copy_difference(LONG from, LONG to) const {
    if (!copy_valid()) return {};
    const QTextDocument& doc = *edit_.document();
    const auto n = static_cast<LONG>(shadow_text_.size());
    from = clamp_to(from, 0, n);
    to = to < 0 ? n : clamp_to(to, from, n);
    if (from >= to) return {};
    QTextCursor c(edit_.document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    std::u16string d = to_u16(c.selectedText());
    for (char16_t& u : d) u = compared_char(u);
    const std::u16string_view kept = std::u16string_view(shadow_text_).substr(static_cast<std::size_t>(from), d.size());
    if (d != kept)
        return "the text at " + std::to_string(from + (std::mismatch(d.begin(), d.end(), kept.begin()).first - d.begin()));
    auto span = std::upper_bound(shadow_spans_.begin(), shadow_spans_.end(), from,
                                 [](LONG pos, const FormatSpan& r) { return pos < r.to; });
    PairAnswers same;
    // Whether the copy names the document's format (by its number `index`) over [a, b).
    auto named = [&](LONG a, LONG b, int index, const auto& shown) {
        for (LONG pos = std::max(a, from); pos < std::min(b, to); pos = span->to) {
            while (span != shadow_spans_.end() && span->to <= pos) ++span;
            if (span == shadow_spans_.end()) return false;
            const std::uint32_t k = span->index;
            if (k != kUnknown && !same(static_cast<std::uint32_t>(index), k, [&] { return to_qformat(shadow_formats_[k]) == shown(); }))
                return false;
        }
        return true;
    };
    for (QTextBlock blk = doc.findBlock(from); blk.isValid() && blk.position() < to; blk = blk.next()) {
        LONG at = blk.position();
        for (QTextBlock::iterator it = blk.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!named(at, at + frag.length(), frag.charFormatIndex(), [&] { return frag.charFormat(); }))
                return "the format at " + std::to_string(at);
            at += frag.length();
        }
        const QTextBlock next = blk.next();
        if (next.isValid() && !named(at, at + 1, next.charFormatIndex(), [&] { return next.charFormat(); }))
            return "the format of the paragraph end at " + std::to_string(at);
    }
    return {};
}

void DocumentSync::user_edited(LONG pos, LONG removed, LONG added) {
    // The copy counts when it held the document up to this change (counted already).
    if (!shadow_ || shadow_changes_ + 1 != doc_changes_) return;
    const auto n = static_cast<LONG>(shadow_text_.size());
    const LONG dn = std::max(0, edit_.document()->characterCount() - 1);
    if (pos < 0 || removed < 0 || added < 0 || pos + removed > n || n - removed + added != dn) {
        drop_copy();
        return;
    }
    std::u16string typed;
    if (added > 0) {
        QTextCursor c(edit_.document());
        c.setPosition(pos);
        c.setPosition(pos + added, QTextCursor::KeepAnchor);
        typed = to_u16(c.selectedText());
        for (char16_t& u : typed) u = compared_char(u);
    }
    shadow_text_.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), typed);
    std::vector<FormatSpan> spans;
    spans.reserve(shadow_spans_.size() + 2);
    for (const FormatSpan& sp : shadow_spans_)
        if (sp.from < pos) spans.push_back(FormatSpan{sp.from, std::min(sp.to, pos), sp.index});
    if (added > 0) spans.push_back(FormatSpan{pos, pos + added, kUnknown});
    for (const FormatSpan& sp : shadow_spans_)
        if (sp.to > pos + removed)
            spans.push_back(FormatSpan{std::max(sp.from, pos + removed) + added - removed, sp.to + added - removed, sp.index});
    shadow_spans_ = std::move(spans);
    shadow_changes_ = doc_changes_;
}

void DocumentSync::sync(const RichText& rt, LONG from, LONG doc_to, LONG to, bool text_changed, LONG text_from,
                        LONG text_to) {
    const auto started = std::chrono::steady_clock::now();
    const std::uint64_t set_before = characters_set_;
    const LONG dn = std::max(0, edit_.document()->characterCount() - 1);
    from = clamp_to(from, 0, std::min(dn, rt.length()));
    doc_to = clamp_to(doc_to, from, dn);
    to = clamp_to(to, from, rt.length());
    if (!text_changed) doc_to = to = std::min(doc_to, to);
    // A change of text at a paragraph's start sets the paragraph end before it too (it may now
    // show: apply), so the range compared, and the copy brought up to date, takes that end in.
    else if (from > 0 && rt.text()[static_cast<std::size_t>(from - 1)] == u'\r') --from;
    // The copy of what the document holds counts when nothing but this object changed it since.
    std::optional<Pass> made;
    made.emplace(Pass{rt, rt.text(), from, doc_to, to, text_changed, copy_valid() && !distrust_copy_, {}, {}, rt.spans(from, to), {}, 0, {}, {}});
    find_text_changes(*made, text_from, text_to);
    if (swap_documents(*made)) {
        doc_to = std::max(0, edit_.document()->characterCount() - 1);
        made.emplace(Pass{rt, rt.text(), from, doc_to, to, text_changed, copy_valid(), {}, {}, rt.spans(from, to), {}, 0, {}, {}});
        find_text_changes(*made, -1, -1);
    }
    distrust_copy_ = false;
    Pass& pass = *made;
    // The document is now filled whole, or kept up to date in place (which one to keep aside).
    if (text_changed && !pass.text.stretches.empty()) {
        const bool filled = changed_volume(pass.text) * 2 >= std::max(rt.length(), std::max(0, edit_.document()->characterCount() - 1));
        updated_ = filled ? 0 : ++updates_;
    }
    pass.kept = kept_stretches(pass.text, from, doc_to, to);
    find_format_fixes(pass);
    if (!pass.text.stretches.empty() || !pass.fixes.empty()) apply(pass);
    remember(pass);
#ifndef NDEBUG
    std::string difference;
    const bool shows = document_shows_model(*edit_.document(), rt, from, to, &difference);
    if (!shows) qWarning("the panel's document does not show its model: %s", difference.c_str());
    assert(shows);
    difference = copy_difference(from, to);
    if (!difference.empty()) qWarning("the copy of the panel's document differs from it: %s", difference.c_str());
    assert(difference.empty());
#endif
    g_totals.characters += characters_set_ - set_before;
    g_totals.nanoseconds +=
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - started).count();
}

void DocumentSync::find_text_changes(Pass& pass, LONG text_from, LONG text_to) const {
    const LONG from = pass.from, to = pass.to, doc_to = pass.doc_to;
    if (!pass.text_changed) {
        pass.text.head = static_cast<std::size_t>(to - from);  // the text stays
        return;
    }
    // What lies before and after the changes of text (`text_from`..`text_to`) is the same in
    // both: only the document's text between is read and compared.
    const LONG common = std::min<LONG>(to - from, doc_to - from);
    LONG front = 0, back = 0;
    if (text_from >= 0 && text_to >= text_from) {
        front = std::clamp<LONG>(text_from - from, 0, common);
        back = std::clamp<LONG>(to - text_to, 0, common - front);
    }
    // The document's text between, in the form compared (the copy is in it already), and the model's.
    std::u16string read, model_read;
    std::u16string_view d;
    if (pass.copy) {
        d = std::u16string_view(shadow_text_).substr(static_cast<std::size_t>(from + front), static_cast<std::size_t>(doc_to - back - from - front));
    } else {
        if (doc_to - back > from + front) {
            QTextCursor c(edit_.document());
            c.setPosition(from + front);
            c.setPosition(doc_to - back, QTextCursor::KeepAnchor);
            read = to_u16(c.selectedText());
        }
        for (char16_t& c : read) c = compared_char(c);
        d = read;
    }
    std::u16string_view mv = std::u16string_view(pass.m).substr(static_cast<std::size_t>(from + front),
                                                                static_cast<std::size_t>(to - back - from - front));
    if (!pass.copy && std::any_of(mv.begin(), mv.end(), [](char16_t c) { return compared_char(c) != c; })) {
        model_read.assign(mv);
        for (char16_t& c : model_read) c = compared_char(c);
        mv = model_read;
    }
    pass.text = text_changes(mv, d);
    pass.text.head += static_cast<std::size_t>(front);
    pass.text.tail += static_cast<std::size_t>(back);
}

void DocumentSync::find_format_fixes(Pass& pass) const {
    FormatComparison cmp(pass.rt, pass.m, pass.runs, pass.formats, pass.fixes, pass.fixed, pass.left);
    const QTextDocument& doc = *edit_.document();
    for (const KeptStretch& k : pass.kept) {
        if (!pass.copy) {
            compare_document(doc, cmp, k.doc_from, k.doc_to, k.shift);
            continue;
        }
        // The copy's stretches name the model's formats the document was given; those it does
        // not know are the document's own.
        auto it = std::upper_bound(shadow_spans_.begin(), shadow_spans_.end(), k.doc_from,
                                   [](LONG pos, const FormatSpan& r) { return pos < r.to; });
        for (; it != shadow_spans_.end() && it->from < k.doc_to; ++it) {
            const LONG a = std::max(k.doc_from, it->from), b = std::min(k.doc_to, it->to);
            if (it->index == kUnknown) {
                compare_document(doc, cmp, a, b, k.shift);
                continue;
            }
            const CharFormat& f = shadow_formats_[it->index];
            cmp.compare(a, b, k.shift, kCopyKey + it->index, it->index, [&] { return pass.formats.of(f); });
        }
    }
}

// ---- DocumentSync::apply and remember

void DocumentSync::apply(Pass& pass) {
    QTextDocument* doc = edit_.document();
    const std::u16string& m = pass.m;
    const LONG mid = pass.mid();
    // Many scattered changes or a large part of the text: the document is not laid out while it
    // takes them, and lays out what changed once afterwards (when shown, and in idle time), which
    // costs less than laying out each changed paragraph again and again. Changes close together
    // are one edit (below), laid out once from its first change to its last: a renumbered list
    // is one edit of many small changes.
    LONG volume = pass.fixed, spanned = 0;
    std::size_t edits = 0;
    {
        LONG edit_from = 0, edit_to = 0;
        auto count = [&](LONG a, LONG b) {
            if (edits == 0 || a - edit_to > kNear) {
                spanned += edit_to - edit_from;
                ++edits;
                edit_from = a;
            }
            edit_to = std::max(edit_to, b);
        };
        std::size_t si = 0, fi = 0;
        const auto& stretches = pass.text.stretches;
        while (si < stretches.size() || fi < pass.fixes.size()) {
            if (fi == pass.fixes.size() || (si < stretches.size() && mid + static_cast<LONG>(stretches[si].a_from) <= pass.fixes[fi].from)) {
                const ChangedStretch& s = stretches[si++];
                volume += static_cast<LONG>(std::max(s.a_to - s.a_from, s.b_to - s.b_from));
                count(mid + static_cast<LONG>(s.a_from), mid + static_cast<LONG>(s.a_to));
            } else {
                count(pass.fixes[fi].from, pass.fixes[fi].to);
                ++fi;
            }
        }
        spanned += edit_to - edit_from;
    }
    const LONG n = std::max(std::max(0, doc->characterCount() - 1), pass.rt.length());
    const bool bulk =
        n > kBulkLeast && (volume * 4 > n || static_cast<LONG>(edits) * kCharsPerEdit > n || spanned * 2 > n);
    QSizeF page;
    POINT scroll{};
    if (bulk) {
        scroll = POINT{edit_.horizontalScrollBar()->value(), edit_.verticalScrollBar()->value()};
        page = doc->pageSize();
        doc->setPageSize(QSizeF(0, 0));  // a null page size: no layout
    }
    // The stretches and fixes go in in the order of their positions (the model's: the document
    // before each holds the model's text already; a fix never reaches over a stretch). The
    // panel's layout lays out the paragraphs an edit touched: changes far apart are separate edits,
    // each laid out on its own (one edit around them all would lay out everything between), and
    // changes close together are one edit.
    QTextCursor c(doc);
    if (bulk) c.beginEditBlock();
    bool open = false;
    LONG open_to = 0;
    auto edit_at = [&](LONG a, LONG b) {
        if (bulk) return;
        if (open && a - open_to > kNear) {
            c.endEditBlock();
            open = false;
        }
        if (!open) c.beginEditBlock();
        open = true;
        open_to = b;
    };
    std::size_t si = 0, fi = 0;
    const auto& stretches = pass.text.stretches;
    while (si < stretches.size() || fi < pass.fixes.size()) {
        if (fi == pass.fixes.size() || (si < stretches.size() && mid + static_cast<LONG>(stretches[si].a_from) <= pass.fixes[fi].from)) {
            const ChangedStretch& s = stretches[si++];
            const LONG at = mid + static_cast<LONG>(s.a_from), at_to = mid + static_cast<LONG>(s.a_to);
            edit_at(std::max<LONG>(0, at - 1), at_to);
            c.setPosition(at);
            c.setPosition(at + static_cast<LONG>(s.b_to - s.b_from), QTextCursor::KeepAnchor);
            if (c.hasSelection()) c.removeSelectedText();
            for (const FormatRun& r : pass.rt.runs(at, at_to)) {
                c.insertText(to_doc(std::u16string_view(m).substr(static_cast<std::size_t>(r.from), static_cast<std::size_t>(r.to - r.from))),
                             pass.formats.of(r.format));
                characters_set_ += static_cast<std::uint64_t>(r.to - r.from);
            }
            // The paragraph end before the new text may now end a paragraph before an empty one,
            // and show: it takes its own format (it may have been left while it showed nothing).
            if (at > 0 && m[static_cast<std::size_t>(at - 1)] == u'\r') {
                c.setPosition(at - 1);
                c.setPosition(at, QTextCursor::KeepAnchor);
                c.setCharFormat(pass.formats.of(pass.rt.format_at(at - 1)));
                ++characters_set_;
                auto left = std::lower_bound(pass.left.begin(), pass.left.end(), at - 1,
                                             [](const FormatSpan& e, LONG pos) { return e.from < pos; });
                if (left != pass.left.end() && left->from == at - 1) pass.left.erase(left);  // set now
            }
        } else {
            const FormatFix& fx = pass.fixes[fi++];
            edit_at(fx.from, fx.to);
            c.setPosition(fx.from);
            c.setPosition(fx.to, QTextCursor::KeepAnchor);
            c.setCharFormat(pass.formats.of(pass.rt.format_by_index(pass.runs[fx.run].index)));
            characters_set_ += static_cast<std::uint64_t>(fx.to - fx.from);
        }
    }
    if (open) c.endEditBlock();
    if (bulk) {
        c.endEditBlock();
        doc->setPageSize(page);
        if (scroll.x > 0 || scroll.y > 0) {
            // The view stays where it was: the scroll bars know the whole height once laid out.
            PanelLayout::lay_out_whole(*doc);
            edit_.horizontalScrollBar()->setValue(scroll.x);
            edit_.verticalScrollBar()->setValue(scroll.y);
        }
    }
}

void DocumentSync::remember(Pass& pass) {
    // Afterwards the document holds the model's text, and its formats but for the paragraph ends
    // left: in [from, to) by the steps before, elsewhere as before (when it did before, or this
    // was the whole text).
    const RichText& rt = pass.rt;
    const LONG from = pass.from, doc_to = pass.doc_to, to = pass.to;
    const bool whole = from == 0 && to == rt.length() && edit_.document()->characterCount() - 1 == rt.length();
    if (rt.length() <= kBulkLeast || !(pass.copy || whole)) {
        drop_copy();
        return;
    }
    // The copy numbers its own formats, looked up once per model number (the model's numbers
    // hold until it changes; a text has few formats, a report tens of thousands of runs).
    std::vector<CharFormat> old_formats;
    const bool anew = whole;
    if (anew) old_formats = std::exchange(shadow_formats_, {});
    std::vector<std::uint32_t> ids;
    auto number = [&](std::uint32_t index) {
        if (index >= ids.size()) ids.resize(index + 1, kUnknown);
        if (ids[index] == kUnknown) ids[index] = copy_number(rt.format_by_index(index));
        return ids[index];
    };
    // The model's formats of [from, to), but for the ends left with the document's own.
    std::vector<FormatSpan> changed;
    changed.reserve(pass.runs.size() + 2 * pass.left.size());
    auto left = pass.left.begin();
    for (const FormatSpan& r : pass.runs) {
        LONG at = r.from;
        for (; left != pass.left.end() && left->from < r.to; ++left) {
            if (left->from > at) changed.push_back(FormatSpan{at, left->from, number(r.index)});
            std::uint32_t kept = left->index;
            if (kept != kUnknown && anew) kept = copy_number(old_formats[kept]);
            changed.push_back(FormatSpan{left->from, left->to, kept});
            at = left->to;
        }
        if (at < r.to) changed.push_back(FormatSpan{at, r.to, number(r.index)});
    }
    if (anew) {
        shadow_text_ = pass.m;
        shadow_spans_ = std::move(changed);
    } else {
        // Only [from, to) changed: the copy takes that range's text and formats.
        shadow_text_.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(doc_to - from), pass.m,
                             static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
        std::vector<FormatSpan> spans;
        spans.reserve(shadow_spans_.size() + changed.size());
        for (const FormatSpan& sp : shadow_spans_) {
            if (sp.from >= from) break;
            spans.push_back(FormatSpan{sp.from, std::min(sp.to, from), sp.index});
        }
        spans.insert(spans.end(), changed.begin(), changed.end());
        auto tail = std::upper_bound(shadow_spans_.begin(), shadow_spans_.end(), doc_to,
                                     [](LONG pos, const FormatSpan& r) { return pos < r.to; });
        for (; tail != shadow_spans_.end(); ++tail)
            spans.push_back(FormatSpan{std::max(tail->from, doc_to) + to - doc_to, tail->to + to - doc_to, tail->index});
        shadow_spans_ = std::move(spans);
    }
    shadow_changes_ = doc_changes_;
    shadow_ = true;
}
