#include "IcText.h"

#include <cstring>
#include <new>

namespace IcText {

char* Copy(const char* psz) noexcept
{
    if (psz == nullptr || *psz == '\0')
        return nullptr;
    const std::size_t nBytes = std::strlen(psz) + 1;
    char* pszCopy = new (std::nothrow) char[nBytes];
    if (pszCopy != nullptr)
        std::memcpy(pszCopy, psz, nBytes);
    return pszCopy;
}

void Free(char* psz) noexcept
{
    delete[] psz;
}

void Replace(char*& pszOwned, const char* pszNew) noexcept
{
    char* pszCopy = Copy(pszNew);
    Free(pszOwned);
    pszOwned = pszCopy;
}

} // namespace IcText
