#include "tests/support/wine_tools.h"

#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/handles.h"
#include "platform/utf16.h"
#include "platform/win32_error.h"
#include "tests/support/child_process.h"

namespace quorvel::test {
namespace {

std::string Capture(std::wstring commandLine) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    platform::UniqueHandle reader;
    platform::UniqueHandle writer;
    platform::ThrowLastErrorIf(!CreatePipe(reader.put(), writer.put(), &inheritable, 0));
    SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

    const ChildProcess wmic(L"", std::move(commandLine),
                            StandardHandles{GetStdHandle(STD_INPUT_HANDLE), writer.get(),
                                            GetStdHandle(STD_ERROR_HANDLE)},
                            CREATE_NO_WINDOW);
    // Only the child may hold the write end now, so the pipe ends when wmic does.
    writer.reset();

    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(reader.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    if (wmic.WaitForExit(std::chrono::milliseconds(INFINITE)) != 0u)
        throw std::runtime_error("wmic.exe failed");
    return bytes;
}

std::vector<std::wstring> Lines(const std::string& utf16Bytes) {
    std::wstring text(utf16Bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(utf16Bytes[2 * i]) |
                                       static_cast<unsigned char>(utf16Bytes[2 * i + 1]) << 8);
    }
    if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string TrimEnd(std::wstring_view cell) {
    const auto end = cell.find_last_not_of(L' ');
    return ToUtf8(end == std::wstring_view::npos ? std::wstring_view() : cell.substr(0, end + 1));
}

}  // namespace

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<std::vector<std::string>> WmicNicConfig(const std::vector<std::string>& properties) {
    std::string joined;
    for (const std::string& property : properties) joined += (joined.empty() ? "" : ",") + property;
    const std::vector<std::wstring> lines =
        Lines(Capture(L"wmic.exe nicconfig get " + ToUtf16(joined)));
    if (lines.empty() || lines.front().rfind(ToUtf16(properties.front()), 0) != 0) {
        throw std::runtime_error("wmic printed no table header");
    }
    // Wine's wmic pads every cell to one width, the longest value plus two, whatever the
    // header's width: a row is that width times the number of columns.
    std::vector<std::vector<std::string>> rows;
    for (std::size_t index = 1; index < lines.size(); ++index) {
        const std::wstring& line = lines[index];
        if (line.size() % properties.size() != 0 || line.size() != lines[1].size()) {
            throw std::runtime_error("wmic row of unexpected width: " + ToUtf8(line));
        }
        const std::size_t width = line.size() / properties.size();
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < properties.size(); ++column) {
            cells.push_back(TrimEnd(std::wstring_view(line).substr(column * width, width)));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

}  // namespace quorvel::test
