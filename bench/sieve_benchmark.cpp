// Sito_Eratostenesa alone, and primesieve's generate_primes filling the same
// kind of list on one thread where it is installed.

#include "sito_eratostenesa.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <vector>

#ifdef SITO_WITH_PRIMESIEVE
#include <primesieve.hpp>
#endif

namespace {

void register_bounds(benchmark::internal::Benchmark* b)
{
    b->Arg(1000000)->Arg(100000000)->Arg(INT_MAX)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void BM_Sito_Eratostenesa(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::size_t count = 0;
    for (auto _ : state) {
        const std::vector<int> wynik = Sito_Eratostenesa(n);
        count = wynik.size();
        benchmark::DoNotOptimize(wynik.data());
    }
    state.counters["primes"] = static_cast<double>(count);
}
BENCHMARK(BM_Sito_Eratostenesa)->Apply(register_bounds);

#ifdef SITO_WITH_PRIMESIEVE
void BM_primesieve_generate_primes(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    primesieve::set_num_threads(1);
    {
        // The reference is only worth comparing with if it lists the same.
        std::vector<int> reference;
        primesieve::generate_primes(n, &reference);
        if (reference != Sito_Eratostenesa(n)) {
            state.SkipWithError("primesieve and Sito_Eratostenesa differ");
            return;
        }
    }
    std::size_t count = 0;
    for (auto _ : state) {
        std::vector<int> primes;
        primesieve::generate_primes(n, &primes);
        count = primes.size();
        benchmark::DoNotOptimize(primes.data());
    }
    state.counters["primes"] = static_cast<double>(count);
}
BENCHMARK(BM_primesieve_generate_primes)->Apply(register_bounds);
#endif

} // namespace
