#include "comm/DeviceAccess.h"

#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vormex {
namespace {

bool sessionHas(gid_t group)
{
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<size_t>(std::max(count, 0)));
    if (count <= 0 || ::getgroups(count, groups.data()) != count)
        return false;
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The user's membership as the group database has it: what a new login gets.
bool userListedIn(gid_t group)
{
    const passwd* user = ::getpwuid(::getuid());
    if (!user)
        return false;
    if (user->pw_gid == group)
        return true;
    const struct group* entry = ::getgrgid(group);
    if (!entry)
        return false;
    for (char** member = entry->gr_mem; member && *member; ++member)
        if (std::strcmp(*member, user->pw_name) == 0)
            return true;
    return false;
}

}  // namespace

DeviceAccess DeviceAccessOf(const QString& path, bool writeOnly)
{
    DeviceAccess access;
    access.path = path;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return access;
    access.exists = true;
    access.mayOpen = ::access(name.constData(), writeOnly ? W_OK : R_OK | W_OK) == 0;
    const struct group* entry = ::getgrgid(info.st_gid);
    access.group = entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(info.st_gid);
    access.userListed = userListedIn(info.st_gid);
    access.sessionHasGroup = sessionHas(info.st_gid);
    return access;
}

QString DeviceAccessAdvice(const DeviceAccess& access, bool refused)
{
    if (!access.exists || (access.mayOpen && !refused))
        return {};
    if (access.userListed && !access.sessionHasGroup)
        return QStringLiteral("%1 belongs to the group \"%2\": you are listed in it, but this session does not have it "
                              "yet: log in again (or run newgrp %2)")
            .arg(access.path, access.group);
    if (!access.sessionHasGroup)
        return QStringLiteral("%1 belongs to the group \"%2\": add yourself with sudo usermod -aG %2 $USER, then log in again")
            .arg(access.path, access.group);
    return QStringLiteral("%1 belongs to the group \"%2\", which you have, but the group may not open it (see: ls -l %1)")
        .arg(access.path, access.group);
}

}  // namespace vormex
