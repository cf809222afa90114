// sorvane-bench: whole-process timing of sorvane-clean against fmt on a realistic corpus, and
// in-process timing of the pathological inputs. Figures are printed, never judged as a test.
#include <fcntl.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/catalogue.h"

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
    long minor_faults = -1;
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
            ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_minflt};
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

// Instructions of one run under callgrind (repeatable where time is not); -1 when valgrind is
// missing or the run fails.
long long callgrind_instructions(const std::vector<std::string>& args)
{
    std::string command = "valgrind --tool=callgrind --callgrind-out-file=/dev/null";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " 2>&1 >/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    long long collected = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        if (const char* at = std::strstr(line, "Collected :")) collected = std::atoll(at + 11);
    return pclose(pipe) == 0 ? collected : -1;
}

// The largest resident set of one run of args, in KiB: the kernel's high-water mark of the
// program's own memory, read when it is about to exit. wait4's figure cannot serve: exec starts
// from the parent's memory, so it would report the bench's own size. -1 when it cannot be read.
long peak_kib(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(open("/dev/null", O_WRONLY), 1);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    long peak = -1;
    int status = 0;
    bool options_set = false;
    while (waitpid(pid, &status, 0) == pid && WIFSTOPPED(status)) {
        int signal = WSTOPSIG(status);
        if (!options_set) {  // the stop at exec
            ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT);
            options_set = true;
            signal = 0;
        } else if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            std::ifstream in("/proc/" + std::to_string(pid) + "/status");
            for (std::string line; std::getline(in, line);)
                if (line.rfind("VmHWM:", 0) == 0) peak = std::atol(line.c_str() + 6);
            signal = 0;
        }
        ptrace(PTRACE_CONT, pid, nullptr, signal);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? peak : -1;
}

struct Series {
    std::vector<double> wall, cpu, faults, peak;
    void add(const Run_time& r)
    {
        wall.push_back(r.wall_ms);
        cpu.push_back(r.cpu_ms);
        faults.push_back(static_cast<double>(r.minor_faults));
    }
};

double spread(const std::vector<double>& v)
{
    return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
}

// Median and range of the ratios of the runs taken in pairs.
std::string ratio_text(const std::vector<double>& ours, const std::vector<double>& theirs)
{
    std::vector<double> r;
    for (std::size_t i = 0; i < ours.size(); ++i) r.push_back(ours[i] / theirs[i]);
    char text[128];
    std::snprintf(text, sizeof text, "%.2f (medians); pairs %.2f to %.2f",
                  median(ours) / median(theirs), *std::min_element(r.begin(), r.end()),
                  *std::max_element(r.begin(), r.end()));
    return text;
}

