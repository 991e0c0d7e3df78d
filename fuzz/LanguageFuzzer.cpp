// The language loader and the resource index: the input is a language file and an index
// file in a package (the way the program reads them), and as XML text when it is text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "StoredZip.h"
#include "base/WideText.h"
#include "ui/core/ResourceManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const auto zip = fuzzing::StoredZip({{"lan_xx.xml", bytes}, {"res.xml", bytes}});
  auto& resources = ui::ResourceManager::Instance();
  resources.SetPackage(ResourcePackage::OpenFromMemory(zip.data(), zip.size()));
  resources.LoadLanguage(L"lan_xx.xml");
  resources.LoadResourceIndex("res.xml");
  resources.LayoutFileOf(L"XML_MAIN");
  resources.ImageFileOf(L"IMG_LOGO");
  resources.GetText(L"IDS_TITLE");
  if (size > 0 && data[0] == '<') {
    resources.LoadLanguage(Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size)));
  }
  resources.Terminate();
  return 0;
}
