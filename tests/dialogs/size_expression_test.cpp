// The size fields' sums: left to right, no precedence, at most 16 operators.
#include <gtest/gtest.h>

#include <climits>

#include <QString>

#include "dialogs/size_expression.h"

namespace {

TEST(SizeExpression, Cases) {
    struct Case {
        const char* text;
        bool valid;
        int operators;
        int value;
    };
    const Case cases[] = {
        {"128", true, 0, 128},
        {"0128", true, 0, 128},
        {"", true, 0, 0},
        {"32*4", true, 1, 128},
        {"2+3*4", true, 2, 20},  // no precedence
        {"10-3-2", true, 2, 5},
        {"17/5", true, 1, 3},
        {"17%5", true, 1, 2},
        {"640/2+16", true, 2, 336},
        {"*3", true, 1, 0},      // an empty piece is 0
        {"5+", true, 1, 5},
        {"2-5", true, 1, -3},
        {"10/0", false, 1, 0},
        {"7%0", false, 1, 0},
        {"4/2/0+1", false, 3, 0},
        {"12a", false, 0, 0},
        {" 12", false, 0, 0},
        {"1.5*2", false, 0, 0},
        {"１２", false, 0, 0},   // full-width digits are not digits here
        {"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", true, 16, 17},
        {"1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", false, 17, 0},
        {"99999999999999999999", true, 0, INT_MAX},
        {"100000*100000*100000", true, 2, INT_MAX},
        {"0-100000*100000", true, 2, INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SizeExpression result = EvalSizeExpression(QString::fromUtf8(c.text));
        EXPECT_EQ(result.valid, c.valid);
        if (c.valid) {
            EXPECT_EQ(result.operators, c.operators);
        }
        EXPECT_EQ(result.value, c.value);
    }
}

}  // namespace
