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

int ChildProcess::Wait(DWORD milliseconds, bool pumping) {
    if (!process_) return -1;
    const DWORD start = ::GetTickCount();
    bool ended = false;
    while (!ended) {
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= milliseconds) break;
        const DWORD result = pumping ? ::MsgWaitForMultipleObjects(1, &process_, FALSE, milliseconds - spent, QS_ALLINPUT)
                                     : ::WaitForSingleObject(process_, milliseconds - spent);
        if (result == WAIT_OBJECT_0) {
            ended = true;
        } else if (pumping && result == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        } else {
            break;
        }
    }
    if (!ended) {
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
