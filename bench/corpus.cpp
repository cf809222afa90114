#include "bench/corpus.h"

#include <algorithm>
#include <vector>

namespace {

const char* const words[] = {
    "the", "of", "and", "a", "to", "in", "is", "you", "that", "it", "he", "was", "for", "on",
    "are", "as", "with", "his", "they", "at", "be", "this", "have", "from", "or", "one", "had",
    "by", "word", "but", "not", "what", "all", "were", "we", "when", "your", "can", "said",
    "there", "use", "an", "each", "which", "she", "do", "how", "their", "if", "will", "up",
    "other", "about", "out", "many", "then", "them", "these", "so", "some", "her", "would",
    "make", "like", "him", "into", "time", "has", "look", "two", "more", "write", "go", "see",
    "number", "no", "way", "could", "people", "my", "than", "first", "water", "been", "call",
    "who", "oil", "its", "now", "find", "long", "down", "day", "did", "get", "come", "made",
    "may", "part", "release", "schedule", "meeting", "budget", "report", "customer", "invoice",
    "draft", "review", "server", "update", "quarter", "office", "project", "deadline", "team",
    "Mr.", "Dr.", "etc.", "e.g.", "i.e.", "approx.", "Inc.", "Jan.", "St.", "3.5", "U.S.",
    "caf\xe9", "na\xefve", "\xa0note", "(see", "below)", "\"quoted\"", "it's", "don't", "42",
};
const char* const names[] = {"Dana", "Sam", "Ito", "Priya", "Marek", "Lucia", "Ahmed", "Jo"};
const char* const days[] = {"Mon.", "Tue.", "Wed.", "Thu.", "Fri."};

class Writer {
public:
    explicit Writer(Bench_random& random) : random_(random) {}

    std::string sentence()
    {
        std::string s;
        std::size_t n = 4 + random_.below(14);
        for (std::size_t i = 0; i < n; ++i) {
            std::string w = words[random_.below(sizeof words / sizeof *words)];
            if (i == 0 && w[0] >= 'a' && w[0] <= 'z') w[0] = static_cast<char>(w[0] - 32);
            if (i) s += random_.chance(8) ? (random_.chance(30) ? "\t" : "   ") : " ";
            s += w;
            if (i + 1 < n && random_.chance(7)) s += ',';
        }
        const char* ends[] = {".", ".", ".", "?", "!", ".\"", ".)", ":"};
        s += ends[random_.below(sizeof ends / sizeof *ends)];
        return s;
    }

    // Sentences hard-wrapped at a width near 72, every line behind prefix.
    void paragraph(std::string& out, const std::string& prefix, std::size_t sentences)
    {
        std::string text;
        for (std::size_t i = 0; i < sentences; ++i) {
            if (i) text += random_.chance(50) ? "  " : " ";
            text += sentence();
        }
        std::size_t width = 50 + random_.below(25), start = 0;
        std::string indent = random_.chance(15) ? (random_.chance(50) ? "\t" : "    ") : "";
        while (start < text.size()) {
            std::size_t end = start + width;
            if (end >= text.size()) end = text.size();
            else {
                std::size_t space = text.rfind(' ', end);
                if (space != std::string::npos && space > start) end = space;
            }
            out += prefix + indent + text.substr(start, end - start);
            if (random_.chance(10)) out += "  ";
            out += '\n';
            indent = random_.chance(5) ? " " : "";
            start = end;
            while (start < text.size() && text[start] == ' ') ++start;
        }
    }

    void list(std::string& out, const std::string& prefix)
    {
        std::size_t kind = random_.below(11), items = 2 + random_.below(7);
        const char* romans[] = {"i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix"};
        for (std::size_t i = 0; i < items; ++i) {
            std::string id;
            switch (kind) {
            case 0: id = std::to_string(i + 1) + ". "; break;
            case 1: id = std::to_string(i + 1) + ")"; break;
            case 2: id = "(" + std::to_string(i + 1) + ") "; break;
            case 3: id = std::string(1, static_cast<char>('a' + i)) + ". "; break;
            case 4: id = std::string(1, static_cast<char>('A' + i)) + ")  "; break;
            case 5: id = std::string("(") + static_cast<char>('a' + i) + ") "; break;
            case 6: id = std::string(romans[i]) + ". "; break;
            case 7: id = std::string("(") + romans[i] + ") "; break;
            case 8: id = "- "; break;
            case 9: id = "*"; break;
            default: id = "o "; break;
            }
            std::string lead = random_.chance(40) ? (random_.chance(50) ? "  " : "\t") : "";
            out += prefix + lead + id + sentence() + "\n";
            if (random_.chance(30)) out += prefix + "   " + sentence() + "\n";
        }
    }

    void table(std::string& out, const std::string& prefix)
    {
        for (std::size_t i = 0, n = 2 + random_.below(4); i < n; ++i)
            out += prefix + names[random_.below(8)] + ":\t" + words[random_.below(40)] + "\t" +
                   std::to_string(random_.below(1000)) + ",\t" + words[random_.below(40)] + "\n";
    }

