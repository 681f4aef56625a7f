#include "extension_chars.h"

#include <cstring>

bool IsExtensionChar(unsigned char c)
{
    if (c == '\b' || c == ' ' || c == '@' || c >= 128)
        return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    static const char kPunctuation[] = "!#$%&'()+,-;=[]^_`{}~";
    return c != 0 && std::strchr(kPunctuation, c) != nullptr;
}
