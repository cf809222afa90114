// Plain 8-bit text files, read and written byte for byte; paths are UTF-8. Writing never leaves a half-written
// file behind: the text goes to a temporary file beside the target, which then replaces it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

enum class Read_status { ok, failed, too_large, has_nul };

// Reads the whole file into text. A file over limit bytes, or holding a NUL byte (which the
// editor would cut the text at), is not read; failed leaves the system's code in error.
Read_status read_text_file(const std::string& path, std::size_t limit, std::string& text,
                           DWORD& error);

// Replaces path's content with text. On failure path is as it was, no temporary file remains,
// and error holds the system's code.
bool write_text_file(const std::string& path, const std::string& text, DWORD& error);

// The file name part of a path ("C:\a\b.txt" gives "b.txt").
std::string file_name_of(const std::string& path);
// The directory part, without the trailing backslash; "." when there is none.
std::string directory_of(const std::string& path);
