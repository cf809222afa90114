#include "engine/line_list.h"

#include "base/diagnostics.h"

Line_list text_to_line_list(std::string_view text)
{
    Line_list lines;
    std::size_t count = 1;
    for (char c : text) count += c == '\n';
    lines.reserve(count);
    const bool tracing = console_present();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(start, end - start);
        std::string& line = lines.emplace_back();
        if (part.find('\r') == std::string_view::npos) {
            line.assign(part);
        } else {
            line.reserve(part.size());
            for (char c : part)
                if (c != '\r') line += c;
        }
        if (tracing) console_trace("Line: '%s'\n", line.c_str());
        if (end == text.size()) break;
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
