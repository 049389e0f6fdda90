#include "cli/io.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <string>
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

#ifdef _WIN32
namespace {

HANDLE osHandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// True for a console, not a file, a pipe or NUL.
bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// The errno of a failed WriteFile: a reader that went away is EPIPE, a
// full disk ENOSPC.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED:
        return EPIPE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

// Writes UTF-8 text to a console as UTF-16, which shows it whatever the
// console's code page; in pieces that end between characters.
bool writeConsole(HANDLE console, std::string_view data)
{
    constexpr std::size_t piece = 1 << 16;
    while (!data.empty()) {
        std::size_t size = std::min(data.size(), piece);
        while (size < data.size() && size > 1 && (static_cast<unsigned char>(data[size]) & 0xC0) == 0x80)
            --size;
        const int bytes = static_cast<int>(size);
        const int units = MultiByteToWideChar(CP_UTF8, 0, data.data(), bytes, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, data.data(), bytes, wide.data(), units);
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            if (!WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written,
                               nullptr) ||
                written == 0) {
                errno = EIO;
                return false;
            }
            done += written;
        }
        data.remove_prefix(size);
    }
    return true;
}

} // namespace
#endif

bool writeAll(int fd, std::string_view data)
{
#ifdef _WIN32
    const HANDLE handle = osHandleOf(fd);
    if (isConsole(handle))
        return writeConsole(handle, data);
    while (!data.empty()) {
        const auto size = static_cast<DWORD>(std::min<std::size_t>(data.size(), DWORD(1) << 30));
        DWORD written = 0;
        if (!WriteFile(handle, data.data(), size, &written, nullptr) || written == 0) {
            errno = written == 0 && GetLastError() == ERROR_SUCCESS ? EIO : errnoOf(GetLastError());
            return false;
        }
        data.remove_prefix(written);
    }
#else
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
#endif
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
