#include "view/list_accessible.h"

#include "base/system_library.h"
#include "catalogue/store.h"
#include "view/child_id.h"
#include "view/row_drawing.h"
#include "view/row_text.h"

#include <oleacc.h>

#include <new>

namespace {

using CoInitializeExProc = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeProc = void(WINAPI*)();
using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringProc = BSTR(WINAPI*)(const OLECHAR*);
using LoadRegTypeLibProc = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, ITypeLib**);
using LoadTypeLibProc = HRESULT(WINAPI*)(LPCOLESTR, ITypeLib**);

// The accessibility library's type library, which describes IAccessible.
const GUID kAccessibilityTypeLibrary = {0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
// IID_NULL, the only interface id that GetIDsOfNames and Invoke take.
const GUID kNoInterface = {};

// The accessibility functions, looked up at the first request: start-up
// loads none of their libraries. The libraries then stay for the program's
// life, since clients may hold objects made by them.
struct AccessibilityLibrary {
    CoInitializeExProc enterApartment;
    CoUninitializeProc leaveApartment;
    CreateStdAccessibleObjectProc createStandardObject;
    LresultFromObjectProc resultFromObject;
    SysAllocStringProc allocateString;
    LoadRegTypeLibProc loadRegisteredTypeLibrary;
    LoadTypeLibProc loadTypeLibrary;
};

template <typename Proc>
bool Find(HMODULE module, const char* name, Proc& proc)
{
    proc = LibraryFunction<Proc>(module, name);
    return proc != nullptr;
}

const AccessibilityLibrary* LoadAccessibility()
{
    static AccessibilityLibrary loaded = {};
    static bool complete = false;
    if (!complete) {
        HMODULE ole = LoadSystemLibrary("ole32.dll");
        HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
        HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
        AccessibilityLibrary found;
        if (!Find(ole, "CoInitializeEx", found.enterApartment) || !Find(ole, "CoUninitialize", found.leaveApartment)
            || !Find(oleacc, "CreateStdAccessibleObject", found.createStandardObject)
            || !Find(oleacc, "LresultFromObject", found.resultFromObject)
            || !Find(oleaut, "SysAllocString", found.allocateString)
            || !Find(oleaut, "LoadRegTypeLib", found.loadRegisteredTypeLibrary)
            || !Find(oleaut, "LoadTypeLib", found.loadTypeLibrary))
            return nullptr;
        loaded = found;
        complete = true;
    }
    return &loaded;
}

// IAccessible as late-bound clients reach it: `dispatch` is its description
// as IDispatch (what GetTypeInfo hands out, and the names), `methods` the
// dual interface's own methods, through which Invoke calls this object's.
struct AccessibleTypes {
    ITypeInfo* dispatch = nullptr;
    ITypeInfo* methods = nullptr;
};

ITypeLib* LoadAccessibilityTypeLibrary(const AccessibilityLibrary& library)
{
    ITypeLib* types = nullptr;
    if (SUCCEEDED(library.loadRegisteredTypeLibrary(kAccessibilityTypeLibrary, 1, 1, 0, &types)))
        return types;
    // Not registered: the library carries it as a resource.
    char path[kPathSize];
    WCHAR widePath[kPathSize];
    if (!SystemFilePath(path, "oleacc.dll") || MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kPathSize) == 0)
        return nullptr;
    return SUCCEEDED(library.loadTypeLibrary(widePath, &types)) ? types : nullptr;
}

