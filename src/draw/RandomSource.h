#pragma once
// The draw's random numbers: one program-wide generator, reseeded from the processor's
// time-stamp counter at the start of every attempt and again for the lane order. Tests install
// their own source to replay a fixed sequence.

#include <cstdint>
#include <random>
#include <vector>

namespace derode::draw {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Seeds the generator afresh from the time-stamp counter.
    virtual void reseed() = 0;
    // The next integer uniformly distributed in [min, max], both bounds included.
    virtual int next(int min, int max) = 0;
};

// std::mt19937 with a uniform integer distribution.
class MersenneTwisterSource : public RandomSource {
public:
    MersenneTwisterSource();
    void reseed() override;
    void seed(std::uint32_t value) { generator_.seed(value); }
    int next(int min, int max) override;

private:
    std::mt19937 generator_;
};

// Low 32 bits of the time-stamp counter (the steady clock where the processor has none).
std::uint32_t readTimeStampCounter();

// The generator in use; the program's own unless a test installed another (not owned;
// nullptr restores the program's own).
RandomSource& randomSource();
void setRandomSource(RandomSource* source);

// An integer in [min, max] from the program's generator.
int MERSENNETWISTERRANDOM(int min, int max);
// Reseeds the generator, then returns min(count, n) distinct numbers of 1..n in the order drawn.
std::vector<int> RANDOMAILES(int count, int n);

}  // namespace derode::draw
