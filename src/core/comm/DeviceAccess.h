#pragma once

#include <QString>

namespace vormex {

// Whether this process may open a device node, and the group that would let it.
struct DeviceAccess {
    QString path;
    bool exists = false;
    bool mayOpen = false;          // this process may read and write it (write only: may write)
    QString group;                 // the node's group: "dialout", "lp", "uucp"; its number when unnamed
    bool userListed = false;       // the user is a member of that group in the group database
    bool sessionHasGroup = false;  // this process runs with that group
};

// Looks at the node itself: its group, and the user's and this process's groups.
DeviceAccess DeviceAccessOf(const QString& path, bool writeOnly = false);

// What to do when this process may not open the node: its group and how to join it
// ("sudo usermod -aG dialout $USER", then log in again), or that the user is listed in the group
// but this session does not have it yet. Empty when the process may open it, unless `refused`:
// an open has failed for lack of rights already (the rights root has do not count then).
QString DeviceAccessAdvice(const DeviceAccess& access, bool refused = false);

}  // namespace vormex