    void blank(std::string& out, const std::string& prefix)
    {
        std::string bare = prefix;
        while (!bare.empty() && bare.back() == ' ') bare.pop_back();
        out += random_.chance(20) ? bare + "   \n" : bare + "\n";
        if (random_.chance(15)) out += bare + "\n";
    }

    void body(std::string& out, const std::string& prefix, std::size_t blocks)
    {
        for (std::size_t b = 0; b < blocks; ++b) {
            std::size_t pick = random_.below(10);
            if (pick < 6) paragraph(out, prefix, 1 + random_.below(6));
            else if (pick < 9) list(out, prefix);
            else table(out, prefix);
            blank(out, prefix);
        }
    }

    // A reply that quotes an earlier message, which may quote another.
    void message(std::string& out, std::size_t depth)
    {
        std::string prefix;
        for (std::size_t i = 0; i < depth; ++i) prefix += random_.chance(10) ? ">" : "> ";
        out += prefix + "On " + days[random_.below(5)] + ", " + names[random_.below(8)] +
               " wrote:\n";
        body(out, prefix, 1 + random_.below(4));
        if (depth < 3 && random_.chance(60)) message(out, depth + 1);
    }

private:
    Bench_random& random_;
};

}  // namespace

std::string make_corpus(std::size_t min_size)
{
    Bench_random random(20240601);
    Writer writer(random);
    std::string out;
    out.reserve(min_size + 8192);
    while (out.size() < min_size) {
        out += "Hi " + std::string(names[random.below(8)]) + ",\n\n";
        writer.body(out, "", 1 + random.below(5));
        if (random.chance(70)) writer.message(out, 1);
        out += "\nRegards,\n" + std::string(names[random.below(8)]) + "\n\n";
    }
    return out;
}

namespace {

// Words of Greek, Russian, Chinese and Japanese mail; the CJK "words" are phrases, as such text
// has few blanks.
const char* const greek[] = {
    "και", "το", "της", "για", "στην", "συνάντηση", "Τρίτης", "μεταφέρθηκε", "Πέμπτη",
    "έγγραφα", "υπολογιστή", "ευχαριστώ", "πολύ", "αύριο", "γραφείο", "προϋπολογισμός",
    "αναφορά", "πελάτη", "τιμολόγιο", "ομάδα", "έργο", "προθεσμία", "Κώστα", "Μαρία"};
const char* const russian[] = {
    "и", "в", "не", "на", "мы", "получили", "ваше", "письмо", "ответим", "в течение",
    "двух", "рабочих", "дней", "спасибо", "за", "терпение", "отчёт", "встреча", "бюджет",
    "клиент", "счёт", "команда", "проект", "срок", "Ирина", "Алексей"};
const char* const cjk[] = {
    "会议改到星期四", "下午三点", "请带上文件", "和笔记本电脑", "我们在三楼", "的会议室见面",
    "東京の天気は", "晴れです", "明日は雨が", "降るでしょう", "予算の報告書", "よろしくお願いします",
    "고객", "회의", "감사합니다", "プロジェクト", "締め切り", "✓", "→", "😀"};

}  // namespace

std::string make_utf8_corpus(std::size_t min_size)
{
    Bench_random random(11);
    std::string out;
    auto pick = [&](const auto& list) {
        return std::string(list[random.below(sizeof list / sizeof *list)]);
    };
    while (out.size() < min_size) {
        const std::size_t script = random.below(3);
        std::string text;
        for (std::size_t n = 20 + random.below(60); n > 0; --n) {
            std::string w = script == 0 ? pick(greek) : script == 1 ? pick(russian) : pick(cjk);
            if (!text.empty()) text += random.chance(8) ? "   " : " ";
            text += w;
            if (random.chance(10)) text += script == 2 ? "。" : ".";
        }
        text += script == 2 ? "。" : ".";
        const std::string prefix = random.chance(30) ? (random.chance(40) ? "> > " : "> ") : "";
        const std::string bullet = random.chance(15) ? (random.chance(50) ? "• " : "1. ") : "";
        // Hard-wrapped near 72 columns, reckoned as bytes over two: near enough for a corpus.
        std::size_t start = 0;
        bool first = true;
        while (start < text.size()) {
            std::size_t end = std::min(text.size(), start + 120 + random.below(40));
            if (end < text.size()) {
                const std::size_t space = text.rfind(' ', end);
                if (space != std::string::npos && space > start) end = space;
                else end = text.find(' ', end) == std::string::npos ? text.size() : text.find(' ', end);
            }
            out += prefix + (first ? bullet : "") + text.substr(start, end - start) + "\n";
            first = false;
            start = end < text.size() ? end + 1 : end;
        }
        out += random.chance(80) ? "\n" : "";
    }
    return out;
}
