#pragma once
// The class factory of the helper object.
#include "platform/win32/ComClassFactory.h"

namespace popupblocker::win32 {

class TIEBrowserHelperFactory final : public platform::win32::TComClassFactory {
public:
    static HRESULT Create(REFIID iid, void** object);
    // The class with its server and threading model, and the browser's helper-object key.
    static bool UpdateRegistry(bool doRegister);

private:
    using TComClassFactory::TComClassFactory;
};

}  // namespace popupblocker::win32
