#pragma once
// The Windows Sockets error numbers the socket reports, their descriptions,
// and the mapping from the errno values of the BSD sockets underneath.
#include <string>

namespace orv
{

namespace wsa
{
constexpr int NoError = 0;
constexpr int EINTR_ = 10004;
constexpr int EBADF_ = 10009;
constexpr int EACCES_ = 10013;
constexpr int EFAULT_ = 10014;
constexpr int EINVAL_ = 10022;
constexpr int EMFILE_ = 10024;
constexpr int EWOULDBLOCK_ = 10035;
constexpr int EINPROGRESS_ = 10036;
constexpr int EALREADY_ = 10037;
constexpr int ENOTSOCK_ = 10038;
constexpr int EMSGSIZE_ = 10040;
constexpr int EADDRINUSE_ = 10048;
constexpr int EADDRNOTAVAIL_ = 10049;
constexpr int ENETDOWN_ = 10050;
constexpr int ENETUNREACH_ = 10051;
constexpr int ECONNABORTED_ = 10053;
constexpr int ECONNRESET_ = 10054;
constexpr int ENOBUFS_ = 10055;
constexpr int EISCONN_ = 10056;
constexpr int ENOTCONN_ = 10057;
constexpr int ESHUTDOWN_ = 10058;
constexpr int ETIMEDOUT_ = 10060;
constexpr int ECONNREFUSED_ = 10061;
constexpr int EHOSTDOWN_ = 10064;
constexpr int EHOSTUNREACH_ = 10065;
constexpr int HOST_NOT_FOUND_ = 11001;
constexpr int TRY_AGAIN_ = 11002;
constexpr int NO_RECOVERY_ = 11003;
constexpr int NO_DATA_ = 11004;
// Not a Windows Sockets number: the socket's TLS layer failed (handshake,
// certificate or record); the socket's TlsError() names the reason.
constexpr int TLS_FAILED_ = 12175;
} // namespace wsa

// The description of a Windows Sockets error code; "Not a WinSock error"
// for any code outside the table.
std::string WSocketErrorDesc(int code);

// The Windows Sockets code standing for an errno value of the BSD sockets.
int winSockErrorFromErrno(int err);

} // namespace orv
