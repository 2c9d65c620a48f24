#include <windows.h>

#include <chrono>
#include <thread>

#include "atomic_write.h"
#include "platform/handles.h"

namespace quorvel::simulated {
namespace {

// Tries a few names: another name taken is a coincidence, not a reason to give up.
constexpr int kNameAttempts = 8;
// A reader that opened the file without sharing its deletion blocks the rename for as long as
// it reads; that is short, so the rename is tried again for a while.
constexpr std::chrono::seconds kRenameWait{3};

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk =
            content.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(content.size());
        DWORD written = 0;
        if (!WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0)
            return false;
        content.remove_prefix(written);
    }
    return true;
}

bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    const auto deadline = std::chrono::steady_clock::now() + kRenameWait;
    while (!MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
            std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path temporary = UniqueTemporaryPath(path);
        bool written = false;
        {
            const platform::UniqueFileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0,
                                                              nullptr, CREATE_NEW,
                                                              FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) {
                const DWORD error = GetLastError();
                if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
                return false;
            }
            written = WriteAll(file.get(), content) && FlushFileBuffers(file.get());
        }
        if (written && RenameOver(temporary, path)) return true;
        DeleteFileW(temporary.c_str());
        return false;
    }
    return false;
}

}  // namespace quorvel::simulated
