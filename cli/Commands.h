#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

struct BackendTable;

// Exit statuses of quillo-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

// The commands that decode take the program's back-ends.
int RunProbe(const std::vector<std::string>& args, const BackendTable& backends, std::ostream& out,
             std::ostream& err);
int RunConvert(const std::vector<std::string>& args, const BackendTable& backends,
               std::ostream& out, std::ostream& err);
int RunJoin(const std::vector<std::string>& args, const BackendTable& backends, std::ostream& out,
            std::ostream& err);
int RunFormats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCompletion(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
void PrintUsage(std::ostream& out);
// The usage of one command (`name`: "convert", "formats"...); false for a
// name that is no command.
bool PrintCommandUsage(std::ostream& out, std::string_view name);
void PrintVersion(std::ostream& out);

}  // namespace quillo
