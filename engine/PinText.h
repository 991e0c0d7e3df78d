// The Bluetooth pairing code as the PIN edit keeps it: ASCII letters and digits only.
//
// Threads: any; no state.
#pragma once

#include <string>

// The text without every character that is not an ASCII letter or digit, in order.
std::wstring FilterPin(const std::wstring& text);
// At least one character, all of them ASCII letters or digits.
bool IsValidPin(const std::wstring& pin);
