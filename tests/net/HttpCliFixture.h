#pragma once
// A client wired to record its events, a scripted server, and a guarded Get.
#include "NetTestSupport.h"
#include "net/HttpProt.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv::test
{

class HttpCliFixture : public ::testing::Test
{
protected:
    ScriptedServer server;
    THttpCli http;
    std::vector<std::string> events;
    QByteArray bodyBytes;
    QBuffer body { &bodyBytes };
    int errorCode = 0;

    void SetUp() override
    {
        http.OnDocBegin = [this](THttpCli* h) {
            events.push_back("DocBegin");
            body.open(QIODevice::WriteOnly);
            h->RcvdStream = &body;
        };
        http.OnDocData
            = [this](THttpCli*, const char*, int len) { events.push_back("DocData " + std::to_string(len)); };
        http.OnDocEnd = [this](THttpCli* h) {
            events.push_back("DocEnd");
            body.close();
            h->RcvdStream = nullptr;
        };
        http.OnLocationChange = [this](THttpCli*) { events.push_back("LocationChange"); };
        http.OnRequestDone
            = [this](THttpCli*, THttpRequest, uint16_t e) { events.push_back("RequestDone " + std::to_string(e)); };
    }

    std::string url(const std::string& path = "/") const
    {
        return "http://127.0.0.1:" + std::to_string(server.port()) + path;
    }

    // Runs Get under a watchdog; the text of the error it raised, or "".
    std::string get()
    {
        Watchdog dog([this] { http.Abort(); });
        errorCode = 0;
        try {
            http.Get();
            return "";
        } catch (const EHttpException& e) {
            errorCode = e.ErrorCode;
            return e.what();
        } catch (const std::exception& e) {
            errorCode = -1;
            return e.what();
        }
    }

    int count(const std::string& prefix) const
    {
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }

    std::string bodyText() const { return bodyBytes.toStdString(); }
};

} // namespace orv::test
