// The bounds of the engine maximum boxes: spin buttons, typing, leaving, ladder.
#include "files/OptionsEngineRules.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace orv;

namespace
{

const char* show(const std::optional<std::string>& text)
{
    return text ? text->c_str() : "(unchanged)";
}

} // namespace

struct SpinCase {
    Engine engine;
    const char* text;
    const char* up; // nullptr: unchanged
    const char* down; // nullptr: unchanged
};

class EngineSpin : public ::testing::TestWithParam<SpinCase>
{
};

TEST_P(EngineSpin, StepsWithinTheEngineBounds)
{
    const SpinCase& c = GetParam();
    const std::optional<std::string> up = EngineSpinUp(c.engine, c.text);
    const std::optional<std::string> down = EngineSpinDown(c.engine, c.text);
    EXPECT_STREQ(show(up), c.up ? c.up : "(unchanged)") << engineCaption(c.engine) << " up from " << c.text;
    EXPECT_STREQ(show(down), c.down ? c.down : "(unchanged)") << engineCaption(c.engine) << " down from " << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, EngineSpin,
    ::testing::Values(SpinCase { Engine::AltaVista, "20", "30", "10" },
        SpinCase { Engine::AltaVista, "10", "20", nullptr }, SpinCase { Engine::AltaVista, "200", nullptr, "190" },
        SpinCase { Engine::AltaVista, "195", "205", "185" }, SpinCase { Engine::AltaVista, "-50", "-40", nullptr },
        SpinCase { Engine::Excite, "190", "200", "180" },
        // Netfind.Aol and PlanetSearch only climb from 10 upwards.
        SpinCase { Engine::NetfindAol, "5", nullptr, nullptr }, SpinCase { Engine::NetfindAol, "10", "20", nullptr },
        SpinCase { Engine::PlanetSearch, "0", nullptr, nullptr }, SpinCase { Engine::PlanetSearch, "11", "21", "1" },
        // Infoseek, Yahoo and Snap step by 20.
        SpinCase { Engine::Infoseek, "30", "50", "10" }, SpinCase { Engine::Infoseek, "20", "40", nullptr },
        SpinCase { Engine::Yahoo, "200", nullptr, "180" }, SpinCase { Engine::Snap, "0", "20", nullptr },
        SpinCase { Engine::Webcrawler, "0", "10", nullptr }, SpinCase { Engine::Magellan, "199", "209", "189" },
        // Thunderstone climbs its ladder by the exact text.
        SpinCase { Engine::Thunderstone, "20", "50", nullptr }, SpinCase { Engine::Thunderstone, "50", "100", "20" },
        SpinCase { Engine::Thunderstone, "100", "200", "50" }, SpinCase { Engine::Thunderstone, "200", nullptr, "100" },
        SpinCase { Engine::Thunderstone, "30", nullptr, nullptr },
        SpinCase { Engine::Thunderstone, " 50", nullptr, nullptr },
        SpinCase { Engine::Thunderstone, "abc", nullptr, nullptr }));

TEST(EngineSpin, ANonNumberIsReportedAndNothingChanges)
{
    try {
        EngineSpinUp(Engine::AltaVista, "1x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'1x' is not a valid integer value");
    }
    EXPECT_THROW(EngineSpinDown(Engine::Yahoo, ""), EConvertError);
}

struct RuleCase {
    Engine engine;
    const char* text;
    const char* after;
};

class EngineLeave : public ::testing::TestWithParam<RuleCase>
{
};

