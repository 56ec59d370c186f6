#pragma once
// Sends one request of an engine defined as data through the program's client.
#include "engines/EngineDefinition.h"

#include <string>

namespace orv
{

class THttpCli;

// Starts `request` on `client` against `url` (the request's URL after
// engines.txt) and returns at once; the client's OnRequestDone tells the end.
void SendEngineRequest(THttpCli& client, const EngineRequest& request, const std::string& url);

} // namespace orv
