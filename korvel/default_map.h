// The built-in extension map: the rows Korvel starts with when its map file
// cannot be read, in this order.
#pragma once

#include <array>

struct DefaultMapRow {
    const char* extension;
    const char* macType;
    const char* macCreator;
    const char* remark;
};

// Type and creator are exactly four characters; a trailing space is part of
// the code ("XLS "). "Text" (row 1) and "TEXT" are different types.
inline constexpr std::array<DefaultMapRow, 16> kDefaultMap{{
    {"com", "BINA", "mdos", "MS-DOS Executable"},
    {"doc", "Text", "MSWD", "Microsoft Word"},
    {"exe", "BINA", "mdos", "MS-DOS Executable"},
    {"eps", "EPSF", "8BIM", "Photoshop"},
    {"fp", "FMPR", "FMPR", "FileMaker Pro"},
    {"pcd", "PCDI", "PCDv", "Kodak Photo CD"},
    {"pm", "ALB4", "ALD4", "PageMaker 4.0"},
    {"pm3", "ALB3", "ALD3", "PageMaker 3.0"},
    {"rtf", "TEXT", "MSWD", "Rich Text Format -> Microsoft Word"},
    {"qxd", "XDOC", "XPRS", "Quark Xpress"},
    {"tif", "TIFF", "????", "Tagged Image File Format"},
    {"txt", "TEXT", "ttxt", "SimpleText Document"},
    {"xls", "XLS ", "XCEL", "Microsoft Excel Spreadsheet"},
    {"xlc", "XLC ", "XCEL", "Microsoft Excel Chart"},
    {"xlm", "XLM ", "XCEL", "Microsoft Excel Macros"},
    {"xlw", "XLW ", "XCEL", "Microsoft Excel"},
}};
