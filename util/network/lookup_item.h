// One found name as the lookup list shows it; the list item's data points
// at it and the list asks for its texts.
#pragma once

#include <string>

struct LookupItem {
    std::string m_strName;
    std::string m_strType;
    std::string m_strAddress;

    const std::string& Column(int column) const
    {
        return column == 0 ? m_strName : column == 1 ? m_strType : m_strAddress;
    }
};
