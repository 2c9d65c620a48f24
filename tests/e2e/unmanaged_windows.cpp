// Under Wine the driven programs' windows are left unmanaged for the run. The test display is a
// bare Xvfb without a window manager, and Wine waits up to two seconds for one every time it
// hides a managed window: each closed message box and each closed window would cost that.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/program_fixture.h"
#include "tests/windows/wine_tools.h"

namespace quorvel::e2e {
namespace {

class UnmanagedWindows : public ::testing::Environment {
public:
    void SetUp() override {
        if (!testing::RunningUnderWine()) return;
        for (const wchar_t* program : {kSimulatedProgram, kWmiProgram}) {
            Setting setting{std::wstring(L"Software\\Wine\\AppDefaults\\") + program, false, {}};
            HKEY key = nullptr;
            setting.existed = RegOpenKeyExW(HKEY_CURRENT_USER, setting.appKey.c_str(), 0, KEY_READ,
                                            &key) == ERROR_SUCCESS;
            if (key) RegCloseKey(key);
            const std::wstring driverKey = setting.appKey + L"\\X11 Driver";
            wchar_t value[16] = {};
            DWORD size = sizeof value;
            if (RegGetValueW(HKEY_CURRENT_USER, driverKey.c_str(), L"Managed", RRF_RT_REG_SZ,
                             nullptr, value, &size) == ERROR_SUCCESS) {
                setting.previous = value;
            }
            settings_.push_back(setting);
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, driverKey.c_str(), L"Managed", REG_SZ,
                                      L"N", sizeof L"N"),
                      ERROR_SUCCESS);
        }
    }

    void TearDown() override {
        for (const Setting& setting : settings_) {
            const std::wstring driverKey = setting.appKey + L"\\X11 Driver";
            if (!setting.existed) {
                RegDeleteTreeW(HKEY_CURRENT_USER, setting.appKey.c_str());
            } else if (setting.previous) {
                RegSetKeyValueW(
                    HKEY_CURRENT_USER, driverKey.c_str(), L"Managed", REG_SZ,
                    setting.previous->c_str(),
                    static_cast<DWORD>((setting.previous->size() + 1) * sizeof(wchar_t)));
            } else {
                RegDeleteKeyValueW(HKEY_CURRENT_USER, driverKey.c_str(), L"Managed");
            }
        }
        settings_.clear();
    }

private:
    struct Setting {
        std::wstring appKey;
        bool existed;
        std::optional<std::wstring> previous;
    };
    std::vector<Setting> settings_;
};

// Registered before gtest_main runs the tests; GoogleTest owns it.
[[maybe_unused]] ::testing::Environment* const kUnmanagedWindows =
    ::testing::AddGlobalTestEnvironment(new UnmanagedWindows);

}  // namespace
}  // namespace quorvel::e2e
