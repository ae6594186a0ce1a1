#pragma once

#include "document/IDocumentHost.h"

#include <string>

// The file dialogs the commands show. Filters are in the string resources'
// form; filter indexes are 1-based. Tests put a scripted implementation here.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // True with path and the chosen filter index when the user confirms.
    virtual bool GetOpenFileName(const std::string& filter, int& filterIndex, std::string& path) = 0;
    virtual bool GetSaveFileName(SaveFileRequest& request) = 0;
};
