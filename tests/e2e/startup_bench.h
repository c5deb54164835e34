// The driver's start-up benchmark (scripts/bench-startup.sh):
//   --bench-startup RUNS   starts the utility of a demo installation RUNS
//                          times in each of three situations (web check not
//                          due; due, with a quick page; due, with a server
//                          that never answers) and prints the milliseconds
//                          from CreateProcess to the main dialog on screen,
//                          with the median of each. Needs the local update
//                          page that tests/run-windows-tests.sh starts.
#pragma once

#include <string>

namespace e2e {

int RunStartupBench(const std::wstring& runs);

inline constexpr wchar_t kBenchStartupOption[] = L"--bench-startup";

}  // namespace e2e
