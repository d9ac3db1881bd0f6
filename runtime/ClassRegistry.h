#pragma once
// Classes registered by name, as the runtime's RegisterClass/FindClass keep them.
#include <string>

#include "runtime/SysUtils.h"

namespace rt {

class EClassNotFound : public Exception { using Exception::Exception; };

void RegisterClass(const std::string& className);
bool IsClassRegistered(const std::string& className);  // ignoring case
// The registered spelling; raises EClassNotFound "Class %s not found".
std::string FindClass(const std::string& className);

}  // namespace rt
