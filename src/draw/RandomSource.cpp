#include "draw/RandomSource.h"

#include <chrono>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define DERODE_HAVE_RDTSC 1
#endif

namespace derode::draw {

namespace {

RandomSource* installedSource = nullptr;

}  // namespace

std::uint32_t readTimeStampCounter()
{
#ifdef DERODE_HAVE_RDTSC
    return static_cast<std::uint32_t>(__rdtsc());
#else
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

MersenneTwisterSource::MersenneTwisterSource() : generator_(readTimeStampCounter()) {}

void MersenneTwisterSource::reseed() { generator_.seed(readTimeStampCounter()); }

int MersenneTwisterSource::next(int min, int max)
{
    if (max < min)
        return min;
    std::uniform_int_distribution<int> distribution(min, max);
    return distribution(generator_);
}

RandomSource& randomSource()
{
    static MersenneTwisterSource programSource;
    return installedSource ? *installedSource : programSource;
}

void setRandomSource(RandomSource* source) { installedSource = source; }

int MERSENNETWISTERRANDOM(int min, int max) { return randomSource().next(min, max); }

std::vector<int> RANDOMAILES(int count, int n)
{
    std::vector<int> pool;
    for (int i = 1; i <= n; ++i)
        pool.push_back(i);
    randomSource().reseed();
    std::vector<int> order;
    while (n > 0 && count > 0) {
        int v = MERSENNETWISTERRANDOM(1, n);
        order.push_back(pool[static_cast<std::size_t>(v - 1)]);
        pool.erase(pool.begin() + (v - 1));
        --n;
        --count;
    }
    return order;
}

}  // namespace derode::draw
