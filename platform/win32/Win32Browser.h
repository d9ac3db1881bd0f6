#pragma once
// The browser port over the browser's automation interfaces: IWebBrowser2,
// the document's IHTMLDocument2, IOleContainer and IPersistStreamInit, and
// the window's IHTMLWindow2. Wide strings are converted to and from the
// system code page.
#include <memory>
#include <string>

#include "platform/Browser.h"
#include "platform/win32/Win32Api.h"

#include <exdisp.h>

namespace platform::win32 {

// The browser behind a reference (the band site's IWebBrowser2); null for null.
std::shared_ptr<IBrowser> BrowserFrom(IWebBrowser2* browser);
// The automation object behind a browser made by BrowserFrom; null for any other.
IWebBrowser2* AutomationOf(const std::shared_ptr<IBrowser>& browser);
// Any automation object the browser hands out (an event's pDisp); null for null.
std::shared_ptr<IBrowserObject> BrowserObjectFrom(IUnknown* object);

// The "FileVersion" text of a file's version resource, under the first
// language of its translation table; empty when there is none.
std::string FileVersionString(const std::string& path);

// Text in the system code page (CP_ACP) and UTF-16.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text, std::size_t length);

}  // namespace platform::win32