int compare_with_fmt(const std::string& tool, const std::string& corpus_path,
                     std::size_t corpus_size, int runs)
{
    const std::vector<std::string> ours = {tool, "-w", "72", corpus_path};
    const std::vector<std::string> fmt = {"fmt", "-w", "72", corpus_path};
    if (run_process(ours).wall_ms < 0 || run_process(fmt).wall_ms < 0) {
        std::fprintf(stderr, "sorvane-bench: cannot run %s or fmt\n", tool.c_str());
        return 1;
    }
    Series a, b;
    for (int i = 0; i < runs; ++i) {  // alternated, so drift of the machine hits both alike
        a.add(run_process(ours));
        b.add(run_process(fmt));
    }
    const char* name = "sorvane-clean -w 72";
    std::printf("whole process, median of %d runs after one warm-up each (wall clock; CPU time):\n",
                runs);
    std::printf("  %-52s %8.2f ms (spread %6.2f); cpu %8.2f ms (spread %6.2f)\n", name,
                median(a.wall), spread(a.wall), median(a.cpu), spread(a.cpu));
    std::printf("  %-52s %8.2f ms (spread %6.2f); cpu %8.2f ms (spread %6.2f)\n", "fmt -w 72",
                median(b.wall), spread(b.wall), median(b.cpu), spread(b.cpu));
    std::printf("  sorvane-clean per byte:         wall %.2f ns, cpu %.2f ns\n",
                median(a.wall) * 1e6 / static_cast<double>(corpus_size),
                median(a.cpu) * 1e6 / static_cast<double>(corpus_size));
    std::printf("  ratio sorvane-clean / fmt, wall: %s\n", ratio_text(a.wall, b.wall).c_str());
    std::printf("  ratio sorvane-clean / fmt, cpu:  %s\n", ratio_text(a.cpu, b.cpu).c_str());
    std::printf("  minor page faults (median):     sorvane-clean %8.0f   fmt %8.0f\n",
                median(a.faults), median(b.faults));
    for (int i = 0; i < 3; ++i) {
        a.peak.push_back(static_cast<double>(peak_kib(ours)));
        b.peak.push_back(static_cast<double>(peak_kib(fmt)));
    }
    const double text_kib = static_cast<double>(corpus_size) / 1024;
    // The fixed part: the same run on an empty text.
    const std::string empty_path = corpus_path + ".empty";
    write_file(empty_path, "");
    const double fixed = static_cast<double>(peak_kib({tool, empty_path}));
    std::printf("  peak memory, KiB (median of 3): sorvane-clean %8.0f   fmt %8.0f"
                "   (text %.0f KiB; sorvane-clean %.0f fixed + %.2f x text)\n",
                median(a.peak), median(b.peak), text_kib, fixed,
                (median(a.peak) - fixed) / text_kib);
    const long long ours_ir = callgrind_instructions(ours), fmt_ir = callgrind_instructions(fmt);
    if (ours_ir < 0 || fmt_ir < 0)
        std::printf("  instructions (callgrind): skipped, valgrind is not installed or failed\n\n");
    else
        std::printf("  instructions (callgrind):       sorvane-clean %lld   fmt %lld   ratio %.2f\n\n",
                    ours_ir, fmt_ir, static_cast<double>(ours_ir) / static_cast<double>(fmt_ir));
    return 0;
}

// Real prose: the licence texts every Debian machine carries in base-files, in a fixed order,
// repeated until the corpus reaches min_size; empty when one of them is missing.
std::string make_prose_corpus(std::size_t min_size, std::string& missing)
{
    static const char* const names[] = {
        "Apache-2.0", "Artistic", "BSD",   "CC0-1.0",  "GFDL-1.2", "GFDL-1.3", "GPL-1",
        "GPL-2",      "GPL-3",    "LGPL-2", "LGPL-2.1", "LGPL-3",   "MPL-1.1",  "MPL-2.0"};
    std::string once;
    for (const char* name : names) {
        const std::string path = std::string("/usr/share/common-licenses/") + name;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            missing = path;
            return {};
        }
        std::ostringstream buffer;
        buffer << in.rdbuf();
        once += buffer.str();
    }
    std::string corpus;
    while (corpus.size() < min_size) corpus += once;
    return corpus;
}

// The read-me and NEWS files of /usr/share/doc, gzipped ones decompressed, binaries (a NUL
// byte) skipped, in sorted path order, repeated to size and cut at a line end: prose of every
// kind as this machine happens to hold it. Empty when there is none.
std::string make_doc_corpus(std::size_t size)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it("/usr/share/doc", error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(error) && (name.rfind("README", 0) == 0 || name.rfind("NEWS", 0) == 0))
            paths.push_back(it->path().string());
    }
    std::sort(paths.begin(), paths.end());
    std::string once;
    for (const std::string& path : paths) {
        std::string text;
        if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0) {
            std::FILE* pipe = popen(("gzip -dc '" + path + "' 2>/dev/null").c_str(), "r");
            if (!pipe) continue;
            char buffer[65536];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
                text.append(buffer, n);
            if (pclose(pipe) != 0) continue;
        } else {
            text = read_file(path);
        }
        if (text.find('\0') != std::string::npos) continue;
        if (!text.empty() && text.back() != '\n') text += '\n';
        once += text;
    }
    if (once.empty()) return {};
    std::string corpus;
    while (corpus.size() < size) corpus += once;
    corpus.resize(corpus.rfind('\n', size - 1) + 1);
    return corpus;
}

