#include "cli/io.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace cli {

bool stdinIsTerminal()
{
#ifdef _WIN32
    // _isatty is also true for NUL; only a console has a console mode.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

long readStdin(char* buffer, std::size_t size)
{
#ifdef _WIN32
    static const bool binary = (_setmode(_fileno(stdin), _O_BINARY), true);
    (void)binary;
    return _read(0, buffer, static_cast<unsigned>(size));
#else
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
#endif
}

bool writeAll(int fd, std::string_view data)
{
#ifdef _WIN32
    static const bool binary = (_setmode(1, _O_BINARY), _setmode(2, _O_BINARY), true);
    (void)binary;
#endif
    while (!data.empty()) {
#ifdef _WIN32
        const int n = _write(fd, data.data(), static_cast<unsigned>(data.size()));
#else
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
#endif
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

Output::Output() { buffer_.reserve(capacity); }

bool Output::flush()
{
    if (!failed_ && !buffer_.empty() && !writeAll(1, buffer_)) {
        failed_ = true;
        error_ = errno;
    }
    buffer_.clear();
    return !failed_;
}

} // namespace cli
