#include "framework/strings.h"

#include <vector>

#include "framework/window.h"

std::string load_string(int id)
{
    std::vector<char> buffer(256);
    for (;;) {
        int n = LoadStringA(module_instance(), static_cast<UINT>(id), buffer.data(),
                            static_cast<int>(buffer.size()));
        if (n <= 0) return std::string();
        // A string that fills the buffer may have been cut: try again with more room.
        if (static_cast<std::size_t>(n) < buffer.size() - 1 || buffer.size() >= 65536)
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 4);
    }
}

std::string string_line(const std::string& text, int index)
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        std::size_t next = text.find('\n', start);
        if (next == std::string::npos) return std::string();
        start = next + 1;
    }
    std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
