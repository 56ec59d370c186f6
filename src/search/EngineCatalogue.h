#pragma once
// What the search run needs to know of each engine: the text shown while it
// is queried, the exact query URL for a result page, how its pages are
// stepped through, and the data file its answer goes to when the URL names
// none. Text in, text out; the window wires it to the controls.
#include "search/Engines.h"

#include <optional>
#include <string>

namespace orv
{

// The values one query URL is built from.
struct EngineQuery {
    std::string queryText; // the Primary lines joined with "+"
    std::string quotedQueryText; // the same with every double quote as "%22" (Infoseek only)
    int page = 0; // the page value: the start value of the requested page
    int start = 0; // Magellan and Netfind.Aol: start offset of a next-page request
    bool firstPage = true; // Magellan and Netfind.Aol: first-page or next-page form
    std::string planetMaxText; // PlanetSearch: the maximum box's text, sent as typed
};

// "Searching AltaVista...", ..., "Searching Snap ..." (a blank before the dots).
std::string engineActivityText(Engine e);

// Path and query of the request, from the first "/" on.
std::string engineQueryPath(Engine e, const EngineQuery& q);

// "http://" + host + path and query; a host given as "https://host[:port]"
// (an engine asked over TLS) keeps its scheme.
std::string engineQueryUrl(Engine e, const std::string& host, const EngineQuery& q);

// The data file name of the engines whose URL yields no document name
// ("planetsearch", "thunderstone"); the others take the client's document name.
std::optional<std::string> fixedDataFileName(Engine e);

// How further result pages are requested.
enum class PagingKind {
    PageValue, // pages 2..N at start values k * step (Yahoo k * 20 + 1)
    StartOffset, // Magellan, Netfind.Aol: E next-page requests at offsets 0, 10, ...
    SinglePage, // PlanetSearch
};
PagingKind enginePaging(Engine e);

// The page value of the k-th further page (k = 1, 2, ...) of a PageValue engine.
int furtherPageValue(Engine e, int k);

// Magellan and Netfind.Aol: how many next-page requests a result count calls
// for, (R - 10) / 10 truncated toward zero plus one when R % 10 is not zero.
int nextPageRequests(int resultCount);

} // namespace orv
