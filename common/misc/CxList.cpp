#include "CxList.h"

#include "CxCheck.h"

#include <cstdlib>
#include <new>

CxList::~CxList()
{
    RemoveAll(false);
}

bool CxList::Add(void* pData)
{
    if (!pData)
        return false;
    auto* pContainer = new (std::nothrow) CxListNode{pData, m_nCount, m_pTail, nullptr};
    CX_CHECK(pContainer);
    if (m_pTail)
        m_pTail->pNext = pContainer;
    else
        m_pHead = pContainer;
    m_pTail = pContainer;
    m_pCurr = pContainer;
    m_nFindIndex = pContainer->nIndex;
    ++m_nCount;
    return true;
}

void* CxList::GetFirst()
{
    m_pCurr = m_pHead;
    m_nFindIndex = 0;
    return m_pHead ? m_pHead->pData : nullptr;
}

void* CxList::GetNext()
{
    if (!m_pCurr || m_nFindIndex + 1 >= m_nCount)
        return nullptr;
    return GetAt(m_nFindIndex + 1);
}

void* CxList::GetAt(std::uint32_t nIndex)
{
    if (nIndex >= m_nCount)
        return nullptr;
    CX_CHECK(m_pCurr->nIndex==m_nFindIndex);
    while (m_pCurr && m_pCurr->nIndex != nIndex)
        m_pCurr = nIndex > m_nFindIndex ? m_pCurr->pNext : m_pCurr->pPrev;
    CX_CHECK(m_pCurr);
    m_nFindIndex = nIndex;
    return m_pCurr->pData;
}

bool CxList::RemoveAt(std::uint32_t nIndex, bool bFree, void** ppData)
{
    if (nIndex >= m_nCount)
        return false;
    while (m_pCurr && m_pCurr->nIndex != nIndex)
        m_pCurr = nIndex > m_nFindIndex ? m_pCurr->pNext : m_pCurr->pPrev;
    CX_CHECK(m_pCurr);

    CxListNode* pNode = m_pCurr;
    if (bFree) {
        std::free(pNode->pData);
        if (ppData)
            *ppData = nullptr;
    } else if (ppData) {
        *ppData = pNode->pData;
    }

    if (pNode->pPrev)
        pNode->pPrev->pNext = pNode->pNext;
    else
        m_pHead = pNode->pNext;
    if (pNode->pNext)
        pNode->pNext->pPrev = pNode->pPrev;
    else
        m_pTail = pNode->pPrev;
    for (CxListNode* p = pNode->pNext; p; p = p->pNext)
        --p->nIndex;

    m_pCurr = pNode->pPrev ? pNode->pPrev : pNode->pNext;
    m_nFindIndex = m_pCurr ? m_pCurr->nIndex : 0;
    --m_nCount;
    delete pNode;
    return true;
}

void CxList::RemoveAll(bool bFree)
{
    for (CxListNode* p = m_pHead; p;) {
        CxListNode* pNext = p->pNext;
        if (bFree)
            std::free(p->pData);
        delete p;
        p = pNext;
    }
    m_pHead = m_pTail = m_pCurr = nullptr;
    m_nCount = 0;
    m_nFindIndex = 0;
}
