// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A small UI Automation client: it reads glukara's windows as a Windows screen
// reader such as NVDA or Narrator does, and prints what it finds, one line an
// element or an event, fields separated by tabs.
//   uia_client tree
//     every element of glukara's windows, the one in front first, each
//     walked child by child from the window at depth 0:
//     DEPTH  CONTROL-TYPE  NAME  LEFT,TOP,RIGHT,BOTTOM
//   uia_client watch SECONDS
//     the events a screen reader acts on, as they come, for SECONDS:
//     focus  CONTROL-TYPE  NAME        the keyboard focus moved there
//     live   CONTROL-TYPE  NAME        a live region changed; NAME is its text
//     notification  TEXT               a notification event
//     after "watching", once every handler that this UIA offers is in place.
//   uia_client foreground
//     whether a window of glukara's is in front, the one that takes the keys:
//     exits with 0 if it is, 1 if not.
// Built with mingw-w64 12 or later, whose headers have the client interfaces.
#include <windows.h>

#include <ole2.h>
#include <uiautomation.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

namespace
{

std::mutex print_lock;

// Prints one line as UTF-8, whatever the console's code page.
void print_line(const std::wstring& line)
{
    std::lock_guard<std::mutex> hold(print_lock);
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), utf8.data(), size, nullptr,
                        nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

const wchar_t* control_type_name(CONTROLTYPEID type)
{
    static const wchar_t* const names[] = {
        L"Button",      L"Calendar",    L"CheckBox",  L"ComboBox",     L"Edit",     L"Hyperlink",
        L"Image",       L"ListItem",    L"List",      L"Menu",         L"MenuBar",  L"MenuItem",
        L"ProgressBar", L"RadioButton", L"ScrollBar", L"Slider",       L"Spinner",  L"StatusBar",
        L"Tab",         L"TabItem",     L"Text",      L"ToolBar",      L"ToolTip",  L"Tree",
        L"TreeItem",    L"Custom",      L"Group",     L"Thumb",        L"DataGrid", L"DataItem",
        L"Document",    L"SplitButton", L"Window",    L"Pane",         L"Header",   L"HeaderItem",
        L"Table",       L"TitleBar",    L"Separator", L"SemanticZoom", L"AppBar"};
    const int index = int(type) - UIA_ButtonControlTypeId;
    if (index < 0 || index >= int(sizeof names / sizeof names[0]))
        return L"Unknown";
    return names[index];
}

// Tabs and line ends in a name would break the line format.
std::wstring flat(const wchar_t* text)
{
    std::wstring out = text ? text : L"";
    for (wchar_t& c : out)
        if (c == L'\t' || c == L'\n' || c == L'\r')
            c = L' ';
    return out;
}

std::wstring describe(IUIAutomationElement* element)
{
    CONTROLTYPEID type = 0;
    element->get_CurrentControlType(&type);
    BSTR name = nullptr;
    element->get_CurrentName(&name);
    std::wstring line = std::wstring(control_type_name(type)) + L'\t' + flat(name);
    SysFreeString(name);
    return line;
}

// glukara's windows, the one in front first: the main window, and the error
// box while it is open. Qt names its windows' class after its version; the
// title is the program's in every language.
std::vector<HWND> find_windows()
{
    std::vector<HWND> found;
    for (HWND window = FindWindowW(nullptr, L"Glukara"); window;
         window = FindWindowExW(nullptr, window, nullptr, L"Glukara")) {
        wchar_t class_name[64] = {};
        GetClassNameW(window, class_name, 64);
        if (std::wcsncmp(class_name, L"Qt", 2) == 0 && IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

// get_ControlViewWalker is not offered by every UIA (wine's says E_NOTIMPL):
// the tree is walked by asking each element for its children.
void print_tree(IUIAutomationCondition* all, IUIAutomationElement* element, int depth)
{
    RECT box = {};
    element->get_CurrentBoundingRectangle(&box);
    wchar_t where[80];
    std::swprintf(where, 80, L"%ld,%ld,%ld,%ld", box.left, box.top, box.right, box.bottom);
    print_line(std::to_wstring(depth) + L'\t' + describe(element) + L'\t' + where);
    IUIAutomationElementArray* children = nullptr;
    if (FAILED(element->FindAll(TreeScope_Children, all, &children)) || !children)
        return;
    int count = 0;
    children->get_Length(&count);
    for (int i = 0; i < count; ++i) {
        IUIAutomationElement* child = nullptr;
        if (SUCCEEDED(children->GetElement(i, &child)) && child) {
            print_tree(all, child, depth + 1);
            child->Release();
        }
    }
    children->Release();
}

// One object answers every kind of event; UIA holds it while it is registered.
class Listener : public IUIAutomationFocusChangedEventHandler,
                 public IUIAutomationEventHandler,
                 public IUIAutomationNotificationEventHandler
{
  public:
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (id == __uuidof(IUnknown) || id == __uuidof(IUIAutomationFocusChangedEventHandler))
            *out = static_cast<IUIAutomationFocusChangedEventHandler*>(this);
        else if (id == __uuidof(IUIAutomationEventHandler))
            *out = static_cast<IUIAutomationEventHandler*>(this);
        else if (id == __uuidof(IUIAutomationNotificationEventHandler))
            *out = static_cast<IUIAutomationNotificationEventHandler*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement* sender) override
    {
        print_line(L"focus\t" + describe(sender));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleAutomationEvent(IUIAutomationElement* sender,
                                                    EVENTID event) override
    {
        if (event == UIA_LiveRegionChangedEventId)
            print_line(L"live\t" + describe(sender));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleNotificationEvent(IUIAutomationElement*, NotificationKind,
                                                      NotificationProcessing, BSTR text,
                                                      BSTR) override
    {
        print_line(L"notification\t" + flat(text));
        return S_OK;
    }

  private:
    LONG references = 1;
};

void watch(IUIAutomation* uia, IUIAutomationElement* window, int seconds)
{
    static Listener listener;
    HRESULT result = uia->AddFocusChangedEventHandler(nullptr, &listener);
    if (FAILED(result))
        std::fprintf(stderr, "uia_client: no focus events (0x%08lx)\n", result);
    // On the window: wine 10 delivers no live region events to a handler on
    // the desktop's root element.
    result = uia->AddAutomationEventHandler(UIA_LiveRegionChangedEventId, window, TreeScope_Subtree,
                                            nullptr, &listener);
    if (FAILED(result))
        std::fprintf(stderr, "uia_client: no live region events (0x%08lx)\n", result);
    IUIAutomation5* uia5 = nullptr;
    if (SUCCEEDED(uia->QueryInterface(__uuidof(IUIAutomation5), reinterpret_cast<void**>(&uia5)))) {
        result = uia5->AddNotificationEventHandler(window, TreeScope_Subtree, nullptr, &listener);
        if (FAILED(result))
            std::fprintf(stderr, "uia_client: no notification events (0x%08lx)\n", result);
    } else {
        std::fprintf(stderr, "uia_client: this UIA has no notification events (IUIAutomation5)\n");
    }
    print_line(L"watching");
    Sleep(DWORD(seconds) * 1000);
    // Ends without unregistering: the process ends here, and wine's UIA may
    // wait long on a program that stopped answering.
    std::fflush(stdout);
    ExitProcess(0);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command != L"tree" && command != L"foreground" && !(command == L"watch" && argc > 2)) {
        std::fprintf(stderr, "usage: uia_client tree | uia_client watch SECONDS | "
                             "uia_client foreground\n");
        return 2;
    }
    if (command == L"foreground") {
        const std::vector<HWND> windows = find_windows();
        return std::find(windows.begin(), windows.end(), GetForegroundWindow()) != windows.end()
                   ? 0
                   : 1;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IUIAutomation* uia = nullptr;
    HRESULT result = CoCreateInstance(__uuidof(CUIAutomation), nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IUIAutomation), reinterpret_cast<void**>(&uia));
    if (FAILED(result)) {
        std::fprintf(stderr, "uia_client: no UI Automation (0x%08lx)\n", result);
        return 1;
    }
    const std::vector<HWND> windows = find_windows();
    if (windows.empty()) {
        std::fprintf(stderr, "uia_client: no window \"Glukara\"\n");
        return 1;
    }
    IUIAutomationCondition* all = nullptr;
    uia->CreateTrueCondition(&all);
    // The events are followed on the window behind all others, the main
    // window, which is the only one when glukara starts.
    for (size_t i = command == L"watch" ? windows.size() - 1 : 0; i < windows.size(); ++i) {
        IUIAutomationElement* window = nullptr;
        result = uia->ElementFromHandle(windows[i], &window);
        if (FAILED(result) || !window) {
            std::fprintf(stderr, "uia_client: no element for a window (0x%08lx)\n", result);
            return 1;
        }
        if (command == L"watch")
            watch(uia, window, std::wcstol(argv[2], nullptr, 10));
        print_tree(all, window, 0);
        window->Release();
    }
    return 0;
}
