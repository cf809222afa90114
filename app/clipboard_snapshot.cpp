#include "app/clipboard_snapshot.h"

#include <cstring>

namespace {

// Data that cannot be read (an empty or broken handle) gives none to keep: unreadable.
HGLOBAL copy_global(HANDLE source, bool& unreadable)
{
    const SIZE_T size = GlobalSize(source);
    const void* from = size ? GlobalLock(source) : nullptr;
    unreadable = !from;
    if (!from) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (to) {
        std::memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(source);
    return copy;
}

HPALETTE copy_palette(HPALETTE source)
{
    WORD count = 0;
    if (!GetObjectW(source, sizeof count, &count) || count == 0) return nullptr;
    std::vector<BYTE> memory(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = count;
    if (GetPaletteEntries(source, 0, count, palette->palPalEntry) != count) return nullptr;
    return CreatePalette(palette);
}

// The METAFILEPICT and the metafile it names.
HGLOBAL copy_metafile_picture(HANDLE source)
{
    if (GlobalSize(source) < sizeof(METAFILEPICT)) return nullptr;
    const auto* from = static_cast<const METAFILEPICT*>(GlobalLock(source));
    if (!from) return nullptr;
    METAFILEPICT picture = *from;
    GlobalUnlock(source);
    picture.hMF = CopyMetaFileW(picture.hMF, nullptr);
    if (!picture.hMF) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, sizeof picture);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (!to) {
        if (copy) GlobalFree(copy);
        DeleteMetaFile(picture.hMF);
        return nullptr;
    }
    std::memcpy(to, &picture, sizeof picture);
    GlobalUnlock(copy);
    return copy;
}

HANDLE copy_handle(Format_kind kind, HANDLE source, bool& unreadable)
{
    unreadable = false;
    switch (kind) {
    case Format_kind::global: return copy_global(source, unreadable);
    case Format_kind::bitmap: return CopyImage(source, IMAGE_BITMAP, 0, 0, 0);
    case Format_kind::palette: return copy_palette(static_cast<HPALETTE>(source));
    case Format_kind::enhanced_metafile: return CopyEnhMetaFileW(static_cast<HENHMETAFILE>(source), nullptr);
    case Format_kind::metafile_picture: return copy_metafile_picture(source);
    case Format_kind::none: break;
    }
    return nullptr;
}

void free_handle(Format_kind kind, HANDLE handle)
{
    switch (kind) {
    case Format_kind::global: GlobalFree(handle); break;
    case Format_kind::bitmap:
    case Format_kind::palette: DeleteObject(handle); break;
    case Format_kind::enhanced_metafile: DeleteEnhMetaFile(static_cast<HENHMETAFILE>(handle)); break;
    case Format_kind::metafile_picture:
        if (const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(handle))) {
            DeleteMetaFile(picture->hMF);
            GlobalUnlock(handle);
        }
        GlobalFree(handle);
        break;
    case Format_kind::none: break;
    }
}

std::wstring registered_name(UINT format)
{
    if (format < 0xC000) return std::wstring();
    wchar_t name[256] = L"";
    const int n = GetClipboardFormatNameW(format, name, 256);
    return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

Format_kind format_kind(UINT format, const std::wstring& name)
{
    if (format >= 0xC000) return name == L"DataObject" ? Format_kind::none : Format_kind::global;
    switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP: return Format_kind::bitmap;
    case CF_PALETTE: return Format_kind::palette;
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE: return Format_kind::enhanced_metafile;
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT: return Format_kind::metafile_picture;
    case CF_TEXT: case CF_SYLK: case CF_DIF: case CF_TIFF: case CF_OEMTEXT: case CF_DIB:
    case CF_PENDATA: case CF_RIFF: case CF_WAVE: case CF_UNICODETEXT: case CF_HDROP:
    case CF_LOCALE: case CF_DIBV5: case CF_DSPTEXT:
        return Format_kind::global;
    }
    return Format_kind::none;
}

Clipboard_snapshot& Clipboard_snapshot::operator=(Clipboard_snapshot&& other) noexcept
{
    if (this != &other) {
        clear();
        items_ = std::move(other.items_);
        other.items_.clear();
    }
    return *this;
}

bool Clipboard_snapshot::take()
{
    clear();
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        const Format_kind kind = format_kind(format, registered_name(format));
        if (kind == Format_kind::none) continue;
        HANDLE data = GetClipboardData(format);
        if (!data) continue;
        bool unreadable = false;
        HANDLE copy = copy_handle(kind, data, unreadable);
        if (unreadable) continue;
        if (!copy) return false;
        items_.push_back({format, kind, copy});
    }
    return true;
}

bool Clipboard_snapshot::restore()
{
    bool all = true;
    for (Item& item : items_) {
        if (SetClipboardData(item.format, item.handle)) {
            item.handle = nullptr;
        } else {
            all = false;
        }
    }
    clear();
    return all;
}

void Clipboard_snapshot::clear()
{
    for (const Item& item : items_)
        if (item.handle) free_handle(item.kind, item.handle);
    items_.clear();
}

std::vector<UINT> Clipboard_snapshot::formats() const
{
    std::vector<UINT> formats;
    for (const Item& item : items_) formats.push_back(item.format);
    return formats;
}
