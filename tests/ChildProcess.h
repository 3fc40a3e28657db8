// Test helper: runs a program as a child process with extra environment
// variables and collects its standard output, standard error and exit status.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

struct ChildResult {
    int status = -1;  // exit status, or -1 when killed by a signal
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env = {}) {
        int outPipe[2], errPipe[2];
        if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
            std::abort();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(outPipe[1], 1);
            dup2(errPipe[1], 2);
            close(outPipe[0]);
            close(errPipe[0]);
            for (const auto& [name, value] : env)
                setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(outPipe[1]);
        close(errPipe[1]);
        out_ = outPipe[0];
        err_ = errPipe[0];
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }

    void Kill() { kill(pid_, SIGKILL); }

    ChildResult Wait() {
        ChildResult result;
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        int open = 2;
        char buffer[4096];
        while (open > 0) {
            if (poll(fds, 2, -1) < 0)
                break;
            for (auto& fd : fds) {
                if (fd.fd < 0 || !(fd.revents & (POLLIN | POLLHUP)))
                    continue;
                const ssize_t n = read(fd.fd, buffer, sizeof buffer);
                if (n <= 0) {
                    close(fd.fd);
                    fd.fd = -1;
                    --open;
                } else {
                    (fd.fd == out_ ? result.out : result.err)
                        .append(buffer, static_cast<std::size_t>(n));
                }
            }
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

inline ChildResult RunChild(const std::string& program, const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env = {}) {
    return ChildProcess(program, args, env).Wait();
}
