#include "sito_eratostenesa.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include <sys/mman.h>

// How it works, and what it costs, is told in doc/sieve.md.

namespace {

using Slowo = std::uint64_t;
constexpr std::size_t bity_slowa = 64;

// Numbers coprime to 2, 3, 5, 7, 11 and 13 repeat with period 30030; as
// words of 64 flags the pattern repeats every 15015 words (lcm(30030, 64)
// bits). Copying it clears the multiples of those primes at memcpy speed.
constexpr std::array<std::uint64_t, 6> pierwsze_wzorca = {2, 3, 5, 7, 11, 13};
constexpr std::uint64_t okres_wzorca = std::uint64_t{2} * 3 * 5 * 7 * 11 * 13;
constexpr std::size_t slowa_wzorca = okres_wzorca / 2;

// Flags are marked one cache-sized block at a time, so that each block stays
// in the first-level cache while every sieving prime passes over it.
constexpr std::size_t slowa_bloku = 4096; // 32 KiB, 262144 numbers

// Primes are collected from this many words at a time.
constexpr std::size_t slowa_odcinka = 256;

constexpr std::size_t duza_strona = std::size_t{2} << 20;

// Returns flag words to the aligned allocation they came from.
struct ZwolnijFlagi {
    std::size_t wyrownanie;
    void operator()(Slowo* p) const noexcept { ::operator delete (p, std::align_val_t{wyrownanie}); }
};
using Flagi = std::unique_ptr<Slowo[], ZwolnijFlagi>; // NOLINT(cppcoreguidelines-avoid-c-arrays): owns a raw array

// Asks the kernel for huge pages where it offers them: at the largest bounds
// the page faults on hundreds of MiB cost as much as the marking.
void popros_o_duze_strony(void* poczatek, std::size_t bajty)
{
    // Page arithmetic needs the address as a number.
    const auto adres =
        reinterpret_cast<std::uintptr_t>(poczatek); // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
    const std::uintptr_t od = (adres + duza_strona - 1) & ~(duza_strona - 1);
    const std::uintptr_t do_ = (adres + bajty) & ~(duza_strona - 1);
    if (do_ > od) {
        // Only a hint: without it the pages are merely smaller.
        (void)::madvise(static_cast<char*>(poczatek) + (od - adres), do_ - od, MADV_HUGEPAGE);
    }
}

// Uninitialised flag words; every word is written before it is read. Large
// arrays are aligned to huge pages; small ones would only waste one.
Flagi przydziel_flagi(std::size_t slowa)
{
    const std::size_t wyrownanie = slowa * sizeof(Slowo) >= 8 * duza_strona ? duza_strona : 64;
    const std::size_t bajty = (slowa * sizeof(Slowo) + wyrownanie - 1) / wyrownanie * wyrownanie;
    // Throws std::bad_alloc when the memory is not there.
    Flagi a(static_cast<Slowo*>(::operator new (bajty, std::align_val_t{wyrownanie})), ZwolnijFlagi{wyrownanie});
    popros_o_duze_strony(a.get(), bajty);
    return a;
}

// Built once and only read afterwards.
const std::vector<Slowo>& wzorzec()
{
    static const std::vector<Slowo> slowa = [] {
        std::vector<Slowo> w(slowa_wzorca, ~Slowo{0});
        for (const std::uint64_t p : pierwsze_wzorca) {
            for (std::uint64_t k = 0; k < slowa_wzorca * bity_slowa; k += p) {
                w[k / bity_slowa] &= ~(Slowo{1} << (k % bity_slowa));
            }
        }
        return w;
    }();
    return slowa;
}

// The primes above the pattern's, up to `r` (r <= 46340): these do the
// marking.
std::vector<std::uint32_t> wysiewane_pierwsze(int r)
{
    std::vector<char> zlozona(static_cast<std::size_t>(std::max(r, 1)) + 1, 0);
    std::vector<std::uint32_t> pierwsze;
    for (int i = 2; i <= r; ++i) {
        if (zlozona[static_cast<std::size_t>(i)] != 0) {
            continue;
        }
        if (static_cast<std::uint64_t>(i) > pierwsze_wzorca.back()) {
            pierwsze.push_back(static_cast<std::uint32_t>(i));
        }
        for (int j = i * i; j <= r; j += i) {
            zlozona[static_cast<std::size_t>(j)] = 1;
        }
    }
    return pierwsze;
}

// Copies the pattern into words [od, do_) of the flags.
void wpisz_wzorzec(Slowo* a, std::size_t od, std::size_t do_)
{
    const Slowo* const zrodlo = wzorzec().data();
    std::size_t w = od;
    std::size_t przesuniecie = od % slowa_wzorca;
    while (w < do_) {
        const std::size_t ile = std::min(do_ - w, slowa_wzorca - przesuniecie);
        std::memcpy(a + w, zrodlo + przesuniecie, ile * sizeof(Slowo));
        w += ile;
        przesuniecie = 0;
    }
}

// Population count. On x86-64 it is compiled twice, with and without the
// popcount instruction, and the processor's own is chosen at load time.
#if defined(__x86_64__)
__attribute__((target_clones("popcnt", "default")))
#endif
std::size_t
policz_jedynki(const Slowo* slowa, std::size_t ile)
{
    std::size_t suma = 0;
    for (std::size_t w = 0; w < ile; ++w) {
        suma += static_cast<std::size_t>(std::popcount(slowa[w]));
    }
    return suma;
}

// Writes the numbers whose flags are set in words [od, do_) at `cel`, in
// order, and returns their end. May write up to 8 entries past it.
#if defined(__x86_64__)
__attribute__((target_clones("popcnt", "default")))
#endif
int* wypisz_bity(const Slowo* a, std::size_t od, std::size_t do_, int* cel)
{
    for (std::size_t w = od; w < do_; ++w) {
        Slowo slowo = a[w];
        const int baza = static_cast<int>(w * bity_slowa);
        const int ile = std::popcount(slowo);
        // Eight at once, most words hold fewer: no branch to mispredict.
        for (int k = 0; k < 8; ++k) {
            cel[k] = baza + std::countr_zero(slowo);
            slowo &= slowo - 1;
        }
        if (ile > 8) {
            cel += 8;
            for (; slowo != 0; slowo &= slowo - 1) {
                *cel++ = baza + std::countr_zero(slowo);
            }
        } else {
            cel += ile;
        }
    }
    return cel;
}

} // namespace

