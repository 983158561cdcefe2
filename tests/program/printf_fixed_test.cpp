// The fast number formatting must write exactly what printf writes.
#include "startup/printf_fixed.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "program_test.h"

namespace maison::testing {
namespace {

std::string with_printf(double value, int precision) {
  char buffer[512];
  switch (precision) {
    case 0:
      std::snprintf(buffer, sizeof buffer, "%3.0f", value);
      break;
    case 1:
      std::snprintf(buffer, sizeof buffer, "%3.1f", value);
      break;
    case 2:
      std::snprintf(buffer, sizeof buffer, "%3.2f", value);
      break;
    default:
      std::snprintf(buffer, sizeof buffer, "%3.3f", value);
      break;
  }
  return std::string(buffer).substr(0, 78);  // what fits in a text
}

int mismatches(const std::vector<double>& values) {
  int count = 0;
  for (double value : values) {
    for (PrintfFixed format : {format_3_0f, format_3_1f, format_3_2f, format_3_3f}) {
      char out[79];
      std::memset(out, 'x', sizeof out);
      const std::size_t length = format_fixed(out, sizeof out, value, format);
      const std::string expected = with_printf(value, format.precision);
      if (std::string(out, length) != expected || out[length] != '\0') {
        if (++count <= 10) {
          ADD_FAILURE() << std::hexfloat << value << " %3." << format.precision << "f: got \""
                        << std::string(out, length) << "\", printf \"" << expected << "\"";
        }
      }
    }
  }
  return count;
}

TEST(PrintfFixedTest, MatchesPrintfOnASweepOfThousandths) {
  std::vector<double> values;
  for (int i = -200000; i <= 200000; ++i) values.push_back(i / 1000.0);
  EXPECT_EQ(mismatches(values), 0);
}

TEST(PrintfFixedTest, MatchesPrintfOnTiesZerosAndExtremes) {
  std::vector<double> values{0.0,
                             -0.0,
                             0.49,
                             -0.49,
                             0.5,
                             -0.5,
                             1.5,
                             2.5,
                             -2.5,
                             0.05,
                             0.15,
                             0.25,
                             0.35,
                             -0.35,
                             0.0005,
                             0.0015,
                             0.0025,
                             -0.0025,
                             1e-300,
                             -1e-300,
                             4.9e-324,
                             1e15,
                             1e16,
                             1e22,
                             9007199254740993.0,
                             123456789012.345,
                             1e75,
                             -1e75,
                             1e300,
                             -1.7e308};
  for (int k = -4000; k <= 4000; ++k) {
    values.push_back(k + 0.5);   // ties at 0 decimals
    values.push_back(k / 8.0);   // ties at 2 decimals
    values.push_back(k / 16.0);  // ties at 3 decimals
    values.push_back(k * 0.05);  // near-ties at 1 decimal
  }
  for (double special :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    values.push_back(special);
  }
  EXPECT_EQ(mismatches(values), 0);
}

TEST(PrintfFixedTest, MatchesPrintfOnRandomDoubles) {
  std::mt19937_64 random(2024);
  std::uniform_real_distribution<double> house_range(-1e5, 1e5);
  std::vector<double> values;
  for (int i = 0; i < 100000; ++i) {
    values.push_back(std::bit_cast<double>(random()));
    values.push_back(house_range(random));
  }
  EXPECT_EQ(mismatches(values), 0);
}

}  // namespace
}  // namespace maison::testing
