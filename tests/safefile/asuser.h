// Runs a piece of a test in a child process, as the unprivileged test user when the suite
// runs as the superuser (as in CI), or under a file-size limit as if the disk were full.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

// The unprivileged account that ./build.sh deps creates for the tests.
inline constexpr char kTestUser[] = "trevana-test";

struct TestUser {
  uid_t uid;
  gid_t gid;
};

// The test user when running as the superuser; the current user otherwise. Fails the test
// when the superuser has no such account.
TestUser NormalUser();
bool IsSuperuser();

struct ChildOptions {
  bool asNormalUser = false;
  long long fileSizeLimit = -1;  // bytes; -1: none. SIGXFSZ is ignored in the child.
};

// Runs work in a child process and returns what it returned (0..255), or -1 when the child
// did not end normally.
int InChild(const ChildOptions& options, const std::function<int()>& work);
