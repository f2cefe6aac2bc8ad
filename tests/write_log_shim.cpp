// Preloaded into the program by a test: logs the size of every write to
// standard output, one number a line, to the file named by SITO_WRITE_LOG,
// then passes the write on.

#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

extern "C" ssize_t write(int fd, const void* data, size_t size)
{
    using Write = ssize_t (*)(int, const void*, size_t);
    static const auto real_write = reinterpret_cast<Write>(::dlsym(RTLD_NEXT, "write"));
    static const int log = [] {
        const char* path = std::getenv("SITO_WRITE_LOG");
        return path == nullptr ? -1 : ::open(path, O_WRONLY | O_CREAT | O_APPEND, 0600);
    }();
    if (fd == STDOUT_FILENO && log >= 0) {
        char line[32];
        const int length = std::snprintf(line, sizeof line, "%zu\n", size);
        real_write(log, line, static_cast<size_t>(length));
    }
    return real_write(fd, data, size);
}
