// Any title, however odd: the search address is the prefix, then only unreserved bytes and %XX,
// decoding back to exactly the title; the caption carries the title raw; the search action writes
// exactly those two texts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fake_gui.h"
#include "lookup/actions.h"
#include "lookup/query.h"
#include "lookup/sites.h"
#include "lookup/texts.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;  // lower-case hex is never written
}

bool unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string decode(std::string_view q) {
    std::string out;
    for (std::size_t i = 0; i < q.size(); ++i) {
        if (q[i] != '%') {
            check(unreserved(q[i]));
            out += q[i];
            continue;
        }
        check(i + 2 < q.size());  // a whole %XX
        const int hi = hex_value(q[i + 1]), lo = hex_value(q[i + 2]);
        check(hi >= 0 && lo >= 0);
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string title(reinterpret_cast<const char*>(data), size);
    const std::string address = lookup::search_address(title);
    check(address.starts_with(lookup::search_prefix));
    const std::string_view query = std::string_view(address).substr(lookup::search_prefix.size());
    check(query.size() == lookup::escaped_length(title));
    check(decode(query) == title);

    test::FakeGui gui;
    gui.content = title;
    lookup::search(gui, {});
    check(gui.log.size() == 6);
    check(gui.log[1] == "set 基调.address = " + address);
    check(gui.log[3] == "set window.caption = " + lookup::join({lookup::searching_caption, title}));
    return 0;
}
