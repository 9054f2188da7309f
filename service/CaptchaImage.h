#pragma once

#include <cstdint>
#include <string>

// A PNG picture of a short digit code, drawn with a little noise so that it is read by eye.
// Empty on failure.
std::string RenderCodePng(const std::string& digits, std::uint32_t noiseSeed);
