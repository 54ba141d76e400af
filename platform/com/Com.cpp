#include "Com.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace platform {
namespace {

thread_local int t_initCount = 0;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct Registry {
    std::mutex lock;
    std::map<CLSID, ClassFactory, GuidLess> classes;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

// The length in bytes sits in the four bytes before the characters.
std::uint32_t* Header(BSTR bstr)
{
    return reinterpret_cast<std::uint32_t*>(bstr) - 1;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* pch, ULONG cch)
{
    if (cch > (0x7FFFFFFFu - sizeof(std::uint32_t)) / sizeof(OLECHAR) - 1)
        return nullptr;
    auto* block = static_cast<std::uint32_t*>(std::malloc(sizeof(std::uint32_t) + (cch + 1) * sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    block[0] = cch * sizeof(OLECHAR);
    auto* chars = reinterpret_cast<OLECHAR*>(block + 1);
    if (pch)
        std::memcpy(chars, pch, cch * sizeof(OLECHAR));
    else
        std::memset(chars, 0, cch * sizeof(OLECHAR));
    chars[cch] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* psz)
{
    if (!psz)
        return nullptr;
    ULONG n = 0;
    while (psz[n])
        ++n;
    return SysAllocStringLen(psz, n);
}

void SysFreeString(BSTR bstr)
{
    if (bstr)
        std::free(Header(bstr));
}

ULONG SysStringLen(BSTR bstr)
{
    return bstr ? *Header(bstr) / sizeof(OLECHAR) : 0;
}

void VariantInit(VARIANT* pvarg)
{
    if (!pvarg)
        return;
    pvarg->vt = VT_EMPTY;
    pvarg->llVal = 0;
}

HRESULT VariantClear(VARIANT* pvarg)
{
    if (!pvarg)
        return E_INVALIDARG;
    if (pvarg->vt == VT_BSTR)
        SysFreeString(pvarg->bstrVal);
    else if (pvarg->vt == VT_DISPATCH && pvarg->pdispVal)
        pvarg->pdispVal->Release();
    VariantInit(pvarg);
    return S_OK;
}

HRESULT CoInitialize(void*)
{
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_initCount > 0)
        --t_initCount;
}

int CoInitializeCount()
{
    return t_initCount;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    if (pUnkOuter)
        return E_NOTIMPL;  // no aggregation
    ClassFactory factory;
    {
        Registry& r = TheRegistry();
        std::lock_guard guard(r.lock);
        const auto it = r.classes.find(rclsid);
        if (it == r.classes.end())
            return REGDB_E_CLASSNOTREG;
        factory = it->second;
    }
    return factory(riid, ppv);
}

ClassFactory CoRegisterClass(REFCLSID rclsid, ClassFactory factory)
{
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    ClassFactory previous;
    if (const auto it = r.classes.find(rclsid); it != r.classes.end())
        previous = std::move(it->second);
    r.classes[rclsid] = std::move(factory);
    return previous;
}

void CoRevokeClass(REFCLSID rclsid)
{
    Registry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    r.classes.erase(rclsid);
}

}  // namespace platform
