#include "fuzz/fuzz_input.h"

#include <algorithm>
#include <climits>

#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/catalogue.h"

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string bytes(std::size_t n)
    {
        n = std::min(n, size_ - at_);
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }
    std::string rest() { return bytes(size_ - at_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::int32_t setting_value(std::uint8_t v)
{
    static const std::int32_t extremes[16] = {INT32_MIN, INT32_MIN + 1, -1000000, -100, -2, -1,
                                              0,         1,             2,        4,    65, 72,
                                              1000,      1000000,       INT32_MAX - 1, INT32_MAX};
    return v & 0x80 ? extremes[v & 15] : static_cast<std::int32_t>(v & 0x7f) - 16;
}

bool bounded(const std::string& name)
{
    return name == "spac-tab stops" || name == "spac-num spaces to indent" ||
           name == "spac-lines between paras" || name == "list-num indent spaces";
}

}  // namespace

Fuzz_run decode_fuzz_input(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    const std::uint8_t first = in.byte();
    Fuzz_run run{builtin_preset(first & 1 ? Builtin_preset::full : Builtin_preset::light), {}, {}};
    Cleaning_settings& settings = run.settings;
    // The flags added later take the first byte's bits 1 to 5, so older inputs mean what they
    // meant (their first byte is 0 or 1).
    int bit = 1;
    for (const Setting_field& field : setting_fields)
        if (field.may_be_absent) field.integer.of(settings) = (first >> bit++) & 1;
    for (const Setting_field& field : setting_fields) {
        if (field.is_text() || field.may_be_absent) continue;
        std::uint8_t v = in.byte();
        if (v == 0xff) continue;  // keep the preset's value
        std::int32_t value = setting_value(v);
        if (bounded(field.name())) value = std::min(value, 32);
        field.integer.of(settings) = value;
    }
    settings.list_id_custom = in.bytes(in.byte() % 5);
    std::size_t growth = 1;
    for (int i = 0; i < 5; ++i) {
        std::string find = in.bytes(in.byte() % 5);
        std::string replacement = in.bytes(in.byte() % 9);
        if (!find.empty()) {
            // Each pair runs twice; a replacement can turn every byte into a whole copy of it.
            std::size_t factor = std::max<std::size_t>(1, replacement.size());
            if (growth * factor * factor > 16) find.clear();
            else growth *= factor * factor;
        }
        settings.misc_find[static_cast<std::size_t>(i)] = find;
        settings.misc_replace[static_cast<std::size_t>(i)] = replacement;
    }
    run.abbreviations = parse_abbreviations(in.bytes(in.byte()));
    run.text = in.rest();
    return run;
}

std::string run_fuzz_input(Fuzz_run& run)
{
    Line_list lines = text_to_line_list(run.text);
    Cleaner(run.settings, run.abbreviations).clean_lines(lines);
    return line_list_to_text(lines);
}
