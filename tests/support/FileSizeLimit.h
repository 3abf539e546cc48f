#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, no file of this process grows past a few bytes, and a write beyond them fails
// instead of ending the process: storing fails, also for root.
class FileSizeLimit {
public:
    FileSizeLimit()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit few{8, previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &few);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous{};
};
