#include "engine/abbreviations.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "engine/chars.h"

void Abbreviations::insert(std::string word)
{
    if (word.empty()) return;
    longest_ = std::max(longest_, word.size());
    first_bytes_.set(static_cast<unsigned char>(word[0]));
    words_.insert(std::move(word));
}

void Abbreviations::clear()
{
    words_.clear();
    longest_ = 0;
    first_bytes_.reset();
}

Abbreviations parse_abbreviations(std::string_view content)
{
    Abbreviations list;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && is_whitespace(line.front())) line.remove_prefix(1);
        while (!line.empty() && is_whitespace(line.back())) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        std::string entry(line);
        console_trace("Added abbr: %s\n", entry.c_str());
        list.insert(std::move(entry));
    }
    return list;
}
