#include "runtime/ClassRegistry.h"

#include <mutex>
#include <vector>

#include "runtime/Format.h"

namespace rt {
namespace {

std::mutex registryMutex;
std::vector<std::string>& Registered() {
    static std::vector<std::string> names;
    return names;
}

}  // namespace

void RegisterClass(const std::string& className) {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (const auto& name : Registered())
        if (SameText(name, className)) return;
    Registered().push_back(className);
}

bool IsClassRegistered(const std::string& className) {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (const auto& name : Registered())
        if (SameText(name, className)) return true;
    return false;
}

std::string FindClass(const std::string& className) {
    std::lock_guard<std::mutex> lock(registryMutex);
    for (const auto& name : Registered())
        if (SameText(name, className)) return name;
    throw EClassNotFound(Format("Class %s not found", {className}));
}

}  // namespace rt
