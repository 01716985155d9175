#include "dialogs/size_expression.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

bool IsOperator(QChar c) {
    return c == u'*' || c == u'/' || c == u'+' || c == u'-' || c == u'%';
}

int64_t Saturate(int64_t value) { return std::clamp<int64_t>(value, INT_MIN, INT_MAX); }

SizeExpression Invalid(int operators) { return {false, operators, 0}; }

}  // namespace

SizeExpression EvalSizeExpression(QStringView text) {
    int operators = 0;
    for (QChar c : text) {
        if (IsOperator(c)) ++operators;
        else if (c < u'0' || c > u'9') return Invalid(operators);
    }
    if (operators > kMaxSizeOperators) return Invalid(operators);

    int64_t result = 0;
    int64_t piece = 0;
    QChar pending = u'+';  // the first piece is added to 0
    auto apply = [&]() -> bool {
        switch (pending.unicode()) {
        case u'+': result = Saturate(result + piece); break;
        case u'-': result = Saturate(result - piece); break;
        case u'*': result = Saturate(result * piece); break;
        case u'/':
            if (piece == 0) return false;
            result /= piece;
            break;
        case u'%':
            if (piece == 0) return false;
            result %= piece;
            break;
        }
        return true;
    };
    for (QChar c : text) {
        if (IsOperator(c)) {
            if (!apply()) return Invalid(operators);
            pending = c;
            piece = 0;
        } else {
            piece = std::min<int64_t>(piece * 10 + (c.unicode() - u'0'), INT_MAX);
        }
    }
    if (!apply()) return Invalid(operators);
    return {true, operators, int(result)};
}
