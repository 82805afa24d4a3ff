#include "board/eval/evaluator.h"

#include <gtest/gtest.h>

#include <string>

namespace zevo {
namespace {

double Eval(std::string_view text) {
    const auto v = EvaluateField(text);
    EXPECT_TRUE(v.has_value()) << "no value for: " << text;
    return v.value_or(-12345);
}

bool Fails(std::string_view text) {
    return !EvaluateField(text).has_value();
}

TEST(EvaluateField, ArithmeticWithPrecedenceAndParentheses) {
    EXPECT_NEAR(Eval("2*(1.27+0.3)"), 3.14, 1e-12);
    EXPECT_DOUBLE_EQ(Eval("1+2*3"), 7);
    EXPECT_DOUBLE_EQ(Eval("10-4-3"), 3);  // left to right
    EXPECT_DOUBLE_EQ(Eval("24/4/2"), 3);
    EXPECT_DOUBLE_EQ(Eval("(((2)))"), 2);
    EXPECT_DOUBLE_EQ(Eval(".5+1.e1"), 10.5);
    EXPECT_DOUBLE_EQ(Eval("2.54E-1*10"), 2.54);
}

TEST(EvaluateField, SignsBlanksAndCase) {
    EXPECT_DOUBLE_EQ(Eval("- -5"), 5);  // blanks go first, two minus signs cancel
    EXPECT_DOUBLE_EQ(Eval("-+-+-3"), -3);
    EXPECT_DOUBLE_EQ(Eval("2*-3"), -6);
    EXPECT_DOUBLE_EQ(Eval(" 1\t2 . 5 "), 12.5);  // control bytes and blanks removed
    EXPECT_DOUBLE_EQ(Eval("SQRT(16)"), 4);
    // Bytes of 0x80 and above are removed: a half-width kana vanishes, but a full-width digit
    // leaves its second byte ("R", folded to "r") behind.
    EXPECT_DOUBLE_EQ(Eval("\xB1"
                          "7"),
                     7);
    EXPECT_TRUE(!EvaluateField("\x82\x52"
                               "7")
                     .has_value());
}

TEST(EvaluateField, FunctionsWorkInDegrees) {
    EXPECT_NEAR(Eval("cos60"), 0.5, 1e-12);
    EXPECT_NEAR(Eval("atan1"), 45, 1e-12);
    EXPECT_NEAR(Eval("sin30*2"), 1, 1e-12);  // the function takes a factor, not a term
    EXPECT_NEAR(Eval("sin-30"), -0.5, 1e-12);
    EXPECT_NEAR(Eval("sqrt2*sqrt2"), 2, 1e-12);
    EXPECT_NEAR(Eval("cos(45+15)"), 0.5, 1e-12);
    EXPECT_NEAR(Eval("sqrt sqrt 16"), 2, 1e-12);
}

TEST(EvaluateField, TextAfterACompleteExpressionIsIgnored) {
    EXPECT_DOUBLE_EQ(Eval("3mm"), 3);
    EXPECT_DOUBLE_EQ(Eval("1.5)"), 1.5);
    EXPECT_DOUBLE_EQ(Eval("1e"), 1);
    EXPECT_DOUBLE_EQ(Eval("0x10"), 0);  // decimal only
}

TEST(EvaluateField, Errors) {
    EXPECT_TRUE(Fails("10/0"));
    EXPECT_TRUE(Fails("1/0.000000001"));  // below 1e-8 counts as zero
    EXPECT_DOUBLE_EQ(Eval("1/0.00000002"), 5e7);
    EXPECT_TRUE(Fails("sqrt(-1)"));
    EXPECT_TRUE(Fails(""));
    EXPECT_TRUE(Fails("   \t "));        // blanks only
    EXPECT_TRUE(Fails("\xE3\x80\x80"));  // nothing left after removing high bytes
    EXPECT_TRUE(Fails("(1+2"));          // missing parenthesis
    EXPECT_TRUE(Fails("1+"));            // missing operand
    EXPECT_TRUE(Fails("*2"));
    EXPECT_TRUE(Fails("mm3"));
    EXPECT_TRUE(Fails("."));
    EXPECT_TRUE(Fails(".e5"));
    EXPECT_TRUE(Fails("tan45"));
    EXPECT_TRUE(Fails("sin"));
}

TEST(EvaluateField, ValuesBeyondDoublesAreErrorsNotInfinities) {
    EXPECT_TRUE(Fails("1e999"));
    EXPECT_TRUE(Fails("1e300*1e300"));
    EXPECT_TRUE(Fails("1e200*1e200-1e200*1e200"));  // would be NaN
    EXPECT_DOUBLE_EQ(Eval("1e-999"), 0);            // too small reads as zero
    EXPECT_DOUBLE_EQ(Eval("0.000" + std::string(400, '0') + "1+2"), 2);
}

TEST(EvaluateField, DeepNestingIsBoundedNotRecursedWithoutLimit) {
    const std::string ok = std::string(100, '(') + "7" + std::string(100, ')');
    EXPECT_DOUBLE_EQ(Eval(ok), 7);
    EXPECT_DOUBLE_EQ(Eval(std::string(kMaxFieldNesting, '(') + "1"  // closing ones are missing
                          + std::string(kMaxFieldNesting, ')')),
                     1);
    EXPECT_TRUE(Fails(std::string(kMaxFieldNesting + 1, '(') + "1" +
                      std::string(kMaxFieldNesting + 1, ')')));
    EXPECT_TRUE(Fails(std::string(8191, '(')));
    std::string sines;
    for (int i = 0; i < 2000; ++i) sines += "sin";
    EXPECT_TRUE(Fails(sines + "1"));
    // A run of signs is no nesting at all.
    EXPECT_DOUBLE_EQ(Eval(std::string(8000, '-') + "5"), 5);
}

TEST(EvaluateField, OnlyTheFirst8191BytesAreRead) {
    const std::string blanks(kFieldTextMax, ' ');
    EXPECT_TRUE(Fails(blanks + "5"));
    EXPECT_DOUBLE_EQ(Eval(std::string(kFieldTextMax - 1, ' ') + "59"), 5);
}

}  // namespace
}  // namespace zevo
