// The strict reader of typed device texts and the comparison of two endpoints.
#include "comm/DeviceText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString problem;
    if (const std::optional<DeviceEndpoint> endpoint = ParseDeviceText(text, &problem)) {
        if (!SameEndpoint(*endpoint, *endpoint))
            __builtin_trap();  // an endpoint is always its own printer
    } else if (problem.isEmpty()) {
        __builtin_trap();  // a refusal always says why
    }
    return 0;
}
