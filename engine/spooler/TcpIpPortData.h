// The port record (level 1) that the Standard TCP/IP port monitor's "AddPort" data call
// takes: 964 bytes, UTF-16 texts in fixed fields, laid out as the platform publishes it.
// Defined here with fixed-size types because the cross compiler's headers lack it and
// the simulated monitor reads the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TcpIpPortData {
  char16_t portName[64];
  uint32_t version;
  uint32_t protocol;  // 1 raw, 2 LPR
  uint32_t size;
  uint32_t reserved;
  char16_t hostAddress[49];
  char16_t snmpCommunity[33];
  uint32_t doubleSpool;
  char16_t queue[33];
  char16_t ipAddress[16];
  uint8_t reservedBytes[540];
  uint32_t portNumber;
  uint32_t snmpEnabled;
  uint32_t snmpDeviceIndex;
};
static_assert(sizeof(TcpIpPortData) == 964, "the monitor expects exactly 964 bytes");

// Longest texts that fit with their terminator.
constexpr size_t kMaxTcpIpPortName = 63;
constexpr size_t kMaxTcpIpHostAddress = 48;
constexpr size_t kMaxTcpIpAddressField = 15;

// A raw port on 9100 for the host. Nothing when a text does not fit its field: the host
// address fills both the host field and the IP-address field, so it must fit both.
// Texts are never cut, since a cut name would create a different port.
std::optional<TcpIpPortData> MakeTcpIpPortData(const std::wstring& portName, const std::wstring& hostAddress);

// The record as the bytes handed to the monitor.
std::vector<uint8_t> TcpIpPortDataBytes(const TcpIpPortData& data);

// A record received by a monitor: its texts read up to their terminator (or field end).
std::wstring TcpIpPortText(const char16_t* field, size_t capacity);
