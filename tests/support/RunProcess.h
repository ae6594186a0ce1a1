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

// The whole contents of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnvironment = {});

} // namespace testsupport
