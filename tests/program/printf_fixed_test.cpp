// The fast number formatting must write exactly what printf writes.
#include "startup/printf_fixed.h"

#include <cstdio>
#include <limits>

#include "program_test.h"

namespace maison::testing {
namespace {

std::string with_printf(double value, int precision) {
  char buffer[512] = {};
  if (precision == 0) std::snprintf(buffer, sizeof buffer, "%3.0f", value);
  if (precision == 1) std::snprintf(buffer, sizeof buffer, "%3.1f", value);
  if (precision == 2) std::snprintf(buffer, sizeof buffer, "%3.2f", value);
  if (precision == 3) std::snprintf(buffer, sizeof buffer, "%3.3f", value);
  return std::string(buffer).substr(0, 78);  // what fits in a text
}

int mismatches(const std::vector<double>& values) {
  int count = 0;
  for (double value : values) {
    for (PrintfFixed format : {format_3_0f, format_3_1f, format_3_2f, format_3_3f}) {
      char out[79];
      const std::size_t length = format_fixed(out, sizeof out, value, format);
      const std::string expected = with_printf(value, format.precision);
      if ((std::string(out, length) != expected || out[length] != '\0') && ++count <= 10) {
        ADD_FAILURE() << std::hexfloat << value << " %3." << format.precision << "f: \""
                      << std::string(out, length) << "\", printf \"" << expected << "\"";
      }
    }
  }
  return count;
}

TEST(PrintfFixedTest, MatchesPrintfOnThousandthsTiesZerosAndExtremes) {
  std::vector<double> values{-0.0,
                             1e-300,
                             -1e-300,
                             4.9e-324,
                             1e15,
                             1e22,
                             9007199254740993.0,
                             1e75,
                             -1e75,
                             -1.7e308,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  for (int i = -200000; i <= 200000; ++i) values.push_back(i / 1000.0);
  for (int k = -4000; k <= 4000; ++k) {
    values.push_back(k + 0.5);   // ties at 0 decimals
    values.push_back(k / 8.0);   // ties at 2 decimals
    values.push_back(k / 16.0);  // ties at 3 decimals
    values.push_back(k * 0.05);  // near-ties at 1 decimal
  }
  EXPECT_EQ(mismatches(values), 0);
}

}  // namespace
}  // namespace maison::testing