// The description of a dual interface is its dispatch side; its methods are
// the interface it implements as -1. A description that is the interface
// itself serves for both.
AccessibleTypes LoadAccessibleTypes(const AccessibilityLibrary& library)
{
    AccessibleTypes found;
    ITypeLib* types = LoadAccessibilityTypeLibrary(library);
    if (types == nullptr)
        return found;
    HRESULT result = types->GetTypeInfoOfGuid(__uuidof(IAccessible), &found.dispatch);
    types->Release();
    if (FAILED(result))
        return AccessibleTypes();
    HREFTYPE methods = 0;
    if (SUCCEEDED(found.dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &methods))
        && SUCCEEDED(found.dispatch->GetRefTypeInfo(methods, &found.methods)))
        return found;
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(found.dispatch->GetTypeAttr(&attributes))) {
        if (attributes->typekind == TKIND_INTERFACE) {
            found.methods = found.dispatch;
            found.methods->AddRef();
        }
        found.dispatch->ReleaseTypeAttr(attributes);
    }
    if (found.methods != nullptr)
        return found;
    // Invoke through a description of IDispatch alone would call this object's Invoke again.
    found.dispatch->Release();
    return AccessibleTypes();
}

// Loaded at the first late-bound call and kept for the program's life;
// without them the standard object answers late-bound calls.
const AccessibleTypes& TypesOnce(const AccessibilityLibrary& library)
{
    static const AccessibleTypes types = LoadAccessibleTypes(library);
    return types;
}

// The child as the standard object takes it: an id as VT_I4, the only type
// Wine's takes; anything else as the client gave it.
VARIANT StandardChild(const VARIANT& child)
{
    long id = 0;
    if (!ChildIdOf(child, id))
        return child;
    VARIANT standard;
    standard.vt = VT_I4;
    standard.lVal = id;
    return standard;
}

int LiveObjects;
WNDPROC StandardListProc;

