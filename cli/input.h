#pragma once
// Standard input and output for ad9851-word: whole lines in, buffered
// blocks out, with no per-line allocation or stream synchronisation.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

bool stdinIsTerminal();

// Calls `onLine` for every line of standard input, without its line end
// (LF, or CR LF).  A last line without a line end counts too.  `afterBlock`
// runs whenever the lines read so far are done, before waiting for more
// input, so that output can be flushed while the producer is slow.
// Returns false on a read error.
template <class OnLine, class AfterBlock>
bool forEachInputLine(OnLine&& onLine, AfterBlock&& afterBlock);

// Reads up to `size` bytes of standard input, as many as are ready; 0 at
// the end of input, -1 on error.
long readStdin(char* buffer, std::size_t size);

class Output {
public:
    Output() { buffer_.reserve(capacity); }
    std::string& buffer() { return buffer_; }
    // Writes the buffer out when it is nearly full.
    bool maybeFlush() { return buffer_.size() < capacity - 1024 || flush(); }
    bool flush();

private:
    static constexpr std::size_t capacity = 1 << 16;
    std::string buffer_;
};

template <class OnLine, class AfterBlock>
bool forEachInputLine(OnLine&& onLine, AfterBlock&& afterBlock)
{
    auto withoutCr = [](std::string_view s) {
        if (!s.empty() && s.back() == '\r')
            s.remove_suffix(1);
        return s;
    };
    std::vector<char> block(1 << 16);
    std::string carry; // a line split across two blocks
    for (;;) {
        const long n = readStdin(block.data(), block.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        std::string_view chunk(block.data(), std::size_t(n));
        for (std::size_t nl; (nl = chunk.find('\n')) != std::string_view::npos;) {
            if (carry.empty()) {
                onLine(withoutCr(chunk.substr(0, nl)));
            } else {
                carry.append(chunk.substr(0, nl));
                onLine(withoutCr(carry));
                carry.clear();
            }
            chunk.remove_prefix(nl + 1);
        }
        carry.append(chunk);
        afterBlock();
    }
    if (!carry.empty())
        onLine(withoutCr(carry));
    return true;
}

} // namespace cli
