#pragma once

class CIcExtInfo;

// The extension list of a descriptor. Each entry has its own heap block, so
// growing the list moves only pointers and never copies an entry (a copy could
// silently lose its name when memory runs out).
class CIcExtInfoArray {
public:
    CIcExtInfoArray() = default;
    // Has no spare capacity. Throws std::bad_alloc without leaking.
    CIcExtInfoArray(const CIcExtInfoArray& other);
    ~CIcExtInfoArray();
    CIcExtInfoArray& operator=(const CIcExtInfoArray&) = delete;

    int GetSize() const { return m_nSize; }
    // Throws std::invalid_argument for an index outside the list.
    CIcExtInfo& GetAt(int nIndex) const;
    // Constructs an empty entry at the end and assigns the copy to it.
    // Throws std::bad_alloc, leaving the list as it was.
    int Add(const CIcExtInfo& extInfo);

private:
    void Reserve(int nCapacity);
    void RemoveAll() noexcept;

    CIcExtInfo** m_ppEntries = nullptr;
    int m_nSize = 0;
    int m_nCapacity = 0;
};
