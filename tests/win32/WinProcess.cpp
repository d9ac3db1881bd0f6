#include "win32/WinProcess.h"

#include <vector>

namespace zrtest {

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
    }
}

ChildProcess::~ChildProcess() {
    if (process_) {
        Wait();
        ::CloseHandle(process_);
    }
}

int ChildProcess::Wait(DWORD milliseconds) {
    if (!process_) return -1;
    if (::WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_, 99);
        ::WaitForSingleObject(process_, 5000);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

bool CopyInto(const std::string& source, const std::string& target) {
    return ::CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

}  // namespace zrtest
