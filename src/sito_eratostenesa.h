// The Sieve of Eratosthenes: every prime from 2 up to a bound, ascending.
#pragma once

#include <vector>

// Returns every prime p with 2 <= p <= n in ascending order; an empty list
// for n <= 1. Works for every n up to 2147483647. Throws std::bad_alloc when
// the flags or the list do not fit in memory.
std::vector<int> Sito_Eratostenesa(int n);
