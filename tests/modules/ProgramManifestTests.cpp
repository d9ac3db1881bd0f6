// Every program we build carries the manifest that keeps Windows from
// elevating it by its name or description: asInvoker, no UI access, and the
// systems it was made for. Read as the loader reads it: resource 1 of type
// RT_MANIFEST.
#include <gtest/gtest.h>

#include <string>

#include "win32/Win32TestSupport.h"

namespace {

// The manifest text of a program; empty when it has none.
std::string ManifestOf(const std::string& program) {
    HMODULE module = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "(cannot be read)";
    std::string text;
    if (HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL loaded = ::LoadResource(module, resource);
        const DWORD size = ::SizeofResource(module, resource);
        if (loaded && size) text.assign(static_cast<const char*>(::LockResource(loaded)), size);
    }
    ::FreeLibrary(module);
    return text;
}

TEST(ProgramManifest, EveryProgramRunsAsItsInvoker) {
    const char* programs[] = {ZR_TALLIS_EXE, ZR_RENOVA_EXE, ZR_BRAKEL_EXE, ZR_NOTELLE_EXE, ZR_DEBUG_VIEWER_EXE,
                              ZR_DEMO_EXE};
    const char* systems[] = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};
    for (const char* program : programs) {
        const std::string manifest = ManifestOf(zrtest::WindowsPathOf(program));
        ASSERT_FALSE(manifest.empty()) << program;
        EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
            << program;
        for (const char* system : systems) EXPECT_NE(manifest.find(system), std::string::npos) << program << system;
    }
}

}  // namespace
