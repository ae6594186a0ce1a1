#pragma once

#include "IcExtInfo.h"
#include "QelTeskExApi.h"

class CIcExtInfoArray;

// Describes one file to be copied: its name, a temporary name, a status byte
// set by the caller and a list of extension entries in the order they were
// added.
//
// As with CIcExtInfo, the layout and the exact signatures are relied on by
// outside callers.
class QELTESKEX_API CIcFileCopy {
public:
    CIcFileCopy();
    CIcFileCopy(CIcFileCopy& other);
    ~CIcFileCopy();
    // Out of memory while copying the list throws std::bad_alloc and leaves
    // this descriptor as it was.
    void operator=(const CIcFileCopy& other);

    // Returns the new entry's index. Throws std::bad_alloc, leaving the list
    // as it was, when the list cannot grow.
    int AddExtInfo(CIcExtInfo extInfo);
    // A copy of the entry; throws std::invalid_argument for an index outside
    // the list.
    CIcExtInfo GetExtInfo(int nIndex) const;
    int GetExtInfoSize() const;

    // Null when empty; valid until the text changes or the descriptor is
    // destroyed.
    const char* GetFileName();
    const char* GetTempName();
    // Store a private copy; null and "" both clear the text.
    void SetFileName(const char* pszFileName);
    void SetTempName(const char* pszTempName);

    unsigned char GetStatus();
    void SetStatus(unsigned char byStatus);

private:
    char* m_pszFileName;
    char* m_pszTempName;
    CIcExtInfoArray* m_pExtInfoList;
    unsigned char m_byStatus;
};
