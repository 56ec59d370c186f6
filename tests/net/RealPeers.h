#pragma once
// A real nginx and a real tinyproxy, started by a test on 127.0.0.1 with
// configurations of their own in a temp folder, run in the foreground as
// children and stopped when the object goes.
#include "support/TempFolder.h"

#include <QProcess>

#include <memory>
#include <string>

namespace orv::test
{

class PeerProcess
{
public:
    ~PeerProcess();
    // Starts the program and waits until it accepts connections on `port`.
    // False (with `error` set) when it does not come up.
    bool start(const std::string& program, const QStringList& args, int port, std::string& error);
    int port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

class Nginx
{
public:
    static constexpr const char* kBinary = "/usr/sbin/nginx";
    static bool available();
    // Serves `folder.file("www/")`, which the caller fills.
    bool start(const TempFolder& folder, std::string& error);
    int port() const { return process_.port(); }

private:
    PeerProcess process_;
};

class TinyProxy
{
public:
    static constexpr const char* kBinary = "/usr/bin/tinyproxy";
    static bool available();
    // `extraConfig`: further lines of tinyproxy's configuration.
    bool start(const TempFolder& folder, std::string& error, const std::string& extraConfig = {});
    int port() const { return process_.port(); }

private:
    PeerProcess process_;
};

// Whether something accepts connections on 127.0.0.1:port now.
bool accepts(int port);

} // namespace orv::test
