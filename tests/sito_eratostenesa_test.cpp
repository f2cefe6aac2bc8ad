#include "sito_eratostenesa.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The independent reference: primality by trial division.
bool is_prime(std::int64_t k)
{
    if (k < 2) {
        return false;
    }
    for (std::int64_t d = 2; d * d <= k; ++d) {
        if (k % d == 0) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Bounds where an off-by-one in the marking limit or the collecting loop shows.

struct SmallBound {
    int n;
    std::vector<int> primes;
};

void PrintTo(const SmallBound& b, std::ostream* os)
{
    *os << "n = " << b.n;
}

class SieveSmallBound : public ::testing::TestWithParam<SmallBound> {};

TEST_P(SieveSmallBound, ListsExactlyThePrimesUpToIt)
{
    EXPECT_EQ(Sito_Eratostenesa(GetParam().n), GetParam().primes);
}

const std::vector<int> primes_to_113 = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31,  37,  41,  43,  47,
                                        53, 59, 61, 67, 71, 73, 79, 83, 89, 97, 101, 103, 107, 109, 113};

std::vector<int> primes_to(int n)
{
    std::vector<int> out;
    std::copy_if(primes_to_113.begin(), primes_to_113.end(), std::back_inserter(out), [n](int p) { return p <= n; });
    return out;
}

INSTANTIATE_TEST_SUITE_P(Edges, SieveSmallBound,
                         ::testing::Values(SmallBound{INT_MIN, {}}, SmallBound{-1, {}}, SmallBound{0, {}},
                                           SmallBound{1, {}}, SmallBound{2, {2}}, SmallBound{3, {2, 3}},
                                           SmallBound{4, {2, 3}}, SmallBound{5, {2, 3, 5}}, SmallBound{9, {2, 3, 5, 7}},
                                           SmallBound{25, {2, 3, 5, 7, 11, 13, 17, 19, 23}},
                                           SmallBound{30, {2, 3, 5, 7, 11, 13, 17, 19, 23, 29}},
                                           SmallBound{49, primes_to(48)}, SmallBound{113, primes_to(113)},
                                           SmallBound{121, primes_to(120)}),
                         [](const auto& info) {
                             const int n = info.param.n;
                             return n < 0 ? "minus" + std::to_string(-static_cast<long long>(n)) : std::to_string(n);
                         });

// ---------------------------------------------------------------------------
// Known prime counts pi(x), with the largest prime not above x.

struct KnownCount {
    int x;
    std::size_t count;
    int last;
};

void PrintTo(const KnownCount& k, std::ostream* os)
{
    *os << "x = " << k.x;
}

void expect_known_count(const KnownCount& known)
{
    const std::vector<int> wynik = Sito_Eratostenesa(known.x);
    ASSERT_EQ(wynik.size(), known.count);
    EXPECT_EQ(wynik.front(), 2);
    EXPECT_EQ(wynik.back(), known.last);
    EXPECT_TRUE(std::adjacent_find(wynik.begin(), wynik.end(), std::greater_equal<>()) == wynik.end())
        << "the list is not strictly ascending";
}

class SieveKnownCount : public ::testing::TestWithParam<KnownCount> {};
class SieveKnownCountSlow : public ::testing::TestWithParam<KnownCount> {};

TEST_P(SieveKnownCount, MatchesPi)
{
    expect_known_count(GetParam());
}
TEST_P(SieveKnownCountSlow, MatchesPi)
{
    expect_known_count(GetParam());
}

std::string name_of_x(const ::testing::TestParamInfo<KnownCount>& info)
{
    return std::to_string(info.param.x);
}

INSTANTIATE_TEST_SUITE_P(PowersOfTen, SieveKnownCount,
                         ::testing::Values(KnownCount{10, 4, 7}, KnownCount{100, 25, 97}, KnownCount{1000, 168, 997},
                                           KnownCount{10000, 1229, 9973}, KnownCount{100000, 9592, 99991},
                                           KnownCount{1000000, 78498, 999983}, KnownCount{10000000, 664579, 9999991},
                                           KnownCount{100000000, 5761455, 99999989}),
                         name_of_x);

INSTANTIATE_TEST_SUITE_P(LargeBounds, SieveKnownCountSlow,
                         ::testing::Values(KnownCount{1000000000, 50847534, 999999937},
                                           KnownCount{INT_MAX, 105097565, INT_MAX}),
                         name_of_x);

// ---------------------------------------------------------------------------
// Cross-checks against trial division.

// Every bound up to a few thousand gives exactly the primes up to it; the
// calls also run in an order that would expose state kept between calls.
TEST(SieveCrossCheck, EveryBoundUpTo3000MatchesTrialDivision)
{
    std::vector<int> expected;
    for (int n = -3; n <= 3000; ++n) {
        if (is_prime(n)) {
            expected.push_back(n);
        }
        ASSERT_EQ(Sito_Eratostenesa(n), expected) << "n = " << n;
    }
    for (int n = 3000; n >= 2900; --n) {
        ASSERT_EQ(Sito_Eratostenesa(n).size(),
                  std::count_if(expected.begin(), expected.end(), [n](int p) { return p <= n; }))
            << "n = " << n;
    }
}

// For a large bound, the numbers just below it are listed exactly when they
// are prime, and the list ends at the largest such prime.
void expect_tail_matches_trial_division(int n, int window)
{
    const std::vector<int> wynik = Sito_Eratostenesa(n);
    const int from = std::max(2, n - window + 1);
    const auto first = std::lower_bound(wynik.begin(), wynik.end(), from);
    std::vector<int> tail(first, wynik.end());
    std::vector<int> expected;
    for (std::int64_t k = from; k <= n; ++k) {
        if (is_prime(k)) {
            expected.push_back(static_cast<int>(k));
        }
    }
    EXPECT_EQ(tail, expected) << "n = " << n;
    ASSERT_FALSE(wynik.empty());
    EXPECT_TRUE(std::adjacent_find(wynik.begin(), wynik.end(), std::greater_equal<>()) == wynik.end())
        << "n = " << n << ": the list is not strictly ascending";
}

class SieveTail : public ::testing::TestWithParam<int> {};
class SieveTailSlow : public ::testing::TestWithParam<int> {};

TEST_P(SieveTail, MatchesTrialDivision)
{
    expect_tail_matches_trial_division(GetParam(), 3000);
}
TEST_P(SieveTailSlow, MatchesTrialDivision)
{
    expect_tail_matches_trial_division(GetParam(), 3000);
}

// Powers of two and their neighbours fall on word and block boundaries of a
// packed flag array, multiples of 960960 where a 30030-periodic pattern of
// 64-bit words repeats; squares of primes are the last composites a pass
// must reach.
INSTANTIATE_TEST_SUITE_P(Boundaries, SieveTail,
                         ::testing::Values(4095, 4096, 4097, 32767, 32768, 32769, 65535, 65536, 65537, 262143, 262144,
                                           262145, 524287, 524288, 524289, 1048575, 1048576, 1048577, 2097151, 2097152,
                                           2097153, 4194303, 4194304, 4194305, 994009, 1018081, 960959, 960960, 960961,
                                           1921919, 1921920, 1921921, 9999991, 16777215, 16777216, 16777217, 99460729),
                         [](const auto& info) { return std::to_string(info.param); });

// 2147117569 is 46337 squared, the largest square of a prime in the int range.
INSTANTIATE_TEST_SUITE_P(Top, SieveTailSlow, ::testing::Values(2147117569, INT_MAX - 1),
                         [](const auto& info) { return std::to_string(info.param); });

} // namespace
