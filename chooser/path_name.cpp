#include "chooser/path_name.h"

CString CPathName::GetFileTitle() const
{
    const std::size_t cut = find_last_of("\\/:");
    return cut == npos ? CString(*this) : CString(substr(cut + 1));
}
