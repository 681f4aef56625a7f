#include "table_path.h"

std::string ProgramFolder(std::string_view programPath)
{
    const std::size_t last = programPath.find_last_of("\\/");
    if (last == std::string_view::npos)
        return std::string();
    return std::string(programPath.substr(0, last + 1));
}

std::string GetTablePath(const std::optional<std::string>& installFolder,
                         std::string_view programPath, std::string_view fileName)
{
    std::string path;
    if (installFolder && !installFolder->empty()) {
        path = *installFolder;
        if (path.back() != '\\')
            path += '\\';
    } else {
        path = ProgramFolder(programPath);
    }
    path += fileName;
    return path;
}
