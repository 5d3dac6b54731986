#include "core/CCrypto.h"
#include "platform/crypto/Crypto.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kPhrase = CryptoPassPhrase;

// Runs f and returns the CCryptoError it throws (fails the test when it throws nothing).
CCryptoError Raised(const std::function<void()> &f)
{
    try {
        f();
    } catch (const CCryptoError &e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return CCryptoError(0, {}, {});
}

QString Chars(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(static_cast<char16_t>(c));
    return s;
}

class CryptoTest : public ::testing::Test {
protected:
    CCrypto crypto;
};

// Cipher bytes computed independently with the OpenSSL command line (key: the first 5 bytes of
// the MD5 of the pass phrase, zero IV):
//   K=$(printf 'Grey cats nap under a table' | openssl md5 -r | cut -c1-10)     # e5696bb96b
//   P="-provider legacy -provider default"
//   printf 'Tarvelo'  | openssl enc -rc2-40-cbc -K $K -iv 0000000000000000 $P | xxd -p
//   printf 'secret12' | openssl enc -rc2-40-cbc -K $K -iv 0000000000000000 $P | xxd -p
//   printf 'Tarvelo'  | openssl enc -rc4-40 -K $K $P | xxd -p
TEST_F(CryptoTest, KnownCipherBytesForEachType)
{
    struct Case { QString plain; int32_t type; QString hex; };
    const Case cases[] = {
        {"Tarvelo", CCrypto::TypeRC2, "E996100CC92716CC"},
        {"secret12", CCrypto::TypeRC2, "DE260C6FE68B1803A57076CAEAEC4F86"},
        {"Tarvelo", CCrypto::TypeRC4, "625CE0C08E8C84"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.plain.toStdString() + " type " + std::to_string(c.type));
        EXPECT_EQ(crypto.Encrypt(c.plain, kPhrase, true, c.type), c.hex);
        // Without the hexadecimal form: one character per cipher byte, with the byte's code.
        const QString raw = crypto.Encrypt(c.plain, kPhrase, false, c.type);
        EXPECT_EQ(raw, QString::fromLatin1(QByteArray::fromHex(c.hex.toLatin1())));
        EXPECT_EQ(crypto.Decrypt(c.hex, kPhrase, true, c.type), c.plain);
    }
}

TEST(CryptoLayer, KeyIsTheFirstFiveBytesOfTheMd5WithoutSalt)
{
    auto ctx = pcrypto::Context::Acquire();
    ASSERT_TRUE(ctx);
    auto hash = ctx->CreateHash(pcrypto::Algorithm::MD5);
    ASSERT_TRUE(hash);
    ASSERT_TRUE(hash->HashData(kPhrase.toLatin1()));
    auto key = hash->DeriveKey(pcrypto::Algorithm::RC2);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->bytes().toHex(), QByteArray("e5696bb96b"));
    EXPECT_EQ(key->EncryptedLength(0), 8);
    EXPECT_EQ(key->EncryptedLength(7), 8);
    EXPECT_EQ(key->EncryptedLength(8), 16);
    EXPECT_FALSE(ctx->CreateHash(pcrypto::Algorithm::RC4));
}

TEST_F(CryptoTest, RoundTripsAsciiAccentedAndGreekWithBothTypes)
{
    const QString texts[] = {
        QStringLiteral("jsmith@example.org"),
        QStringLiteral("p4ss w0rd;,=\"'"),
        QStringLiteral("Café crème, déjà vu, Größe"),
        QStringLiteral("Καλημέρα κόσμε"),
        QStringLiteral("x"),
        QString(QChar(0)) + QStringLiteral("nul inside") + QChar(0),
    };
    for (int32_t type : {CCrypto::TypeRC2, CCrypto::TypeRC4}) {
        for (const QString &plain : texts) {
            SCOPED_TRACE(plain.toStdString() + " type " + std::to_string(type));
            const QString cipher = crypto.Encrypt(plain, kPhrase, false, type);
            const qsizetype bytes = plain.toUtf8().size();
            // RC2 pads to the next whole block (always at least one byte); RC4 keeps the length.
            EXPECT_EQ(cipher.size(), type == CCrypto::TypeRC2 ? (bytes / 8 + 1) * 8 : bytes);
            for (QChar c : cipher)
                ASSERT_LE(c.unicode(), 0xFF);
            EXPECT_EQ(crypto.Decrypt(cipher, kPhrase, false, type), plain);
            const QString hex = crypto.Encrypt(plain, kPhrase, true, type);
            EXPECT_EQ(hex, CCrypto::ConvertStringToHex(cipher));
            EXPECT_EQ(crypto.Decrypt(hex, kPhrase, true, type), plain);
        }
    }
    EXPECT_EQ(crypto.Encrypt("abcde", kPhrase, false, CCrypto::TypeRC2).size(), 8);
    EXPECT_EQ(crypto.Encrypt("abcdefgh", kPhrase, false, CCrypto::TypeRC2).size(), 16);
}