TEST_P(EngineLeave, LeavingTheBoxRoundsIntoBounds)
{
    const RuleCase& c = GetParam();
    EXPECT_EQ(EngineLeaveRule(c.engine, c.text), c.after) << engineCaption(c.engine) << " left with " << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, EngineLeave,
    ::testing::Values(RuleCase { Engine::AltaVista, "37", "30" }, RuleCase { Engine::AltaVista, "0", "10" },
        RuleCase { Engine::AltaVista, "250", "200" }, RuleCase { Engine::AltaVista, "", "10" },
        RuleCase { Engine::AltaVista, "-7", "10" }, RuleCase { Engine::Excite, "199", "190" },
        RuleCase { Engine::NetfindAol, "15", "10" }, RuleCase { Engine::PlanetSearch, "200", "200" },
        // Infoseek spins by 20 but rounds to 10 on leaving.
        RuleCase { Engine::Infoseek, "10", "10" }, RuleCase { Engine::Infoseek, "35", "30" },
        RuleCase { Engine::Yahoo, "37", "20" }, RuleCase { Engine::Yahoo, "5", "20" },
        RuleCase { Engine::Yahoo, "", "20" }, RuleCase { Engine::Yahoo, "199", "180" },
        RuleCase { Engine::Snap, "", "20" }, RuleCase { Engine::Snap, "59", "40" },
        // Webcrawler and Magellan have no rule on leaving.
        RuleCase { Engine::Webcrawler, "0", "0" }, RuleCase { Engine::Magellan, "7", "7" },
        RuleCase { Engine::Magellan, "abc", "abc" },
        // Thunderstone's ladder.
        RuleCase { Engine::Thunderstone, "0", "20" }, RuleCase { Engine::Thunderstone, "25", "20" },
        RuleCase { Engine::Thunderstone, "26", "50" }, RuleCase { Engine::Thunderstone, "30", "50" },
        RuleCase { Engine::Thunderstone, "50", "50" }, RuleCase { Engine::Thunderstone, "51", "100" },
        RuleCase { Engine::Thunderstone, "100", "100" }, RuleCase { Engine::Thunderstone, "101", "200" },
        RuleCase { Engine::Thunderstone, "5000", "200" }, RuleCase { Engine::Thunderstone, "", "20" },
        RuleCase { Engine::Thunderstone, "-3", "-3" }));

TEST(EngineLeave, ANonNumberIsReported)
{
    try {
        EngineLeaveRule(Engine::Yahoo, "x7");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x7' is not a valid integer value");
    }
    EXPECT_THROW(EngineLeaveRule(Engine::Thunderstone, "abc"), EConvertError);
}

class EngineTyping : public ::testing::TestWithParam<RuleCase>
{
};

TEST_P(EngineTyping, TypingHoldsTheBoxAtMost200)
{
    const RuleCase& c = GetParam();
    EXPECT_EQ(EngineTypingRule(c.engine, c.text), c.after) << engineCaption(c.engine) << " typed " << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, EngineTyping,
    ::testing::Values(RuleCase { Engine::Webcrawler, "250", "200" }, RuleCase { Engine::Webcrawler, "", "0" },
        RuleCase { Engine::Magellan, "", "0" }, RuleCase { Engine::Thunderstone, "", "0" },
        RuleCase { Engine::Thunderstone, "201", "200" }, RuleCase { Engine::Snap, "", "20" },
        RuleCase { Engine::Snap, "5", "5" }, RuleCase { Engine::Snap, "200", "200" },
        // Engines without a typing rule keep what was typed until the box is left.
        RuleCase { Engine::AltaVista, "250", "250" }, RuleCase { Engine::Yahoo, "", "" },
        RuleCase { Engine::Infoseek, "abc", "abc" }));

TEST(EngineTyping, ANonNumberIsReportedOnEveryChange)
{
    EXPECT_THROW(EngineTypingRule(Engine::Snap, "-"), EConvertError);
    EXPECT_THROW(EngineTypingRule(Engine::Webcrawler, "2a"), EConvertError);
    EXPECT_TRUE(EngineHasTypingRule(Engine::Magellan));
    EXPECT_FALSE(EngineHasTypingRule(Engine::Excite));
    EXPECT_FALSE(EngineHasLeaveRule(Engine::Webcrawler));
    EXPECT_TRUE(EngineHasLeaveRule(Engine::Thunderstone));
}
