// One machine file used by several programs at once, and the files a change leaves beside it.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "file_lock.h"
#include "machine_file.h"
#include "simulated_fixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;
using Json = nlohmann::ordered_json;
using namespace std::chrono_literals;

using simulated::FileLock;
using simulated::LockFileFor;

constexpr const char* kMachine = R"json({
  "adapters": [
    { "Description": "Wired", "DNSServerSearchOrder": ["192.168.1.1"] },
    { "Description": "Wireless", "DNSServerSearchOrder": null },
    { "Description": "Tunnel" },
    { "Description": "Bridge" }
  ]
})json";

class SharedMachineFileTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(kMachine);
    }

    Json Stored(std::size_t adapter) const {
        return Json::parse(MachineBytes())["adapters"][adapter]["DNSServerSearchOrder"];
    }

    std::vector<std::string> FilesInDirectory() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory_))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(SharedMachineFileTest, AChangeKeepsWhatAnotherProgramChangedAfterItRead) {
    // The window's way: query first, change later; another program changes another adapter in
    // between.
    const AdapterRef wired = Adapter("Wired");
    ASSERT_EQ(Adapter("Wireless")->SetDNSServerSearchOrder({"9.9.9.9"}), 0u);

    ASSERT_EQ(wired->SetDNSServerSearchOrder({"1.1.1.1"}), 0u);

    EXPECT_EQ(Stored(0), Json::array({"1.1.1.1"}));
    EXPECT_EQ(Stored(1), Json::array({"9.9.9.9"}));
}

TEST_F(SharedMachineFileTest, ChangesAtTheSameMomentAreAllKept) {
    // Each writer owns one adapter; every change it made must be its adapter's last value.
    constexpr int kRounds = 15;
    const std::vector<std::string> names{"Wired", "Wireless", "Tunnel", "Bridge"};
    std::vector<std::future<std::vector<std::uint32_t>>> writers;
    for (std::size_t w = 0; w < names.size(); ++w) {
        writers.push_back(std::async(std::launch::async, [this, &names, w] {
            std::vector<std::uint32_t> results;
            for (int round = 0; round < kRounds; ++round) {
                const std::string address =
                    "10." + std::to_string(w) + "." + std::to_string(round) + ".1";
                results.push_back(Adapter(names[w])->SetDNSServerSearchOrder({address}));
            }
            return results;
        }));
    }
    // A window that only reads meanwhile: a file being replaced must not fail its reads.
    std::atomic<bool> writing{true};
    auto reader = std::async(std::launch::async, [this, &writing] {
        int failures = 0;
        while (writing) {
            if (RaisedBy([this] { Connect()->ExecQuery(kAllAdapters); })) ++failures;
        }
        return failures;
    });
    for (auto& writer : writers) EXPECT_EQ(writer.get(), std::vector<std::uint32_t>(kRounds, 0u));
    writing = false;
    EXPECT_EQ(reader.get(), 0) << "reads failed while the file was being replaced";

    for (std::size_t w = 0; w < names.size(); ++w)
        EXPECT_EQ(Stored(w), Json::array({"10." + std::to_string(w) + "." +
                                          std::to_string(kRounds - 1) + ".1"}));
    EXPECT_THAT(FilesInDirectory(), ElementsAre("machine.json"));
}

TEST_F(SharedMachineFileTest, AChangeWaitsForTheLockAndFailsOnceTheWaitIsOver) {
    const AdapterRef wired =
        SimulatedManagement(machineFile_, 300ms)
            .GetObjectByMoniker(kLocalMoniker)
            ->ExecQuery(std::string(kAllAdapters) + " WHERE Description='Wired'")
            ->Elements()
            .at(0);
    std::optional<FileLock> held = FileLock::Acquire(LockFileFor(machineFile_), 0ms);
    ASSERT_TRUE(held);

    const auto start = std::chrono::steady_clock::now();
    const auto error = RaisedBy([&] { wired->SetDNSServerSearchOrder({"1.1.1.1"}); });
    const auto waited = std::chrono::steady_clock::now() - start;

    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), 0x80041001u);
    EXPECT_THAT(error->text(), HasSubstr(machineFile_.string()));
    EXPECT_THAT(error->text(), HasSubstr("another program has held the file's lock"));
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 3s);
    EXPECT_EQ(MachineBytes(), kMachine);

    held.reset();
    EXPECT_EQ(wired->SetDNSServerSearchOrder({"1.1.1.1"}), 0u);
    EXPECT_EQ(Stored(0), Json::array({"1.1.1.1"}));
}

