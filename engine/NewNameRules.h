// Which names the spooler takes for a new printer or a new Standard TCP/IP port, checked
// before anything changes so that a run does not fail half-way at its printer or port step.
// The answer is the language key of the line that says why not, or null when the name is
// fine (whether the name is already in use is asked of the spooler separately).
//
// Threads: any; no state.
#pragma once

#include <cstddef>
#include <string>

// The spooler's limit for a local printer's name.
inline constexpr size_t kMaxPrinterNameLength = 220;

// Empty, too long, or holding "\" or "," (the spooler refuses them) or a double quote,
// which would end the quoted name in the printer applet's command line and let the rest
// be read as further options of the applet.
const wchar_t* PrinterNameFault(const std::wstring& name);
// Empty, or longer than the port record's name field holds.
const wchar_t* NetworkPortNameFault(const std::wstring& name);
