#include "search/DefinedRequest.h"

#include "core/Text.h"
#include "net/HttpProt.h"

namespace orv
{

void SendEngineRequest(THttpCli& client, const EngineRequest& request, const std::string& url)
{
    client.URL = url;
    // The definition's headers go as they are; the client's own fields would
    // send a second User-Agent or Cookie line.
    client.Agent.clear();
    client.Cookie.clear();
    client.ExtraHeaders.clear();
    bool agentGiven = false;
    for (const auto& [name, value] : request.headers) {
        agentGiven = agentGiven || LowerCase(name) == "user-agent";
        client.ExtraHeaders.emplace_back(name, value);
    }
    if (!agentGiven)
        client.Agent = kDefinedEngineUserAgent;
    if (UpperCase(request.method) == "POST") {
        client.SendBody = request.body;
        client.PostAsync();
    } else {
        client.SendBody.clear();
        client.GetAsync();
    }
}

} // namespace orv
