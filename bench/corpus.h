#pragma once
// The one fixed corpus of the conversion benchmarks: a few thousand extended
// values, made from a fixed seed so every run measures the same work.

#include <string>
#include <vector>

#include "engine/extended.h"

namespace tallix::bench {

struct Corpus {
  std::vector<Extended> values;
  // The all-decimals text of each value with a '.' separator: the texts a
  // user reads and pastes, and what both readers are given.
  std::vector<std::string> texts;
};

// 1024 random values of every magnitude, 1024 of display size (random digit
// strings), 512 tiny (down to subnormals), 512 huge (up to the largest
// finite value) and the rounding edges (x.xx5, 99.995, 2.675, ...).
const Corpus& corpus();

}  // namespace tallix::bench
