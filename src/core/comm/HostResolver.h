#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace vormex {

// What the system's resolver answered for a host name: an IPv4 address (host byte order), or
// its error code (getaddrinfo's EAI_..., 0 when the address is there).
struct HostLookupAnswer {
    int error = 0;
    std::uint32_t address = 0;
};

// The resolver itself; tests put a function of their own in its place, so no test ever sends a
// query to a name server.
using HostLookup = std::function<HostLookupAnswer(const QString& host)>;

// The system's resolver (the hosts file, then the name servers the system is set up with), IPv4.
HostLookupAnswer SystemHostLookup(const QString& host);

// A host name resolved to an IPv4 address, or why not, naming the host with the resolver's own
// message ("cannot resolve the host name \"printer-07.example\": Name or service not known").
struct ResolvedHost {
    std::optional<std::uint32_t> address;
    QString problem;
};

// The one place where host names become addresses: device texts when the port opens, scan
// targets when the scan starts. An empty `lookup` means the system's resolver.
ResolvedHost ResolveHost(const QString& host, const HostLookup& lookup = {});

}  // namespace vormex
