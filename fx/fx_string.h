// CString: the framework's string, a std::string with the few operations the
// programs use on it (string-table loading, printf-style and "%1"-style
// formatting).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CString : public std::string {
public:
    using std::string::string;
    CString() = default;
    CString(const std::string& s) : std::string(s) {}
    CString(std::string&& s) : std::string(std::move(s)) {}

    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }
    const char* GetString() const { return c_str(); }

    // Loads string `id` from the resource module; FALSE (and empty) when the
    // table has no such entry.
    BOOL LoadString(UINT id);
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// Text of string-table entry `id` ("" when missing).
CString FxLoadString(UINT id);

// Replaces "%1".."%9" in `format` by the given texts.
CString FxFormatStrings(const char* format, const std::vector<std::string>& args);

// The part of a string-table entry before the first "\n" (the status-bar
// prompt) or after it (the tool tip).
CString FxPromptPart(const std::string& entry);
CString FxTipPart(const std::string& entry);

// Field `index` of a "\n"-separated list ("" past its end).
CString FxSubString(const std::string& text, int index, char separator = '\n');

// The module whose resources the framework loads (the program itself unless
// set otherwise).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
