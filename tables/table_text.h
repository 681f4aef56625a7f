// Text helpers shared by both table records: the white space the line
// formats trim, the clean-up a field gets when it is read from a line, and
// the case-insensitive comparison that finds a row by its key.
//
// Table text is ANSI text in the system code page (Windows-1252): one byte
// is one character, and bytes from 128 up are ordinary characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Space, tab, CR, LF, vertical tab and form feed; nothing else (in
// particular not the no-break space 0xA0).
constexpr bool IsTableWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimLeadingWhiteSpace(std::string_view text);
std::string_view TrimTrailingWhiteSpace(std::string_view text);

// Text cut to at most `limit` characters.
constexpr std::string_view CutText(std::string_view text, std::size_t limit)
{
    return text.substr(0, limit);
}

// The clean-up of a key or remark read from a line, in this order: leading
// white space goes, the rest is cut to `limit` characters, then trailing
// white space goes (so a cut never leaves a trailing space behind).
std::string CleanField(std::string_view text, std::size_t limit);

// One character folded to lower case the way Windows-1252 pairs its
// letters: A-Z, the accented capitals 0xC0-0xDE (not the sign 0xD7), and
// the pairs S/Z/OE with caron or ligature and Y with diaeresis.
char FoldTableCase(char c);

// Whole-string comparison, ignoring case as FoldTableCase does. Keys are
// found with it ("TXT" finds the row "txt").
bool KeysEqual(std::string_view a, std::string_view b);

// `key` with every character folded: two keys are equal (KeysEqual)
// exactly when their folded forms are the same string.
std::string FoldTableKey(std::string_view key);
