#include "platform/crypto/Crypto.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <array>

namespace pcrypto {

struct Context::Impl {
    OSSL_LIB_CTX *lib = nullptr;
    OSSL_PROVIDER *legacy = nullptr;
    OSSL_PROVIDER *deflt = nullptr;
    EVP_MD *md5 = nullptr;
    EVP_CIPHER *rc2 = nullptr;
    EVP_CIPHER *rc4 = nullptr;

    ~Impl()
    {
        EVP_CIPHER_free(rc4);
        EVP_CIPHER_free(rc2);
        EVP_MD_free(md5);
        if (deflt)
            OSSL_PROVIDER_unload(deflt);
        if (legacy)
            OSSL_PROVIDER_unload(legacy);
        OSSL_LIB_CTX_free(lib);
    }
};

namespace {
constexpr int kKeyBytes = 5;    // 40 bits, the provider's default key length
constexpr int kRc2Block = 8;
}

Context::Context(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Context::~Context() = default;

std::unique_ptr<Context> Context::Acquire()
{
    auto impl = std::make_unique<Impl>();
    // RC2 and RC4 exist only in the legacy provider; a private library context keeps the
    // rest of the program's OpenSSL users (libcurl) on the ordinary default context.
    impl->lib = OSSL_LIB_CTX_new();
    if (!impl->lib)
        return nullptr;
    impl->legacy = OSSL_PROVIDER_load(impl->lib, "legacy");
    impl->deflt = OSSL_PROVIDER_load(impl->lib, "default");
    if (!impl->legacy || !impl->deflt)
        return nullptr;
    impl->md5 = EVP_MD_fetch(impl->lib, "MD5", nullptr);
    impl->rc2 = EVP_CIPHER_fetch(impl->lib, "RC2-CBC", nullptr);
    impl->rc4 = EVP_CIPHER_fetch(impl->lib, "RC4", nullptr);
    if (!impl->md5 || !impl->rc2 || !impl->rc4)
        return nullptr;
    return std::unique_ptr<Context>(new Context(std::move(impl)));
}

std::unique_ptr<Hash> Context::CreateHash(Algorithm alg)
{
    if (alg != Algorithm::MD5)
        return nullptr;
    EVP_MD_CTX *mdctx = EVP_MD_CTX_new();
    if (!mdctx)
        return nullptr;
    if (EVP_DigestInit_ex2(mdctx, d->md5, nullptr) != 1) {
        EVP_MD_CTX_free(mdctx);
        return nullptr;
    }
    return std::unique_ptr<Hash>(new Hash(*this, mdctx));
}

// ---- Hash ---------------------------------------------------------------------------------

Hash::Hash(Context &ctx, void *mdctx) : m_ctx(ctx), m_mdctx(mdctx) {}

Hash::~Hash()
{
    EVP_MD_CTX_free(static_cast<EVP_MD_CTX *>(m_mdctx));
}

bool Hash::HashData(const QByteArray &data)
{
    if (m_final)
        return false;
    return EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(m_mdctx), data.constData(),
                            static_cast<size_t>(data.size())) == 1;
}

QByteArray Hash::Value()
{
    if (!m_final) {
        std::array<unsigned char, EVP_MAX_MD_SIZE> out{};
        unsigned int len = 0;
        if (EVP_DigestFinal_ex(static_cast<EVP_MD_CTX *>(m_mdctx), out.data(), &len) == 1)
            m_value = QByteArray(reinterpret_cast<const char *>(out.data()), static_cast<int>(len));
        m_final = true;
    }
    return m_value;
}

std::unique_ptr<Key> Hash::DeriveKey(Algorithm alg)
{
    if (alg != Algorithm::RC2 && alg != Algorithm::RC4)
        return nullptr;
    const QByteArray digest = Value();
    if (digest.size() < kKeyBytes)
        return nullptr;
    // No salt: the key is the leading 40 bits of the digest, nothing appended.
    return std::unique_ptr<Key>(new Key(m_ctx, alg, digest.left(kKeyBytes)));
}

// ---- Key ----------------------------------------------------------------------------------

Key::Key(Context &ctx, Algorithm alg, QByteArray key) : m_ctx(ctx), m_alg(alg), m_key(std::move(key)) {}
Key::~Key() = default;

int Key::EncryptedLength(int dataLen) const
{
    if (dataLen < 0)
        return 0;
    if (m_alg == Algorithm::RC2)
        return (dataLen / kRc2Block + 1) * kRc2Block;
    return dataLen;
}

bool Key::Encrypt(QByteArray &buffer, int dataLen)
{
    if (dataLen < 0 || dataLen > buffer.size())
        return false;
    return Run(buffer, dataLen, true);
}

bool Key::Decrypt(QByteArray &buffer)
{
    if (m_alg == Algorithm::RC2 && (buffer.isEmpty() || buffer.size() % kRc2Block != 0))
        return false;
    return Run(buffer, static_cast<int>(buffer.size()), false);
}

bool Key::Run(QByteArray &buffer, int dataLen, bool encrypt)
{
    EVP_CIPHER *cipher = m_alg == Algorithm::RC2 ? m_ctx.d->rc2 : m_ctx.d->rc4;
    EVP_CIPHER_CTX *cctx = EVP_CIPHER_CTX_new();
    if (!cctx)
        return false;
    const int enc = encrypt ? 1 : 0;
    const unsigned char zeroIv[EVP_MAX_IV_LENGTH] = {};
    QByteArray out(dataLen + kRc2Block, '\0');
    int len1 = 0;
    int len2 = 0;
    // The key length and RC2's effective bits must be set before the key itself.
    bool ok = EVP_CipherInit_ex2(cctx, cipher, nullptr, nullptr, enc, nullptr) == 1
              && EVP_CIPHER_CTX_set_key_length(cctx, kKeyBytes) == 1
              && (m_alg != Algorithm::RC2
                  || EVP_CIPHER_CTX_ctrl(cctx, EVP_CTRL_SET_RC2_KEY_BITS, kKeyBytes * 8, nullptr) == 1)
              && EVP_CipherInit_ex2(cctx, nullptr,
                                    reinterpret_cast<const unsigned char *>(m_key.constData()),
                                    m_alg == Algorithm::RC2 ? zeroIv : nullptr, enc, nullptr) == 1
              && EVP_CipherUpdate(cctx, reinterpret_cast<unsigned char *>(out.data()), &len1,
                                  reinterpret_cast<const unsigned char *>(buffer.constData()),
                                  dataLen) == 1
              && EVP_CipherFinal_ex(cctx, reinterpret_cast<unsigned char *>(out.data()) + len1,
                                    &len2) == 1;
    EVP_CIPHER_CTX_free(cctx);
    if (!ok)
        return false;
    out.truncate(len1 + len2);
    buffer = out;
    return true;
}

} // namespace pcrypto
