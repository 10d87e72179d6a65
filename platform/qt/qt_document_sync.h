// Brings a rich-edit panel's QTextDocument up to date with the core's RichText.
//
// What it keeps true: the document shows the model's text, one paragraph separator per '\r', and
// every character's format, but for the paragraph ends that show nothing (an end followed by
// text draws no glyph; an end before an empty paragraph or at the end shows only its font).
// document_shows_model() tells whether that holds; every build with asserts checks it after
// every sync.
//
// A sync compares the document with the model and sets again only what differs: each separate
// changed stretch of text (found by lines, then by characters inside the changed lines) and each
// stretch of kept text whose format changed. A re-check that writes a long report anew with two
// changes thousands of lines apart sets those two changes, not all the lines between them; one
// that renumbers a long list sets the digits that changed.
#pragma once

#include <QMetaObject>
#include <QString>
#include <QTextCharFormat>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richtext.h"

class QTextDocument;
class QTextEdit;

// The model's text as the document holds it: one paragraph separator per '\r'; the two characters
// QTextDocument reserves for frames are shown as replacement characters (still one unit each).
QString to_doc(std::u16string_view s);

// The document's formats of the model's formats. A text has few distinct formats: one
// QTextCharFormat each is made once, and the document stores and compares the same one faster
// than a new one per run.
class QFormats {
public:
    QTextCharFormat of(const CharFormat& f);

private:
    static constexpr std::size_t kMost = 64;
    std::vector<std::pair<CharFormat, QTextCharFormat>> made_;
};

// A stretch of text that differs: [a_from, a_to) of one text stands where [b_from, b_to) of the
// other does (offsets into the texts compared).
struct ChangedStretch {
    std::size_t a_from, a_to, b_from, b_to;
    friend bool operator==(const ChangedStretch&, const ChangedStretch&) = default;
};

// The stretches in which `a` and `b` differ, in order, none overlapping: the lines ('\r'-ended)
// that differ, matched by a diff of the lines that gives up beyond `most_edits` inserted or
// removed lines (the whole of both is then one stretch), each cut to the characters that differ.
// Lines are matched by their text after the digits they start with: the entries of a numbered
// list that a new entry renumbers are matched lines, cut to the digits that differ.
// Linear in the texts' length (times most_edits at worst).
std::vector<ChangedStretch> changed_stretches(std::u16string_view a, std::u16string_view b, int most_edits = 64);

// The steps of a sync, each keeping one part of what the document must show:
//   1. text_changes: which stretches of the document's text differ from the model's (the text);
//   2. kept_stretches: where the text the first step keeps stands in the model (positions);
//   3. the kept text's formats compared with the model's: fixes, never across a change of text,
//      and paragraph ends left as the document holds them where they show nothing (the formats);
//   4. the changes and fixes put into the document in the order of their positions;
//   5. the copy of a long document takes what the document now holds, the formats of the ends
//      left included (the copy never believes the document holds what it does not).

// Step 1: the model's text and the document's (in the form compared: one '\r' per paragraph end)
// have `head` units in common at the start and `tail` at the end; between them each of
// `stretches` (offsets from the end of the head) differs.
struct TextChanges {
    std::size_t head = 0, tail = 0;
    std::vector<ChangedStretch> stretches;
};
TextChanges text_changes(std::u16string_view model, std::u16string_view doc);

// Step 2: the document's [doc_from, doc_to), kept as it is, stands at model position
// doc_from + shift. Of the document's [from, from + doc length) compared with the model's
// [from, to) by `changes`, in order; none empty.
struct KeptStretch {
    LONG doc_from, doc_to, shift;
    friend bool operator==(const KeptStretch&, const KeptStretch&) = default;
};
std::vector<KeptStretch> kept_stretches(const TextChanges& changes, LONG from, LONG doc_to, LONG to);

// Whether `doc` shows the model's [from, to) (the whole document and model when to < 0): the same
// length, text and the format of every character that shows. `difference` tells the first one.
bool document_shows_model(const QTextDocument& doc, const RichText& rt, LONG from = 0, LONG to = -1,
                          std::string* difference = nullptr);

