#include "shell/encoding.h"

#include <algorithm>

#include "platform/text.h"

bool is_utf8_text(std::string_view bytes, bool* bom) {
    // A byte-order mark before bytes that are not UTF-8 is three letters of an 8-bit text ("п»ї").
    const bool has_bom = bytes.starts_with(UTF8_BOM) && is_valid_utf8(bytes.substr(UTF8_BOM.size()));
    if (bom) *bom = has_bom;
    if (has_bom) return true;
    const bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return high && is_valid_utf8(bytes);
}

TextKind classify_text(std::string_view bytes) {
    bool bom = false;
    const bool utf8 = is_utf8_text(bytes, &bom);
    if (bom) return TextKind::Utf8Bom;
    if (bytes.starts_with("{\\rtf")) return TextKind::Rtf;
    return utf8 ? TextKind::Utf8 : TextKind::Ansi;
}
