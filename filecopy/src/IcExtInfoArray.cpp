#include "IcExtInfoArray.h"

#include "IcExtInfo.h"

#include <climits>
#include <new>
#include <stdexcept>

CIcExtInfoArray::CIcExtInfoArray(const CIcExtInfoArray& other)
{
    Reserve(other.m_nSize);
    try {
        for (int i = 0; i < other.m_nSize; ++i)
            Add(*other.m_ppEntries[i]);
    } catch (...) {
        RemoveAll();
        throw;
    }
}

CIcExtInfoArray::~CIcExtInfoArray()
{
    RemoveAll();
}

CIcExtInfo& CIcExtInfoArray::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nSize)
        throw std::invalid_argument("extension entry index out of range");
    return *m_ppEntries[nIndex];
}

int CIcExtInfoArray::Add(const CIcExtInfo& extInfo)
{
    if (m_nSize == m_nCapacity) {
        // The index is returned as an int, so the list ends at INT_MAX entries.
        if (m_nCapacity == INT_MAX)
            throw std::bad_alloc();
        Reserve(m_nCapacity == 0 ? 4 : m_nCapacity > INT_MAX / 2 ? INT_MAX : m_nCapacity * 2);
    }
    CIcExtInfo* pEntry = new CIcExtInfo;
    *pEntry = extInfo;
    m_ppEntries[m_nSize] = pEntry;
    return m_nSize++;
}

void CIcExtInfoArray::Reserve(int nCapacity)
{
    if (nCapacity <= m_nCapacity)
        return;
    CIcExtInfo** ppEntries = new CIcExtInfo*[nCapacity];
    for (int i = 0; i < m_nSize; ++i)
        ppEntries[i] = m_ppEntries[i];
    delete[] m_ppEntries;
    m_ppEntries = ppEntries;
    m_nCapacity = nCapacity;
}

void CIcExtInfoArray::RemoveAll() noexcept
{
    for (int i = 0; i < m_nSize; ++i)
        delete m_ppEntries[i];
    delete[] m_ppEntries;
    m_ppEntries = nullptr;
    m_nSize = 0;
    m_nCapacity = 0;
}
