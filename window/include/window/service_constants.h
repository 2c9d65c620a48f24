// The fixed texts of the Quorvel service that the program carries: its two public resolvers and
// its help page, with the command line that opens the page.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The service's resolvers, set by the "设置Quorvel" command; primary first.
inline constexpr std::string_view kServicePrimaryDns = "9.9.9.9";
inline constexpr std::string_view kServiceSecondaryDns = "149.112.112.112";

inline constexpr std::string_view kHelpPageUrl = "http://www.quorvel.com";

// The shell program that opens the help page in the user's browser.
inline constexpr std::string_view kShellProgram = "explorer.exe";

// "explorer.exe http://www.quorvel.com".
inline std::string HelpCommandLine() {
    return std::string(kShellProgram) + " " + std::string(kHelpPageUrl);
}

// The shell program by its full path in `windowsDirectory`. Left to the command line, a bare
// "explorer.exe" would be looked for in this program's own folder first, so a file planted there
// would run instead.
inline std::string ShellProgramPath(const std::string& windowsDirectory) {
    const bool endsInSeparator = !windowsDirectory.empty() && (windowsDirectory.back() == '\\' ||
                                                               windowsDirectory.back() == '/');
    return windowsDirectory + (endsInSeparator ? "" : "\\") + std::string(kShellProgram);
}

}  // namespace quorvel
