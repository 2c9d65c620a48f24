#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "machine_file.h"
#include "simulated_fixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Json = nlohmann::ordered_json;

// Keys in an unusual order, a key left out, non-ASCII text and every top-level key: a save must
// keep all of it.
constexpr const char* kMachine = R"json({
  "nullResult": false,
  "adapters": [
    { "DNSServerSearchOrder": ["192.168.1.1", "192.168.1.2"], "Description": "有线网卡",
      "SetDNSServerSearchOrderResult": 91, "IPEnabled": true },
    { "IPEnabled": true, "Description": "Wired", "DHCPDNSServers": ["192.168.1.1"] },
    { "Description": "Wireless", "DNSServerSearchOrder": null, "DHCPDNSServers": null }
  ],
  "raise": {}
})json";

class MachineFileTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(kMachine);
    }

    Json Document() const { return Json::parse(MachineBytes()); }
};

TEST_F(MachineFileTest, AChangeIsWrittenBackKeepingEverythingElse) {
    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder({"1.1.1.1", "1.0.0.1"}), 0u);

    Json expected = Json::parse(kMachine);
    expected["adapters"][1]["DNSServerSearchOrder"] = {"1.1.1.1", "1.0.0.1"};
    // Ordered comparison: key order and all other values as they were.
    EXPECT_EQ(Document(), expected);
    EXPECT_THAT(Adapter("Wired")->DNSServerSearchOrder(),
                ::testing::Optional(ElementsAre("1.1.1.1", "1.0.0.1")));
}

TEST_F(MachineFileTest, GoingBackToAutomaticWritesTheDhcpServers) {
    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder(), 0u);
    ASSERT_EQ(Adapter("Wireless")->SetDNSServerSearchOrder({"9.9.9.9"}), 0u);
    ASSERT_EQ(Adapter("Wireless")->SetDNSServerSearchOrder(), 0u);

    EXPECT_EQ(Document()["adapters"][1]["DNSServerSearchOrder"], Json::array({"192.168.1.1"}));
    EXPECT_EQ(Document()["adapters"][2]["DNSServerSearchOrder"], nullptr);
}

TEST_F(MachineFileTest, TwoChangesOnOneConnectionBothReachTheFile) {
    const auto adapters =
        ConnectByMoniker()->ExecQuery(std::string(kAllAdapters) + " WHERE IPEnabled=TRUE");
    for (const auto& adapter : adapters->Elements()) adapter->SetDNSServerSearchOrder({"8.8.4.4"});

    const Json document = Document();
    EXPECT_EQ(document["adapters"][0]["DNSServerSearchOrder"],
              Json::array({"192.168.1.1", "192.168.1.2"}));
    EXPECT_EQ(document["adapters"][1]["DNSServerSearchOrder"], Json::array({"8.8.4.4"}));
    EXPECT_EQ(document["adapters"][2]["DNSServerSearchOrder"], Json::array({"8.8.4.4"}));
}

TEST_F(MachineFileTest, AChangeShowsInTheNextQueryOfTheSameConnection) {
    const auto service = Connect();
    const std::string wired = std::string(kAllAdapters) + " WHERE Description='Wired'";
    ASSERT_EQ(service->ExecQuery(wired)->Elements().at(0)->SetDNSServerSearchOrder({"8.8.4.4"}),
              0u);
    EXPECT_THAT(service->ExecQuery(wired)->Elements().at(0)->DNSServerSearchOrder(),
                ::testing::Optional(ElementsAre("8.8.4.4")));
}

TEST_F(MachineFileTest, TheFileIsReplacedNotRewrittenInPlace) {
    // A second name for the old file keeps the old bytes only when the new content was renamed
    // over it; an in-place write would show through.
    const auto oldFile = directory_ / "old.json";
    std::filesystem::create_hard_link(machineFile_, oldFile);

    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder({"8.8.4.4"}), 0u);

    EXPECT_EQ(ReadBytes(oldFile), kMachine);
    EXPECT_NE(MachineBytes(), kMachine);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory_))
        names.push_back(entry.path().filename().string());
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("machine.json", "old.json"));
}

