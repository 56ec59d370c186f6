#include "files/OptionsEngineRules.h"

#include "core/Text.h"

namespace orv
{

namespace
{

// The bounds of one engine's spin button: up adds `upStep` while
// upFloor <= value < 200, down takes `downStep` while value > downFloor.
struct SpinBounds {
    int upStep;
    int upFloor; // lowest value that may still go up; INT_MIN for none
    int downStep;
    int downFloor;
};

constexpr int kNoFloor = -2147483647 - 1;

SpinBounds spinBounds(Engine e)
{
    switch (e) {
    case Engine::NetfindAol:
    case Engine::PlanetSearch:
        return { 10, 10, 10, 10 };
    case Engine::Infoseek:
    case Engine::Yahoo:
    case Engine::Snap:
        return { 20, kNoFloor, 20, 20 };
    case Engine::AltaVista:
    case Engine::Excite:
    case Engine::Webcrawler:
    case Engine::Magellan:
    case Engine::Thunderstone:
        return { 10, kNoFloor, 10, 10 };
    }
    return { 10, kNoFloor, 10, 10 };
}

// The text an emptied box takes under the typing rule; nullopt: no rule.
std::optional<std::string> typingEmptyText(Engine e)
{
    switch (e) {
    case Engine::Snap:
        return "20";
    case Engine::Webcrawler:
    case Engine::Magellan:
    case Engine::Thunderstone:
        return "0";
    default:
        return std::nullopt;
    }
}

std::optional<std::string> ladderStep(const std::string& text, bool up)
{
    static const char* const ladder[] = { "20", "50", "100", "200" };
    for (int i = 0; i < 4; ++i) {
        if (text != ladder[i])
            continue;
        const int next = up ? i + 1 : i - 1;
        if (next < 0 || next > 3)
            return std::nullopt;
        return std::string(ladder[next]);
    }
    return std::nullopt;
}

} // namespace

int EngineSpinStep(Engine e)
{
    return spinBounds(e).upStep;
}

std::optional<std::string> EngineSpinUp(Engine e, const std::string& text)
{
    if (e == Engine::Thunderstone)
        return ladderStep(text, true);
    const SpinBounds b = spinBounds(e);
    const int v = StrToInt(text);
    if (v >= b.upFloor && v < kEngineMaxLimit)
        return IntToStr(static_cast<long long>(v) + b.upStep);
    return std::nullopt;
}

std::optional<std::string> EngineSpinDown(Engine e, const std::string& text)
{
    if (e == Engine::Thunderstone)
        return ladderStep(text, false);
    const SpinBounds b = spinBounds(e);
    const int v = StrToInt(text);
    if (v > b.downFloor)
        return IntToStr(static_cast<long long>(v) - b.downStep);
    return std::nullopt;
}

bool EngineHasTypingRule(Engine e)
{
    return typingEmptyText(e).has_value();
}

std::string EngineTypingRule(Engine e, const std::string& text)
{
    const std::optional<std::string> emptyText = typingEmptyText(e);
    if (!emptyText)
        return text;
    const std::string current = text.empty() ? *emptyText : text;
    if (StrToInt(current) > kEngineMaxLimit)
        return IntToStr(kEngineMaxLimit);
    return current;
}

bool EngineHasLeaveRule(Engine e)
{
    return e != Engine::Webcrawler && e != Engine::Magellan;
}

std::string EngineLeaveRule(Engine e, const std::string& text)
{
    switch (e) {
    case Engine::Thunderstone:
        return LeaveRuleLadder(text);
    case Engine::Yahoo:
        return LeaveRuleRounding(text, 20, "10");
    case Engine::Snap:
        return LeaveRuleRounding(text, 20, "20");
    case Engine::Webcrawler:
    case Engine::Magellan:
        return text;
    default:
        return LeaveRuleRounding(text, 10, "10");
    }
}

std::string LeaveRuleRounding(const std::string& text, int step, const std::string& emptyText)
{
    int v = StrToInt(text.empty() ? emptyText : text);
    if (v > kEngineMaxLimit)
        v = kEngineMaxLimit;
    if (v < step)
        v = step;
    v -= v % step;
    return IntToStr(v);
}

std::string LeaveRuleLadder(const std::string& text)
{
    const std::string current = text.empty() ? std::string("20") : text;
    const int v = StrToInt(current);
    if (v < 0)
        return current;
    if (v <= 25)
        return "20";
    if (v <= 50)
        return "50";
    if (v <= 100)
        return "100";
    return "200";
}

} // namespace orv
