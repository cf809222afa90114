#include "app/text_file.h"

#include <cstring>

#include "engine/unicode.h"
#include "framework/strings.h"

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close()
    {
        if (!valid()) return true;
        BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE h_;
};

bool write_all(HANDLE file, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const std::size_t chunk = text.size() - done < 65536 ? text.size() - done : 65536;
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(chunk), &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += written;
    }
    return true;
}

// The engine's Windows-1252 is the ANSI code page as shipped; elsewhere the system converts.
bool ansi_is_1252() { return GetACP() == 1252; }

bool decode_system_ansi(const std::string& bytes, std::string& text)
{
    if (bytes.empty()) return text.clear(), true;
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &wide[0], n);
    text = to_utf8(wide);
    return true;
}

// Character by character, so that the first one the code page lacks can be named.
bool encode_system_ansi(const std::string& text, std::string& bytes, Unencodable& bad)
{
    std::string out;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        const std::size_t length = d.size > 0 ? d.size : 1;
        const std::wstring wide = widen(text.substr(i, length));
        BOOL defaulted = FALSE;
        char buffer[8];
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                          static_cast<int>(wide.size()), buffer, sizeof buffer,
                                          nullptr, &defaulted);
        if (n <= 0 || defaulted) {
            bad.code = d.code;
            bad.line = line;
            bytes.clear();
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
        i += length;
    }
    bytes.swap(out);
    return true;
}

}  // namespace

bool decode_file_text(const std::string& bytes, Text_encoding encoding, std::string& text,
                      std::string& problem)
{
    if (encoding == Text_encoding::ansi && !ansi_is_1252()) {
        if (decode_system_ansi(bytes, text)) return true;
        problem = "The file is not text in the system's code page.";
        return false;
    }
    return decode_text(bytes, encoding, text, problem);
}

bool encode_file_text(const std::string& text, Text_encoding encoding, std::string& bytes,
                      Unencodable& bad)
{
    if (encoding == Text_encoding::ansi && !ansi_is_1252())
        return encode_system_ansi(text, bytes, bad);
    return encode_text(text, encoding, bytes, bad);
}

std::string encoding_label(Text_encoding encoding)
{
    switch (encoding) {
    case Text_encoding::ansi: return "ANSI";
    case Text_encoding::utf8: return "UTF-8";
    case Text_encoding::utf8_bom: return "UTF-8 with BOM";
    case Text_encoding::utf16le: return "UTF-16 LE";
    case Text_encoding::utf16be: return "UTF-16 BE";
    }
    return std::string();
}

std::string file_name_of(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string directory_of(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return ".";
    // "C:\name" keeps its root backslash; so does "\name".
    if (cut == 0 || (cut == 2 && path[1] == ':')) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

Read_status read_text_file(const std::string& path, std::size_t limit, std::string& text,
                           Text_encoding& encoding, DWORD& error, std::string& problem)
{
    error = 0;
    // No encoding takes more than four bytes for two of the editor's units (or three for one).
    const unsigned long long byte_limit = 3ull * limit + 3;
    Handle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        error = GetLastError();
        return Read_status::failed;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) {
        error = GetLastError();
        return Read_status::failed;
    }
    // Some systems let a folder be opened like a file; it holds no text either way.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = ERROR_ACCESS_DENIED;
        return Read_status::failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        error = GetLastError();
        return Read_status::failed;
    }
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > byte_limit)
        return Read_status::too_large;

    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < content.size()) {
        DWORD n = 0;
        if (!ReadFile(file.get(), &content[got], static_cast<DWORD>(content.size() - got), &n,
                      nullptr)) {
            error = GetLastError();
            return Read_status::failed;
        }
        if (n == 0) break;  // the file shrank while we read it
        got += n;
    }
    content.resize(got);
    // The file may also have grown since its size was taken.
    char extra = 0;
    DWORD n = 0;
    if (ReadFile(file.get(), &extra, 1, &n, nullptr) && n != 0) return Read_status::too_large;
    const Text_encoding found = detect_encoding(content);
    std::string decoded;
    if (!decode_file_text(content, found, decoded, problem)) return Read_status::bad_encoding;
    // The zero bytes of UTF-16 are not NUL characters; a NUL decoded is.
    if (std::memchr(decoded.data(), '\0', decoded.size())) return Read_status::has_nul;
    if (widen(decoded).size() > limit) return Read_status::too_large;
    text.swap(decoded);
    encoding = found;
    return Read_status::ok;
}

bool write_text_file(const std::string& path, const std::string& bytes, DWORD& error)
{
    error = 0;
    // A read-only file is never replaced, whatever the file system would allow.
    const std::wstring target = widen(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    wchar_t temp[MAX_PATH] = L"";
    if (!GetTempFileNameW(widen(directory_of(path)).c_str(), L"sv", 0, temp)) {
        error = GetLastError();
        return false;
    }
    Handle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file.valid() && write_all(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!ok) error = GetLastError();
    // Closed before anything else: an open file could be neither moved nor deleted.
    if (!file.close() && ok) {
        ok = false;
        error = GetLastError();
    }
    if (ok && !MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temp);
        if (error == 0) error = ERROR_WRITE_FAULT;
    }
    return ok;
}
