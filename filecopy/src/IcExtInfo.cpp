#include "IcExtInfo.h"

#include "IcText.h"

CIcExtInfo::CIcExtInfo()
    : m_pszExtName(nullptr)
    , m_nFileSize(0)
{
}

CIcExtInfo::CIcExtInfo(CIcExtInfo& other)
    : m_pszExtName(IcText::Copy(other.m_pszExtName))
    , m_nFileSize(other.m_nFileSize)
{
}

CIcExtInfo::~CIcExtInfo()
{
    IcText::Free(m_pszExtName);
}

void CIcExtInfo::operator=(const CIcExtInfo& other)
{
    // Without this a caller's pointer from GetExtName() would dangle.
    if (this == &other)
        return;
    IcText::Replace(m_pszExtName, other.m_pszExtName);
    m_nFileSize = other.m_nFileSize;
}

const char* CIcExtInfo::GetExtName()
{
    return m_pszExtName;
}

void CIcExtInfo::SetExtName(const char* pszExtName)
{
    IcText::Replace(m_pszExtName, pszExtName);
}

int CIcExtInfo::GetFileSize()
{
    return m_nFileSize;
}

void CIcExtInfo::SetFileSize(int nFileSize)
{
    m_nFileSize = nFileSize;
}
