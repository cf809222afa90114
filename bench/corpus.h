// Deterministic benchmark texts: a realistic corpus of pasted mail and articles, and the
// pathological inputs that would expose a pass that is not linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A small fixed-seed generator, so every machine builds byte-identical texts.
class Bench_random {
public:
    explicit Bench_random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

// E-mail replies with nested "> " marks, hard-wrapped paragraphs, lists of every kind,
// irregular spacing and tabs; at least min_size bytes, LF line ends.
std::string make_corpus(std::size_t min_size);

// Mail in Greek, Russian, Chinese, Japanese and Korean in UTF-8, with reply marks, lists and
// irregular spacing; at least min_size bytes, LF line ends.
std::string make_utf8_corpus(std::size_t min_size);
