#include "management/wql.h"

namespace quorvel {

std::string EscapeWqlString(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '\'') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace quorvel
