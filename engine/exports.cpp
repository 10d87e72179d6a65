#include "engine/exports.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <unordered_map>

#include "engine/output_files.h"
#include "engine/separators.h"
#include "engine/worker_pool.h"
#include "lexicon/panels.h"
#include "platform/text.h"
#include "platform/window.h"
#include "shell/files.h"
#include "shell/memory.h"
#include "shell/panels.h"
#include "shell/settings.h"
#include "shell/strings.h"
#include "shell/token_frequency_index.h"
#include "shell/ui_services.h"
#include "shell/window_state.h"

namespace {

// ---- Token export ------------------------------------------------------------------------------

// The lines of a file's groups, "%d. %s %d\r\n" (the name between bars in the separator files):
// the place, the name, the count. The place of the next group is kept as decimal text, as places
// only ever grow by one.
class LineMaker {
public:
    static constexpr std::size_t kLineExtra = 40;  // a line's bytes besides its name, at most

    explicit LineMaker(std::size_t place = 0) {
        char digits[kDigits];
        const char* const end = std::to_chars(digits, digits + kDigits, place).ptr;
        len_ = static_cast<std::size_t>(end - digits);
        std::memcpy(place_ + kDigits - len_, digits, len_);
    }

    // The line of a named group at p, where there is room for its name and kLineExtra bytes more;
    // answers the line's end.
    char* line(char* p, const GRecord& g, bool bars) const {
        p = head(p, bars);
        // Counted from NUL-terminated texts, the name holds no NUL; a short one is copied as one
        // block of the bytes readable from its start (the room after it takes them).
        if (g.name.size() <= GRECORD_NAME_READABLE) std::memcpy(p, g.name.data(), GRECORD_NAME_READABLE);
        else std::memcpy(p, g.name.data(), g.name.size());
        return tail(p + g.name.size(), g.count, bars);
    }
    // The line up to its name, and the line after its name.
    char* head(char* p, bool bars) const {
        std::memcpy(p, place_ + kDigits - len_, kDigits);  // the digits, then bytes written over
        p += len_;
        *p++ = '.';
        *p++ = ' ';
        if (bars) *p++ = '|';
        return p;
    }
    static char* tail(char* p, std::uint32_t count, bool bars) {
        if (bars) *p++ = '|';
        *p++ = ' ';
        if (count < 10) *p++ = static_cast<char>('0' + count);
        else p = std::to_chars(p, p + 16, static_cast<int>(count)).ptr;
        *p++ = '\r';
        *p++ = '\n';
        return p;
    }
    void next_place() {
        std::size_t k = kDigits;
        while (k > kDigits - len_ && place_[k - 1] == '9') place_[--k] = '0';
        if (k == kDigits - len_) {
            place_[--k] = '1';
            ++len_;
        } else {
            ++place_[k - 1];
        }
    }

private:
    static constexpr std::size_t kDigits = 16;
    static_assert(GRECORD_NAME_READABLE + kDigits <= kLineExtra);

    // The place's digits end just before place_[kDigits]; the bytes after them are copied with them.
    char place_[2 * kDigits] = {};
    std::size_t len_ = 0;
};

// The names of a sorted table lie all over the index's pool: each is fetched a few groups ahead.
void fetch_name_ahead(const GRecord* g, const GRecord* nd) {
    constexpr std::ptrdiff_t kAhead = 32;
    if (nd - g > kAhead) __builtin_prefetch(g[kAhead].name.data());
}

// One export file, written in large pieces.
class ExportFile {
public:
    FILE* f = nullptr;
    std::string name;  // the file's name, as its close reports it

    // Writes one group, or only uses up its place when the group has no name.
    void group(const GRecord& g, bool bars) {
        if (!g.name.empty()) {
            const std::size_t room = g.name.size() + LineMaker::kLineExtra;
            if (used_ + room > kPiece) flush();
            char* p = buf_.get() + used_;
            if (room <= kPiece) {
                used_ = static_cast<std::size_t>(lines_.line(p, g, bars) - buf_.get());
            } else {  // a name longer than a piece goes on its own between the line's head and tail
                OutputCyr(std::string_view(p, static_cast<std::size_t>(lines_.head(p, bars) - p)), 0, f);
                OutputCyr(g.name, 0, f);
                OutputCyr(std::string_view(p, static_cast<std::size_t>(LineMaker::tail(p, g.count, bars) - p)), 0, f);
            }
        }
        lines_.next_place();
        ++place_;
    }
    // Writes the groups [first, nd): a long table's lines are made on the helper threads, a stretch
    // of groups each, while the stretches made before are written.
    void groups(const GRecord* first, const GRecord* nd, bool bars);
    void flush() {
        if (used_) OutputCyr(std::string_view(buf_.get(), used_), 0, f);
        used_ = 0;
    }
    void close(const std::string& name) {
        flush();
        closefile(f, name);
    }

private:
    static constexpr std::size_t kPiece = 1u << 16;  // bytes gathered before a write

