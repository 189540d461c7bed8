#include "lookup/query.h"

#include "lookup/sites.h"

namespace lookup {

namespace {
constexpr bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

void append_escaped(std::string& out, std::string_view title) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (unsigned char c : title) {
        if (unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            const char esc[3] = {'%', hex[c >> 4], hex[c & 15]};
            out.append(esc, 3);
        }
    }
}

}  // namespace

std::string join(std::initializer_list<std::string_view> pieces) {
    std::size_t total = 0;
    for (std::string_view p : pieces) total += p.size();
    std::string out;
    out.reserve(total);
    for (std::string_view p : pieces) out += p;
    return out;
}

std::size_t escaped_length(std::string_view title) {
    std::size_t n = 0;
    for (unsigned char c : title) n += unreserved(c) ? 1 : 3;
    return n;
}

// A title sent raw would reach the site cut short at "&" or "#", or carry parameters of its own.
std::string search_address(std::string_view title) {
    std::string out;
    out.reserve(search_prefix.size() + escaped_length(title));
    out += search_prefix;
    append_escaped(out, title);
    return out;
}

}  // namespace lookup
