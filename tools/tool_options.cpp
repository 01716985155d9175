#include "tools/tool_options.h"

#include <algorithm>
#include <climits>

namespace {

using Kind = ToolOptions::Kind;

const ToolOptions::Rule kRules[kToolOptionCount] = {
    {442, Kind::Kept, 0, INT_MAX},  {443, Kind::Check, 0, 1},      {445, Kind::Edit, 0, 50},
    {412, Kind::Combo, 0, INT_MAX}, {414, Kind::Edit, 1, 100},     {430, Kind::Edit, 1, 100},
    {427, Kind::Combo, 0, INT_MAX}, {432, Kind::Edit, 1, INT_MAX}, {434, Kind::Edit, 1, INT_MAX},
    {436, Kind::Combo, 0, INT_MAX}, {438, Kind::Edit, 1, INT_MAX}, {440, Kind::Edit, 1, INT_MAX},
    {428, Kind::Combo, 0, INT_MAX}, {401, Kind::Combo, 0, INT_MAX}, {403, Kind::Edit, 1, INT_MAX},
    {405, Kind::Edit, 0, INT_MAX},  {415, Kind::Combo, 0, INT_MAX}, {417, Kind::Edit, 1, INT_MAX},
    {419, Kind::Edit, 0, INT_MAX},  {421, Kind::Combo, 0, INT_MAX}, {423, Kind::Edit, 1, INT_MAX},
    {425, Kind::Edit, 0, INT_MAX},
};

// The start values of the tool palette's settings.
constexpr std::array<int, kToolOptionCount> kStart = {0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1,
                                                      1, 1, 0, 1, 0, 0, 1, 0, 0, 1, 1};

}  // namespace

ToolOptions::ToolOptions() : cache_(kStart) {}

const ToolOptions::Rule& ToolOptions::RuleOf(int index) { return kRules[index]; }

int ToolOptions::GetToolOption(int index) {
    if (index < 0 || index >= kToolOptionCount) return 0;
    const Rule& rule = kRules[index];
    int& cached = cache_[size_t(index)];
    if (rule.kind == Kind::Kept || !controls_) return cached;
    std::optional<int> value = controls_->ReadControl(rule.control);
    if (!value) return cached;
    int clamped = std::clamp(*value, rule.min, rule.max);
    if (rule.kind == Kind::Edit && clamped != *value) controls_->WriteControl(rule.control, clamped);
    cached = clamped;
    return cached;
}
