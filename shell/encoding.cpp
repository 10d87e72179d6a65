#include "shell/encoding.h"

#include <algorithm>

#include "platform/text.h"

bool is_utf8_text(std::string_view bytes, bool* bom) {
    const bool has_bom = bytes.starts_with(UTF8_BOM);
    if (bom) *bom = has_bom;
    if (has_bom) return true;
    const bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return high && is_valid_utf8(bytes);
}

TextKind classify_text(std::string_view bytes) {
    if (bytes.starts_with(UTF8_BOM)) return TextKind::Utf8Bom;
    if (bytes.starts_with("{\\rtf")) return TextKind::Rtf;
    return is_utf8_text(bytes) ? TextKind::Utf8 : TextKind::Ansi;
}
