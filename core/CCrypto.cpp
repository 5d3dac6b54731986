#include "core/CCrypto.h"

#include "platform/crypto/Crypto.h"

#include <QStringDecoder>

namespace {

const QString kSourceInit = QStringLiteral("Lintavo.CCrypto.Class_Initialize");
const QString kSourceHex = QStringLiteral("Lintavo.CCrypto.ConvertStringFromHex");
const QString kSourceEncrypt = QStringLiteral("Lintavo.CCrypto.Encrypt");
const QString kSourceDecrypt = QStringLiteral("Lintavo.CCrypto.Decrypt");

void CheckArguments(const QString &text, const QString &key, int32_t encType, const QString &source)
{
    if (encType != CCrypto::TypeRC2 && encType != CCrypto::TypeRC4)
        throw CCryptoError(CCrypto::ErrBadType, QStringLiteral("Invalid encryption type specified"), source);
    if (text.isEmpty() || key.isEmpty())
        throw CCryptoError(CCrypto::ErrMissingArgument,
                           QStringLiteral("Both a string and a key are required"), source);
}

// Cipher text characters carry the byte values themselves; anything above 255 cannot have
// come from a cipher.
bool CharsToBytes(const QString &text, QByteArray &bytes)
{
    bytes.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c > 0xFF)
            return false;
        bytes[i] = static_cast<char>(c);
    }
    return true;
}

// Plain texts are stored as UTF-8. A text encrypted by an older installation in a single-byte
// code page is not valid UTF-8: it is read one character per byte rather than mangled.
QString PlainFromBytes(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

} // namespace

CCryptoError::CCryptoError(int32_t number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description),
      m_source(source)
{
}

CCrypto::CCrypto()
{
    m_provider = pcrypto::Context::Acquire();
    if (!m_provider)
        throw CCryptoError(ErrAcquireContext, QStringLiteral("Could not acquire context"), kSourceInit);
}

CCrypto::~CCrypto() = default;

QString CCrypto::Encrypt(const QString &text, const QString &key, bool outputHex, int32_t encType)
{
    CheckArguments(text, key, encType, kSourceEncrypt);
    QString result = EncryptDecrypt(text, key, true, encType);
    if (outputHex)
        result = ConvertStringToHex(result);
    return result;
}

QString CCrypto::Decrypt(const QString &text, const QString &key, bool inputHex, int32_t encType)
{
    CheckArguments(text, key, encType, kSourceDecrypt);
    const QString cipher = inputHex ? ConvertStringFromHex(text) : text;
    return EncryptDecrypt(cipher, key, false, encType);
}

QString CCrypto::EncryptDecrypt(const QString &text, const QString &key, bool encrypt, int32_t encType)
{
    // Any failure of the cipher steps gives an empty result and is not reported.
    std::unique_ptr<pcrypto::Hash> hash = m_provider->CreateHash(pcrypto::Algorithm::MD5);
    if (!hash || !hash->HashData(key.toUtf8()))
        return {};
    std::unique_ptr<pcrypto::Key> cipherKey = hash->DeriveKey(
        encType == TypeRC2 ? pcrypto::Algorithm::RC2 : pcrypto::Algorithm::RC4);
    if (!cipherKey)
        return {};

    if (encrypt) {
        QByteArray buffer = text.toUtf8();
        const int n = static_cast<int>(buffer.size());
        buffer.append(cipherKey->EncryptedLength(n) - n, ' ');
        if (!cipherKey->Encrypt(buffer, n))
            return {};
        return QString::fromLatin1(buffer);
    }

    QByteArray buffer;
    if (!CharsToBytes(text, buffer) || !cipherKey->Decrypt(buffer))
        return {};
    return PlainFromBytes(buffer);
}

QString CCrypto::ConvertStringToHex(const QString &text)
{
    QString hex;
    hex.reserve(text.size() * 2);
    for (QChar c : text) {
        const unsigned code = c.unicode() <= 0xFF ? c.unicode() : 0x3Fu;
        hex += QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
    }
    return hex;
}

QString CCrypto::ConvertStringFromHex(const QString &hex)
{
    const auto bad = [] {
        return CCryptoError(ErrBadHex, QStringLiteral("Not a valid hex string"), kSourceHex);
    };
    if (hex.size() % 2 != 0)
        throw bad();
    for (QChar c : hex) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            throw bad();
    }
    QString text;
    text.reserve(hex.size() / 2);
    for (qsizetype i = 0; i < hex.size(); i += 2)
        text += QChar(static_cast<char16_t>(hex.mid(i, 2).toUInt(nullptr, 16)));
    return text;
}
