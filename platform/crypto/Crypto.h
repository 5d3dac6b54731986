#pragma once
// Symmetric encryption of short texts the way the program has always done it: a key derived
// from the MD5 hash of a pass phrase, RC2 or RC4, 40-bit keys without salt.
//
// The pieces follow the usual provider model: a Context (the loaded algorithms), a Hash made
// from it, and a Key derived from the hash. Without salt the 40-bit key is the first 5 bytes of
// the MD5 hash; RC2 runs in CBC mode with 40 effective key bits, a zero IV and PKCS#5 block
// padding; RC4 uses the same 5 bytes. Only this folder touches OpenSSL.
#include <QByteArray>
#include <memory>

namespace pcrypto {

// Algorithm identifiers, with the values the old provider used for them.
enum class Algorithm : unsigned { MD5 = 0x8003, RC2 = 0x6602, RC4 = 0x6801 };

class Hash;
class Key;

// A private OpenSSL library context with the "legacy" and "default" providers loaded, and the
// MD5, RC2-CBC and RC4 implementations fetched from it.
class Context {
public:
    // Null when the providers or algorithms cannot be loaded.
    static std::unique_ptr<Context> Acquire();
    ~Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    // A new MD5 hash object; null on failure (only MD5 is offered).
    std::unique_ptr<Hash> CreateHash(Algorithm alg);

    struct Impl;
private:
    explicit Context(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
    friend class Hash;
    friend class Key;
};

class Hash {
public:
    ~Hash();
    Hash(const Hash &) = delete;
    Hash &operator=(const Hash &) = delete;

    // Adds bytes to the hash; false once the value has been read for a key.
    bool HashData(const QByteArray &data);
    // The 16-byte digest (finishes the hash; later HashData calls fail).
    QByteArray Value();

    // Derives a 40-bit key without salt for RC2 or RC4; null on failure.
    std::unique_ptr<Key> DeriveKey(Algorithm alg);

private:
    friend class Context;
    Hash(Context &ctx, void *mdctx);
    Context &m_ctx;
    void *m_mdctx;          // EVP_MD_CTX
    QByteArray m_value;
    bool m_final = false;
};

class Key {
public:
    ~Key();
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;

    Algorithm algorithm() const { return m_alg; }
    // The 5 key bytes.
    const QByteArray &bytes() const { return m_key; }

    // Bytes needed to encrypt dataLen bytes as one final block: for RC2 the next multiple of
    // 8 above dataLen (padding always adds 1 to 8 bytes), for RC4 dataLen itself.
    int EncryptedLength(int dataLen) const;

    // Encrypts the first dataLen bytes of buffer in place as a whole message. buffer is
    // resized to the cipher length. False on failure (buffer then unchanged).
    bool Encrypt(QByteArray &buffer, int dataLen);

    // Decrypts buffer in place as a whole message and shortens it to the plain length. False
    // when the data is not a valid cipher text for this key (wrong length or padding); buffer
    // is then unchanged.
    bool Decrypt(QByteArray &buffer);

private:
    friend class Hash;
    Key(Context &ctx, Algorithm alg, QByteArray key);
    bool Run(QByteArray &buffer, int dataLen, bool encrypt);
    Context &m_ctx;
    Algorithm m_alg;
    QByteArray m_key;
};

} // namespace pcrypto
