// Name lookup of the socket: a dotted address is answered inside the call;
// a name is looked up on Qt's lookup threads and the answer comes back as
// message 1026 to the socket's hidden window, on the user-interface thread.
#include "net/WSocket.h"

#include "core/Text.h"
#include "net/WinSockErrors.h"

#include <QHostAddress>
#include <QHostInfo>

#include <arpa/inet.h>

namespace orv
{

struct TCustomWSocket::PendingLookup {
    uintptr_t handle = 0;
    std::vector<std::string> addresses;
};

namespace
{

uintptr_t nextLookupHandle = 0;

int lookupError(const QHostInfo& info, bool anyAddress)
{
    switch (info.error()) {
    case QHostInfo::NoError:
        return anyAddress ? wsa::NoError : wsa::NO_DATA_;
    case QHostInfo::HostNotFound:
        return wsa::HOST_NOT_FOUND_;
    default:
        return wsa::NO_RECOVERY_;
    }
}

} // namespace

void TCustomWSocket::DnsLookup(const std::string& hostName)
{
    const std::string host = Trim(hostName);
    if (host.empty()) {
        RaiseException("DNS lookup: invalid host name.");
        if (OnDnsLookupDone)
            OnDnsLookupDone(this, wsa::EINVAL_);
        return;
    }
    if (dnsHandle_ != 0)
        CancelDnsLookup();
    dnsResult_.clear();
    dnsResultList_.clear();

    in_addr a {};
    in6_addr a6 {};
    char text[INET6_ADDRSTRLEN] = {};
    if (inet_pton(AF_INET6, host.c_str(), &a6) == 1 && inet_ntop(AF_INET6, &a6, text, sizeof text)) {
        dnsResult_ = text;
        if (OnDnsLookupDone)
            OnDnsLookupDone(this, 0);
        return;
    }
    if (inet_aton(host.c_str(), &a) != 0) {
        dnsResult_ = inet_ntoa(a);
        if (OnDnsLookupDone)
            OnDnsLookupDone(this, 0);
        return;
    }

    auto lookup = std::make_shared<PendingLookup>();
    lookup->handle = ++nextLookupHandle;
    dnsHandle_ = lookup->handle;
    lookup_ = lookup;
    MessageWindow* window = window_.get();
    QHostInfo::lookupHost(QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size())), window,
        [lookup, window](const QHostInfo& info) {
            for (const QHostAddress& address : info.addresses()) {
                if (address.protocol() == QAbstractSocket::IPv4Protocol)
                    lookup->addresses.push_back(address.toString().toStdString());
            }
            const int error = lookupError(info, !lookup->addresses.empty());
            window->PostMessage(WM_ASYNCGETHOSTBYNAME, lookup->handle, static_cast<intptr_t>(error) << 16);
        });
}

void TCustomWSocket::CancelDnsLookup()
{
    if (dnsHandle_ == 0)
        return;
    // The lookup itself is left to finish and its answer is dropped: the
    // handle no longer matches. (Aborting it in Qt leaks the answer's slot.)
    dnsHandle_ = 0;
    lookup_.reset();
    if (!destroying_ && OnDnsLookupDone)
        OnDnsLookupDone(this, wsa::EINTR_);
}

void TCustomWSocket::HandleDnsDone(uintptr_t handle, int error)
{
    if (handle == 0 || handle != dnsHandle_ || !lookup_)
        return; // cancelled, or an answer to an earlier lookup
    const std::shared_ptr<PendingLookup> lookup = std::move(lookup_);
    dnsHandle_ = 0;
    if (error == 0) {
        dnsResultList_ = lookup->addresses;
        dnsResult_ = dnsResultList_.front();
    }
    if (OnDnsLookupDone)
        OnDnsLookupDone(this, static_cast<uint16_t>(error));
}

} // namespace orv
