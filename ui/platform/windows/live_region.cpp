// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "live_region.h"

#include <QString>
#include <QWidget>

#include <string>

#include <windows.h>

#include <ole2.h>
#include <uiautomationcore.h>

namespace
{

// UI Automation's numbers, from UIAutomationClient.h, whose copy in Debian
// 12's mingw-w64 lacks most of them.
constexpr EVENTID live_region_changed_event = 20024;
constexpr PROPERTYID control_type_property = 30003;
constexpr PROPERTYID name_property = 30005;
constexpr PROPERTYID keyboard_focusable_property = 30009;
constexpr PROPERTYID live_setting_property = 30135;
constexpr long text_control_type = 50020;
constexpr long polite = 1;

// UIAutomationCore.dll is loaded when it is first needed, as Qt loads it, and
// only from Windows' own folder, never from beside the program: mingw-w64 has
// no import library for it, and the declarations in Debian 12's copy of its
// header are C only.
struct UiaCore {
    HRESULT(WINAPI* raise_event)(IRawElementProviderSimple*, EVENTID) = nullptr;
    HRESULT(WINAPI* host_provider)(HWND, IRawElementProviderSimple**) = nullptr;
    BOOL(WINAPI* clients_listening)() = nullptr;

    static const UiaCore& get()
    {
        static const UiaCore core = [] {
            UiaCore c;
            if (HMODULE dll = LoadLibraryExW(L"UIAutomationCore.dll", nullptr,
                                             LOAD_LIBRARY_SEARCH_SYSTEM32)) {
                c.raise_event = reinterpret_cast<decltype(c.raise_event)>(
                    reinterpret_cast<void*>(GetProcAddress(dll, "UiaRaiseAutomationEvent")));
                c.host_provider = reinterpret_cast<decltype(c.host_provider)>(
                    reinterpret_cast<void*>(GetProcAddress(dll, "UiaHostProviderFromHwnd")));
                c.clients_listening = reinterpret_cast<decltype(c.clients_listening)>(
                    reinterpret_cast<void*>(GetProcAddress(dll, "UiaClientsAreListening")));
            }
            return c;
        }();
        return core;
    }
    bool usable() const { return raise_event && host_provider && clients_listening; }
};

// One utterance: a text element of the window whose name is the text. Each
// utterance has an element of its own, so that a screen reader that reads
// the name a while after the event still reads the text the event was for.
class Utterance : public IRawElementProviderSimple
{
  public:
    Utterance(HWND window, const QString& text)
        : window(window), text(reinterpret_cast<const wchar_t*>(text.utf16()), text.size())
    {
    }
    virtual ~Utterance() = default;

    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out)
            return E_INVALIDARG;
        if (id != __uuidof(IUnknown) && id != __uuidof(IRawElementProviderSimple)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IRawElementProviderSimple*>(this);
        AddRef();
        return S_OK;
    }

    // Answered on the window's thread, as Qt answers for its widgets.
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override
    {
        if (!options)
            return E_INVALIDARG;
        *options =
            ProviderOptions(ProviderOptions_ServerSideProvider | ProviderOptions_UseComThreading);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID, IUnknown** pattern) override
    {
        if (!pattern)
            return E_INVALIDARG;
        *pattern = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override
    {
        if (!value)
            return E_INVALIDARG;
        VariantInit(value);
        switch (property) {
        case name_property:
            value->vt = VT_BSTR;
            value->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
            break;
        case control_type_property:
            value->vt = VT_I4;
            value->lVal = text_control_type;
            break;
        case live_setting_property:
            value->vt = VT_I4;
            value->lVal = polite;
            break;
        case keyboard_focusable_property:
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_FALSE;
            break;
        default:
            break;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override
    {
        if (!host)
            return E_INVALIDARG;
        return UiaCore::get().host_provider(window, host);
    }

  private:
    LONG references = 1;
    HWND window;
    std::wstring text;
};

} // namespace

LiveRegion::LiveRegion(QWidget* window) : QObject(window), window(window) {}

void LiveRegion::say(const QString& text)
{
    const UiaCore& uia = UiaCore::get();
    if (text.isEmpty() || !uia.usable() || !uia.clients_listening())
        return;
    auto* utterance = new Utterance(reinterpret_cast<HWND>(window->winId()), text);
    uia.raise_event(utterance, live_region_changed_event);
    // UI Automation holds the element for as long as a client asks for it.
    utterance->Release();
}
