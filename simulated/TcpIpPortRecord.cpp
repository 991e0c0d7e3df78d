#include "simulated/TcpIpPortRecord.h"

namespace {

// PORT_DATA_1: WCHAR sztPortName[64]; DWORD dwVersion, dwProtocol, cbSize, dwReserved;
// WCHAR sztHostAddress[49], sztSNMPCommunity[33]; DWORD dwDoubleSpool; WCHAR sztQueue[33],
// sztIPAddress[16]; BYTE Reserved[540]; DWORD dwPortNumber, dwSNMPEnabled, dwSNMPDevIndex.
// The DWORDs after the byte array are aligned to 4, hence 952 rather than 950.
constexpr size_t kPortName = 0, kPortNameUnits = 64;
constexpr size_t kVersion = 128, kProtocol = 132, kSize = 136;
constexpr size_t kHostAddress = 144, kHostAddressUnits = 49;
constexpr size_t kIpAddress = 378, kIpAddressUnits = 16;
constexpr size_t kPortNumber = 952;

uint32_t Dword(std::span<const uint8_t> bytes, size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (uint32_t{bytes[offset + 3]} << 24);
}

// UTF-16 units up to the terminator or the end of the field.
std::wstring Text(std::span<const uint8_t> bytes, size_t offset, size_t units) {
  std::wstring text;
  for (size_t i = 0; i < units; ++i) {
    const wchar_t unit = static_cast<wchar_t>(bytes[offset + 2 * i] | (bytes[offset + 2 * i + 1] << 8));
    if (unit == 0) break;
    text += unit;
  }
  return text;
}

}  // namespace

std::optional<TcpIpPortRecord> DecodeTcpIpPortRecord(std::span<const uint8_t> bytes) {
  if (bytes.size() != kTcpIpPortRecordBytes) return std::nullopt;
  TcpIpPortRecord record;
  record.portName = Text(bytes, kPortName, kPortNameUnits);
  record.version = Dword(bytes, kVersion);
  record.protocol = Dword(bytes, kProtocol);
  record.size = Dword(bytes, kSize);
  record.hostAddress = Text(bytes, kHostAddress, kHostAddressUnits);
  record.ipAddress = Text(bytes, kIpAddress, kIpAddressUnits);
  record.portNumber = Dword(bytes, kPortNumber);
  return record;
}
