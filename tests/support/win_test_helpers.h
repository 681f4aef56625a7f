// Helpers the Windows tests of the programs share: the message pump, the
// test program's folder, the clipboard's text, reading a modal dialog, pointing the installation
// folder somewhere for one test, and stand-ins for the help program.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vtest {

// Dispatches every message waiting for this thread (WM_QUIT is dropped).
void PumpWaitingMessages();

// The folder of this test program, ending in "\".
std::string TestProgramFolder();

// Opens a modal dialog by `open` and, once it is up, reads the texts of its
// controls (by id) and its caption (id -1), counts its icons (id -2),
// joins the texts of controls without id (id -3), then presses OK.
std::map<int, std::string> CaptureModalDialog(const std::function<void()>& open);

// Puts `text` on the clipboard as CF_TEXT (empties it for null).
void SetClipboardText(HWND owner, const char* text);

// The command ids of a menu and its popups, in order (separators left out).
std::vector<UINT> MenuCommandIds(HMENU menu);

// Writes what the screen shows of `window` as a 24-bit BMP file (for the
// pictures of the documentation).
void SaveWindowPicture(HWND window, const std::string& path);

// Points the installation folder (registry "Path") at `folder` for one test
// and puts the earlier value back afterwards.
class InstallFolderOverride {
public:
    explicit InstallFolderOverride(const std::string& folder);
    ~InstallFolderOverride();
    InstallFolderOverride(const InstallFolderOverride&) = delete;
    InstallFolderOverride& operator=(const InstallFolderOverride&) = delete;

private:
    bool m_hadValue = false;
    std::string m_old;
};

// Puts help_recorder.exe (beside the test program) in place of the
// prefix's help program for one test: each start appends its command line
// to a file.
class HelpProgramRecorder {
public:
    HelpProgramRecorder();
    ~HelpProgramRecorder();
    HelpProgramRecorder(const HelpProgramRecorder&) = delete;
    HelpProgramRecorder& operator=(const HelpProgramRecorder&) = delete;
    bool Installed() const { return installed_; }
    // The command lines recorded so far, after waiting up to 15 s for `count`.
    std::vector<std::string> WaitForLines(size_t count) const;

private:
    std::string program_, backup_, record_;
    bool installed_ = false;
};

// Stands in for a running help window: the system's WinHelp hands its
// request (command, data, file) to the window of class "MS_WINHELP".
class HelpWindow {
public:
    struct Request {
        UINT command;
        LONG data;
        std::string file;
    };
    HelpWindow();
    ~HelpWindow();
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;
    static std::vector<Request> s_requests;

private:
    HWND hwnd_;
};

}  // namespace vtest
