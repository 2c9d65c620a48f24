#include "management/simulated/simulated_management.h"

#include <optional>

#include "connection_target.h"
#include "dns_method.h"
#include "hresults.h"
#include "machine.h"
#include "machine_environment.h"
#include "machine_file.h"
#include "wql_query.h"

namespace quorvel {
namespace simulated {
namespace {

// The machine a connection works on, and the file its changes go to (none for the sample).
class Connection : public Service, public std::enable_shared_from_this<Connection> {
public:
    Connection(std::shared_ptr<Machine> machine, std::shared_ptr<MachineFile> file)
        : machine_(std::move(machine)), file_(std::move(file)) {
        if (machine_->raise.connect) Raise(*machine_->raise.connect);
    }

    AdapterSetRef ExecQuery(const std::string& wql) override;

    // The method on the connection's adapter. A file-backed machine carries it out on the file
    // as it is now, so that a change another program made meanwhile is kept.
    std::uint32_t ChangeServerSearchOrder(std::size_t adapter,
                                          const std::optional<ServerList>& servers) {
        if (machine_->raise.method) Raise(*machine_->raise.method);
        if (file_) return file_->ChangeServerSearchOrder(adapter, servers);
        return simulated::ChangeServerSearchOrder(machine_->adapters[adapter], servers);
    }

private:
    std::shared_ptr<Machine> machine_;
    std::shared_ptr<MachineFile> file_;
};

// Like an object WMI returns, its properties are those at the time of the query; a change made
// through it shows in the next query.
class AdapterObject : public AdapterConfiguration {
public:
    AdapterObject(std::shared_ptr<Connection> connection, std::size_t index,
                  SimulatedAdapter snapshot)
        : connection_(std::move(connection)), index_(index), snapshot_(std::move(snapshot)) {}

    std::optional<std::string> Description() override { return snapshot_.description; }
    std::optional<std::vector<std::string>> DNSServerSearchOrder() override {
        return snapshot_.dnsServerSearchOrder;
    }
    std::uint32_t SetDNSServerSearchOrder() override {
        return connection_->ChangeServerSearchOrder(index_, std::nullopt);
    }
    std::uint32_t SetDNSServerSearchOrder(const std::vector<std::string>& servers) override {
        return connection_->ChangeServerSearchOrder(index_, servers);
    }

private:
    std::shared_ptr<Connection> connection_;
    std::size_t index_;
    SimulatedAdapter snapshot_;
};

class AdapterObjectSet : public AdapterSet {
public:
    explicit AdapterObjectSet(std::vector<AdapterRef> elements) : elements_(std::move(elements)) {}

    std::vector<AdapterRef> Elements() override { return elements_; }

private:
    std::vector<AdapterRef> elements_;
};

AdapterSetRef Connection::ExecQuery(const std::string& wql) {
    if (machine_->raise.query) Raise(*machine_->raise.query);
    if (machine_->nullResult) return nullptr;
    const AdapterQuery query = ParseAdapterQuery(wql);
    std::vector<AdapterRef> elements;
    for (std::size_t i = 0; i < machine_->adapters.size(); ++i) {
        if (Matches(query, machine_->adapters[i]))
            elements.push_back(
                std::make_shared<AdapterObject>(shared_from_this(), i, machine_->adapters[i]));
    }
    return std::make_shared<AdapterObjectSet>(std::move(elements));
}

}  // namespace

// Where connections get their machine: the file, read anew each time, or the one sample
// machine that all connections share.
class MachineSource {
public:
    MachineSource(std::filesystem::path file, std::chrono::milliseconds lockWait)
        : file_(std::move(file)), lockWait_(lockWait) {}
    MachineSource() : sample_(std::make_shared<Machine>(SampleMachine())) {}

    ServiceRef Connect() const {
        if (!file_) return std::make_shared<Connection>(sample_, nullptr);
        auto file = std::make_shared<MachineFile>(*file_, lockWait_);
        std::shared_ptr<Machine> machine(file, &file->machine());
        return std::make_shared<Connection>(std::move(machine), std::move(file));
    }

private:
    std::optional<std::filesystem::path> file_;
    std::chrono::milliseconds lockWait_{};
    std::shared_ptr<Machine> sample_;
};

namespace {

class MachineLocator : public Locator {
public:
    explicit MachineLocator(std::shared_ptr<const MachineSource> source)
        : source_(std::move(source)) {}

    ServiceRef ConnectServer(const std::string& computer, const std::string& nameSpace) override {
        CheckLocatorTarget(computer, nameSpace);
        return source_->Connect();
    }

private:
    std::shared_ptr<const MachineSource> source_;
};

}  // namespace
}  // namespace simulated

std::unique_ptr<SimulatedManagement> SimulatedManagement::FromEnvironment() {
    const std::optional<std::filesystem::path> file = simulated::MachineFileFromEnvironment();
    if (!file) return std::make_unique<SimulatedManagement>();
    return std::make_unique<SimulatedManagement>(*file);
}

SimulatedManagement::SimulatedManagement(std::filesystem::path machineFile,
                                         std::chrono::milliseconds lockWait)
    : source_(std::make_shared<simulated::MachineSource>(std::move(machineFile), lockWait)) {}

SimulatedManagement::SimulatedManagement()
    : source_(std::make_shared<simulated::MachineSource>()) {}

LocatorRef SimulatedManagement::CreateLocator() {
    return std::make_shared<simulated::MachineLocator>(source_);
}

ServiceRef SimulatedManagement::GetObjectByMoniker(const std::string& moniker) {
    simulated::CheckMonikerTarget(moniker);
    return source_->Connect();
}

}  // namespace quorvel
