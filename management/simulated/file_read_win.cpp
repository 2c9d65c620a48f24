#include <windows.h>

#include <chrono>
#include <thread>

#include "file_read.h"
#include "platform/handles.h"

namespace quorvel::simulated {
namespace {

// While another program renames its new content over the file, the file cannot be opened for a
// moment; that moment is waited out.
constexpr std::chrono::seconds kReplaceWait{3};

HANDLE OpenShared(const std::filesystem::path& path, DWORD& error) {
    const auto deadline = std::chrono::steady_clock::now() + kReplaceWait;
    while (true) {
        // Sharing deletion too, so that this read never keeps another program from replacing
        // the file.
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || folder ||
            std::chrono::steady_clock::now() >= deadline) {
            return INVALID_HANDLE_VALUE;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace

FileContent ReadWholeFile(const std::filesystem::path& path, std::uintmax_t most) {
    FileContent content;
    DWORD error = 0;
    const platform::UniqueFileHandle file(OpenShared(path, error));
    if (!file) {
        content.outcome = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                              ? FileContent::Outcome::Missing
                              : FileContent::Outcome::Unreadable;
        return content;
    }
    char piece[1 << 16];
    content.outcome = FileContent::Outcome::Read;
    while (true) {
        DWORD count = 0;
        if (!ReadFile(file.get(), piece, sizeof piece, &count, nullptr)) {
            // A pipe ends with its writer closing it.
            if (GetLastError() != ERROR_BROKEN_PIPE)
                content.outcome = FileContent::Outcome::Unreadable;
            break;
        }
        if (count == 0) break;
        content.bytes.append(piece, count);
        if (content.bytes.size() > most) {
            content.outcome = FileContent::Outcome::TooLarge;
            break;
        }
    }
    if (content.outcome != FileContent::Outcome::Read) content.bytes.clear();
    return content;
}

}  // namespace quorvel::simulated
