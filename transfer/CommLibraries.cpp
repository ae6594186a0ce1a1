#include "transfer/CommLibraries.h"

#include "platform/LibraryLoader.h"
#include "platform/ProgramFolder.h"

#include <array>
#include <mutex>
#include <sys/stat.h>

namespace transfer {
namespace {

// The five libraries, by their place in kLibraryNames.
enum Library : std::size_t { UserIF, Online, Protocol7, Message, Settings, kLibraryCount };
constexpr std::array<const char*, kLibraryCount> kLibraryNames{"QelTeskUserIF", "QelTeskOnline", "QelTesktocol7",
                                                               "QelTeskMsg", "QelTeskCMSet"};

struct Binding {
    Library library;
    const char* symbol;
    void** slot;
};

template <typename Fn>
void** SlotOf(Fn& member)
{
    return reinterpret_cast<void**>(&member);
}

bool IsFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The libraries as the linker names them; a process that links them already
// (a test, say) gets those copies back when it asks by name.
std::string FileNameOf(const char* library)
{
    return std::string("lib") + library + platform::SharedLibrarySuffix();
}

class Loaded {
public:
    const CommExports* Get(std::string& error)
    {
        std::lock_guard lock(m_mutex);
        if (m_bound)
            return &m_exports;
        if (Bind(error))
            m_bound = true;
        return m_bound ? &m_exports : nullptr;
    }

private:
    bool Load(const char* name, platform::Library& library, std::string& error)
    {
        const std::string fileName = FileNameOf(name);
        const std::string beside = platform::ProgramFolder() + "/" + fileName;
        if (library.Load(IsFile(beside) ? beside : fileName))
            return true;
        error = "The communication library " + fileName + " could not be loaded: " + library.Error();
        return false;
    }

    bool Bind(std::string& error)
    {
        CommExports exports;
        const std::array<Binding, 19> bindings{{
            {UserIF, "QelTeskUserIF_41", SlotOf(exports.initialise)},
            {UserIF, "QelTeskUserIF_153", SlotOf(exports.setLanguage)},
            {UserIF, "QelTeskUserIF_8", SlotOf(exports.goOnline)},
            {UserIF, "QelTeskUserIF_14", SlotOf(exports.goOffline)},
            {UserIF, "QelTeskUserIF_150", SlotOf(exports.setTitle)},
            {UserIF, "QelTeskUserIF_188", SlotOf(exports.errorText)},
            {Online, "QelTeskOnline_5", SlotOf(exports.identify)},
            {Online, "QelTeskOnline_3", SlotOf(exports.modelId)},
            {Protocol7, "QelTesktocol7_1", SlotOf(exports.readType)},
            {Protocol7, "QelTesktocol7_7", SlotOf(exports.readByAddress)},
            {Protocol7, "QelTesktocol7_8", SlotOf(exports.writeByAddress)},
            {Message, "QelTeskMsg_91", SlotOf(exports.readRange)},
            {Message, "QelTeskMsg_92", SlotOf(exports.writeRange)},
            {Message, "QelTeskMsg_37", SlotOf(exports.connectionText)},
            {Message, "QelTeskMsg_SetProgress", SlotOf(exports.setProgress)},
            {Message, "QelTeskMsg_CheckWords", SlotOf(exports.checkWords)},
            {Settings, "QelTeskCMSet_3", SlotOf(exports.commSettings)},
            {Settings, "QelTeskCMSet_14", SlotOf(exports.onlineSettings)},
            {Settings, "QelTeskCMSet_DetectLine", SlotOf(exports.detectLine)},
        }};
        for (const Binding& binding : bindings) {
            platform::Library& library = m_libraries[binding.library];
            if (!library.IsLoaded() && !Load(kLibraryNames[binding.library], library, error))
                return false;
            *binding.slot = library.Symbol(binding.symbol);
            if (!*binding.slot) {
                error = "The communication library " + FileNameOf(kLibraryNames[binding.library]) + " has no function "
                        + binding.symbol + ".";
                return false;
            }
        }
        exports.cancel = reinterpret_cast<decltype(exports.cancel)>(m_libraries[Message].Symbol("QelTeskMsg_Cancel"));
        exports.setRequestLog =
            reinterpret_cast<comm::SetRequestLogFn>(m_libraries[Message].Symbol("QelTeskMsg_SetRequestLog"));
        m_exports = exports;
        return true;
    }

    std::mutex m_mutex;
    std::array<platform::Library, kLibraryCount> m_libraries;
    CommExports m_exports;
    bool m_bound = false;
};

} // namespace

const CommExports* LoadCommExports(std::string& error)
{
    // Never unloaded: the libraries keep toolkit state that must not go
    // before the program's own.
    static Loaded* const loaded = new Loaded;
    return loaded->Get(error);
}

} // namespace transfer
