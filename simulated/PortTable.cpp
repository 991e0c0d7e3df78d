#include "simulated/PortTable.h"

#include "base/WideText.h"

PortTable::PortTable(const PortTable& other) {
  for (const auto& port : other) Add(port);
}

PortTable& PortTable::operator=(const PortTable& other) {
  if (this != &other) {
    Clear();
    for (const auto& port : other) Add(port);
  }
  return *this;
}

const SimulatedPort* PortTable::Find(std::wstring_view name) const {
  const auto it = index_.find(ToLowerUnits(name));
  return it == index_.end() ? nullptr : &*it->second;
}

bool PortTable::SetHostAddress(std::wstring_view name, std::wstring hostAddress) {
  const auto it = index_.find(ToLowerUnits(name));
  if (it == index_.end()) return false;
  it->second->hostAddress = std::move(hostAddress);
  return true;
}

bool PortTable::Add(SimulatedPort port) {
  std::wstring key = ToLowerUnits(port.name);
  if (index_.count(key)) return false;
  ports_.push_back(std::move(port));
  index_.emplace(std::move(key), std::prev(ports_.end()));
  return true;
}

bool PortTable::Erase(std::wstring_view name) {
  const auto it = index_.find(ToLowerUnits(name));
  if (it == index_.end()) return false;
  ports_.erase(it->second);
  index_.erase(it);
  return true;
}

void PortTable::Clear() {
  ports_.clear();
  index_.clear();
}
