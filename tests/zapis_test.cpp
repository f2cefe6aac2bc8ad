#include "zapis.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

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

TEST(WritingNumbersFailure, RefusedWriteIsReportedWithErrno)
{
    errno = 0;
    EXPECT_FALSE(zapisz_liczby(-1, std::vector<int>{2, 3}, Oproznianie::blokami));
    EXPECT_EQ(errno, EBADF);
}

} // namespace
