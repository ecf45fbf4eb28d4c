#include "dialogs/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "dialog_fixture.h"

namespace kelvora {
namespace {

struct IntegerCase {
  const char* text;
  int expected;
};

TEST(ReadLeadingInteger, ReadsSignAndDigitsUpToTheFirstOtherCharacter) {
  const IntegerCase cases[] = {
      {"30", 30},
      {"150", 150},
      {"-20", -20},
      {"+7", 7},
      {" \t\n\v\f\r42", 42},
      {"42xyz", 42},
      {"12 34", 12},
      {"3.9", 3},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"+-5", 0},
      {"- 5", 0},
      {"\xe3\x80\x80"
       "5",
       0},                  // an ideographic space is no white space here
      {"\xef\xbc\x95", 0},  // nor is a full-width digit a digit
      {"2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<int>::min()},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ReadLeadingInteger(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(ReadLeadingInteger, NumbersBeyondTheIntRangeSaturateHoweverLong) {
  const std::string manyNines(5000, '9');
  const std::string manyZerosThenOne = std::string(5000, '0') + "1";
  EXPECT_EQ(ReadLeadingInteger("2147483648"), std::numeric_limits<int>::max());
  EXPECT_EQ(ReadLeadingInteger("99999999999999999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(ReadLeadingInteger(manyNines), std::numeric_limits<int>::max());
  EXPECT_EQ(ReadLeadingInteger("-" + manyNines), std::numeric_limits<int>::min());
  EXPECT_EQ(ReadLeadingInteger("-2147483649"), std::numeric_limits<int>::min());
  EXPECT_EQ(ReadLeadingInteger(manyZerosThenOne), 1);
}

struct DoubleCase {
  const char* text;
  double expected;
};

constexpr double kInf = std::numeric_limits<double>::infinity();

const DoubleCase kDoubleCases[] = {
    {"440.0", 440.0},
    {"440", 440.0},
    {"440.5", 440.5},
    {"  +440.5", 440.5},
    {"-440", -440.0},
    {"440Hz", 440.0},
    {"440,5", 440.0},  // the point alone separates decimals
    {"1e3", 1000.0},
    {"1E3", 1000.0},
    {"2.5e+2", 250.0},
    {"1e-3", 0.001},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1e-x", 1.0},
    {".5", 0.5},
    {"5.", 5.0},
    {"-.5", -0.5},
    {"0.1", 0.1},
    {"0.1000001", 0.1000001},
    {"24000.001", 24000.001},
    {"0x1p4", 0.0},
    {"inf", 0.0},
    {"nan", 0.0},
    {"infinity", 0.0},
    {".", 0.0},
    {"e5", 0.0},
    {"", 0.0},
    {"Hz", 0.0},
    {"+", 0.0},
    {"1e999", kInf},
    {"-1e999", -kInf},
    {"1e-999", 0.0},
    {"0e999", 0.0},
    {"1e99999999999999999999", kInf},
    {"0.00000000000000000001e99999999999999999999", kInf},
    {"100000e-99999999999999999999", 0.0},
};

void ExpectDoubleCases() {
  for (const DoubleCase& c : kDoubleCases) {
    EXPECT_EQ(ReadLeadingDouble(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(ReadLeadingDouble, ReadsTheLongestDecimalPrefix) { ExpectDoubleCases(); }

TEST(ReadLeadingDouble, PointIsTheSeparatorUnderADecimalCommaLocale) {
  testing::DecimalCommaLocale locale;
  if (!locale.ok()) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  ExpectDoubleCases();
}

TEST(ReadLeadingDouble, ManyDigitsAreReadInFull) {
  const std::string longOne = "1." + std::string(3000, '0') + "1";
  EXPECT_EQ(ReadLeadingDouble(longOne), 1.0);
  const std::string bigInteger = std::string(400, '9');
  EXPECT_TRUE(std::isinf(ReadLeadingDouble(bigInteger)));
  const std::string tiny = "0." + std::string(400, '0') + "1";
  EXPECT_EQ(ReadLeadingDouble(tiny), 0.0);
}

}  // namespace
}  // namespace kelvora
