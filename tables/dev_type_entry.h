// One row of the printer type table: a printer type name, whether printers
// of that type speak PostScript, and a remark. In the table file a row is
// one line:  "LaserWriter" Y ;office printer
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CDevTypeEntry {
public:
    static constexpr std::size_t kMaxPrinterType = 32;
    static constexpr std::size_t kMaxRemark = 40;

    CDevTypeEntry() = default;
    CDevTypeEntry(std::string printerType, std::string postScript, std::string remark);

    // A new record from one line of a table file (without its line end), or
    // nothing when the line is malformed:
    //  - the printer type is the text between the first double quote and
    //    the next one (text before the first quote is ignored);
    //  - the flag is the first of Y, N, y, n after the closing quote, kept
    //    in the case found;
    //  - the remark is what follows the first semicolon after the flag.
    // Type and remark lose leading white space, are cut to 32 and 40
    // characters, then lose trailing white space.
    static std::unique_ptr<CDevTypeEntry> ParseLine(std::string_view line);

    // Normalizes the record (below), then appends its line, CR LF included.
    void WriteLine(std::string& out);

    // The flag as it is written: a longer flag is cut to its first
    // character, an empty one becomes a space. The change stays.
    void Normalize();

    // True when the flag marks a PostScript printer ("Y" or "y" first).
    bool IsPostScript() const;

    const std::string& GetKey() const { return m_strPrinterType; }

    bool operator==(const CDevTypeEntry&) const = default;

    std::string m_strPrinterType;  // the key
    std::string m_strPostScript;   // "Y" or "N" (a row read from a file keeps "y" or "n")
    std::string m_strRemark;
};