TEST_F(SharedMachineFileTest, AChangeGoesThroughOnceTheOtherProgramReleasesTheLock) {
    const AdapterRef wired = Adapter("Wired");
    std::optional<FileLock> held = FileLock::Acquire(LockFileFor(machineFile_), 0ms);
    ASSERT_TRUE(held);
    auto change =
        std::async(std::launch::async, [&] { return wired->SetDNSServerSearchOrder({"1.1.1.1"}); });
    EXPECT_EQ(change.wait_for(200ms), std::future_status::timeout) << "the lock was not waited for";
    held.reset();
    EXPECT_EQ(change.get(), 0u);
    EXPECT_EQ(Stored(0), Json::array({"1.1.1.1"}));
}

TEST_F(SharedMachineFileTest, AChangeToAnAdapterThatLeftTheFileIsRefused) {
    const AdapterRef tunnel = Adapter("Tunnel");
    const std::string replaced = R"({ "adapters": [ { "Description": "Wired" } ] })";
    WriteMachine(replaced);

    const auto error = RaisedBy([&] { tunnel->SetDNSServerSearchOrder({"1.1.1.1"}); });
    ASSERT_TRUE(error);
    EXPECT_THAT(error->text(), HasSubstr(machineFile_.string()));
    EXPECT_THAT(error->text(), HasSubstr("adapters[2] changed"));
    EXPECT_EQ(MachineBytes(), replaced);
}

TEST_F(SharedMachineFileTest, AStaleTemporaryFileIsLeftAloneNotReused) {
    // What a run killed in the middle of a save under an older name scheme or this one leaves.
    const std::string stale = "{ \"adapters\": [ { \"Descr";
    WriteBytes(directory_ / "machine.json.tmp", stale);
    WriteBytes(directory_ / "machine.json.0123456789abcdef.tmp", stale);

    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder({"1.1.1.1"}), 0u);

    EXPECT_EQ(Stored(0), Json::array({"1.1.1.1"}));
    EXPECT_EQ(ReadBytes(directory_ / "machine.json.tmp"), stale);
    EXPECT_EQ(ReadBytes(directory_ / "machine.json.0123456789abcdef.tmp"), stale);
    EXPECT_THAT(FilesInDirectory(), UnorderedElementsAre("machine.json", "machine.json.tmp",
                                                         "machine.json.0123456789abcdef.tmp"));
}

TEST_F(SharedMachineFileTest, ALinkPlantedBesideTheFileIsNeverFollowed) {
    const auto victim = directory_ / "victim.txt";
    WriteBytes(victim, "keep me");
    std::error_code error;
    std::filesystem::create_symlink(victim, directory_ / "machine.json.tmp", error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();

    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder({"1.1.1.1"}), 0u);

    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(machineFile_));
    EXPECT_EQ(Stored(0), Json::array({"1.1.1.1"}));
}

class FileLockTest : public SharedMachineFileTest {
protected:
    std::filesystem::path LockFile() const { return LockFileFor(machineFile_); }
};

TEST_F(FileLockTest, OneHolderAtATimeAndNothingLeftOnceReleased) {
    std::optional<FileLock> first = FileLock::Acquire(LockFile(), 0ms);
    ASSERT_TRUE(first);
    EXPECT_THAT(FilesInDirectory(), UnorderedElementsAre("machine.json", "machine.json.lock"));

    // Another thread stands for another program: the lock excludes both.
    auto second = std::async(std::launch::async,
                             [this] { return FileLock::Acquire(LockFile(), 100ms).has_value(); });
    EXPECT_FALSE(second.get());

    first.reset();
    EXPECT_THAT(FilesInDirectory(), ElementsAre("machine.json"));
    EXPECT_TRUE(FileLock::Acquire(LockFile(), 0ms));
    EXPECT_THAT(FilesInDirectory(), ElementsAre("machine.json"));
}

TEST_F(FileLockTest, ALockFileLeftByAKilledHolderIsTakenOver) {
    WriteBytes(LockFile(), "");
    EXPECT_TRUE(FileLock::Acquire(LockFile(), 0ms));
    EXPECT_THAT(FilesInDirectory(), ElementsAre("machine.json"));
}

TEST_F(FileLockTest, AMissingFolderIsAnErrorNotAWait) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(FileLock::Acquire(directory_ / "missing" / "machine.json.lock", 5s),
                 std::system_error);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(FileLockTest, ALinkPlantedAsTheLockFileIsNotFollowed) {
    const auto victim = directory_ / "victim.txt";
    WriteBytes(victim, "keep me");
    std::error_code error;
    std::filesystem::create_symlink(victim, LockFile(), error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();

    // Refused, or taken as a file of its own; either way the target is untouched.
    try {
        FileLock::Acquire(LockFile(), 0ms);
    } catch (const std::system_error&) {
    }
    EXPECT_EQ(ReadBytes(victim), "keep me");
}

}  // namespace
}  // namespace quorvel::test
