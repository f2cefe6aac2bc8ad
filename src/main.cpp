// sito: asks for a bound and lists every prime up to it.

#include "sito_eratostenesa.h"
#include "zapis.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view pytanie =
    "wpisz tutaj liczbe galganie, ktora bedzie granicaprzedzialu wyszukiwania liczb pierwszych\n";
constexpr std::string_view naglowek = "Znalieziono: \n";

// Reports a failure on standard error as "sito: <komunikat>" and gives the
// exit status for it.
int blad(std::string_view komunikat)
{
    std::string wiersz = "sito: ";
    wiersz += komunikat;
    wiersz += '\n';
    // Nothing more can be done if even standard error is gone: the status
    // still tells.
    (void)zapisz_calosc(STDERR_FILENO, wiersz);
    return 1;
}

int blad_zapisu()
{
    const int przyczyna = errno;
    return blad(std::string("blad zapisu: ") + std::strerror(przyczyna));
}

} // namespace

int main()
{
    if (!zapisz_calosc(STDOUT_FILENO, pytanie)) {
        return blad_zapisu();
    }

    // A failed read (no number, end of input, closed input) leaves 0 here.
    int liczba = 0;
    std::cin >> liczba;

    // A positive number beyond the int range is read as the largest int with
    // the failure flag set; listing up to it would be a wrong answer.
    if (std::cin.fail() && liczba == std::numeric_limits<int>::max()) {
        return blad("liczba poza zakresem: najwieksza granica to 2147483647");
    }

    if (liczba > 1) {
        std::vector<int> wynik;
        try {
            wynik = Sito_Eratostenesa(liczba);
        } catch (const std::bad_alloc&) {
            return blad("za malo pamieci");
        }
        // Someone watching a terminal sees each line as soon as it is ready;
        // a file or a pipe takes the lines in large blocks.
        const Oproznianie oproznianie = ::isatty(STDOUT_FILENO) != 0 ? Oproznianie::co_wiersz : Oproznianie::blokami;
        if (oproznianie == Oproznianie::blokami) {
            // A pipe that holds a whole block wakes its reader once per
            // block rather than sixteen times; on anything but a pipe this
            // is refused, harmlessly.
            (void)::fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20); // NOLINT(cppcoreguidelines-pro-type-vararg)
        }
        if (!zapisz_calosc(STDOUT_FILENO, naglowek) || !zapisz_liczby(STDOUT_FILENO, wynik, oproznianie)) {
            return blad_zapisu();
        }
    }
    return 0;
}
