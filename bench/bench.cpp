// sorvane-bench: whole-process timing of sorvane-clean against fmt on a realistic corpus, and
// in-process timing of the pathological inputs. Figures are printed, never judged as a test.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/memory_prefs.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t mib = 1024 * 1024;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Run_time {
    double wall_ms = -1;
    double cpu_ms = -1;  // user and system time of the child: less sensitive to a busy machine
};

// One run of argv (the input file is among the arguments) with stdin and stdout on /dev/null;
// negative times on failure.
Run_time run_process(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Clock::time_point start = Clock::now();
    pid_t pid;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
            ms(usage.ru_utime) + ms(usage.ru_stime)};
}

bool write_file(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

int compare_with_fmt(const std::string& tool, const std::string& corpus_path, int runs)
{
    const std::vector<std::string> ours = {tool, "--set", "para-max chars on para line=72",
                                           corpus_path};
    const std::vector<std::string> fmt = {"fmt", "-w", "72", corpus_path};
    if (run_process(ours).wall_ms < 0 || run_process(fmt).wall_ms < 0) {
        std::fprintf(stderr, "sorvane-bench: cannot run %s or fmt\n", tool.c_str());
        return 1;
    }
    std::vector<double> ours_wall, ours_cpu, fmt_wall, fmt_cpu;
    for (int i = 0; i < runs; ++i) {  // alternated, so drift of the machine hits both alike
        Run_time a = run_process(ours), b = run_process(fmt);
        ours_wall.push_back(a.wall_ms);
        ours_cpu.push_back(a.cpu_ms);
        fmt_wall.push_back(b.wall_ms);
        fmt_cpu.push_back(b.cpu_ms);
    }
    auto spread = [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    };
    std::printf("whole process, median of %d runs after one warm-up each (wall clock; CPU time):\n",
                runs);
    std::printf("  %-52s %8.2f ms (spread %6.2f); cpu %8.2f ms\n",
                "sorvane-clean --set \"para-max chars on para line=72\"", median(ours_wall),
                spread(ours_wall), median(ours_cpu));
    std::printf("  %-52s %8.2f ms (spread %6.2f); cpu %8.2f ms\n", "fmt -w 72", median(fmt_wall),
                spread(fmt_wall), median(fmt_cpu));
    std::printf("  %-52s %8.2f;                    cpu %8.2f\n\n", "ratio sorvane-clean / fmt",
                median(ours_wall) / median(fmt_wall), median(ours_cpu) / median(fmt_cpu));
    return 0;
}

struct Case {
    std::string name;
    std::string text;
    std::function<void(Memory_prefs&)> configure;
};

// In-process: split, clean, join, as the editor does.
void time_case(const Case& c, const Abbreviations& abbreviations, int runs)
{
    Memory_prefs prefs(Builtin_preset::full);
    if (c.configure) c.configure(prefs);
    std::vector<double> ms;
    std::size_t out_size = 0;
    for (int i = 0; i <= runs; ++i) {
        Clock::time_point start = Clock::now();
        Line_list lines = text_to_line_list(c.text);
        Cleaner(prefs, abbreviations).clean_lines(lines);
        out_size = line_list_to_text(lines).size();
        double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (i > 0) ms.push_back(elapsed);  // the first run warms up
    }
    double m = median(ms), worst = *std::max_element(ms.begin(), ms.end());
    std::printf("  %-58s %9zu %9zu %8.2f %8.2f  %s\n", c.name.c_str(), c.text.size(), out_size, m,
                worst, worst < 100 ? "yes" : "NO");
}

auto set_int(const char* name, int value)
{
    return [=](Memory_prefs& p) { p.current().set_int(name, value); };
}

std::vector<Case> pathological_cases()
{
    Bench_random random(7);
    std::vector<Case> cases;
    auto wrap72 = set_int("para-max chars on para line", 72);

    std::string words;
    while (words.size() < mib) words += "lorem ipsum dolor sit amet. ";
    cases.push_back({"1 MiB line of words without breaks, wrapped to 72", words, wrap72});
    cases.push_back({"1 MiB word without blanks or breaks, wrapped to 72", std::string(mib, 'x'),
                     wrap72});
    cases.push_back({"1 MiB of spaces, pair \"  \" to \" \"", std::string(mib, ' '),
                     [](Memory_prefs& p) {
                         p.current().set_string("misc-find 0", "  ");
                         p.current().set_string("misc-replace 0", " ");
                     }});
    cases.push_back({"1 MiB of \"> \" reply marks on one line", [] {
                         std::string s;
                         while (s.size() < mib) s += "> ";
                         return s + "x";
                     }(), nullptr});

    std::string short_lines;
    for (int i = 0; i < 20000; ++i) short_lines += "short line " + std::to_string(i) + "\n";
    cases.push_back({"one paragraph of 20,000 short lines, wrapped to 72", short_lines, wrap72});
    std::string blank_gaps;
    for (int i = 0; i < 20000; ++i) blank_gaps += "word\n\n";
    cases.push_back({"20,000 lines with blank lines between, blank lines join",
                     blank_gaps, set_int("para-blank lines separate paras", 0)});

    const char* ids[] = {"- ", "* ", "a) ", "iv. ", "(12) ", "o ", "1234. ", "(b) "};
    const std::string item = "an item long enough to be wrapped once or twice at the list width\n";
    std::string items;
    for (int i = 0; i < 20000; ++i) items += ids[i % 8] + item;
    cases.push_back({"20,000 list items, list format 1", items, [](Memory_prefs& p) {
                         p.current().set_int("list-format", 1);
                         p.current().set_int("list-adjust indent", 1);
                     }});

    std::string tabbed;
    while (tabbed.size() < mib) {
        tabbed += "a" + std::string(random.below(9), ' ') + "\tb,c" +
                  std::string(random.below(3), '\t') + "dd  e\t";
        if (random.chance(5)) tabbed += "\n";
    }
    for (int stops : {0, 1})
        for (int mode = 0; mode <= 4; ++mode)
            cases.push_back({"1 MiB of tabs and spaces, tab stops " + std::to_string(stops) +
                                 ", tab mode " + std::to_string(mode),
                             tabbed, [=](Memory_prefs& p) {
                                 p.current().set_int("spac-tab stops", stops);
                                 p.current().set_int("misc-tab replace", mode);
                                 p.current().set_int("para-max chars on para line", 72);
                             }});

    std::string bytes;
    std::vector<unsigned char> values(256);
    while (bytes.size() < mib) {
        for (int i = 0; i < 256; ++i) values[i] = static_cast<unsigned char>(i);
        for (std::size_t i = 255; i > 0; --i) std::swap(values[i], values[random.below(i + 1)]);
        bytes.append(values.begin(), values.end());
    }
    cases.push_back({"1 MiB of every byte 0 to 255 in random order, wrapped to 72", bytes, wrap72});
    return cases;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sorvane-bench SORVANE_CLEAN OUT_DIR [RUNS]\n");
        return 2;
    }
    const std::string tool = argv[1], dir = argv[2];
    const int runs = argc > 3 ? std::max(5, std::atoi(argv[3])) : 9;
    const std::string corpus_path = dir + "/corpus.txt";
    const std::string corpus = make_corpus(mib);
    if (!write_file(corpus_path, corpus)) {
        std::fprintf(stderr, "sorvane-bench: cannot write %s\n", corpus_path.c_str());
        return 1;
    }
    std::printf("corpus %s: %zu bytes, %zu lines\n\n", corpus_path.c_str(), corpus.size(),
                static_cast<std::size_t>(std::count(corpus.begin(), corpus.end(), '\n')));
    if (int failed = compare_with_fmt(tool, corpus_path, runs)) return failed;

    const std::string abbr_path = tool.substr(0, tool.find_last_of('/') + 1) + "abbr.dat";
    const Abbreviations abbreviations = parse_abbreviations(read_file(abbr_path));
    std::printf("pathological inputs, in process (split, clean with \"Full Cleaning\" plus the "
                "settings named, join), median and worst of 5 runs after a warm-up:\n");
    std::printf("  %-58s %9s %9s %8s %8s  %s\n", "input", "bytes in", "bytes out", "median",
                "worst", "<100 ms");
    for (const Case& c : pathological_cases()) time_case(c, abbreviations, 5);
    return 0;
}
