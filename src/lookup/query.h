// Composing the texts of a search: joins, and the title escaped for the query string.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lookup {

// One new text of all pieces in order; each piece is measured once and the result allocated once.
std::string join(std::initializer_list<std::string_view> pieces);

// Length of the title once percent-encoded: every byte outside A-Z a-z 0-9 - . _ ~ becomes %XX
// (upper-case hex).
std::size_t escaped_length(std::string_view title);

// The search page address for the title: the prefix, then the escaped title, allocated once.
std::string search_address(std::string_view title);

}  // namespace lookup
