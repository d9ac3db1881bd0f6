#pragma once
// Single-owner holders of kernel and registry handles.
#include "platform/win32/Win32Api.h"

namespace platform::win32 {

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE
// mean "none", as different calls report failure with either.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Release() {
        HANDLE h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(HANDLE handle = nullptr) {
        if (*this) ::CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// An open registry key closed with RegCloseKey.
class UniqueKey {
public:
    UniqueKey() = default;
    ~UniqueKey() { Reset(); }
    UniqueKey(UniqueKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    UniqueKey& operator=(UniqueKey&& other) noexcept {
        if (this != &other) {
            Reset();
            key_ = other.key_;
            other.key_ = nullptr;
        }
        return *this;
    }
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;

    HKEY Get() const { return key_; }
    // For the out-parameter of RegOpenKeyEx / RegCreateKeyEx.
    HKEY* Receive() {
        Reset();
        return &key_;
    }
    explicit operator bool() const { return key_ != nullptr; }
    void Reset() {
        if (key_) ::RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace platform::win32
