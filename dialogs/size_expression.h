// The size fields of the new-image dialog accept small sums: digits and the
// operators * / + - %, combined strictly from left to right without
// precedence ("2+3*4" is 20).
#pragma once

#include <QStringView>

// The outcome of one field's text.
struct SizeExpression {
    // False for a character other than digits and operators, a division or
    // remainder by 0, or more than kMaxSizeOperators operators; the value
    // is then 0.
    bool valid = true;
    // Operators in the text; a field with any is shown again for a second
    // confirmation.
    int operators = 0;
    // Kept within the range of int: every step saturates.
    int value = 0;
};

inline constexpr int kMaxSizeOperators = 16;

// Splits the text at the operators; each piece is a decimal number (an
// empty piece counts as 0).
SizeExpression EvalSizeExpression(QStringView text);
