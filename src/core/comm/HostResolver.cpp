#include "comm/HostResolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <memory>

namespace vormex {

HostLookupAnswer SystemHostLookup(const QString& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    HostLookupAnswer answer;
    answer.error = ::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found);
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, &::freeaddrinfo);
    if (answer.error != 0)
        return answer;
    for (const addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr) {
            answer.address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
            return answer;
        }
    }
    answer.error = EAI_NONAME;
    return answer;
}

ResolvedHost ResolveHost(const QString& host, const HostLookup& lookup)
{
    const HostLookupAnswer answer = lookup ? lookup(host) : SystemHostLookup(host);
    ResolvedHost resolved;
    if (answer.error == 0) {
        resolved.address = answer.address;
        return resolved;
    }
    resolved.problem = QStringLiteral("cannot resolve the host name \"%1\": %2")
                           .arg(host, QString::fromLocal8Bit(::gai_strerror(answer.error)));
    return resolved;
}

}  // namespace vormex
