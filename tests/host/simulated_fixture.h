// Shared by the simulated-service tests: a temporary directory per test that holds the machine
// file, and short ways to reach the service through its public interface only.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "management/management.h"
#include "management/management_error.h"
#include "management/simulated/simulated_management.h"
#include "tests/support/raised_error.h"

namespace quorvel::test {

inline constexpr const char* kLocalNamespace = "root\\cimv2";
inline constexpr const char* kLocalMoniker = "winmgmts:\\\\.\\root\\cimv2";
inline constexpr const char* kAllAdapters = "SELECT * FROM Win32_NetworkAdapterConfiguration";

// A path from UTF-8 text on every platform (std::filesystem::u8path is deprecated in C++20).
inline std::filesystem::path Utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The descriptions of a result in enumeration order, "(null)" for a null description.
inline std::vector<std::string> Descriptions(const AdapterSetRef& adapters) {
    std::vector<std::string> descriptions;
    for (const auto& adapter : adapters->Elements())
        descriptions.push_back(adapter->Description().value_or("(null)"));
    return descriptions;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SimulatedMachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("quorvel-") + test->test_suite_name() + "-" + test->name();
        for (char& c : name)
            if (c == '/') c = '-';
        directory_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
        machineFile_ = directory_ / "machine.json";
    }

    void TearDown() override { std::filesystem::remove_all(directory_); }

    void WriteMachine(const std::string& json) { WriteBytes(machineFile_, json); }
    std::string MachineBytes() const { return ReadBytes(machineFile_); }

    // The locator way, as the window connects for its display.
    ServiceRef Connect() {
        return SimulatedManagement(machineFile_)
            .CreateLocator()
            ->ConnectServer(".", kLocalNamespace);
    }

    // The moniker way, as the window connects for a change.
    ServiceRef ConnectByMoniker() {
        return SimulatedManagement(machineFile_).GetObjectByMoniker(kLocalMoniker);
    }

    // The adapters whose description equals `description`, on a fresh connection.
    std::vector<AdapterRef> AdaptersNamed(const std::string& description) {
        return ConnectByMoniker()
            ->ExecQuery(std::string(kAllAdapters) + " WHERE Description='" + description + "'")
            ->Elements();
    }

    // The one adapter named `description`, on a fresh connection.
    AdapterRef Adapter(const std::string& description) {
        auto adapters = AdaptersNamed(description);
        if (adapters.size() != 1) throw std::logic_error("not exactly one adapter: " + description);
        return adapters.front();
    }

    std::filesystem::path directory_;
    std::filesystem::path machineFile_;
};

}  // namespace quorvel::test
