#pragma once
// Standard input and output for ad9851-word, with every write checked:
// whole lines in (CR, LF and CR LF all end a line; over-long lines are
// skipped without being held), buffered blocks out, error lines written
// each with one write call after standard output is flushed, so that with
// 2>&1 they stand where their input stood.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

// True when standard input is an interactive terminal.  On Windows the
// NUL device is not one, although the C library says it is.
bool stdinIsTerminal();

// Reads up to `size` bytes of standard input, as many as are ready; 0 at
// the end, -1 on error.
long readStdin(char* buffer, std::size_t size);

// Writes all of `data` to the file descriptor; false on failure, with
// errno saying why.
bool writeAll(int fd, std::string_view data);

class Output {
public:
    Output();
    std::string& buffer() { return buffer_; }
    // Writes the buffer when it is nearly full; false once a write failed.
    bool maybeFlush() { return buffer_.size() < capacity - 4096 || flush(); }
    bool flush();
    bool failed() const { return failed_; }
    // The errno of the failed write.
    int error() const { return error_; }

private:
    static constexpr std::size_t capacity = 1 << 16;
    std::string buffer_;
    bool failed_ = false;
    int error_ = 0;
};

// The lines of standard input, one call each, numbered from 1.
class LineReader {
public:
    static constexpr std::size_t maxLineBytes = std::size_t(1) << 20;

    // `onLine(number, text)` for each line, without its line end;
    // `onTooLong(number)` for a line over maxLineBytes, which is skipped;
    // `afterBlock()` whenever the input read so far is used up, which
    // returns false to stop reading.  Returns false on a read error.
    template <class OnLine, class OnTooLong, class AfterBlock>
    bool run(OnLine&& onLine, OnTooLong&& onTooLong, AfterBlock&& afterBlock);

private:
    std::string carry_;       // a line split across reads
    bool discarding_ = false; // inside a line that is too long
    bool afterCr_ = false;    // the last line ended with CR: an LF next belongs to it
    std::uint64_t number_ = 0;
};

// The position of the first CR or LF, or the size when there is none.
// Lines are short: a plain loop beats a library search for either of two
// characters.
inline std::size_t lineEnd(std::string_view text) noexcept
{
    std::size_t i = 0;
    while (i < text.size() && text[i] != '\n' && text[i] != '\r')
        ++i;
    return i;
}

template <class OnLine, class OnTooLong, class AfterBlock>
bool LineReader::run(OnLine&& onLine, OnTooLong&& onTooLong, AfterBlock&& afterBlock)
{
    std::string block(std::size_t(1) << 16, '\0');
    auto endLine = [&](std::string_view piece) {
        ++number_;
        if (discarding_) {
            onTooLong(number_);
        } else if (carry_.empty()) {
            onLine(number_, piece);
        } else {
            carry_.append(piece);
            onLine(number_, std::string_view(carry_));
        }
        carry_.clear();
        discarding_ = false;
    };
    auto keep = [&](std::string_view piece) {
        if (discarding_)
            return;
        if (carry_.size() + piece.size() > maxLineBytes) {
            discarding_ = true;
            std::string().swap(carry_);
            return;
        }
        carry_.append(piece);
    };
    for (;;) {
        const long n = readStdin(block.data(), block.size());
        if (n < 0)
            return false;
        if (n == 0)
            break;
        std::string_view chunk(block.data(), std::size_t(n));
        if (afterCr_ && chunk.front() == '\n')
            chunk.remove_prefix(1);
        afterCr_ = false;
        for (std::size_t end; (end = lineEnd(chunk)) != chunk.size();) {
            const std::string_view piece = chunk.substr(0, end);
            if (!discarding_ && carry_.size() + piece.size() > maxLineBytes)
                discarding_ = true;
            endLine(piece);
            const bool cr = chunk[end] == '\r';
            chunk.remove_prefix(end + 1);
            if (cr) {
                if (chunk.empty())
                    afterCr_ = true;
                else if (chunk.front() == '\n')
                    chunk.remove_prefix(1);
            }
        }
        keep(chunk);
        if (!afterBlock())
            return true;
    }
    if (!carry_.empty() || discarding_)
        endLine({});
    return true;
}

} // namespace cli
