#include "popupblocker/win32/TIEBrowserHelperFactory.h"

#include "platform/Services.h"
#include "popupblocker/BHORegistration.h"
#include "popupblocker/win32/BHOServer.h"
#include "popupblocker/win32/TIEBrowserHelper.h"

namespace popupblocker::win32 {

HRESULT TIEBrowserHelperFactory::Create(REFIID iid, void** object) {
    static const TClass helper{&TIEBrowserHelper::Create, [](bool locked) {
                                   if (locked) ObjectCreated();
                                   else ObjectDestroyed();
                               }};
    return TComClassFactory::Create(helper, iid, object);
}

bool TIEBrowserHelperFactory::UpdateRegistry(bool doRegister) {
    return UpdateHelperRegistry(doRegister, platform::Module().FileName());
}

}  // namespace popupblocker::win32
