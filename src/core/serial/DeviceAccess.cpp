#include "core/serial/DeviceAccess.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zr {
namespace {

std::string groupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group g{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &g, buffer.data(), buffer.size(), &found) != 0 || !found) return std::to_string(gid);
  return found->gr_name;
}

// In the group database, though perhaps not yet in this login session.
bool userListedIn(gid_t gid) {
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* me = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &me) != 0 || !me) return false;
  int count = 64;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgrouplist(me->pw_name, me->pw_gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<std::size_t>(count));
    if (::getgrouplist(me->pw_name, me->pw_gid, groups.data(), &count) < 0) return false;
  }
  groups.resize(static_cast<std::size_t>(count));
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

std::string octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

}  // namespace

std::string accessHint(const std::filesystem::path& device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return {};
  const std::string name = device.string();
  const std::string group = groupName(st.st_gid);
  const bool groupMayUse = (st.st_mode & 060) == 060;
  if (st.st_gid == 0 || !groupMayUse)
    return name + " is owned by " + std::to_string(st.st_uid) + ":" + group + " with mode " + octal(st.st_mode) +
           ": only its owner may open it; ask the administrator for a udev rule that gives it a group such as "
           "'dialout'";
  if (userListedIn(st.st_gid))
    return name + " belongs to group '" + group + "', which you joined after this session began: log out and in "
           "again (or run: newgrp " + group + ")";
  return name + " belongs to group '" + group + "': join it with: sudo usermod -aG " + group +
         " $USER, then log out and in again";
}

}  // namespace zr
