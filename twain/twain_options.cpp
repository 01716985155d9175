// The open device's options, read and set through the library.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "twain/twain_source.h"

namespace twain {

namespace {

std::string NumberText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e9) return std::to_string(int64_t(value));
    std::string text = std::to_string(value);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

bool ParseSwitch(const std::string& text, SANE_Bool* out) {
    if (text == "yes" || text == "1" || text == "true") return *out = SANE_TRUE, true;
    if (text == "no" || text == "0" || text == "false") return *out = SANE_FALSE, true;
    return false;
}

bool ParseNumber(const std::string& text, double* out) {
    try {
        size_t used = 0;
        *out = std::stod(text, &used);
        return used == text.size() && std::isfinite(*out);
    } catch (...) {
        return false;
    }
}

}  // namespace

int CTwainSource::OptionCount(int* count) {
    *count = 0;
    if (!device_) return TWRC_FAILURE;
    SANE_Int value = 0;
    int result = Call([&] {
        return sane_.control_option(device_, 0, SANE_ACTION_GET_VALUE, &value, nullptr);
    });
    if (result == TWRC_SUCCESS) *count = value;
    return result;
}

std::optional<SourceOption> CTwainSource::Option(int index) {
    if (!device_ || !IsLoaded()) return std::nullopt;
    const SANE_Option_Descriptor* d = sane_.get_option_descriptor(device_, index);
    if (!d) return std::nullopt;
    SourceOption o;
    o.index = index;
    o.name = d->name ? d->name : "";
    o.title = d->title ? d->title : "";
    o.type = d->type;
    o.unit = d->unit;
    o.size = d->size;
    o.capabilities = d->cap;
    o.constraint = d->constraint_type;
    auto unfix = [&](SANE_Word w) { return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w); };
    if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->constraint.string_list) {
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s) o.strings.push_back(*s);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        const SANE_Word* list = d->constraint.word_list;
        for (SANE_Word i = 1; i <= list[0]; ++i) o.words.push_back(unfix(list[i]));
    } else if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        o.min = unfix(d->constraint.range->min);
        o.max = unfix(d->constraint.range->max);
        o.quant = unfix(d->constraint.range->quant);
    }
    return o;
}

std::optional<SourceOption> CTwainSource::FindOption(const std::string& name) {
    int count = 0;
    if (OptionCount(&count) != TWRC_SUCCESS) return std::nullopt;
    for (int i = 1; i < count; ++i) {
        std::optional<SourceOption> o = Option(i);
        if (o && o->name == name) return o;
    }
    return std::nullopt;
}

std::string CTwainSource::OptionText(const SourceOption& option) {
    if (!device_ || !option.Active() || option.size <= 0) return {};
    std::vector<SANE_Byte> value(size_t(option.size) + 1, 0);
    int result = Call([&] {
        return sane_.control_option(device_, option.index, SANE_ACTION_GET_VALUE, value.data(), nullptr);
    });
    if (result != TWRC_SUCCESS) return {};
    SANE_Word word = 0;
    std::memcpy(&word, value.data(), std::min<size_t>(sizeof word, value.size()));
    switch (option.type) {
    case SANE_TYPE_BOOL: return word ? "yes" : "no";
    case SANE_TYPE_INT: return NumberText(word);
    case SANE_TYPE_FIXED: return NumberText(SANE_UNFIX(word));
    case SANE_TYPE_STRING: return reinterpret_cast<const char*>(value.data());
    default: return {};
    }
}

int CTwainSource::SetOptionText(const std::string& name, const std::string& text) {
    std::optional<SourceOption> option = FindOption(name);
    if (!option || !option->Active() || !option->Settable()) return TWRC_FAILURE;
    std::vector<SANE_Byte> value(size_t(std::max<SANE_Int>(option->size, sizeof(SANE_Word))) + 1, 0);
    SANE_Word word = 0;
    double number = 0;
    switch (option->type) {
    case SANE_TYPE_BOOL:
        if (!ParseSwitch(text, &word)) return TWRC_FAILURE;
        break;
    case SANE_TYPE_INT:
        if (!ParseNumber(text, &number)) return TWRC_FAILURE;
        word = SANE_Word(std::lround(number));
        break;
    case SANE_TYPE_FIXED:
        if (!ParseNumber(text, &number)) return TWRC_FAILURE;
        word = SANE_FIX(number);
        break;
    case SANE_TYPE_STRING:
        if (text.size() + 1 > size_t(option->size)) return TWRC_FAILURE;
        std::memcpy(value.data(), text.c_str(), text.size() + 1);
        break;
    default: return TWRC_FAILURE;
    }
    if (option->type != SANE_TYPE_STRING) std::memcpy(value.data(), &word, sizeof word);
    SANE_Int info = 0;
    return Call([&] {
        return sane_.control_option(device_, option->index, SANE_ACTION_SET_VALUE, value.data(), &info);
    });
}

}  // namespace twain
