// sorvane-clean within bounded memory: large texts cleaned in a child whose address space is
// limited to three times the text and a fixed part come out as the engine cleans them here.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "settings/catalogue.h"

namespace {

constexpr std::size_t mib = 1024 * 1024;
// What the program needs whatever its input: itself, its stack, the abbreviations, the
// output's buffers.
constexpr std::size_t fixed_part = 4 * mib;

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string content(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(&content[0], static_cast<std::streamsize>(content.size()));
    return content;
}

// Words drawn from a fixed sequence, so every run cleans the same text.
class Words {
public:
    explicit Words(bool high_bytes) : high_bytes_(high_bytes) {}
    // The next word; a sentence ends after some.
    std::string_view next()
    {
        static const char* const plain[] = {"the", "cleaner", "joins", "lines", "of", "a",
                                            "paragraph", "Mr.", "e.g.", "width", "into",
                                            "one", "and", "wraps", "them", "again"};
        static const char* const high[] = {"caf\xE9", "\x80" "5", "it\x92s", "na\xEFve"};
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        const unsigned pick = static_cast<unsigned>(state_ >> 33);
        word_ = high_bytes_ && pick % 7 == 0 ? high[pick / 7 % 4] : plain[pick % 16];
        if (pick % 11 == 0) word_ += '.';
        return word_;
    }

private:
    bool high_bytes_;
    unsigned long long state_ = 1;
    std::string word_;
};

// Paragraphs of lines broken near 70 columns with LF, blank lines between them; lines that end a
// sentence get two spaces when joined, so most paragraphs outgrow the room they were read in.
std::string paragraphs(std::size_t size, bool high_bytes)
{
    Words words(high_bytes);
    std::string text;
    std::size_t line = 0, lines = 0;
    text.reserve(size + 80);
    while (text.size() < size) {
        const std::string_view word = words.next();
        if (line + word.size() > 70) {
            text += ++lines % 12 == 0 ? "\n\n" : "\n";
            line = 0;
        } else if (line > 0) {
            text += ' ';
            ++line;
        }
        text += word;
        line += word.size();
    }
    return text + "\n";
}

// One line of words: every pass that rewrites it holds a copy of all of it.
std::string one_line(std::size_t size)
{
    Words words(false);
    std::string text;
    text.reserve(size + 80);
    while (text.size() < size) {
        text += words.next();
        text += ' ';
    }
    return text + "\n";
}

struct Child_run {
    int status = -1;  // the exit code, or -1 when the program did not exit by itself
    std::string out, err;
};

// Runs the tool with args on input (through a pipe when piped, else as a file) in a child whose
// address space may not exceed limit bytes.
Child_run run_limited(std::vector<std::string> args, const std::string& input, bool piped,
                      std::size_t limit)
{
    char dir_template[] = "/tmp/sorvane-memory-XXXXXX";
    const std::string dir = mkdtemp(dir_template);
    const std::string in_path = dir + "/in", out_path = dir + "/out", err_path = dir + "/err";
    if (!piped) std::ofstream(in_path, std::ios::binary) << input;
    int pipe_ends[2] = {-1, -1};
    if (piped && pipe(pipe_ends) != 0) return {};
    if (!piped) args.push_back(in_path);
    const pid_t pid = fork();
    if (pid == 0) {
        if (piped) {
            dup2(pipe_ends[0], 0);
            close(pipe_ends[0]);
            close(pipe_ends[1]);
        }
        dup2(open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        const rlimit address_space{limit, limit};
        setrlimit(RLIMIT_AS, &address_space);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(SORVANE_CLEAN_PATH));
        for (std::string& arg : args) argv.push_back(&arg[0]);
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (piped) {
        // A child that stops reading ends the writing, not this process.
        close(pipe_ends[0]);
        const auto previous = signal(SIGPIPE, SIG_IGN);
        for (std::size_t done = 0; done < input.size();) {
            const ssize_t n = write(pipe_ends[1], input.data() + done, input.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        close(pipe_ends[1]);
        signal(SIGPIPE, previous);
    }
    int status = 0;
    Child_run run;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = read_file(out_path);
    run.err = read_file(err_path);
    std::remove(in_path.c_str());
    std::remove(out_path.c_str());
    std::remove(err_path.c_str());
    rmdir(dir.c_str());
    return run;
}

TEST(MemoryBound, LargeTextsAreCleanedWithinThreeTimesTheirSize)
{
    struct Case {
        const char* name;
        std::string input;
        bool windows_1252;
        bool piped;
        bool find_beyond_ascii;  // a find and replace pair that is matched character by character
    };
    const Case cases[] = {
        {"48 MiB of paragraphs", paragraphs(48 * mib, false), false, false, false},
        {"48 MiB on one line", one_line(48 * mib), false, false, false},
        {"24 MiB of Windows-1252 paragraphs through a pipe", paragraphs(24 * mib, true), true,
         true, false},
        {"12 MiB on one line, \"the\" replaced by an omega", one_line(12 * mib), false, false,
         true},
    };
    const Abbreviations abbreviations = parse_abbreviations(read_file(SORVANE_ABBR_PATH));
    for (const Case& c : cases) {
        Cleaning_settings settings = builtin_preset(Builtin_preset::full);
        settings.para_max_chars_on_para_line = 72;
        std::vector<std::string> args = {"--abbr", SORVANE_ABBR_PATH, "-w", "72", "--as-editor"};
        if (c.find_beyond_ascii) {
            settings.misc_find[0] = "the";
            settings.misc_replace[0] = "\xCE\xA9";
            args.insert(args.end(), {"--encoding", "utf-8", "--set", "misc-find 0=the", "--set",
                                     "misc-replace 0=\xCE\xA9"});
        }
        std::string text, error;
        ASSERT_TRUE(decode_text(c.input, c.windows_1252 ? Text_encoding::ansi : Text_encoding::utf8,
                                text, error))
            << c.name;
        Line_list lines = text_to_line_list(std::move(text));
        Cleaner(settings, abbreviations).clean_lines(lines);
        std::string expected = line_list_to_text(lines);
        if (c.windows_1252) {
            std::string encoded;
            Unencodable bad;
            ASSERT_TRUE(encode_text(expected, Text_encoding::ansi, encoded, bad)) << c.name;
            expected.swap(encoded);
        }
        const Child_run run = run_limited(args, c.input, c.piped, 3 * c.input.size() + fixed_part);
        EXPECT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out.size(), expected.size()) << c.name;
        EXPECT_TRUE(run.out == expected) << c.name;
    }
    // A limit the text cannot fit in gives the message, not a crash.
    const Child_run run = run_limited({"--abbr", SORVANE_ABBR_PATH, "-w", "72"}, cases[1].input,
                                      false, cases[1].input.size() + fixed_part);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not enough memory"), std::string::npos) << run.err;
}

// A file is cleaned a piece at a time where the settings allow it (pieces end at empty lines),
// a pipe whole: the two give the same bytes for random texts of every kind of line the passes
// treat apart (blank, quoted, listed, indented, long, beyond ASCII, emptied by a pair or ending
// in a CR it put there), in UTF-8 and in Windows-1252, under random settings.
TEST(MemoryBound, AFileCleanedInPiecesComesOutAsAPipeCleanedWhole)
{
    std::uint64_t state = 7;
    auto below = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    };
    const char* kinds[] = {"", "", "", "  ", "\t", "> ", ">> quoted Mr. Smith said so.",
                           "1. listed item", "- dashed item", "   indented start", "ZAP",
                           "\xCE\xB1\xCE\xB2 \xE4\xB8\xAD\xE6\x96\x87 text",
                           "ends a sentence.", "a\ttab and  two spaces", "tail ZAP"};
    for (int round = 0; round < 24; ++round) {
        // Every third text is Windows-1252, every other UTF-8.
        kinds[11] = round % 3 ? "\xCE\xB1\xCE\xB2 \xE4\xB8\xAD\xE6\x96\x87 text"
                              : "caf\xE9 \x93quoted\x94\xA0" "and\x85";
        std::string text;
        while (text.size() < 300 * 1024) {
            const std::uint64_t kind = below(std::size(kinds) + 6);
            if (kind < std::size(kinds)) {
                text += kinds[kind];
            } else {
                for (std::uint64_t w = below(kind == std::size(kinds) ? 400 : 14); w > 0; --w)
                    text += w % 9 ? "word " : "end. ";
            }
            text += '\n';
        }
        if (round % 3 == 1) text += "\n\n";
        if (round % 3 == 2) text += "last";
        std::vector<std::string> args = {"--abbr", SORVANE_ABBR_PATH};
        for (const Setting_field& field : setting_fields) {
            if (field.is_text()) continue;
            const std::int32_t span = std::min(field.max - field.min, 80);
            const std::int32_t picks[] = {field.min, field.full, field.light,
                                          field.min + static_cast<std::int32_t>(below(span + 1))};
            std::int32_t value = picks[below(4)];
            // Mostly settings that allow pieces, so that they are what is compared.
            if (field.integer.name == std::string_view("para-blank lines separate paras"))
                value = below(5) != 0;
            args.insert(args.end(), {"--set", std::string(field.name()) + "=" + std::to_string(value)});
        }
        if (round % 2) args.insert(args.end(), {"--set", "misc-find 0=ZAP", "--set", "misc-find 1=word"});
        if (round % 4 == 1) args.insert(args.end(), {"--set", "misc-replace 1=w\xC3\xB6rd"});
        // A CR put at a line's end, which word spacing would take off with the trailing blanks.
        if (round % 6 == 3)
            args.insert(args.end(), {"--set", "misc-replace 0=\r", "--set",
                                     "spac-rem extra spaces between words=0", "--set",
                                     "spac-clean up sent spacing=0"});
        if (round % 5 == 2) args.push_back("--as-editor");
        const Child_run piped = run_limited(args, text, true, 1024 * mib);
        const Child_run file = run_limited(args, text, false, 1024 * mib);
        ASSERT_EQ(piped.status, 0) << piped.err;
        ASSERT_EQ(file.status, 0) << file.err;
        ASSERT_EQ(file.out.size(), piped.out.size()) << "round " << round;
        ASSERT_TRUE(file.out == piped.out) << "round " << round;
    }
}

}  // namespace
