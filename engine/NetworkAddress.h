// The IPv4 address typed on the network panel.
//
// Threads: any; no state.
#pragma once

#include <string>

// Exactly four parts of decimal digits, each 0..255, separated by "."; one trailing "."
// is accepted. Blanks, signs and other characters make the address invalid, so "1x.2.3.4"
// or " +1.2.3.4" are refused instead of being read as far as they look like numbers.
bool IsValidIpv4Address(const std::wstring& text);