    LineMaker lines_;
    std::size_t place_ = 0;  // the place of the next group
    std::unique_ptr<char[]> buf_{new char[kPiece]};
    std::size_t used_ = 0;
};

// The lines of a stretch of groups, made on a helper thread: it reads only the table's groups and
// their names, and writes only its own buffer.
struct GroupLines {
    std::unique_ptr<char[]> text;
    std::size_t room = 0;
    std::size_t used = 0;

    void make(const GRecord* first, const GRecord* nd, std::size_t place, bool bars) {
        std::size_t need = 0;
        for (const GRecord* g = first; g < nd; ++g) need += g->name.size() + LineMaker::kLineExtra;
        if (need > room) {
            text.reset(new char[need]);
            room = need;
        }
        LineMaker lines(place);
        char* p = text.get();
        for (const GRecord* g = first; g < nd; ++g) {
            fetch_name_ahead(g, nd);
            if (!g->name.empty()) p = lines.line(p, *g, bars);
            lines.next_place();
        }
        used = static_cast<std::size_t>(p - text.get());
    }
};

void ExportFile::groups(const GRecord* first, const GRecord* nd, bool bars) {
    constexpr std::size_t kStretchGroups = 1u << 15;
    const std::size_t n = static_cast<std::size_t>(nd - first);
    const std::size_t per_round = helper_threads() + 1;
    if (helper_threads() == 0 || n < 2 * kStretchGroups) {
        for (const GRecord* g = first; g < nd; ++g) {
            fetch_name_ahead(g, nd);
            group(*g, bars);
        }
        return;
    }
    flush();
    // Two sets of stretches: the helpers make one round's lines while the other round's are written.
    std::vector<GroupLines> sets[2] = {std::vector<GroupLines>(per_round), std::vector<GroupLines>(per_round)};
    const std::size_t base = place_;
    auto stretches_from = [&](std::size_t at) {
        return std::min(per_round, (n - at + kStretchGroups - 1) / kStretchGroups);
    };
    auto start = [&](std::size_t at, std::vector<GroupLines>& set) {
        return HelperJob(stretches_from(at), [&set, first, n, at, base, bars](std::size_t i) {
            const std::size_t a = at + i * kStretchGroups, b = std::min(n, a + kStretchGroups);
            set[i].make(first + a, first + b, base + a, bars);
        });
    };
    const std::size_t round_groups = per_round * kStretchGroups;
    HelperJob job = start(0, sets[0]);
    for (std::size_t at = 0, r = 0; at < n; at += round_groups, r ^= 1) {
        job.wait();
        const std::size_t made = stretches_from(at);
        if (at + round_groups < n) job = start(at + round_groups, sets[r ^ 1]);
        for (std::size_t i = 0; i < made; ++i) OutputCyr(std::string_view(sets[r][i].text.get(), sets[r][i].used), 0, f);
    }
    job.wait();
    place_ += n;
    lines_ = LineMaker(place_);
}

std::string export_name(const char* label, const char* kind, const char* suffix) {
    return jux_format("___%s_%s%s", label ? label : "", kind, suffix);
}

// Opens the files; when one cannot be created (make_fl has said so), closes those already open
// and returns false.
template <std::size_t N>
bool open_all(ExportFile (&files)[N], const std::string (&names)[N]) {
    for (std::size_t k = 0; k < N; ++k) {
        files[k].name = names[k];
        files[k].f = make_fl({}, names[k]);
        if (files[k].f) continue;
        for (std::size_t m = 0; m < k; ++m) closefile(files[m].f, names[m]);
        return false;
    }
    return true;
}

// Separator groups into a whole-list file and into the sentence-end or the other file. Names are
// NUL-terminated in the index's name pool.
void write_separators(TokenIndex& gaps, ExportFile& all, ExportFile& sentence, ExportFile& other) {
    for (const GRecord* g = gaps.floor(); g < gaps.end(); ++g) {
        fetch_name_ahead(g, gaps.end());
        all.group(*g, true);
        (IsEndOfSentence(g->name.data()) ? sentence : other).group(*g, true);
    }
}

// Counts the gaps or the texts of the records [first, nd) through put(tokens), a block of records
// at a time (the index fetches ahead within a block).
template <class Put>
void count_records(const SenToken* first, const SenToken* nd, const char* SenToken::*field, Put put) {
    constexpr std::size_t kBlock = 256;
    std::string_view block[kBlock];
    while (first < nd) {
        const std::size_t n = std::min<std::size_t>(kBlock, static_cast<std::size_t>(nd - first));
        for (std::size_t k = 0; k < n; ++k) block[k] = first[k].*field;
        put(std::span<const std::string_view>(block, n));
        first += n;
    }
}

// From this many records the separators are counted on a helper thread while the tokens are counted.
constexpr std::ptrdiff_t kGapsApartFrom = 1 << 16;

void write_tokens(int v, ExportFile& out) { out.groups(g_floor4[v], g_nd4[v], false); }

// ---- Repeated passages -----------------------------------------------------------------------------

// Case-insensitive equality of the record texts: equal texts get the same number; an empty text
// gets a number of its own, so that it equals nothing.
std::vector<std::uint32_t> token_numbers(const SenToken* first, std::size_t n, std::uint32_t& sigma) {
    struct Hash {
        std::size_t operator()(std::string_view s) const {
            std::size_t h = 1469598103934665603ull;
            for (char c : s) h = (h ^ cp_tolower(static_cast<unsigned char>(c))) * 1099511628211ull;
            return h;
        }
    };
    struct Equal {
        bool operator()(std::string_view a, std::string_view b) const {
            return a.size() == b.size() && cp_strcasecmp(a, b) == 0;
        }
    };
    std::unordered_map<std::string_view, std::uint32_t, Hash, Equal> numbers;
    std::vector<std::uint32_t> ids(n);
    std::uint32_t next = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::string_view t(first[k].text ? first[k].text : "");
        if (t.empty()) {
            ids[k] = next++;
            continue;
        }
        auto [it, added] = numbers.try_emplace(t, next);
        if (added) ++next;
        ids[k] = it->second;
    }
    sigma = next;
    return ids;
}

