#include "engine/text_encoding.h"

#include <cstdint>
#include <cstring>

#include "engine/unicode.h"

namespace {

const char* const names[] = {"cp1252", "utf-8", "utf-8-bom", "utf-16le", "utf-16be"};

// Windows-1252's bytes 0x80 to 0x9F; the rest of its bytes are the code points of their values.
const char16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte for code, or -1.
int cp1252_byte(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
    for (int i = 0; i < 32; ++i)
        if (cp1252_high[i] == code) return 0x80 + i;
    return -1;
}

constexpr std::string_view utf8_bom = "\xEF\xBB\xBF";

bool starts_with(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// value in upper-case hexadecimal, at least width digits.
std::string hex(unsigned value, std::size_t width)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value & 15]);
        value >>= 4;
    } while (value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

// Lead surrogates travel as ED A0..AF xx, trail ones as ED B0..BF xx.
void append_surrogate(std::string& out, char16_t unit)
{
    out += '\xED';
    out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (unit & 0x3F));
}

bool decode_utf16(std::string_view bytes, bool big_endian, std::string& utf8, std::string& error,
                  bool had_bom)
{
    const std::string what = std::string(big_endian ? "UTF-16 BE" : "UTF-16 LE");
    const std::string lead = had_bom ? "it begins with a " + what + " byte order mark but " : "as " + what + " it ";
    if (bytes.size() % 2) {
        error = lead + "has an odd number of bytes";
        return false;
    }
    auto unit = [&](std::size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a);
    };
    // Sized first: a text of CJK takes half as much again in UTF-8, and a string grown to it
    // could take three times that.
    std::size_t size = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        size += u < 0x80 ? 1 : u < 0x800 ? 2 : u >= 0xD800 && u <= 0xDBFF ? 4 : 3;
        if (u >= 0xD800 && u <= 0xDBFF && i + 2 < bytes.size()) {
            const char16_t v = unit(i + 2);
            if (v >= 0xDC00 && v <= 0xDFFF) i += 2;
        }
    }
    utf8.clear();
    utf8.reserve(size);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u < 0xD800 || u > 0xDFFF) {
            append_utf8(utf8, u);
            continue;
        }
        if (u <= 0xDBFF && i + 2 < bytes.size()) {
            const char16_t v = unit(i + 2);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                append_utf8(utf8, 0x10000 + ((u - 0xD800u) << 10) + (v - 0xDC00u));
                i += 2;
                continue;
            }
        }
        error = lead + "holds an unpaired surrogate (0x" + hex(u, 4) + " at byte " + std::to_string(i) + ")";
        return false;
    }
    return true;
}

}  // namespace

const char* encoding_name(Text_encoding encoding) { return names[static_cast<int>(encoding)]; }

bool parse_encoding(std::string_view name, Text_encoding& encoding)
{
    for (int i = 0; i < 5; ++i)
        if (name == names[i]) {
            encoding = static_cast<Text_encoding>(i);
            return true;
        }
    return false;
}

Text_encoding detect_encoding(std::string_view bytes)
{
    return detect_encoding(bytes, has_high_byte(bytes));
}

Text_encoding detect_encoding(std::string_view bytes, bool high_bytes)
{
    if (starts_with(bytes, utf8_bom)) return Text_encoding::utf8_bom;
    if (starts_with(bytes, "\xFF\xFE")) return Text_encoding::utf16le;
    if (starts_with(bytes, "\xFE\xFF")) return Text_encoding::utf16be;
    if (high_bytes && is_valid_utf8(bytes)) return Text_encoding::utf8;
    return Text_encoding::ansi;
}

