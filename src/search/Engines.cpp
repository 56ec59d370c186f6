#include "search/Engines.h"

namespace orv
{

std::string_view engineCaption(Engine e)
{
    switch (e) {
    case Engine::AltaVista:
        return "AltaVista";
    case Engine::Infoseek:
        return "Infoseek";
    case Engine::Excite:
        return "Excite";
    case Engine::Yahoo:
        return "Yahoo";
    case Engine::NetfindAol:
        return "Netfind.Aol";
    case Engine::Webcrawler:
        return "Webcrawler";
    case Engine::Snap:
        return "Snap";
    case Engine::Magellan:
        return "Magellan";
    case Engine::PlanetSearch:
        return "PlanetSearch";
    case Engine::Thunderstone:
        return "Thunderstone";
    }
    return {};
}

std::optional<Engine> engineFromCaption(std::string_view caption)
{
    for (Engine e : kAllEngines)
        if (engineCaption(e) == caption)
            return e;
    return std::nullopt;
}

PagingState initialPagingState(Engine e)
{
    PagingState state;
    if (e == Engine::Yahoo)
        state.page = 1;
    return state;
}

} // namespace orv
