// The WebAssembly build's number texts (cmake/web/number_text.h) against the
// native std::to_chars they stand in for: the same bytes for every kind of
// float the trace writes, and for the program's fixed formats.
#include "number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

std::string native(float value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string web(float value) {
  char buffer[64];
  auto result = maison_web::to_chars_shortest(buffer, buffer + sizeof buffer, value);
  EXPECT_EQ(result.ec, std::errc{});
  return std::string(buffer, result.ptr);
}

std::string native_fixed(double value, int precision) {
  char buffer[512];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return std::string(buffer, result.ptr);
}

std::string web_fixed(double value, int precision) {
  char buffer[512];
  auto result = maison_web::to_chars_fixed(buffer, buffer + sizeof buffer, value, precision);
  EXPECT_EQ(result.ec, std::errc{});
  return std::string(buffer, result.ptr);
}

TEST(WebNumberText, FloatsReadBackTheSameAsNative) {
  std::vector<float> values = {0.0f,
                               -0.0f,
                               1.0f,
                               -1.0f,
                               0.5f,
                               0.1f,
                               100.0f,
                               1e10f,
                               123456.7f,
                               1.5e-7f,
                               3.4028235e38f,
                               std::numeric_limits<float>::min(),
                               std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN()};
  // Every power of two and its neighbours (lopsided rounding intervals),
  // powers of ten and their neighbours (the fixed/scientific frontier).
  for (int e = -149; e <= 127; ++e) {
    float p = std::ldexp(1.0f, e);
    values.insert(values.end(), {p, std::nextafter(p, 0.0f),
                                 std::nextafter(p, std::numeric_limits<float>::infinity())});
  }
  for (int e = -45; e <= 38; ++e) {
    float p = std::strtof(("1e" + std::to_string(e)).c_str(), nullptr);
    values.insert(values.end(), {p, std::nextafter(p, 0.0f),
                                 std::nextafter(p, std::numeric_limits<float>::infinity()), -p});
  }
  // Random bit patterns, and small decimals as the program's switches hold.
  std::mt19937 random(20261210);
  for (int i = 0; i < 200000; ++i)
    values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  for (int i = -20000; i <= 20000; ++i) values.push_back(static_cast<float>(i) / 100.0f);

  int shown = 0;
  for (float v : values) {
    if (std::isnan(v)) continue;  // NaN payloads print alike but compare unequal
    const std::string want = native(v);
    const std::string got = web(v);
    if (want != got && shown++ < 10)
      ADD_FAILURE() << "bits " << std::bit_cast<std::uint32_t>(v) << ": native " << want << ", web "
                    << got;
  }
  EXPECT_EQ(web(std::numeric_limits<float>::quiet_NaN()), "nan");
  EXPECT_EQ(shown, 0);
}

TEST(WebNumberText, FixedFormatsRoundAsNative) {
  std::vector<double> values = {0.0,   -0.0,   0.5,    1.5,   2.5,   0.125,   0.375,
                                -2.5,  0.05,   0.15,   0.25,  1e-7,  999.995, 1e22,
                                1e300, -1e300, 12.345, 2.675, 1.005, -0.0004, 0.0005};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> house(-5000.0, 50000.0);
  for (int i = 0; i < 100000; ++i) values.push_back(house(random));
  for (int i = 0; i < 20000; ++i)  // exact ties of two and three decimals
    values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 2000000)) / 8.0);

  int shown = 0;
  for (double v : values)
    for (int precision = 0; precision <= 3; ++precision) {
      const std::string want = native_fixed(v, precision);
      const std::string got = web_fixed(v, precision);
      if (want != got && shown++ < 10)
        ADD_FAILURE() << v << " to " << precision << " decimals: native " << want << ", web "
                      << got;
    }
  EXPECT_EQ(shown, 0);
  char tiny[4];
  EXPECT_EQ(maison_web::to_chars_fixed(tiny, tiny + sizeof tiny, 12345.0, 0).ec,
            std::errc::value_too_large);
}

}  // namespace
