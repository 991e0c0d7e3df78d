#include "simulated/X509Certificate.h"

#include <openssl/asn1.h>
#include <openssl/objects.h>
#include <openssl/x509.h>

#include <climits>
#include <memory>

#include "base/WideText.h"

namespace {

struct X509Deleter {
  void operator()(X509* certificate) const { X509_free(certificate); }
};

struct OpenSslDeleter {
  void operator()(unsigned char* text) const { OPENSSL_free(text); }
};

}  // namespace

std::optional<X509Certificate> X509Certificate::ParseDer(const std::vector<uint8_t>& der) {
  if (der.empty() || der.size() > static_cast<size_t>(LONG_MAX)) return std::nullopt;
  const unsigned char* at = der.data();
  std::unique_ptr<X509, X509Deleter> certificate(d2i_X509(nullptr, &at, static_cast<long>(der.size())));
  // Bytes after the certificate make it something else.
  if (!certificate || at != der.data() + der.size()) return std::nullopt;

  X509Certificate result;
  const X509_NAME* subject = X509_get_subject_name(certificate.get());
  if (subject == nullptr || X509_get_issuer_name(certificate.get()) == nullptr) return std::nullopt;
  // The last common name of the subject is the most specific one.
  int last = -1;
  for (int index = X509_NAME_get_index_by_NID(subject, NID_commonName, -1); index >= 0;
       index = X509_NAME_get_index_by_NID(subject, NID_commonName, index)) {
    last = index;
  }
  if (last >= 0) {
    const ASN1_STRING* value = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, last));
    unsigned char* utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, value);
    std::unique_ptr<unsigned char, OpenSslDeleter> owned(utf8);
    if (length >= 0) {
      result.subjectCommonName =
          Utf8ToWide(std::string_view(reinterpret_cast<const char*>(utf8), static_cast<size_t>(length)));
    } else {
      // A string that does not convert (a damaged UTF8String) is shown as it stands.
      result.subjectCommonName = Utf8ToWide(std::string_view(
          reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)), static_cast<size_t>(ASN1_STRING_length(value))));
    }
  }
  return result;
}