// Suffix array of s by prefix doubling with counting sorts (n log n; rounds stop as soon as every
// suffix has its own rank). rank receives the inverse.
void suffix_array(const std::vector<std::uint32_t>& s, std::uint32_t sigma, std::vector<std::uint32_t>& sa,
                  std::vector<std::uint32_t>& rank) {
    const std::size_t n = s.size();
    sa.assign(n, 0);
    rank.assign(n, 0);
    if (n == 0) return;
    std::vector<std::uint32_t> tmp(n);
    std::vector<std::uint32_t> cnt(std::max<std::size_t>(sigma, n) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) ++cnt[s[i]];
    for (std::size_t c = 1; c < cnt.size(); ++c) cnt[c] += cnt[c - 1];
    for (std::size_t i = n; i-- > 0;) sa[--cnt[s[i]]] = static_cast<std::uint32_t>(i);
    std::uint32_t classes = 1;
    rank[sa[0]] = 0;
    for (std::size_t r = 1; r < n; ++r) {
        if (s[sa[r]] != s[sa[r - 1]]) ++classes;
        rank[sa[r]] = classes - 1;
    }
    for (std::size_t k = 1; classes < n; k <<= 1) {
        // Order by the second half: suffixes without one first, then by the rank of the second half.
        std::size_t p = 0;
        for (std::size_t i = n - std::min(k, n); i < n; ++i) tmp[p++] = static_cast<std::uint32_t>(i);
        for (std::size_t r = 0; r < n; ++r)
            if (sa[r] >= k) tmp[p++] = static_cast<std::uint32_t>(sa[r] - k);
        // Stable counting sort by the first half.
        std::fill(cnt.begin(), cnt.begin() + classes + 1, 0);
        for (std::size_t i = 0; i < n; ++i) ++cnt[rank[i]];
        for (std::size_t c = 1; c <= classes; ++c) cnt[c] += cnt[c - 1];
        for (std::size_t q = n; q-- > 0;) sa[--cnt[rank[tmp[q]]]] = tmp[q];
        // New ranks.
        auto second = [&](std::uint32_t i) -> std::int64_t { return i + k < n ? rank[i + k] : -1; };
        tmp[sa[0]] = 0;
        classes = 1;
        for (std::size_t r = 1; r < n; ++r) {
            const std::uint32_t a = sa[r - 1], b = sa[r];
            if (rank[a] != rank[b] || second(a) != second(b)) ++classes;
            tmp[b] = classes - 1;
        }
        rank.swap(tmp);
    }
}

