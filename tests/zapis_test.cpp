#include "zapis.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// What the numbers must look like: std::to_string, one per line.
std::string expected_lines(const std::vector<int>& numbers)
{
    std::string text;
    for (const int x : numbers) {
        text += std::to_string(x) + '\n';
    }
    return text;
}

std::string written(const std::vector<int>& numbers, Oproznianie oproznianie)
{
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    const int fd = ::fileno(file);
    EXPECT_TRUE(zapisz_liczby(fd, numbers, oproznianie));
    std::string text(static_cast<std::size_t>(::lseek(fd, 0, SEEK_CUR)), '\0');
    EXPECT_EQ(::pread(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
    std::fclose(file);
    return text;
}

class WritingNumbers : public ::testing::TestWithParam<Oproznianie> {};

// Lengths from 1 to 10 digits, zeros inside the last four digits, the same
// leading part repeated with different endings, and any order and sign.
TEST_P(WritingNumbers, MatchesDecimalText)
{
    const std::vector<int> numbers = {0,          1,         9,         10,       9999,      10000,      10001,
                                      10007,      10070,     10700,     17000,    99999,     100000,     123450009,
                                      123450010,  123459999, 123460000, 99999999, 100000000, 100000007,  999999937,
                                      1000000000, INT_MAX,   12,        -1,       -10000,    -123456789, INT_MIN,
                                      20000,      20000,     5};
    EXPECT_EQ(written(numbers, GetParam()), expected_lines(numbers));
}

// More than one block of output, so that blocks meet at every possible place.
TEST_P(WritingNumbers, ManyBlocksMatchDecimalText)
{
    std::vector<int> numbers;
    for (int x = 99990001; numbers.size() < 300000; x += 7) {
        numbers.push_back(x);
    }
    EXPECT_EQ(written(numbers, GetParam()), expected_lines(numbers));
}

INSTANTIATE_TEST_SUITE_P(BothModes, WritingNumbers, ::testing::Values(Oproznianie::co_wiersz, Oproznianie::blokami),
                         [](const auto& info) {
                             return std::string(info.param == Oproznianie::co_wiersz ? "line_by_line" : "blocks");
                         });

// Over a packet socket every write arrives as a packet of its own, so the
// packets show where the writer flushed.
std::vector<std::string> packets_written(const std::vector<int>& numbers, Oproznianie oproznianie)
{
    int ends[2] = {-1, -1};
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
    EXPECT_TRUE(zapisz_liczby(ends[0], numbers, oproznianie));
    ::close(ends[0]);
    std::vector<std::string> packets;
    std::string packet(1 << 21, '\0');
    for (ssize_t got = 0; (got = ::read(ends[1], packet.data(), packet.size())) > 0;) {
        packets.emplace_back(packet.data(), static_cast<std::size_t>(got));
    }
    ::close(ends[1]);
    return packets;
}

TEST(WritingNumbersFlush, LineByLineWritesEachLineAsItIsDone)
{
    EXPECT_EQ(packets_written({2, 3, 10007, 2147483647}, Oproznianie::co_wiersz),
              (std::vector<std::string>{"2\n", "3\n", "10007\n", "2147483647\n"}));
}

TEST(WritingNumbersFlush, BlocksGatherManyLinesIntoOneWrite)
{
    EXPECT_EQ(packets_written({2, 3, 10007, 2147483647}, Oproznianie::blokami),
              (std::vector<std::string>{"2\n3\n10007\n2147483647\n"}));
}

TEST(WritingNumbersFailure, RefusedWriteIsReportedWithErrno)
{
    errno = 0;
    EXPECT_FALSE(zapisz_liczby(-1, std::vector<int>{2, 3}, Oproznianie::blokami));
    EXPECT_EQ(errno, EBADF);
}

} // namespace
