#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tarvolin::testing {

// A helper program started with its standard output on a pipe; killed when still running at the end.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv) {
        // Everything the child needs is made before fork: it may only exec.
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~ChildProcess() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        if (out_ >= 0) ::close(out_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One line of its output, without the line end; empty at the end of the output.
    std::string ReadLine() {
        std::string line;
        char c = 0;
        while (out_ >= 0 && ::read(out_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    void Kill() { ::kill(pid_, SIGKILL); }
    // The exit status, -1 when it did not exit normally.
    int Wait() {
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_) return -1;
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool waited_ = false;
};

}  // namespace tarvolin::testing
