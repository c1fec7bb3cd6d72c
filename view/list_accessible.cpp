#include "view/list_accessible.h"

#include "catalogue/store.h"
#include "view/row_drawing.h"
#include "view/row_text.h"

#include <oleacc.h>

namespace {

using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringProc = BSTR(WINAPI*)(const OLECHAR*);

// The accessibility functions, looked up at the first request: start-up
// loads none of their libraries. The libraries then stay for the program's
// life, since clients may hold objects made by them.
struct AccessibilityLibrary {
    CreateStdAccessibleObjectProc createStandardObject;
    LresultFromObjectProc resultFromObject;
    SysAllocStringProc allocateString;
};

bool LoadAccessibility(AccessibilityLibrary& library)
{
    static AccessibilityLibrary loaded = {};
    if (loaded.createStandardObject == nullptr) {
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        HMODULE oleaut = LoadLibraryA("oleaut32.dll");
        if (oleacc == nullptr || oleaut == nullptr)
            return false;
        AccessibilityLibrary found;
        found.createStandardObject = reinterpret_cast<CreateStdAccessibleObjectProc>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "CreateStdAccessibleObject")));
        found.resultFromObject = reinterpret_cast<LresultFromObjectProc>(
            reinterpret_cast<void*>(GetProcAddress(oleacc, "LresultFromObject")));
        found.allocateString = reinterpret_cast<SysAllocStringProc>(
            reinterpret_cast<void*>(GetProcAddress(oleaut, "SysAllocString")));
        if (found.createStandardObject == nullptr || found.resultFromObject == nullptr
            || found.allocateString == nullptr)
            return false;
        loaded = found;
    }
    library = loaded;
    return true;
}

int LiveObjects;
WNDPROC StandardListProc;

// The standard object with the rows' names put right: the list's item
// strings are its sort keys ("00199912"), not what the rows show. Everything
// else is the standard object's answer.
class ListAccessible final : public IAccessible {
public:
    ListAccessible(HWND list, IAccessible* standard, SysAllocStringProc allocateString)
        : list_(list), standard_(standard), allocateString_(allocateString)
    {
        ++LiveObjects;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // Child enumeration and the window behind the object: the standard
        // object's own.
        return standard_->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* dispatchIds) override
    {
        return standard_->GetIDsOfNames(id, names, count, locale, dispatchIds);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, argumentError);
    }

    // IAccessible: only the rows' names are this object's own.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (name == nullptr)
            return E_INVALIDARG;
        if (child.vt == VT_I4 && child.lVal != CHILDID_SELF)
            return RowName(child.lVal - 1, name);
        return standard_->get_accName(child, name);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~ListAccessible()
    {
        standard_->Release();
        --LiveObjects;
    }

    // The row's name as its drawing shows it; a row that is gone (or a list
    // that is gone) has none.
    HRESULT RowName(long row, BSTR* name)
    {
        *name = nullptr;
        if (row < 0 || !IsWindow(list_))
            return E_INVALIDARG;
        LRESULT data = SendMessageA(list_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
        if (data == LB_ERR || data == 0)
            return E_INVALIDARG;
        const auto& record = *reinterpret_cast<const AnimationRecord*>(data);
        char keywords[kKeywordTextSize];
        char text[kRowNameSize];
        BuildRowName(text, RowLabels, RowValuesOf(record, keywords));
        WCHAR wide[kRowNameSize];
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kRowNameSize) == 0)
            return E_FAIL;
        *name = allocateString_(wide);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    ULONG references_ = 1;
    HWND list_;
    IAccessible* standard_;
    SysAllocStringProc allocateString_;
};

// The reply to WM_GETOBJECT for the client area; 0 lets the list answer
// as it always would.
LRESULT AnswerObjectRequest(HWND list, WPARAM wParam)
{
    AccessibilityLibrary library;
    if (!LoadAccessibility(library))
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(library.createStandardObject(list, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new ListAccessible(list, standard, library.allocateString);
    // The reply holds its own reference; ours ends here.
    LRESULT reply = library.resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return reply > 0 ? reply : 0;
}

LRESULT CALLBACK AccessibleListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        LRESULT reply = AnswerObjectRequest(list, wParam);
        if (reply != 0)
            return reply;
    }
    return CallWindowProcA(StandardListProc, list, message, wParam, lParam);
}

} // namespace

void ServeListAccessibility(HWND list)
{
    if (list == nullptr)
        return;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AccessibleListProc)));
    if (previous != AccessibleListProc)
        StandardListProc = previous;
}

int LiveListAccessibleCount()
{
    return LiveObjects;
}
