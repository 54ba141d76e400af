#include "platform/com/Com.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>

using namespace platform;

namespace {

struct IPlain : IUnknown {
    static constexpr IID iid = MakeGuid("8E5B1C2A-0000-4000-8000-000000000001");
    virtual int Value() = 0;

protected:
    ~IPlain() = default;
};

struct IAuto : IDispatch {
    static constexpr IID iid = MakeGuid("8E5B1C2A-0000-4000-8000-000000000002");

protected:
    ~IAuto() = default;
};

struct IAutoMore : IAuto {
    static constexpr IID iid = MakeGuid("8E5B1C2A-0000-4000-8000-000000000003");
    static constexpr bool Is(REFIID riid) { return riid == iid || riid == IAuto::iid; }

protected:
    ~IAutoMore() = default;
};

constexpr CLSID kClass = MakeGuid("8E5B1C2A-0000-4000-8000-0000000000C1");

int g_alive = 0;

class Plain final : public ComObject<IPlain> {
public:
    Plain() { ++g_alive; }
    ~Plain() override { --g_alive; }
    int Value() override { return 42; }
};

class Both final : public ComObject<IAutoMore, IPlain> {
public:
    Both() { ++g_alive; }
    ~Both() override { --g_alive; }
    int Value() override { return 7; }
};

TEST(ComBstr, CarriesItsLengthAndEmbeddedZeros)
{
    BSTR s = SysAllocString(u"clip");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 4u);
    std::uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<const char*>(s) - sizeof prefix, sizeof prefix);
    EXPECT_EQ(prefix, 8u);  // bytes, not characters
    EXPECT_EQ(s[4], 0);
    SysFreeString(s);

    const char16_t withZero[] = {u'a', 0, u'b'};
    BSTR z = SysAllocStringLen(withZero, 3);
    EXPECT_EQ(SysStringLen(z), 3u);
    EXPECT_EQ(std::u16string(z, SysStringLen(z)), std::u16string(withZero, 3));
    EXPECT_EQ(z[3], 0);
    SysFreeString(z);

    BSTR blank = SysAllocStringLen(nullptr, 2);  // room to fill, zeroed
    EXPECT_EQ(SysStringLen(blank), 2u);
    EXPECT_EQ(blank[0], 0);
    EXPECT_EQ(blank[1], 0);
    SysFreeString(blank);

    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    EXPECT_EQ(SysAllocStringLen(u"", 0x7FFFFFFF), nullptr);  // too large to allocate
}

TEST(ComVariant, ClearFreesStringsAndReleasesObjects)
{
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(u"text");
    EXPECT_EQ(VariantClear(&v), S_OK);  // a leak here shows under the sanitizers
    EXPECT_EQ(v.vt, VT_EMPTY);

    auto* object = new Both;
    IDispatch* disp = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)), S_OK);
    object->Release();  // the VARIANT's reference is the last one
    v.vt = VT_DISPATCH;
    v.pdispVal = disp;
    EXPECT_EQ(g_alive, 1);
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(v.vt, VT_EMPTY);

    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(ComInit, CountsPerThread)
{
    const int before = CoInitializeCount();
    EXPECT_EQ(CoInitialize(nullptr), before == 0 ? S_OK : S_FALSE);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeCount(), before + 2);

    std::thread other([] {
        EXPECT_EQ(CoInitializeCount(), 0);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
        CoUninitialize();  // one too many is ignored
        EXPECT_EQ(CoInitializeCount(), 0);
    });
    other.join();

    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeCount(), before);
}

TEST(ComCreate, NeedsInitialisationAndARegisteredClass)
{
    CoRevokeClass(kClass);
    std::thread fresh([] {
        auto* p = reinterpret_cast<IPlain*>(1);
        EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IPlain::iid, reinterpret_cast<void**>(&p)),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(p, nullptr);
    });
    fresh.join();

    IPlain* p = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IPlain::iid, reinterpret_cast<void**>(&p)),
              REGDB_E_CLASSNOTREG);

    const auto factory = [](REFIID riid, void** ppv) {
        auto* object = new Plain;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    };
    EXPECT_FALSE(CoRegisterClass(kClass, factory));
    EXPECT_TRUE(CoRegisterClass(kClass, factory));  // hands back the one it replaced
    ASSERT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IPlain::iid, reinterpret_cast<void**>(&p)), S_OK);
    EXPECT_EQ(p->Value(), 42);
    EXPECT_EQ(p->Release(), 0u);
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IAuto::iid, reinterpret_cast<void**>(&p)),
              E_NOINTERFACE);
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IPlain::iid, nullptr), E_POINTER);

    CoRevokeClass(kClass);
    EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IPlain::iid, reinterpret_cast<void**>(&p)),
              REGDB_E_CLASSNOTREG);
    CoUninitialize();
}

TEST(ComObject, AnswersItsInterfacesAndCountsReferences)
{
    auto* object = new Both;
    void* pv = nullptr;
    ASSERT_EQ(object->QueryInterface(IAutoMore::iid, &pv), S_OK);
    EXPECT_EQ(pv, static_cast<IAutoMore*>(object));
    ASSERT_EQ(object->QueryInterface(IAuto::iid, &pv), S_OK);  // a base, through Is()
    EXPECT_EQ(pv, static_cast<IAuto*>(static_cast<IAutoMore*>(object)));
    ASSERT_EQ(object->QueryInterface(IPlain::iid, &pv), S_OK);
    EXPECT_EQ(static_cast<IPlain*>(pv)->Value(), 7);
    void* unknown1 = nullptr;
    void* unknown2 = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, &unknown1), S_OK);
    ASSERT_EQ(static_cast<IPlain*>(pv)->QueryInterface(IID_IUnknown, &unknown2), S_OK);
    EXPECT_EQ(unknown1, unknown2);  // one identity whichever interface is asked
    EXPECT_EQ(object->QueryInterface(MakeGuid("8E5B1C2A-0000-4000-8000-0000000000FF"), &pv), E_NOINTERFACE);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // Five successful queries and the creator's reference.
    EXPECT_EQ(object->AddRef(), 7u);
    for (ULONG left = 6; left > 0; --left)
        EXPECT_EQ(object->Release(), left);
    EXPECT_EQ(g_alive, 1);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(g_alive, 0);

    // An object without an automation interface is no IDispatch.
    auto* plain = new Plain;
    EXPECT_EQ(plain->QueryInterface(IID_IDispatch, &pv), E_NOINTERFACE);
    EXPECT_EQ(plain->Release(), 0u);

    IPlain* held = new Plain;
    SafeRelease(held);
    EXPECT_EQ(held, nullptr);
    SafeRelease(held);
    EXPECT_EQ(g_alive, 0);
}

}  // namespace
