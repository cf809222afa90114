// The shell's record of a document type, kept per user below Software\Classes.
#pragma once

#include <string>

// Files with extension ext (".txt") are documents of type id, named type_name, opened by this
// program with the file's name as its argument. An extension another program already opens stays
// with that program. Failures go unreported: a program works the same without the shell knowing.
void register_file_type(const std::string& ext, const std::string& id,
                        const std::string& type_name);
