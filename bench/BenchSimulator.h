#pragma once

// memorix-plcsim beside a benchmark: started from the benchmark's folder on a
// free port, serving the CA-500L with the options given, its connection
// profile saved in a settings folder of the run's own. Stopped with the object.

#include "commlib/core/ProfileStore.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class BenchSimulator {
public:
    BenchSimulator(const std::vector<std::string>& options, int connection)
    {
        const std::string program = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "memorix-plcsim";
        std::vector<std::string> words{program, "--model", "1794", "--port", "0"};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        std::string line;
        pollfd p{out[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, 10000) > 0 && read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(out[0]);
        const auto colon = line.rfind(':');
        m_port = colon == std::string::npos ? 0 : std::atoi(line.c_str() + colon + 1);

        static const bool settingsFolder = [] {
            char path[] = "/tmp/memorix-bench-settings-XXXXXX";
            return mkdtemp(path) && setenv("XDG_CONFIG_HOME", path, 1) == 0;
        }();
        (void)settingsFolder;
        commlib::Profile profile = commlib::DefaultProfile();
        profile.port = m_port;
        commlib::ProfileStore::Save(connection, profile);
    }
    ~BenchSimulator()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    BenchSimulator(const BenchSimulator&) = delete;
    BenchSimulator& operator=(const BenchSimulator&) = delete;

    int Port() const { return m_port; }

private:
    int m_pid = -1;
    int m_port = 0;
};
