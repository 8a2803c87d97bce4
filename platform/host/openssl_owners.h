#pragma once

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>

#include <cstdio>
#include <memory>

// One owner per OpenSSL object, freed by OpenSSL's own function for it.
template <auto Free>
struct OpenSslFreer {
  template <typename T>
  void operator()(T* object) const {
    Free(object);
  }
};
using UniqueKey = std::unique_ptr<EVP_PKEY, OpenSslFreer<EVP_PKEY_free>>;
using UniqueKeyContext = std::unique_ptr<EVP_PKEY_CTX, OpenSslFreer<EVP_PKEY_CTX_free>>;
using UniqueDigestContext = std::unique_ptr<EVP_MD_CTX, OpenSslFreer<EVP_MD_CTX_free>>;
using UniqueSignature = std::unique_ptr<ECDSA_SIG, OpenSslFreer<ECDSA_SIG_free>>;
using UniqueNumber = std::unique_ptr<BIGNUM, OpenSslFreer<BN_free>>;
