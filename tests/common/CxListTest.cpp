#include "common/misc/CxList.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <vector>

namespace {

// Set inside a death test to make the list's node allocation fail.
bool g_failNothrowNew = false;

// Looks inside the list to check its invariants and to break them on purpose.
class ListProbe : public CxList {
public:
    CxListNode* Head() const { return m_pHead; }
    CxListNode* Tail() const { return m_pTail; }
    CxListNode* Cursor() const { return m_pCurr; }
    std::uint32_t FindIndex() const { return m_nFindIndex; }
    void SetFindIndex(std::uint32_t n) { m_nFindIndex = n; }
    void SetCount(std::uint32_t n) { m_nCount = n; }

    // Every invariant of the list, against the items it should hold in order.
    void ExpectHolds(const std::vector<void*>& items) const
    {
        ASSERT_EQ(GetCount(), items.size());
        if (items.empty()) {
            EXPECT_EQ(m_pHead, nullptr);
            EXPECT_EQ(m_pTail, nullptr);
            EXPECT_EQ(m_pCurr, nullptr);
            EXPECT_EQ(m_nFindIndex, 0u);
            return;
        }
        const CxListNode* prev = nullptr;
        bool cursorSeen = false;
        std::uint32_t i = 0;
        for (const CxListNode* n = m_pHead; n; prev = n, n = n->pNext, ++i) {
            ASSERT_LT(i, items.size());
            EXPECT_EQ(n->nIndex, i);
            EXPECT_EQ(n->pPrev, prev);
            EXPECT_EQ(n->pData, items[i]);
            cursorSeen = cursorSeen || n == m_pCurr;
        }
        EXPECT_EQ(i, items.size());
        EXPECT_EQ(m_pTail, prev);
        EXPECT_TRUE(cursorSeen);
        EXPECT_EQ(m_pCurr->nIndex, m_nFindIndex);
    }
};

int g_items[8];

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_failNothrowNew)
        return nullptr;
    try {
        return ::operator new(size);  // pairs with the plain delete the list uses
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    ::operator delete(p);
}

namespace {

TEST(CxList, EmptyListAnswersNull)
{
    ListProbe list;
    EXPECT_FALSE(list.Add(nullptr));
    list.ExpectHolds({});
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_FALSE(list.RemoveAt(0, false));
    list.ExpectHolds({});
}

TEST(CxList, WalksForwardAndEndsWithNull)
{
    ListProbe list;
    for (int& item : g_items)
        ASSERT_TRUE(list.Add(&item));
    EXPECT_EQ(list.Cursor(), list.Tail()) << "Add moves the cursor to the new node";
    std::vector<void*> seen;
    for (void* p = list.GetFirst(); p; p = list.GetNext())
        seen.push_back(p);
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen.front(), &g_items[0]);
    EXPECT_EQ(seen.back(), &g_items[7]);
    EXPECT_EQ(list.GetNext(), nullptr);
    EXPECT_EQ(list.GetAt(8), nullptr);
    EXPECT_EQ(list.GetAt(3), &g_items[3]);
    EXPECT_EQ(list.FindIndex(), 3u);
    EXPECT_EQ(list.GetAt(1), &g_items[1]);  // walks back
    EXPECT_EQ(list.FindIndex(), 1u);
}

TEST(CxList, RemovalRenumbersAndPlacesTheCursor)
{
    struct Case {
        std::uint32_t remove;
        std::uint32_t cursorAfter;
    };
    // At the head the cursor goes to the new head, elsewhere to the predecessor.
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{2, 1}}) {
        ListProbe list;
        std::vector<void*> items{&g_items[0], &g_items[1], &g_items[2]};
        for (void* p : items)
            list.Add(p);
        void* out = nullptr;
        ASSERT_TRUE(list.RemoveAt(c.remove, false, &out));
        EXPECT_EQ(out, items[c.remove]);
        items.erase(items.begin() + c.remove);
        list.ExpectHolds(items);
        EXPECT_EQ(list.FindIndex(), c.cursorAfter) << "removing " << c.remove;
        EXPECT_EQ(list.Cursor()->pData, items[c.cursorAfter]);
        EXPECT_EQ(list.GetAt(0), items[0]);
        EXPECT_EQ(list.Cursor(), list.Head());
    }
}

TEST(CxList, RemovingTheOnlyItemEmptiesTheList)
{
    ListProbe list;
    list.Add(&g_items[0]);
    ASSERT_TRUE(list.RemoveAt(0, false));
    list.ExpectHolds({});
    EXPECT_FALSE(list.RemoveAt(0, false));
}

TEST(CxList, FreesItemsOnlyWhenTold)
{
    ListProbe list;
    void* a = std::malloc(16);
    void* b = std::malloc(16);
    list.Add(a);
    list.Add(b);
    void* out = a;
    ASSERT_TRUE(list.RemoveAt(0, true, &out));  // a is freed here
    EXPECT_EQ(out, nullptr);
    {
        CxList scoped;
        scoped.Add(b);
    }  // destroying a list leaves its items to their owner
    std::memset(b, 0, 16);
    list.RemoveAll(true);  // b is freed here
    list.ExpectHolds({});
}

// Random operations against a vector: the list must agree after every step.
TEST(CxList, AgreesWithAVectorOverRandomOperations)
{
    std::mt19937 rng(20261210);
    ListProbe list;
    std::vector<void*> model;
    static int pool[64];
    for (int step = 0; step < 5000; ++step) {
        const auto pick = [&](std::size_t n) { return std::uint32_t(rng() % std::max<std::size_t>(n, 1)); };
        switch (rng() % 5) {
        case 0:
        case 1: {
            void* p = &pool[pick(64)];
            list.Add(p);
            model.push_back(p);
            break;
        }
        case 2: {
            const std::uint32_t i = pick(model.size() + 2);
            void* out = nullptr;
            const bool removed = list.RemoveAt(i, false, &out);
            ASSERT_EQ(removed, i < model.size());
            if (removed) {
                ASSERT_EQ(out, model[i]);
                model.erase(model.begin() + i);
            }
            break;
        }
        case 3: {
            const std::uint32_t i = pick(model.size() + 2);
            ASSERT_EQ(list.GetAt(i), i < model.size() ? model[i] : nullptr);
            break;
        }
        default: {
            const std::uint32_t at = list.FindIndex();
            void* next = list.GetNext();
            ASSERT_EQ(next, at + 1 < model.size() ? model[at + 1] : nullptr);
            break;
        }
        }
        list.ExpectHolds(model);
        if (HasFatalFailure())
            return;
    }
}

using CxListDeathTest = ::testing::Test;

TEST_F(CxListDeathTest, BrokenInvariantsEndTheProcessNamingTheCheck)
{
    EXPECT_DEATH(
        {
            CxList list;
            g_failNothrowNew = true;
            list.Add(&g_items[0]);
        },
        "pContainer, in common/misc/CxList");
    EXPECT_DEATH(
        {
            ListProbe list;
            list.Add(&g_items[0]);
            list.Add(&g_items[1]);
            list.SetFindIndex(0);  // the cursor is on position 1
            list.GetAt(0);
        },
        "m_pCurr->nIndex==m_nFindIndex, in common/misc/CxList");
    EXPECT_DEATH(
        {
            ListProbe list;
            list.Add(&g_items[0]);
            list.SetCount(3);  // more nodes claimed than linked
            list.RemoveAt(2, false);
        },
        "m_pCurr, in common/misc/CxList");
}

}  // namespace
