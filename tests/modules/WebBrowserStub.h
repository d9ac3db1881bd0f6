#pragma once
// Every method of the browser's automation interface, answering E_NOTIMPL, so
// a test browser overrides only what the module under test calls.
#include <windows.h>

#include <exdisp.h>

namespace zrtest {

class WebBrowserStub : public IWebBrowser2 {
public:
    virtual ~WebBrowserStub() = default;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IWebBrowser
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT *Level) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR *Type) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG Left) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG Top) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG Width) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG Height) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR *LocationName) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationURL(BSTR *LocationURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    // IWebBrowserApp
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int *pcx, int *pcy) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR Property, VARIANT vtValue) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR Property, VARIANT *pvtValue) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR *Name) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR *pHWND) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR *FullName) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR *Path) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR *StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL *pbFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL bFullScreen) override { return E_NOTIMPL; }
    // IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT *URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID cmdID, OLECMDF *pcmdf) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT *pvaIn, VARIANT *pvaOut) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT *pvaClsid, VARIANT *pvarShow, VARIANT *pvarSize) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE *plReadyState) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL *pbOffline) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL bOffline) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL *pbSilent) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL Value) override { return E_NOTIMPL; }
};

}  // namespace zrtest
