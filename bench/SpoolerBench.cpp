// Figures for the spooler operations on a large simulated spooler, and for copying the
// largest driver entry out of the package next to `unzip -p` on the same archive.
// Run: build/linux/bench/SpoolerBench [--quick]
#include <minizip/zip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "BenchFigures.h"
#include "engine/CopyPackageEntry.h"
#include "engine/spooler/SpoolerOperations.h"
#include "simulated/ScratchMachine.h"
#include "ui/core/ResourceManager.h"

namespace {

using Clock = std::chrono::steady_clock;
bool quick = false;  // one size, one short batch, few copies

// Microseconds per call: the best of five batches of at least 40 ms each, so that other
// programs on the machine disturb the figure as little as possible.
double MicrosecondsPerCall(const std::function<void()>& call) {
  double best = 1e300;
  for (int batch = 0; batch < (quick ? 1 : 5); ++batch) {
    int calls = 0;
    const auto start = Clock::now();
    auto elapsed = Clock::duration::zero();
    while (elapsed < std::chrono::milliseconds(quick ? 5 : 40)) {
      call();
      ++calls;
      elapsed = Clock::now() - start;
    }
    best = std::min(best, std::chrono::duration<double, std::micro>(elapsed).count() / calls);
  }
  return best;
}

void SpoolerFigures() {
  std::printf("Spooler look-ups on the simulated machine (N printers and N ports besides the in-box ones)\n");
  std::printf("%8s %18s %18s %22s\n", "N", "ListPrinters us", "ListPorts us", "PrinterNameExists us");
  double first[3] = {0, 0, 0};
  double last[3] = {0, 0, 0};
  const std::vector<size_t> sizes = quick ? std::vector<size_t>{100} : std::vector<size_t>{100, 1000, 10000};
  for (size_t n : sizes) {
    const ScratchMachine scratch;
    scratch.Machine().PopulateForBenchmark(n, n);
    std::vector<SpoolerEntry> list;
    const std::wstring lastPrinter = L"Bench printer " + std::to_wstring(n - 1);
    const double figures[3] = {
        MicrosecondsPerCall([&] { ListPrinters(list); }),
        MicrosecondsPerCall([&] { ListPorts(list); }),
        MicrosecondsPerCall([&] { PrinterNameExists(lastPrinter); }),
    };
    std::printf("%8zu %18.1f %18.1f %22.1f\n", n, figures[0], figures[1], figures[2]);
    for (int i = 0; i < 3; ++i) {
      if (n == 100) first[i] = figures[i];
      last[i] = figures[i];
    }
  }
  if (sizes.size() > 1) {
    std::printf("growth from 100 to 10000 (100x the entries): %.0fx, %.0fx, %.0fx\n", last[0] / first[0],
                last[1] / first[1], last[2] / first[2]);
  }
  std::printf("\n");
}

// A 4 MiB entry about as compressible as a driver DLL: runs of text between random bytes.
std::vector<uint8_t> DllLikeBytes() {
  std::vector<uint8_t> bytes(kMaxPackageEntrySize);
  std::mt19937 random(20241022);
  const char text[] = "QuorvelA4 rendering plug-in, stand-in code section. ";
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = (i / 256) % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(text[i % (sizeof text - 1)]);
  }
  return bytes;
}

bool WriteArchive(const std::string& path, const std::vector<uint8_t>& bytes) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  zip_fileinfo info{};
  bool ok = zipOpenNewFileInZip(zip, "driver/a4/Driver64/big.dll", &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION) == ZIP_OK;
  ok = ok && zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK;
  ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

void CopyFigures() {
  const ScratchMachine scratch;
  const std::string archive = (scratch.Folder() / "bench.zip").string();
  if (!WriteArchive(archive, DllLikeBytes())) {
    std::printf("cannot write %s\n", archive.c_str());
    return;
  }
  std::ifstream in(archive, std::ios::binary);
  const std::vector<uint8_t> zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ui::ResourceManager::Instance().SetPackage(ResourcePackage::OpenFromMemory(zip.data(), zip.size()));

  const int kRounds = quick ? 2 : 20;
  const double megabytes = kRounds * kMaxPackageEntrySize / 1e6;
  std::wstring list;
  auto start = Clock::now();
  for (int i = 0; i < kRounds; ++i) {
    if (!CopyPackageEntry(L"driver\\a4\\Driver64\\big.dll", L"C:\\Windows\\Temp\\", list)) {
      std::printf("CopyPackageEntry failed\n");
      return;
    }
  }
  const double copySeconds = std::chrono::duration<double>(Clock::now() - start).count();

  const std::string target = scratch.Machine().HostPath(L"C:\\Windows\\Temp\\unzip.dll")->string();
  const std::string command = "unzip -p '" + archive + "' driver/a4/Driver64/big.dll > '" + target + "'";
  start = Clock::now();
  for (int i = 0; i < kRounds; ++i) {
    if (std::system(command.c_str()) != 0) {
      std::printf("unzip -p failed (is unzip installed?)\n");
      return;
    }
  }
  const double unzipSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("Copying a 4 MiB entry (%zu bytes, archive %zu bytes), %d rounds each\n", kMaxPackageEntrySize,
              zip.size(), kRounds);
  std::printf("  CopyPackageEntry: %7.1f MB/s (%.1f ms per copy)\n", megabytes / copySeconds,
              copySeconds * 1e3 / kRounds);
  std::printf("  unzip -p:         %7.1f MB/s (%.1f ms per run, process start included)\n", megabytes / unzipSeconds,
              unzipSeconds * 1e3 / kRounds);
  ui::ResourceManager::Instance().SetPackage(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  quick = bench::QuickMode(argc, argv);
  SpoolerFigures();
  CopyFigures();
  return 0;
}
