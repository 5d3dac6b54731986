#pragma once
// Encryption of the stored credentials (the service user name and password in the settings
// file and in the users table).
//
// A key is derived from the MD5 hash of a pass phrase (40 bits, no salt) and the text is
// encrypted with RC2 (type 1) or RC4 (type 2). Texts become bytes as UTF-8 (plain ASCII gives
// the same bytes as ever); an encrypted text holds one character per cipher byte, each with
// the byte's value as its code (0 to 255, NUL included), so that it can be stored as text.
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace pcrypto { class Context; }

// The pass phrase every stored credential is encrypted with.
inline const QString CryptoPassPhrase = QStringLiteral("Grey cats nap under a table");

// An error raised to the caller of CCrypto, with its number, description and source.
class CCryptoError : public std::runtime_error {
public:
    CCryptoError(int32_t number, const QString &description, const QString &source);
    int32_t Number() const { return m_number; }
    const QString &Description() const { return m_description; }
    const QString &Source() const { return m_source; }

private:
    int32_t m_number;
    QString m_description;
    QString m_source;
};

class CCrypto {
public:
    // Encryption types.
    enum : int32_t { TypeRC2 = 1, TypeRC4 = 2 };

    // Error numbers: the object-error base 0x80040000 plus an offset.
    static constexpr int32_t ObjectErrorBase = static_cast<int32_t>(0x80040000u);
    enum : int32_t {
        ErrAcquireContext = ObjectErrorBase + 1056,   // "Could not acquire context"
        ErrCreateHash = ObjectErrorBase + 1057,       // (kept inside EncryptDecrypt)
        ErrHashData = ObjectErrorBase + 1058,
        ErrDeriveKey = ObjectErrorBase + 1059,
        ErrEncrypt = ObjectErrorBase + 1060,
        ErrBadHex = ObjectErrorBase + 1062,           // "Not a valid hex string"
        ErrMissingArgument = ObjectErrorBase + 1063,  // "Both a string and a key are required"
        ErrBadType = ObjectErrorBase + 1064           // "Invalid encryption type specified"
    };

    // Loads the algorithms; throws CCryptoError ErrAcquireContext when that fails.
    CCrypto();
    ~CCrypto();
    CCrypto(const CCrypto &) = delete;
    CCrypto &operator=(const CCrypto &) = delete;

    // The encrypted text, or its hexadecimal form when outputHex is set. Throws CCryptoError
    // ErrBadType (type not 1 or 2, tested first) and ErrMissingArgument (empty text or key).
    // A failure of the cipher itself gives an empty text.
    QString Encrypt(const QString &text, const QString &key, bool outputHex, int32_t encType);

    // The plain text of an encrypted text (given in hexadecimal form when inputHex is set).
    // Throws as Encrypt does, and ErrBadHex for a malformed hexadecimal form. A text that does
    // not decrypt with this key and type gives an empty text.
    QString Decrypt(const QString &text, const QString &key, bool inputHex, int32_t encType);

    // Every character as two upper-case hexadecimal digits of its code, no separators
    // (characters beyond 255 have no single-byte code and are written as "3F", a question mark).
    static QString ConvertStringToHex(const QString &text);
    // The reverse; throws CCryptoError ErrBadHex for an odd length or any character other
    // than 0-9 and A-F (lower case is refused).
    static QString ConvertStringFromHex(const QString &hex);

private:
    QString EncryptDecrypt(const QString &text, const QString &key, bool encrypt, int32_t encType);

    std::unique_ptr<pcrypto::Context> m_provider;
};
