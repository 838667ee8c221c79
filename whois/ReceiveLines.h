#pragma once
// Cutting an answer into lines as its bytes arrive. A line is the bytes before an LF, without the
// LF (a CR before it stays). Between calls the buffer holds the bytes after the last LF and never
// an LF, so only the newly received bytes are searched: the work is linear in the answer's size.

#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace cut_lines {

// A handler that takes a view gets one; one that takes a string gets a copy of the line.
template <class OnLine> void Hand(OnLine& line, std::string_view bytes) {
    if constexpr (std::is_invocable_v<OnLine&, std::string_view>)
        line(bytes);
    else
        line(std::string(bytes));
}

} // namespace cut_lines

// Appends `received` to `buffer` and hands every complete line, in order, to `line`: as a view
// valid during the call (into `received`, or into a line that began in an earlier piece) when
// `line` takes one, so that nothing is copied for a line that arrived whole.
template <class OnLine>
void CutLines(std::string& buffer, std::string_view received, OnLine&& line) {
    const char* const data = received.data();
    const std::size_t size = received.size();
    const void* lf = std::memchr(data, '\n', size);
    if (!lf) {
        buffer.append(received);
        return;
    }
    std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
    if (buffer.empty()) {
        cut_lines::Hand(line, std::string_view(data, end));
    } else {
        buffer.append(data, end);
        std::string first;
        first.swap(buffer); // the buffer is empty from here on, whatever `line` does
        cut_lines::Hand(line, std::string_view(first));
    }

    std::size_t start = end + 1;
    while ((lf = std::memchr(data + start, '\n', size - start))) {
        end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
        cut_lines::Hand(line, std::string_view(data + start, end - start));
        start = end + 1;
    }
    buffer.assign(data + start, size - start);
}
