// What the tests need from the Wine they run under: whether it is Wine, and its own wmic.
#pragma once

#include <string>
#include <vector>

namespace quorvel::test {

bool RunningUnderWine();

// Runs "wmic nicconfig get <properties>" and returns its rows (header left out), one cell per
// property in the order asked for, trailing padding removed. Throws std::runtime_error when wmic
// cannot run or prints something else than such a table.
std::vector<std::vector<std::string>> WmicNicConfig(const std::vector<std::string>& properties);

}  // namespace quorvel::test
