#include "cli/input.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {

bool stdinIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

long readStdin(char* buffer, std::size_t size)
{
#ifdef _WIN32
    static const bool binary = (_setmode(_fileno(stdin), _O_BINARY), true);
    (void)binary;
    return _read(_fileno(stdin), buffer, static_cast<unsigned>(size));
#else
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
#endif
}

bool Output::flush()
{
    const bool ok = std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) == buffer_.size() &&
                    std::fflush(stdout) == 0;
    buffer_.clear();
    return ok;
}

} // namespace cli
