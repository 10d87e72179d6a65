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
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/qt/qt_support.h"

namespace {

constexpr char16_t kParagraph = 0x2029;      // QChar::ParagraphSeparator
constexpr char16_t kLineSeparator = 0x2028;  // QChar::LineSeparator

// A character of the model as the document shows it.
char16_t doc_char(char16_t c) {
    if (c == u'\r' || c == u'\n') return kParagraph;
    if (c == 0xFDD0 || c == 0xFDD1) return 0xFFFD;
    return c;
}

// A character of the document in the form text is compared in: the model's, but for the two
// frame characters, which the document holds as replacement characters.
char16_t compared_char(char16_t c) {
    if (c == kParagraph || c == kLineSeparator) return u'\r';
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

bool same_font(const CharFormat& a, const CharFormat& b) {
    constexpr DWORD kFontEffects = CFE_BOLD | CFE_ITALIC;
    return a.face == b.face && a.height == b.height && (a.effects & kFontEffects) == (b.effects & kFontEffects);
}

bool same_font(const QTextCharFormat& a, const QTextCharFormat& b) {
    return a.fontFamilies() == b.fontFamilies() && a.fontPointSize() == b.fontPointSize() &&
           a.fontWeight() == b.fontWeight() && a.fontItalic() == b.fontItalic();
}

// A stretch of the document whose format differs from the model's: [from, to) takes the
// format of the model's run `run`.
struct FormatFix {
    LONG from, to;
    std::size_t run;
};

DocumentSync::Totals g_totals;

// ---- Changed stretches ----------------------------------------------------------------------

struct Lines {
    std::vector<std::size_t> starts;  // each line's first offset, and the text's end last
    std::vector<std::uint64_t> hashes;
};

// A line's hash: four units at a time, then the rest one by one (each step a multiply).
std::uint64_t line_hash(const char16_t* p, std::size_t n) {
    std::uint64_t h = 14695981039346656037ull ^ n;
    for (; n >= 4; n -= 4, p += 4) {
        std::uint64_t k;
        std::memcpy(&k, p, sizeof k);
        h = (h ^ k) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    for (; n > 0; --n, ++p) h = (h ^ *p) * 1099511628211ull;
    return h;
}

Lines lines_of(std::u16string_view s) {
    Lines l;
    std::size_t at = 0;
    while (at < s.size()) {
        std::size_t end = find_unit(s, u'\r', at);
        end = end == std::u16string_view::npos ? s.size() : end + 1;
        const std::uint64_t h = line_hash(s.data() + at, end - at);
        l.starts.push_back(at);
        l.hashes.push_back(h);
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
    // The lines between two matched ones differ; a matched line is the same text (its hash could
    // match by chance: then the whole is one stretch).
    std::size_t pa = 0, pb = 0;
    for (const auto& [ia, ib] : *pairs) {
        const std::u16string_view line_a = a.substr(la.starts[ia], la.starts[ia + 1] - la.starts[ia]);
        const std::u16string_view line_b = b.substr(lb.starts[ib], lb.starts[ib + 1] - lb.starts[ib]);
        if (line_a != line_b) {
            out.clear();
            add_cut(out, a, b, whole);
            return out;
        }
        if (ia > pa || ib > pb) add_cut(out, a, b, ChangedStretch{la.starts[pa], la.starts[ia], lb.starts[pb], lb.starts[ib]});
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
    for (QTextBlock blk = doc.findBlock(from); blk.isValid() && blk.position() < to; blk = blk.next()) {
        const QString t = blk.text();
        const LONG bp = blk.position();
        for (QTextBlock::iterator it = blk.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat shown = frag.charFormat();
            for (LONG pos = std::max<LONG>(from, frag.position()); pos < std::min<LONG>(to, frag.position() + frag.length()); ++pos) {
                const char16_t c = text[static_cast<std::size_t>(pos)];
                if (compared_char(t.at(pos - bp).unicode()) != compared_char(c)) return differs("the text", pos);
                if (!(shown == wanted_at(si, pos))) return differs("the format", pos);
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

// ---- DocumentSync -------------------------------------------------------------------------

DocumentSync::DocumentSync(QTextEdit& edit) : edit_(edit) {
    // Whoever changed the document, the copy of it may be stale.
    changes_ = QObject::connect(edit.document(), &QTextDocument::contentsChange, edit.document(),
                                [this](int, int, int) { ++doc_changes_; });
}

DocumentSync::~DocumentSync() { QObject::disconnect(changes_); }

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
        for (char16_t& u : typed) u = compared_char(u) == u'\r' ? u'\r' : u;
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
    QTextDocument* doc = edit_.document();
    const LONG dn = std::max(0, doc->characterCount() - 1);
    from = clamp_to(from, 0, std::min(dn, rt.length()));
    doc_to = clamp_to(doc_to, from, dn);
    to = clamp_to(to, from, rt.length());
    if (!text_changed) doc_to = to = std::min(doc_to, to);
    // The copy of what the document holds, when nothing but this object changed it since it was made.
    const bool copy = copy_valid();
    const std::u16string& m = rt.text();

    // The text: the common start and end stay; between them, each stretch that differs is replaced.
    // `stretches` hold offsets from `mid` in the model (a) and in the document (b).
    LONG p = to - from, q = 0;  // the text stays unless it changed
    std::vector<ChangedStretch> stretches;
    if (text_changed) {
        const LONG common = std::min<LONG>(to - from, doc_to - from);
        // What lies before and after the changes of text is the same in both: only the document's
        // text between is read and compared.
        LONG front = 0, back = 0;
        if (text_from >= 0 && text_to >= text_from) {
            front = std::clamp<LONG>(text_from - from, 0, common);
            back = std::clamp<LONG>(to - text_to, 0, common - front);
        }
        // The document's text between, in the form compared (the copy is in it already), and the
        // model's.
        std::u16string read;
        if (!copy) {
            const QString d = [&] {
                if (doc_to - back <= from + front) return QString();
                QTextCursor c(doc);
                c.setPosition(from + front);
                c.setPosition(doc_to - back, QTextCursor::KeepAnchor);
                return c.selectedText();
            }();
            read = to_u16(d);
            for (char16_t& c : read) c = compared_char(c);
        }
        const std::u16string_view d = copy ? std::u16string_view(shadow_text_).substr(static_cast<std::size_t>(from + front),
                                                                                         static_cast<std::size_t>(doc_to - back - from - front))
                                           : std::u16string_view(read);
        std::u16string model_read;
        std::u16string_view mv = std::u16string_view(m).substr(static_cast<std::size_t>(from + front),
                                                               static_cast<std::size_t>(to - back - from - front));
        if (!copy && std::any_of(mv.begin(), mv.end(), [](char16_t c) { return compared_char(c) != c; })) {
            model_read.assign(mv);
            for (char16_t& c : model_read) c = compared_char(c);
            mv = model_read;
        }
        const LONG inner = std::min<LONG>(static_cast<LONG>(mv.size()), static_cast<LONG>(d.size()));
        LONG pp = static_cast<LONG>(std::mismatch(mv.begin(), mv.begin() + inner, d.begin()).first - mv.begin());
        const LONG qq = static_cast<LONG>(std::mismatch(mv.rbegin(), mv.rbegin() + (inner - pp), d.rbegin()).first - mv.rbegin());
        p = front + pp;
        q = back + qq;
        const std::u16string_view a = mv.substr(static_cast<std::size_t>(pp), mv.size() - static_cast<std::size_t>(pp + qq));
        const std::u16string_view b = d.substr(static_cast<std::size_t>(pp), d.size() - static_cast<std::size_t>(pp + qq));
        stretches = changed_stretches(a, b);
    }
    const LONG mid = from + p, doc_mid_to = doc_to - q, mid_to = to - q;

    // The formats of what stays, in the model's positions: before the first stretch they are the
    // same in both, after each the document's are shifted by what the stretches before change.
    std::vector<FormatSpan> runs = rt.spans(from, to);
    QFormats formats;
    std::unordered_map<std::uint32_t, QTextCharFormat> qformats;  // by the model's format number
    auto qformat = [&](std::size_t i) -> const QTextCharFormat& {
        const std::uint32_t k = runs[i].index;
        auto it = qformats.find(k);
        if (it == qformats.end()) it = qformats.emplace(k, formats.of(rt.format_by_index(k))).first;
        return it->second;
    };
    // Whether a run's format (or its font) equals a format of the document, asked once per pair:
    // a text has few distinct formats, the model's and the document's are known by their numbers.
    std::vector<std::pair<std::uint64_t, bool>> answers[2];  // formats, fonts
    auto same_format = [&](std::size_t i, bool font_only, int doc_index, const auto& doc_format) {
        const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(doc_index)) << 32) | runs[i].index;
        auto& asked = answers[font_only ? 1 : 0];
        for (const auto& [k, same] : asked)
            if (k == key) return same;
        const bool same = font_only ? same_font(qformat(i), doc_format()) : qformat(i) == doc_format();
        asked.emplace_back(key, same);
        return same;
    };
    std::vector<FormatFix> fixes;
    LONG fixed = 0;
    std::size_t ri = 0;
    auto add_fix = [&](LONG a, LONG b, std::size_t i) {
        if (a >= b) return;
        if (!fixes.empty() && fixes.back().run == i && fixes.back().to == a)
            fixes.back().to = b;
        else
            fixes.push_back(FormatFix{a, b, i});
        fixed += b - a;
    };
    // [a, b) of the model, whose format differs from run i's, takes it: but for the paragraph
    // ends, which take it only where it would show (`same_font_there()`: whether the document's
    // font there is run i's).
    auto fix_shown = [&](LONG a, LONG b, std::size_t i, const auto& same_font_there) {
        LONG at = a;
        int font_same = -1;  // asked once for the run
        for (LONG k = a; k < b; ++k) {
            const EndShows shows = paragraph_end_shows(m, k);
            if (shows == EndShows::not_an_end) continue;
            if (shows == EndShows::font) {
                if (font_same < 0) font_same = same_font_there() ? 1 : 0;
                if (!font_same) continue;  // its font shows: it is fixed
            }
            add_fix(at, k, i);  // it stays as it is
            at = k + 1;
        }
        add_fix(at, b, i);
    };
    // Compares the document's [a, b), which stands at model position a + shift: `same(i, false)`
    // tells whether its format is run i's, `same(i, true)` whether its font is.
    auto compare = [&](LONG a, LONG b, LONG shift, const auto& same) {
        LONG x = a + shift;
        const LONG end = b + shift;
        while (ri < runs.size() && runs[ri].to <= x) ++ri;
        for (std::size_t i = ri; i < runs.size() && x < end; ++i) {
            const LONG seg_to = std::min(end, runs[i].to);
            if (seg_to <= x) continue;
            if (!same(i, false)) fix_shown(x, seg_to, i, [&] { return same(i, true); });
            x = seg_to;
        }
    };
    auto compare_document = [&](LONG a, LONG b, LONG shift) {
        if (a >= b) return;
        for (QTextBlock blk = doc->findBlock(a); blk.isValid(); blk = blk.next()) {
            const LONG bp = blk.position();
            if (bp >= b) break;
            // A paragraph's fragments follow one another from its start (a fragment's own
            // position is a search of the document's tree).
            LONG at = bp;
            for (QTextBlock::iterator it = blk.begin(); !it.atEnd(); ++it) {
                const QTextFragment frag = it.fragment();
                const LONG fs = std::max<LONG>(a, at);
                const LONG fe = std::min<LONG>(b, at + frag.length());
                at += frag.length();
                if (fs < fe)
                    compare(fs, fe, shift, [&](std::size_t i, bool font_only) {
                        return same_format(i, font_only, frag.charFormatIndex(), [&] { return frag.charFormat(); });
                    });
            }
            // The paragraph separator: its format is the next paragraph's character format.
            const LONG sep = bp + blk.length() - 1;
            const QTextBlock next = blk.next();
            if (sep >= a && sep < b && next.isValid())
                compare(sep, sep + 1, shift, [&](std::size_t i, bool font_only) {
                    return same_format(i, font_only, next.charFormatIndex(), [&] { return next.charFormat(); });
                });
        }
    };
    // The same from the copy: its runs are the model's formats the document was given.
    auto compare_copy = [&](LONG a, LONG b, LONG shift) {
        if (a >= b) return;
        auto it = std::upper_bound(shadow_spans_.begin(), shadow_spans_.end(), a,
                                   [](LONG pos, const FormatSpan& r) { return pos < r.to; });
        for (; it != shadow_spans_.end() && it->from < b; ++it) {
            if (it->index == kUnknown) {  // typed by the user: the document's own formats
                compare_document(std::max(a, it->from), std::min(b, it->to), shift);
                continue;
            }
            const CharFormat& f = shadow_formats_[it->index];
            compare(std::max(a, it->from), std::min(b, it->to), shift, [&](std::size_t i, bool font_only) {
                const CharFormat& mf = rt.format_by_index(runs[i].index);
                return font_only ? same_font(mf, f) : mf == f;
            });
        }
    };
    // The kept text: before the first stretch, between two, after the last (document positions,
    // with the shift to the model's).
    {
        LONG doc_at = from, shift = 0;
        auto keep = [&](LONG doc_end) {
            if (copy) compare_copy(doc_at, doc_end, shift);
            else compare_document(doc_at, doc_end, shift);
        };
        for (const ChangedStretch& s : stretches) {
            keep(mid + static_cast<LONG>(s.b_from));
            doc_at = mid + static_cast<LONG>(s.b_to);
            shift = static_cast<LONG>(s.a_to) - static_cast<LONG>(s.b_to);
        }
        keep(doc_mid_to);
        doc_at = doc_mid_to;
        shift = mid_to - doc_mid_to;
        keep(doc_to);
    }

    // Afterwards the document holds the model's text and formats (paragraph ends that show
    // nothing aside): in [from, to) by what follows, elsewhere as before (when it did before, or
    // this was the whole text).
    const bool keep_copy = rt.length() > kBulkLeast && (copy || (from == 0 && doc_to == dn && to == rt.length()));
    auto remember = [&] {
        if (!keep_copy) {
            drop_copy();
            return;
        }
        const bool whole = from == 0 && to == rt.length();
        // The model's numbers hold until it changes: the copy numbers its own formats, looked up
        // once per model number (a text has few formats, a report tens of thousands of runs).
        std::vector<std::uint32_t> ids;
        auto number = [&](std::uint32_t index) {
            if (index >= ids.size()) ids.resize(index + 1, kUnknown);
            if (ids[index] == kUnknown) {
                const CharFormat& f = rt.format_by_index(index);
                std::size_t n = 0;
                while (n < shadow_formats_.size() && !(shadow_formats_[n] == f)) ++n;
                if (n == shadow_formats_.size()) shadow_formats_.push_back(f);
                ids[index] = static_cast<std::uint32_t>(n);
            }
            return ids[index];
        };
        std::vector<FormatSpan> spans;
        if (whole || !copy) {
            shadow_text_ = m;
            shadow_formats_.clear();
            spans = whole ? std::move(runs) : rt.spans(0, rt.length());
            for (FormatSpan& sp : spans) sp.index = number(sp.index);
        } else {
            // Only [from, to) changed: the copy takes that range's text and formats.
            shadow_text_.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(doc_to - from), m,
                                 static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
            spans.reserve(shadow_spans_.size() + runs.size());
            for (const FormatSpan& sp : shadow_spans_) {
                if (sp.from >= from) break;
                spans.push_back(FormatSpan{sp.from, std::min(sp.to, from), sp.index});
            }
            for (const FormatSpan& sp : runs) spans.push_back(FormatSpan{sp.from, sp.to, number(sp.index)});
            auto tail = std::upper_bound(shadow_spans_.begin(), shadow_spans_.end(), doc_to,
                                         [](LONG pos, const FormatSpan& r) { return pos < r.to; });
            for (; tail != shadow_spans_.end(); ++tail)
                spans.push_back(FormatSpan{std::max(tail->from, doc_to) + to - doc_to, tail->to + to - doc_to, tail->index});
        }
        shadow_spans_ = std::move(spans);
        shadow_changes_ = doc_changes_;
        shadow_ = true;
    };
    auto done = [&] {
        remember();
#ifndef NDEBUG
        std::string difference;
        const bool shows = document_shows_model(*doc, rt, from, to, &difference);
        if (!shows) qWarning("the panel's document does not show its model: %s", difference.c_str());
        assert(shows);
#endif
        g_totals.characters += characters_set_ - set_before;
        g_totals.nanoseconds +=
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - started).count();
    };
    if (stretches.empty() && fixes.empty()) {
        done();
        return;
    }

    // Many scattered changes or a large part of the text: the document is not laid out while it
    // takes them, and is laid out once afterwards (lazily, as Qt lays out a new text), which
    // costs less than laying out each changed paragraph again and again.
    LONG volume = fixed;
    std::size_t ops = fixes.size();
    for (const ChangedStretch& s : stretches) {
        volume += static_cast<LONG>(std::max(s.a_to - s.a_from, s.b_to - s.b_from));
        ops += 1 + rt.spans(mid + static_cast<LONG>(s.a_from), mid + static_cast<LONG>(s.a_to)).size();
    }
    const LONG n = std::max(dn, rt.length());
    const bool bulk = n > kBulkLeast && (volume * 4 > n || static_cast<LONG>(ops) * kCharsPerEdit > n);
    QSizeF page;
    POINT scroll{};
    if (bulk) {
        scroll = POINT{edit_.horizontalScrollBar()->value(), edit_.verticalScrollBar()->value()};
        page = doc->pageSize();
        doc->setPageSize(QSizeF(0, 0));  // a null page size: no layout
    }
    // The stretches and format fixes go in in the order of their positions (the model's: the
    // document before each holds the model's text already). Qt lays out the paragraphs an edit
    // touched and then moves every paragraph after them: changes far apart are separate edits,
    // each laid out on its own (one edit around them all would lay out everything between), and
    // changes close together are one edit, moved past once.
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
    auto replace = [&](const ChangedStretch& s) {
        const LONG at = mid + static_cast<LONG>(s.a_from), at_to = mid + static_cast<LONG>(s.a_to);
        edit_at(std::max<LONG>(0, at - 1), at_to);
        c.setPosition(at);
        c.setPosition(at + static_cast<LONG>(s.b_to - s.b_from), QTextCursor::KeepAnchor);
        if (c.hasSelection()) c.removeSelectedText();
        for (const FormatRun& r : rt.runs(at, at_to)) {
            c.insertText(to_doc(std::u16string_view(m).substr(static_cast<std::size_t>(r.from),
                                                              static_cast<std::size_t>(r.to - r.from))),
                         formats.of(r.format));
            characters_set_ += static_cast<std::uint64_t>(r.to - r.from);
        }
        // The paragraph end before the new text may now end a paragraph before an empty one, and
        // show: it takes its own format (it may have been left as it was while it showed nothing).
        if (at > 0 && m[static_cast<std::size_t>(at - 1)] == u'\r') {
            c.setPosition(at - 1);
            c.setPosition(at, QTextCursor::KeepAnchor);
            c.setCharFormat(formats.of(rt.format_at(at - 1)));
            ++characters_set_;
        }
    };
    auto fix = [&](const FormatFix& fx) {
        edit_at(fx.from, fx.to);
        c.setPosition(fx.from);
        c.setPosition(fx.to, QTextCursor::KeepAnchor);
        c.setCharFormat(qformat(fx.run));
        characters_set_ += static_cast<std::uint64_t>(fx.to - fx.from);
    };
    std::size_t si = 0, fi = 0;
    while (si < stretches.size() || fi < fixes.size()) {
        if (fi == fixes.size() ||
            (si < stretches.size() && mid + static_cast<LONG>(stretches[si].a_from) <= fixes[fi].from))
            replace(stretches[si++]);
        else
            fix(fixes[fi++]);
    }
    if (open) c.endEditBlock();
    if (bulk) {
        c.endEditBlock();
        doc->setPageSize(page);
        if (scroll.x > 0 || scroll.y > 0) {
            // The view stays where it was: the scroll bars know the whole height once laid out.
            doc->documentLayout()->documentSize();
            edit_.horizontalScrollBar()->setValue(scroll.x);
            edit_.verticalScrollBar()->setValue(scroll.y);
        }
    }
    done();
}
