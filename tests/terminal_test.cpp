// The program on a real terminal: a pseudo-terminal stands in for the console.

#include "run_sito.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Reads what the terminal shows until `done` holds for it, the program
// closes the terminal, or a few seconds pass with nothing new.
template <typename Done> std::string read_screen(int master, std::string screen, Done done)
{
    std::array<char, 4096> buffer{};
    while (!done(screen)) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) {
            break;
        }
        const ssize_t got = ::read(master, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break; // EIO: the program has closed its side
        }
        screen.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return screen;
}

TEST(Terminal, QuestionComesFirstAndListingFollowsTheTypedBound)
{
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::execl(SITO_PATH, "sito", static_cast<char*>(nullptr));
        ::_exit(127);
    }

    // The terminal turns each line end into a carriage return and line feed.
    std::string question(prompt_line);
    question.insert(question.size() - 1, "\r");

    // Nothing is typed until the whole question is on the screen.
    std::string screen = read_screen(master, "", [&](const std::string& s) { return s.size() >= question.size(); });
    ASSERT_EQ(screen, question);

    ASSERT_EQ(::write(master, "30\n", 3), 3);
    screen = read_screen(master, screen, [](const std::string&) { return false; });
    EXPECT_EQ(screen, question + "30\r\nZnalieziono: \r\n2\r\n3\r\n5\r\n7\r\n11\r\n13\r\n17\r\n19\r\n23\r\n29\r\n");

    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(master);
}

// With the write log preloaded: every line reaches the terminal in a write of
// its own, as soon as it is done.
TEST(Terminal, EachLineIsWrittenAsSoonAsItIsDone)
{
    const std::string log_path = ::testing::TempDir() + "sito-terminal-writes";
    std::remove(log_path.c_str());
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setenv("LD_PRELOAD", WRITE_LOG_SHIM, 1);
        ::setenv("SITO_WRITE_LOG", log_path.c_str(), 1);
        ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
        ::execl(SITO_PATH, "sito", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const std::string question =
        read_screen(master, "", [](const std::string& s) { return s.find('\n') != std::string::npos; });
    ASSERT_EQ(::write(master, "30\n", 3), 3);
    read_screen(master, question, [](const std::string&) { return false; });
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(master);

    // The question, the header, then 2, 3, 5, 7 and six two-digit primes.
    EXPECT_EQ(write_sizes(log_path), (std::vector<std::size_t>{90, 14, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3}));
    std::remove(log_path.c_str());
}

} // namespace
