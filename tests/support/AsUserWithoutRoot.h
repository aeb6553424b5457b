#pragma once
// Runs a piece of a test as a user without root rights, so that file
// permissions really apply: in a child process that drops to "nobody" when the
// test runs as root, or in the test's own process when it already runs as an
// ordinary user.
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace orlisk::testing {

// The child's answer: the body's result, or a reason why it could not run.
struct WithoutRootOutcome {
  std::optional<int> result;
  std::string skipReason;
};

// `body` returns a small number (0..99) for the parent to check; 100 means it threw.
inline WithoutRootOutcome RunWithoutRoot(const std::function<int()>& body) {
  if (::geteuid() != 0) return {body(), {}};
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody) return {std::nullopt, "there is no user 'nobody' to drop to"};
  const uid_t uid = nobody->pw_uid;
  const gid_t gid = nobody->pw_gid;
  const pid_t child = ::fork();
  if (child < 0) return {std::nullopt, "fork failed"};
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(101);
    if (::setuid(0) == 0) ::_exit(102);  // root rights must be gone for good
    try {
      ::_exit(body());
    } catch (...) {
      ::_exit(100);
    }
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return {std::nullopt, "the child did not end normally"};
  }
  const int code = WEXITSTATUS(status);
  if (code == 101 || code == 102) return {std::nullopt, "cannot drop root rights to 'nobody' here"};
  return {code, {}};
}

}  // namespace orlisk::testing
