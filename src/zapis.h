// Checked writes to a file descriptor.
#pragma once

#include <span>
#include <string_view>

// Writes all of `tekst` to descriptor `fd`, resuming after short writes and
// interrupted calls. Returns false, with errno telling why, when the
// descriptor refuses the data.
bool zapisz_calosc(int fd, std::string_view tekst);

// Writes each number of `liczby` in decimal on a line of its own, each line
// written out as soon as it is complete. Returns false, with errno set, on
// the first failed write.
bool zapisz_liczby(int fd, std::span<const int> liczby);