// Longest common prefixes of neighbouring suffixes: lcp[r] between sa[r - 1] and sa[r], lcp[0] = 0.
std::vector<std::uint32_t> lcp_array(const std::vector<std::uint32_t>& s, const std::vector<std::uint32_t>& sa,
                                     const std::vector<std::uint32_t>& rank) {
    const std::size_t n = s.size();
    std::vector<std::uint32_t> lcp(n, 0);
    std::size_t h = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (rank[i] == 0) {
            h = 0;
            continue;
        }
        const std::size_t j = sa[rank[i] - 1];
        while (i + h < n && j + h < n && s[i + h] == s[j + h]) ++h;
        lcp[rank[i]] = static_cast<std::uint32_t>(h);
        if (h > 0) --h;
    }
    return lcp;
}

// A segment tree over n values (minimum or maximum); the leaves past n hold `pad`.
class SegmentTree {
public:
    SegmentTree() = default;
    SegmentTree(const std::vector<std::uint32_t>& v, bool is_min) : min_(is_min) {
        while (size_ < v.size()) size_ <<= 1;
        t_.assign(2 * size_, 0);
        std::copy(v.begin(), v.end(), t_.begin() + static_cast<std::ptrdiff_t>(size_));
        for (std::size_t x = size_ - 1; x >= 1; --x) t_[x] = pick(t_[2 * x], t_[2 * x + 1]);
    }
    // The minimum or maximum over [l, r] (l <= r < n).
    std::uint32_t range(std::size_t l, std::size_t r) const {
        std::uint32_t res = min_ ? UINT32_MAX : 0;
        for (l += size_, r += size_ + 1; l < r; l >>= 1, r >>= 1) {
            if (l & 1) res = pick(res, t_[l++]);
            if (r & 1) res = pick(res, t_[--r]);
        }
        return res;
    }
    // Minimum trees: the largest x <= r whose value is below t (none: SIZE_MAX).
    std::size_t last_below(std::size_t r, std::uint32_t t) const { return last_below(1, 0, size_ - 1, r, t); }
    // Minimum trees: the smallest x >= l whose value is below t (the padding counts; none: size).
    std::size_t first_below(std::size_t l, std::uint32_t t) const {
        return l >= size_ ? size_ : first_below(1, 0, size_ - 1, l, t);
    }

private:
    std::uint32_t pick(std::uint32_t a, std::uint32_t b) const { return min_ ? std::min(a, b) : std::max(a, b); }
    std::size_t last_below(std::size_t x, std::size_t lo, std::size_t hi, std::size_t r, std::uint32_t t) const {
        if (lo > r || t_[x] >= t) return SIZE_MAX;
        if (lo == hi) return lo;
        const std::size_t mid = (lo + hi) / 2;
        const std::size_t right = last_below(2 * x + 1, mid + 1, hi, r, t);
        return right != SIZE_MAX ? right : last_below(2 * x, lo, mid, r, t);
    }
    std::size_t first_below(std::size_t x, std::size_t lo, std::size_t hi, std::size_t l, std::uint32_t t) const {
        if (hi < l || t_[x] >= t) return size_;
        if (lo == hi) return lo;
        const std::size_t mid = (lo + hi) / 2;
        const std::size_t left = first_below(2 * x, lo, mid, l, t);
        return left != size_ ? left : first_below(2 * x + 1, mid + 1, hi, l, t);
    }

    bool min_ = true;
    std::size_t size_ = 1;
    std::vector<std::uint32_t> t_;
};

