#include "app/text_file.h"

#include <cstring>

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

}  // namespace

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
                           DWORD& error)
{
    error = 0;
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
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit)
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
    if (std::memchr(content.data(), '\0', content.size())) return Read_status::has_nul;
    text.swap(content);
    return Read_status::ok;
}

bool write_text_file(const std::string& path, const std::string& text, DWORD& error)
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
    bool ok = file.valid() && write_all(file.get(), text) && FlushFileBuffers(file.get());
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
