#pragma once
// A test that runs the units over a fresh set of platform services: the host
// stand-ins on Linux; on Windows the real profile files, file system, locks
// and registry with stand-ins for everything interactive. The module is
// installed in a folder of the test's own, no shared settings file is open
// and the debug switch is undecided.
//
// The real registry is one per machine: tests that run side by side and
// write the same keys (the browser's settings, the allowed sites) would see
// each other's values. Tests of the forms built over it take the stand-in
// registry on Windows too; the registry's own tests keep the real one.
#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "platform/host/HostPlatform.h"

class HostPlatformTest : public ::testing::Test {
protected:
    enum class RegistryUse { Real, StandIn };

    // A non-empty `sharedRoot` takes another test's folder instead of a fresh
    // one: a second process working on the same files.
    explicit HostPlatformTest(RegistryUse registry = RegistryUse::Real, const std::string& sharedRoot = "")
        : root_(sharedRoot.empty() ? temp_.Path() : sharedRoot), host_(root_), services_(MakeServices(registry)) {
        host_.module->SetFileName(InModule("Solvane.dll"));
        Files().CreateDirectory(ModuleFolder());
    }

    // "c:\Zephyra\" on the host (inside the temporary folder); a real folder
    // under the temporary directory on Windows.
    std::string ModuleFolder() const {
#ifdef _WIN32
        return root_ + "\\Zephyra\\";
#else
        return "c:\\Zephyra\\";
#endif
    }
    std::string InModule(const std::string& name) const { return ModuleFolder() + name; }

    platform::IFileSystem& Files() const { return *services_set_.files; }
    platform::IRegistry& Registry() const { return *services_set_.registry; }

    // The host stand-ins' files and profiles, for a test whose files must stay
    // inside its own drive c: also on Windows (the debug marker, the Windows folder).
    platform::ServiceSet HostFilesOnly() const {
        platform::ServiceSet set;
        set.profiles = host_.profiles;
        set.files = host_.files;
        return set;
    }

    // The bytes of a file given by its Windows path; empty when missing.
    std::string FileBytes(const std::string& path) const { return Files().ReadFile(path).value_or(""); }
    void WriteBytes(const std::string& path, const std::string& bytes) const { Files().WriteFile(path, bytes); }

    TempFolder temp_;
    const std::string root_;  // the folder the platform works in
    platform::host::HostPlatform host_;

private:
    platform::ServiceSet MakeServices(RegistryUse registry) {
        services_set_ = host_.Set();
#ifdef _WIN32
        const platform::ServiceSet real = platform::CreateDefaultServices();
        services_set_.profiles = real.profiles;
        services_set_.locks = real.locks;
        services_set_.files = real.files;
        if (registry == RegistryUse::Real) services_set_.registry = real.registry;
#else
        (void)registry;
#endif
        return services_set_;
    }

    platform::ServiceSet services_set_;

protected:
    platform::ScopedServices services_;
};
