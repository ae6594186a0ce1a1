#pragma once

#include <string>

namespace platform {

// A shared library loaded by path, unloaded when the object goes.
class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    Library(Library&& other) noexcept;
    Library& operator=(Library&& other) noexcept;

    bool Load(const std::string& path);
    void Unload();
    bool IsLoaded() const { return m_handle != nullptr; }
    void* Symbol(const char* name) const;
    const std::string& Error() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// The file-name suffix of a shared library on this platform (".so").
const char* SharedLibrarySuffix();

} // namespace platform
