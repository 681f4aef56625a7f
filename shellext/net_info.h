// The information records: everything a page shows about one selected
// AppleTalk object, read from the stack when the record is made. One class
// per kind of object; the kind codes are the bits AFPGetNameBitmap gives.
//
// A record is valid when it could be filled; a record that is not valid is
// deleted at once and offers no page. Accessors by index give "", -1 or no
// date past the end of their array.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "fx/fx_string.h"
#include "fx/object.h"

enum NetObjectKind : int16_t {
    NETOBJ_NONE = 0,
    NETOBJ_ZONE = 0x0001,
    NETOBJ_SERVER = 0x0002,
    NETOBJ_VOLUME = 0x0004,
    NETOBJ_FOLDER = 0x0008,
    NETOBJ_FILE = 0x0010,
    NETOBJ_PRINTER = 0x0800,
};

// Flags of m_wAttributes.
enum NetInfoAttribute : uint16_t {
    NA_ALLOWSCHANGEPWD = 0x0001,  // server allows password change
    NA_TCPIP = 0x0002,            // server supports TCP/IP
    NA_READONLY = 0x0004,         // file, volume
    NA_SYSTEM = 0x0008,           // file, folder
    NA_RENAMEINHIBIT = 0x0010,    // file, folder
    NA_DELETEINHIBIT = 0x0020,    // file, folder
    NA_COPYPROTECT = 0x0040,      // file
    NA_HASPASSWORD = 0x0100,      // volume
};

class CNetInfoObj : public CObject {
public:
    CNetInfoObj(int16_t kind, const char* path);
    ~CNetInfoObj() override;

    CString m_strPath;                                // the network path or name it was made from
    std::vector<CString> m_names;                     // meaning per kind
    uint16_t m_wAttributes = 0;                       // NetInfoAttribute flags
    int16_t m_nKind;
    std::vector<DWORD> m_numbers;                     // meaning per kind
    std::vector<std::unique_ptr<int32_t>> m_dates;    // seconds since 1970 (UTC), or null: no date
    int m_bMultiple = 0;                              // stands for a multiple selection
    int m_bValid = 1;                                 // cleared when filling failed

    // m_names[0], or "".
    virtual CString GetName() const { return GetNameAt(0); }
    // Sizes the arrays for the kind.
    virtual void InitArrays() = 0;

    CString GetNameAt(size_t index) const;
    long GetNumberAt(size_t index) const;               // -1 past the end
    std::optional<int32_t> GetDateAt(size_t index) const;
    void SetDate(size_t index, std::optional<int32_t> seconds);

    // Records alive in this module; a leak or a double delete shows here.
    static LONG LiveCount();

protected:
    void SizeArrays(size_t names, size_t numbers, size_t dates);
};
