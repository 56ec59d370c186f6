// The asynchronous socket against servers of the test's own on 127.0.0.1.
#include "net/WSocket.h"
#include "NetTestSupport.h"

#include <gtest/gtest.h>

namespace orv
{
namespace
{

using test::ScriptedServer;
using test::waitFor;
using test::Watchdog;

std::string stateName(TSocketState s)
{
    static const char* names[]
        = { "invalid", "opened", "bound", "connecting", "connected", "accepting", "listening", "closed" };
    return names[static_cast<int>(s)];
}

// Records every event of a socket as one line, in order.
struct Recorder {
    std::vector<std::string> events;
    std::string data;

    explicit Recorder(TWSocket& s)
    {
        s.OnDnsLookupDone = [this](TCustomWSocket*, uint16_t e) { events.push_back("dns " + std::to_string(e)); };
        s.OnSessionConnected
            = [this](TCustomWSocket*, uint16_t e) { events.push_back("connected " + std::to_string(e)); };
        s.OnSessionClosed = [this](TCustomWSocket*, uint16_t e) { events.push_back("closed " + std::to_string(e)); };
        s.OnDataSent = [this](TCustomWSocket*, uint16_t e) { events.push_back("sent " + std::to_string(e)); };
        s.OnChangeState
            = [this](TCustomWSocket*, TSocketState, TSocketState n) { events.push_back("state " + stateName(n)); };
        s.OnDataAvailable = [this](TCustomWSocket* sender, uint16_t) {
            char buf[3]; // small on purpose: the socket must call again until drained
            const int n = sender->Receive(buf, sizeof buf);
            if (n > 0)
                data.append(buf, static_cast<size_t>(n));
            events.push_back("data " + std::to_string(n));
        };
    }
    bool has(const std::string& e) const { return std::find(events.begin(), events.end(), e) != events.end(); }
    int count(const std::string& prefix) const
    {
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }
};

void connectTo(TWSocket& s, int port)
{
    s.SetAddr("127.0.0.1");
    s.SetPort(std::to_string(port));
    s.Connect();
}

TEST(WSocketTest, DottedLookupCompletesInsideTheCall)
{
    TWSocket s;
    Recorder r(s);
    s.DnsLookup(" 127.0.0.1 ");
    EXPECT_EQ(r.events, (std::vector<std::string> { "dns 0" }));
    EXPECT_EQ(s.DnsResult(), "127.0.0.1");
}

TEST(WSocketTest, NameLookupIsAnsweredFromTheEventLoop)
{
    TWSocket s;
    Recorder r(s);
    Watchdog dog;
    s.DnsLookup("localhost");
    EXPECT_TRUE(r.events.empty()); // never inside the call
    ASSERT_TRUE(waitFor([&] { return !r.events.empty(); }));
    EXPECT_EQ(r.events, (std::vector<std::string> { "dns 0" }));
    EXPECT_EQ(s.DnsResult(), "127.0.0.1");
    EXPECT_FALSE(s.DnsResultList().empty());
}

TEST(WSocketTest, UnknownHostEndsWithHostNotFound)
{
    TWSocket s;
    Recorder r(s);
    Watchdog dog;
    s.DnsLookup("no-such-host.invalid");
    ASSERT_TRUE(waitFor([&] { return !r.events.empty(); }));
    EXPECT_EQ(r.events, (std::vector<std::string> { "dns 11001" }));
    EXPECT_EQ(s.DnsResult(), "");
}

TEST(WSocketTest, CancelledLookupEndsOnceWithInterrupted)
{
    TWSocket s;
    Recorder r(s);
    Watchdog dog;
    s.DnsLookup("localhost");
    s.CancelDnsLookup();
    EXPECT_EQ(r.events, (std::vector<std::string> { "dns 10004" }));
    // A lookup started later has been answered: the cancelled one's answer
    // would have come by now, and must have been dropped.
    TWSocket later;
    Recorder laterEvents(later);
    later.DnsLookup("localhost");
    ASSERT_TRUE(waitFor([&] { return !laterEvents.events.empty(); }));
    EXPECT_EQ(r.events.size(), 1u);
    EXPECT_EQ(s.DnsResult(), "");
}

TEST(WSocketTest, EmptyHostNameIsRefused)
{
    TWSocket s;
    EXPECT_THROW(
        try { s.DnsLookup("  "); } catch (const ESocketException& e) {
            EXPECT_STREQ(e.what(), "DNS lookup: invalid host name.");
            throw;
        },
        ESocketException);
}

TEST(WSocketTest, SendWhileNotConnectedReportsTheFullText)
{
    TWSocket s;
    try {
        s.SendStr("x");
        FAIL() << "no error raised";
    } catch (const ESocketException& e) {
        EXPECT_STREQ(e.what(), "Error 10057 in function Send\r\nSocket is not connected");
    }
    EXPECT_EQ(s.State(), TSocketState::wsClosed);
    EXPECT_EQ(s.LastError(), 10057);
}

TEST(WSocketTest, ConnectRefusesWhatIsMissing)
{
    TWSocket s;
    EXPECT_THROW(s.Connect(), ESocketException);
    s.SetPort("80");
    try {
        s.Connect();
    } catch (const ESocketException& e) {
        EXPECT_STREQ(e.what(), "Connect: No IP Address Specified");
    }
    s.SetPort(" http "); // a service name
    EXPECT_EQ(s.Port(), "http");
    try {
        s.SetPort("no-such-service");
        FAIL();
    } catch (const ESocketException& e) {
        EXPECT_STREQ(e.what(), "Error 11004 in function SetPort: Cannot convert port 'no-such-service'\r\nNo Data");
    }
    try {
        s.SetProto("no-such-proto");
        FAIL();
    } catch (const ESocketException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Error 11004 in function SetProto: Cannot convert protocol", 0), 0u);
    }
}

TEST(WSocketTest, OnErrorReplacesTheException)
{
    TWSocket s;
    int errors = 0;
    s.OnError = [&](TCustomWSocket*) { ++errors; };
    EXPECT_EQ(s.SendStr("x"), -1);
    EXPECT_EQ(errors, 1);
}

TEST(WSocketTest, ExchangeAndPeerCloseInOrder)
{
    ScriptedServer server;
    server.add({ test::send("hello world"), test::closeConn() });
    TWSocket s;
    Recorder r(s);
    Watchdog dog([&] { s.Close(); });
    connectTo(s, server.port());
    EXPECT_EQ(r.events, (std::vector<std::string> { "state opened", "state connecting" }));
    ASSERT_TRUE(waitFor([&] { return r.has("connected 0"); }));
    EXPECT_EQ(s.State(), TSocketState::wsConnected);
    // Changing the port of a connected socket is refused.
    try {
        s.SetPort("81");
        FAIL();
    } catch (const ESocketException& e) {
        EXPECT_STREQ(e.what(), "Cannot change Port if not closed");
    }
    EXPECT_EQ(s.SendStr("GET / HTTP/1.0\r\n\r\n"), 18);
    ASSERT_TRUE(waitFor([&] { return r.has("closed 0"); }));
    EXPECT_EQ(r.data, "hello world");
    EXPECT_EQ(server.requests.at(0), "GET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(r.count("closed"), 1);
    EXPECT_EQ(r.count("sent"), 1);
    EXPECT_EQ(s.State(), TSocketState::wsClosed);
    // The last data calls come before the one close event, then the state.
    const auto closedAt = std::find(r.events.begin(), r.events.end(), "closed 0");
    EXPECT_EQ(std::find(closedAt, r.events.end(), "data 3"), r.events.end());
    EXPECT_EQ(r.events.back(), "state closed");
    EXPECT_EQ(s.ReadCount(), 0); // back to the defaults
    EXPECT_EQ(s.Port(), "");
    // An own Close after the peer's close raises nothing more.
    s.Close();
    EXPECT_EQ(r.count("closed"), 1);
}

TEST(WSocketTest, OwnCloseRaisesSessionClosedOnce)
{
    ScriptedServer server;
    server.add({ test::hold() });
    TWSocket s;
    Recorder r(s);
    Watchdog dog([&] { s.Close(); });
    connectTo(s, server.port());
    ASSERT_TRUE(waitFor([&] { return r.has("connected 0"); }));
    s.SendStr("x\r\n\r\n");
    ASSERT_TRUE(waitFor([&] { return server.connections == 1 && !server.requests[0].empty(); }));
    s.Close();
    s.Close();
    EXPECT_EQ(r.count("closed"), 1);
    EXPECT_EQ(s.State(), TSocketState::wsClosed);
}

TEST(WSocketTest, LargeSendIsQueuedAndCompletes)
{
    ScriptedServer server;
    server.add({ test::hold() });
    TWSocket s;
    Recorder r(s);
    Watchdog dog([&] { s.Close(); });
    connectTo(s, server.port());
    ASSERT_TRUE(waitFor([&] { return r.has("connected 0"); }));
    std::string big(3 * 1024 * 1024, 'a');
    big += "\r\n\r\n";
    EXPECT_EQ(s.SendStr(big), static_cast<int>(big.size()));
    ASSERT_TRUE(waitFor([&] { return r.has("sent 0"); }, 8000));
    EXPECT_TRUE(s.AllSent());
    ASSERT_TRUE(waitFor([&] { return server.requests[0].size() == big.size(); }, 8000));
    EXPECT_EQ(server.requests[0], big);
    s.Close();
}

TEST(WSocketTest, RefusedConnectionReportsTheError)
{
    TWSocket s;
    Recorder r(s);
    Watchdog dog;
    try {
        connectTo(s, test::freePort());
    } catch (const ESocketException& e) {
        EXPECT_EQ(s.LastError(), 10061) << e.what(); // refused inside the call
        return;
    }
    ASSERT_TRUE(waitFor([&] { return r.has("connected 10061"); }));
    ASSERT_TRUE(waitFor([&] { return s.State() == TSocketState::wsClosed; }));
    EXPECT_EQ(r.count("connected"), 1);
}

TEST(WSocketTest, ResetByPeerArrivesAsCloseWithError)
{
    ScriptedServer server;
    server.add({ test::resetConn() });
    TWSocket s;
    Recorder r(s);
    Watchdog dog([&] { s.Close(); });
    connectTo(s, server.port());
    ASSERT_TRUE(waitFor([&] { return r.has("connected 0"); }));
    s.SendStr("GET / HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(waitFor([&] { return r.count("closed") > 0; }));
    EXPECT_EQ(r.count("closed"), 1);
    EXPECT_TRUE(r.has("closed 10054"));
    EXPECT_EQ(s.State(), TSocketState::wsClosed);
}

} // namespace
} // namespace orv