std::vector<int> Sito_Eratostenesa(int n)
{
    if (n <= 1) {
        return {};
    }

    // One flag per number 0..n; n + 1 and the flag indices may exceed the
    // int range, so they are kept in wider types.
    const std::uint64_t liczba_flag = static_cast<std::uint64_t>(n) + 1;
    const std::size_t liczba_slow = (liczba_flag + bity_slowa - 1) / bity_slowa;
    const Flagi a = przydziel_flagi(liczba_slow);

    // Every composite up to n has a prime factor not above the square root.
    const int r = static_cast<int>(std::sqrt(static_cast<double>(n)));
    const std::vector<std::uint32_t> pierwsze = wysiewane_pierwsze(r);
    // The next multiple each prime clears. Smaller multiples of p have a
    // smaller prime factor, and even ones are cleared by the pattern, so
    // marking starts at p * p and steps by 2p.
    std::vector<std::uint64_t> nastepna(pierwsze.size());
    for (std::size_t k = 0; k < pierwsze.size(); ++k) {
        nastepna[k] = std::uint64_t{pierwsze[k]} * pierwsze[k];
    }

    std::size_t ile_pierwszych = 0;
    for (std::size_t od = 0; od < liczba_slow; od += slowa_bloku) {
        const std::size_t do_ = std::min(od + slowa_bloku, liczba_slow);
        wpisz_wzorzec(a.get(), od, do_);
        if (od == 0) {
            // The pattern cleared the pattern primes themselves and kept 1.
            a[0] &= ~Slowo{0b11};
            for (const std::uint64_t p : pierwsze_wzorca) {
                a[0] |= Slowo{1} << p;
            }
        }

        const std::uint64_t koniec = do_ * bity_slowa;
        for (std::size_t k = 0; k < pierwsze.size(); ++k) {
            const std::uint64_t krok = 2 * std::uint64_t{pierwsze[k]};
            std::uint64_t j = nastepna[k];
            for (; j < koniec; j += krok) {
                a[j / bity_slowa] &= ~(Slowo{1} << (j % bity_slowa));
            }
            nastepna[k] = j;
        }

        if (do_ == liczba_slow && liczba_flag % bity_slowa != 0) {
            // Flags past n in the last word do not stand for anything.
            a[do_ - 1] &= (Slowo{1} << (liczba_flag % bity_slowa)) - 1;
        }
        ile_pierwszych += policz_jedynki(a.get() + od, do_ - od);
    }

    // Sized exactly, so the list never reallocates nor overshoots.
    std::vector<int> wynik;
    wynik.reserve(ile_pierwszych);
    popros_o_duze_strony(wynik.data(), ile_pierwszych * sizeof(int));
    // Decoded a stretch at a time into a buffer with room for the overrun;
    // it is filled before it is read, so it is left uninitialised.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init)
    std::array<int, slowa_odcinka * bity_slowa + 8> odcinek;
    for (std::size_t od = 0; od < liczba_slow; od += slowa_odcinka) {
        const std::size_t do_ = std::min(od + slowa_odcinka, liczba_slow);
        int* koniec = wypisz_bity(a.get(), od, do_, odcinek.data());
        wynik.insert(wynik.end(), odcinek.data(), koniec);
    }
    return wynik;
}
