// Plain text files in the encoding they were found in (the text itself is UTF-8 here); paths
// are UTF-8. Writing never leaves a half-written file behind: the text goes to a temporary file
// beside the target, which then replaces it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "engine/text_encoding.h"

enum class Read_status { ok, failed, too_large, has_nul, bad_encoding };

// Reads the whole file into text as UTF-8, with the encoding detected over all of it. A file
// of more than limit UTF-16 units (the editor's measure), one holding a NUL character (which
// the editor would cut the text at), or one whose byte order mark promises what its bytes do
// not keep (problem: a sentence saying so) is not read; failed leaves the system's code in
// error.
Read_status read_text_file(const std::string& path, std::size_t limit, std::string& text,
                           Text_encoding& encoding, DWORD& error, std::string& problem);

// The decoding part of the above, for other readers of files (abbr.dat).
bool decode_file_text(const std::string& bytes, Text_encoding encoding, std::string& text,
                      std::string& problem);
// UTF-8 text in encoding; false (with the first character it cannot hold) when it cannot.
bool encode_file_text(const std::string& text, Text_encoding encoding, std::string& bytes,
                      Unencodable& bad);
// What the status bar shows for an encoding ("ANSI", "UTF-8", "UTF-16 LE").
std::string encoding_label(Text_encoding encoding);

// Replaces path's content with bytes. On failure path is as it was, no temporary file remains,
// and error holds the system's code.
bool write_text_file(const std::string& path, const std::string& bytes, DWORD& error);

// The file name part of a path ("C:\a\b.txt" gives "b.txt").
std::string file_name_of(const std::string& path);
// The directory part, without the trailing backslash; "." when there is none.
std::string directory_of(const std::string& path);