TEST_F(CryptoTest, ArgumentErrorsCarryNumberDescriptionAndSource)
{
    struct Case { QString text; QString key; int32_t type; int32_t number; QString description; };
    const Case cases[] = {
        {"", "", 0, -2147220440, "Invalid encryption type specified"},   // type is tested first
        {"abc", kPhrase, 3, -2147220440, "Invalid encryption type specified"},
        {"", kPhrase, 1, -2147220441, "Both a string and a key are required"},
        {"abc", "", 2, -2147220441, "Both a string and a key are required"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " type " + std::to_string(c.type));
        CCryptoError e = Raised([&] { crypto.Encrypt(c.text, c.key, false, c.type); });
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Description(), c.description);
        EXPECT_EQ(e.Source(), "Lintavo.CCrypto.Encrypt");
        e = Raised([&] { crypto.Decrypt(c.text, c.key, true, c.type); });
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Source(), "Lintavo.CCrypto.Decrypt");
    }
}

TEST_F(CryptoTest, HexadecimalForms)
{
    EXPECT_EQ(CCrypto::ConvertStringToHex("abc"), "616263");
    EXPECT_EQ(CCrypto::ConvertStringToHex(Chars({0, 10, 255})), "000AFF");
    EXPECT_EQ(CCrypto::ConvertStringFromHex("4A"), "J");
    EXPECT_EQ(CCrypto::ConvertStringFromHex("000AFF"), Chars({0, 10, 255}));
    for (const QString bad : {"4a", "4A1", "G0", " 4A", "4A-1"}) {
        SCOPED_TRACE(bad.toStdString());
        const CCryptoError e = Raised([&] { CCrypto::ConvertStringFromHex(bad); });
        EXPECT_EQ(e.Number(), -2147220442);
        EXPECT_EQ(e.Description(), "Not a valid hex string");
        EXPECT_EQ(e.Source(), "Lintavo.CCrypto.ConvertStringFromHex");
    }
    // A bad hexadecimal input reaches the caller of Decrypt as it is.
    EXPECT_EQ(Raised([&] { crypto.Decrypt("4a", kPhrase, true, 1); }).Number(), -2147220442);
}

// What does not decrypt gives an empty text, never the scrambled buffer.
TEST_F(CryptoTest, TextsThatDoNotDecryptGiveEmpty)
{
    const QString cipher = crypto.Encrypt("Tarvelo", kPhrase, false, CCrypto::TypeRC2);
    EXPECT_EQ(crypto.Decrypt(cipher, "another phrase", false, CCrypto::TypeRC2), "");
    EXPECT_EQ(crypto.Decrypt(cipher.left(7), kPhrase, false, CCrypto::TypeRC2), "");
    EXPECT_EQ(crypto.Decrypt(QStringLiteral("Καλημέρα"), kPhrase, false, CCrypto::TypeRC4), "");
}

// A credential encrypted by an older installation from single-byte code page text is read one
// character per byte.
TEST_F(CryptoTest, OlderSingleByteTextDecryptsCharacterPerByte)
{
    auto ctx = pcrypto::Context::Acquire();
    auto hash = ctx->CreateHash(pcrypto::Algorithm::MD5);
    ASSERT_TRUE(hash->HashData(kPhrase.toLatin1()));
    auto key = hash->DeriveKey(pcrypto::Algorithm::RC2);
    QByteArray buffer("caf\xE9", 4);
    buffer.append(key->EncryptedLength(4) - 4, ' ');
    ASSERT_TRUE(key->Encrypt(buffer, 4));
    EXPECT_EQ(crypto.Decrypt(QString::fromLatin1(buffer), kPhrase, false, CCrypto::TypeRC2),
              QStringLiteral("café"));
}

} // namespace
