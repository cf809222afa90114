#include "engine/characters.h"

#include <cstring>

#include "engine/unicode.h"

namespace {

// The plain form of code, or nullptr where it stays. Guillemets, primes, the ideographic space,
// the joiners and the direction marks always stay: they carry meaning or layout.
const char* plain_form(char32_t code, const Character_options& o)
{
    switch (code) {
    case 0x00A0: return o.plain_spaces ? " " : nullptr;
    case 0x00AD: return o.remove_invisible ? "" : nullptr;
    case 0x200B:
    case 0x2060:
    case 0xFEFF: return o.remove_invisible ? "" : nullptr;
    case 0x202F:
    case 0x205F: return o.plain_spaces ? " " : nullptr;
    case 0x2014:
    case 0x2015: return o.plain_dashes ? "--" : nullptr;
    case 0x2212: return o.plain_dashes ? "-" : nullptr;
    case 0x2026: return o.plain_ellipsis ? "..." : nullptr;
    default: break;
    }
    if (code >= 0x2000 && code <= 0x200A) return o.plain_spaces ? " " : nullptr;
    if (code >= 0x2010 && code <= 0x2013) return o.plain_dashes ? "-" : nullptr;
    if (code >= 0x2018 && code <= 0x201B) return o.straight_quotes ? "'" : nullptr;
    if (code >= 0x201C && code <= 0x201F) return o.straight_quotes ? "\"" : nullptr;
    return nullptr;
}

// The lead bytes of every character above in UTF-8: C2 (U+00A0, U+00AD), E2 (U+2000 to
// U+2212) and EF (U+FEFF). Other bytes are copied without decoding.
bool may_lead(unsigned char b) { return b == 0xC2 || b == 0xE2 || b == 0xEF; }

}  // namespace

void make_characters_plain(Line_list& lines, const Character_options& options)
{
    if (!options.any()) return;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const Line_view line = lines[l];
        if (!has_high_byte(line)) continue;
        // Written behind the reading position: w never passes r, as no plain form is longer
        // than its character, and a line without a change is never written.
        char* bytes = lines.bytes(l);
        const std::size_t n = line.size();
        std::size_t r = 0, w = 0;
        while (r < n) {
            std::size_t size = 1;
            const char* plain = nullptr;
            if (may_lead(static_cast<unsigned char>(bytes[r]))) {
                const Decoded d = decode_utf8(bytes + r, n - r);
                size = d.size;
                plain = plain_form(d.code, options);
            }
            if (plain) {
                const std::size_t length = std::strlen(plain);
                std::memcpy(bytes + w, plain, length);
                w += length;
            } else {
                if (w != r) std::memmove(bytes + w, bytes + r, size);
                w += size;
            }
            r += size;
        }
        if (w != n) lines.truncate(l, w);
    }
}
