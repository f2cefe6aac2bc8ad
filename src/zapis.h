// Checked writes to a file descriptor.
#pragma once

#include <span>
#include <string_view>

// Writes all of `tekst` to descriptor `fd`, resuming after short writes and
// interrupted calls. Returns false, with errno telling why, when the
// descriptor refuses the data.
bool zapisz_calosc(int fd, std::string_view tekst);

// When written lines reach the descriptor: one by one, for a person
// watching a terminal, or in large blocks, for files and pipes.
enum class Oproznianie { co_wiersz, blokami };

// Writes each number of `liczby` in decimal on a line of its own. Returns
// false, with errno set, on the first failed write.
bool zapisz_liczby(int fd, std::span<const int> liczby, Oproznianie oproznianie);