// The index of one search: the suffix array of the token numbers (for the longest later repeat of
// a passage) and, when repeats are extended backwards, that of the reversed sequence (for the
// number of equal records before two positions).
class RepeatIndex {
public:
    RepeatIndex(const SenToken* first, std::size_t n, bool backwards) : n_(n) {
        std::uint32_t sigma = 0;
        std::vector<std::uint32_t> ids = token_numbers(first, n, sigma);
        std::vector<std::uint32_t> sa;
        suffix_array(ids, sigma, sa, rank_);
        lcp_ = SegmentTree(lcp_array(ids, sa, rank_), true);
        pos_ = SegmentTree(sa, false);
        if (!backwards) return;
        std::reverse(ids.begin(), ids.end());
        suffix_array(ids, sigma, sa, rank_rev_);
        lcp_rev_ = SegmentTree(lcp_array(ids, sa, rank_rev_), true);
    }

    // The longest repeat of the passage at i: L = max over later j of the number of equal pairs
    // (i + k, j + k) counted up to the pair whose first record reaches j, and the latest j that
    // gives it. {1, i} when no later record equals record i.
    std::pair<std::size_t, std::size_t> longest(std::size_t i) const {
        const std::size_t r = rank_[i];
        // The latest start among the suffixes sharing at least t records with suffix i.
        auto latest = [&](std::uint32_t t) -> std::size_t {
            const std::size_t l = lcp_.last_below(r, t);  // lcp[0] = 0 bounds it
            const std::size_t x = std::min(lcp_.first_below(r + 1, t), n_);
            return pos_.range(l, x - 1);
        };
        auto holds = [&](std::uint32_t t) { return latest(t) >= i + std::max<std::size_t>(1, t - 1); };
        if (!holds(1)) return {1, i};
        std::size_t lo = 1, hi = n_ - i;
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo + 1) / 2;
            if (holds(static_cast<std::uint32_t>(mid))) lo = mid;
            else hi = mid - 1;
        }
        return {lo, latest(static_cast<std::uint32_t>(lo))};
    }

    // Equal records just before i and just before j (i < j), at most i.
    std::size_t equal_before(std::size_t i, std::size_t j) const {
        if (i == 0) return 0;
        const std::size_t a = rank_rev_[n_ - i], b = rank_rev_[n_ - j];
        const std::size_t e = lcp_rev_.range(std::min(a, b) + 1, std::max(a, b));
        return std::min(e, i);
    }

private:
    std::size_t n_;
    std::vector<std::uint32_t> rank_;
    SegmentTree lcp_;
    SegmentTree pos_;
    std::vector<std::uint32_t> rank_rev_;
    SegmentTree lcp_rev_;
};

// The search: every examined start's longest repeat, extended backwards, reported through found()
// unless its run ends where the previous one considered did.
template <class Found>
void search_repeats(const SenToken* first, const SenToken* nd, int check_each, int longer_than, Found found) {
    const std::size_t n = first && nd > first ? static_cast<std::size_t>(nd - first) : 0;
    if (n < 2) return;  // one record has no later record to repeat it
    const std::size_t step = static_cast<std::size_t>(std::max(check_each, 1));
    const RepeatIndex index(first, n, step >= 2);
    std::size_t last = 0;
    for (std::size_t i = 0; i < n; i += step) {
        auto [len, j] = index.longest(i);
        std::size_t a = i, b = j;
        if (step >= 2 && i != 0 && j != i) {
            const std::size_t e = index.equal_before(i, j);
            a -= e;
            b -= e;
            len += e;
        }
        const std::size_t end = a + len - 1;
        if (end == last) continue;
        if (static_cast<long long>(len) > longer_than) found(RepeatedPassage{a, b, len, a == last + 2});
        last = end;
    }
}

std::string cut(std::string s, std::size_t room) {
    if (s.size() > room) s.resize(room);
    return s;
}

// The first record's text, then gap and text of each further record of [from, to).
std::string context(const SenToken* first, std::size_t from, std::size_t to) {
    std::string s;
    for (std::size_t k = from; k < to; ++k) {
        if (k != from) s += first[k].gap;
        s += first[k].text;
        if (s.size() > REPEATED_ENTRY_ROOM) break;
    }
    return cut(std::move(s), REPEATED_ENTRY_ROOM);
}

// ---- One report at a time -----------------------------------------------------------------------

// The search pumps messages after each entry it shows, so another run (the checker's, or the
// Bulgarian-text window's) may ask for a report while one is being made. Both write the same
// "_REPEATED" file: such a request waits and is served after the current report is closed.
struct PendingReport {
    const RecordArray* store;  // the token store asked for (read afresh when served), or null
    const SenToken* first;     // the records given, when they belong to no token store
    const SenToken* nd;
};
bool g_reporting = false;                     // a report is being made
std::vector<PendingReport> g_pending_reports;  // requests that arrived meanwhile, one per store

