// One ordered record of everything the fakes are asked to do, so a test can check the order of
// queries, method calls, message boxes and control updates across objects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::testing_support {

struct EventLog {
    std::vector<std::string> entries;

    void Add(std::string entry) { entries.push_back(std::move(entry)); }

    // The entries of one kind ("query", "set", "box", ...), in order.
    std::vector<std::string> Of(std::string_view kind) const {
        std::vector<std::string> found;
        for (const std::string& entry : entries) {
            if (entry.starts_with(kind) &&
                (entry.size() == kind.size() || entry[kind.size()] == ' ')) {
                found.push_back(entry);
            }
        }
        return found;
    }
};

}  // namespace quorvel::testing_support
