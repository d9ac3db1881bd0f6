#pragma once
// The class factory of the toolbar band.
#include "platform/win32/ComClassFactory.h"

namespace toolbar::win32 {

class TToolbarBandFactory final : public platform::win32::TComClassFactory {
public:
    static HRESULT Create(REFIID iid, void** object);
    // The band's class and its place in the browser's toolbar list.
    static void UpdateRegistry(bool doRegister);

private:
    using TComClassFactory::TComClassFactory;
};

}  // namespace toolbar::win32
