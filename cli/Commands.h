#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillo {

// Exit statuses of quillo-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

int RunProbe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunJoin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunFormats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
void PrintUsage(std::ostream& out);

}  // namespace quillo
