// The abbreviation list: whole words, final period included, compared exactly and with case.
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_set>

class Abbreviations {
public:
    Abbreviations() = default;
    Abbreviations(std::initializer_list<std::string_view> words)
    {
        for (std::string_view word : words) insert(std::string(word));
    }
    void insert(std::string word);
    void clear();
    // Most words are ruled out by their length or first byte before a lookup: sentences in a
    // script the list has no word of cost nothing.
    bool contains(std::string_view word) const
    {
        if (word.empty() || word.size() > longest_ ||
            !first_bytes_[static_cast<unsigned char>(word[0])])
            return false;
        return words_.count(std::string(word)) != 0;
    }
    std::size_t size() const { return words_.size(); }
    bool operator==(const Abbreviations& other) const { return words_ == other.words_; }
    bool operator!=(const Abbreviations& other) const { return !(*this == other); }
    auto begin() const { return words_.begin(); }
    auto end() const { return words_.end(); }

private:
    std::unordered_set<std::string> words_;
    std::size_t longest_ = 0;
    std::bitset<256> first_bytes_;
};

// Parses the abbr.dat format: one entry per line (LF or CR LF), each line trimmed of whitespace,
// empty lines and lines starting with "#" skipped, inner blanks kept, a repeat stored once.
Abbreviations parse_abbreviations(std::string_view content);