TEST_F(MachineFileTest, EveryConnectionReadsTheFileAnew) {
    SimulatedManagement management(machineFile_);
    const auto locator = management.CreateLocator();
    EXPECT_EQ(Descriptions(locator->ConnectServer(".", kLocalNamespace)->ExecQuery(kAllAdapters)),
              (std::vector<std::string>{"有线网卡", "Wired", "Wireless"}));

    WriteMachine(R"({ "adapters": [ { "Description": "Replaced" } ] })");

    EXPECT_THAT(Descriptions(locator->ConnectServer(".", kLocalNamespace)->ExecQuery(kAllAdapters)),
                ElementsAre("Replaced"));
    EXPECT_THAT(Descriptions(management.GetObjectByMoniker(kLocalMoniker)->ExecQuery(kAllAdapters)),
                ElementsAre("Replaced"));
}

TEST_F(MachineFileTest, MissingKeysTakeTheirDefaults) {
    WriteMachine(R"({ "adapters": [ {} ] })");
    const auto adapters = Connect()->ExecQuery(std::string(kAllAdapters) + " WHERE IPEnabled=TRUE");
    ASSERT_NE(adapters, nullptr);
    const auto elements = adapters->Elements();
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0]->Description(), std::nullopt);
    EXPECT_EQ(elements[0]->DNSServerSearchOrder(), std::nullopt);
    EXPECT_EQ(elements[0]->SetDNSServerSearchOrder({"8.8.8.8"}), 0u);
    EXPECT_EQ(elements[0]->SetDNSServerSearchOrder(), 0u);
    EXPECT_EQ(Document()["adapters"][0], Json({{"DNSServerSearchOrder", nullptr}}));
}

TEST_F(MachineFileTest, ANonAsciiFileNameWorks) {
    machineFile_ = directory_ / Utf8Path("机器 é.json");
    WriteMachine(kMachine);
    ASSERT_EQ(Adapter("Wired")->SetDNSServerSearchOrder({"8.8.4.4"}), 0u);
    EXPECT_EQ(Document()["adapters"][1]["DNSServerSearchOrder"], Json::array({"8.8.4.4"}));
}

struct BadFile {
    std::string content;
    // A piece of the problem the error must name.
    std::string problem;

    friend void PrintTo(const BadFile& file, std::ostream* out) {
        *out << ::testing::PrintToString(file.content);
    }
};

class BadMachineFileTest : public SimulatedMachineTest,
                           public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadMachineFileTest, ConnectingRaisesAnErrorNamingFileAndProblem) {
    WriteMachine(GetParam().content);
    for (const auto& connect : {std::function<void()>([this] { Connect(); }),
                                std::function<void()>([this] { ConnectByMoniker(); })}) {
        const auto error = RaisedBy(connect);
        ASSERT_TRUE(error) << GetParam().content;
        EXPECT_EQ(error->hresult(), 0x80041001u);
        EXPECT_THAT(error->text(), HasSubstr(machineFile_.string()));
        EXPECT_THAT(error->text(), HasSubstr(GetParam().problem)) << error->text();
    }
}

INSTANTIATE_TEST_SUITE_P(
    UnknownKey, BadMachineFileTest,
    ::testing::Values(BadFile{R"({ "adapter": [] })", "\"adapter\""},
                      BadFile{R"({ "adapters": [ { "DNSServers": [] } ] })", "\"DNSServers\""},
                      BadFile{R"({ "raise": { "connnect": "0x80070005" } })", "\"connnect\""}));

INSTANTIATE_TEST_SUITE_P(
    WrongType, BadMachineFileTest,
    ::testing::Values(
        BadFile{R"([])", "top level"}, BadFile{R"({ "adapters": {} })", "adapters"},
        BadFile{R"({ "adapters": [ "Wired" ] })", "adapters[0]"},
        BadFile{R"({ "adapters": [ { "Description": 5 } ] })", "adapters[0].Description"},
        BadFile{R"({ "adapters": [ {}, { "IPEnabled": "yes" } ] })", "adapters[1].IPEnabled"},
        BadFile{R"({ "adapters": [ { "IPEnabled": null } ] })", "adapters[0].IPEnabled"},
        BadFile{R"({ "adapters": [ { "DNSServerSearchOrder": "1.1.1.1" } ] })",
                "adapters[0].DNSServerSearchOrder"},
        BadFile{R"({ "adapters": [ { "DHCPDNSServers": ["1.1.1.1", 5] } ] })",
                "adapters[0].DHCPDNSServers"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": "91" } ] })",
                "adapters[0].SetDNSServerSearchOrderResult"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": -1 } ] })",
                "adapters[0].SetDNSServerSearchOrderResult"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": 4294967296 } ] })",
                "adapters[0].SetDNSServerSearchOrderResult"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": 91.5 } ] })",
                "adapters[0].SetDNSServerSearchOrderResult"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": 4294967296 } ] })",
                "out of range"},
        BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": 1e19 } ] })", "out of range"},
        BadFile{R"({ "raise": [] })", "raise"},
        BadFile{R"({ "raise": { "query": 2147749911 } })", "raise.query"},
        BadFile{R"({ "raise": { "query": "80041017" } })", "raise.query"},
        BadFile{R"({ "raise": { "query": "0x" } })", "raise.query"},
        BadFile{R"({ "raise": { "query": "0x800410170" } })", "raise.query"},
        BadFile{R"({ "raise": { "method": "0x8004101G" } })", "raise.method"},
        BadFile{R"({ "nullResult": 1 })", "nullResult"}));

