#include "core/Variant.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "core/NumberConversion.h"

namespace arn {

namespace {

[[noreturn]] void TypeMismatch() {
    throw MakeError(err::TypeMismatch, "Variant");
}

double ParseNumber(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) {
        TypeMismatch();
    }
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    if (*first == '+') {
        ++first;
    }
    double result = 0;
    auto [ptr, ec] = std::from_chars(first, last, result);
    if (ec != std::errc() || ptr != last) {
        TypeMismatch();
    }
    return result;
}

}  // namespace

bool VariantToBool(const Variant& v) {
    if (const auto* s = std::get_if<std::string>(&v)) {
        if (*s == "True" || *s == "true") {
            return true;
        }
        if (*s == "False" || *s == "false") {
            return false;
        }
    }
    return VariantToDouble(v) != 0.0;
}

double VariantToDouble(const Variant& v) {
    return std::visit(
        [](const auto& x) -> double {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0.0;
            } else if constexpr (std::is_same_v<T, bool>) {
                return x ? -1.0 : 0.0;
            } else if constexpr (std::is_same_v<T, int32_t> || std::is_same_v<T, double>) {
                return static_cast<double>(x);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return ParseNumber(x);
            } else {
                TypeMismatch();
            }
        },
        v);
}

int32_t VariantToLong(const Variant& v) {
    if (const auto* i = std::get_if<int32_t>(&v)) {
        return *i;
    }
    return ToLong(VariantToDouble(v), "Variant");
}

std::string VariantToString(const Variant& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<T, bool>) {
                return x ? "True" : "False";
            } else if constexpr (std::is_same_v<T, int32_t>) {
                return std::to_string(x);
            } else if constexpr (std::is_same_v<T, double>) {
                char buf[64];
                auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x);
                return ec == std::errc() ? std::string(buf, ptr) : std::string();
            } else if constexpr (std::is_same_v<T, std::string>) {
                return x;
            } else {
                TypeMismatch();
            }
        },
        v);
}

std::shared_ptr<Dispatch> VariantToObject(const Variant& v) {
    if (IsEmpty(v)) {
        return nullptr;
    }
    if (const auto* obj = std::get_if<std::shared_ptr<Dispatch>>(&v)) {
        return *obj;
    }
    TypeMismatch();
}

}  // namespace arn
