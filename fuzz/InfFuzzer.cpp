// The INF reader of the simulated printer-installation applet: parse, then ask what the
// applet asks of a driver INF for both models and both architectures.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulated/PrinterInfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto inf = PrinterInfFile::Parse(std::vector<uint8_t>(data, data + size));
  if (!inf) return 0;
  inf->IsPrinterInf();
  inf->Provider();
  inf->DriverVer();
  for (const wchar_t* model : {L"Quorvel-A4(203)", L"Quorvel-A4(300)", L""}) {
    for (const wchar_t* decoration : {L"NTamd64", L"NTx86"}) {
      const auto found = inf->FindModel(model, decoration);
      if (!found) continue;
      for (const auto& file : found->files) inf->SourceSubfolder(file);
    }
  }
  return 0;
}
