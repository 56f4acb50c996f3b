#include "asuser.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

bool IsSuperuser() { return ::geteuid() == 0; }

TestUser NormalUser() {
  if (!IsSuperuser()) return {::geteuid(), ::getegid()};
  const passwd* user = ::getpwnam(kTestUser);
  if (user == nullptr) {
    ADD_FAILURE() << "no account " << kTestUser << " (./build.sh deps creates it)";
    return {65534, 65534};
  }
  return {user->pw_uid, user->pw_gid};
}

int InChild(const ChildOptions& options, const std::function<int()>& work) {
  const TestUser user = options.asNormalUser ? NormalUser() : TestUser{};
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (options.asNormalUser && IsSuperuser()) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)
        ::_exit(125);
    }
    if (options.fileSizeLimit >= 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const auto limit = static_cast<rlim_t>(options.fileSizeLimit);
      const rlimit size{limit, limit};
      if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(125);
    }
    ::_exit(work());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
