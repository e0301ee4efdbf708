#pragma once
// A random source that replays a planned sequence, so that a draw's fields can be predicted.

#include "draw/RandomSource.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace derode::test {

class ReplayRandom : public draw::RandomSource {
public:
    explicit ReplayRandom(std::vector<int> values = {}) : values_(values.begin(), values.end())
    {
        draw::setRandomSource(this);
    }
    ~ReplayRandom() override { draw::setRandomSource(nullptr); }

    void plan(const std::vector<int>& values) { values_.insert(values_.end(), values.begin(), values.end()); }
    void reseed() override { ++reseeds_; }
    int next(int min, int max) override
    {
        if (values_.empty()) {
            ADD_FAILURE() << "random sequence exhausted";
            return min;
        }
        int v = values_.front();
        values_.pop_front();
        EXPECT_GE(v, min);
        EXPECT_LE(v, max);
        return v;
    }
    std::size_t left() const { return values_.size(); }
    int reseeds() const { return reseeds_; }

private:
    std::deque<int> values_;
    int reseeds_ = 0;
};

}  // namespace derode::test
