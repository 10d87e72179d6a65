// engine/proofreading/novel_checks.h - the two checks of long prose texts (novel mode): the
// paragraph statistics, which also report a line break at the very end of the text, and the
// paragraphs whose brackets, quotation marks or underscores do not pair up. Novel texts may carry
// layout tags on lines of their own ("P>" opens a tag, "P$" closes it); the pair check follows the
// tags L, P and I. Both write only to the report panel.
#pragma once

// A pair of characters (code page 1251) that must balance in a paragraph, in the order checked:
// every pair outside tags, and the pairs of the lines under the tags L, P and I.
struct MarkPair {
    unsigned char open;
    unsigned char close;
};
namespace novel_lists {
inline constexpr MarkPair kNormalPairs[] = {{'{', '}'}, {'[', ']'}, {'(', ')'}, {171, 187} /* « » */,
                                            {132, 147} /* „ “ */, {'"', '"'}, {'_', '_'}};
inline constexpr MarkPair kTagPairs[] = {{'{', '}'}, {'[', ']'}, {'(', ')'}, {'_', '_'}};
}  // namespace novel_lists

struct ProofRun;
struct PassRow;

// Paragraph counts, the average words per paragraph and the beginning of the longest paragraph.
void paragraph_statistics(ProofRun& run, const PassRow& row);
// Paragraphs with unbalanced pairs.
void unbalanced_pairs(ProofRun& run, const PassRow& row);
