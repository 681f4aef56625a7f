#include "download_command.h"

#include <io.h>
#include <windows.h>
#include <commdlg.h>

#include <memory>

#include "common/install_folder.h"
#include "download_dialog_ids.h"
#include "download_options_dlg.h"
#include "download_progress_dlg.h"
#include "fx/message_box.h"
#include "job_texts.h"
#include "rename_printer_dlg.h"
#include "vsxau20.h"
#include "win32_pap_stack.h"

namespace {
constexpr std::size_t kSelectionBufferSize = 4096;
const char kDownloadFilter[] = "PostScript Files (*.ps)\0*.ps\0Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

std::string FileNotAccessibleText(const std::string& path)
{
    CString text = FxLoadString(IDS_DL_FILE_NOT_ACCESSIBLE);
    if (text.IsEmpty())
        text = JobTextEnglish(IDS_FILE_NOT_ACCESSIBLE);
    return FormatJobText(text, path);
}
}  // namespace

std::string DownloadLogFolder()
{
    std::optional<std::string> folder = FindInstallFolder();
    if (!folder || folder->empty())
        return {};
    std::string dir = *folder;
    if (dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    return dir;
}

std::vector<std::string> SplitOpenFileSelection(const char* buffer, std::size_t size)
{
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < size && buffer[at] != '\0') {
        std::size_t end = at;
        while (end < size && buffer[end] != '\0')
            ++end;
        if (end == size)  // unterminated: not a valid selection
            break;
        parts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < parts.size(); ++i)
        paths.push_back(folder + parts[i]);
    return paths;
}

void RunDownloadCommand(CWnd* frame)
{
    Win32PapStack stack;
    StdioJobFiles files;
    RunDownloadCommand(frame, stack, files, DownloadLogFolder());
}

void RunDownloadCommand(CWnd* frame, PapStack& stack, JobFiles& files, const std::string& productDir)
{
    std::vector<char> selection(kSelectionBufferSize, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = frame ? frame->m_hWnd : nullptr;
    ofn.lpstrFilter = kDownloadFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = selection.data();
    ofn.nMaxFile = static_cast<DWORD>(selection.size());
    ofn.lpstrDefExt = "ps";
    ofn.Flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn))
        return;
    DownloadSelectedFiles(SplitOpenFileSelection(selection.data(), selection.size()), stack, files, productDir);
}

void DownloadSelectedFiles(const std::vector<std::string>& paths, PapStack& stack, JobFiles& files,
                           const std::string& productDir)
{
    std::unique_ptr<ZJobTicket> ticket;
    for (const std::string& path : paths) {
        if (_access(path.c_str(), 0) != 0) {
            AfxMessageBox(FileNotAccessibleText(path).c_str(), MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        if (!ticket)
            ticket = std::make_unique<ZJobTicket>(stack, path);
        else
            ticket->AddFile(path);
    }
    if (!ticket)
        return;

    CDownloadOptionsDlg options(ticket.get());
    if (options.DoModal() != IDOK)
        return;
    CDownloadProgressDlg progress(ticket.get(), stack, files, productDir);
    progress.DoModal();
}

void RunChangeNameCommand()
{
    Win32PapStack stack;
    StdioJobFiles files;
    RunChangeNameCommand(stack, files, DownloadLogFolder());
}

void RunChangeNameCommand(PapStack& stack, JobFiles& files, const std::string& logFolder)
{
    CRenamePrinterDlg dialog(stack, files, logFolder);
    dialog.DoModal();
}

void RunChooseCommand(CWnd* frame)
{
    _NBPTuple buffer;  // filled by the chooser; the choice travels as the stack's default printer
    VSXDeviceChooser(&buffer, 1, frame ? frame->m_hWnd : nullptr);
}

void RunPrinterStatusCommand(CWnd* frame) { VSXPrinterStatus(frame ? frame->m_hWnd : nullptr); }
