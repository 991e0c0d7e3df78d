// The spooler's ports in the order they were added, found by name without regard to
// letter case (as Windows compares port names).
//
// Threads: not locked; SimulatedMachine guards it.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

struct SimulatedPort {
  std::wstring name;
  std::wstring description;
  std::wstring monitor;
  std::wstring hostAddress;  // Standard TCP/IP ports only
  uint32_t portNumber = 0;
  uint32_t protocol = 0;  // 1 raw, 2 LPR
};

class PortTable {
 public:
  using const_iterator = std::list<SimulatedPort>::const_iterator;

  PortTable() = default;
  // A copy gets its own index into its own list.
  PortTable(const PortTable& other);
  PortTable& operator=(const PortTable& other);
  PortTable(PortTable&&) noexcept = default;
  PortTable& operator=(PortTable&&) noexcept = default;

  const SimulatedPort* Find(std::wstring_view name) const;
  // A Standard TCP/IP port's new host, keeping its place; false for an unknown port.
  bool SetHostAddress(std::wstring_view name, std::wstring hostAddress);
  // False when a port of that name (in any letter case) exists.
  bool Add(SimulatedPort port);
  bool Erase(std::wstring_view name);
  void Clear();

  size_t size() const { return ports_.size(); }
  const_iterator begin() const { return ports_.begin(); }
  const_iterator end() const { return ports_.end(); }

 private:
  std::list<SimulatedPort> ports_;
  std::unordered_map<std::wstring, std::list<SimulatedPort>::iterator> index_;
};
