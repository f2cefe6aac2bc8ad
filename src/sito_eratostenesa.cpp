#include "sito_eratostenesa.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

std::vector<int> Sito_Eratostenesa(int n)
{
    if (n <= 1) {
        return {};
    }

    // One flag per number 0..n. The size n + 1 and the marking index may
    // exceed the int range near the top bound, so they are kept wider.
    std::vector<bool> a(static_cast<std::size_t>(n) + 1, true);
    a[0] = false;
    a[1] = false;

    const double pierwiastek = std::sqrt(static_cast<double>(n));
    for (int i = 2; static_cast<double>(i) <= pierwiastek; ++i) {
        if (a[static_cast<std::size_t>(i)]) {
            for (std::int64_t j = 2 * static_cast<std::int64_t>(i); j <= n; j += i) {
                a[static_cast<std::size_t>(j)] = false;
            }
        }
    }

    // Reserve exactly what is needed: a list grown by doubling could need
    // half as much memory again as the primes themselves.
    std::vector<int> wynik;
    wynik.reserve(static_cast<std::size_t>(std::count(a.begin(), a.end(), true)));
    for (std::int64_t i = 2; i <= n; ++i) {
        if (a[static_cast<std::size_t>(i)]) {
            wynik.push_back(static_cast<int>(i));
        }
    }
    return wynik;
}
