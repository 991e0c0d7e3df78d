#include "simulated/X509Certificate.h"

#include <algorithm>

#include "base/WideText.h"

namespace {

constexpr uint8_t kSequence = 0x30;
constexpr uint8_t kSet = 0x31;
constexpr uint8_t kInteger = 0x02;
constexpr uint8_t kBitString = 0x03;
constexpr uint8_t kObjectId = 0x06;
constexpr uint8_t kExplicitVersion = 0xA0;

struct Element {
  uint8_t tag = 0;
  const uint8_t* body = nullptr;
  size_t length = 0;
};

// Reads one DER element (definite lengths only) from [at, end) and moves past it.
std::optional<Element> Next(const uint8_t*& at, const uint8_t* end) {
  if (end - at < 2) return std::nullopt;
  Element element;
  element.tag = *at++;
  size_t length = *at++;
  if (length & 0x80) {
    const size_t count = length & 0x7F;
    if (count == 0 || count > 4 || static_cast<size_t>(end - at) < count) return std::nullopt;
    length = 0;
    for (size_t i = 0; i < count; ++i) length = (length << 8) | *at++;
  }
  if (static_cast<size_t>(end - at) < length) return std::nullopt;
  element.body = at;
  element.length = length;
  at += length;
  return element;
}

// The common name (2.5.4.3) of a Name: a sequence of sets of (type, value) pairs.
std::optional<std::wstring> CommonName(const Element& name) {
  std::wstring common;
  const uint8_t* at = name.body;
  const uint8_t* end = name.body + name.length;
  while (at < end) {
    const auto set = Next(at, end);
    if (!set || set->tag != kSet) return std::nullopt;
    const uint8_t* inSet = set->body;
    const uint8_t* setEnd = set->body + set->length;
    while (inSet < setEnd) {
      const auto pair = Next(inSet, setEnd);
      if (!pair || pair->tag != kSequence) return std::nullopt;
      const uint8_t* inPair = pair->body;
      const uint8_t* pairEnd = pair->body + pair->length;
      const auto type = Next(inPair, pairEnd);
      const auto value = Next(inPair, pairEnd);
      if (!type || !value || type->tag != kObjectId) return std::nullopt;
      static const uint8_t kCommonName[] = {0x55, 0x04, 0x03};
      if (type->length == 3 && std::equal(type->body, type->body + 3, kCommonName)) {
        common = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(value->body), value->length));
      }
    }
  }
  return common;
}

}  // namespace

std::optional<X509Certificate> X509Certificate::ParseDer(const std::vector<uint8_t>& der) {
  const uint8_t* at = der.data();
  const uint8_t* end = der.data() + der.size();
  const auto certificate = Next(at, end);
  if (!certificate || certificate->tag != kSequence || at != end) return std::nullopt;

  const uint8_t* inCertificate = certificate->body;
  const uint8_t* certificateEnd = certificate->body + certificate->length;
  const auto tbs = Next(inCertificate, certificateEnd);
  const auto algorithm = Next(inCertificate, certificateEnd);
  const auto signature = Next(inCertificate, certificateEnd);
  if (!tbs || !algorithm || !signature || inCertificate != certificateEnd) return std::nullopt;
  if (tbs->tag != kSequence || algorithm->tag != kSequence || signature->tag != kBitString) return std::nullopt;

  const uint8_t* inTbs = tbs->body;
  const uint8_t* tbsEnd = tbs->body + tbs->length;
  auto field = Next(inTbs, tbsEnd);
  if (field && field->tag == kExplicitVersion) field = Next(inTbs, tbsEnd);
  if (!field || field->tag != kInteger) return std::nullopt;  // serial number
  const auto signatureAlgorithm = Next(inTbs, tbsEnd);
  const auto issuer = Next(inTbs, tbsEnd);
  const auto validity = Next(inTbs, tbsEnd);
  const auto subject = Next(inTbs, tbsEnd);
  const auto publicKey = Next(inTbs, tbsEnd);
  for (const auto& part : {signatureAlgorithm, issuer, validity, subject, publicKey}) {
    if (!part || part->tag != kSequence) return std::nullopt;
  }
  const auto common = CommonName(*subject);
  if (!common || !CommonName(*issuer)) return std::nullopt;
  return X509Certificate{*common};
}
