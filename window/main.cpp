#include "window/main.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "management/result_message.h"
#include "management/wql.h"
#include "window/service_constants.h"

namespace quorvel {
namespace {

constexpr char kLocalComputer[] = ".";
constexpr char kCimNameSpace[] = "root\\cimv2";
constexpr char kIpEnabledAdapters[] = "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE";

// The text after kIpEnabledAdapters that narrows a query to one description; the description is
// escaped so that an apostrophe in it cannot end the literal early.
std::string DescriptionCondition(const std::string& description) {
    return " and Description='" + EscapeWqlString(description) + "'";
}

// The servers ApplyDns sets when at least one text is non-empty: an empty text is left out, so a
// lone secondary becomes the primary.
std::vector<std::string> ServerList(const std::string& primary, const std::string& secondary) {
    if (primary.empty()) return {secondary};
    if (secondary.empty()) return {primary};
    return {primary, secondary};
}

}  // namespace

Main::Main(Management& management, ComboBoxPort& combo1, TextBoxPort& text1, TextBoxPort& text2,
           MessageBoxPort& messageBox, ProcessStartPort& processStart)
    : management_(management),
      Combo1(combo1),
      Text1(text1),
      Text2(text2),
      messageBox_(messageBox),
      processStart_(processStart) {}

void Main::Main_Load() { LoadAdapters(); }

void Main::Combo1_Click() { ShowAdapterDns(); }

void Main::Command2_Click() {
    ApplyDns(std::string(kServicePrimaryDns), std::string(kServiceSecondaryDns));
}

void Main::Command3_Click() { ApplyDns(Text1.Text(), Text2.Text()); }

void Main::Command4_Click() { ApplyDns("", ""); }

void Main::Command5_Click() {
    processStart_.StartMinimized(ShellProgramPath(processStart_.WindowsDirectory()),
                                 HelpCommandLine());
}

void Main::ApplyDns(const std::string& primary, const std::string& secondary) {
    const ServiceRef service = management_.GetObjectByMoniker(
        std::string("winmgmts:\\\\") + kLocalComputer + "\\" + kCimNameSpace);
    const AdapterSetRef adapters = service->ExecQuery(
        std::string("Select * from ") + kIpEnabledAdapters + DescriptionCondition(Combo1.Text()));
    if (!adapters) {
        messageBox_.Show("所选网卡不存在。");
        return;
    }
    for (const AdapterRef& adapter : adapters->Elements()) {
        const std::uint32_t result =
            primary.empty() && secondary.empty()
                ? adapter->SetDNSServerSearchOrder()
                : adapter->SetDNSServerSearchOrder(ServerList(primary, secondary));
        messageBox_.Show(result == 0 ? std::string("DNS设置成功")
                                     : "DNS设置失败: " + ResultMessage(result));
    }
    ShowAdapterDns();
}

void Main::LoadAdapters() {
    fields_.Computer = kLocalComputer;
    fields_.NameSpace = kCimNameSpace;
    fields_.QueryText = kIpEnabledAdapters;
    fields_.Locator = management_.CreateLocator();
    fields_.Service = fields_.Locator->ConnectServer(fields_.Computer, fields_.NameSpace);
    fields_.AdapterSet = fields_.Service->ExecQuery("SELECT * FROM " + fields_.QueryText);
    Combo1.Clear();
    // A null result lists nothing, like an empty set.
    if (fields_.AdapterSet) {
        for (const AdapterRef& element : fields_.AdapterSet->Elements()) {
            fields_.Adapter = element;
            // Without a description no selector text could name the adapter again.
            if (const std::optional<std::string> description = fields_.Adapter->Description()) {
                Combo1.Append(*description);
            }
        }
    }
    fields_.Adapter.reset();
    fields_.AdapterSet.reset();
    ShowAdapterDns();
}

void Main::ShowAdapterDns() {
    fields_.Computer = kLocalComputer;
    fields_.NameSpace = kCimNameSpace;
    fields_.QueryText = kIpEnabledAdapters + DescriptionCondition(Combo1.Text());
    fields_.Locator = management_.CreateLocator();
    fields_.Service = fields_.Locator->ConnectServer(fields_.Computer, fields_.NameSpace);
    fields_.AdapterSet = fields_.Service->ExecQuery("SELECT * FROM " + fields_.QueryText);
    // A null result names no adapter: the fields keep their text, as with an empty set.
    if (!fields_.AdapterSet) return;
    for (const AdapterRef& element : fields_.AdapterSet->Elements()) {
        fields_.Adapter = element;
        const std::optional<std::vector<std::string>> servers =
            fields_.Adapter->DNSServerSearchOrder();
        const std::size_t count = servers ? servers->size() : 0;
        Text1.SetText(count >= 1 ? (*servers)[0] : std::string());
        Text2.SetText(count >= 2 ? (*servers)[1] : std::string());
    }
}

}  // namespace quorvel
