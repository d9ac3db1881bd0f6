#pragma once
// The event source over a COM object's connection points: Advise queries the
// object for IConnectionPointContainer, finds the point of the sink's events
// interface and advises a TSinkDispatch there, which the connection detaches
// when it goes.
#include <memory>

#include "platform/win32/Win32Api.h"

#include <unknwn.h>

#include "toolbar/SHDocVwEvents.h"
#include "toolbar/win32/TSinkDispatch.h"

namespace toolbar::win32 {

// The events of `source` (the browser's IWebBrowser2); null for null. Each
// sink dispatch it advises counts in `moduleLock` while it lives, when given.
std::shared_ptr<IEventSource> EventSourceFrom(IUnknown* source, TSinkDispatch::TModuleLock moduleLock = nullptr);
// The events of a browser made by platform::win32::BrowserFrom; null for any other.
std::shared_ptr<IEventSource> EventSourceOf(const std::shared_ptr<platform::IBrowser>& browser);

}  // namespace toolbar::win32
