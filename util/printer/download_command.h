// The Download command (File > Download...) and the two Printer commands
// that hand the work to the chooser library. Each runs modally over
// `frame`, the main frame.
#pragma once

#include <string>
#include <vector>

class CWnd;
class PapStack;
class JobFiles;

// The paths chosen in an Open File dialog with multiple selection: the
// buffer holds either one full path, or a folder followed by file names,
// each NUL-terminated, ending with an empty string.
std::vector<std::string> SplitOpenFileSelection(const char* buffer, std::size_t size);

// Open File dialog, one message per missing file, the options dialog,
// then the progress dialog. `stack` and `files` default to the real ones.
void RunDownloadCommand(CWnd* frame);
void RunDownloadCommand(CWnd* frame, PapStack& stack, JobFiles& files, const std::string& productDir);
// What follows the Open File dialog: the paths it returned, in order.
void DownloadSelectedFiles(const std::vector<std::string>& paths, PapStack& stack, JobFiles& files,
                           const std::string& productDir);
// The folder of "VestrelUtil.txt": the product folder with a separator at
// the end, or empty (the current directory) when none is installed.
std::string DownloadLogFolder();

// Printer > Change name...: the Change Printer Name dialog, modal, with no
// parent. `stack` and `files` default to the real ones; the rename's log
// line goes where the download's go.
void RunChangeNameCommand();
void RunChangeNameCommand(PapStack& stack, JobFiles& files, const std::string& logFolder);

// Printer > Choose... and Printer > Status.
void RunChooseCommand(CWnd* frame);
void RunPrinterStatusCommand(CWnd* frame);
