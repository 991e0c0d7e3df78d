#include "base/ResourcePackage.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

namespace {

// minizip reads the archive through these functions from our private copy.
struct MemoryStream {
  const std::vector<uint8_t>* bytes = nullptr;
  uint64_t position = 0;
};

voidpf ZCALLBACK MemOpen(voidpf opaque, const void* /*name*/, int /*mode*/) {
  auto* stream = new MemoryStream{static_cast<const std::vector<uint8_t>*>(opaque), 0};
  return stream;
}

uLong ZCALLBACK MemRead(voidpf /*opaque*/, voidpf handle, void* buf, uLong size) {
  auto* s = static_cast<MemoryStream*>(handle);
  const uint64_t left = s->bytes->size() - std::min<uint64_t>(s->position, s->bytes->size());
  const uLong n = static_cast<uLong>(std::min<uint64_t>(left, size));
  if (n > 0) std::memcpy(buf, s->bytes->data() + s->position, n);
  s->position += n;
  return n;
}

uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T ZCALLBACK MemTell(voidpf /*opaque*/, voidpf handle) {
  return static_cast<MemoryStream*>(handle)->position;
}

long ZCALLBACK MemSeek(voidpf /*opaque*/, voidpf handle, ZPOS64_T offset, int origin) {
  auto* s = static_cast<MemoryStream*>(handle);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
      base = 0;
      break;
    case ZLIB_FILEFUNC_SEEK_CUR:
      base = s->position;
      break;
    case ZLIB_FILEFUNC_SEEK_END:
      base = s->bytes->size();
      break;
    default:
      return -1;
  }
  if (base + offset > s->bytes->size()) return -1;
  s->position = base + offset;
  return 0;
}

int ZCALLBACK MemClose(voidpf /*opaque*/, voidpf handle) {
  delete static_cast<MemoryStream*>(handle);
  return 0;
}

int ZCALLBACK MemError(voidpf, voidpf) {
  return 0;
}

}  // namespace

struct ResourcePackage::Archive {
  unzFile file = nullptr;
  ~Archive() {
    if (file) unzClose(file);
  }
};

std::shared_ptr<ResourcePackage> ResourcePackage::OpenFromMemory(const void* data, size_t size) {
  if (data == nullptr || size == 0) return nullptr;
  std::shared_ptr<ResourcePackage> package(new ResourcePackage());
  const auto* begin = static_cast<const uint8_t*>(data);
  package->bytes_.assign(begin, begin + size);

  zlib_filefunc64_def io{};
  io.zopen64_file = MemOpen;
  io.zread_file = MemRead;
  io.zwrite_file = MemWrite;
  io.ztell64_file = MemTell;
  io.zseek64_file = MemSeek;
  io.zclose_file = MemClose;
  io.zerror_file = MemError;
  io.opaque = &package->bytes_;

  package->archive_ = std::make_unique<Archive>();
  package->archive_->file = unzOpen2_64(kArchiveName, &io);
  if (package->archive_->file == nullptr) return nullptr;
  return package;
}

ResourcePackage::~ResourcePackage() = default;

std::optional<uint64_t> ResourcePackage::EntrySize(std::string_view name) const {
  std::lock_guard guard(lock_);
  const std::string key(name);
  if (unzLocateFile(archive_->file, key.c_str(), 2) != UNZ_OK) return std::nullopt;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(archive_->file, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return std::nullopt;
  return info.uncompressed_size;
}

std::optional<std::vector<uint8_t>> ResourcePackage::ReadEntry(std::string_view name, uint64_t maxSize) const {
  std::lock_guard guard(lock_);
  const std::string key(name);
  unzFile zip = archive_->file;
  if (unzLocateFile(zip, key.c_str(), 2) != UNZ_OK) return std::nullopt;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return std::nullopt;
  if (info.uncompressed_size > maxSize || info.uncompressed_size > UINT32_MAX) return std::nullopt;
  if (unzOpenCurrentFile(zip) != UNZ_OK) return std::nullopt;
  // The size is only what the archive claims: the buffer grows with the bytes that really
  // arrive, so a damaged entry claiming gigabytes cannot make us allocate them up front.
  const auto size = static_cast<size_t>(info.uncompressed_size);
  std::vector<uint8_t> out;
  size_t done = 0;
  bool ok = true;
  while (done < size) {
    out.resize(done + std::min<size_t>(size - done, 1u << 20));
    const int n = unzReadCurrentFile(zip, out.data() + done, static_cast<unsigned>(out.size() - done));
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  // Closing checks the CRC of what was read.
  if (unzCloseCurrentFile(zip) != UNZ_OK) ok = false;
  if (!ok) return std::nullopt;
  return out;
}

std::vector<std::string> ResourcePackage::EntryNames() const {
  std::lock_guard guard(lock_);
  std::vector<std::string> names;
  unzFile zip = archive_->file;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    char name[1024];
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK)
      names.emplace_back(name);
  }
  return names;
}