// Store R comes first: while it shares store 1's records both begin at the same record, and the
// report is the checker's (store 1 may be refilled before a postponed report is served, and the
// records then stay with store R).
const RecordArray* store_of(const SenToken* first) {
    for (const RecordArray* a : {&storeR.rec, &store2.rec, &store1.rec, &store1S})
        if (first && first == a->floor) return a;
    return nullptr;
}

std::string make_repeated_report(const SenToken* first, const SenToken* nd);

}  // namespace

struct TokenExports {
    const SenToken* first = nullptr;
    const SenToken* nd = nullptr;
    int v = 2;
    ExportFile space[6];
    ExportFile tokens[4];
    bool tokens_open = false;
};

namespace {
constexpr const char* kTokenKinds[] = {"TOKENS_ALPHA_UNGROUPED_INSENCS", "TOKENS_ALPHA_UNGROUPED_SENS",
                                       "TOKENS_NUM_GROUPED", "TOKENS_ALPHA_GROUPED_INSENCS"};
}  // namespace

void TokenExportsDeleter::operator()(TokenExports* e) const { delete e; }

TokenExportsPtr open_token_exports(const SenToken* first, const SenToken* nd, const char* label) {
    TokenExportsPtr e(new TokenExports);
    e->v = first && first == sen_floor2 ? 1 : 2;
    if (!first || nd < first) nd = first;
    e->first = first;
    e->nd = nd;

    static const char* const kSpaceKinds[] = {"SPACE_NUM", "SPACE_ALPHA"};
    static const char* const kSuffixes[] = {".txt", "_SENTENCE.txt", "_NO_SENTENCE.txt"};
    std::string space_names[6];
    for (int k = 0; k < 2; ++k)
        for (int s = 0; s < 3; ++s) space_names[3 * k + s] = export_name(label, kSpaceKinds[k], kSuffixes[s]);
    if (!open_all(e->space, space_names)) return nullptr;
    std::string token_names[4];
    for (int k = 0; k < 4; ++k) token_names[k] = export_name(label, kTokenKinds[k], ".txt");
    e->tokens_open = open_all(e->tokens, token_names);
    return e;
}

void write_token_exports(TokenExports& e) {
    const SenToken* const first = e.first;
    const SenToken* const nd = e.nd;
    const int v = e.v;
    // The separators go into an index of their own, counted on a helper thread (which touches only
    // the records and that index) while the tokens are counted here. The options and the locale's
    // folding are read here, when it is reset.
    TokenIndex gaps(GMAKE4_FIRST_ROOM);
    gaps.reset();
    auto count_gaps = [&gaps, first, nd] {
        count_records(first, nd, &SenToken::gap, [&gaps](std::span<const std::string_view> t) { gaps.put_all(t); });
        gaps.finish(true, false);
    };
    HelperJob gap_job;
    if (helper_threads() > 0 && nd - first >= kGapsApartFrom && e.tokens_open) {
        gap_job = HelperJob(1, [&count_gaps](std::size_t) {
            struct Throws {  // exhausted memory is reported by this thread, after the wait below
                Throws() { gmake_exhaustion_throws(true); }
                ~Throws() { gmake_exhaustion_throws(false); }
            } throws;
            count_gaps();
        });
    } else {
        count_gaps();
    }
    if (e.tokens_open) {
        ResetGmake4(v);
        ReserveGmake4(v, static_cast<std::size_t>(nd - first));  // each record may hold a spelling of its own
        count_records(first, nd, &SenToken::text, [v](std::span<const std::string_view> t) { PutAllInG4(v, t); });
    }
    try {
        gap_job.wait();
    } catch (const std::bad_alloc&) {
        mallocexit();
    }
    write_separators(gaps, e.space[0], e.space[1], e.space[2]);
    gaps.sort_by_name(true);
    write_separators(gaps, e.space[3], e.space[4], e.space[5]);
    for (ExportFile& f : e.space) f.close(f.name);
    if (!e.tokens_open) return;

    // Tokens: counted once, each spelling apart and then with case variants merged.
    FinishGmakeAlpha4(v);
    write_tokens(v, e.tokens[0]);
    SortGmake4ByName(v, false);
    write_tokens(v, e.tokens[1]);
    FinishGmakeCase4(v);
    write_tokens(v, e.tokens[2]);
    SortGmake4ByName(v, true);
    write_tokens(v, e.tokens[3]);
    for (int k = 0; k < 4; ++k) e.tokens[k].close(kTokenKinds[k]);
    // Nothing reads the index after the files are written: its memory goes to the later phases.
    ReleaseGmake4(v);
}

