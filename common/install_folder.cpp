#include "install_folder.h"

std::optional<std::string> InstallFolderFromValue(const std::optional<std::string>& value)
{
    if (!value || value->empty())
        return std::nullopt;
    std::string folder = *value;
    if (folder.back() != '\\')
        folder += '\\';
    return folder;
}
