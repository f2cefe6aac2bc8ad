#include "zapis.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include <unistd.h>

bool zapisz_calosc(int fd, std::string_view tekst)
{
    while (!tekst.empty()) {
        const ssize_t zapisane = ::write(fd, tekst.data(), tekst.size());
        if (zapisane < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        tekst.remove_prefix(static_cast<std::size_t>(zapisane));
    }
    return true;
}

namespace {

// "0000" to "9999", four characters each.
constexpr std::array<char, 40000> cztery_cyfry = [] {
    std::array<char, 40000> t{};
    for (int d = 0; d < 10000; ++d) {
        const auto i = static_cast<std::size_t>(d) * 4;
        t.at(i) = static_cast<char>('0' + d / 1000);
        t.at(i + 1) = static_cast<char>('0' + d / 100 % 10);
        t.at(i + 2) = static_cast<char>('0' + d / 10 % 10);
        t.at(i + 3) = static_cast<char>('0' + d % 10);
    }
    return t;
}();

// Decimal text of the part of a number above its last four digits. Numbers
// in a listing of primes share it for hundreds of lines at a time, so it is
// formatted only when it changes.
struct Poczatek {
    int wartosc = -1;
    std::array<char, 16> cyfry{};
    std::size_t dlugosc = 0;
};

// Writes `liczba` in decimal at `cel` and returns the end. May write scratch
// bytes up to 16 past `cel`.
char* zapisz_dziesietnie(char* cel, int liczba, Poczatek& poczatek)
{
    if (liczba < 10000) {
        return std::to_chars(cel, cel + 16, liczba).ptr;
    }
    const int gora = liczba / 10000;
    const int dol = liczba % 10000;
    if (gora != poczatek.wartosc) {
        poczatek.wartosc = gora;
        poczatek.dlugosc = static_cast<std::size_t>(
            std::to_chars(poczatek.cyfry.data(), poczatek.cyfry.data() + poczatek.cyfry.size(), gora).ptr -
            poczatek.cyfry.data());
    }
    // Fixed-size copies compile to single moves; the length decides how far
    // the text really goes.
    std::memcpy(cel, poczatek.cyfry.data(), 8);
    cel += poczatek.dlugosc;
    std::memcpy(cel, cztery_cyfry.data() + static_cast<std::ptrdiff_t>(dol) * 4, 4);
    return cel + 4;
}

} // namespace

bool zapisz_liczby(int fd, std::span<const int> liczby, Oproznianie oproznianie)
{
    // Room past the fill mark for one more line and the scratch bytes.
    constexpr std::size_t zapas = 32;
    constexpr std::size_t rozmiar_bloku = std::size_t{1} << 20;
    const std::size_t prog = oproznianie == Oproznianie::co_wiersz ? 1 : rozmiar_bloku;

    std::vector<char> bufor(prog + zapas);
    char* const poczatek_bufora = bufor.data();
    char* koniec = poczatek_bufora;
    Poczatek poczatek;
    for (const int liczba : liczby) {
        koniec = zapisz_dziesietnie(koniec, liczba, poczatek);
        *koniec++ = '\n';
        if (static_cast<std::size_t>(koniec - poczatek_bufora) >= prog) {
            if (!zapisz_calosc(fd,
                               std::string_view(poczatek_bufora, static_cast<std::size_t>(koniec - poczatek_bufora)))) {
                return false;
            }
            koniec = poczatek_bufora;
        }
    }
    return zapisz_calosc(fd, std::string_view(poczatek_bufora, static_cast<std::size_t>(koniec - poczatek_bufora)));
}
