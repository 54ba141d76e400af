#pragma once
// A small COM of our own: status codes, GUIDs, reference-counted interfaces, BSTR and
// VARIANT, a per-thread initialisation count and a class registry that maps a CLSID to
// a factory. The encoder server registers its classes here; tests register fakes.

#include "platform/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <tuple>
#include <type_traits>

namespace platform {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using LONGLONG = std::int64_t;

constexpr HRESULT MakeHResult(std::uint32_t code)
{
    return static_cast<HRESULT>(code);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
inline constexpr HRESULT CO_E_NOTINITIALIZED = MakeHResult(0x800401F0);

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b)
    {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace detail {
consteval std::uint32_t Hex(const char* s, int from, int count)
{
    std::uint32_t v = 0;
    for (int i = from; i < from + count; ++i) {
        const char c = s[i];
        const std::uint32_t d = (c >= '0' && c <= '9') ? std::uint32_t(c - '0')
            : (c >= 'a' && c <= 'f')                   ? std::uint32_t(c - 'a' + 10)
            : (c >= 'A' && c <= 'F')                   ? std::uint32_t(c - 'A' + 10)
                                                       : throw "not a hex digit";
        v = v * 16 + d;
    }
    return v;
}
}  // namespace detail

// "632B606A-BBC6-11D2-A329-006097C4E476" at compile time.
consteval GUID MakeGuid(const char (&s)[37])
{
    return GUID{detail::Hex(s, 0, 8),
                std::uint16_t(detail::Hex(s, 9, 4)),
                std::uint16_t(detail::Hex(s, 14, 4)),
                {std::uint8_t(detail::Hex(s, 19, 2)), std::uint8_t(detail::Hex(s, 21, 2)),
                 std::uint8_t(detail::Hex(s, 24, 2)), std::uint8_t(detail::Hex(s, 26, 2)),
                 std::uint8_t(detail::Hex(s, 28, 2)), std::uint8_t(detail::Hex(s, 30, 2)),
                 std::uint8_t(detail::Hex(s, 32, 2)), std::uint8_t(detail::Hex(s, 34, 2))}};
}

inline constexpr IID IID_IUnknown = MakeGuid("00000000-0000-0000-C000-000000000046");
inline constexpr IID IID_IDispatch = MakeGuid("00020400-0000-0000-C000-000000000046");

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;  // objects go away through Release
};

// Automation objects; carries no methods of its own here.
struct IDispatch : IUnknown {
protected:
    ~IDispatch() = default;
};

// Strings: UTF-16, length-prefixed, zero-terminated. A null BSTR is the empty string.
using OLECHAR = char16_t;
using BSTR = OLECHAR*;
BSTR SysAllocString(const OLECHAR* psz);
BSTR SysAllocStringLen(const OLECHAR* pch, ULONG cch);
void SysFreeString(BSTR bstr);
ULONG SysStringLen(BSTR bstr);

using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : std::uint16_t {
    VT_EMPTY = 0,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_BOOL = 11,
    VT_I8 = 20,
};

struct VARIANT {
    std::uint16_t vt;
    union {
        VARIANT_BOOL boolVal;
        LONG lVal;
        LONGLONG llVal;
        BSTR bstrVal;
        IDispatch* pdispVal;
    };
};
void VariantInit(VARIANT* pvarg);
// Frees a BSTR, releases a dispatch object, and leaves VT_EMPTY.
HRESULT VariantClear(VARIANT* pvarg);

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;

// Per-thread count: S_OK for the first call on a thread, S_FALSE after.
HRESULT CoInitialize(void* pvReserved);
void CoUninitialize();
int CoInitializeCount();  // of this thread, for tests

// Creates an object of a registered class; CO_E_NOTINITIALIZED before CoInitialize on
// this thread, REGDB_E_CLASSNOTREG for an unknown class.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);

using ClassFactory = std::function<HRESULT(REFIID riid, void** ppv)>;
// Registers (or replaces) a class; returns the factory it replaced, if any.
ClassFactory CoRegisterClass(REFCLSID rclsid, ClassFactory factory);
void CoRevokeClass(REFCLSID rclsid);

// Whether an interface answers to riid: its own IID, or those of its bases when it
// declares them with a static Is(riid).
template <typename I>
constexpr bool AnswersTo(REFIID riid)
{
    if constexpr (requires { I::Is(riid); })
        return I::Is(riid);
    else
        return riid == I::iid;
}

// Reference counting and QueryInterface for an object implementing Interfaces...; each
// interface names its IID through a static member `iid`. Objects live on the heap and
// start with one reference held by their creator.
template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        // IDispatch only for objects that are automation objects.
        if (riid == IID_IUnknown || (riid == IID_IDispatch && std::is_base_of_v<IDispatch, First>))
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (void)((AnswersTo<Interfaces>(riid) ? (*ppv = static_cast<Interfaces*>(this), true) : false) || ...);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<ULONG> m_refs{1};
};

// Releases a pointer and nulls it.
template <typename T>
void SafeRelease(T*& p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

}  // namespace platform
