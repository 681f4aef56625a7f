// A real atnetd.exe for one test: started from the test's own folder on a
// free loopback port, in a fresh temporary folder holding its world, trace,
// spool and state; the libraries are pointed at it through VESTREL_ATNETD.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>

#include "atalk_records.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// ntdll's (linked through its import library): every thread of a process.
extern "C" LONG NTAPI NtSuspendProcess(HANDLE process);
extern "C" LONG NTAPI NtResumeProcess(HANDLE process);

namespace attest {

inline std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A unix path (as CMake gives it) in Wine's Z: drive.
inline std::string WinePath(std::string unixPath)
{
    if (!unixPath.empty() && unixPath[0] == '/')
        unixPath = "Z:" + unixPath;
    for (auto& c : unixPath)
        if (c == '/')
            c = '\\';
    return unixPath;
}

// Points the installation folder (HKLM "SOFTWARE\VESTREL\QUARNET\2.0"
// value "Path", read in the 32-bit view) at `folder`; ClearInstallFolder
// removes the key again.
inline bool SetInstallFolder(const std::string& folder)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VESTREL\\QUARNET\\2.0", 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

inline void ClearInstallFolder()
{
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\VESTREL\\QUARNET\\2.0", KEY_WOW64_32KEY, 0);
}

class AtnetdProcess {
public:
    AtnetdProcess()
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        static int serial = 0;
        dir_ = std::string(tmp) + "atnetd-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
    }
    ~AtnetdProcess()
    {
        Kill();
        RemoveTree(dir_);
    }

    // Starts the service on `worldText` (JSON); false when it did not come up.
    bool Start(const std::string& worldText)
    {
        WriteFile(dir_ + "world.json", worldText);
        return Launch();
    }
    bool StartWorldFile(const std::string& path)
    {
        WriteFile(dir_ + "world.json", ReadFile(path));
        return Launch();
    }
    // Starts again on the same folder (world, state); the trace starts anew.
    bool Restart()
    {
        Kill();
        return Launch();
    }

    void Kill()
    {
        if (process_) {
            TerminateProcess(process_, 9);
            WaitForSingleObject(process_, 10000);
            CloseHandle(process_);
            process_ = nullptr;
        }
    }

    // Stops every thread of the service and lets them go on again: a
    // service that stalls without closing its connections.
    bool Suspend() { return process_ && NtSuspendProcess(process_) == 0; }
    bool Resume() { return process_ && NtResumeProcess(process_) == 0; }

    int Port() const { return port_; }
    const std::string& Dir() const { return dir_; }
    std::string SpoolDir() const { return dir_ + "spool\\"; }

    std::vector<nlohmann::json> Trace() const
    {
        std::vector<nlohmann::json> lines;
        std::istringstream in(ReadFile(dir_ + "trace.jsonl"));
        std::string line;
        while (std::getline(in, line))
            if (!line.empty())
                lines.push_back(nlohmann::json::parse(line, nullptr, false));
        return lines;
    }
    // The trace lines of one operation, in order.
    std::vector<nlohmann::json> TraceOf(const std::string& op) const
    {
        std::vector<nlohmann::json> out;
        for (auto& l : Trace())
            if (l.contains("op") && l["op"] == op)
                out.push_back(l);
        return out;
    }

    // The same once there are at least `count` lines, or at the time limit:
    // notes (MPPAlloc, MPPFree) and late answers reach the trace a moment
    // after the call that caused them returned.
    std::vector<nlohmann::json> AwaitTraceOf(const std::string& op, std::size_t count, DWORD limitMs = 5000) const
    {
        const DWORD start = GetTickCount();
        auto lines = TraceOf(op);
        while (lines.size() < count && GetTickCount() - start < limitMs) {
            Sleep(10);
            lines = TraceOf(op);
        }
        return lines;
    }

    std::vector<std::string> SpoolFiles() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((SpoolDir() + "*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        return names;
    }

private:
    bool Launch()
    {
        const std::string portFile = dir_ + "port";
        DeleteFileA(portFile.c_str());
        std::string cmd = "\"" + ExeFolder() + "atnetd.exe\" --world \"" + dir_ + "world.json\" --listen 127.0.0.1:0" +
                          " --trace \"" + dir_ + "trace.jsonl\" --spool \"" + dir_ + "spool\" --state \"" + dir_ +
                          "state.json\" --port-file \"" + portFile + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::vector<char> line(cmd.begin(), cmd.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        port_ = 0;
        for (int i = 0; i < 500 && port_ == 0; ++i) {
            const std::string text = ReadFile(portFile);
            port_ = std::atoi(text.c_str());
            if (port_ == 0) {
                if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0)
                    return false;  // it exited: the world was refused
            }
        }
        if (port_ == 0)
            return false;
        const std::string address = "127.0.0.1:" + std::to_string(port_);
        SetEnvironmentVariableA("VESTREL_ATNETD", address.c_str());
        return true;
    }

    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = fd.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(dir + name + "\\");
                else
                    DeleteFileA((dir + name).c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string dir_;
    HANDLE process_ = nullptr;
    int port_ = 0;
};

// Polls a block's result as the programs do, with a limit so a bug fails
// the test instead of hanging it.
template <typename Block>
int32_t WaitResult(const Block& b, DWORD limitMs = 10000)
{
    const DWORD start = GetTickCount();
    while (ATLoadResult(b.header) == kATResultPending) {
        if (GetTickCount() - start > limitMs)
            return kATResultPending;
        Sleep(1);
    }
    return ATLoadResult(b.header);
}

}  // namespace attest
