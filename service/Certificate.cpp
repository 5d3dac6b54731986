#include "Certificate.h"

#include <QFile>
#include <QFileInfo>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <memory>

namespace service {

namespace {

template <typename T, void (*F)(T *)>
struct Deleter {
    void operator()(T *p) const { F(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using CertPtr = std::unique_ptr<X509, Deleter<X509, X509_free>>;

bool AddExtension(X509 *cert, int nid, const char *value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext)
        return false;
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

bool WritePem(const QString &path, bool isKey, EVP_PKEY *key, X509 *cert)
{
    const QString tmp = path + QStringLiteral(".tmp");
    BIO *bio = BIO_new_file(QFile::encodeName(tmp).constData(), "w");
    if (!bio)
        return false;
    const bool ok = isKey ? PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr) == 1
                          : PEM_write_bio_X509(bio, cert) == 1;
    BIO_free(bio);
    if (!ok)
        return false;
    if (isKey)
        QFile::setPermissions(tmp, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(path);
    return QFile::rename(tmp, path);
}

} // namespace

bool EnsureSelfSignedCertificate(const QString &certPath, const QString &keyPath, QString *error)
{
    if (QFileInfo::exists(certPath) && QFileInfo::exists(keyPath))
        return true;

    KeyPtr key(EVP_EC_gen("P-256"));
    CertPtr cert(X509_new());
    if (!key || !cert) {
        *error = QStringLiteral("cannot make a key");
        return false;
    }
    X509_set_version(cert.get(), 2);
    BIGNUM *serial = BN_new();
    BN_rand(serial, 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY);
    BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert.get()));
    BN_free(serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_time_adj_ex(X509_getm_notAfter(cert.get()), 3650, 0, nullptr);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME *name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("Tarvelo reference service"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    if (!AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE")
        || !AddExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyCertSign")
        || !AddExtension(cert.get(), NID_ext_key_usage, "serverAuth")
        || !AddExtension(cert.get(), NID_subject_key_identifier, "hash")
        || !AddExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost")) {
        *error = QStringLiteral("cannot add the certificate extensions");
        return false;
    }
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) {
        *error = QStringLiteral("cannot sign the certificate");
        return false;
    }
    if (!WritePem(keyPath, true, key.get(), nullptr) || !WritePem(certPath, false, nullptr, cert.get())) {
        *error = QStringLiteral("cannot write %1 or %2").arg(certPath, keyPath);
        return false;
    }
    return true;
}

} // namespace service
