#include "engine/spooler/TcpIpPortData.h"

#include <cstring>

namespace {

template <size_t N>
bool CopyField(char16_t (&field)[N], const std::wstring& text) {
  if (text.size() >= N) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    // The field holds UTF-16 units; a 32-bit wchar_t (Linux) may carry more.
    if constexpr (sizeof(wchar_t) > 2) {
      if (static_cast<uint32_t>(text[i]) > 0xFFFF) return false;
    }
    field[i] = static_cast<char16_t>(text[i]);
  }
  return true;
}

}  // namespace

std::optional<TcpIpPortData> MakeTcpIpPortData(const std::wstring& portName, const std::wstring& hostAddress) {
  TcpIpPortData data;
  std::memset(&data, 0, sizeof data);
  if (!CopyField(data.portName, portName)) return std::nullopt;
  if (!CopyField(data.hostAddress, hostAddress)) return std::nullopt;
  if (!CopyField(data.ipAddress, hostAddress)) return std::nullopt;
  data.version = 1;
  data.protocol = 1;
  data.size = sizeof data;
  data.doubleSpool = 0;
  data.portNumber = 9100;
  data.snmpEnabled = 0;
  data.snmpDeviceIndex = 0;
  return data;
}

std::vector<uint8_t> TcpIpPortDataBytes(const TcpIpPortData& data) {
  std::vector<uint8_t> bytes(sizeof data);
  std::memcpy(bytes.data(), &data, sizeof data);
  return bytes;
}

std::wstring TcpIpPortText(const char16_t* field, size_t capacity) {
  std::wstring text;
  for (size_t i = 0; i < capacity && field[i] != 0; ++i) text += static_cast<wchar_t>(field[i]);
  return text;
}
