#include <gtest/gtest.h>

#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform;
using namespace platform::host;

TEST(HostPlatform, SetFillsEveryService) {
    TempFolder folder;
    HostPlatform host(folder.Path());
    ServiceSet set = host.Set();
    EXPECT_TRUE(set.profiles && set.locks && set.registry && set.files && set.module && set.shell &&
                set.keyboard && set.clock && set.user && set.environment && set.dialogs && set.windows);
}