bool decode_text(std::string_view bytes, Text_encoding encoding, std::string& utf8,
                 std::string& error)
{
    switch (encoding) {
    case Text_encoding::ansi: {
        // Into a buffer of exactly the size it takes (a long text cannot afford room for the
        // worst case), ASCII eight bytes at a time: files of mostly ASCII are the common case.
        const char* s = bytes.data();
        const std::size_t n = bytes.size();
        std::size_t extra = 0;  // bytes beyond one for each byte
        auto add = [&](unsigned char b) {
            if (b >= 0x80) extra += b < 0xA0 && cp1252_high[b - 0x80] >= 0x800 ? 2 : 1;
        };
        constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t x;
            std::memcpy(&x, s + i, 8);
            if (!(x & highs)) continue;
            // Bytes 0x80 to 0x9F (the zero bytes of y) are looked at one by one; the others of
            // 0x80 and more take one byte more, counted at once.
            const std::uint64_t y = (x & 0xE0E0E0E0E0E0E0E0ull) ^ highs;
            if ((y - ones) & ~y & highs) {
                for (std::size_t k = 0; k < 8; ++k) add(static_cast<unsigned char>(s[i + k]));
            } else {
                extra += static_cast<std::size_t>((((x & highs) >> 7) * ones) >> 56);
            }
        }
        for (; i < n; ++i) add(static_cast<unsigned char>(s[i]));
        utf8.resize(n + extra);
        char* out = &utf8[0];
        for (std::size_t i = 0; i < n;) {
            std::uint64_t x;
            if (i + 8 <= n && (std::memcpy(&x, s + i, 8), !(x & 0x8080808080808080ull))) {
                std::memcpy(out, s + i, 8);
                out += 8;
                i += 8;
                continue;
            }
            const auto b = static_cast<unsigned char>(s[i++]);
            const char32_t code = b >= 0x80 && b < 0xA0 ? cp1252_high[b - 0x80] : b;
            if (code < 0x80) {
                *out++ = static_cast<char>(code);
            } else if (code < 0x800) {
                *out++ = static_cast<char>(0xC0 | (code >> 6));
                *out++ = static_cast<char>(0x80 | (code & 0x3F));
            } else {
                *out++ = static_cast<char>(0xE0 | (code >> 12));
                *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                *out++ = static_cast<char>(0x80 | (code & 0x3F));
            }
        }
        utf8.resize(static_cast<std::size_t>(out - utf8.data()));
        return true;
    }
    case Text_encoding::utf8:
    case Text_encoding::utf8_bom: {
        const bool had_bom = starts_with(bytes, utf8_bom);
        if (encoding == Text_encoding::utf8_bom && had_bom) bytes.remove_prefix(3);
        for (std::size_t i = 0; i < bytes.size();) {
            const Decoded d = decode_utf8(bytes.data() + i, bytes.size() - i);
            if (d.code >= invalid_byte) {
                const std::string lead = had_bom ? "it begins with a UTF-8 byte order mark but "
                                                 : "it ";
                const std::size_t at = i + (had_bom && encoding == Text_encoding::utf8_bom ? 3 : 0);
                error = lead + "is not valid UTF-8 (byte 0x" + hex(static_cast<unsigned char>(bytes[i]), 2) +
                        " at byte " + std::to_string(at) + ")";
                return false;
            }
            i += d.size;
        }
        utf8.assign(bytes.data(), bytes.size());
        return true;
    }
    case Text_encoding::utf16le:
    case Text_encoding::utf16be: {
        const bool big = encoding == Text_encoding::utf16be;
        const bool had_bom = starts_with(bytes, big ? "\xFE\xFF" : "\xFF\xFE");
        if (had_bom) bytes.remove_prefix(2);
        return decode_utf16(bytes, big, utf8, error, had_bom);
    }
    }
    return false;
}

std::string describe_character(char32_t code)
{
    if (code >= invalid_byte) return "byte 0x" + hex(static_cast<unsigned>(code - invalid_byte), 2);
    std::string out = "U+" + hex(static_cast<unsigned>(code), 4);
    const bool shows = code >= 0xA0 && char_width(code) > 0 && (code < 0xD800 || code > 0xDFFF);
    if (shows) {
        out += " \"";
        append_utf8(out, code);
        out += '"';
    }
    return out;
}

namespace {

std::size_t line_of(std::string_view text, std::size_t at)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < at; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

}  // namespace

bool find_unencodable(std::string_view utf8, Text_encoding encoding, char32_t& code,
                      std::size_t& at)
{
    const char* s = utf8.data();
    const std::size_t n = utf8.size();
    // Every encoding holds ASCII.
    for (std::size_t i = skip_ascii(utf8, 0); i < n; i = skip_ascii(utf8, i)) {
        const Decoded d = decode_utf8(s + i, n - i);
        if (d.code >= invalid_byte || (encoding == Text_encoding::ansi && cp1252_byte(d.code) < 0)) {
            code = d.code;
            at = i;
            return true;
        }
        i += d.size;
    }
    return false;
}