// The standard object with the rows' names put right: the list's item
// strings are its sort keys ("00199912"), not what the rows show. Everything
// else is the standard object's answer. Its child enumeration and its window
// are answered here too, by the standard object's, so that every interface
// leads back to this object; the others it lacks (a service provider among
// them, which would present it as the platform's own object) are refused.
class ListAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    ListAccessible(HWND list, IAccessible* standard, const AccessibilityLibrary& library)
        : list_(list), standard_(standard), library_(library)
    {
        if (FAILED(standard_->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children_))))
            children_ = nullptr;
        if (FAILED(standard_->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window_))))
            window_ = nullptr;
        ++LiveObjects;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        else if (id == __uuidof(IEnumVARIANT) && children_ != nullptr)
            *object = static_cast<IEnumVARIANT*>(this);
        else if (id == __uuidof(IOleWindow) && window_ != nullptr)
            *object = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: IAccessible's type description calls this object's own
    // methods; without it, the standard object answers.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (Types().dispatch == nullptr)
            return standard_->GetTypeInfoCount(count);
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        ITypeInfo* description = Types().dispatch;
        if (description == nullptr)
            return standard_->GetTypeInfo(index, locale, info);
        if (info == nullptr)
            return E_INVALIDARG;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        description->AddRef();
        *info = description;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* dispatchIds) override
    {
        ITypeInfo* description = Types().dispatch;
        if (description == nullptr)
            return standard_->GetIDsOfNames(id, names, count, locale, dispatchIds);
        if (id != kNoInterface)
            return DISP_E_UNKNOWNINTERFACE;
        return description->GetIDsOfNames(names, count, dispatchIds);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        ITypeInfo* methods = Types().methods;
        if (methods == nullptr)
            return standard_->Invoke(member, id, locale, flags, parameters, result, exception, argumentError);
        if (id != kNoInterface)
            return DISP_E_UNKNOWNINTERFACE;
        return methods->Invoke(static_cast<IAccessible*>(this), member, flags, parameters, result, exception,
                               argumentError);
    }

    // IAccessible: only the rows' names are this object's own. Child ids
    // reach the standard object as VT_I4.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (name == nullptr)
            return E_INVALIDARG;
        long id = 0;
        if (ChildIdOf(child, id) && id != CHILDID_SELF)
            return RowName(id - 1, name);
        return standard_->get_accName(StandardChild(child), name);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(StandardChild(child), object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(StandardChild(child), value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(StandardChild(child), text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return standard_->get_accRole(StandardChild(child), role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(StandardChild(child), state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return standard_->get_accHelp(StandardChild(child), help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, StandardChild(child), topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(StandardChild(child), shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return standard_->get_accDefaultAction(StandardChild(child), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return standard_->accSelect(flags, StandardChild(child));
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, StandardChild(child));
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, StandardChild(start), end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return standard_->accDoDefaultAction(StandardChild(child));
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return standard_->put_accName(StandardChild(child), name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(StandardChild(child), value);
    }

    // IEnumVARIANT: the standard object's children. A copy is wrapped too.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override
    {
        return children_->Next(count, children, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override
    {
        if (copy == nullptr)
            return E_POINTER;
        *copy = nullptr;
        IEnumVARIANT* standardCopy = nullptr;
        HRESULT result = children_->Clone(&standardCopy);
        if (FAILED(result) || standardCopy == nullptr)
            return FAILED(result) ? result : E_FAIL;
        IAccessible* standard = nullptr;
        result = standardCopy->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&standard));
        standardCopy->Release();
        if (FAILED(result))
            return result;
        auto* wrapped = new (std::nothrow) ListAccessible(list_, standard, library_);
        if (wrapped == nullptr) {
            standard->Release();
            return E_OUTOFMEMORY;
        }
        result = wrapped->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(copy));
        wrapped->Release();
        return result;
    }

    // IOleWindow: the list's window, as the standard object tells it.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return window_->GetWindow(window); }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override
    {
        return window_->ContextSensitiveHelp(enter);
    }

private:
    ~ListAccessible()
    {
        if (window_ != nullptr)
            window_->Release();
        if (children_ != nullptr)
            children_->Release();
        standard_->Release();
        --LiveObjects;
    }

    const AccessibleTypes& Types() const { return TypesOnce(library_); }

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
        *name = library_.allocateString(wide);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    ULONG references_ = 1;
    HWND list_;
    IAccessible* standard_;
    IEnumVARIANT* children_ = nullptr;
    IOleWindow* window_ = nullptr;
    const AccessibilityLibrary& library_;
};

// COM on the list's thread, which LresultFromObject needs to hand the object
// to another process: a single-threaded apartment, entered at the first
// request and left when the list goes. A thread in the multi-threaded
// apartment already has COM and stays there.
const char kApartmentProperty[] = "KorvalListApartment";

bool EnterApartment(HWND list, const AccessibilityLibrary& library)
{
    if (GetPropA(list, kApartmentProperty) != nullptr)
        return true;
    HRESULT result = library.enterApartment(nullptr, COINIT_APARTMENTTHREADED);
    if (result == RPC_E_CHANGED_MODE)
        return true;
    if (result != S_OK && result != S_FALSE)
        return false;
    if (SetPropA(list, kApartmentProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1))))
        return true;
    library.leaveApartment();
    return false;
}

void LeaveApartment(HWND list)
{
    // Entered only once the libraries were loaded: this loads nothing.
    if (RemovePropA(list, kApartmentProperty) != nullptr)
        LoadAccessibility()->leaveApartment();
}

// The reply to WM_GETOBJECT for the client area; 0 lets the list answer
// as it always would. Nothing in it throws.
LRESULT AnswerObjectRequest(HWND list, WPARAM wParam)
{
    const AccessibilityLibrary* library = LoadAccessibility();
    if (library == nullptr || !EnterApartment(list, *library))
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(library->createStandardObject(list, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new (std::nothrow) ListAccessible(list, standard, *library);
    if (object == nullptr) {
        standard->Release();
        return 0;
    }
    // The reply holds its own reference; ours ends here.
    LRESULT reply = library->resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
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
    if (message == WM_NCDESTROY) {
        LRESULT result = CallWindowProcA(StandardListProc, list, message, wParam, lParam);
        LeaveApartment(list);
        return result;
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
