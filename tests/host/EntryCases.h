#pragma once

#include <optional>
#include <vector>

namespace arn::test {

// Texts typed for Position 1 (parameter 247, whole counts, 32 bits) and what every host does
// with them: the number written, or the refusal. The host rule's test and the Qt editor's both
// run this one table, so the editor takes and refuses the same texts as the rule.
struct EntryCase {
    const char* typed;
    std::optional<double> written;
    const char* refusal;  // empty when written
};

inline const std::vector<EntryCase>& PositionOneEntries() {
    static const std::vector<EntryCase> cases = {
        {"2000", 2000.0, ""},
        {"-2147483648", -2147483648.0, ""},
        {"+15", 15.0, ""},
        {"2000.0", 2000.0, ""},
        {"2000.6", std::nullopt,
         "Position 1 takes a whole number of counts, like 2001; \"2000.6\" has a fraction"},
        {"1,500", std::nullopt,
         "Position 1 takes digits without thousands separators: type 1500, not \"1,500\""},
        {"-2,000,000", std::nullopt,
         "Position 1 takes digits without thousands separators: type -2000000, not "
         "\"-2,000,000\""},
        {"2,5", std::nullopt, "Position 1 takes a point before the decimals: type 3, not \"2,5\""},
        {"1e3", std::nullopt, "Position 1 takes the number written out: type 1000, not \"1e3\""},
        {"12a", std::nullopt,
         "Position 1 takes a whole number of counts, like 2000; \"12a\" is not a number"},
        {"0x10", std::nullopt,
         "Position 1 takes a whole number of counts, like 2000; \"0x10\" is not a number"},
        {"99999999999", std::nullopt,
         "Position 1 takes a whole number of counts from -2147483648 to 2147483647; "
         "99999999999 is outside that range"},
        {"2147483648", std::nullopt,
         "Position 1 takes a whole number of counts from -2147483648 to 2147483647; "
         "2147483648 is outside that range"},
    };
    return cases;
}

}  // namespace arn::test
