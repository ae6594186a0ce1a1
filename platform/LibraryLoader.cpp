#include "platform/LibraryLoader.h"

#include <dlfcn.h>

#include <utility>

namespace platform {

Library::~Library()
{
    Unload();
}

Library::Library(Library&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr))
    , m_error(std::move(other.m_error))
{
}

Library& Library::operator=(Library&& other) noexcept
{
    if (this != &other) {
        Unload();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

bool Library::Load(const std::string& path)
{
    Unload();
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* text = dlerror();
        m_error = text ? text : "cannot load " + path;
        return false;
    }
    m_error.clear();
    return true;
}

void Library::Unload()
{
    if (m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* Library::Symbol(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

const char* SharedLibrarySuffix()
{
    return ".so";
}

} // namespace platform
