// One row of the extension map: a PC file extension (without its dot), the
// Macintosh file type and creator codes it stands for, and a remark. In the
// table file a row is one line:  com="BINA" "mdos" ;MS-DOS Executable
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CKorvelEntry {
public:
    static constexpr std::size_t kMaxExtension = 32;
    static constexpr std::size_t kMacCodeLength = 4;
    static constexpr std::size_t kMaxRemark = 40;

    CKorvelEntry() = default;
    CKorvelEntry(std::string extension, std::string macType, std::string macCreator,
                 std::string remark);

    // A new record from one line of a table file (without its line end), or
    // nothing when the line is malformed:
    //  - the extension is the text before the first equals sign;
    //  - after it, the type is the text between the next two double quotes,
    //    and after those the creator between the two quotes that follow;
    //  - the remark is what follows the first semicolon after the creator.
    // The extension loses leading white space, is cut to 32 characters and
    // loses trailing white space. The type is cut to 4 characters and keeps
    // its white space; the creator loses leading white space and is cut to
    // 4. The remark is cleaned like the extension, cut to 40.
    static std::unique_ptr<CKorvelEntry> ParseLine(std::string_view line);

    // Normalizes the record (below), then appends its line, CR LF included.
    void WriteLine(std::string& out);

    // Type and creator as they are written: cut or padded with spaces to
    // exactly four characters ("XLS" becomes "XLS "). The change stays.
    void Normalize();

    const std::string& GetKey() const { return m_strExtension; }

    bool operator==(const CKorvelEntry&) const = default;

    std::string m_strExtension;  // the key
    std::string m_strMacType;    // case-sensitive; spaces count
    std::string m_strMacCreator;  // case-sensitive; spaces count
    std::string m_strRemark;
};
