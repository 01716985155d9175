// Runs `write` while the files this process writes may not grow past
// `bytes`: a write past the limit fails (SIGXFSZ ignored) instead of ending
// the process, so a test can make a real short write and see what the code
// under test does with it. The limit and the signal's handler are restored
// afterwards.
#pragma once

#include <sys/resource.h>

#include <csignal>

#include <gtest/gtest.h>

namespace kvtest {

template <class Write>
auto WithFileSizeLimit(rlim_t bytes, Write&& write) {
    rlimit saved{};
    const bool got = getrlimit(RLIMIT_FSIZE, &saved) == 0;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = bytes;
    if (!got || setrlimit(RLIMIT_FSIZE, &small) != 0) ADD_FAILURE() << "the file size limit could not be set";
    auto result = write();
    if (got) setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return result;
}

}  // namespace kvtest
