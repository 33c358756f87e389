#include "update/MinisignVerify.h"

#include <QList>

#include <sodium.h>

namespace update {
namespace {

constexpr int KeyIdBytes = 8;
constexpr int PublicKeyFileBytes = 2 + KeyIdBytes + crypto_sign_PUBLICKEYBYTES;
constexpr int SignatureLineBytes = 2 + KeyIdBytes + crypto_sign_BYTES;
const QByteArray TrustedPrefix = "trusted comment: ";

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The file's lines without their line ends (LF or CR LF).
QList<QByteArray> lines(const QByteArray& file)
{
    QList<QByteArray> result = file.split('\n');
    for (QByteArray& line : result)
        if (line.endsWith('\r'))
            line.chop(1);
    while (!result.isEmpty() && result.back().isEmpty())
        result.removeLast();
    return result;
}

bool decodeBase64(const QByteArray& text, int expectedBytes, QByteArray* bytes)
{
    bytes->resize(expectedBytes + 1); // one more, so a longer line shows
    size_t length = 0;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes->data()), size_t(bytes->size()),
                          text.constData(), size_t(text.size()), nullptr, &length, nullptr,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        length != size_t(expectedBytes))
        return false;
    bytes->resize(expectedBytes);
    return true;
}

bool fail(QByteArray* why, const QByteArray& text)
{
    if (why)
        *why = text;
    return false;
}

const unsigned char* bytesOf(const QByteArray& a, int at = 0)
{
    return reinterpret_cast<const unsigned char*>(a.constData()) + at;
}

} // namespace

bool VerifyMinisign(const QByteArray& publicKeyFile, const QByteArray& signatureFile,
                    const QByteArray& message, QByteArray* why)
{
    if (!sodiumReady())
        return fail(why, "libsodium cannot start");
    const QList<QByteArray> keyLines = lines(publicKeyFile);
    QByteArray key;
    if (keyLines.size() != 2 || !decodeBase64(keyLines[1].trimmed(), PublicKeyFileBytes, &key) ||
        !key.startsWith("Ed"))
        return fail(why, "UpdateKey.pub is not a minisign public key");

    const QList<QByteArray> sigLines = lines(signatureFile);
    QByteArray signature;
    QByteArray global;
    if (sigLines.size() != 4 ||
        !decodeBase64(sigLines[1].trimmed(), SignatureLineBytes, &signature) ||
        !sigLines[2].startsWith(TrustedPrefix) ||
        !decodeBase64(sigLines[3].trimmed(), crypto_sign_BYTES, &global))
        return fail(why, "not a minisign signature file");
    if (signature.mid(2, KeyIdBytes) != key.mid(2, KeyIdBytes))
        return fail(why, "signed by another key");

    const unsigned char* publicKey = bytesOf(key, 2 + KeyIdBytes);
    const unsigned char* sig = bytesOf(signature, 2 + KeyIdBytes);
    const QByteArray algorithm = signature.left(2);
    bool good = false;
    if (algorithm == "Ed") {
        good = crypto_sign_verify_detached(sig, bytesOf(message), size_t(message.size()),
                                           publicKey) == 0;
    } else if (algorithm == "ED") {
        unsigned char hash[crypto_generichash_BYTES_MAX];
        static_assert(crypto_generichash_BYTES_MAX == 64, "minisign prehashes with BLAKE2b-512");
        if (crypto_generichash(hash, sizeof hash, bytesOf(message), size_t(message.size()), nullptr,
                               0) != 0)
            return fail(why, "cannot hash the file");
        good = crypto_sign_verify_detached(sig, hash, sizeof hash, publicKey) == 0;
    } else {
        return fail(why, "unknown signature algorithm");
    }
    if (!good)
        return fail(why, "the signature does not match the file");

    const QByteArray trusted =
        signature.mid(2 + KeyIdBytes) + sigLines[2].mid(TrustedPrefix.size());
    if (crypto_sign_verify_detached(bytesOf(global), bytesOf(trusted), size_t(trusted.size()),
                                    publicKey) != 0)
        return fail(why, "the trusted comment's signature does not match");
    return true;
}

QByteArray Sha256Hex(const QByteArray& bytes)
{
    if (!sodiumReady())
        return {};
    unsigned char digest[crypto_hash_sha256_BYTES];
    if (crypto_hash_sha256(digest, bytesOf(bytes), quint64(bytes.size())) != 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(digest), sizeof digest).toHex();
}

} // namespace update