// Writes the corpus and compares the two tools on it.
int bench_corpus(const std::string& label, const std::string& tool, const std::string& path,
                 const std::string& corpus, int runs)
{
    if (!write_file(path, corpus)) {
        std::fprintf(stderr, "sorvane-bench: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s corpus %s: %zu bytes, %zu lines\n", label.c_str(), path.c_str(),
                corpus.size(),
                static_cast<std::size_t>(std::count(corpus.begin(), corpus.end(), '\n')));
    return compare_with_fmt(tool, path, corpus.size(), runs);
}

struct Case {
    std::string name;
    std::string text;
    std::function<void(Cleaning_settings&)> configure;
};

// In-process: split, clean, join, as the editor does.
double time_case(const Case& c, const Abbreviations& abbreviations, int runs)
{
    Cleaning_settings prefs = builtin_preset(Builtin_preset::full);
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
                worst, worst < 10 ? "yes" : "NO");
    return worst;
}

auto set_int(const char* name, int value)
{
    return [=](Cleaning_settings& p) { find_setting(name)->integer.of(p) = value; };
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
                     [](Cleaning_settings& p) {
                         p.misc_find[0] = "  ";
                         p.misc_replace[0] = " ";
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
    cases.push_back({"20,000 list items, list format 1", items, [](Cleaning_settings& p) {
                         p.list_format = 1;
                         p.list_adjust_indent = 1;
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
                             tabbed, [=](Cleaning_settings& p) {
                                 p.spac_tab_stops = stops;
                                 p.misc_tab_replace = mode;
                                 p.para_max_chars_on_para_line = 72;
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
    if (int failed = bench_corpus("generated", tool, dir + "/corpus.txt", make_corpus(mib), runs))
        return failed;
    std::string missing;
    const std::string prose = make_prose_corpus(mib, missing);
    if (prose.empty())
        std::printf("prose corpus: skipped, %s is missing\n\n", missing.c_str());
    else if (int failed = bench_corpus("prose", tool, dir + "/prose.txt", prose, runs))
        return failed;

    const std::string docs = make_doc_corpus(mib);
    if (docs.empty())
        std::printf("read-me and NEWS corpus: skipped, /usr/share/doc holds none\n\n");
    else if (int failed = bench_corpus("read-me and NEWS (/usr/share/doc)", tool,
                                       dir + "/docs.txt", docs, runs))
        return failed;

    // fmt counts bytes, so its lines are shorter here; the figure that matters is the time per
    // byte against the ASCII prose above.
    if (int failed = bench_corpus("UTF-8 (Greek, Cyrillic, CJK)", tool, dir + "/utf8.txt",
                                  make_utf8_corpus(mib), runs))
        return failed;

    const std::string abbr_path = tool.substr(0, tool.find_last_of('/') + 1) + "abbr.dat";
    const Abbreviations abbreviations = parse_abbreviations(read_file(abbr_path));
    std::printf("pathological inputs, in process (split, clean with \"Full Cleaning\" plus the "
                "settings named, join), median and worst of 5 runs after a warm-up:\n");
    std::printf("  %-58s %9s %9s %8s %8s  %s\n", "input", "bytes in", "bytes out", "median",
                "worst", "<10 ms");
    double worst = 0;
    for (const Case& c : pathological_cases()) worst = std::max(worst, time_case(c, abbreviations, 5));
    std::printf("  pathological max (worst run of any input): %.2f ms\n", worst);
    return 0;
}
