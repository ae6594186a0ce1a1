#pragma once

#include <IcFileCopy.h>

#include <gtest/gtest.h>

#include <string>

inline std::string Text(const char* psz)
{
    return psz ? psz : "(null)";
}

// Everything a caller can read from a descriptor, in one comparable string.
inline std::string Describe(CIcFileCopy& fc)
{
    std::string s = Text(fc.GetFileName()) + "|" + Text(fc.GetTempName()) + "|" + std::to_string(fc.GetStatus());
    for (int i = 0; i < fc.GetExtInfoSize(); ++i) {
        CIcExtInfo e = fc.GetExtInfo(i);
        s += "|" + Text(e.GetExtName()) + ":" + std::to_string(e.GetFileSize());
    }
    return s;
}

// Sets the texts and the status and appends entries named "<prefix><i>" with
// size i, counting from 0.
inline void Fill(CIcFileCopy& fc, const char* file, const char* temp, unsigned char status, int entries,
                 const std::string& prefix = "x")
{
    fc.SetFileName(file);
    fc.SetTempName(temp);
    fc.SetStatus(status);
    const int first = fc.GetExtInfoSize();
    for (int i = 0; i < entries; ++i) {
        CIcExtInfo e;
        e.SetExtName((prefix + std::to_string(i)).c_str());
        e.SetFileSize(i);
        EXPECT_EQ(fc.AddExtInfo(e), first + i);
    }
}
