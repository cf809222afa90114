#include "app/help_text.h"

#include <string_view>

#include "engine/chars.h"

const char* const help_bullet = "\u2022";

namespace {

bool starts_with(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string trim_end(std::string s)
{
    while (!s.empty() && is_whitespace(s.back())) s.pop_back();
    return s;
}

// "== 17 Files and Settings": context 17, title "Files and Settings". A header without a
// number gets context 0, which no command asks for.
Help_topic parse_header(const std::string& line)
{
    Help_topic topic;
    std::size_t i = 2;
    while (i < line.size() && is_blank(line[i])) ++i;
    std::size_t digits = i;
    while (i < line.size() && is_digit(line[i]) && i - digits < 9)
        topic.context = topic.context * 10 + (line[i++] - '0');
    if (i == digits || (i < line.size() && !is_blank(line[i]))) {
        topic.context = 0;
        i = digits;
    }
    while (i < line.size() && is_blank(line[i])) ++i;
    topic.title = line.substr(i);
    return topic;
}

// A list item's marker and the text after it, when line is one.
bool split_item(const std::string& line, std::string& marker, std::string& text)
{
    if (starts_with(line, "- ")) {
        marker = help_bullet;
        text = line.substr(2);
        return true;
    }
    std::size_t i = 0;
    while (i < line.size() && is_digit(line[i])) ++i;
    if (i == 0 || i > 3 || i + 1 >= line.size() || line[i] != '.' || line[i + 1] != ' ')
        return false;
    marker = line.substr(0, i + 1);
    text = line.substr(i + 2);
    return true;
}

}  // namespace

std::vector<Help_topic> parse_help(const std::string& source)
{
    std::vector<Help_topic> topics;
    // Whether the last line added text that a following plain line continues.
    bool open_text = false;
    // Whether the last line that was not blank belonged to an example, and the blank lines
    // since: blank lines between example lines are part of the example.
    bool in_example = false;
    std::size_t blanks = 0;
    std::size_t start = 0;
    while (start <= source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        const std::string line = trim_end(source.substr(start, end - start));
        start = end + 1;

        if (starts_with(line, "#")) continue;
        if (starts_with(line, "==")) {
            topics.push_back(parse_header(line));
            open_text = in_example = false;
            blanks = 0;
            continue;
        }
        if (topics.empty()) continue;
        std::vector<Help_block>& blocks = topics.back().blocks;
        if (line.empty()) {
            open_text = false;
            ++blanks;
            continue;
        }
        if (starts_with(line, "  ")) {
            if (in_example)
                blocks.back().text += std::string(blanks + 1, '\n') + line.substr(2);
            else
                blocks.push_back({Help_block::Kind::example, "", line.substr(2)});
            open_text = false;
            in_example = true;
            blanks = 0;
            continue;
        }
        in_example = false;
        blanks = 0;
        Help_block item;
        if (split_item(line, item.marker, item.text)) {
            item.kind = Help_block::Kind::item;
            blocks.push_back(item);
        } else {
            std::size_t first = 0;
            while (first < line.size() && is_blank(line[first])) ++first;
            if (open_text)
                blocks.back().text += " " + line.substr(first);
            else
                blocks.push_back({Help_block::Kind::paragraph, "", line.substr(first)});
        }
        open_text = true;
    }
    return topics;
}

const Help_topic* find_help_topic(const std::vector<Help_topic>& topics, int context)
{
    for (const Help_topic& topic : topics)
        if (topic.context == context) return &topic;
    return nullptr;
}

std::string help_topic_text(const Help_topic& topic)
{
    std::string text = topic.title;
    const Help_block* previous = nullptr;
    for (const Help_block& block : topic.blocks) {
        const bool in_list = previous && previous->kind == Help_block::Kind::item &&
                             block.kind == Help_block::Kind::item;
        text += in_list ? "\r\n" : "\r\n\r\n";
        if (block.kind == Help_block::Kind::item) text += block.marker + " ";
        for (char c : block.text) {
            if (c == '\n') text += '\r';
            text += c;
        }
        previous = &block;
    }
    return text;
}

std::string wrap_example(const std::string& text, int columns)
{
    const std::size_t width = static_cast<std::size_t>(columns < 1 ? 1 : columns);
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        while (line.size() > width) {
            std::size_t cut = line.find_last_of(' ', width);
            std::size_t keep = cut;
            while (keep != std::string_view::npos && keep > 0 && line[keep - 1] == ' ') --keep;
            // No blank after some text within reach: the word itself is broken.
            if (cut == std::string_view::npos || keep == 0) cut = keep = width;
            out.append(line.substr(0, keep)).append(1, '\n');
            line.remove_prefix(cut);
            while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        }
        out.append(line);
        if (end == text.size()) break;
        out.append(1, '\n');
        start = end + 1;
    }
    return out;
}