class DocumentSync {
public:
    // `shown` is called when the sync has put another document into the widget (see below): the
    // widget sets it up as its own (signals, layout).
    explicit DocumentSync(QTextEdit& edit, std::function<void()> shown = {});
    ~DocumentSync();
    DocumentSync(const DocumentSync&) = delete;
    DocumentSync& operator=(const DocumentSync&) = delete;

    // Makes the document's [from, doc_to) hold the model's [from, to): its text (when
    // `text_changed`) and formats, touching only what differs. `text_from`..`text_to` (model
    // positions), when given, hold every change of text: the text before and after it is known to
    // be the same in both.
    void sync(const RichText& rt, LONG from, LONG doc_to, LONG to, bool text_changed, LONG text_from = -1,
              LONG text_to = -1);

    // The user changed the document: [pos, pos + removed) became [pos, pos + added). The copy of
    // a long document follows (the new text's formats unknown until the next sync compares them).
    void user_edited(LONG pos, LONG removed, LONG added);

    // The program put a whole new text in the model: the next sync compares the model with the
    // document itself, not with the copy of it.
    void forget_copy() { distrust_copy_ = true; }

    // Where the copy of a long document differs from the document in [from, to), empty when it
    // does not (or no copy is kept): its text, and every format it names. Every build with asserts
    // checks it after every sync.
    std::string copy_difference(LONG from = 0, LONG to = -1) const;

    // In the copy: a format only the document knows (the user's typing gave it, or a paragraph end
    // that shows nothing kept it while the model's changed).
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;

    // Characters this object has set in its document (text inserted and formats set), since made.
    std::uint64_t characters_set() const { return characters_set_; }

    // The same over every panel of the process, with the time spent (benchmarks).
    struct Totals {
        std::uint64_t characters = 0;
        std::int64_t nanoseconds = 0;
    };
    static Totals totals();

private:
    struct Pass;
    // Whether shadow_text_ and shadow_spans_ hold what the document holds.
    bool copy_valid() const;
    void drop_copy();
    // The steps of sync() (see above): 1 and 2, 3, 4, 5.
    void find_text_changes(Pass& pass, LONG text_from, LONG text_to) const;
    void find_format_fixes(Pass& pass) const;
    void apply(Pass& pass);
    void remember(Pass& pass);
    // The copy's number of a format, added when new.
    std::uint32_t copy_number(const CharFormat& f);

    QTextEdit& edit_;
    QMetaObject::Connection changes_;
    std::uint64_t characters_set_ = 0;
    // A copy of what a long document holds, in the model's form (text and formats), made when
    // this object last brought the document up to date: a re-check that writes a long report
    // anew is compared with it instead of with the document's text and fragments. It counts only
    // while the document has not changed since (doc_changes_ counts every change).
    bool shadow_ = false;
    bool distrust_copy_ = false;
    std::u16string shadow_text_;
    std::vector<FormatSpan> shadow_spans_;  // numbers into shadow_formats_, or kUnknown
    std::vector<CharFormat> shadow_formats_;
    std::uint64_t doc_changes_ = 0, shadow_changes_ = 0;
    // A long document that a sync would have replaced almost whole (the report panel showing the
    // entry of the word at the caret in place of the report) is kept aside with its copy, and a new
    // document shown instead; a later sync whose model is close to the kept one (the report
    // written again) shows the kept document again and sets only what differs. Of two long
    // documents the one kept is the one whose text changed in place last (updated_).
    std::function<void()> shown_;
    QTextDocument* kept_doc_ = nullptr;
    std::u16string kept_text_;
    std::vector<FormatSpan> kept_spans_;
    std::vector<CharFormat> kept_formats_;
    // When the document shown (and the one kept) last took a change of its text in place (by the
    // count of such changes, updates_), 0 when not since it was last filled whole: the report takes
    // one with every key, an entry shown for a look-up none.
    std::uint64_t updates_ = 0, updated_ = 0, kept_updated_ = 0;
    // Shows `doc` in the widget in place of its document, whose copy and the kept one change places.
    void show_document(QTextDocument* doc);
    bool swap_documents(Pass& pass);
};
