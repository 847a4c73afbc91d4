#include "bench/corpus.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>

#include "engine/conversion.h"

namespace tallix::bench {
namespace {

Corpus build() {
  Corpus c;
  std::mt19937_64 random(20240611);  // fixed seed: the same corpus on every run
  auto uniform = [&](long double lo, long double hi) {
    return std::uniform_real_distribution<long double>(lo, hi)(random);
  };
  auto sign = [&] { return (random() & 1) != 0 ? -1.0L : 1.0L; };

  for (int i = 0; i < 1024; ++i) {  // any magnitude a calculation reaches
    c.values.push_back(sign() * std::ldexp(uniform(0.5L, 1.0L), static_cast<int>(random() % 400) - 200));
  }
  for (int i = 0; i < 1024; ++i) {  // typed numbers: up to 12 digits, up to 6 decimals
    const auto digits = static_cast<long double>(random() % 1000000000000ULL);
    c.values.push_back(sign() * digits / std::pow(10.0L, static_cast<int>(random() % 7)));
  }
  for (int i = 0; i < 512; ++i) {  // tiny, subnormals included
    c.values.push_back(sign() * std::ldexp(uniform(0.5L, 1.0L), -static_cast<int>(random() % 16440)));
  }
  for (int i = 0; i < 512; ++i) {  // huge, up to the largest finite value
    c.values.push_back(sign() * std::ldexp(uniform(0.5L, 1.0L), 64 + static_cast<int>(random() % 16320)));
  }
  for (long double edge : {0.125L, 0.375L, 2.675L, 99.995L, 1.005L, 0.5L, 1.5L, 2.5L, 0.00005L,
                           999999999999999999.9L, 1e18L, 1.5e19L, 1.0L / 3, 2.0L / 3, 10.0L / 3,
                           100.0L / 7, 123456789012345678.0L, 5e-19L, 1e-19L, LDBL_MAX,
                           LDBL_MIN, LDBL_TRUE_MIN, 0.0L}) {
    for (int scale = -4; scale <= 4; ++scale) {
      const Extended v = edge * std::pow(10.0L, scale);
      if (arith::isFinite(v)) c.values.push_back(v);  // LDBL_MAX * 10 is no value to read
    }
  }

  c.texts.reserve(c.values.size());
  for (Extended v : c.values) c.texts.push_back(TexteResultat(v, DecimalMode::Toutes, U'.', U'.'));
  return c;
}

}  // namespace

const Corpus& corpus() {
  static const Corpus instance = build();
  return instance;
}

}  // namespace tallix::bench
