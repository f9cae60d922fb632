#include "host/EntryRule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "host/values/NumberText.h"

namespace arn {

namespace {

// The number shown as an example when the entry gives no hint of what was meant.
constexpr double TypicalEntry = 2000.0;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An optional sign, digits, and an optional point with digits; at least one digit.
std::optional<double> PlainDecimal(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t start = at;
    std::size_t digits = 0;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (IsDigit(text[at])) {
            ++digits;
        } else if (text[at] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    double value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (end != last || !(ec == std::errc() || ec == std::errc::result_out_of_range)) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        value = HUGE_VAL;
    }
    return text.front() == '-' ? -value : value;
}

// The text read with an exponent ("1e3", "2.5E-2"), when that is what it is.
std::optional<double> WithExponent(std::string_view text) {
    if (text.find_first_of("eE") == std::string_view::npos) {
        return std::nullopt;
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                           std::chars_format::scientific);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Commas between groups of exactly three digits ("1,500", "-2,000,000.5"): the number without
// them, else nothing.
std::optional<double> WithSeparators(std::string_view text) {
    if (text.find(',') == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t point = std::min(text.find('.'), text.size());
    const std::string_view integral = text.substr(0, point);
    std::string joined;
    std::size_t at = 0;
    for (bool first = true;; first = false) {
        const std::size_t comma = integral.find(',', at);
        const std::string_view group = integral.substr(
            at, comma == std::string_view::npos ? std::string_view::npos : comma - at);
        const std::size_t digits =
            static_cast<std::size_t>(std::count_if(group.begin(), group.end(), IsDigit));
        if (first ? (digits < 1 || digits > 3) : (digits != 3 || group.size() != 3)) {
            return std::nullopt;
        }
        joined += group;
        if (comma == std::string_view::npos) {
            break;
        }
        at = comma + 1;
    }
    joined += text.substr(point);
    return PlainDecimal(joined);
}

// One comma where a point belongs ("2,5").
std::optional<double> WithDecimalComma(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos ||
        text.find('.') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string pointed(text);
    pointed[comma] = '.';
    return PlainDecimal(pointed);
}

}  // namespace

EntryRule EntryRule::For(int32_t number, std::string name, std::string units) {
    EntryRule rule;
    rule.number = number;
    rule.name = std::move(name);
    rule.units = std::move(units);
    if (const ParamInfo* info = FindParamInfo(number)) {
        rule.whole = info->kind == NumberKind::Whole ||
                     (info->kind == NumberKind::Position && rule.units == CountsUnits);
        rule.least = info->least;
        rule.most = info->most;
    }
    return rule;
}

std::string EntryRule::Takes() const {
    std::string text = whole ? "a whole number" : "a number";
    return units.empty() ? text : text + " of " + units;
}

std::string EntryRule::Describe() const {
    const std::string kind = (whole ? "whole " : "") + (units.empty() ? "numbers" : units);
    return name + " (parameter " + std::to_string(number) + "): " + kind + " from " +
           PlainNumber(least) + " to " + PlainNumber(most);
}

std::string EntryRule::Example(double wanted) const {
    double v = std::isfinite(wanted) ? wanted : TypicalEntry;
    if (whole) {
        v = std::round(v);
    }
    return PlainNumber(std::clamp(v, least, most));
}

EntryCheck EntryRule::Refuse(std::string text) const {
    return EntryCheck{std::nullopt, std::move(text)};
}

EntryCheck EntryRule::Check(std::string_view typed) const {
    const std::string_view text = Trimmed(typed);
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (text.empty()) {
        return Refuse(name + " takes " + Takes() + ", like " + Example(TypicalEntry) +
                      "; the box is empty");
    }
    const std::optional<double> value = PlainDecimal(text);
    if (!value) {
        if (const auto v = WithSeparators(text)) {
            return Refuse(name + " takes digits without thousands separators: type " + Example(*v) +
                          ", not " + quoted);
        }
        if (const auto v = WithDecimalComma(text)) {
            return Refuse(name + " takes a point before the decimals: type " + Example(*v) +
                          ", not " + quoted);
        }
        if (const auto v = WithExponent(text)) {
            return Refuse(name + " takes the number written out: type " + Example(*v) + ", not " +
                          quoted);
        }
        return Refuse(name + " takes " + Takes() + ", like " + Example(TypicalEntry) + "; " +
                      quoted + " is not a number");
    }
    if (whole && *value != std::floor(*value)) {
        return Refuse(name + " takes " + Takes() + ", like " + Example(*value) + "; " + quoted +
                      " has a fraction");
    }
    if (*value < least || *value > most) {
        return Refuse(name + " takes " + Takes() + " from " + PlainNumber(least) + " to " +
                      PlainNumber(most) + "; " + std::string(text) + " is outside that range");
    }
    return EntryCheck{*value == 0 ? 0.0 : *value, {}};
}

}  // namespace arn
