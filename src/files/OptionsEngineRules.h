#pragma once
// The rules that keep each engine's maximum-results box within its bounds:
// the two halves of its spin button, the rule run on every change of the
// text (four engines), the rule run when the box is left (seven engines by
// rounding, Thunderstone by its ladder 20/50/100/200). Each rule takes the
// box's text and returns the text the box is to hold; a text that is not a
// whole number where one is read raises EConvertError
// ("'%s' is not a valid integer value") and the box keeps its text.
#include "search/Engines.h"

#include <optional>
#include <string>

namespace orv
{

inline constexpr int kEngineMaxLimit = 200;

// The spin button's step of an engine (Thunderstone climbs its ladder instead).
int EngineSpinStep(Engine e);

// The text after a click on the upper or lower half of the spin button;
// nullopt when the click leaves the box unchanged.
std::optional<std::string> EngineSpinUp(Engine e, const std::string& text);
std::optional<std::string> EngineSpinDown(Engine e, const std::string& text);

// Whether the engine checks its box on every change of the text, and the
// text it puts in an emptied box.
bool EngineHasTypingRule(Engine e);
// Applies the typing rule; returns the text unchanged for engines without one.
std::string EngineTypingRule(Engine e, const std::string& text);

// Whether leaving the box runs a rule (Webcrawler and Magellan have none).
bool EngineHasLeaveRule(Engine e);
// Applies the engine's leave rule (rounding or ladder); returns the text
// unchanged for engines without one.
std::string EngineLeaveRule(Engine e, const std::string& text);

// The rounding rule with step s: an empty box becomes `emptyText`, then the
// value is held to s..200 and rounded down to a multiple of s.
std::string LeaveRuleRounding(const std::string& text, int step, const std::string& emptyText);
// Thunderstone's rule: 0..25 -> "20", 26..50 -> "50", 51..100 -> "100",
// above -> "200"; an empty box reads as "20"; a negative value stays.
std::string LeaveRuleLadder(const std::string& text);

} // namespace orv
