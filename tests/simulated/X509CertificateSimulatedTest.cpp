// The certificate tool's reader: certificates made here with OpenSSL, named by the last
// common name of their subject; anything but exactly one certificate is refused.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <vector>

#include "simulated/X509Certificate.h"

namespace {

struct KeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateDeleter {
  void operator()(X509* certificate) const { X509_free(certificate); }
};

// A self-signed certificate whose subject holds these (type, value) common names.
std::vector<uint8_t> MakeCertificate(const std::vector<std::pair<int, std::string>>& commonNames) {
  std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, CertificateDeleter> certificate(X509_new());
  X509_set_version(certificate.get(), X509_VERSION_3);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 7);
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), 0);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 3600);
  X509_NAME* name = X509_get_subject_name(certificate.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>("Vexlomar"), -1, -1, 0);
  for (const auto& [type, value] : commonNames) {
    X509_NAME_add_entry_by_txt(name, "CN", type, reinterpret_cast<const unsigned char*>(value.data()),
                               static_cast<int>(value.size()), -1, 0);
  }
  X509_set_issuer_name(certificate.get(), name);
  X509_set_pubkey(certificate.get(), key.get());
  X509_sign(certificate.get(), key.get(), EVP_sha256());
  unsigned char* der = nullptr;
  const int length = i2d_X509(certificate.get(), &der);
  std::vector<uint8_t> bytes(der, der + (length > 0 ? length : 0));
  OPENSSL_free(der);
  return bytes;
}

TEST(X509Certificate, TheLastCommonNameOfTheSubjectNamesIt) {
  const auto plain = X509Certificate::ParseDer(MakeCertificate({{MBSTRING_ASC, "Vexlomar Printer Driver Publisher"}}));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->subjectCommonName, L"Vexlomar Printer Driver Publisher");

  const auto two = X509Certificate::ParseDer(MakeCertificate({{MBSTRING_ASC, "First"}, {MBSTRING_UTF8, "Drückerei"}}));
  ASSERT_TRUE(two);
  EXPECT_EQ(two->subjectCommonName, L"Drückerei");

  // A BMPString holds UTF-16: read as text, not as its raw bytes.
  const std::string utf16be("\0D\0r\0u\0c\0k", 10);
  const auto wide = X509Certificate::ParseDer(MakeCertificate({{V_ASN1_BMPSTRING, utf16be}}));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->subjectCommonName, L"Druck");

  const auto none = X509Certificate::ParseDer(MakeCertificate({}));
  ASSERT_TRUE(none);
  EXPECT_EQ(none->subjectCommonName, L"");
}

TEST(X509Certificate, OnlyExactlyOneCertificateIsTaken) {
  const std::vector<uint8_t> good = MakeCertificate({{MBSTRING_ASC, "Publisher"}});
  ASSERT_TRUE(X509Certificate::ParseDer(good));

  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_FALSE(X509Certificate::ParseDer(trailing));
  EXPECT_FALSE(X509Certificate::ParseDer(std::vector<uint8_t>(good.begin(), good.end() - 1)));
  EXPECT_FALSE(X509Certificate::ParseDer({}));
  const std::string inf = "[Version]\r\nSignature=\"$Windows NT$\"\r\n";
  EXPECT_FALSE(X509Certificate::ParseDer(std::vector<uint8_t>(inf.begin(), inf.end())));
  // A sequence that claims more bytes than there are.
  EXPECT_FALSE(X509Certificate::ParseDer({0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0x30, 0x00}));
}

}  // namespace
