#pragma once
// A doubly linked list of untyped item pointers addressed by position. A cursor keeps
// the node last reached, so walking by increasing index costs one link per step.
// The list owns its nodes; it frees its items (with free(), no destructor) only when an
// operation is told to.

#include <cstdint>

struct CxListNode {
    void* pData;
    std::uint32_t nIndex;  // 0 for the head
    CxListNode* pPrev;
    CxListNode* pNext;
};

class CxList {
public:
    CxList() = default;
    ~CxList();
    CxList(const CxList&) = delete;
    CxList& operator=(const CxList&) = delete;

    // Appends pData and moves the cursor to it; false for a null item.
    bool Add(void* pData);
    std::uint32_t GetCount() const { return m_nCount; }
    // Cursor to the head; its item, or null when empty.
    void* GetFirst();
    // The item after the cursor, or null at the last one.
    void* GetNext();
    // The item at nIndex, walking the cursor there; null when nIndex is not below the count.
    void* GetAt(std::uint32_t nIndex);
    // Removes the node at nIndex. With bFree its item is freed and *ppData set to null;
    // without, *ppData receives the item. False when nIndex is not below the count.
    bool RemoveAt(std::uint32_t nIndex, bool bFree, void** ppData = nullptr);
    void RemoveAll(bool bFree);

protected:
    CxListNode* m_pHead = nullptr;
    CxListNode* m_pTail = nullptr;
    CxListNode* m_pCurr = nullptr;
    std::uint32_t m_nCount = 0;
    std::uint32_t m_nFindIndex = 0;
};
