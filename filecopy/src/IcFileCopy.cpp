#include "IcFileCopy.h"

#include "IcExtInfoArray.h"
#include "IcText.h"

CIcFileCopy::CIcFileCopy()
    : m_pszFileName(nullptr)
    , m_pszTempName(nullptr)
    , m_pExtInfoList(new CIcExtInfoArray)
    , m_byStatus(0)
{
}

// The list is copied before the texts: it is the only part that can throw,
// and nothing is allocated yet that a throw would leak.
CIcFileCopy::CIcFileCopy(CIcFileCopy& other)
    : m_pszFileName(nullptr)
    , m_pszTempName(nullptr)
    , m_pExtInfoList(new CIcExtInfoArray(*other.m_pExtInfoList))
    , m_byStatus(other.m_byStatus)
{
    m_pszFileName = IcText::Copy(other.m_pszFileName);
    m_pszTempName = IcText::Copy(other.m_pszTempName);
}

CIcFileCopy::~CIcFileCopy()
{
    delete m_pExtInfoList;
    IcText::Free(m_pszFileName);
    IcText::Free(m_pszTempName);
}

void CIcFileCopy::operator=(const CIcFileCopy& other)
{
    if (this == &other)
        return;
    // Copied aside first, so running out of memory changes nothing here.
    CIcExtInfoArray* pList = new CIcExtInfoArray(*other.m_pExtInfoList);
    delete m_pExtInfoList;
    m_pExtInfoList = pList;
    IcText::Replace(m_pszFileName, other.m_pszFileName);
    IcText::Replace(m_pszTempName, other.m_pszTempName);
    m_byStatus = other.m_byStatus;
}

int CIcFileCopy::AddExtInfo(CIcExtInfo extInfo)
{
    return m_pExtInfoList->Add(extInfo);
}

CIcExtInfo CIcFileCopy::GetExtInfo(int nIndex) const
{
    return m_pExtInfoList->GetAt(nIndex);
}

int CIcFileCopy::GetExtInfoSize() const
{
    return m_pExtInfoList->GetSize();
}

const char* CIcFileCopy::GetFileName()
{
    return m_pszFileName;
}

const char* CIcFileCopy::GetTempName()
{
    return m_pszTempName;
}

void CIcFileCopy::SetFileName(const char* pszFileName)
{
    IcText::Replace(m_pszFileName, pszFileName);
}

void CIcFileCopy::SetTempName(const char* pszTempName)
{
    IcText::Replace(m_pszTempName, pszTempName);
}

unsigned char CIcFileCopy::GetStatus()
{
    return m_byStatus;
}

void CIcFileCopy::SetStatus(unsigned char byStatus)
{
    m_byStatus = byStatus;
}
