#include "selection.h"

#include <winnetwk.h>
#include <winspool.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "molven32.h"
#include "selection_blocks.h"

static_assert(sizeof(NETRESOURCEA) == kNetResourceEntrySize);
static_assert(offsetof(NETRESOURCEA, lpRemoteName) == 16 + sizeof(void*));
static_assert(offsetof(NETRESOURCEA, lpProvider) == 16 + 3 * sizeof(void*));

namespace {

// The global memory of a medium, locked while the reader runs.
class LockedBlock {
public:
    explicit LockedBlock(const STGMEDIUM& medium)
        : handle_(medium.tymed == TYMED_HGLOBAL ? medium.hGlobal : nullptr),
          data_(handle_ ? static_cast<const uint8_t*>(GlobalLock(handle_)) : nullptr),
          size_(data_ ? GlobalSize(handle_) : 0)
    {
    }
    ~LockedBlock()
    {
        if (data_)
            GlobalUnlock(handle_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    HGLOBAL handle_;
    const uint8_t* data_;
    size_t size_;
};

CString ToAnsi(const std::u16string& wide)
{
    std::wstring w(wide.begin(), wide.end());
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, w.c_str(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return CString(std::move(out));
}

}  // namespace

CString MapDriveToNetworkName(const CString& path)
{
    if (path.size() < 2 || path[1] != ':')
        return path;
    const char drive[3] = {path[0], ':', '\0'};
    char remote[261] = "";
    DWORD size = 260;
    if (WNetGetConnectionA(drive, remote, &size) != NO_ERROR)
        return path;
    CString name = remote;
    if (path.size() > 3) {
        name.push_back('\\');
        name.append(path, 3, std::string::npos);
    }
    return name;
}

UINT GetFirstDroppedName(const STGMEDIUM& medium, CString& name)
{
    LockedBlock block(medium);
    if (block.data() == nullptr)
        return 0;
    const auto list = ReadDropList(block.data(), block.size());
    if (!list || list->count == 0)
        return 0;
    name = MapDriveToNetworkName(list->wide ? ToAnsi(list->firstWide) : CString(list->first));
    if (AFPGetNameBitmap(name.c_str()) == 0)
        return 0;
    return list->count;
}

UINT GetNetResourceName(const STGMEDIUM& medium, CString& name)
{
    LockedBlock block(medium);
    if (block.data() == nullptr)
        return 0;
    const auto selection = ReadNetResourceBlock(block.data(), block.size());
    if (!selection || selection->last.provider != "AppleTalk Network")
        return 0;
    name = selection->last.remoteName;
    return selection->count;
}

BOOL FindPrinterPort(const char* printerName, CString& port, CString& printer)
{
    DWORD needed = 0, returned = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    if (needed == 0)
        return FALSE;
    auto* info = static_cast<BYTE*>(LocalAlloc(LPTR, needed));
    if (info == nullptr)
        return FALSE;
    BOOL found = FALSE;
    if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, info, needed, &needed, &returned)) {
        const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(info);
        for (DWORD i = 0; i < returned && !found; ++i) {
            if (printers[i].pPrinterName != nullptr && std::strcmp(printers[i].pPrinterName, printerName) == 0) {
                port = printers[i].pPortName ? printers[i].pPortName : "";
                printer = printers[i].pPrinterName;
                found = TRUE;
            }
        }
    }
    LocalFree(info);
    return found;
}