INSTANTIATE_TEST_SUITE_P(
    MalformedJson, BadMachineFileTest,
    ::testing::Values(BadFile{"", "malformed JSON"}, BadFile{"{", "malformed JSON"},
                      BadFile{R"({ "adapters": [] } x)", "malformed JSON"},
                      BadFile{R"({ "adapters": [], })", "malformed JSON"},
                      BadFile{"{ \"adapters\": [ { \"Description\": \"\xff\" } ] }",
                              "malformed JSON"},
                      // Beyond what a double holds: the library's own error, one type for all.
                      BadFile{R"({ "adapters": [ { "SetDNSServerSearchOrderResult": 1e400 } ] })",
                              "out of range"},
                      BadFile{R"({ "nullResult": -1e400 })", "out of range"}));

// The window's texts end at U+0000: such a description would show cut short and match nothing.
INSTANTIATE_TEST_SUITE_P(
    NulCharacter, BadMachineFileTest,
    ::testing::Values(
        BadFile{R"({ "adapters": [ {}, { "Description": "Wired\u0000 copy" } ] })",
                "adapters[1].Description: the text holds U+0000"},
        BadFile{R"({ "adapters": [ { "DNSServerSearchOrder": ["1.1.1.1", "\u0000"] } ] })",
                "adapters[0].DNSServerSearchOrder[1]: the text holds U+0000"},
        BadFile{R"({ "adapters": [ { "DHCPDNSServers": ["1.1.1.1\u0000"] } ] })",
                "adapters[0].DHCPDNSServers[0]: the text holds U+0000"}));

struct LongInput {
    std::string name;
    std::string content;
    // What the error must still say, before the input it quotes is cut.
    std::string problem;
};

class LongInputTest : public SimulatedMachineTest,
                      public ::testing::WithParamInterface<LongInput> {};

