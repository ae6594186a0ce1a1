#include "support/RunProcess.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& extraEnvironment)
{
    // Output goes to files, so a chatty child can never block on a full pipe.
    char outName[] = "/tmp/memorix-run-out-XXXXXX";
    char errName[] = "/tmp/memorix-run-err-XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);

    ProcessResult result;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        const int nullIn = open("/dev/null", O_RDONLY);
        dup2(nullIn, STDIN_FILENO);
        for (const std::string& assignment : extraEnvironment)
            putenv(const_cast<char*>(assignment.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (pid > 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status))
            result.exitCode = WEXITSTATUS(status);
    }
    close(outFd);
    close(errFd);
    result.out = ReadWholeFile(outName);
    result.err = ReadWholeFile(errName);
    std::remove(outName);
    std::remove(errName);
    return result;
}

} // namespace testsupport
