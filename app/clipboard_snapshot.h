// A copy of everything the clipboard holds, to be put back later: every format in the order the
// clipboard lists it, each copied by its own kind of handle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How a format's data is held, and so how it is copied.
enum class Format_kind {
    // Not copied: the handle's kind is unknown (private and GDI-object ranges, formats this
    // program does not know below the registered ones), it shows only through its owner
    // (CF_OWNERDISPLAY), or it names the copying program's window rather than holding data
    // (OLE's "DataObject").
    none,
    global,
    bitmap,
    palette,
    enhanced_metafile,
    metafile_picture,
};
// name: the registered name of a registered format (from 0xC000), else empty.
Format_kind format_kind(UINT format, const std::wstring& name);

// Owns the copies until they are handed back to the clipboard or the snapshot goes.
// The formats Windows makes from another one (CF_TEXT beside CF_UNICODETEXT, CF_DIB beside
// CF_BITMAP...) are copied and put back as they read, like the rest: nothing depends on which of
// them the copying program put there, and each reads back exactly as it did.
class Clipboard_snapshot {
public:
    Clipboard_snapshot() = default;
    ~Clipboard_snapshot() { clear(); }
    Clipboard_snapshot(Clipboard_snapshot&& other) noexcept : items_(std::move(other.items_)) { other.items_.clear(); }
    Clipboard_snapshot& operator=(Clipboard_snapshot&& other) noexcept;
    Clipboard_snapshot(const Clipboard_snapshot&) = delete;
    Clipboard_snapshot& operator=(const Clipboard_snapshot&) = delete;

    // Copies every format the open clipboard offers; a format its owner cannot render now, or
    // whose data cannot be read, is left out. False when memory or a handle runs out.
    bool take();
    // Puts every copy on the clipboard, which the caller has opened and emptied; the clipboard
    // owns them from then on. False when one could not be put back.
    bool restore();
    void clear();
    bool empty() const { return items_.empty(); }
    std::vector<UINT> formats() const;

private:
    struct Item {
        UINT format;
        Format_kind kind;
        HANDLE handle;
    };
    std::vector<Item> items_;
};
