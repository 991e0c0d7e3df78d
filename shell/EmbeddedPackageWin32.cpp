#include <windows.h>

#include "shell/EmbeddedPackage.h"

std::shared_ptr<ResourcePackage> OpenEmbeddedPackage() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(129), L"ZIPRES");
  if (info == nullptr) return nullptr;
  std::shared_ptr<ResourcePackage> package;
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  if (loaded != nullptr && size != 0) {
    if (const void* bytes = LockResource(loaded)) package = ResourcePackage::OpenFromMemory(bytes, size);
  }
  // The archive keeps its own copy, so the resource is released at once.
  if (loaded != nullptr) FreeResource(loaded);
  return package;
}

std::vector<uint8_t> CopyEmbeddedPackageBytes() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(129), L"ZIPRES");
  if (info == nullptr) return {};
  std::vector<uint8_t> bytes;
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  if (loaded != nullptr && size != 0) {
    if (const auto* data = static_cast<const uint8_t*>(LockResource(loaded))) bytes.assign(data, data + size);
  }
  if (loaded != nullptr) FreeResource(loaded);
  return bytes;
}
