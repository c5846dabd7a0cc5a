// Runs one encoded editing session on a build of the editor's core and
// returns, for every step, what a user could see or save after it: in full,
// or as a hash of it (a long session's pages would fill the memory).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::string> RunBaselineSession(const std::uint8_t* data, std::size_t size, const std::string& folder,
                                            bool full);
std::vector<std::string> RunCurrentSession(const std::uint8_t* data, std::size_t size, const std::string& folder,
                                           bool full);
