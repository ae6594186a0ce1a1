#pragma once

// Runs a program with arguments (no shell) and collects what it prints.

#include <string>
#include <vector>

namespace testsupport {

struct ProcessResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnvironment = {});

} // namespace testsupport
