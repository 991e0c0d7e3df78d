// Just enough of an X.509 certificate in DER form to tell a certificate from other
// bytes and to name it: the certificate is decoded, the subject's common name read.
//
// Threads: a value; no shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct X509Certificate {
  std::wstring subjectCommonName;  // empty when the subject has none

  // Nothing unless the bytes are exactly one well-formed DER certificate.
  static std::optional<X509Certificate> ParseDer(const std::vector<uint8_t>& der);
};
