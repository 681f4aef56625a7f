// The printed lines of a table: each row one line of 81 characters, the key
// column as wide as the longest key, columns two spaces apart, the remark
// padded or cut to what is left; each page under a header with the
// document's name and the page number.
#pragma once

#include <string>

class CDevTypeEntry;
class CKorvelEntry;

// The header of a page: the document's path name, or its title when the
// path is longer than 68 characters, then spaces so that `pageText` ends
// at the 81st character.
std::string TablePageHeader(const std::string& pathName, const std::string& title, const std::string& pageText);

// Type, "PostScript" or "NON-PostScript" (padded to 14), remark. The flag
// itself does not change.
std::string TablePrintLine(const CDevTypeEntry& entry, int keyWidth);
// Extension, type and creator in quotes, remark. Type and creator are
// normalized first, as when saving ("XLS" becomes, and stays, "XLS ").
std::string TablePrintLine(CKorvelEntry& entry, int keyWidth);
