#pragma once

#include "QelTeskExApi.h"

// One extension entry of a file-copy descriptor: an extension name and a file
// size, neither interpreted by the library.
//
// Outside callers compile against this class and rely on its layout and on the
// exact signatures below, the non-const copy constructor and the non-const
// getters included. Keep them as they are; every member is defined inside the
// library so that the name is always allocated and freed there.
class QELTESKEX_API CIcExtInfo {
public:
    CIcExtInfo();
    CIcExtInfo(CIcExtInfo& other);
    ~CIcExtInfo();
    void operator=(const CIcExtInfo& other);

    // Null when the name is empty; valid until the name changes or the entry
    // is destroyed.
    const char* GetExtName();
    // Stores a private copy; null and "" both clear the name. If the copy
    // cannot be allocated the name is cleared.
    void SetExtName(const char* pszExtName);

    int GetFileSize();
    void SetFileSize(int nFileSize);

private:
    char* m_pszExtName;
    int m_nFileSize;
};
