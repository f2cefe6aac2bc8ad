// The whole program, run as users run it: standard input in, standard output,
// standard error and the exit status out.

#include "run_sito.h"

#include <gtest/gtest.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::string header = "Znalieziono: \n";
const std::string range_error = "sito: liczba poza zakresem: najwieksza granica to 2147483647\n";

std::string listing(const std::vector<int>& primes)
{
    std::string text = header;
    for (const int p : primes) {
        text += std::to_string(p) + '\n';
    }
    return text;
}

bool sanitized_build()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// ---------------------------------------------------------------------------
// Standard input in, exact output and status out.

struct Exchange {
    const char* name;
    std::string input;
    std::string after_prompt; // standard output after the prompt line
    std::string err;
    int status;
};

void PrintTo(const Exchange& e, std::ostream* os)
{
    *os << e.name;
}

class Dialogue : public ::testing::TestWithParam<Exchange> {};

TEST_P(Dialogue, AnswersExactly)
{
    const Exchange& e = GetParam();
    const RunResult r = run_sito({.input = e.input});
    EXPECT_EQ(r.out, std::string(prompt_line) + e.after_prompt);
    EXPECT_EQ(r.err, e.err);
    EXPECT_EQ(r.exit_status, e.status);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Dialogue,
    ::testing::Values(Exchange{"one", "1\n", "", "", 0}, Exchange{"two", "2\n", listing({2}), "", 0},
                      Exchange{"ten", "10\n", listing({2, 3, 5, 7}), "", 0},
                      Exchange{"square_of_prime", "25\n", listing({2, 3, 5, 7, 11, 13, 17, 19, 23}), "", 0},
                      Exchange{"thirty", "30\n", listing({2, 3, 5, 7, 11, 13, 17, 19, 23, 29}), "", 0},
                      Exchange{"blanks_then_letters", "  \t 17xyz\n", listing({2, 3, 5, 7, 11, 13, 17}), "", 0},
                      Exchange{"plus_sign", "+11\n", listing({2, 3, 5, 7, 11}), "", 0},
                      Exchange{"line_ends_first", "\n\n 3", listing({2, 3}), "", 0},
                      Exchange{"second_number_unread", "5 100\n", listing({2, 3, 5}), "", 0},
                      Exchange{"zero", "0\n", "", "", 0}, Exchange{"negative", "-7\n", "", "", 0},
                      Exchange{"negative_beyond_int", "-99999999999999999999999\n", "", "", 0},
                      Exchange{"int_min", "-2147483648\n", "", "", 0}, Exchange{"text", "abc\n", "", "", 0},
                      Exchange{"hexadecimal", "0x1A\n", "", "", 0}, Exchange{"lone_sign", "+\n", "", "", 0},
                      Exchange{"empty_input", "", "", "", 0}, Exchange{"only_white_space", " \n\t\n", "", "", 0},
                      Exchange{"just_above_int", "2147483648\n", "", range_error, 1},
                      Exchange{"far_above_int", "99999999999999999999999999\n", "", range_error, 1},
                      Exchange{"above_int_with_plus", "+4294967296\n", "", range_error, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Failures of the environment: each is reported, never passed off as success.

TEST(DialogueEnvironment, ClosedInputEndsQuietly)
{
    const RunResult r = run_sito({.close_stdin = true});
    EXPECT_EQ(r.out, prompt_line);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit_status, 0);
}

TEST(DialogueEnvironment, FullDeviceIsAWriteError)
{
    const RunResult r = run_sito({.input = "100\n", .out = RunSetup::Out::DevFull});
    EXPECT_EQ(r.err, "sito: blad zapisu: No space left on device\n");
    EXPECT_EQ(r.exit_status, 1);
}

TEST(DialogueEnvironment, ClosedOutputIsAWriteError)
{
    const RunResult r = run_sito({.input = "100\n", .out = RunSetup::Out::Closed});
    EXPECT_EQ(r.err.rfind("sito: blad zapisu", 0), 0U) << r.err;
    EXPECT_EQ(r.exit_status, 1);
}

// The prompt fits, the listing does not: the failure comes mid-way.
TEST(DialogueEnvironment, WriteFailingMidListingIsAWriteError)
{
    const RunResult r = run_sito({.input = "1000000\n", .out = RunSetup::Out::File, .file_size_limit = 4096});
    EXPECT_EQ(r.out.size(), 4096U);
    EXPECT_EQ(r.out.rfind(std::string(prompt_line) + header + "2\n3\n5\n", 0), 0U);
    EXPECT_EQ(r.err, "sito: blad zapisu: File too large\n");
    EXPECT_EQ(r.exit_status, 1);
}

// Too little memory for the flags (first case) or for the list of primes
// (second case): a message and status 1, and no header or partial listing.
struct MemoryShortage {
    const char* name;
    std::string input;
    rlim_t limit;
};

void PrintTo(const MemoryShortage& m, std::ostream* os)
{
    *os << m.name;
}

class DialogueMemory : public ::testing::TestWithParam<MemoryShortage> {};

TEST_P(DialogueMemory, ShortageIsReportedWithoutListing)
{
    if (sanitized_build()) {
        GTEST_SKIP() << "the sanitizers' shadow memory does not fit under an address space limit";
    }
    const RunResult r = run_sito({.input = GetParam().input, .address_space_limit = GetParam().limit});
    EXPECT_EQ(r.out, prompt_line);
    EXPECT_EQ(r.err.rfind("sito: za malo pamieci", 0), 0U) << r.err;
    EXPECT_EQ(r.exit_status, 1);
}

INSTANTIATE_TEST_SUITE_P(Limits, DialogueMemory,
                         ::testing::Values(MemoryShortage{"flags", "2000000000\n", 64U << 20},
                                           MemoryShortage{"list", "400000000\n", 128U << 20}),
                         [](const auto& info) { return std::string(info.param.name); });

// Into a pipe the question is written at once, and the listing in a block.
TEST(DialogueOutput, ListingToAPipeIsWrittenInOneBlock)
{
    const std::string log_path = ::testing::TempDir() + "sito-pipe-writes";
    std::remove(log_path.c_str());
    const RunResult r = run_sito({.input = "30\n",
                                  .environment = {{"LD_PRELOAD", WRITE_LOG_SHIM},
                                                  {"SITO_WRITE_LOG", log_path},
                                                  {"ASAN_OPTIONS", "verify_asan_link_order=0"}}});
    EXPECT_EQ(r.out, std::string(prompt_line) + listing({2, 3, 5, 7, 11, 13, 17, 19, 23, 29}));
    // The question, the header, then all ten primes in 26 bytes.
    EXPECT_EQ(write_sizes(log_path), (std::vector<std::size_t>{90, 14, 26}));
    std::remove(log_path.c_str());
}

// ---------------------------------------------------------------------------
// The largest bound: every prime up to 2147483647, through a pipe.

TEST(DialogueSlow, LargestBoundListsEveryPrime)
{
    std::string pending;
    std::size_t lines = 0;
    std::int64_t previous = 0;
    std::string first_two;
    bool ordered = true;
    const auto take_line = [&](std::string_view line) {
        ++lines;
        if (lines <= 2) {
            first_two.append(line).push_back('\n');
            return;
        }
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (ec != std::errc() || end != line.data() + line.size() || value <= previous || line.front() == '0') {
            ordered = false;
        }
        previous = value;
    };
    RunSetup setup{.input = "2147483647\n"};
    setup.on_output = [&](std::string_view piece) {
        pending.append(piece);
        std::size_t start = 0;
        for (std::size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n', start)) {
            take_line(std::string_view(pending).substr(start, end - start));
            start = end + 1;
        }
        pending.erase(0, start);
    };
    const RunResult r = run_sito(setup);

    EXPECT_EQ(first_two, std::string(prompt_line) + header);
    EXPECT_TRUE(pending.empty()) << "the output does not end with a line end";
    EXPECT_TRUE(ordered) << "a line is not a prime above the one before it";
    EXPECT_EQ(lines - 2, 105097565U);
    EXPECT_EQ(previous, INT_MAX);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit_status, 0);
}

} // namespace
