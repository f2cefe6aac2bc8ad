#include "zapis.h"

#include <cerrno>
#include <charconv>
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

bool zapisz_liczby(int fd, std::span<const int> liczby, Oproznianie oproznianie)
{
    // A line is at most 11 digits and sign plus the line end.
    constexpr std::size_t najdluzszy_wiersz = 12;
    constexpr std::size_t rozmiar_bloku = std::size_t{1} << 20;
    const std::size_t prog = oproznianie == Oproznianie::co_wiersz ? 1 : rozmiar_bloku;

    std::vector<char> bufor(rozmiar_bloku + najdluzszy_wiersz);
    char* const poczatek = bufor.data();
    char* koniec = poczatek;
    for (const int liczba : liczby) {
        koniec = std::to_chars(koniec, koniec + najdluzszy_wiersz, liczba).ptr;
        *koniec++ = '\n';
        if (static_cast<std::size_t>(koniec - poczatek) >= prog) {
            if (!zapisz_calosc(fd, std::string_view(poczatek, static_cast<std::size_t>(koniec - poczatek)))) {
                return false;
            }
            koniec = poczatek;
        }
    }
    return zapisz_calosc(fd, std::string_view(poczatek, static_cast<std::size_t>(koniec - poczatek)));
}
