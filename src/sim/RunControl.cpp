#include "RunControl.h"

#include <fcntl.h>
#include <unistd.h>

namespace vormex::sim {

RunControl::RunControl()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
}

RunControl::~RunControl()
{
    if (wakeRead_ >= 0)
        ::close(wakeRead_);
    if (wakeWrite_ >= 0)
        ::close(wakeWrite_);
}

void RunControl::stop()
{
    if (stopping_.exchange(true))
        return;
    // Nobody reads the byte: the pipe stays readable and wakes every poll from now on.
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &byte, 1);
}

}  // namespace vormex::sim