// An error that quoted the whole offending piece would make a message box of millions of
// characters that takes minutes to lay out.
TEST_P(LongInputTest, TheErrorQuotesAFewHundredCharactersAtMost) {
    WriteMachine(GetParam().content);
    const auto start = std::chrono::steady_clock::now();
    const auto error = RaisedBy([this] { Connect(); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_TRUE(error);
    // First, so that a failure does not print millions of characters.
    ASSERT_LT(error->text().size(), machineFile_.string().size() + 500) << error->text().size();
    EXPECT_THAT(error->text(), HasSubstr(machineFile_.string()));
    EXPECT_THAT(error->text(), HasSubstr(GetParam().problem));
    EXPECT_THAT(error->text(), HasSubstr("..."));
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, LongInputTest,
    ::testing::Values(LongInput{"UnterminatedString",
                                R"({ "adapters": [ { "Description": ")" +
                                    std::string(5'000'000, 'a'),
                                "malformed JSON"},
                      LongInput{"LongUnknownKey", "{ \"" + std::string(100'000, 'k') + "\": 1 }",
                                "unknown key \"kkk"},
                      LongInput{"LongNumber", "{ \"nullResult\": 1" + std::string(400, '0') + " }",
                                "out of range"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SimulatedMachineTest, AnErrorShowsAControlCharacterOfTheInputAsAnEscape) {
    WriteMachine(R"({ "a\u0000b\nc": 1 })");
    const auto error = RaisedBy([this] { Connect(); });
    ASSERT_TRUE(error);
    EXPECT_THAT(error->text(), HasSubstr("unknown key \"a\\u0000b\\u000Ac\""));
}

// Zeros stand for any content: the size alone is refused, before anything is parsed.
TEST_F(SimulatedMachineTest, AFileBeyondTheSizeCapIsRefused) {
    std::vector<std::filesystem::path> files{directory_ / "huge.json"};
    WriteBytes(files[0], "");
    std::filesystem::resize_file(files[0], simulated::kMostMachineFileBytes + 1);
    // An endless file reports no size at all.
    if (std::filesystem::exists("/dev/zero")) files.push_back("/dev/zero");
    for (const auto& file : files) {
        machineFile_ = file;
        const auto error = RaisedBy([this] { Connect(); });
        ASSERT_TRUE(error) << file;
        EXPECT_THAT(error->text(), HasSubstr(file.string()));
        EXPECT_THAT(error->text(), HasSubstr("the file is larger than 64 MiB"));
    }
}

TEST_F(SimulatedMachineTest, AMissingFileRaisesAnErrorNamingIt) {
    const auto error = RaisedBy([this] { Connect(); });
    ASSERT_TRUE(error);
    EXPECT_THAT(error->text(), HasSubstr(machineFile_.string()));
    EXPECT_THAT(error->text(), HasSubstr("no such file"));
}

struct RaiseCase {
    std::string operation;
    std::string code;
    std::uint32_t hresult;
    std::string text;

    friend void PrintTo(const RaiseCase& raise, std::ostream* out) {
        *out << raise.operation << " " << raise.code;
    }
};

// Each named operation raises the code every time; the others work, and nothing is written.
class RaiseTest : public SimulatedMachineTest, public ::testing::WithParamInterface<RaiseCase> {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(R"({ "adapters": [ { "Description": "Wired" } ], "raise": { ")" +
                     GetParam().operation + R"(": ")" + GetParam().code + R"(" } })");
    }

    void ExpectRaised(const std::function<void()>& action) {
        const auto error = RaisedBy(action);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->hresult(), GetParam().hresult);
        EXPECT_EQ(error->text(), GetParam().text);
    }
};

TEST_P(RaiseTest, RaisesFromTheNamedOperationOnly) {
    const std::string before = MachineBytes();
    const std::string& operation = GetParam().operation;
    if (operation == "connect") {
        for (int attempt = 0; attempt < 2; ++attempt) {
            ExpectRaised([this] { Connect(); });
            ExpectRaised([this] { ConnectByMoniker(); });
        }
        return;
    }
    const auto service = Connect();
    if (operation == "query") {
        ExpectRaised([&] { service->ExecQuery(kAllAdapters); });
        ExpectRaised([&] { service->ExecQuery(kAllAdapters); });
        return;
    }
    const auto adapter = service->ExecQuery(kAllAdapters)->Elements().at(0);
    ExpectRaised([&] { adapter->SetDNSServerSearchOrder({"8.8.8.8"}); });
    ExpectRaised([&] { adapter->SetDNSServerSearchOrder(); });
    EXPECT_EQ(MachineBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RaiseTest,
    ::testing::Values(RaiseCase{"connect", "0x80070005", 0x80070005, "Access is denied."},
                      RaiseCase{"connect", "0x80004005", 0x80004005, "Unspecified error"},
                      RaiseCase{"query", "0x80041017", 0x80041017, "Invalid query"},
                      RaiseCase{"query", "0x80041001", 0x80041001, "Generic failure"},
                      RaiseCase{"method", "0x80041002", 0x80041002, "Not found"},
                      RaiseCase{"method", "0x80041010", 0x80041010, "Invalid class"},
                      // A code without a well-known text gets one that names it.
                      RaiseCase{"method", "0x8007abcd", 0x8007ABCD, "Error 0x8007ABCD"},
                      RaiseCase{"query", "0X1", 0x1, "Error 0x00000001"}));

TEST_F(SimulatedMachineTest, NullResultMakesEveryQueryNull) {
    WriteMachine(R"({ "adapters": [ { "Description": "Wired" } ], "nullResult": true })");
    const auto service = ConnectByMoniker();
    EXPECT_EQ(service->ExecQuery(kAllAdapters), nullptr);
    EXPECT_EQ(service->ExecQuery(std::string(kAllAdapters) +
                                 " where IPEnabled=TRUE and Description='Wired'"),
              nullptr);
    EXPECT_EQ(Connect()->ExecQuery(kAllAdapters), nullptr);
}

}  // namespace
}  // namespace quorvel::test
