// What a Unix system says about an access problem's fix: the udev rule and
// the group owning the device node. AccessFactsWin32.cpp is the Windows one.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/AccessProblem.h"

namespace orx {
namespace {

std::string groupOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || st.st_gid == 0) return {};
  const group* g = ::getgrgid(st.st_gid);
  return g != nullptr ? g->gr_name : std::string();
}

std::string userName() {
  const passwd* pw = ::getpwuid(::getuid());
  return pw != nullptr ? pw->pw_name : std::string("$USER");
}

}  // namespace

AccessFacts LookUpAccessFacts(const AccessProblem& problem, const std::vector<std::string>& ruleFiles) {
  AccessFacts facts;
  for (const std::string& file : ruleFiles) {
    if (::access(file.c_str(), F_OK) == 0) {
      facts.installedRule = file;
      break;
    }
  }
  facts.owningGroup = groupOf(problem.path);
  facts.userName = userName();
  return facts;
}

}  // namespace orx
