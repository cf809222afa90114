// The encodings texts come in (files, standard input, abbr.dat) and their conversion to and
// from the engine's UTF-8. The 8-bit code page here is Windows-1252, the shipped default; a
// program on another ANSI code page converts its 8-bit text itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class Text_encoding { ansi, utf8, utf8_bom, utf16le, utf16be };

// "cp1252", "utf-8", "utf-8-bom", "utf-16le", "utf-16be", as --encoding takes them.
const char* encoding_name(Text_encoding encoding);
bool parse_encoding(std::string_view name, Text_encoding& encoding);

// Decided over the whole text: a UTF-8 byte order mark; a UTF-16 LE or BE one; else UTF-8 when
// the text is valid UTF-8 and holds a byte of 0x80 or more; else the 8-bit code page.
Text_encoding detect_encoding(std::string_view bytes);
// The same for a caller that knows already whether bytes hold a byte of 0x80 or more.
Text_encoding detect_encoding(std::string_view bytes, bool high_bytes);

// Decodes bytes in encoding into UTF-8, the encoding's byte order mark at the start dropped.
// 8-bit: every byte is a character, the five bytes Windows-1252 leaves undefined becoming
// U+0081, U+008D, U+008F, U+0090 and U+009D as Windows makes them. False, with a sentence for
// a message in error, for bytes that do not decode: invalid UTF-8; UTF-16 of odd length or
// with an unpaired surrogate. utf8 must not be the storage of bytes.
bool decode_text(std::string_view bytes, Text_encoding encoding, std::string& utf8,
                 std::string& error);

// A character that an encoding cannot hold, and the line it is on (from 1; CR LF, LF and a
// lone CR each end a line).
struct Unencodable {
    char32_t code = 0;
    std::size_t line = 0;
};
// "U+03A9 \"Ω\"" (the character itself left out where it would not show), or "byte 0xE9"
// for a byte that is not UTF-8.
std::string describe_character(char32_t code);

// Encodes UTF-8 text in encoding, with its byte order mark (UTF-16 always has one). False
// when the encoding cannot hold a character of the text (for every encoding, a byte that is
// not UTF-8): the first such, with its line, is in bad and out holds nothing.
bool encode_text(std::string_view utf8, Text_encoding encoding, std::string& out,
                 Unencodable& bad);

// What starts a text of encoding: its byte order mark, or nothing.
std::string_view byte_order_mark(Text_encoding encoding);

// encode_text in parts, for a text too long to hold twice. find_unencodable: true with the first
// character of utf8 that encoding cannot hold in code and its byte offset in at. encode_part
// encodes the whole characters of utf8 that fit in room bytes at out (any one fits in four),
// which must all be ones the encoding holds, without a byte order mark; returns the bytes of
// utf8 it took, with the bytes written in written.
bool find_unencodable(std::string_view utf8, Text_encoding encoding, char32_t& code,
                      std::size_t& at);
std::size_t encode_part(std::string_view utf8, Text_encoding encoding, char* out,
                        std::size_t room, std::size_t& written);

// The Windows program's boundary: UTF-16 (its wchar_t text) to UTF-8 and back. A lone
// surrogate, which an edit control may hold, travels as its three-byte form and comes back
// unchanged; the engine sees three bytes that are not UTF-8 and keeps them together.
std::string utf16_to_utf8(std::u16string_view text);
std::u16string utf8_to_utf16(std::string_view text);
