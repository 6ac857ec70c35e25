#pragma once
// Diagnostics that must not interrupt the user: problems found where raising would do
// more harm (teardown, activation). Written to stderr unless a sink is installed;
// tests install one to see what was reported.

#include <functional>
#include <string_view>

void DebugLog(std::string_view message);
// nullptr restores stderr. Returns the previous sink.
std::function<void(std::string_view)> SetDebugLogSink(std::function<void(std::string_view)> sink);
