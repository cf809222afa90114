#include "engine/line_list.h"

#include "app/globals.h"

namespace {
void append_line(Line_list& lines, std::string& line)
{
    if (console_present()) console_trace("Line: '%s'\n", line.c_str());
    lines.push_back(std::move(line));
    line.clear();
}
}  // namespace

Line_list text_to_line_list(std::string_view text)
{
    Line_list lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        line.reserve(end - start);
        for (std::size_t i = start; i < end; ++i)
            if (text[i] != '\r') line += text[i];
        append_line(lines, line);
        start = end + 1;
    }
    return lines;
}

std::string line_list_to_text(const Line_list& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}
