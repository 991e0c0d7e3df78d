// The Standard TCP/IP monitor's side of its "AddPort" data call: the level-1 port record
// decoded from raw bytes by the offsets the platform documents for PORT_DATA_1. Written
// apart from the program's own encoder, so a wrong layout there shows up as a refused port.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct TcpIpPortRecord {
  std::wstring portName;
  uint32_t version = 0;
  uint32_t protocol = 0;  // 1 raw, 2 LPR
  uint32_t size = 0;
  std::wstring hostAddress;
  std::wstring ipAddress;
  uint32_t portNumber = 0;
};

constexpr size_t kTcpIpPortRecordBytes = 964;

// Nothing unless the bytes are exactly one record.
std::optional<TcpIpPortRecord> DecodeTcpIpPortRecord(std::span<const uint8_t> bytes);
