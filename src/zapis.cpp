#include "zapis.h"

#include <array>
#include <cerrno>
#include <charconv>

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

bool zapisz_liczby(int fd, std::span<const int> liczby)
{
    // Ten digits and a sign at most, then the line end.
    std::array<char, 16> wiersz{};
    for (const int liczba : liczby) {
        char* koniec = std::to_chars(wiersz.data(), wiersz.data() + wiersz.size() - 1, liczba).ptr;
        *koniec++ = '\n';
        if (!zapisz_calosc(fd, std::string_view(wiersz.data(), static_cast<std::size_t>(koniec - wiersz.data())))) {
            return false;
        }
    }
    return true;
}