void export_sorted_tokens_and_spaces(const SenToken* first, const SenToken* nd, const char* label) {
    if (TokenExportsPtr e = open_token_exports(first, nd, label)) write_token_exports(*e);
}

std::vector<RepeatedPassage> find_repeated_passages(const SenToken* first, const SenToken* nd, int check_each,
                                                    int longer_than) {
    std::vector<RepeatedPassage> out;
    search_repeats(first, nd, check_each, longer_than, [&](const RepeatedPassage& p) { out.push_back(p); });
    return out;
}

std::string repeated_passage_entry(const SenToken* first, const SenToken* nd, const RepeatedPassage& p) {
    const std::size_t n = static_cast<std::size_t>(nd - first);
    const std::size_t a_end = p.first + p.length - 1;
    const std::size_t b_end = p.second + p.length - 1;
    auto last_char = [&](std::size_t k) { return first[k].pos + static_cast<int>(std::strlen(first[k].text)) - 1; };
    const std::string head = context(first, p.first, std::min(p.first + 5, n));
    const std::string tail = p.first + p.length >= 5 ? context(first, p.first + p.length - 5, std::min(a_end + 1, n))
                                                     : std::string();
    std::string e = jux_format("%sct:%d, word: %d to %d -- %d to %d (char: %d to %d -- %d to %d)\r\n... %s ... %s\r\n",
                               p.adjacent ? "+" : "", static_cast<int>(p.length), static_cast<int>(p.first),
                               static_cast<int>(a_end), static_cast<int>(p.second), static_cast<int>(b_end),
                               first[p.first].pos, last_char(a_end), first[p.second].pos, last_char(b_end),
                               head.c_str(), tail.c_str());
    return cut(std::move(e), REPEATED_ENTRY_ROOM);
}

std::string with_timing_note(std::string line, const std::string& note) {
    if (!line.empty() && !note.empty()) line += "  ";
    return line + note;
}

std::string export_duplicate_strings(const SenToken* first, const SenToken* nd) {
    if (g_reporting) {
        const PendingReport p{store_of(first), first, nd};
        for (PendingReport& q : g_pending_reports)
            if (p.store ? q.store == p.store : (!q.store && q.first == p.first)) {
                q = p;
                return {};
            }
        g_pending_reports.push_back(p);
        return {};
    }
    struct Reporting {
        Reporting() { g_reporting = true; }
        ~Reporting() {
            g_reporting = false;
            g_pending_reports.clear();
        }
    } reporting;
    std::string note = make_repeated_report(first, nd);
    while (!g_pending_reports.empty()) {
        const PendingReport p = g_pending_reports.front();
        g_pending_reports.erase(g_pending_reports.begin());
        if (p.store) note = make_repeated_report(p.store->floor, p.store->nd);
        else note = make_repeated_report(p.first, p.nd);
    }
    return note;
}

namespace {

std::string make_repeated_report(const SenToken* first, const SenToken* nd) {
    phase_start = jux_mdate();
    const std::int64_t started = phase_start;
    const std::size_t n = first && nd > first ? static_cast<std::size_t>(nd - first) : 0;

    // A report that cannot be created is told as every generated file is; the search still runs.
    FILE* report = n > 1 ? open_generated_file("_REPEATED") : nullptr;
    search_repeats(first, nd, gl_REPEATED_CHECK_EACH, gl_REPEATED_LONGER_THAN, [&](const RepeatedPassage& p) {
        const std::string entry = repeated_passage_entry(first, nd, p);
        OutputCyr(entry, 0, report);
        if (IsWindow(hBig) && p.length >= 6) {
            JuxShowMessage(hBigReBot, entry, 0);
            unfreeze();
        }
    });
    if (report) closefile(report, "");  // a failure is logged with the report's own path

    const std::int64_t ms = (jux_mdate() - started) / 1000;
    return jux_format("phase time: %i:%02i:%02i:%03lld", static_cast<int>(ms / 3'600'000),
                      static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60),
                      static_cast<long long>(ms % 1000));
}

}  // namespace
