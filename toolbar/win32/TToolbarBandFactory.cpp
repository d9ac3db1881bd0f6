#include "toolbar/win32/TToolbarBandFactory.h"

#include "platform/Services.h"
#include "toolbar/ToolbarBand.h"
#include "toolbar/win32/BandServer.h"
#include "toolbar/win32/TToolbarBand.h"

namespace toolbar::win32 {

HRESULT TToolbarBandFactory::Create(REFIID iid, void** object) {
    static const TClass band{&TToolbarBand::Create, [](bool locked) {
                                 if (locked) BandObjectCreated();
                                 else BandObjectDestroyed();
                             }};
    return TComClassFactory::Create(band, iid, object);
}

void TToolbarBandFactory::UpdateRegistry(bool doRegister) {
    UpdateToolbarBandRegistry(doRegister, platform::Module().FileName());
}

}  // namespace toolbar::win32
