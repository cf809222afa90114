// Whole-pipeline results on realistic texts under several configurations. Each expected file
// (golden/<text>.<configuration>.expected, line breaks as LF) was checked by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/catalogue.h"

namespace {

const std::string golden_dir = SORVANE_GOLDEN_DIR;
const char* const texts[] = {"email", "article", "ragged"};

bool read_file(const std::string& path, std::string& content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

std::string trimmed(const std::string& text)
{
    std::size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
    return b == std::string::npos ? "" : text.substr(b, e - b + 1);
}

struct Configuration {
    std::string name;
    std::string preset;
    std::vector<std::string> assignments;  // "setting=value"
};

// golden/<file>: "name | preset | setting=value | ..." per line, "#" comments.
std::vector<Configuration> read_configurations(const std::string& file)
{
    std::string content;
    if (!read_file(golden_dir + "/" + file, content)) return {};
    std::vector<Configuration> configurations;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '|');) fields.push_back(trimmed(field));
        if (fields.size() < 2) continue;
        configurations.push_back({fields[0], fields[1], {fields.begin() + 2, fields.end()}});
    }
    return configurations;
}

// Applies the configuration; a setting that is not an exact name fails the test.
void configure(Cleaning_settings& prefs, const Configuration& configuration)
{
    for (const std::string& assignment : configuration.assignments) {
        std::size_t eq = assignment.find('=');
        ASSERT_NE(eq, std::string::npos) << assignment;
        std::string name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
        const Setting_field* field = find_setting(name);
        ASSERT_NE(field, nullptr) << "no setting named " << name;
        if (field->is_text())
            field->text.of(prefs) = value;
        else
            field->integer.of(prefs) = std::stoi(value);
    }
}

std::string with_lf(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

TEST(Golden, EveryTextUnderEveryConfigurationGivesItsCheckedResult)
{
    std::string abbr_content;
    ASSERT_TRUE(read_file(SORVANE_ABBR_PATH, abbr_content));
    const Abbreviations abbreviations = parse_abbreviations(abbr_content);
    // The 8-bit texts under settings.txt, the UTF-8 ones under unicode-settings.txt.
    const struct {
        const char* file;
        std::vector<const char*> texts;
    } sets[] = {{"settings.txt", {std::begin(texts), std::end(texts)}},
                {"unicode-settings.txt", {"unicode"}}};
    for (const auto& set : sets) {
    const std::vector<Configuration> configurations = read_configurations(set.file);
    ASSERT_GE(configurations.size(), 6u) << set.file;
    for (const Configuration& configuration : configurations) {
        ASSERT_TRUE(configuration.preset == full_cleaning_name ||
                    configuration.preset == light_cleaning_name)
            << configuration.preset;
        Cleaning_settings prefs = builtin_preset(
            configuration.preset == full_cleaning_name ? Builtin_preset::full : Builtin_preset::light);
        configure(prefs, configuration);
        for (const char* text : set.texts) {
            const std::string label = std::string(text) + "." + configuration.name;
            std::string input, expected;
            ASSERT_TRUE(read_file(golden_dir + "/" + text + ".txt", input)) << text;
            ASSERT_TRUE(read_file(golden_dir + "/" + label + ".expected", expected)) << label;
            Line_list lines = text_to_line_list(input);
            Cleaner(prefs, abbreviations).clean_lines(lines);
            const std::string output = line_list_to_text(lines);
            EXPECT_EQ(with_lf(output).find('\r'), std::string::npos) << label;
            EXPECT_EQ(with_lf(output), expected) << label;
        }
    }
    }
}

// Words that look like list identifiers but are not ("3.14", "e.g.", "-z") must stay as they
// are wherever the wrap puts them, so a cleaned text cleaned again is the same; narrow widths
// bring every word of the examples to a line start. The wrap can still bring a real identifier
// there ("o used" or "Apr. 20." in the golden texts), so those are wrapped to 72 only.
TEST(Golden, CleaningACleanedTextAgainChangesNothing)
{
    std::string abbr_content;
    ASSERT_TRUE(read_file(SORVANE_ABBR_PATH, abbr_content));
    const Abbreviations abbreviations = parse_abbreviations(abbr_content);
    const std::vector<std::string> examples = {
        "3.14 is pi\n", "The value of pi is about\n3.14 and so on.\n", "e.g. foo.\n",
        "-z compresses\n", "-- usually\n", "*first* word\n", "1.11.0 is out\n",
        "1.1. Contributor\n", "A.B. Smith and i.e. so\n",
        "Use -z, -- and *first* with 3.14, e.g. 1.11.0 and 1.1. in A.B. Smith's 2.5.x release.\n"};
    std::vector<std::string> golden_texts;
    for (const char* text : texts) {
        golden_texts.emplace_back();
        ASSERT_TRUE(read_file(golden_dir + "/" + text + ".txt", golden_texts.back())) << text;
    }
    const struct {
        const std::vector<std::string>& inputs;
        std::vector<int> widths;
    } runs[] = {{examples, {0, 72, 30, 12, 5, 1}}, {golden_texts, {0, 72}}};
    for (const auto& run : runs) {
        for (int width : run.widths) {
            Cleaning_settings prefs = builtin_preset(Builtin_preset::full);
            prefs.para_max_chars_on_para_line = width;
            for (const std::string& input : run.inputs) {
                Line_list lines = text_to_line_list(input);
                Cleaner(prefs, abbreviations).clean_lines(lines);
                const std::string once = line_list_to_text(lines);
                Line_list again = text_to_line_list(once);
                Cleaner(prefs, abbreviations).clean_lines(again);
                EXPECT_EQ(line_list_to_text(again), once)
                    << "width " << width << ": " << input.substr(0, 40);
            }
        }
    }
}

TEST(Golden, TheShippedAbbreviationListHoldsWholeWordsThatEndInAPeriod)
{
    std::string content;
    ASSERT_TRUE(read_file(SORVANE_ABBR_PATH, content));
    const Abbreviations abbreviations = parse_abbreviations(content);
    EXPECT_GE(abbreviations.size(), 150u);
    for (const std::string& entry : abbreviations) {
        EXPECT_EQ(entry.back(), '.') << entry;
        EXPECT_EQ(entry.find_first_of(" \t"), std::string::npos) << entry;
    }
    for (const char* word : {"Mr.", "Dr.", "etc.", "Jan.", "Inc.", "St.", "lbs.", "Calif."})
        EXPECT_FALSE(ends_sentence(word, abbreviations)) << word;
    for (const char* word : {"end.", "in.", "no.", "mr.", "May."})
        EXPECT_TRUE(ends_sentence(word, abbreviations)) << word;
}

}  // namespace
