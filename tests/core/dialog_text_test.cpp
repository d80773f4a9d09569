#include "platform/dialog_text.h"
#include <gtest/gtest.h>

namespace orv {

TEST(DialogText, LeadingNumberCountsAndTheRestIsIgnored)
{
    const struct { const char* text; double value; bool ok; } cases[] = {
        {"  12abc", 12, true}, {"\t-3.5", -3.5, true}, {"+4", 4, true}, {"1.5.7", 1.5, true}, {".25", 0.25, true},
        {"7.", 7, true}, {"2e3", 2000, true}, {"2E-2x", 0.02, true}, {"5e", 5, true}, {"5e+", 5, true},
        {"1,5", 1, true}, {"-0", 0, true}, {"", 0, false}, {"abc", 0, false}, {"-", 0, false}, {".", 0, false},
        {"- 5", 0, false}, {"1e999", 0, false},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(DialogNumber(c.text, &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST(DialogText, IntegersRoundHalvesToEvenAndMustFit)
{
    const struct { const char* text; int value; bool ok; } cases[] = {
        {"2.5", 2, true}, {"3.5", 4, true}, {"-2.5", -2, true}, {"10 px", 10, true},
        {"2147483647", 2147483647, true}, {"2147483648", 0, false}, {"x", 0, false},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(DialogInteger(c.text, &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

} // namespace orv
