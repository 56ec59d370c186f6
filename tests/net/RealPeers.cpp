#include "RealPeers.h"

#include "NetTestSupport.h"

#include <QFile>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv::test
{

bool accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sin {};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(static_cast<uint16_t>(port));
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin) == 0;
    ::close(fd);
    return ok;
}

PeerProcess::~PeerProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

bool PeerProcess::start(const std::string& program, const QStringList& args, int port, std::string& error)
{
    port_ = port;
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QString::fromStdString(program), args);
    if (!process_.waitForStarted(5000)) {
        error = program + " did not start";
        return false;
    }
    const bool up = waitFor([&] { return process_.state() != QProcess::Running || accepts(port); }, 10000);
    if (!up || process_.state() != QProcess::Running) {
        error = program + " did not come up: " + process_.readAll().toStdString();
        return false;
    }
    return true;
}

bool Nginx::available()
{
    return QFile::exists(kBinary);
}

bool Nginx::start(const TempFolder& folder, std::string& error)
{
    const int port = freePort();
    const std::string dir = folder.path();
    folder.write("nginx.conf",
        "daemon off;\nmaster_process off;\nworker_processes 1;\n"
        "error_log "
            + dir + "error.log;\npid " + dir + "nginx.pid;\nevents { worker_connections 64; }\nhttp {\n"
            + "  access_log off;\n  sendfile on;\n" + "  client_body_temp_path " + dir + ";\n  proxy_temp_path " + dir
            + ";\n" + "  fastcgi_temp_path " + dir + ";\n  uwsgi_temp_path " + dir + ";\n  scgi_temp_path " + dir
            + ";\n  types { text/html html; }\n  default_type application/octet-stream;\n"
            + "  server { listen 127.0.0.1:" + std::to_string(port) + "; root " + dir + "www; }\n}\n");
    return process_.start(kBinary,
        { "-c", QString::fromStdString(dir + "nginx.conf"), "-p", QString::fromStdString(dir), "-e",
            QString::fromStdString(dir + "error.log") },
        port, error);
}

bool TinyProxy::available()
{
    return QFile::exists(kBinary);
}

bool TinyProxy::start(const TempFolder& folder, std::string& error, const std::string& extraConfig)
{
    const int port = freePort();
    const std::string dir = folder.path();
    folder.write("tinyproxy.conf",
        "Port " + std::to_string(port) + "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
            + "LogFile \"" + dir + "tinyproxy.log\"\nLogLevel Warning\nPidFile \"" + dir + "tinyproxy.pid\"\n"
            + extraConfig);
    return process_.start(kBinary, { "-d", "-c", QString::fromStdString(dir + "tinyproxy.conf") }, port, error);
}

} // namespace orv::test
