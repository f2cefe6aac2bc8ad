#include "run_sito.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An unlinked temporary file, open for reading and writing.
int temporary_file()
{
    std::string name = "/tmp/sito-test-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    ::unlink(name.c_str());
    return fd;
}

std::string read_all(int fd)
{
    std::string text;
    std::array<char, 1 << 16> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return text;
        }
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

[[noreturn]] void child(const RunSetup& setup, int in_fd, int out_fd, int err_fd)
{
    if (setup.close_stdin) {
        ::close(0);
    } else {
        ::dup2(in_fd, 0);
    }
    switch (setup.out) {
    case RunSetup::Out::Pipe:
    case RunSetup::Out::File:
        ::dup2(out_fd, 1);
        break;
    case RunSetup::Out::DevFull: {
        const int full = ::open("/dev/full", O_WRONLY);
        ::dup2(full, 1);
        break;
    }
    case RunSetup::Out::Closed:
        ::close(1);
        break;
    }
    ::dup2(err_fd, 2);
    ::closefrom(3);

    const rlimit as{setup.address_space_limit, setup.address_space_limit};
    const rlimit fsize{setup.file_size_limit, setup.file_size_limit};
    if (::setrlimit(RLIMIT_AS, &as) != 0 || ::setrlimit(RLIMIT_FSIZE, &fsize) != 0) {
        ::_exit(126);
    }
    for (const auto& [name, value] : setup.environment) {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_DFL);
    ::execl(SITO_PATH, "sito", static_cast<char*>(nullptr));
    ::_exit(127);
}

} // namespace

RunResult run_sito(const RunSetup& setup)
{
    const int in_fd = temporary_file();
    if (::write(in_fd, setup.input.data(), setup.input.size()) != static_cast<ssize_t>(setup.input.size()) ||
        ::lseek(in_fd, 0, SEEK_SET) != 0) {
        throw std::runtime_error("cannot prepare standard input");
    }
    const int err_fd = temporary_file();

    std::array<int, 2> pipe_fds{-1, -1};
    int out_fd = -1;
    if (setup.out == RunSetup::Out::Pipe) {
        if (::pipe(pipe_fds.data()) != 0) {
            throw std::runtime_error("pipe failed");
        }
        out_fd = pipe_fds[1];
    } else if (setup.out == RunSetup::Out::File) {
        out_fd = temporary_file();
    }

    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        child(setup, in_fd, out_fd, err_fd);
    }

    RunResult result;
    const auto deliver = [&](std::string_view piece) {
        if (setup.on_output) {
            setup.on_output(piece);
        } else {
            result.out.append(piece);
        }
    };
    if (setup.out == RunSetup::Out::Pipe) {
        ::close(pipe_fds[1]);
        std::array<char, 1 << 16> buffer{};
        for (;;) {
            const ssize_t got = ::read(pipe_fds[0], buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            deliver(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        }
        ::close(pipe_fds[0]);
    }

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exit_status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }

    if (setup.out == RunSetup::Out::File) {
        ::lseek(out_fd, 0, SEEK_SET);
        deliver(read_all(out_fd));
        ::close(out_fd);
    }
    ::lseek(err_fd, 0, SEEK_SET);
    result.err = read_all(err_fd);
    ::close(err_fd);
    ::close(in_fd);
    return result;
}

std::vector<std::size_t> write_sizes(const std::string& log_path)
{
    std::ifstream log(log_path);
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; log >> size;) {
        sizes.push_back(size);
    }
    return sizes;
}
