// Runs the built program as a child process with a chosen standard input,
// standard output and resource limits, and collects what it wrote.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/resource.h>

struct RunSetup {
    std::string input{};      // what standard input holds
    bool close_stdin = false; // start with descriptor 0 closed instead
    enum class Out { Pipe, DevFull, Closed, File } out = Out::Pipe;
    rlim_t address_space_limit = RLIM_INFINITY;
    rlim_t file_size_limit = RLIM_INFINITY;                         // with Out::File; SIGXFSZ is ignored
    std::vector<std::pair<std::string, std::string>> environment{}; // set in the child
    // Receives standard output piece by piece; by default it is kept in
    // RunResult::out.
    std::function<void(std::string_view)> on_output{};
};

struct RunResult {
    std::string out;
    std::string err;
    int exit_status = -1; // -1 when the child was killed by a signal
    int signal = 0;
};

RunResult run_sito(const RunSetup& setup);

// The sizes of the program's writes to standard output, as logged by the
// write log preloaded with LD_PRELOAD=WRITE_LOG_SHIM SITO_WRITE_LOG=path.
std::vector<std::size_t> write_sizes(const std::string& log_path);

// The first line the program writes.
inline constexpr std::string_view prompt_line =
    "wpisz tutaj liczbe galganie, ktora bedzie granicaprzedzialu wyszukiwania liczb pierwszych\n";