std::size_t encode_part(std::string_view utf8, Text_encoding encoding, char* out,
                        std::size_t room, std::size_t& written)
{
    const bool sixteen = encoding == Text_encoding::utf16le || encoding == Text_encoding::utf16be;
    const bool big_endian = encoding == Text_encoding::utf16be;
    char* o = out;
    char* const end = out + room;
    auto put16 = [&](char32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        *o++ = big_endian ? hi : lo;
        *o++ = big_endian ? lo : hi;
    };
    const char* s = utf8.data();
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        if (!sixteen) {
            // ASCII is the same in the 8-bit code page and UTF-8: copied a run at a time.
            const std::size_t fits = std::min(n, i + static_cast<std::size_t>(end - o));
            const std::size_t run = skip_ascii(utf8.substr(0, fits), i) - i;
            if (run) std::memcpy(o, s + i, run);
            o += run;
            i += run;
            if (i == fits) break;
        }
        const Decoded d = decode_utf8(s + i, n - i);
        const char32_t c = d.code;
        const std::size_t size = sixteen ? (c < 0x10000 ? 2 : 4)
                                 : encoding == Text_encoding::ansi ? 1 : d.size;
        if (static_cast<std::size_t>(end - o) < size) break;
        if (encoding == Text_encoding::ansi) {
            *o++ = static_cast<char>(cp1252_byte(c));
        } else if (!sixteen) {
            std::memcpy(o, s + i, d.size);
            o += d.size;
        } else if (c < 0x10000) {
            put16(c);
        } else {
            put16(0xD800 + ((c - 0x10000) >> 10));
            put16(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
        i += d.size;
    }
    written = static_cast<std::size_t>(o - out);
    return i;
}

std::string_view byte_order_mark(Text_encoding encoding)
{
    switch (encoding) {
    case Text_encoding::utf8_bom: return utf8_bom;
    case Text_encoding::utf16le: return "\xFF\xFE";
    case Text_encoding::utf16be: return "\xFE\xFF";
    default: return {};
    }
}

bool encode_text(std::string_view utf8, Text_encoding encoding, std::string& out,
                 Unencodable& bad)
{
    char32_t code;
    std::size_t at;
    if (find_unencodable(utf8, encoding, code, at)) {
        bad = {code, line_of(utf8, at)};
        out.clear();
        return false;
    }
    const bool sixteen = encoding == Text_encoding::utf16le || encoding == Text_encoding::utf16be;
    const std::string_view bom = byte_order_mark(encoding);
    // No character takes more room than it has bytes in UTF-8, nor twice that in UTF-16.
    out.resize(bom.size() + (sixteen ? 2 : 1) * utf8.size());
    if (!bom.empty()) std::memcpy(&out[0], bom.data(), bom.size());
    std::size_t written;
    encode_part(utf8, encoding, &out[0] + bom.size(), out.size() - bom.size(), written);
    out.resize(bom.size() + written);
    return true;
}

std::string utf16_to_utf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u < 0xD800 || u > 0xDFFF) {
            append_utf8(out, u);
        } else if (u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            append_utf8(out, 0x10000 + ((u - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        } else {
            append_surrogate(out, u);
        }
    }
    return out;
}

std::u16string utf8_to_utf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        if (d.code < 0x10000) {
            out += static_cast<char16_t>(d.code);
        } else if (d.code < invalid_byte) {
            out += static_cast<char16_t>(0xD800 + ((d.code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((d.code - 0x10000) & 0x3FF));
        } else if (b(0) == 0xED && i + 2 < text.size() && b(1) >= 0xA0 && b(1) <= 0xBF &&
                   (b(2) & 0xC0) == 0x80) {
            out += static_cast<char16_t>(0xD000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F));
            i += 3;
            continue;
        } else {
            // A byte that is not UTF-8 cannot come from UTF-16; it is kept as its 8-bit character.
            const unsigned char c = b(0);
            out += c >= 0x80 && c < 0xA0 ? cp1252_high[c - 0x80] : static_cast<char16_t>(c);
        }
        i += d.size;
    }
    return out;
}
